#include "data/RecycleBin.h"

#include "data/DbError.h"
#include "data/Dialect.h"
#include "data/KeyLookup.h"
#include "data/PhotoTables.h"
#include "data/RecordLog.h"
#include "data/Reminders.h"
#include "data/Schema.h"

#include <QJsonDocument>
#include <QJsonObject>

namespace RecycleBin
{

namespace
{

QString id(const char* name)
{
    return Dialect::identifier(QString::fromUtf8(name));
}

const QString kKey = QStringLiteral("档案号");

// Why a row cannot go back, told with the row left where it is.
DbError refused(const QString& why)
{
    return DbError(QStringLiteral("这条记录不能恢复，它仍在回收站中。\n") + why);
}

Entry load(Connection& c, qlonglong entry)
{
    Statement st(c, QStringLiteral("SELECT %1, %2, %3 FROM %4 WHERE %5=?")
                        .arg(id("表名"), id("档案号"), id("内容"), id("回收站"), id("编号")));
    st.bind(1, entry);
    if (!st.step()) throw DbError(QStringLiteral("这条记录已不在回收站中（可能已被恢复或删除）。"));
    Entry e;
    e.id = entry;
    e.table = st.value(0).toString();
    e.number = st.value(1).toString();
    e.values = decode(st.value(2).toString());
    return e;
}

// The value as `column` takes it, or a refusal.
QVariant fitting(const ColumnInfo& column, const QVariant& v)
{
    if (v.isNull()) return {};
    switch (column.type) {
    case ColumnInfo::Float: {
        bool ok = false;
        const double d = v.toDouble(&ok);
        if (!ok || v.typeId() == QMetaType::QString)
            throw refused(QStringLiteral("“%1”现在必须是数值，回收站中的值是“%2”。")
                              .arg(column.name, v.toString()));
        return d;
    }
    case ColumnInfo::Text:
    case ColumnInfo::Memo: {
        if (const auto why = Schema::tooLong(column, v)) throw refused(*why);
        return v.toString();
    }
    case ColumnInfo::Integer:
    case ColumnInfo::Binary:
    case ColumnInfo::Other:
        break;
    }
    return v;
}

void deleteEntry(Connection& c, qlonglong entry)
{
    Statement st(c, QStringLiteral("DELETE FROM %1 WHERE %2=?").arg(id("回收站"), id("编号")));
    st.bind(1, entry);
    st.step();
    if (st.rowsAffected() == 0)
        throw DbError(QStringLiteral("这条记录已不在回收站中（可能已被恢复或删除）。"));
}

} // namespace

QString encode(const QList<ColumnInfo>& columns, const QVector<QVariant>& values)
{
    QJsonObject o;
    for (int i = 0; i < columns.size() && i < values.size(); ++i) {
        const QVariant& v = values[i];
        if (v.isNull() || !v.isValid())
            o.insert(columns[i].name, QJsonValue::Null);
        else if (v.typeId() == QMetaType::Double || columns[i].type == ColumnInfo::Float)
            o.insert(columns[i].name, v.toDouble());
        else if (v.typeId() == QMetaType::LongLong || v.typeId() == QMetaType::Int)
            o.insert(columns[i].name, v.toLongLong());
        else
            o.insert(columns[i].name, v.toString());
    }
    return QString::fromUtf8(QJsonDocument(o).toJson(QJsonDocument::Compact));
}

Values decode(const QString& content)
{
    QJsonParseError error;
    const QJsonDocument doc = QJsonDocument::fromJson(content.toUtf8(), &error);
    if (error.error != QJsonParseError::NoError || !doc.isObject())
        throw DbError(QStringLiteral("回收站中的这条记录已损坏，无法读出。"));
    Values out;
    const QJsonObject o = doc.object();
    for (auto it = o.begin(); it != o.end(); ++it) {
        const QJsonValue v = it.value();
        out << std::pair{it.key(), v.isDouble()   ? QVariant(v.toDouble())
                                   : v.isString() ? QVariant(v.toString())
                                                  : QVariant()};
    }
    return out;
}

void put(Connection& c, const QString& table, const QString& number, const QString& content)
{
    Statement st(c, Dialect::insertInto(QStringLiteral("回收站"),
                                        {QStringLiteral("表名"), QStringLiteral("档案号"),
                                         QStringLiteral("删除时间"), QStringLiteral("删除人"),
                                         QStringLiteral("工作站"), QStringLiteral("内容")}));
    st.bindAll({table, number, RecordLog::now(), c.actor().storedOperator(),
                c.actor().storedWorkstation(), content});
    st.step();
    // A listing's photos go into the bin with it, under the entry just written (the
    // highest number of the record's entries inside this transaction).
    if (table == QStringLiteral("房屋信息")) {
        Statement last(c, QStringLiteral("SELECT max(%1) FROM %2 WHERE %3=? AND %4=?")
                              .arg(id("编号"), id("回收站"), id("表名"), id("档案号")));
        last.bindAll({table, number});
        if (last.step() && !last.value(0).isNull())
            PhotoBin::takeAlong(c, number, last.value(0).toLongLong());
    }
}

QVariant Entry::value(const QString& column) const
{
    for (const auto& [name, v] : values)
        if (name == column) return v;
    return {};
}

QList<Entry> entries(Connection& c)
{
    Statement st(c,
                 QStringLiteral("SELECT b.%1, b.%2, b.%3, b.%4, b.%5, b.%6, b.%7, o.%8 FROM %9 b "
                                "LEFT JOIN %10 o ON o.%11 = b.%5 ORDER BY b.%1 DESC")
                     .arg(id("编号"), id("表名"), id("档案号"), id("删除时间"), id("删除人"),
                          id("工作站"), id("内容"), id("员工姓名"), id("回收站"))
                     .arg(id("操作员档案"), id("员工编号")));
    QList<Entry> out;
    while (st.step()) {
        Entry e;
        e.id = st.value(0).toLongLong();
        e.table = st.value(1).toString();
        e.number = st.value(2).toString();
        e.deletedAt = st.value(3).toString();
        e.deletedBy = st.value(4).toString();
        e.workstation = st.value(5).toString();
        e.values = decode(st.value(6).toString());
        e.deleterName = st.value(7).toString();
        out << e;
    }
    return out;
}

void restore(Connection& c, qlonglong entry)
{
    Connection::Transaction t(c);
    const Entry e = load(c, entry);
    // Numbering and import of the same table wait until the row is back.
    c.lockWriters(e.table);
    const TableInfo* table = c.table(e.table);
    if (!RecordLog::isKept(e.table) || !table)
        throw refused(QStringLiteral("数据表“%1”不存在。").arg(e.table));
    QStringList names;
    QList<QVariant> values;
    for (const auto& [column, v] : e.values) {
        const int k = table->indexOf(column);
        if (k < 0) {
            if (v.isNull()) continue;
            throw refused(QStringLiteral("数据表“%1”中已没有字段“%2”。").arg(e.table, column));
        }
        names << table->columns[k].name;
        values << fitting(table->columns[k], v);
    }
    KeyLookup taken(c, e.table, kKey);
    if (!taken.present({e.number}).isEmpty())
        throw refused(
            QStringLiteral("档案号“%1”已被另一条记录占用（例如后来导入的记录）。").arg(e.number));
    Statement ins(c, Dialect::insertInto(e.table, names));
    ins.bindAll(values);
    ins.step();
    PhotoBin::giveBack(c, entry);
    deleteEntry(c, entry);
    RecordLog::event(c, e.table, e.number, RecordLog::Event::Restored);
    t.commit();
}

void erase(Connection& c, qlonglong entry)
{
    Connection::Transaction t(c);
    const Entry e = load(c, entry);
    PhotoBin::erase(c, entry);
    deleteEntry(c, entry);
    // The record's notes go with it, unless a row of the register holds its number
    // again (brought by an import meanwhile): the notes under it are that row's now.
    if (RecordLog::isKept(e.table) && KeyLookup(c, e.table, kKey).present({e.number}).isEmpty()) {
        Statement notes(c, QStringLiteral("DELETE FROM %1 WHERE %2=? AND %3=?")
                               .arg(id("跟进记录"), id("表名"), id("档案号")));
        notes.bind(1, e.table);
        notes.bind(2, e.number);
        notes.step();
        Reminders::recordErased(c, e.table, e.number);
    }
    RecordLog::event(c, e.table, e.number, RecordLog::Event::Erased);
    t.commit();
}

bool gaveAway(Connection& c, const QString& table, const QString& number)
{
    Statement st(c, QStringLiteral("SELECT 1 FROM %1 WHERE %2=?1 AND %3=?2 UNION ALL "
                                   "SELECT 1 FROM %4 WHERE %2=?1 AND %3=?2 AND %5=?3")
                        .arg(id("回收站"), id("表名"), id("档案号"), id("修改记录"), id("操作")));
    st.bind(1, table);
    st.bind(2, number);
    st.bind(3, RecordLog::Event::Deleted);
    return st.step();
}

} // namespace RecycleBin
