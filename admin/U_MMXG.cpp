#include "admin/U_MMXG.h"

#include "admin/core/Operators.h"
#include "data/Dmbasic.h"
#include "data/SecurityTables.h"
#include "data/Text.h"
#include "security/core/LoginGuard.h"
#include "session/PubVars.h"
#include "shell/Dialogs.h"
#include "shell/Door.h"
#include "widgets/CharLimit.h"
#include "widgets/PasswordBox.h"
#include "widgets/WidgetUtil.h"

#include <QDateTime>

#include <QKeyEvent>
#include <QLineEdit>
#include <QPushButton>

TFrmMMXG::TFrmMMXG(QWidget* parent) : QDialog(parent)
{
    setObjectName(QStringLiteral("FrmMMXG"));
    setWindowTitle(QStringLiteral("用户密码修改"));
    setWindowFlags(windowFlags() & ~Qt::WindowContextHelpButtonHint);

    edtOld = namedPasswordBox(this, "edtOld", this);
    edtNew1 = namedPasswordBox(this, "edtNew1", this);
    edtNew2 = namedPasswordBox(this, "edtNew2", this);
    btnModify = namedButton(this, "btnModify", QStringLiteral("确定"));
    btnCancel = namedButton(this, "btnCancel", QStringLiteral("取消"));
    layOutPasswordWindow(this, nullptr,
                         {{QStringLiteral("原密码"), edtOld},
                          {QStringLiteral("新密码"), edtNew1},
                          {QStringLiteral("确认新密码"), edtNew2}},
                         btnModify, btnCancel);

    onSignal(btnModify, &QPushButton::clicked, this, &TFrmMMXG::btnModifyClick);
    onSignal(btnCancel, &QPushButton::clicked, this, &QDialog::reject);
    edtOld->setFocus();
}

bool TFrmMMXG::eventFilter(QObject* watched, QEvent* event)
{
    if (event->type() == QEvent::KeyPress) {
        const int key = static_cast<QKeyEvent*>(event)->key();
        if (key == Qt::Key_Return || key == Qt::Key_Enter) {
            if (watched == edtOld)
                edtNew1->setFocus();
            else if (watched == edtNew1)
                edtNew2->setFocus();
            else if (watched == edtNew2)
                btnModifyClick();
            return true;
        }
    }
    return QDialog::eventFilter(watched, event);
}

void TFrmMMXG::btnModifyClick()
{
    const QString oldPw = Text::trim(edtOld->text());
    const QString new1 = Text::trim(edtNew1->text());
    const QString new2 = Text::trim(edtNew2->text());
    using PasswordChange::Failure;
    Failure f = PasswordChange::checkInput(oldPw, new1, new2, CurUser.YGBH);
    if (f == Failure::None && Operators::verifyPassword(dmbasic->QryPUB, CurUser.YGBH, oldPw) !=
                                  PasswordHash::Check::Match)
        f = Failure::OldWrong;
    if (f != Failure::None) {
        dialogs().message(this, PasswordChange::message(f));
        switch (f) {
        case Failure::OldEmpty:
        case Failure::OldWrong:
            edtOld->setFocus();
            break;
        case Failure::NewEmpty:
        case Failure::TooLong:
        case Failure::TooShort:
        case Failure::IsNumber:
            edtNew1->setFocus();
            break;
        default:
            edtNew2->setFocus();
            break;
        }
        return;
    }
    Operators::setPassword(dmbasic->QryPUB, CurUser.YGBH, new1, false);
    Connection& c = dmbasic->adoCntnfybase;
    // The login record keeps the password as its hash, never as typed.
    CurUser.YGMM = OperatorPasswords::read(c, CurUser.YGBH).hash;
    LoginGuard::record(c, CurUser.YGBH, c.actor().workstation, LoginGuard::Event::PasswordChanged,
                       QDateTime::currentDateTime());
    dialogs().message(this, QStringLiteral("密码已成功修改。"));
    accept();
}
