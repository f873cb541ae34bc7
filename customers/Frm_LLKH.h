#pragma once
// 查看客户信息客户: the record card of one customer. It has no row set of its own:
// every control is bound to the customer query window's data link and shows that
// window's current row; 保存 and 删除 are the query window's row actions.
#include "common/DbControls.h"
#include "common/DbListOverlay.h"

#include <QComboBox>
#include <QDialog>
#include <QLabel>
#include <QPushButton>

class TFrmKHCX;
class Query;

class TFrmLLKH : public QDialog
{
    Q_OBJECT
public:
    // Opens over the given query window (the open customer query window by default).
    explicit TFrmLLKH(TFrmKHCX* owner = nullptr);

    DbEdit *DBEdit2, *DBEdit1, *DBEdit3, *DBEdit5, *DBEdit6, *DBEdit7, *DBEdit8;
    DbListOverlay *lcBox, *hxBox, *wzBox;
    DbEdit *DBEdit4, *DBEdit12, *DBEdit13; // the read-only boxes over the lists
    QComboBox *cbLC, *cbHX, *cbWZ;
    DbMemo* DBMemo1;
    DbEdit *DBEdit9, *DBEdit10, *DBEdit11; // customer's name and phones
    DbCheckBox* DBCheckBox1;
    QPushButton *Button1, *Button3, *BitBtn1;

    // Handlers.
    void cbLCChange();
    void cbHXChange();
    void cbWZChange();

    // True when the customer's name and phones are shown to this role.
    static bool showsPersonalFields(const QString& role);
    bool personalFieldsVisible() const;

    void done(int r) override;

private:
    void buildUi();
    void writeChoice(QComboBox* list, const QString& field);
    Query* row() const;

    TFrmKHCX* m_owner;
    QList<QWidget*> m_personal;
};
