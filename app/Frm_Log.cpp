#include "app/Frm_Log.h"

#include "app/Pictures.h"
#include "app/PubFuns.h"
#include "app/core/IniFiles.h"
#include "app/core/LoginCheck.h"
#include "data/DbError.h"
#include "data/Dmbasic.h"
#include "data/Schema.h"
#include "data/SchemaUpgrade.h"
#include "data/SecurityTables.h"
#include "data/ServerCheck.h"
#include "data/Text.h"
#include "security/Frm_SCMM.h"
#include "security/core/LoginGuard.h"
#include "session/PubVars.h"
#include "shell/Dialogs.h"
#include "shell/Door.h"
#include "shell/WaitCursor.h"
#include "widgets/CharLimit.h"

#include <QDate>
#include <QFrame>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QScreen>

namespace
{

QLabel* label(QWidget* parent, const QString& text, const QRect& r)
{
    auto* l = new QLabel(text, parent);
    l->setGeometry(r);
    l->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    return l;
}

QLineEdit* edit(QWidget* parent, const char* name, const QRect& r)
{
    auto* e = new QLineEdit(parent);
    e->setObjectName(QLatin1String(name));
    e->setGeometry(r);
    return e;
}

QPushButton* button(QWidget* parent, const char* name, const QString& text, const QRect& r)
{
    auto* b = new QPushButton(text, parent);
    b->setObjectName(QLatin1String(name));
    b->setGeometry(r);
    // Enter is handled by the two input boxes only; it never presses a button
    // that merely follows in the focus chain.
    b->setAutoDefault(false);
    return b;
}

} // namespace

TFrmLog::TFrmLog(QWidget* parent) : QDialog(parent)
{
    setObjectName(QStringLiteral("FrmLog"));
    setWindowTitle(QStringLiteral("操作员登陆"));
    setWindowFlags(Qt::Dialog | Qt::MSWindowsFixedSizeDialogHint | Qt::WindowTitleHint |
                   Qt::WindowCloseButtonHint);
    setFixedSize(380, 200);

    label(this, QStringLiteral("数据库操作文件"), {8, 12, 92, 22});
    // A file chosen with "..." or the address of a server database typed here.
    edtDB = edit(this, "edtDB", {104, 12, 232, 22});
    edtDB->setToolTip(QStringLiteral("数据库文件，或服务器上的数据库地址，"
                                     "如 postgresql://user@host:5432/dbname"));
    Button1 = button(this, "Button1", QStringLiteral("..."), {340, 11, 30, 24});
    label(this, QStringLiteral("数据库导出文件"), {8, 42, 92, 22});
    edtDBExp = edit(this, "edtDBExp", {104, 42, 232, 22});
    edtDBExp->setReadOnly(true);
    Button2 = button(this, "Button2", QStringLiteral("..."), {340, 41, 30, 24});

    auto* line = new QFrame(this);
    line->setObjectName(QStringLiteral("Bevel1"));
    line->setFrameShape(QFrame::HLine);
    line->setFrameShadow(QFrame::Sunken);
    line->setGeometry(8, 72, 364, 4);

    auto* picture = new QLabel(this);
    picture->setObjectName(QStringLiteral("Image1"));
    picture->setGeometry(28, 96, 48, 48);
    picture->setPixmap(Pictures::loginEmblem(48));

    label(this, QStringLiteral("操作日期"), {96, 84, 80, 22});
    edtDATE = edit(this, "edtDATE", {180, 84, 150, 22});
    edtDATE->setReadOnly(true);
    edtDATE->setEnabled(false);
    label(this, QStringLiteral("用户编号"), {96, 112, 80, 22});
    edtYGBH = edit(this, "edtYGBH", {180, 112, 150, 22});
    limitChars(edtYGBH, 5);
    label(this, QStringLiteral("用户密码"), {96, 140, 80, 22});
    edtYGMM = edit(this, "edtYGMM", {180, 140, 150, 22});
    // Passwords are kept as hashes and may be up to 200 characters long.
    limitChars(edtYGMM, 200);
    edtYGMM->setEchoMode(QLineEdit::Password);
    edtYGMM->setStyleSheet(QStringLiteral("QLineEdit { lineedit-password-character: 42; }"));

    btnOK = button(this, "btnOK", QStringLiteral("确定"), {180, 170, 72, 24});
    btnCancel = button(this, "btnCancel", QStringLiteral("取消"), {258, 170, 72, 24});
    lblUpgrade = new QLabel(QStringLiteral("正在升级数据库，请稍候……"), this);
    lblUpgrade->setObjectName(QStringLiteral("lblUpgrade"));
    lblUpgrade->setGeometry(8, 172, 168, 22);
    lblUpgrade->hide();

    setTabOrder(edtDB, Button1);
    setTabOrder(Button1, edtDBExp);
    setTabOrder(edtDBExp, Button2);
    setTabOrder(Button2, edtDATE);
    setTabOrder(edtDATE, edtYGBH);
    setTabOrder(edtYGBH, edtYGMM);
    setTabOrder(edtYGMM, btnOK);
    setTabOrder(btnOK, btnCancel);

    edtYGBH->installEventFilter(this);
    edtYGMM->installEventFilter(this);
    onSignal(Button1, &QPushButton::clicked, this, &TFrmLog::Button1Click);
    onSignal(Button2, &QPushButton::clicked, this, &TFrmLog::Button2Click);
    onSignal(btnOK, &QPushButton::clicked, this, &TFrmLog::btnOKClick);
    onSignal(btnCancel, &QPushButton::clicked, this, &QDialog::reject);

    if (const QScreen* s = QGuiApplication::primaryScreen())
        move(s->availableGeometry().center() - rect().center());
    FormCreate();
}

