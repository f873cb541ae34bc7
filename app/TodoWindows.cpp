#include "app/TodoWindows.h"

#include "data/Dmbasic.h"
#include "data/Reminders.h"
#include "registers/RegisterWiring.h"
#include "session/PubVars.h"
#include "shell/Dialogs.h"
#include "shell/Door.h"
#include "todo/Frm_jrdb.h"
#include "todo/core/TodoList.h"

#include <QDateTime>
#include <memory>

QDialog* createTodoWindow(QWidget* parent)
{
    auto* w = new TFrmJRDB(parent);
    onSignal(w, &TFrmJRDB::recordRequested, w, [w](const QString& table, const QString& number) {
        // The record on its register's own card, over rows of its own.
        RegisterWiring::openCard(table, number, w);
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
