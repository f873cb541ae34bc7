#include "listings/frm_Fylr.h"

#include "listings/ListingPanel.h"
#include "listings/StructureFile.h"
#include "listings/core/ListingEntryChecks.h"
#include "listings/core/ListingSearch.h"
#include "photos/PhotoStrip.h"
#include "shell/Door.h"

#include <QPushButton>

namespace
{

const EntryWindowConfig kListingEntry{
    .caption = QStringLiteral("房源输入"),
    .layout = ListingPanel::layout(),
    .statement = {ListingSearch::table(), QStringLiteral("where 档案号=\"\" "), QLatin1Char('"')},
    .controls = {QStringLiteral("Button1"), QStringLiteral("Button2"), QStringLiteral("DBEdit1")},
    .question = QStringLiteral("是否增加新的记录？"),
    .lists = {RegisterRules::floors(false), RegisterRules::houseTypes(false),
              RegisterRules::locations(false), ListingSearch::supplyModes(),
              RegisterRules::ownerships()},
    .modeRule = {QStringLiteral("出租"), QStringLiteral("出售")},
    .zeroColumns = {"房屋面积", "信息价格", "最低价格"},
    .listColumns = {"cbLC=楼层", "cbHX=户型", "cbWZ=位置", "cbFS=方式", "cbQS=权属"},
};

} // namespace

TFrmfylr::TFrmfylr(QWidget* parent) : EntryWindow(kListingEntry, parent), qryFwxx(row())
{
    onSignal(findChild<QPushButton*>(QStringLiteral("Button3")), &QPushButton::clicked, this,
             &TFrmfylr::Button3Click);
    onSignal(findChild<QPushButton*>(QStringLiteral("Button4")), &QPushButton::clicked, this,
             &TFrmfylr::Button4Click);
    // Its tab cycle ends at 取消 as before: the strip is worked by mouse.
    photos = PhotoStrip::placeBelow(this, panel(), QString());
    photos->holdUntilSaved();
}

void TFrmfylr::saved()
{
    // Stored with the listing; the next one starts without photos.
    photos->clearPending();
}

void TFrmfylr::storeWithRow(const QString& number)
{
    Photos::add(*qryFwxx.connection(), number, photos->pending());
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
