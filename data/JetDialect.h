#pragma once
// Translates the statement texts the windows send (written for the Jet engine)
// into a neutral form once, token by token, so that values inside literals are
// never touched, then spells that form for one engine:
//   "text"            -> 'text'        (double-quoted literals; "" inside is one ")
//   [name]            -> "name"        (bracketed identifiers)
//   DELETE * FROM     -> DELETE FROM
//   <> null / <>null  -> IS NOT NULL   (= null stays: it matches nothing, as in Jet)
//   a + b             -> a || b        when a or b is a text column or a text literal
//   like              -> like on the file (its columns compare without letter case);
//                        ILIKE on the server, with a backslash in the pattern literal
//                        (the server's escape character) doubled, since a joined text
//                        loses the column's way of comparing
// On the server, a number column compared with a text that is no number, or matched
// with like, is compared as its text; a number compared with a text column is
// compared as a text. The file engine does both on its own.
#include "data/Dialect.h"
#include "data/TableInfo.h"

#include <QString>
#include <functional>

namespace JetDialect
{

// The kind of a column named in a statement; Other when it is not a column.
using ColumnKind = std::function<ColumnInfo::Type(const QString& identifier)>;

QString translate(const QString& jetSql, engine::Flavor flavor, const ColumnKind& kindOf = {});

} // namespace JetDialect
