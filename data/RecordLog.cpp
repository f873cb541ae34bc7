#include "data/RecordLog.h"

#include "data/BulkInsert.h"
#include "data/Dialect.h"
#include "data/RecycleBin.h"
#include "data/Schema.h"

#include <QDateTime>

namespace RecordLog
{

namespace
{

const QString kHistory = QStringLiteral("修改记录");
const QStringList kHistoryColumns = {
    QStringLiteral("表名"),   QStringLiteral("档案号"), QStringLiteral("时间"),
    QStringLiteral("操作员"), QStringLiteral("工作站"), QStringLiteral("操作"),
    QStringLiteral("字段"),   QStringLiteral("旧值"),   QStringLiteral("新值")};

QString historyInsert()
{
    return Dialect::insertInto(kHistory, kHistoryColumns);
}

// The values of one history row up to 操作: table, number, time, operator, workstation.
QVector<QVariant> head(const Connection& c, const QString& table, const QString& number,
                       const QString& what)
{
    return {table,
            number.isEmpty() ? QVariant() : QVariant(number),
            now(),
            c.actor().storedOperator(),
            c.actor().storedWorkstation(),
            what};
}

void write(Statement& st, const QVector<QVariant>& values)
{
    st.bindAll(values);
    st.step();
    st.reset();
}

} // namespace

QString registerOf(const QString& table)
{
    if (table == QStringLiteral("成交记录")) return QStringLiteral("成交");
    return table == QStringLiteral("客户信息") ? QStringLiteral("客户") : QStringLiteral("房源");
}

bool isKept(const QString& table)
{
    return table == QStringLiteral("房屋信息") || table == QStringLiteral("客户信息");
}

bool keeps(const Connection& c, const QString& table)
{
    return c.kind() == DbKind::Main && c.keepsRecords() && isKept(table);
}

QString now()
{
    return QDateTime::currentDateTime().toString(QStringLiteral("yyyy-MM-dd HH:mm:ss"));
}

QVariant historyText(const QVariant& v)
{
    if (!v.isValid() || v.isNull()) return {};
    if (v.typeId() == QMetaType::Double) return QString::number(v.toDouble(), 'g', 15);
    return v.toString();
}

QString eventOf(const QString& column, const QVariant& before, const QVariant& after)
{
    if (column == QStringLiteral("类型")) {
        const QString b = before.toString(), a = after.toString();
        if (b == QStringLiteral("有效") && a == QStringLiteral("无效")) return Event::Invalidated;
        if (b == QStringLiteral("无效") && a == QStringLiteral("有效")) return Event::Revalidated;
    }
    return Event::Changed;
}

void event(Connection& c, const QString& table, const QString& number, const QString& what,
           const QVariant& detail)
{
    Statement st(c, historyInsert());
    write(st, head(c, table, number, what) << QVariant() << QVariant() << historyText(detail));
}

void changed(Connection& c, const QString& table, const QString& number,
             const QList<ColumnChange>& changes)
{
    if (changes.isEmpty()) return;
    Statement st(c, historyInsert());
    for (const ColumnChange& ch : changes)
        write(st, head(c, table, number, eventOf(ch.column, ch.before, ch.after))
                      << ch.column << historyText(ch.before) << historyText(ch.after));
}

void deleted(Connection& c, const QString& table, const QString& number,
             const QList<ColumnInfo>& columns, const QVector<QVariant>& values)
{
    RecycleBin::put(c, table, number, RecycleBin::encode(columns, values));
    event(c, table, number, Event::Deleted);
}

QList<Line> history(Connection& c, const QString& table, const QString& number)
{
    auto id = [](const char* name) { return Dialect::identifier(QString::fromUtf8(name)); };
    Statement st(c,
                 QStringLiteral("SELECT h.%1, h.%2, o.%3, h.%4, h.%5, h.%6, h.%7, h.%8 FROM %9 h "
                                "LEFT JOIN %10 o ON o.%11 = h.%2 WHERE h.%12=? AND h.%13=? "
                                "ORDER BY h.%14 DESC")
                     .arg(id("时间"), id("操作员"), id("员工姓名"), id("工作站"), id("操作"),
                          id("字段"), id("旧值"), id("新值"), id("修改记录"))
                     .arg(id("操作员档案"), id("员工编号"), id("表名"), id("档案号"), id("编号")));
    st.bind(1, table);
    st.bind(2, number);
    QList<Line> out;
    while (st.step())
        out << Line{st.value(0).toString(),
                    st.value(1).toString(),
                    st.value(2).toString(),
                    st.value(3).toString(),
                    st.value(4).toString(),
                    st.value(5).toString(),
                    st.value(6),
                    st.value(7)};
    return out;
}

Imports::Imports(Connection& c, const QString& table, const QString& sourceFile)
    : m_c(c), m_row(head(c, table, QString(), Event::Imported))
{
    m_row << QVariant() << QVariant() << (sourceFile.isEmpty() ? QVariant() : QVariant(sourceFile));
    m_insert = std::make_unique<BulkInsert>(c, kHistory, kHistoryColumns);
}

Imports::~Imports() = default;

void Imports::add(const QString& number)
{
    m_row[1] = number;
    m_insert->add(m_row);
}

void Imports::finish()
{
    m_insert->finish();
}

} // namespace RecordLog
