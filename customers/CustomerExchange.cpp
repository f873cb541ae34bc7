#include "customers/CustomerExchange.h"

#include "registers/core/RegisterRules.h"

const ExchangeLayout& customerExchangeLayout()
{
    // The whole 需求设施 memo travels; the name and phones never do.
    static const ExchangeLayout layout = RegisterRules::exchangeLayout(
        QStringLiteral("客户信息"),
        {"档案号", "地址描述", "需求方式", "权属", "面积1", "面积2", "价格1", "价格2", "需求设施",
         "公司编号", "录入日期", "序号", "楼层", "户型", "类型", "位置"},
        {"面积1", "面积2", "价格1", "价格2"});
    return layout;
}
