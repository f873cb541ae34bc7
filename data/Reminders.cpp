#include "data/Reminders.h"

#include "data/DbError.h"
#include "data/Dialect.h"
#include "data/KeyLookup.h"
#include "data/RecordLog.h"
#include "data/engine/Engine.h"

#include <QSet>

namespace Schema
{

using T = ColumnInfo::Type;

const QList<TableDef>& reminderTables()
{
    static const QList<TableDef> defs = {
        // One row per reminder. 跟进编号 is the note that set it; 完成时间 stays
        // empty while it is open; 完成跟进编号 is the later note that closed it
        // (empty when closed by hand). 跟进人姓名 keeps the name of the operator it
        // is for as it was when it was set.
        {"下次跟进",
         {{"编号", T::Integer, 0},
          {"跟进编号", T::Integer, 0},
          {"表名", T::Text, 10},
          {"档案号", T::Text, 12},
          {"到期时间", T::Text, 19},
          {"跟进人", T::Text, 5},
          {"跟进人姓名", T::Text, 20},
          {"设置人", T::Text, 5},
          {"设置时间", T::Text, 19},
          {"完成时间", T::Text, 19},
          {"完成人", T::Text, 5},
          {"完成跟进编号", T::Integer, 0}},
         true},
        // Whether the to-do window opens after an operator logs in (1 or 0); an
        // operator without a row gets it.
        {"待办设置", {{"员工编号", T::Text, 5}, {"登录时打开", T::Integer, 0}}},
    };
    return defs;
}

void createReminderTables(Connection& c)
{
    for (const TableDef& t : reminderTables())
        createTable(c, t);
    // The to-do list seeks the open reminders (of one operator) up to a time; a new
    // note finds the open reminders of its record; a removed note its own.
    for (const char* s : {
             "CREATE INDEX 下次跟进_待办 ON 下次跟进(完成时间, 跟进人, 到期时间)",
             "CREATE INDEX 下次跟进_档案号 ON 下次跟进(表名, 档案号, 完成时间)",
             "CREATE INDEX 下次跟进_跟进编号 ON 下次跟进(跟进编号)",
             "CREATE INDEX 下次跟进_完成跟进编号 ON 下次跟进(完成跟进编号)",
             "CREATE UNIQUE INDEX 待办设置_员工编号 ON 待办设置(员工编号)",
         })
        c.run(QString::fromUtf8(s));
}

void createQuietIndexes(Connection& c, bool ifMissing)
{
    for (const char* s : {
             "CREATE INDEX %1房屋信息_有效录入 ON 房屋信息(类型, 录入日期, 档案号)",
             "CREATE INDEX %1客户信息_有效录入 ON 客户信息(类型, 录入日期, 档案号)",
         })
        c.run(QString::fromUtf8(s).arg(ifMissing ? QStringLiteral("IF NOT EXISTS ") : QString()));
}

} // namespace Schema

