#pragma once
// The rules of the listing entry window that do not need the window: the checks a
// new listing must pass before it is saved, in their order, and the 方式 rule.
#include <QString>
#include <optional>

// What the entry window holds when 保存 is pressed: texts as shown in the boxes and
// lists, amounts as stored in the row.
struct ListingEntry {
    QString estate;   // 小区名称
    QString address;  // 地址
    QString areaText; // 房屋面积 box
    double area = 0;
    QString floor;     // cbLC
    QString houseType; // cbHX
    QString priceText; // 信息价格 box
    double price = 0;
    QString location;   // cbWZ
    QString mode;       // cbFS
    QString ownership;  // cbQS
    QString owner;      // 房主姓名
    QString phone;      // 电话
    QString mobile;     // 手机
    QString lowestText; // 最低价格 box
    double lowest = 0;
};

struct FailedCheck {
    int number;      // 1..12
    QString message; // shown in the message box
    QString control; // objectName of the control that gets the focus
};

// The first of the twelve checks that fails, or nothing when the row may be saved.
std::optional<FailedCheck> firstFailedCheck(const ListingEntry& e);

// What a chosen 方式 does to the 权属 list.
enum class OwnershipList {
    Clear,  // "出租": no selection, disabled
    Select, // "出售": first item selected, enabled
    Keep,   // anything else: unchanged
};
OwnershipList ownershipListFor(const QString& mode);