void TFrmLog::FormCreate()
{
    const QDate today = QDate::currentDate();
    edtDATE->setText(today.toString(QStringLiteral("yyyy-MM-dd")));
    CZRQ = today.toString(QStringLiteral("yyMMdd"));
    QSRQ = today.toString(QStringLiteral("yyMM")) + QStringLiteral("01");
    edtDB->setText(IniFiles::readFirstLine(IniFiles::mainIni()).value_or(QString()));
    edtDBExp->setText(IniFiles::readFirstLine(IniFiles::exchangeIni()).value_or(QString()));
}

void TFrmLog::showEvent(QShowEvent* e)
{
    QDialog::showEvent(e);
    edtYGBH->setFocus();
}

bool TFrmLog::eventFilter(QObject* o, QEvent* e)
{
    if (e->type() == QEvent::KeyPress) {
        const int key = static_cast<QKeyEvent*>(e)->key();
        if (key == Qt::Key_Return || key == Qt::Key_Enter) {
            if (o == edtYGBH) {
                edtYGMM->setFocus();
                return true;
            }
            if (o == edtYGMM) {
                btnOK->click();
                return true;
            }
        }
    }
    return QDialog::eventFilter(o, e);
}

void TFrmLog::chooseFile(QLineEdit* box, const QString& iniFile)
{
    const QString chosen = dialogs().openFile(this, dmbasic->OpenDBPath, box->text());
    if (chosen.isEmpty()) return;
    box->setText(chosen);
    // Remembered at once, whether or not the login succeeds.
    IniFiles::writeLine(iniFile, chosen);
}

void TFrmLog::Button1Click()
{
    chooseFile(edtDB, IniFiles::mainIni());
}

void TFrmLog::Button2Click()
{
    chooseFile(edtDBExp, IniFiles::exchangeIni());
}

bool TFrmLog::reconnect(bool main, LoginCheck::Refused* why)
{
    Connection& c = main ? dmbasic->adoCntnfybase : dmbasic->adoCntnfyExp;
    const QString path = main ? edtDB->text() : edtDBExp->text();
    try {
        c.close();
        c.setConnectionString(main ? Tdmbasic::mainConnectionString(path)
                                   : Tdmbasic::exchangeConnectionString(path));
        c.open(Connection::Check::Usable);
        return true;
    } catch (const DbError& e) {
        *why = {e.text(), e.cause()};
    } catch (const std::exception& e) {
        *why = {QString::fromLocal8Bit(e.what()), DbError::Cause::Other};
    }
    return false;
}

