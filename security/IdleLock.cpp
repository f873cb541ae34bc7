#include "security/IdleLock.h"

#include "data/Connection.h"
#include "data/Text.h"
#include "security/core/LoginGuard.h"
#include "security/core/SessionLock.h"
#include "session/PubVars.h"
#include "shell/Dialogs.h"
#include "shell/Door.h"
#include "widgets/PasswordBox.h"

#include <QApplication>
#include <QCloseEvent>
#include <QDateTime>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

namespace
{
IdleLock* g_instance = nullptr;
} // namespace

TFrmSuoDing::TFrmSuoDing(Connection& c, QWidget* parent) : QDialog(parent), m_c(c)
{
    setObjectName(QStringLiteral("FrmSuoDing"));
    setWindowTitle(QStringLiteral("Halvorra 已锁定"));
    // No close button; modal over the whole program.
    setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint);
    setWindowModality(Qt::ApplicationModal);

    lblInfo = new QLabel(this);
    lblInfo->setObjectName(QStringLiteral("lblInfo"));
    lblInfo->setText(
        QStringLiteral("长时间没有操作，程序已锁定。\n请输入操作员 %1（%2）的密码解锁。")
            .arg(CurUser.YGXM, CurUser.YGBH));
    edtMM = new QLineEdit(this);
    edtMM->setObjectName(QStringLiteral("edtMM"));
    makePasswordBox(edtMM);
    btnOK = new QPushButton(QStringLiteral("解锁"), this);
    btnOK->setObjectName(QStringLiteral("btnOK"));
    btnOK->setAutoDefault(false);

    auto* row = new QHBoxLayout;
    row->addWidget(new QLabel(QStringLiteral("用户密码"), this));
    row->addWidget(edtMM, 1);
    row->addWidget(btnOK);
    auto* lay = new QVBoxLayout(this);
    lay->addWidget(lblInfo);
    lay->addLayout(row);
    setFixedWidth(420);

    onSignal(btnOK, &QPushButton::clicked, this, &TFrmSuoDing::btnOKClick);
    onSignal(edtMM, &QLineEdit::returnPressed, this, &TFrmSuoDing::btnOKClick);
    edtMM->setFocus();
}

void TFrmSuoDing::closeEvent(QCloseEvent* e)
{
    // Alt+F4 or the window manager: the lock stays until it is opened.
    if (result() != QDialog::Accepted) e->ignore();
}

void TFrmSuoDing::keyPressEvent(QKeyEvent* e)
{
    if (e->key() == Qt::Key_Escape) return;
    QDialog::keyPressEvent(e);
}

void TFrmSuoDing::btnOKClick()
{
    // The login trims the typed password; so does the lock.
    const QString trimmed = Text::trim(edtMM->text());
    if (trimmed.isEmpty()) {
        dialogs().message(this, QStringLiteral("请您录入用户密码。"));
        edtMM->setFocus();
        return;
    }
    const SessionLock::Outcome o =
        SessionLock::tryOpen(m_c, CurUser.YGBH, trimmed, CurUser.YGMM, m_c.actor().workstation,
                             QDateTime::currentDateTime());
    edtMM->clear();
    switch (o.result) {
    case SessionLock::Outcome::Open:
        setResult(QDialog::Accepted);
        QDialog::done(QDialog::Accepted);
        return;
    case SessionLock::Outcome::Locked:
        dialogs().message(this, LoginGuard::lockedText(CurUser.YGBH, o.until));
        break;
    case SessionLock::Outcome::Wrong:
        dialogs().message(this, QStringLiteral("密码错误，请重新输入。"));
        break;
    }
    edtMM->setFocus();
}

IdleLock::IdleLock(Connection& c, QObject* parent) : QObject(parent), m_c(c)
{
    m_timer.setSingleShot(true);
    connect(&m_timer, &QTimer::timeout, this, &IdleLock::lockNow);
    qApp->installEventFilter(this);
    g_instance = this;
}

IdleLock::~IdleLock()
{
    if (qApp) qApp->removeEventFilter(this);
    uncover();
    if (g_instance == this) g_instance = nullptr;
}

IdleLock* IdleLock::instance()
{
    return g_instance;
}

void IdleLock::setInterval(int milliseconds)
{
    m_interval = qMax(0, milliseconds);
    m_timer.stop();
    if (m_interval > 0 && !m_locked) m_timer.start(m_interval);
}

bool IdleLock::eventFilter(QObject* o, QEvent* e)
{
    switch (e->type()) {
    case QEvent::KeyPress:
    case QEvent::MouseButtonPress:
    case QEvent::MouseMove:
    case QEvent::Wheel:
    case QEvent::TouchBegin:
    case QEvent::TabletPress:
        if (!m_locked && m_interval > 0) m_timer.start(m_interval);
        break;
    default:
        break;
    }
    return QObject::eventFilter(o, e);
}

void IdleLock::coverWindows()
{
    for (QWidget* w : QApplication::topLevelWidgets()) {
        if (!w->isVisible()) continue;
        if (qobject_cast<TFrmSuoDing*>(w)) continue;
        auto* cover = new QWidget(w);
        cover->setObjectName(QStringLiteral("IdleCover"));
        cover->setAutoFillBackground(true);
        cover->setGeometry(w->rect());
        cover->show();
        cover->raise();
        m_covers << cover;
    }
}

void IdleLock::uncover()
{
    for (const QPointer<QWidget>& c : m_covers)
        delete c.data();
    m_covers.clear();
}

void IdleLock::lockNow()
{
    if (m_locked) return;
    m_locked = true;
    m_timer.stop();
    while (QWidget* popup = QApplication::activePopupWidget())
        popup->close();
    coverWindows();
    {
        TFrmSuoDing lock(m_c, QApplication::activeWindow());
        dialogs().exec(&lock);
    }
    uncover();
    m_locked = false;
    if (m_interval > 0) m_timer.start(m_interval);
}
