#include "data/Dialect.h"

namespace Dialect
{

QString rowId(Flavor f)
{
    // A server row's physical address changes when the row is rewritten; writes
    // therefore return the new one, and an edit also compares every stored value.
    return f == Flavor::Postgres ? QStringLiteral("ctid") : QStringLiteral("rowid");
}

QString rowIdEquals(Flavor f)
{
    return f == Flavor::Postgres ? QStringLiteral("ctid=?::tid") : QStringLiteral("rowid=?");
}

QString sameAs(Flavor f, const QString& quotedColumn)
{
    return quotedColumn + (f == Flavor::Postgres ? QStringLiteral(" IS NOT DISTINCT FROM ?")
                                                 : QStringLiteral(" IS ?"));
}

QString identifier(const QString& name)
{
    return QLatin1Char('"') + QString(name).replace(QLatin1Char('"'), QLatin1String("\"\"")) +
           QLatin1Char('"');
}

QString insertInto(const QString& table, const QStringList& columns)
{
    if (columns.isEmpty())
        return QStringLiteral("INSERT INTO %1 DEFAULT VALUES").arg(identifier(table));
    QStringList names, marks;
    for (const QString& c : columns) {
        names << identifier(c);
        marks << QStringLiteral("?");
    }
    return QStringLiteral("INSERT INTO %1 (%2) VALUES (%3)")
        .arg(identifier(table), names.join(QLatin1Char(',')), marks.join(QLatin1Char(',')));
}

} // namespace Dialect
