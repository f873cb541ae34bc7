#pragma once
// A listing and a customer that fit each other in every criterion, and changes
// to them by column name, for the matching tests.
#include "matching/core/MatchRules.h"

#include <QVariantHash>
#include <limits>

inline Matching::Listing baseListing()
{
    Matching::Listing l;
    l.archive = QStringLiteral("001261201001");
    l.validity = QStringLiteral("有效");
    l.mode = QStringLiteral("出售");
    l.area = 80;
    l.price = 100;
    l.houseType = QStringLiteral("两室一厅");
    l.floor = QStringLiteral("中层");
    l.location = QStringLiteral("城东");
    l.ownership = QStringLiteral("商品房");
    l.estate = QStringLiteral("阳光花园");
    l.address = QStringLiteral("人民路12号");
    l.facilities = QStringLiteral("煤气 暖气 车库");
    return l;
}

inline Matching::Customer baseCustomer()
{
    Matching::Customer c;
    c.archive = QStringLiteral("001261201101");
    c.validity = QStringLiteral("有效");
    c.mode = QStringLiteral("求购");
    c.area1 = 60;
    c.area2 = 90;
    c.price1 = 80;
    c.price2 = 120;
    c.houseType = QStringLiteral("两室一厅");
    c.floor = QStringLiteral("中层");
    c.location = QStringLiteral("城东");
    c.ownership = QStringLiteral("商品房");
    c.wantedArea = QStringLiteral("阳光");
    c.wantedFacilities = QStringLiteral("煤气 暖气");
    return c;
}

// A number from a change: a double as given, "NaN" for not-a-number.
inline double numberOf(const QVariant& v)
{
    return v.toString() == QLatin1String("NaN") ? std::numeric_limits<double>::quiet_NaN()
                                                : v.toDouble();
}

inline void apply(Matching::Listing& l, const QVariantHash& changes)
{
    for (auto it = changes.begin(); it != changes.end(); ++it) {
        const QString k = it.key(), s = it.value().toString();
        if (k == "类型")
            l.validity = s;
        else if (k == "方式")
            l.mode = s;
        else if (k == "房屋面积")
            l.area = numberOf(it.value());
        else if (k == "信息价格")
            l.price = numberOf(it.value());
        else if (k == "户型")
            l.houseType = s;
        else if (k == "楼层")
            l.floor = s;
        else if (k == "位置")
            l.location = s;
        else if (k == "权属")
            l.ownership = s;
        else if (k == "小区名称")
            l.estate = s;
        else if (k == "地址")
            l.address = s;
        else if (k == "设施")
            l.facilities = s;
        else
            qFatal("unknown listing column %s", qPrintable(k));
    }
}

inline void apply(Matching::Customer& c, const QVariantHash& changes)
{
    for (auto it = changes.begin(); it != changes.end(); ++it) {
        const QString k = it.key(), s = it.value().toString();
        if (k == "类型")
            c.validity = s;
        else if (k == "需求方式")
            c.mode = s;
        else if (k == "面积1")
            c.area1 = numberOf(it.value());
        else if (k == "面积2")
            c.area2 = numberOf(it.value());
        else if (k == "价格1")
            c.price1 = numberOf(it.value());
        else if (k == "价格2")
            c.price2 = numberOf(it.value());
        else if (k == "户型")
            c.houseType = s;
        else if (k == "楼层")
            c.floor = s;
        else if (k == "位置")
            c.location = s;
        else if (k == "权属")
            c.ownership = s;
        else if (k == "地址描述")
            c.wantedArea = s;
        else if (k == "需求设施")
            c.wantedFacilities = s;
        else
            qFatal("unknown customer column %s", qPrintable(k));
    }
}
