// A Qt input plugin for the package test only. Loaded into the installed
// program with "-plugin halvorralogindriver:user=U:password=P[:linger=MS]", it
// does what a user at the keyboard does: types the number and the password into
// the login window with Enter after each, a new password twice where a first
// login asks for one (":newpassword=N"), answers the exit question of the main
// window with 是, and prints what the windows showed, one line each:
//   login <path box of the main file>|<path box of the exchange file>
//   message <text>                (a message box came up instead)
//   main <caption>|<status bar texts joined by |>
//   question <text>|<button texts joined by |>
// The program knows nothing of it: Qt loads it like any input plugin.
#include <QAbstractButton>
#include <QApplication>
#include <QDialog>
#include <QGenericPlugin>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMainWindow>
#include <QMessageBox>
#include <QStatusBar>
#include <QTimer>
#include <cstdio>
#include <cstdlib>

namespace
{

void report(const QString& line)
{
    std::printf("%s\n", line.toUtf8().constData());
    std::fflush(stdout);
}

void pressKey(QWidget* w, int key, const QString& text = {})
{
    QKeyEvent press(QEvent::KeyPress, key, Qt::NoModifier, text);
    QApplication::sendEvent(w, &press);
    QKeyEvent release(QEvent::KeyRelease, key, Qt::NoModifier, text);
    QApplication::sendEvent(w, &release);
}

// Typed into the box that has the focus in the window, as the keyboard does.
void typeInto(QWidget* window, const QString& text)
{
    for (const QChar c : text)
        pressKey(window->focusWidget(), Qt::Key_unknown, QString(c));
}

template <typename T> T* visibleTopLevel()
{
    for (QWidget* w : QApplication::topLevelWidgets())
        if (auto* t = qobject_cast<T*>(w); t && t->isVisible()) return t;
    return nullptr;
}

class LoginDriver : public QObject
{
public:
    explicit LoginDriver(const QString& options)
    {
        for (const QString& part : options.split(QLatin1Char(':'))) {
            const QString key = part.section(QLatin1Char('='), 0, 0);
            const QString value = part.section(QLatin1Char('='), 1);
            if (key == QLatin1String("user")) m_user = value;
            if (key == QLatin1String("password")) m_password = value;
            if (key == QLatin1String("linger")) m_linger = value.toInt();
            if (key == QLatin1String("newpassword")) m_newPassword = value;
        }
        connect(&m_timer, &QTimer::timeout, this, &LoginDriver::step);
        m_timer.start(100);
        QTimer::singleShot(60000, this, [this] {
            report(QStringLiteral("timeout in step %1").arg(m_step));
            std::_Exit(3);
        });
    }

private:
    void step()
    {
        if (auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget())) {
            answer(box);
            return;
        }
        if (m_step == 3) {
            if (auto* log = qobject_cast<QDialog*>(QApplication::activeModalWidget()))
                log->reject();
        } else if (m_step == 0) {
            auto* log = qobject_cast<QDialog*>(QApplication::activeModalWidget());
            if (!log || !log->isVisible() || !log->focusWidget()) return;
            const auto* db = log->findChild<QLineEdit*>(QStringLiteral("edtDB"));
            const auto* exp = log->findChild<QLineEdit*>(QStringLiteral("edtDBExp"));
            report(QStringLiteral("login %1|%2")
                       .arg(db ? db->text() : QString(), exp ? exp->text() : QString()));
            m_step = 1;
            typeInto(log, m_user);
            pressKey(log->focusWidget(), Qt::Key_Return);
            typeInto(log, m_password);
            // The last Enter logs in; what it opens (the main window, or a message
            // box) runs its own event loop, so it is pressed outside this step,
            // which the step timer must be free to answer.
            QTimer::singleShot(0, log, [log] { pressKey(log->focusWidget(), Qt::Key_Return); });
        } else if (m_step == 1) {
            // A first login asks for the operator's own password before the main window.
            auto* change = qobject_cast<QDialog*>(QApplication::activeModalWidget());
            if (change && change->objectName() == QLatin1String("FrmSCMM") && change->isVisible() &&
                change->focusWidget() && !m_changed) {
                report(QStringLiteral("new password"));
                m_changed = true;
                typeInto(change, m_newPassword);
                pressKey(change->focusWidget(), Qt::Key_Return);
                typeInto(change, m_newPassword);
                QTimer::singleShot(0, change,
                                   [change] { pressKey(change->focusWidget(), Qt::Key_Return); });
                return;
            }
            QMainWindow* main = visibleTopLevel<QMainWindow>();
            if (!main) return;
            QStringList status;
            for (const QLabel* l : main->statusBar()->findChildren<QLabel*>())
                status << l->text();
            report(QStringLiteral("main %1|%2").arg(main->windowTitle(), status.join('|')));
            m_step = 2;
            QTimer::singleShot(m_linger, main, &QWidget::close);
        }
    }

    void answer(QMessageBox* box)
    {
        QStringList buttons;
        for (const QAbstractButton* b : box->buttons())
            buttons << b->text();
        if (m_step < 2) {
            // The login failed: say so, and give up like a user who cancels.
            report(QStringLiteral("message %1").arg(box->text()));
            box->reject();
            m_step = 3;
            return;
        }
        report(QStringLiteral("question %1|%2").arg(box->text(), buttons.join('|')));
        if (QAbstractButton* yes = box->button(QMessageBox::Yes)) yes->click();
    }

    QString m_user, m_password, m_newPassword;
    bool m_changed = false;
    int m_linger = 0;
    int m_step = 0;
    QTimer m_timer;
};

} // namespace

class LoginDriverPlugin : public QGenericPlugin
{
    Q_OBJECT
    Q_PLUGIN_METADATA(IID QGenericPluginFactoryInterface_iid FILE "logindriver.json")
public:
    QObject* create(const QString&, const QString& options) override
    {
        return new LoginDriver(options);
    }
};

#include "LoginDriver.moc"
