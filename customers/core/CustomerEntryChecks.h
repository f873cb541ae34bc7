#pragma once
// The checks a new customer must pass before 客户输入 saves it, in their order, and
// the stored form of an address description.
#include "registers/core/RegisterRules.h"

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

// The first of the four checks that fails (numbered 1..4), or nothing when the
// customer may be saved.
std::optional<RegisterRules::FailedCheck> firstFailedCustomerCheck(const CustomerEntry& e);

// "不限" (no preference) stands for an address description left empty.
QString storedAddress(const QString& typed);
