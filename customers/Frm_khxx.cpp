#include "customers/Frm_khxx.h"

#include "common/PanelBuilder.h"
#include "customers/CustomerPanel.h"
#include "customers/core/CustomerEntryChecks.h"
#include "customers/core/CustomerSearch.h"

const EntryWindowConfig& TFrmkhxx::config()
{
    static const EntryWindowConfig c = [] {
        EntryWindowConfig c;
        c.caption = QStringLiteral("客户信息输入窗口");
        c.layout = CustomerPanel::layout();
        c.fixedSize = false;
        c.fontPx = 12;
        c.buttonFontPx = 16;
        c.table = CustomerSearch::table();
        c.emptyLine = QStringLiteral("where 档案号=''");
        c.numberQuote = QLatin1Char('\'');
        c.saveButton = QStringLiteral("BitBtn1");
        c.cancelButton = QStringLiteral("BitBtn2");
        // A single-byte question mark, unlike the listing window's.
        c.question = QStringLiteral("是否增加新的记录?");
        c.firstControl = QStringLiteral("DBEdit2");
        c.lists = {RegisterRules::floors(true), RegisterRules::houseTypes(true),
                   CustomerSearch::demandModes(), RegisterRules::ownerships(),
                   RegisterRules::locations(true)};
        c.modeRule = {QStringLiteral("求租"), QStringLiteral("求购")};
        c.listColumns = {{QStringLiteral("cbFS"), QStringLiteral("需求方式")},
                         {QStringLiteral("cbQS"), QStringLiteral("权属")},
                         {QStringLiteral("cbLC"), QStringLiteral("楼层")},
                         {QStringLiteral("cbHX"), QStringLiteral("户型")},
                         {QStringLiteral("cbWZ"), QStringLiteral("位置")}};
        c.defaults = {{QStringLiteral("地址描述"), RegisterRules::any()},
                      {QStringLiteral("类型"), QStringLiteral("有效")},
                      {QStringLiteral("面积1"), 0.0},
                      {QStringLiteral("面积2"), 0.0},
                      {QStringLiteral("价格1"), 0.0},
                      {QStringLiteral("价格2"), 0.0}};
        return c;
    }();
    return c;
}

TFrmkhxx::TFrmkhxx(QWidget* parent)
    : EntryWindow(config(), parent), qrykhxx(row()), dskhxx(rowLink())
{
    PanelBuilder p(panel(), &dskhxx, PanelBuilder::Use::Entry);
    CustomerPanel::build(p);
    finishPanel(p);
    FormCreate();
}

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
