#pragma once
// 房源输入: records new listings into 房屋信息. Every save checks the row, gives it
// its archive number and writes it; the window never shows a stored listing.
#include "data/DataSource.h"
#include "data/Dmbasic.h"

#include <QDialog>

class DbEdit;
class DbMemo;
class QComboBox;
class QPushButton;

class TFrmfylr : public QDialog
{
    Q_OBJECT
public:
    explicit TFrmfylr(QWidget* parent = nullptr);
    ~TFrmfylr() override;

    Query qryFwxx{dmbasic ? &dmbasic->adoCntnfybase : nullptr};
    DataSource dsFwxx;

    void done(int r) override;

    // Handlers.
    void FormCreate();
    void FormShow();
    void qryFwxxAfterInsert();
    void cbFSChange();
    void Button1Click();
    void Button2Click();
    void Button3Click();
    void Button4Click();
    void FormClose();

protected:
    void showEvent(QShowEvent* e) override;
    void keyPressEvent(QKeyEvent* e) override;

private:
    void buildUi();
    // The list choices written into the row at save.
    void writeListValues(Query& q);
    // Shows a failed check's message, moves the focus and stops the save.
    [[noreturn]] void refuse(const QString& message, QWidget* focus);

    DbEdit *DBEdit1, *DBEdit2, *DBEdit3, *DBEdit4, *DBEdit5, *DBEdit6, *DBEdit7, *DBEdit8, *DBEdit9,
        *DBEdit10, *DBEdit11, *DBEdit13, *DBEdit14;
    QComboBox *cbLC, *cbHX, *cbWZ, *cbFS, *cbQS;
    DbMemo *DBMemo1, *DBMemo2;
    QPushButton *Button1, *Button2, *Button3, *Button4;
};
