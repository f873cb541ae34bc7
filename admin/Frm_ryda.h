#pragma once
// 人员档案: the staff register. A navigator over the staff rows (the "admin" row
// hidden), the list and the card side by side; new rows start as staff members who
// are not operators; a save checks number, name and, when the number changed,
// that no other row has it.
#include "data/DataSource.h"
#include "data/Query.h"
#include "widgets/DbControls.h"

#include <QDialog>

class DbGrid;
class DbNavigator;
class QPushButton;
class QSplitter;

class TFrmryda : public QDialog
{
    Q_OBJECT
public:
    explicit TFrmryda(QWidget* parent = nullptr);
    ~TFrmryda() override;

    Query ADOQryryda;  // the staff rows, the "admin" row hidden
    DataSource dsryda; // data link of ADOQryryda

    void done(int r) override;

private:
    void ADOQryrydaBeforeInsert(Query& q); // focus to 员工编号
    void ADOQryrydaAfterInsert(Query& q);  // a new row: staff member, not an operator
    void ADOQryrydaBeforeEdit(Query& q);   // remembers the number before the edit
    void ADOQryrydaBeforePost(Query& q);   // checks number, name, a changed number's uniqueness
    void ADOQryrydaBeforeDelete(Query& q); // asks 是否删除该记录？

    DbNavigator* DBNavigator1; // all ten buttons over the staff rows
    QPushButton* BitBtn1;      // 退出
    QSplitter* Splitter1;      // the list and the card side by side
    DbGrid* DBGrid1;           // the staff list
    DbEdit* DBEdit1;           // 员工编号
    DbEdit* DBEdit2;           // 员工姓名
    DbEdit* DBEdit3;           // 员工职务
    DbEdit* DBEdit4;           // 联系电话
    QString m_numberBefore;    // trimmed 员工编号 when editing began
};
