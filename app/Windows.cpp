#include "app/Windows.h"

#include "listings/Frm_fycx.h"
#include "listings/frm_Fylr.h"

#include <QDialog>
#include <QHash>
#include <functional>

// One line per built window: command id -> factory.
static const QHash<QString, std::function<QDialog*(QWidget*)>>& factories()
{
    static const QHash<QString, std::function<QDialog*(QWidget*)>> f = {
        {"B01FYLR", [](QWidget* p) -> QDialog* { return new TFrmfylr(p); }},
        {"B02FYCX", [](QWidget* p) -> QDialog* { return new TFrmFYCX(p); }},
    };
    return f;
}

QDialog* createFunctionWindow(const QString& commandId, QWidget* parent)
{
    const auto it = factories().constFind(commandId);
    return it == factories().constEnd() ? nullptr : it.value()(parent);
}

bool hasFunctionWindow(const QString& commandId)
{
    return factories().contains(commandId);
}
