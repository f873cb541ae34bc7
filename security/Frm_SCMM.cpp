#include "security/Frm_SCMM.h"

#include "data/Connection.h"
#include "data/PasswordHash.h"
#include "data/SecurityTables.h"
#include "data/Text.h"
#include "security/core/LoginGuard.h"
#include "security/core/PasswordRules.h"
#include "shell/Dialogs.h"
#include "shell/Door.h"
#include "widgets/PasswordBox.h"
#include "widgets/WidgetUtil.h"

#include <QDateTime>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

TFrmSCMM::TFrmSCMM(Connection& c, const QString& number, const QString& currentHash,
                   QWidget* parent)
    : QDialog(parent), m_c(c), m_number(number), m_currentHash(currentHash)
{
    setObjectName(QStringLiteral("FrmSCMM"));
    setWindowTitle(QStringLiteral("设置新密码"));
    setWindowFlags(windowFlags() & ~Qt::WindowContextHelpButtonHint);

    lblInfo = new QLabel(QStringLiteral("您的密码是初始密码或由系统管理员重新设置的密码，"
                                        "请先设置自己的新密码。\n新密码至少%1个字符，"
                                        "不能与用户编号相同。")
                             .arg(PasswordRules::kMinLength),
                         this);
    lblInfo->setObjectName(QStringLiteral("lblInfo"));
    edtNew1 = namedPasswordBox(this, "edtNew1", this);
    edtNew2 = namedPasswordBox(this, "edtNew2", this);
    btnOK = namedButton(this, "btnOK", QStringLiteral("确定"));
    btnCancel = namedButton(this, "btnCancel", QStringLiteral("取消"));
    layOutPasswordWindow(
        this, lblInfo,
        {{QStringLiteral("新密码"), edtNew1}, {QStringLiteral("确认新密码"), edtNew2}}, btnOK,
        btnCancel);

    onSignal(btnOK, &QPushButton::clicked, this, &TFrmSCMM::btnOKClick);
    onSignal(btnCancel, &QPushButton::clicked, this, &QDialog::reject);
    edtNew1->setFocus();
}

bool TFrmSCMM::eventFilter(QObject* o, QEvent* e)
{
    if (e->type() == QEvent::KeyPress) {
        const int key = static_cast<QKeyEvent*>(e)->key();
        if (key == Qt::Key_Return || key == Qt::Key_Enter) {
            if (o == edtNew1)
                edtNew2->setFocus();
            else
                btnOKClick();
            return true;
        }
    }
    return QDialog::eventFilter(o, e);
}

void TFrmSCMM::btnOKClick()
{
    const QString new1 = Text::trim(edtNew1->text());
    const QString new2 = Text::trim(edtNew2->text());
    if (new1.isEmpty() || new2.isEmpty()) {
        dialogs().message(this, QStringLiteral("请完整输入新密码和确认新密码,不能为空"));
        edtNew1->setFocus();
        return;
    }
    if (new1 != new2) {
        dialogs().message(this, QStringLiteral("新密码和确认密码不一致,请重新输入。"));
        edtNew2->setFocus();
        return;
    }
    const PasswordRules::Failure f = PasswordRules::check(new1, m_number);
    if (f != PasswordRules::Failure::None) {
        dialogs().message(this, PasswordRules::message(f));
        edtNew1->setFocus();
        return;
    }
    if (PasswordHash::verify(m_currentHash, new1) == PasswordHash::Check::Match) {
        dialogs().message(this, QStringLiteral("新密码不能与原密码相同。"));
        edtNew1->setFocus();
        return;
    }
    OperatorPasswords::store(m_c, m_number, new1, false);
    m_newHash = OperatorPasswords::read(m_c, m_number).hash;
    LoginGuard::record(m_c, m_number, m_c.actor().workstation, LoginGuard::Event::PasswordChanged,
                       QDateTime::currentDateTime());
    accept();
}
