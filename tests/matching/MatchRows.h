#pragma once
// Listings and customers for the matching tests, written straight into the main
// database: every column the matching reads, nulls allowed.
#include "data/Connection.h"
#include "tests/listings/ListingRows.h"

#include <QVariantList>

// 档案号, 类型, 方式, 房屋面积, 信息价格, 户型, 楼层, 位置, 权属, 小区名称, 地址, 设施
inline void addMatchListing(Connection& c, const QVariantList& v)
{
    QStringList values;
    for (const QVariant& x : v)
        values << sqlValue(x);
    c.execute(QStringLiteral("insert into 房屋信息 (档案号, 类型, 方式, 房屋面积, 信息价格, 户型, "
                             "楼层, 位置, 权属, 小区名称, 地址, 设施, 房主姓名, 电话, 手机) values "
                             "(%1, '王房主', '66668888', '13900000000')")
                  .arg(values.join(", ")));
}

// 档案号, 类型, 需求方式, 面积1, 面积2, 价格1, 价格2, 户型, 楼层, 位置, 权属, 地址描述, 需求设施
inline void addMatchCustomer(Connection& c, const QVariantList& v)
{
    QStringList values;
    for (const QVariant& x : v)
        values << sqlValue(x);
    c.execute(QStringLiteral("insert into 客户信息 (档案号, 类型, 需求方式, 面积1, 面积2, 价格1, "
                             "价格2, 户型, 楼层, 位置, 权属, 地址描述, 需求设施, 客户姓名, 电话, "
                             "手机) values (%1, '李客户', '55557777', '13800000000')")
                  .arg(values.join(", ")));
}
