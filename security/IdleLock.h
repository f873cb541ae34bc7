#pragma once
// The idle lock: after a set time without keyboard or mouse input anywhere in the
// program, every window is covered and a lock window asks for the current
// operator's password. The windows behind it keep their state, unsaved edits
// included. Esc, closing the window (Alt+F4) and the other windows cannot get
// past it.
#include <QDialog>
#include <QObject>
#include <QPointer>
#include <QTimer>

class QLabel;
class QLineEdit;
class QPushButton;
class Connection;

class TFrmSuoDing : public QDialog
{
    Q_OBJECT
public:
    TFrmSuoDing(Connection& c, QWidget* parent = nullptr);

    QLabel* lblInfo;
    QLineEdit* edtMM;
    QPushButton* btnOK;

    void btnOKClick();
    // Esc and the window's close button do not open the lock.
    void reject() override {}

protected:
    void closeEvent(QCloseEvent* e) override;
    void keyPressEvent(QKeyEvent* e) override;

private:
    Connection& m_c;
};

class IdleLock : public QObject
{
    Q_OBJECT
public:
    // Watches the application's input; the lock works on `c` (the main database).
    explicit IdleLock(Connection& c, QObject* parent = nullptr);
    ~IdleLock() override;

    // Time without input before the lock (0 = never). Tests set a short one.
    void setInterval(int milliseconds);
    int interval() const { return m_interval; }
    bool isLocked() const { return m_locked; }
    // Covers the windows and runs the lock window until it is opened.
    void lockNow();

    // The one of the running program (null before the login and in most tests).
    static IdleLock* instance();

protected:
    bool eventFilter(QObject* o, QEvent* e) override;

private:
    void coverWindows();
    void uncover();

    Connection& m_c;
    QTimer m_timer;
    int m_interval = 0;
    bool m_locked = false;
    QList<QPointer<QWidget>> m_covers;
};
