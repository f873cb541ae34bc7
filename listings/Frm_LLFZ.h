#pragma once
// 查看房源信息: the record card of one listing. It has no row set of its own:
// every control is bound to the listing query window's data link and shows that
// window's current row; 保存 and 删除 are the query window's row actions.
#include "common/DbControls.h"
#include "common/DbListOverlay.h"

#include <QComboBox>
#include <QDialog>
#include <QLabel>
#include <QPushButton>

class TFrmFYCX;

class TFrmLLFZ : public QDialog
{
    Q_OBJECT
public:
    // Opens over the given query window (the open listing query window by default).
    explicit TFrmLLFZ(TFrmFYCX* owner = nullptr);

    DbEdit *DBEdit1, *DBEdit2, *DBEdit3, *DBEdit4, *DBEdit16, *DBEdit11, *DBEdit12, *DBEdit9,
        *DBEdit17, *DBEdit19;
    DbListOverlay *lcBox, *hxBox, *wzBox;
    DbEdit *DBEdit13, *DBEdit14, *DBEdit15; // the read-only boxes over the lists
    QComboBox *cbLC, *cbHX, *cbWZ;
    DbEdit *DBEdit5, *DBEdit6, *DBEdit7, *DBEdit8, *DBEdit20;
    DbMemo *DBMemo1, *DBMemo2;
    QPushButton *Button4, *Button5;
    DbCheckBox* DBCheckBox1;
    DbEdit* DBEdit10;
    QPushButton *Button2, *Button1, *Button3, *BitBtn1;

    // Handlers.
    void cbLCChange();
    void cbHXChange();
    void cbWZChange();
    void Button2Click();
    void Button4Click();
    void Button5Click();

    // True when the owner's block is shown to this role.
    static bool showsOwnerBlock(const QString& role);
    bool ownerBlockVisible() const;

    void done(int r) override;

private:
    void buildUi();
    void writeChoice(QComboBox* list, const QString& field);
    Query* row() const;

    TFrmFYCX* m_owner;
    QList<QWidget*> m_ownerBlock;
};
