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

#include <QDateTime>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

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
    auto makeBox = [&](const char* name) {
        auto* e = new QLineEdit(this);
        e->setObjectName(QString::fromLatin1(name));
        makePasswordBox(e);
        e->installEventFilter(this);
        return e;
    };
    edtNew1 = makeBox("edtNew1");
    edtNew2 = makeBox("edtNew2");
    btnOK = new QPushButton(QStringLiteral("确定"), this);
    btnOK->setObjectName(QStringLiteral("btnOK"));
    btnCancel = new QPushButton(QStringLiteral("取消"), this);
    btnCancel->setObjectName(QStringLiteral("btnCancel"));
    for (QPushButton* b : {btnOK, btnCancel})
        b->setAutoDefault(false);

    auto* form = new QFormLayout;
    form->addRow(QStringLiteral("新密码"), edtNew1);
    form->addRow(QStringLiteral("确认新密码"), edtNew2);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(btnOK);
    buttons->addWidget(btnCancel);
    auto* lay = new QVBoxLayout(this);
    lay->addWidget(lblInfo);
    lay->addLayout(form);
    lay->addLayout(buttons);
    lay->setSizeConstraint(QLayout::SetFixedSize);

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
