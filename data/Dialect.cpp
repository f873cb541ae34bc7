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

} // namespace Dialect
