#pragma once
// Small text helpers shared by every layer.
#include <QString>

namespace Text
{

// Removes all leading and trailing characters whose code is 32 or less.
QString trim(const QString& s);

// Number of characters as the database counts them (code points, not UTF-16 units).
int charCount(const QString& s);
// The first `n` characters (code points): a pair of UTF-16 units is never split.
QString leftChars(const QString& s, int n);

// Control characters (U+0000..U+001F, U+007F..U+009F) are never part of a value:
// a line box shows none of them, so they only come in by pasting, and a NUL would
// end a statement early (the file engine) or be refused (the server). Single-line
// values lose every one; texts that keep their lines (memos, exchanged texts) keep
// tab, line feed and carriage return.
enum class Lines { Drop, Keep };
QString withoutControls(const QString& s, Lines lines = Lines::Drop);
bool isControl(char32_t c, Lines lines = Lines::Drop);

// Doubles every occurrence of the quote character, so that a typed value can stand
// between two such quote characters in statement text and be read back literally.
// Control characters are dropped first (see withoutControls): none ever reaches a
// statement.
QString quoted(const QString& value, QChar quote = QLatin1Char('\''));

// Same, but also returns the quote characters around the value.
QString literal(const QString& value, QChar quote = QLatin1Char('\''));

} // namespace Text
