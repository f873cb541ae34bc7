#pragma once
// The login window: chooses the two database files, reconnects both on every
// press of 确定, and checks the operator's number and password.
#include "app/core/LoginCheck.h"

#include <QDialog>

class QLineEdit;
class QPushButton;
class QLabel;

class TFrmLog : public QDialog
{
    Q_OBJECT
public:
    explicit TFrmLog(QWidget* parent = nullptr);

    QLineEdit* edtDB;
    QPushButton* Button1;
    QLineEdit* edtDBExp;
    QPushButton* Button2;
    QLineEdit* edtDATE;
    QLineEdit* edtYGBH;
    QLineEdit* edtYGMM;
    QPushButton* btnOK;
    QPushButton* btnCancel;

    void FormCreate();
    void Button1Click();
    void Button2Click();
    void btnOKClick();

protected:
    void showEvent(QShowEvent* e) override;
    bool eventFilter(QObject* o, QEvent* e) override;

private:
    void chooseFile(QLineEdit* box, const QString& iniFile);
    // Rebuilds and opens one connection with the login's check (a damaged or
    // read-only database is refused); false when that fails, with the reason.
    bool reconnect(bool main, LoginCheck::Refused* why);
    // Remembers a main database typed into the box once it has opened.
    void rememberTyped();
    // The workstation as the login log names it: computer name [address].
    QString workstation();
    // The new password an operator with the initial or a reset one must choose;
    // false when he cancels.
    bool chooseOwnPassword();

    QString m_workstation;
};
