#pragma once
// Translates the statement texts the windows send (written for the Jet engine)
// into a neutral form once, token by token, so that values inside literals are
// never touched, then spells that form for one engine:
//   "text"            -> 'text'        (double-quoted literals; "" inside is one ")
//   [name]            -> "name"        (bracketed identifiers)
//   DELETE * FROM     -> DELETE FROM
//   <> null / <>null  -> IS NOT NULL   (= null stays: it matches nothing, as in Jet)
//   a + b             -> a || b        when a or b is a text column or a text literal
//   like p            -> like p on the file (its columns compare without letter case);
//                        ILIKE p ESCAPE '' on the server: a joined text loses the
//                        column's way of comparing, and the server's like would take
//                        a backslash as its escape character, the file's has none
//                        (p: a literal, a name, a group in brackets, or several
//                        of them joined)
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
