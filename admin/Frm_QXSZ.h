#pragma once
// 权限设置: the system administrator turns staff members into operators of a role
// (through the table picker), takes the operator status away again and sets an
// operator's password. The list shows the operators of the role in the drop-down.
#include "data/DataSource.h"
#include "data/Query.h"
#include "widgets/DbControls.h"

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

    Query qryYGZD;     // the operators (操作员档案 rows with a role), read only
    DataSource dsYGZD; // data link of qryYGZD

    void cbGNZChange();    // 功能组 chosen: the list shows that role's operators
    void Button1Click();   // 增加操作员
    void Button2Click();   // 删除操作员
    void Button3Click();   // 密码修改
    void btnUnlockClick(); // 解除锁定 of the selected operator
    void done(int r) override;

private:
    void applyRoleFilter();
    void reopenList();
    QString selectedNumber() const;

    QComboBox* cbGNZ;       // 功能组: 普通操作员 or 高级操作员
    DbGrid* DBGrid1;        // the operators of the role: 员工编号, 员工姓名
    DbEdit* DBEdit1;        // 员工编号 of the chosen operator, shown
    DbEdit* DBEdit2;        // 员工姓名 of the chosen operator, shown
    QLineEdit* edtMm;       // 员工密码: the new password for 密码修改
    QPushButton* Button1;   // 增加操作员
    QPushButton* Button2;   // 删除操作员
    QPushButton* Button3;   // 密码修改
    QPushButton* Button4;   // 退出设置
    QPushButton* btnUnlock; // 解除锁定: ends the lockout of the chosen operator
};