namespace Reminders
{

namespace
{

QString id(const char* name)
{
    return Dialect::identifier(QString::fromUtf8(name));
}

const QString kListings = QStringLiteral("房屋信息");

// The staff register's number and name of an operator, or nothing.
std::optional<std::pair<QString, QString>> staff(Connection& c, const QString& number)
{
    Statement st(c, QStringLiteral("SELECT %1, %2 FROM %3 WHERE %1=?")
                        .arg(id("员工编号"), id("员工姓名"), id("操作员档案")));
    st.bind(1, number);
    if (!st.step()) return std::nullopt;
    return std::pair{st.value(0).toString(), st.value(1).toString()};
}

void closeOpenOf(Connection& c, const QString& table, const QString& number, qlonglong note)
{
    Statement st(c,
                 QStringLiteral("UPDATE %1 SET %2=?, %3=?, %4=? WHERE %5=? AND %6=? AND %2 IS NULL")
                     .arg(id("下次跟进"), id("完成时间"), id("完成人"), id("完成跟进编号"),
                          id("表名"), id("档案号")));
    st.bindAll({RecordLog::now(), c.actor().storedOperator(), note, table, number});
    st.step();
}

} // namespace

QString stamp(const QDateTime& t)
{
    return t.toString(QStringLiteral("yyyy-MM-dd HH:mm:ss"));
}

qlonglong lastNumber(Connection& c)
{
    // Both are the session's own: another workstation's rows never answer.
    Statement st(c, c.requireEngine().flavor() == engine::Flavor::Postgres
                        ? QStringLiteral("SELECT lastval()")
                        : QStringLiteral("SELECT last_insert_rowid()"));
    return st.step() ? st.value(0).toLongLong() : 0;
}

QString refusal(Connection& c, const Due& due)
{
    if (!due.at.isValid()) return QStringLiteral("请选择下次跟进的日期和时间");
    const QString who = due.forWhom.trimmed();
    if (who.isEmpty()) {
        if (c.actor().operatorNumber.isEmpty()) return QStringLiteral("请选择下次跟进的操作员");
        return {};
    }
    if (!staff(c, who)) return QStringLiteral("没有编号为“%1”的操作员").arg(who);
    return {};
}

void noteAdded(Connection& c, qlonglong note, const QString& table, const QString& number,
               const QString& customer, const std::optional<Due>& due)
{
    closeOpenOf(c, table, number, note);
    // A listing's viewing with a customer is a follow-up of that customer as well.
    if (table == kListings && !customer.isEmpty())
        closeOpenOf(c, QStringLiteral("客户信息"), customer, note);
    if (!due) return;
    if (const QString why = refusal(c, *due); !why.isEmpty()) throw DbError(why);
    QString who = due->forWhom.trimmed();
    if (who.isEmpty()) who = c.actor().storedOperator().toString();
    QString name;
    if (const auto s = staff(c, who)) std::tie(who, name) = *s;
    Statement st(
        c, Dialect::insertInto(Table, {QStringLiteral("跟进编号"), QStringLiteral("表名"),
                                       QStringLiteral("档案号"), QStringLiteral("到期时间"),
                                       QStringLiteral("跟进人"), QStringLiteral("跟进人姓名"),
                                       QStringLiteral("设置人"), QStringLiteral("设置时间")}));
    st.bindAll({note, table, number, stamp(due->at), who.left(5),
                name.isEmpty() ? QVariant() : QVariant(name.left(20)), c.actor().storedOperator(),
                RecordLog::now()});
    st.step();
}

void noteRemoved(Connection& c, qlonglong note)
{
    Statement own(c,
                  QStringLiteral("DELETE FROM %1 WHERE %2=?").arg(id("下次跟进"), id("跟进编号")));
    own.bind(1, note);
    own.step();
    Statement reopen(c, QStringLiteral("UPDATE %1 SET %2=NULL, %3=NULL, %4=NULL WHERE %4=?")
                            .arg(id("下次跟进"), id("完成时间"), id("完成人"), id("完成跟进编号")));
    reopen.bind(1, note);
    reopen.step();
}

void recordErased(Connection& c, const QString& table, const QString& number)
{
    Statement st(c, QStringLiteral("DELETE FROM %1 WHERE %2=? AND %3=?")
                        .arg(id("下次跟进"), id("表名"), id("档案号")));
    st.bindAll({table, number});
    st.step();
}

void close(Connection& c, qlonglong reminder)
{
    Connection::Transaction t(c);
    Statement st(c, QStringLiteral("UPDATE %1 SET %2=?, %3=? WHERE %4=? AND %2 IS NULL")
                        .arg(id("下次跟进"), id("完成时间"), id("完成人"), id("编号")));
    st.bindAll({RecordLog::now(), c.actor().storedOperator(), reminder});
    st.step();
    if (st.rowsAffected() == 0)
        throw DbError(QStringLiteral("这条提醒已经完成或已不存在（可能已被别人处理）。"));
    t.commit();
}

QList<Open> openFor(Connection& c, const QString& table, const QString& number)
{
    Statement st(c,
                 QStringLiteral("SELECT r.%1, r.%2, r.%3, r.%4, coalesce(o.%5, r.%6) FROM %7 r "
                                "LEFT JOIN %8 o ON o.%9 = r.%4 WHERE r.%10=? AND r.%11=? AND "
                                "r.%12 IS NULL ORDER BY r.%3, r.%1")
                     .arg(id("编号"), id("跟进编号"), id("到期时间"), id("跟进人"), id("员工姓名"),
                          id("跟进人姓名"), id("下次跟进"), id("操作员档案"), id("员工编号"))
                     .arg(id("表名"), id("档案号"), id("完成时间")));
    st.bindAll({table, number});
    QList<Open> out;
    while (st.step())
        out << Open{st.value(0).toLongLong(), st.value(1).toLongLong(), st.value(2).toString(),
                    st.value(3).toString(), st.value(4).toString()};
    return out;
}

QList<Operator> operators(Connection& c)
{
    QList<Operator> out;
    QSet<QString> known;
    Statement st(c, QStringLiteral("SELECT %1, %2 FROM %3 ORDER BY %1")
                        .arg(id("员工编号"), id("员工姓名"), id("操作员档案")));
    while (st.step()) {
        out << Operator{st.value(0).toString(), st.value(1).toString(), false};
        known.insert(KeyLookup::fold(out.last().number));
    }
    Statement gone(c, QStringLiteral("SELECT %1, max(%2) FROM %3 WHERE %4 IS NULL GROUP BY %1 "
                                     "ORDER BY %1")
                          .arg(id("跟进人"), id("跟进人姓名"), id("下次跟进"), id("完成时间")));
    while (gone.step()) {
        const QString number = gone.value(0).toString();
        if (number.isEmpty() || known.contains(KeyLookup::fold(number))) continue;
        known.insert(KeyLookup::fold(number));
        out << Operator{number, gone.value(1).toString(), true};
    }
    return out;
}

QString operatorLabel(const Operator& o)
{
    QString s = o.name.isEmpty() ? o.number : o.number + QLatin1Char(' ') + o.name;
    if (o.removed) s += QStringLiteral("（已删除）");
    return s;
}

bool opensAtLogin(Connection& c, const QString& staff)
{
    Statement st(c, QStringLiteral("SELECT %1 FROM %2 WHERE %3=?")
                        .arg(id("登录时打开"), id("待办设置"), id("员工编号")));
    st.bind(1, staff);
    return !st.step() || st.value(0).isNull() || st.value(0).toLongLong() != 0;
}

void setOpensAtLogin(Connection& c, const QString& staff, bool on)
{
    Connection::Transaction t(c);
    Statement del(c,
                  QStringLiteral("DELETE FROM %1 WHERE %2=?").arg(id("待办设置"), id("员工编号")));
    del.bind(1, staff);
    del.step();
    Statement ins(c,
                  Dialect::insertInto(QStringLiteral("待办设置"),
                                      {QStringLiteral("员工编号"), QStringLiteral("登录时打开")}));
    ins.bindAll({staff.left(5), on ? 1 : 0});
    ins.step();
    t.commit();
}

} // namespace Reminders
