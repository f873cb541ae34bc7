#pragma once
// Listings and customers for the matching tests, written straight into the main
// database: every column the matching reads, nulls allowed, and the personal ones.
#include "data/Connection.h"
#include "tests/registers/RegisterTests.h"

#include <QVariantList>

inline void addMatchRow(Connection& c, const QString& table, const QString& columns,
                        const QVariantList& v, const QString& personal)
{
    QStringList values;
    for (const QVariant& x : v)
        values << sqlValue(x);
    c.execute(QStringLiteral("insert into %1 (%2) values (%3, %4)")
                  .arg(table, columns, values.join(", "), personal));
}

// 档案号, 类型, 方式, 房屋面积, 信息价格, 户型, 楼层, 位置, 权属, 小区名称, 地址, 设施
inline void addMatchListing(Connection& c, const QVariantList& v)
{
    addMatchRow(c, "房屋信息",
                "档案号, 类型, 方式, 房屋面积, 信息价格, 户型, 楼层, 位置, 权属, 小区名称, 地址, "
                "设施, 房主姓名, 电话, 手机",
                v, "'王房主', '66668888', '13900000000'");
}

// 档案号, 类型, 需求方式, 面积1, 面积2, 价格1, 价格2, 户型, 楼层, 位置, 权属, 地址描述, 需求设施
inline void addMatchCustomer(Connection& c, const QVariantList& v)
{
    addMatchRow(c, "客户信息",
                "档案号, 类型, 需求方式, 面积1, 面积2, 价格1, 价格2, 户型, 楼层, 位置, 权属, "
                "地址描述, 需求设施, 客户姓名, 电话, 手机",
                v, "'李客户', '55557777', '13800000000'");
}
