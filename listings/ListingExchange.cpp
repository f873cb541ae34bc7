#include "listings/ListingExchange.h"

const ExchangeLayout& listingExchangeLayout()
{
    using C = ExchangeColumn;
    static const ExchangeLayout layout{
        QStringLiteral("房屋信息"),
        QStringLiteral("房屋信息Exp"),
        QStringLiteral("档案号"),
        {
            {QStringLiteral("档案号"), C::Text},
            {QStringLiteral("小区名称"), C::Text},
            {QStringLiteral("地址"), C::Text},
            {QStringLiteral("房屋面积"), C::Number},
            {QStringLiteral("楼层"), C::Text},
            {QStringLiteral("户型"), C::Text},
            {QStringLiteral("信息价格"), C::Number},
            {QStringLiteral("设施"), C::Text},
            {QStringLiteral("位置"), C::Text},
            {QStringLiteral("方式"), C::Text},
            {QStringLiteral("权属"), C::Text},
            {QStringLiteral("类型"), C::Text},
            {QStringLiteral("期限"), C::Text},
            {QStringLiteral("公司编号"), C::Text},
            {QStringLiteral("录入日期"), C::Text},
            {QStringLiteral("序号"), C::Text},
            {QStringLiteral("新旧程度"), C::Text},
            {QStringLiteral("公交线路"), C::Text},
        },
    };
    return layout;
}
