#pragma once
// Length limits of line boxes counted in characters (code points), as the
// database counts a column's width: an emoji or a rare CJK character of a
// supplementary plane counts once. QLineEdit's own limit counts UTF-16 units, so
// it would take half as many of them and could split one in two.
class QLineEdit;

// The most characters a search box takes. No text column is wider than 100
// characters, so a longer search text cannot find a row, and the file engine
// refuses like patterns past about 16,700 Chinese characters.
constexpr int kSearchChars = 100;

// Lets `box` take at most `max` characters: what is typed or pasted beyond them
// is cut off, as the box's own limit would do (never half a character). 0 lifts
// the limit. The box must not need another validator.
void limitChars(QLineEdit* box, int max);
// The limit set by limitChars; 0 when there is none.
int charLimit(const QLineEdit* box);
