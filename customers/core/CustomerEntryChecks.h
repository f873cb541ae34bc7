#pragma once
// The rules of the customer entry window that do not need the window: the checks a
// new customer must pass before it is saved, in their order, the 方式 rule and the
// stored form of an address description.
#include "listings/core/ListingEntryChecks.h"

#include <QString>
#include <optional>

// What the entry window holds when 保存 is pressed.
struct CustomerEntry {
    QString mode;      // cbFS
    QString ownership; // cbQS
    QString name;      // 客户姓名
    QString phone;     // 电话
    QString mobile;    // 手机
};

// The first of the four checks that fails, or nothing when the customer may be
// saved. FailedCheck::number is 1..4.
std::optional<FailedCheck> firstFailedCustomerCheck(const CustomerEntry& e);

// What a chosen demand mode does to the 权属 list: "求租" clears it, "求购" selects
// its first item, anything else leaves it alone.
OwnershipList ownershipListForDemand(const QString& mode);

// "不限" (no preference) stands for an address description left empty.
QString storedAddress(const QString& typed);

// The text every "no preference" list item and empty address is stored as.
inline QString anyChoice()
{
    return QStringLiteral("不限");
}
