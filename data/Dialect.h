#pragma once
// The few places where the two engines spell a statement differently. Everything
// else the data layer sends is written once in the portable form: standard SQL,
// double-quoted identifiers, single-quoted literals, parameters "?" or "?N".
#include <QString>
#include <QStringList>

namespace engine
{
enum class Flavor { SqlCipher, Postgres };
}

namespace Dialect
{

using engine::Flavor;

// The hidden column that identifies a stored row, selected in front of the others
// when a row set may write rows back.
QString rowId(Flavor f);
// The condition "row identity equals the next parameter".
QString rowIdEquals(Flavor f);
// The condition "column holds the next parameter, a null matching a null".
QString sameAs(Flavor f, const QString& quotedColumn);

// "name" with inner quotes doubled.
QString identifier(const QString& name);
// INSERT INTO "table" ("c1",…) VALUES (?,…): one parameter per column, in order;
// DEFAULT VALUES when there is no column.
QString insertInto(const QString& table, const QStringList& columns);

} // namespace Dialect
