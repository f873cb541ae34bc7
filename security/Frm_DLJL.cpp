#include "security/Frm_DLJL.h"

#include "data/DbError.h"
#include "data/Dmbasic.h"
#include "security/IdleLock.h"
#include "security/core/LoginGuard.h"
#include "session/PubVars.h"
#include "shell/Dialogs.h"
#include "shell/Door.h"
#include "shell/Guard.h"
#include "widgets/WidgetUtil.h"

#include <QDateTime>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QSpinBox>
#include <QVBoxLayout>

namespace
{

Connection& mainConnection()
{
    if (!dmbasic) throw DbError(QStringLiteral("数据库连接没有打开。"));
    return dmbasic->adoCntnfybase;
}

} // namespace

TFrmDLJL::TFrmDLJL(QWidget* parent)
    : RowsWindow("FrmDLJL", QStringLiteral("登录记录"), QStringLiteral("还没有登录记录"), parent)
{
    setWindowTitle(QStringLiteral("登录安全"));
    btnUnlock = addButton("btnUnlock", QStringLiteral("解除锁定"));
    onSignal(btnUnlock, &QPushButton::clicked, this, &TFrmDLJL::btnUnlockClick);

    lblLocked = new QLabel(this);
    lblLocked->setObjectName(QStringLiteral("lblLocked"));
    spnIdle = new QSpinBox(this);
    spnIdle->setObjectName(QStringLiteral("spnIdle"));
    spnIdle->setRange(0, LoginGuard::kMaxIdleMinutes);
    spnIdle->setSuffix(QStringLiteral(" 分钟"));
    spnIdle->setSpecialValueText(QStringLiteral("不锁定"));
    btnIdle = namedButton(this, "btnIdle", QStringLiteral("保存"));
    onSignal(btnIdle, &QPushButton::clicked, this, &TFrmDLJL::btnIdleClick);
    auto* row = new QHBoxLayout;
    row->addWidget(lblLocked, 1);
    row->addWidget(new QLabel(QStringLiteral("无操作自动锁定："), this));
    row->addWidget(spnIdle);
    row->addWidget(btnIdle);
    if (auto* root = qobject_cast<QVBoxLayout*>(layout()))
        root->insertLayout(root->count() - 1, row);
    setTabOrder(grid, spnIdle);
    setTabOrder(spnIdle, btnIdle);
    setTabOrder(btnIdle, btnUnlock);

    guarded([this] { spnIdle->setValue(LoginGuard::idleMinutes(mainConnection())); });
    refresh();
}

void TFrmDLJL::refresh()
{
    guarded([this] {
        Connection& c = mainConnection();
        std::vector<QVector<QVariant>> values;
        for (const QVariantList& r : LoginGuard::log(c))
            values.push_back(
                {r.value(0), r.value(1), r.value(2), r.value(3), r.value(4), r.value(5)});
        present(LoginGuard::logColumns(), std::move(values));
        QStringList locked;
        for (const auto& [number, until] :
             LoginGuard::lockedNumbers(c, QDateTime::currentDateTime()))
            locked << QStringLiteral("%1（至 %2）")
                          .arg(number, until.toString(QStringLiteral("HH:mm")));
        lblLocked->setText(locked.isEmpty()
                               ? QStringLiteral("当前没有被锁定的用户编号")
                               : QStringLiteral("被锁定：") + locked.join(QStringLiteral("，")));
    });
}

void TFrmDLJL::btnUnlockClick()
{
    const QString number = current(QStringLiteral("员工编号")).toString();
    if (number.isEmpty()) return;
    Connection& c = mainConnection();
    const QDateTime now = QDateTime::currentDateTime();
    if (!LoginGuard::lockOf(c, number, now).locked) {
        dialogs().message(this, QStringLiteral("用户编号“%1”没有被锁定。").arg(number));
        return;
    }
    if (!dialogs().question(this, QStringLiteral("是否解除用户编号“%1”的锁定？").arg(number)))
        return;
    LoginGuard::unlock(c, number, CurUser.YGBH, c.actor().workstation, now);
    refresh();
}

void TFrmDLJL::btnIdleClick()
{
    const int minutes = spnIdle->value();
    LoginGuard::setIdleMinutes(mainConnection(), minutes);
    if (IdleLock* lock = IdleLock::instance()) lock->setInterval(minutes * 60 * 1000);
    dialogs().message(
        this, minutes == 0 ? QStringLiteral("已设置为不自动锁定。")
                           : QStringLiteral("已设置为无操作 %1 分钟后自动锁定。").arg(minutes));
}
