#include "app/Windows.h"

#include "admin/Frm_QXSZ.h"
#include "admin/Frm_gsda.h"
#include "admin/Frm_hsz.h"
#include "admin/Frm_jcsj.h"
#include "admin/Frm_ryda.h"
#include "admin/U_MMXG.h"
#include "app/TodoWindows.h"
#include "customers/Frm_khcx.h"
#include "customers/Frm_khxx.h"
#include "deals/Frm_cjdj.h"
#include "deals/Frm_cjjl.h"
#include "deals/Frm_tjfx.h"
#include "listings/Frm_fycx.h"
#include "listings/frm_Fylr.h"
#include "matching/Frm_ppjg.h"
#include "registers/RecordCard.h"
#include "security/Frm_DLJL.h"
#include "shell/Dialogs.h"

#include <QDialog>
#include <QHash>
#include <functional>

// One line per built window: command id -> factory.
static const QHash<QString, std::function<QDialog*(QWidget*)>>& factories()
{
    static const QHash<QString, std::function<QDialog*(QWidget*)>> f = {
        {"B01FYLR", [](QWidget* p) -> QDialog* { return new TFrmfylr(p); }},
        {"B02FYCX", [](QWidget* p) -> QDialog* { return new TFrmFYCX(p); }},
        {"C01KHLR", [](QWidget* p) -> QDialog* { return new TFrmkhxx(p); }},
        {"C02KHCX", [](QWidget* p) -> QDialog* { return new TFrmKHCX(p); }},
        {"D01GSDA", [](QWidget* p) -> QDialog* { return new TFrmgsda(p); }},
        {"D02RYDA", [](QWidget* p) -> QDialog* { return new TFrmryda(p); }},
        {"D03QXSZ", [](QWidget* p) -> QDialog* { return new TFrmQXSZ(p); }},
        {"D04JCSJ", [](QWidget* p) -> QDialog* { return new TFrmJCSJ(p); }},
        {"A02MMXG", [](QWidget* p) -> QDialog* { return new TFrmMMXG(p); }},
        {"A03HSZ", [](QWidget* p) -> QDialog* { return new TFrmHSZ(p); }},
        {"A04DLAQ", [](QWidget* p) -> QDialog* { return new TFrmDLJL(p); }},
        {"F01JRDB", [](QWidget* p) -> QDialog* { return createTodoWindow(p); }},
        {"F01CJJL", [](QWidget* p) -> QDialog* { return new TFrmCJJL(p); }},
        {"F02TJFX", [](QWidget* p) -> QDialog* { return new TFrmTJFX(p); }},
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

namespace
{

// A new deal in its window; true when one was stored.
bool enterDeal(QWidget* parent, const QString& listing, const QString& customer)
{
    TFrmCJDJ w(listing, customer, parent);
    dialogs().exec(&w);
    return w.dealId() != 0;
}

} // namespace

void installFeatureHooks()
{
    RecordCard::dealEntry() = [](QWidget* parent, const QString& table, const QString& number) {
        const bool listing = table == QStringLiteral("房屋信息");
        return enterDeal(parent, listing ? number : QString(), listing ? QString() : number);
    };
    TFrmPPJG::dealEntry() = enterDeal;
}
