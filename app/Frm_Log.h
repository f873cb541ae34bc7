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

    QLineEdit* edtDB;       // 数据库操作文件: main database file or server address
    QPushButton* Button1;   // "...": chooses the main database file
    QLineEdit* edtDBExp;    // 数据库导出文件: the exchange database file
    QPushButton* Button2;   // "...": chooses the exchange file
    QLineEdit* edtDATE;     // 操作日期: today, shown only
    QLineEdit* edtYGBH;     // 用户编号: operator number
    QLineEdit* edtYGMM;     // 用户密码: password
    QPushButton* btnOK;     // 确定: opens both databases and logs in
    QPushButton* btnCancel; // 取消: leaves the program
    // Shown beside the buttons only while a database of an older layout is upgraded.
    QLabel* lblUpgrade;

    void FormCreate();   // fills the date and the two locations from the ini files
    void Button1Click(); // "..." of 数据库操作文件
    void Button2Click(); // "..." of 数据库导出文件
    void btnOKClick();   // 确定

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
