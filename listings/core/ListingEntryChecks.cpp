#include "listings/core/ListingEntryChecks.h"

#include "data/Text.h"

using RegisterRules::FailedCheck;

namespace
{

bool blank(const QString& s)
{
    return Text::trim(s).isEmpty();
}

} // namespace

std::optional<FailedCheck> firstFailedCheck(const ListingEntry& e)
{
    if (blank(e.estate))
        return FailedCheck{1, QStringLiteral("请录入小区名称"), QStringLiteral("DBEdit1")};
    if (blank(e.address))
        return FailedCheck{2, QStringLiteral("请录入地址"), QStringLiteral("DBEdit2")};
    if (!(e.area > 0) || blank(e.areaText))
        return FailedCheck{3, QStringLiteral("请录入房屋面积"), QStringLiteral("DBEdit3")};
    if (blank(e.floor)) return FailedCheck{4, QStringLiteral("请选择楼层"), QStringLiteral("cbLC")};
    if (blank(e.houseType))
        return FailedCheck{5, QStringLiteral("请选择户型"), QStringLiteral("cbHX")};
    if (!(e.price > 0) || blank(e.priceText))
        return FailedCheck{6, QStringLiteral("请录入价格"), QStringLiteral("DBEdit4")};
    if (blank(e.location))
        return FailedCheck{7, QStringLiteral("请选择位置"), QStringLiteral("cbWZ")};
    if (blank(e.mode)) return FailedCheck{8, QStringLiteral("请选择方式"), QStringLiteral("cbFS")};
    if (blank(e.ownership) && Text::trim(e.mode) == QStringLiteral("出售"))
        return FailedCheck{9, QStringLiteral("请选择权属"), QStringLiteral("cbQS")};
    if (blank(e.owner))
        return FailedCheck{10, QStringLiteral("请录入房主姓名"), QStringLiteral("DBEdit5")};
    if (auto phones = RegisterRules::phoneCheck(11, e.phone, e.mobile, QStringLiteral("DBEdit6")))
        return phones;
    if (!(e.lowest > 0) || blank(e.lowestText))
        return FailedCheck{12, QStringLiteral("请录入最低价格"), QStringLiteral("DBEdit8")};
    return std::nullopt;
}
