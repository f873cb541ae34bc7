#include "listings/ListingExchange.h"

#include "photos/core/PhotoExchange.h"
#include "registers/core/RegisterRules.h"

const ExchangeLayout& listingExchangeLayout()
{
    static const ExchangeLayout layout = [] {
        ExchangeLayout l = RegisterRules::exchangeLayout(
            QStringLiteral("房屋信息"),
            {"档案号", "小区名称", "地址", "房屋面积", "楼层", "户型", "信息价格", "设施", "位置",
             "方式", "权属", "类型", "期限", "公司编号", "录入日期", "序号", "新旧程度",
             "公交线路"},
            {"房屋面积", "信息价格"});
        // Each listing's cover photo, reduced, in a table of its own beside them.
        l.exportExtra = &PhotoExchange::exportCovers;
        l.importExtra = &PhotoExchange::importCovers;
        return l;
    }();
    return layout;
}
