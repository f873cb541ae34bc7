#pragma once
// The texts of the condition builder: the SQL piece appended to the caller's
// where clause, the readable line shown to the operator, and the statement that
// lists the values stored in a column.
#include <QStringList>

namespace ConditionText
{

// The operators offered, in this order; "=" is the one selected at the start.
const QStringList& operators();

// "And ( column op 'value' )", or "And ( column like '%value%' )" for "like".
// The value is escaped, so a quote in it is searched for literally. With
// `wholeNumbers` (a text column holding whole numbers, such as a building's age)
// a comparison with a whole number is made by wholeNumberComparison instead.
QString where(const QString& column, const QString& op, const QString& value,
              bool wholeNumbers = false);

// True for a non-empty text of the digits 0-9 only.
bool isWholeNumber(const QString& value);

// "column op 'value'" for a text column holding whole numbers, so that "10" lies
// above "9": a stored value of digits only is compared with the typed whole number
// as a number, any other stored value as text, as before. Empty when `value` is
// no whole number or `op` is no comparison (=, <>, <, <=, >, >=).
QString wholeNumberComparison(const QString& column, const QString& op, const QString& value);

// "并且 ( caption op 'value' )" (like: '%value%'), the value as typed.
QString display(const QString& caption, const QString& op, const QString& value);

// Table and column for the value list: the given table, or, when it is empty,
// the parts of "table.column" before and after the first ".".
struct Source {
    QString table;
    QString column;
};
Source valueSource(const QString& pubTable, const QString& column);

// The two statement lines that list the non-null values of a column.
QStringList valueListSql(const Source& s);

} // namespace ConditionText
