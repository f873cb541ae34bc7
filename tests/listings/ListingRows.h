#pragma once
// Listings for the query window and record card tests, inserted straight into the
// main database.
#include "app/core/PubVars.h"
#include "data/Text.h"
#include "tests/support/TestSupport.h"

struct ListingRow {
    QString dah;             // 档案号
    QVariant xqmc;           // 小区名称 (null allowed)
    QVariant dz;             // 地址 (null allowed)
    double mj = 80;          // 房屋面积
    double jg = 50;          // 信息价格
    QString lx = "有效";     // 类型
    QString lrrq = "261203"; // 录入日期
    QString xjcd = "5";      // 新旧程度
    QString fs = "出售";     // 方式
    QString lc = "三楼";     // 楼层
    QVariant zdjg = 40.0;    // 最低价格
    QString fzxm = "王房主"; // 房主姓名
};

inline QString sqlValue(const QVariant& v)
{
    if (v.isNull()) return QStringLiteral("null");
    if (v.typeId() == QMetaType::Double || v.typeId() == QMetaType::Int) return v.toString();
    return Text::literal(v.toString());
}

inline void addListing(const TestDb& db, const ListingRow& r)
{
    db.exec(
        QStringLiteral(
            "insert into 房屋信息 (档案号, 小区名称, 地址, 房屋面积, 信息价格, 类型, 录入日期, "
            "新旧程度, 方式, 楼层, 最低价格, 房主姓名, 公司编号, 序号, 户型, 位置, 设施) values "
            "(%1, %2, %3, %4, %5, %6, %7, %8, %9, %10, %11, %12, '001', %13, '两室', '市中心', "
            "'空调')")
            .arg(sqlValue(r.dah), sqlValue(r.xqmc), sqlValue(r.dz), sqlValue(r.mj), sqlValue(r.jg),
                 sqlValue(r.lx), sqlValue(r.lrrq), sqlValue(r.xjcd), sqlValue(r.fs))
            .arg(sqlValue(r.lc), sqlValue(r.zdjg), sqlValue(r.fzxm), sqlValue(r.dah.right(3))));
}

// Login values of a test operator.
inline void loginAs(const QString& role, const QString& name = QStringLiteral("张三"))
{
    CZRQ = QStringLiteral("261209");
    QSRQ = QStringLiteral("261201");
    GSDM = QStringLiteral("001");
    CurUser = GTMYhxx{QStringLiteral("001"), QString(), name, role, QString(), QString()};
}