void TFrmLog::rememberTyped()
{
    bool dropped = false;
    const QString kept = LoginCheck::locationToRemember(edtDB->text(), &dropped);
    if (kept != IniFiles::readFirstLine(IniFiles::mainIni()).value_or(QString()))
        IniFiles::writeLine(IniFiles::mainIni(), kept);
    if (dropped) dialogs().message(this, LoginCheck::passwordDroppedText());
}

void TFrmLog::btnOKClick()
{
    LoginCheck::Refused why;
    if (!reconnect(true, &why)) {
        const LoginCheck::MainRefusal r = LoginCheck::mainRefusal(edtDB->text(), why);
        dialogs().message(this, r.text);
        if (r.focusBox)
            edtDB->setFocus();
        else
            Button1->setFocus();
        return;
    }
    rememberTyped();
    // A database of a newer layout is refused before anything reads or writes it.
    try {
        SchemaUpgrade::requireKnown(dmbasic->adoCntnfybase);
    } catch (const DbError& e) {
        dmbasic->adoCntnfybase.close();
        dialogs().message(this, e.text());
        edtDB->setFocus();
        return;
    }
    if (!reconnect(false, &why)) {
        dialogs().message(this, LoginCheck::exchangeRefusal(why));
        Button2->setFocus();
        return;
    }
    const QString number = Text::trim(edtYGBH->text());
    if (number.isEmpty()) {
        dialogs().message(this, QStringLiteral("请您录入用户编号。"));
        edtYGBH->setFocus();
        return;
    }
    const QString password = Text::trim(edtYGMM->text());
    if (password.isEmpty()) {
        dialogs().message(this, QStringLiteral("请您录入用户密码。"));
        edtYGMM->setFocus();
        return;
    }
    Connection& c = dmbasic->adoCntnfybase;
    const LoginCheck::Attempt a =
        LoginCheck::attempt(dmbasic->QryPUB, number, password, workstation(), CurUser);
    if (a.result == LoginCheck::Attempt::Ok) {
        // An older database gains what this program keeps beside the registers.
        try {
            // Once per database, and a large one may take a while: the window says so
            // before the work starts.
            WaitCursor wait;
            struct Shown {
                QLabel* l;
                ~Shown() { l->hide(); }
            } shown{lblUpgrade};
            if (SchemaUpgrade::version(c) < Schema::kLayoutVersion) {
                lblUpgrade->show();
                lblUpgrade->repaint();
            }
            if (SchemaUpgrade::upgrade(c) < Schema::kLayoutVersion)
                CurUser.YGMM = OperatorPasswords::read(c, CurUser.YGBH).hash;
        } catch (const DbError& e) {
            CurUser = GTMYhxx();
            dialogs().message(
                this, QStringLiteral("数据库升级没有完成，数据库没有被改动，请稍后再登录。\n") +
                          e.text());
            return;
        }
        if (a.mustChange && !chooseOwnPassword()) {
            CurUser = GTMYhxx();
            edtYGMM->clear();
            edtYGMM->setFocus();
            return;
        }
        const QString warning = ServerCheck::warning(ServerCheck::facts(c));
        if (!warning.isEmpty()) dialogs().message(this, warning);
        accept();
        return;
    }
    switch (a.result) {
    case LoginCheck::Attempt::Locked:
        dialogs().message(this, LoginGuard::lockedText(number, a.lockedUntil));
        break;
    case LoginCheck::Attempt::Damaged:
        dialogs().message(this, LoginCheck::damagedText());
        break;
    default:
        dialogs().message(this, QStringLiteral("用户编码或密码错误，请重新输入！"));
        break;
    }
    edtYGBH->setFocus();
}

QString TFrmLog::workstation()
{
    if (m_workstation.isEmpty()) {
        m_workstation = computerName();
        const QString ip = firstIPv4Address();
        if (!ip.isEmpty()) m_workstation += QStringLiteral("[") + ip + QStringLiteral("]");
    }
    return m_workstation;
}

bool TFrmLog::chooseOwnPassword()
{
    Connection& c = dmbasic->adoCntnfybase;
    c.setActor({CurUser.YGBH, workstation()});
    TFrmSCMM w(c, CurUser.YGBH, CurUser.YGMM, this);
    if (dialogs().exec(&w) != QDialog::Accepted) return false;
    CurUser.YGMM = w.newHash();
    return true;
}
