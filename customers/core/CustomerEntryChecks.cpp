#include "customers/core/CustomerEntryChecks.h"

#include "data/Text.h"

namespace
{

bool blank(const QString& s)
{
    return Text::trim(s).isEmpty();
}

} // namespace

std::optional<FailedCheck> firstFailedCustomerCheck(const CustomerEntry& e)
{
    if (blank(e.mode)) return FailedCheck{1, QStringLiteral("请选择方式"), QStringLiteral("cbFS")};
    if (blank(e.ownership) && Text::trim(e.mode) == QStringLiteral("求购"))
        return FailedCheck{2, QStringLiteral("请选择权属"), QStringLiteral("cbQS")};
    if (blank(e.name))
        return FailedCheck{3, QStringLiteral("请录入客户姓名"), QStringLiteral("DBEdit9")};
    if (blank(e.phone) && blank(e.mobile))
        return FailedCheck{4, QStringLiteral("请录入电话或手机其中的一项信息"),
                           QStringLiteral("DBEdit10")};
    return std::nullopt;
}

OwnershipList ownershipListForDemand(const QString& mode)
{
    const QString m = Text::trim(mode);
    if (m == QStringLiteral("求租")) return OwnershipList::Clear;
    if (m == QStringLiteral("求购")) return OwnershipList::Select;
    return OwnershipList::Keep;
}

QString storedAddress(const QString& typed)
{
    return blank(typed) ? anyChoice() : typed;
}
