#include "app/TodoWindows.h"

#include "app/core/PubVars.h"
#include "common/Dialogs.h"
#include "customers/Frm_khcx.h"
#include "data/Dmbasic.h"
#include "data/Reminders.h"
#include "listings/Frm_fycx.h"
#include "todo/Frm_jrdb.h"
#include "todo/core/TodoList.h"

#include <QDateTime>
#include <memory>

QDialog* createTodoWindow(QWidget* parent)
{
    auto* w = new TFrmJRDB(parent);
    QObject::connect(w, &TFrmJRDB::recordRequested, w,
                     [w](const QString& table, const QString& number) {
                         if (table == QStringLiteral("房屋信息")) {
                             TFrmFYCX other(w);
                             other.showRecord(number);
                         } else {
                             TFrmKHCX other(w);
                             other.showRecord(number);
                         }
                         w->refresh();
                     });
    return w;
}

bool openTodoAfterLogin(QWidget* parent)
{
    Connection& c = dmbasic->adoCntnfybase;
    if (CurUser.YGBH.isEmpty() || !Reminders::opensAtLogin(c, CurUser.YGBH) ||
        !Todo::hasDue(c, CurUser.YGBH, QDateTime::currentDateTime()))
        return false;
    std::unique_ptr<QDialog> w(createTodoWindow(parent));
    dialogs().exec(w.get());
    return true;
}
