#pragma once
// Translates the statement texts the windows send (written for the Jet engine)
// into SQLite's dialect, token by token, so that values inside literals are
// never touched:
//   "text"            -> 'text'        (double-quoted literals; "" inside is one ")
//   [name]            -> "name"        (bracketed identifiers)
//   DELETE * FROM     -> DELETE FROM
//   <> null / <>null  -> IS NOT NULL   (= null stays: it matches nothing, as in Jet)
//   a + b             -> a || b        when a or b is a text column or a text literal
#include <QString>
#include <functional>

namespace JetDialect
{

using TextColumnTest = std::function<bool(const QString& identifier)>;

QString translate(const QString& jetSql, const TextColumnTest& isTextColumn = {});

} // namespace JetDialect
