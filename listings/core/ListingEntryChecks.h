#pragma once
// The checks a new listing must pass before 房源输入 saves it, in their order.
#include "registers/core/RegisterRules.h"

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

// The first of the twelve checks that fails (numbered 1..12), or nothing when the
// row may be saved.
std::optional<RegisterRules::FailedCheck> firstFailedCheck(const ListingEntry& e);
