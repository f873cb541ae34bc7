#include "customers/Frm_khxx.h"

#include "customers/CustomerPanel.h"
#include "customers/core/CustomerEntryChecks.h"
#include "customers/core/CustomerSearch.h"

namespace
{

const EntryWindowConfig kCustomerEntry{
    .caption = QStringLiteral("客户信息输入窗口"),
    .layout = CustomerPanel::layout(),
    .fixedSize = false,
    .statement = {CustomerSearch::table(), QStringLiteral("where 档案号=''"), QLatin1Char('\'')},
    .fontPx = 12,
    .controls = {QStringLiteral("BitBtn1"), QStringLiteral("BitBtn2"), QStringLiteral("DBEdit2")},
    .buttonFontPx = 16,
    // A single-byte question mark, unlike the listing window's.
    .question = QStringLiteral("是否增加新的记录?"),
    .lists = {RegisterRules::floors(true), RegisterRules::houseTypes(true),
              CustomerSearch::demandModes(), RegisterRules::ownerships(),
              RegisterRules::locations(true)},
    .modeRule = {QStringLiteral("求租"), QStringLiteral("求购")},
    .defaults = {{QStringLiteral("地址描述"), RegisterRules::any()}},
    .zeroColumns = {"面积1", "面积2", "价格1", "价格2"},
    .listColumns = {"cbFS=需求方式", "cbQS=权属", "cbLC=楼层", "cbHX=户型", "cbWZ=位置"},
};

} // namespace

TFrmkhxx::TFrmkhxx(QWidget* parent) : EntryWindow(kCustomerEntry, parent), qrykhxx(row()) {}

std::optional<RegisterRules::FailedCheck> TFrmkhxx::firstFailedCheck() const
{
    const Query& q = qrykhxx;
    return firstFailedCustomerCheck(
        {shown("cbFS"), shown("cbQS"), q.text(QStringLiteral("客户姓名")),
         q.text(QStringLiteral("电话")), q.text(QStringLiteral("手机"))});
}

void TFrmkhxx::writeSaveValues(Query& q)
{
    EntryWindow::writeSaveValues(q);
    const QString address = q.text(QStringLiteral("地址描述"));
    if (address != storedAddress(address))
        q.setValue(QStringLiteral("地址描述"), storedAddress(address));
}
