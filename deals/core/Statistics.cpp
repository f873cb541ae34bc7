#include "deals/core/Statistics.h"

#include "data/Dialect.h"
#include "data/Text.h"
#include "deals/core/Deals.h"

#include <QHash>
#include <QMap>
#include <algorithm>
#include <cmath>
#include <functional>

namespace Statistics
{

namespace
{

QString id(const char* name)
{
    return Dialect::identifier(QString::fromUtf8(name));
}

// YYMMDD of a date, as 录入日期 holds it.
QString shortDate(const QDate& d)
{
    return d.toString(QStringLiteral("yyMMdd"));
}

// "YYMM" of a 录入日期 as a month "yyyy-MM" (two-digit years from 70 are 19xx).
QString monthOf(const QString& yymm)
{
    if (yymm.size() < 4) return yymm;
    const int yy = yymm.left(2).toInt();
    return QStringLiteral("%1-%2").arg(yy >= 70 ? 1900 + yy : 2000 + yy).arg(yymm.mid(2, 2));
}

QString category(const QVariant& v)
{
    const QString s = Text::trim(v.toString());
    return s.isEmpty() ? QStringLiteral("（未填）") : s;
}

QVariant yuan(qint64 fen)
{
    return double(fen) / 100.0;
}

// The location condition (and its parameter) on a column, when one is chosen.
QString atLocation(const Filter& f, const QString& column, QList<QVariant>& args)
{
    if (f.location.isEmpty()) return {};
    args << f.location;
    return QStringLiteral(" AND %1=?").arg(column);
}

// Counts per (key, kind) of a grouped statement whose rows are key, kind, count.
void countInto(Statement& st, QMap<QString, QMap<QString, qlonglong>>& into,
               const std::function<QString(const QVariant&)>& key)
{
    while (st.step())
        into[key(st.value(0))][Text::trim(st.value(1).toString())] += st.value(2).toLongLong();
}

} // namespace

std::optional<QString> refusal(const Filter& f)
{
    if (!f.from.isValid() || !f.to.isValid()) return QStringLiteral("请选择统计的日期范围");
    if (f.from > f.to) return QStringLiteral("开始日期不能晚于结束日期");
    return std::nullopt;
}

QString emptyText()
{
    return QStringLiteral("所选日期范围和位置没有数据");
}

double quantile(const QList<double>& sorted, double p)
{
    if (sorted.isEmpty()) return 0;
    const double pos = (sorted.size() - 1) * p;
    const int below = int(std::floor(pos));
    const int above = std::min(below + 1, int(sorted.size()) - 1);
    return sorted[below] + (sorted[above] - sorted[below]) * (pos - below);
}

Table newPerMonth(Connection& c, const Filter& f)
{
    QMap<QString, QMap<QString, qlonglong>> counts;
    for (const auto& [table, mode] :
         {std::pair{"房屋信息", "方式"}, std::pair{"客户信息", "需求方式"}}) {
        QList<QVariant> args{shortDate(f.from), shortDate(f.to)};
        const QString loc = atLocation(f, id("位置"), args);
        Statement st(c, QStringLiteral("SELECT substr(%1, 1, 4), %2, count(*) FROM %3 WHERE %1>=? "
                                       "AND %1<=?%4 GROUP BY substr(%1, 1, 4), %2")
                            .arg(id("录入日期"), id(mode), id(table), loc));
        st.bindAll(args);
        countInto(st, counts, [](const QVariant& v) { return monthOf(v.toString()); });
    }
    Table t;
    t.title = QStringLiteral("每月新增房源和客户");
    const QStringList modes = {QStringLiteral("出售"), QStringLiteral("出租"),
                               QStringLiteral("求购"), QStringLiteral("求租")};
    t.columns = QStringList{QStringLiteral("月份")} +
                QStringList{QStringLiteral("房源出售"), QStringLiteral("房源出租"),
                            QStringLiteral("客户求购"), QStringLiteral("客户求租")};
    for (auto it = counts.constBegin(); it != counts.constEnd(); ++it) {
        QVariantList row{it.key()};
        for (const QString& m : modes)
            row << it.value().value(m);
        t.rows << row;
    }
    return t;
}

Table supplyDemand(Connection& c, const Filter& f, const QString& by)
{
    const QString column = Dialect::identifier(by);
    QMap<QString, QMap<QString, qlonglong>> counts;
    for (const char* table : {"房屋信息", "客户信息"}) {
        QList<QVariant> args{QStringLiteral("有效")};
        const QString loc = atLocation(f, id("位置"), args);
        // The table's own name marks its counts.
        Statement st(c, QStringLiteral("SELECT %1, %2, count(*) FROM %3 WHERE %4=?%5 GROUP BY %1")
                            .arg(column, Text::literal(QString::fromUtf8(table)), id(table),
                                 id("类型"), loc));
        st.bindAll(args);
        countInto(st, counts, category);
    }
    Table t;
    t.title = QStringLiteral("供需对比（按%1，当前有效）").arg(by);
    t.columns = {by, QStringLiteral("有效房源"), QStringLiteral("有效客户")};
    for (auto it = counts.constBegin(); it != counts.constEnd(); ++it)
        t.rows << QVariantList{it.key(), it.value().value(QStringLiteral("房屋信息")),
                               it.value().value(QStringLiteral("客户信息"))};
    return t;
}

Table unitPrices(Connection& c, const Filter& f)
{
    // Other modes are left out here rather than in the statement, so the engine reads
    // the entry-date range of an index alone.
    QList<QVariant> args{shortDate(f.from), shortDate(f.to)};
    const QString loc = atLocation(f, id("位置"), args);
    Statement st(c, QStringLiteral("SELECT %1, %2, %3/%4 FROM %5 WHERE %6>=? AND %6<=? AND %4>0 "
                                   "AND %3>0%7")
                        .arg(id("位置"), id("方式"), id("信息价格"), id("房屋面积"), id("房屋信息"),
                             id("录入日期"), loc));
    st.bindAll(args);
    const QStringList modes = {QStringLiteral("出售"), QStringLiteral("出租")};
    QMap<QString, QMap<QString, QList<double>>> values;
    while (st.step()) {
        const QString mode = Text::trim(st.value(1).toString());
        if (modes.contains(mode)) values[category(st.value(0))][mode] << st.value(2).toDouble();
    }
    Table t;
    t.title = QStringLiteral("每平方米价格（信息价格/房屋面积）");
    t.chart = Table::BoxPlot;
    t.keyColumns = 2;
    t.columns = {QStringLiteral("位置"),     QStringLiteral("方式"),     QStringLiteral("套数"),
                 QStringLiteral("最低"),     QStringLiteral("下四分位"), QStringLiteral("中位数"),
                 QStringLiteral("上四分位"), QStringLiteral("最高")};
    for (auto place = values.begin(); place != values.end(); ++place)
        for (const QString& mode : modes) {
            QList<double>& v = place.value()[mode];
            if (v.isEmpty()) continue;
            std::sort(v.begin(), v.end());
            t.rows << QVariantList{place.key(),         mode,
                                   qlonglong(v.size()), v.first(),
                                   quantile(v, 0.25),   quantile(v, 0.5),
                                   quantile(v, 0.75),   v.last()};
        }
    return t;
}

Table dealsPerMonth(Connection& c, const Filter& f)
{
    QList<QVariant> args{Deals::Standing, f.from.toString(Qt::ISODate), f.to.toString(Qt::ISODate)};
    const QString loc = atLocation(f, id("位置"), args);
    Statement st(c, QStringLiteral("SELECT substr(%1, 1, 7), count(*), CAST(sum(%2) AS BIGINT), "
                                   "CAST(sum(%3+%4) AS BIGINT) FROM %5 WHERE %6=? AND %1>=? AND "
                                   "%1<=?%7 GROUP BY substr(%1, 1, 7) ORDER BY 1")
                        .arg(id("成交日期"), id("成交价格"), id("业主佣金"), id("客户佣金"),
                             id("成交记录"), id("状态"), loc));
    st.bindAll(args);
    Table t;
    t.title = QStringLiteral("每月成交");
    t.columns = {QStringLiteral("月份"), QStringLiteral("成交笔数")};
    if (f.money) t.columns << QStringLiteral("成交金额(元)") << QStringLiteral("佣金(元)");
    while (st.step()) {
        QVariantList row{st.value(0).toString(), st.value(1).toLongLong()};
        if (f.money) row << yuan(st.value(2).toLongLong()) << yuan(st.value(3).toLongLong());
        t.rows << row;
    }
    return t;
}

Table dealsPerAgent(Connection& c, const Filter& f)
{
    QList<QVariant> args{Deals::Standing, f.from.toString(Qt::ISODate), f.to.toString(Qt::ISODate)};
    const QString loc = atLocation(f, QStringLiteral("d.") + id("位置"), args);
    Statement st(
        c, QStringLiteral("SELECT a.%1, max(a.%2), count(*), CAST(sum(d.%3) AS BIGINT), "
                          "CAST(sum(a.%4) AS BIGINT) FROM %5 a JOIN %6 d ON d.%7=a.%8 "
                          "WHERE d.%9=? AND d.%10>=? AND d.%10<=?%11 GROUP BY a.%1 ORDER BY 1")
               .arg(id("员工编号"), id("员工姓名"), id("成交价格"), id("佣金"), id("成交经纪人"),
                    id("成交记录"), id("编号"), id("成交编号"), id("状态"))
               .arg(id("成交日期"), loc));
    st.bindAll(args);
    Table t;
    t.title = QStringLiteral("经纪人成交");
    t.columns = {QStringLiteral("经纪人"), QStringLiteral("成交笔数")};
    if (f.money) t.columns << QStringLiteral("成交金额(元)") << QStringLiteral("佣金(元)");
    while (st.step()) {
        QVariantList row{QStringLiteral("%1 %2").arg(Text::trim(st.value(0).toString()),
                                                     Text::trim(st.value(1).toString())),
                         st.value(2).toLongLong()};
        if (f.money) row << yuan(st.value(3).toLongLong()) << yuan(st.value(4).toLongLong());
        t.rows << row;
    }
    return t;
}

Table notesPerOperator(Connection& c, const Filter& f)
{
    QString loc;
    QList<QVariant> args{f.from.toString(Qt::ISODate), f.to.addDays(1).toString(Qt::ISODate)};
    if (!f.location.isEmpty()) {
        args << QStringLiteral("房屋信息") << QStringLiteral("客户信息") << f.location;
        loc = QStringLiteral(" AND ((n.%1=?3 AND EXISTS (SELECT 1 FROM %2 r WHERE r.%3=n.%3 AND "
                             "r.%4=?5)) OR (n.%1=?4 AND EXISTS (SELECT 1 FROM %5 r WHERE r.%3=n.%3 "
                             "AND r.%4=?5)))")
                  .arg(id("表名"), id("房屋信息"), id("档案号"), id("位置"), id("客户信息"));
    }
    Statement st(c, QStringLiteral("SELECT substr(n.%1, 1, 7), n.%2, count(*) FROM %3 n WHERE "
                                   "n.%1>=?1 AND n.%1<?2%4 GROUP BY substr(n.%1, 1, 7), n.%2")
                        .arg(id("时间"), id("操作员"), id("跟进记录"), loc));
    st.bindAll(args);
    QMap<QString, QMap<QString, qlonglong>> counts;
    countInto(st, counts, [](const QVariant& v) { return v.toString(); });
    QMap<QString, QString> names; // staff number → shown name, in number order
    {
        Statement staff(c, QStringLiteral("SELECT %1, %2 FROM %3")
                               .arg(id("员工编号"), id("员工姓名"), id("操作员档案")));
        QHash<QString, QString> byNumber;
        while (staff.step())
            byNumber.insert(Text::trim(staff.value(0).toString()).toLower(),
                            Text::trim(staff.value(1).toString()));
        for (const auto& month : counts)
            for (auto it = month.constBegin(); it != month.constEnd(); ++it) {
                const QString name = byNumber.value(it.key().toLower());
                names.insert(it.key(), it.key().isEmpty() ? QStringLiteral("（未知）")
                                       : name.isEmpty()   ? it.key()
                                                          : name);
            }
    }
    Table t;
    t.title = QStringLiteral("每月跟进记录（按操作员）");
    t.columns =
        QStringList{QStringLiteral("月份")} + names.values() + QStringList{QStringLiteral("合计")};
    for (auto it = counts.constBegin(); it != counts.constEnd(); ++it) {
        QVariantList row{it.key()};
        qlonglong sum = 0;
        for (const QString& op : names.keys()) {
            row << it.value().value(op);
            sum += it.value().value(op);
        }
        t.rows << (row << sum);
    }
    return t;
}

} // namespace Statistics
