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

    Query ADOQryryda;
    DataSource dsryda;

    void done(int r) override;

private:
    void ADOQryrydaBeforeInsert(Query& q);
    void ADOQryrydaAfterInsert(Query& q);
    void ADOQryrydaBeforeEdit(Query& q);
    void ADOQryrydaBeforePost(Query& q);
    void ADOQryrydaBeforeDelete(Query& q);

    DbNavigator* DBNavigator1;
    QPushButton* BitBtn1;
    QSplitter* Splitter1;
    DbGrid* DBGrid1;
    DbEdit* DBEdit1;
    DbEdit* DBEdit2;
    DbEdit* DBEdit3;
    DbEdit* DBEdit4;
    QString m_numberBefore; // trimmed 员工编号 when editing began
};
