#include "todo/core/TodoList.h"

#include "data/Dialect.h"
#include "data/KeyLookup.h"
#include "data/Reminders.h"
#include "session/PubVars.h"

#include <algorithm>

namespace Todo
{

namespace
{

QString id(const char* name)
{
    return Dialect::identifier(QString::fromUtf8(name));
}

const QString kListings = QStringLiteral("房屋信息");
const QString kCustomers = QStringLiteral("客户信息");

// The statement of the due list; `mine` adds the operator's condition (?4).
QString dueSql(bool mine)
{
    return QStringLiteral("SELECT r.%1, r.%2, r.%3, r.%4, r.%5, coalesce(o.%6, r.%7), n.%8, n.%9, "
                          "h.%10, k.%11 FROM %12 r ")
               .arg(id("编号"), id("表名"), id("档案号"), id("到期时间"), id("跟进人"),
                    id("员工姓名"), id("跟进人姓名"), id("跟进方式"), id("内容"))
               .arg(id("小区名称"), id("客户姓名"), id("下次跟进")) +
           QStringLiteral("LEFT JOIN %1 n ON n.%2 = r.%3 "
                          "LEFT JOIN %4 o ON o.%5 = r.%6 "
                          "LEFT JOIN %7 h ON r.%8 = ?1 AND h.%9 = r.%9 "
                          "LEFT JOIN %10 k ON r.%8 = ?2 AND k.%9 = r.%9 ")
               .arg(id("跟进记录"), id("编号"), id("跟进编号"), id("操作员档案"), id("员工编号"),
                    id("跟进人"), id("房屋信息"), id("表名"), id("档案号"))
               .arg(id("客户信息")) +
           QStringLiteral("WHERE r.%1 IS NULL %2AND r.%3 <= ?3 "
                          "AND (h.%4 IS NOT NULL OR k.%4 IS NOT NULL) ORDER BY r.%3, r.%5")
               .arg(id("完成时间"),
                    mine ? QStringLiteral("AND r.%1 = ?4 ").arg(id("跟进人")) : QString(),
                    id("到期时间"), id("档案号"), id("编号"));
}

QString endOfDay(const QDateTime& now)
{
    return now.date().toString(QStringLiteral("yyyy-MM-dd")) + QStringLiteral(" 23:59:59");
}

// A date of yyyy-MM-dd (a note's time) or yymmdd (an entry date), or an invalid one.
QDate dateOf(const QString& s)
{
    const auto num = [&](int at, int n) { return QStringView(s).mid(at, n).toInt(); };
    if (s.size() >= 10 && s[4] == QLatin1Char('-')) return QDate(num(0, 4), num(5, 2), num(8, 2));
    if (s.size() == 6) return QDate(2000 + num(0, 2), num(2, 2), num(4, 2));
    return {};
}

} // namespace

QString quietStatement(const QString& table, int limit)
{
    const bool listing = table == kListings;
    const QString viewings =
        listing ? QString()
                : QStringLiteral("AND NOT EXISTS (SELECT 1 FROM %1 v WHERE v.%2 = r.%3 AND "
                                 "v.%4 >= ?4) ")
                      .arg(id("跟进记录"), id("客户档案号"), id("档案号"), id("时间"));
    const QString lastViewing =
        listing ? QStringLiteral("NULL")
                : QStringLiteral("(SELECT max(v.%1) FROM %2 v WHERE v.%3 = r.%4)")
                      .arg(id("时间"), id("跟进记录"), id("客户档案号"), id("档案号"));
    return QStringLiteral("SELECT r.%1, r.%2, r.%3, r.%4, r.%5, (SELECT max(n.%6) FROM %7 n "
                          "WHERE n.%8 = ?1 AND n.%9 = r.%1), ")
               .arg(id("档案号"), listing ? id("小区名称") : id("客户姓名"), id("电话"), id("手机"),
                    id("录入日期"), id("时间"), id("跟进记录"), id("表名"), id("档案号")) +
           lastViewing +
           QStringLiteral(" FROM %1 r WHERE r.%2 = ?2 AND r.%3 < ?3 AND NOT EXISTS (SELECT 1 "
                          "FROM %4 n WHERE n.%5 = ?1 AND n.%6 = r.%7 AND n.%8 >= ?4) ")
               .arg(Dialect::identifier(table), id("类型"), id("录入日期"), id("跟进记录"),
                    id("表名"), id("档案号"), id("档案号"), id("时间")) +
           viewings +
           QStringLiteral("ORDER BY r.%1 DESC, r.%2 DESC LIMIT %3")
               .arg(id("录入日期"), id("档案号"))
               .arg(limit);
}

namespace
{

// The valid rows of a register entered before the cutoff with no note since it
// (for a customer, no viewing naming him either), newest first, `limit` + 1 at
// most (the one more tells that there are more).
void quietOf(Connection& c, const QString& table, const QDate& today, int days, int limit,
             QList<QuietItem>& out)
{
    const QDate cutoff = today.addDays(-days);
    Statement st(c, quietStatement(table, limit + 1));
    st.bindAll({table, QStringLiteral("有效"), cutoff.toString(QStringLiteral("yyMMdd")),
                cutoff.toString(QStringLiteral("yyyy-MM-dd"))});
    while (st.step()) {
        const QString entered = st.value(4).toString();
        QString last = st.value(5).toString().left(10);
        const QString viewed = st.value(6).toString().left(10);
        if (viewed > last) last = viewed;
        // Nobody can have followed up a record before it was entered.
        QDate since = dateOf(last);
        const QDate entry = dateOf(entered);
        if (entry.isValid() && (!since.isValid() || entry > since)) since = entry;
        QString phone = st.value(2).toString().trimmed();
        if (phone.isEmpty()) phone = st.value(3).toString().trimmed();
        out << QuietItem{table,
                         st.value(0).toString(),
                         st.value(1).toString(),
                         phone,
                         entered,
                         last,
                         since.isValid() ? int(since.daysTo(today)) : days + 1};
    }
}

} // namespace

bool mayChooseOperator(const QString& role)
{
    return role == Roles::Senior || role == Roles::Admin;
}

QList<DueItem> due(Connection& c, const QString& staff, const QDateTime& now)
{
    Statement st(c, dueSql(!staff.isEmpty()));
    st.bind(1, kListings);
    st.bind(2, kCustomers);
    st.bind(3, endOfDay(now));
    if (!staff.isEmpty()) st.bind(4, staff);
    QList<DueItem> out;
    while (st.step()) {
        DueItem d;
        d.id = st.value(0).toLongLong();
        d.table = st.value(1).toString();
        d.number = st.value(2).toString();
        d.due = st.value(3).toString();
        d.forWhom = st.value(4).toString();
        d.forName = st.value(5).toString();
        d.kind = st.value(6).toString();
        d.text = st.value(7).toString();
        d.name = (d.table == kListings ? st.value(8) : st.value(9)).toString();
        out << d;
    }
    return out;
}

bool hasDue(Connection& c, const QString& staff, const QDateTime& now)
{
    return !staff.isEmpty() && !due(c, staff, now).isEmpty();
}

QString overdueText(const QString& due, const QDateTime& now)
{
    const QDateTime at = QDateTime::fromString(due, QStringLiteral("yyyy-MM-dd HH:mm:ss"));
    if (!at.isValid() || at >= now) return QStringLiteral("未到");
    const qint64 minutes = at.secsTo(now) / 60;
    if (minutes < 60) return QStringLiteral("%1分钟").arg(minutes);
    if (minutes < 24 * 60) return QStringLiteral("%1小时").arg(minutes / 60);
    return QStringLiteral("%1天").arg(minutes / (24 * 60));
}

Quiet quiet(Connection& c, int days, const QDate& today, int limit)
{
    Quiet out;
    {
        Connection::Transaction snapshot(c, Connection::Transaction::Snapshot);
        quietOf(c, kListings, today, days, limit, out.items);
        quietOf(c, kCustomers, today, days, limit, out.items);
        snapshot.commit();
    }
    // Archive numbers compare as the registers compare them, without letter case.
    std::stable_sort(out.items.begin(), out.items.end(),
                     [](const QuietItem& a, const QuietItem& b) {
                         if (a.entered != b.entered) return a.entered > b.entered;
                         return KeyLookup::fold(a.number) > KeyLookup::fold(b.number);
                     });
    out.more = out.items.size() > limit;
    if (out.more) out.items.resize(limit);
    return out;
}

} // namespace Todo
