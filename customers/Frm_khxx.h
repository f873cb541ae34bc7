#pragma once
// 客户输入: records new customers into 客户信息. Every save checks the row, gives it
// its archive number and writes it; the window never shows a stored customer.
#include "data/DataSource.h"
#include "data/Dmbasic.h"

#include <QDialog>

class DbEdit;
class DbMemo;
class QComboBox;
class QPushButton;

class TFrmkhxx : public QDialog
{
    Q_OBJECT
public:
    explicit TFrmkhxx(QWidget* parent = nullptr);
    ~TFrmkhxx() override;

    Query qrykhxx{dmbasic ? &dmbasic->adoCntnfybase : nullptr};
    DataSource dskhxx;

    void done(int r) override;

    // Handlers.
    void FormCreate();
    void FormShow();
    void qrykhxxAfterInsert();
    void cbFSChange();
    void BitBtn1Click();
    void BitBtn2Click();
    void FormClose();

protected:
    void showEvent(QShowEvent* e) override;
    void keyPressEvent(QKeyEvent* e) override;

private:
    void buildUi();
    // The list choices and the address written into the row at save.
    void writeSaveValues(Query& q);
    // Shows a failed check's message, moves the focus and stops the save.
    [[noreturn]] void refuse(const QString& message, QWidget* focus);

    DbEdit *DBEdit2, *DBEdit5, *DBEdit6, *DBEdit7, *DBEdit8, *DBEdit9, *DBEdit10, *DBEdit11;
    QComboBox *cbFS, *cbQS, *cbLC, *cbHX, *cbWZ;
    DbMemo* DBMemo1;
    QPushButton *BitBtn1, *BitBtn2;
};
