#include "data/PhotoTables.h"

#include "data/Dialect.h"

#include <QVariant>

namespace
{

using T = ColumnInfo;

QString id(const char* name)
{
    return Dialect::identifier(QString::fromUtf8(name));
}

// A listing's photos are read in their order, and counted per listing from the
// index alone; the bin finds its own by entry.
const char* const kPhotoIndexes[] = {
    "CREATE INDEX 房屋照片_档案号 ON 房屋照片(档案号, 回收站编号, 顺序)",
    "CREATE INDEX 房屋照片_回收站 ON 房屋照片(回收站编号)",
};

void runWithNumbers(Connection& c, const QString& sql, const QList<QVariant>& args)
{
    Statement st(c, sql);
    st.bindAll(args);
    st.step();
}

} // namespace

namespace Schema
{

const QList<TableDef>& photoTables()
{
    static const QList<TableDef> defs = {
        {"房屋照片",
         {{"编号", T::Integer, 0},
          {"档案号", T::Text, 12},
          {"顺序", T::Integer, 0},
          {"封面", T::Integer, 0}, // 1 for the listing's cover, else 0
          {"说明", T::Text, 20},
          {"宽度", T::Integer, 0},
          {"高度", T::Integer, 0},
          {"加入时间", T::Text, 19},
          {"照片", T::Binary, 0},
          {"缩略图", T::Binary, 0},
          {"交换图", T::Binary, 0},
          {"回收站编号", T::Integer, 0}},
         true},
    };
    return defs;
}

void createPhotoTables(Connection& c)
{
    for (const TableDef& t : photoTables())
        createTable(c, t);
    for (const char* s : kPhotoIndexes)
        c.run(QString::fromUtf8(s));
}

} // namespace Schema

namespace PhotoBin
{

void takeAlong(Connection& c, const QString& number, qlonglong binId)
{
    if (!c.table(QStringLiteral("房屋照片"))) return;
    runWithNumbers(c,
                   QStringLiteral("UPDATE %1 SET %2=? WHERE %3=? AND %2 IS NULL")
                       .arg(id("房屋照片"), id("回收站编号"), id("档案号")),
                   {binId, number});
}

void giveBack(Connection& c, qlonglong binId)
{
    if (!c.table(QStringLiteral("房屋照片"))) return;
    runWithNumbers(
        c, QStringLiteral("UPDATE %1 SET %2=NULL WHERE %2=?").arg(id("房屋照片"), id("回收站编号")),
        {binId});
}

void erase(Connection& c, qlonglong binId)
{
    if (!c.table(QStringLiteral("房屋照片"))) return;
    runWithNumbers(
        c, QStringLiteral("DELETE FROM %1 WHERE %2=?").arg(id("房屋照片"), id("回收站编号")),
        {binId});
}

} // namespace PhotoBin
