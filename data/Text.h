#pragma once
// Small text helpers shared by every layer.
#include <QString>

namespace Text
{

// Removes all leading and trailing characters whose code is 32 or less.
QString trim(const QString& s);

// Number of characters as the database counts them (code points, not UTF-16 units).
int charCount(const QString& s);

// Doubles every occurrence of the quote character, so that a typed value can stand
// between two such quote characters in statement text and be read back literally.
QString quoted(const QString& value, QChar quote = QLatin1Char('\''));

// Same, but also returns the quote characters around the value.
QString literal(const QString& value, QChar quote = QLatin1Char('\''));

} // namespace Text
