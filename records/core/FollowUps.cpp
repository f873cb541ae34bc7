#include "records/core/FollowUps.h"

#include "data/DbError.h"
#include "data/Dialect.h"
#include "data/KeyLookup.h"
#include "data/Query.h"
#include "data/RecordLog.h"
#include "data/Text.h"
#include "session/PubVars.h"

namespace FollowUps
{

namespace
{

const QString kListings = QStringLiteral("房屋信息");
const QString kCustomers = QStringLiteral("客户信息");

QString id(const char* name)
{
    return Dialect::identifier(QString::fromUtf8(name));
}

// The columns a note is read with, the author's name joined from the staff register.
QString selectNotes()
{
    return QStringLiteral("SELECT n.%1, n.%2, n.%3, n.%4, n.%5, o.%6, n.%7, n.%8, n.%9 FROM ")
               .arg(id("编号"), id("表名"), id("档案号"), id("时间"), id("操作员"), id("员工姓名"),
                    id("跟进方式"), id("内容"), id("客户档案号")) +
           QStringLiteral("%1 n LEFT JOIN %2 o ON o.%3 = n.%4 ")
               .arg(id("跟进记录"), id("操作员档案"), id("员工编号"), id("操作员"));
}

Note noteOf(const Statement& st)
{
    return {st.value(0).toLongLong(), st.value(1).toString(), st.value(2).toString(),
            st.value(3).toString(),   st.value(4).toString(), st.value(5).toString(),
            st.value(6).toString(),   st.value(7).toString(), st.value(8).toString()};
}

// The stored note, for the permission check.
Note stored(Connection& c, qlonglong note)
{
    Statement st(c, selectNotes() + QStringLiteral("WHERE n.%1=?").arg(id("编号")));
    st.bind(1, note);
    if (!st.step()) throw DbError(QStringLiteral("这条跟进记录已不存在（可能已被删除）。"));
    return noteOf(st);
}

void requireMayChange(Connection& c, qlonglong note, const QString& role)
{
    if (!mayChange(stored(c, note), c.actor().operatorNumber, role)) throw DbError(notYoursText());
}

// Whether a register holds a record of this archive number.
bool isStored(Connection& c, const QString& table, const QString& number)
{
    KeyLookup records(c, table, QStringLiteral("档案号"));
    return !records.present({number}).isEmpty();
}

QVariant orNull(const QString& s)
{
    return s.isEmpty() ? QVariant() : QVariant(s);
}

} // namespace

const QStringList& kinds()
{
    static const QStringList k = {QStringLiteral("电话"), Viewing, QStringLiteral("面谈"),
                                  QStringLiteral("其他")};
    return k;
}

QList<Note> forRecord(Connection& c, const QString& table, const QString& number)
{
    QString where = QStringLiteral("WHERE (n.%1=?1 AND n.%2=?2)").arg(id("表名"), id("档案号"));
    if (table == kCustomers)
        where += QStringLiteral(" OR (n.%1=?3 AND n.%2=?2)").arg(id("表名"), id("客户档案号"));
    Statement st(c,
                 selectNotes() + where +
                     QStringLiteral(" ORDER BY n.%1 DESC, n.%2 DESC").arg(id("时间"), id("编号")));
    st.bind(1, table);
    st.bind(2, number);
    if (table == kCustomers) st.bind(3, kListings);
    QList<Note> out;
    while (st.step())
        out << noteOf(st);
    return out;
}

std::optional<Refusal> refusal(Connection& c, const Note& note)
{
    if (Text::trim(note.text).isEmpty())
        return Refusal{Refusal::Text, QStringLiteral("请录入跟进内容")};
    if (!kinds().contains(note.kind))
        return Refusal{Refusal::Kind, QStringLiteral("请选择跟进方式")};
    const QString customer = Text::trim(note.customer);
    if (customer.isEmpty()) return std::nullopt;
    if (note.table != kListings || note.kind != Viewing)
        return Refusal{Refusal::Customer, QStringLiteral("只有房源的带看记录才能填写客户档案号")};
    if (!isStored(c, kCustomers, customer))
        return Refusal{Refusal::Customer, QStringLiteral("没有档案号为“%1”的客户").arg(customer)};
    return std::nullopt;
}

bool mayChange(const Note& note, const QString& user, const QString& role)
{
    // Staff numbers compare as the register compares them, without letter case.
    return role == Roles::Admin ||
           (!user.isEmpty() && KeyLookup::fold(note.author) == KeyLookup::fold(user));
}

QString notYoursText()
{
    return QStringLiteral("只有记录人或系统管理员才能修改或删除这条跟进记录。");
}

qlonglong add(Connection& c, const Note& note, const std::optional<Reminders::Due>& next)
{
    Connection::Transaction t(c);
    if (const auto why = refusal(c, note)) throw DbError(why->text);
    if ((note.table != kListings && note.table != kCustomers) ||
        !isStored(c, note.table, note.number))
        throw DbError(QStringLiteral("这条记录已不存在（可能已被删除），不能增加跟进记录。"));
    Statement st(c, Dialect::insertInto(QStringLiteral("跟进记录"),
                                        {QStringLiteral("表名"), QStringLiteral("档案号"),
                                         QStringLiteral("时间"), QStringLiteral("操作员"),
                                         QStringLiteral("跟进方式"), QStringLiteral("内容"),
                                         QStringLiteral("客户档案号")}));
    st.bindAll({note.table, note.number, RecordLog::now(), c.actor().storedOperator(), note.kind,
                note.text, orNull(Text::trim(note.customer))});
    st.step();
    const qlonglong stored = Reminders::lastNumber(c);
    Reminders::noteAdded(c, stored, note.table, note.number, Text::trim(note.customer), next);
    t.commit();
    return stored;
}

void change(Connection& c, const Note& note, const QString& role)
{
    Connection::Transaction t(c);
    requireMayChange(c, note.id, role);
    if (const auto why = refusal(c, note)) throw DbError(why->text);
    Statement st(
        c, QStringLiteral("UPDATE %1 SET %2=?, %3=?, %4=? WHERE %5=?")
               .arg(id("跟进记录"), id("跟进方式"), id("内容"), id("客户档案号"), id("编号")));
    st.bind(1, note.kind);
    st.bind(2, note.text);
    st.bind(3, orNull(Text::trim(note.customer)));
    st.bind(4, note.id);
    st.step();
    t.commit();
}

void remove(Connection& c, qlonglong note, const QString& role)
{
    Connection::Transaction t(c);
    requireMayChange(c, note, role);
    Statement st(c, QStringLiteral("DELETE FROM %1 WHERE %2=?").arg(id("跟进记录"), id("编号")));
    st.bind(1, note);
    st.step();
    Reminders::noteRemoved(c, note);
    t.commit();
}

QHash<QString, QString> lastDates(Connection& c, const QString& table)
{
    QHash<QString, QString> out;
    const auto take = [&](Statement& st) {
        while (st.step()) {
            const QString key = KeyLookup::fold(st.value(0).toString());
            const QString date = st.value(1).toString().left(10);
            QString& have = out[key];
            if (date > have) have = date;
        }
    };
    Statement own(c, QStringLiteral("SELECT %1, max(%2) FROM %3 WHERE %4=? GROUP BY %1")
                         .arg(id("档案号"), id("时间"), id("跟进记录"), id("表名")));
    own.bind(1, table);
    take(own);
    if (table == kCustomers) {
        Statement viewings(c, QStringLiteral("SELECT %1, max(%2) FROM %3 WHERE %1 IS NOT NULL "
                                             "GROUP BY %1")
                                  .arg(id("客户档案号"), id("时间"), id("跟进记录")));
        take(viewings);
    }
    return out;
}

QList<Query::ComputedColumn> lastColumns(const Query& q)
{
    const int key = q.fieldIndex(QStringLiteral("档案号"));
    if (key < 0 || !q.connection()) return {};
    const QHash<QString, QString> dates = lastDates(*q.connection(), q.tableName());
    return {{{LastColumn, ColumnInfo::Text, 0}, [dates, key](const QVector<QVariant>& row) {
                 if (dates.isEmpty()) return QVariant();
                 const auto it = dates.constFind(KeyLookup::fold(row[key].toString()));
                 return it == dates.constEnd() ? QVariant() : QVariant(it.value());
             }}};
}

void addLastColumn(Query& q)
{
    for (const Query::ComputedColumn& c : lastColumns(q))
        q.addComputedColumn(c);
}

} // namespace FollowUps
