#pragma once
// Customers for the query window, record card and exchange tests, inserted
// straight into the main database.
#include "tests/listings/ListingRows.h"

struct CustomerRow {
    QString dah;             // 档案号
    QVariant dzms = "城东";  // 地址描述 (null allowed)
    QString lx = "有效";     // 类型
    QString lrrq = "261203"; // 录入日期
    QString lc = "中层";     // 楼层
    QString hx = "两室";     // 户型
    QString wz = "城东";     // 位置
    QString fs = "求购";     // 需求方式
    double mj1 = 0, mj2 = 0; // 面积1, 面积2
    double jg1 = 0, jg2 = 0; // 价格1, 价格2
    QString khxm = "李客户"; // 客户姓名
};

inline void addCustomer(const TestDb& db, const CustomerRow& r)
{
    db.exec(QStringLiteral("insert into 客户信息 (档案号, 地址描述, 类型, 录入日期, 楼层, 户型, "
                           "位置, 需求方式, 面积1, 面积2, 价格1, 价格2, 客户姓名, 电话, 手机, "
                           "权属, 需求设施, 公司编号, 序号) values (%1, %2, %3, %4, %5, %6, %7, "
                           "%8, %9, %10, %11, %12, %13, '66668888', '13900000000', '商品房', "
                           "'煤气 暖气', %14, %15)")
                .arg(sqlValue(r.dah), sqlValue(r.dzms), sqlValue(r.lx), sqlValue(r.lrrq),
                     sqlValue(r.lc), sqlValue(r.hx), sqlValue(r.wz), sqlValue(r.fs),
                     sqlValue(r.mj1))
                .arg(sqlValue(r.mj2), sqlValue(r.jg1), sqlValue(r.jg2), sqlValue(r.khxm),
                     sqlValue(r.dah.left(3)), sqlValue(r.dah.right(3))));
}
