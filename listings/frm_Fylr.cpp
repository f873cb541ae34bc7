#include "listings/frm_Fylr.h"

#include "app/core/PubVars.h"
#include "common/PanelBuilder.h"
#include "listings/ListingPanel.h"
#include "listings/StructureFile.h"
#include "listings/core/ListingEntryChecks.h"
#include "listings/core/ListingSearch.h"

#include <QPushButton>

const EntryWindowConfig& TFrmfylr::config()
{
    static const EntryWindowConfig c = [] {
        EntryWindowConfig c;
        c.caption = QStringLiteral("房源输入");
        c.layout = ListingPanel::layout();
        c.table = ListingSearch::table();
        c.emptyLine = QStringLiteral("where 档案号=\"\" ");
        c.numberQuote = QLatin1Char('"');
        c.saveButton = QStringLiteral("Button1");
        c.cancelButton = QStringLiteral("Button2");
        c.question = QStringLiteral("是否增加新的记录？");
        c.firstControl = QStringLiteral("DBEdit1");
        c.lists = {RegisterRules::floors(false), RegisterRules::houseTypes(false),
                   RegisterRules::locations(false), ListingSearch::supplyModes(),
                   RegisterRules::ownerships()};
        c.modeRule = {QStringLiteral("出租"), QStringLiteral("出售")};
        c.listColumns = {{QStringLiteral("cbLC"), QStringLiteral("楼层")},
                         {QStringLiteral("cbHX"), QStringLiteral("户型")},
                         {QStringLiteral("cbWZ"), QStringLiteral("位置")},
                         {QStringLiteral("cbFS"), QStringLiteral("方式")},
                         {QStringLiteral("cbQS"), QStringLiteral("权属")}};
        c.defaults = {{QStringLiteral("房屋面积"), 0.0},
                      {QStringLiteral("信息价格"), 0.0},
                      {QStringLiteral("最低价格"), 0.0},
                      {QStringLiteral("类型"), QStringLiteral("有效")}};
        return c;
    }();
    return c;
}

TFrmfylr::TFrmfylr(QWidget* parent)
    : EntryWindow(config(), parent), qryFwxx(row()), dsFwxx(rowLink())
{
    PanelBuilder p(panel(), &dsFwxx, PanelBuilder::Use::Entry);
    ListingPanel::build(p);
    finishPanel(p);
    connect(findChild<QPushButton*>(QStringLiteral("Button3")), &QPushButton::clicked, this,
            &TFrmfylr::Button3Click);
    connect(findChild<QPushButton*>(QStringLiteral("Button4")), &QPushButton::clicked, this,
            &TFrmfylr::Button4Click);
    FormCreate();
}

void TFrmfylr::Button3Click()
{
    StructureFile::link(this, qryFwxx);
}

void TFrmfylr::Button4Click()
{
    StructureFile::open(qryFwxx);
}

std::optional<RegisterRules::FailedCheck> TFrmfylr::firstFailedCheck() const
{
    const Query& q = qryFwxx;
    ListingEntry e;
    e.estate = q.text(QStringLiteral("小区名称"));
    e.address = q.text(QStringLiteral("地址"));
    e.areaText = shown("DBEdit3");
    e.area = q.number(QStringLiteral("房屋面积"));
    e.floor = shown("cbLC");
    e.houseType = shown("cbHX");
    e.priceText = shown("DBEdit4");
    e.price = q.number(QStringLiteral("信息价格"));
    e.location = shown("cbWZ");
    e.mode = shown("cbFS");
    e.ownership = shown("cbQS");
    e.owner = q.text(QStringLiteral("房主姓名"));
    e.phone = q.text(QStringLiteral("电话"));
    e.mobile = q.text(QStringLiteral("手机"));
    e.lowestText = shown("DBEdit8");
    e.lowest = q.number(QStringLiteral("最低价格"));
    return ::firstFailedCheck(e);
}
