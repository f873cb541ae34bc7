#include "customers/CustomerExchange.h"

const ExchangeLayout& customerExchangeLayout()
{
    using C = ExchangeColumn;
    static const ExchangeLayout layout{
        QStringLiteral("客户信息"),
        QStringLiteral("客户信息Exp"),
        QStringLiteral("档案号"),
        {
            {QStringLiteral("档案号"), C::Text},
            {QStringLiteral("地址描述"), C::Text},
            {QStringLiteral("需求方式"), C::Text},
            {QStringLiteral("权属"), C::Text},
            {QStringLiteral("面积1"), C::Number},
            {QStringLiteral("面积2"), C::Number},
            {QStringLiteral("价格1"), C::Number},
            {QStringLiteral("价格2"), C::Number},
            {QStringLiteral("需求设施"), C::Text},
            {QStringLiteral("公司编号"), C::Text},
            {QStringLiteral("录入日期"), C::Text},
            {QStringLiteral("序号"), C::Text},
            {QStringLiteral("楼层"), C::Text},
            {QStringLiteral("户型"), C::Text},
            {QStringLiteral("类型"), C::Text},
            {QStringLiteral("位置"), C::Text},
        },
    };
    return layout;
}
