#pragma once
// 设置新密码: an operator who logs in with his initial password (his staff
// number) or one a system administrator set must choose his own before the main
// window opens. 取消 ends the login.
#include <QDialog>

class Connection;
class QLabel;
class QLineEdit;
class QPushButton;

class TFrmSCMM : public QDialog
{
    Q_OBJECT
public:
    // For the operator `number` whose kept password hash is `currentHash`.
    TFrmSCMM(Connection& c, const QString& number, const QString& currentHash,
             QWidget* parent = nullptr);

    QLabel* lblInfo;
    QLineEdit* edtNew1;
    QLineEdit* edtNew2;
    QPushButton* btnOK;
    QPushButton* btnCancel;

    void btnOKClick();
    // The hash kept after a successful change.
    QString newHash() const { return m_newHash; }

protected:
    bool eventFilter(QObject* o, QEvent* e) override;

private:
    Connection& m_c;
    QString m_number;
    QString m_currentHash;
    QString m_newHash;
};
