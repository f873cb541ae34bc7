#include "customers/core/CustomerEntryChecks.h"

#include "data/Text.h"

using RegisterRules::FailedCheck;

std::optional<FailedCheck> firstFailedCustomerCheck(const CustomerEntry& e)
{
    if (Text::trim(e.mode).isEmpty())
        return FailedCheck{1, QStringLiteral("请选择方式"), QStringLiteral("cbFS")};
    if (Text::trim(e.ownership).isEmpty() && Text::trim(e.mode) == QStringLiteral("求购"))
        return FailedCheck{2, QStringLiteral("请选择权属"), QStringLiteral("cbQS")};
    if (Text::trim(e.name).isEmpty())
        return FailedCheck{3, QStringLiteral("请录入客户姓名"), QStringLiteral("DBEdit9")};
    return RegisterRules::phoneCheck(4, e.phone, e.mobile, QStringLiteral("DBEdit10"));
}

QString storedAddress(const QString& typed)
{
    return Text::trim(typed).isEmpty() ? RegisterRules::any() : typed;
}
