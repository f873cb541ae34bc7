#pragma once
// 权限设置: the system administrator turns staff members into operators of a role
// (through the table picker), takes the operator status away again and sets an
// operator's password. The list shows the operators of the role in the drop-down.
#include "common/DbControls.h"
#include "data/DataSource.h"
#include "data/Query.h"

#include <QDialog>

class DbGrid;
class QComboBox;
class QLineEdit;
class QPushButton;

class TFrmQXSZ : public QDialog
{
    Q_OBJECT
public:
    explicit TFrmQXSZ(QWidget* parent = nullptr);
    ~TFrmQXSZ() override;

    Query qryYGZD;
    DataSource dsYGZD;

    void cbGNZChange();
    void Button1Click();   // 增加操作员
    void Button2Click();   // 删除操作员
    void Button3Click();   // 密码修改
    void btnUnlockClick(); // 解除锁定 of the selected operator
    void done(int r) override;

private:
    void applyRoleFilter();
    void reopenList();
    QString selectedNumber() const;

    QComboBox* cbGNZ;
    DbGrid* DBGrid1;
    DbEdit* DBEdit1;
    DbEdit* DBEdit2;
    QLineEdit* edtMm;
    QPushButton* Button1;
    QPushButton* Button2;
    QPushButton* Button3;
    QPushButton* Button4;
    QPushButton* btnUnlock;
};
