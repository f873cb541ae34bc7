#include "data/Text.h"

namespace Text
{

QString trim(const QString& s)
{
    int b = 0, e = s.size();
    while (b < e && s.at(b).unicode() <= 32)
        ++b;
    while (e > b && s.at(e - 1).unicode() <= 32)
        --e;
    return s.mid(b, e - b);
}

int charCount(const QString& s)
{
    int n = 0;
    for (int i = 0; i < s.size(); ++i) {
        if (s.at(i).isHighSurrogate() && i + 1 < s.size() && s.at(i + 1).isLowSurrogate()) ++i;
        ++n;
    }
    return n;
}

QString leftChars(const QString& s, int n)
{
    int i = 0;
    for (int k = 0; k < n && i < s.size(); ++k) {
        if (s.at(i).isHighSurrogate() && i + 1 < s.size() && s.at(i + 1).isLowSurrogate()) ++i;
        ++i;
    }
    return s.left(i);
}

bool isControl(char32_t c, Lines lines)
{
    if (lines == Lines::Keep && (c == U'\t' || c == U'\n' || c == U'\r')) return false;
    return c < 0x20 || (c >= 0x7F && c <= 0x9F);
}

QString withoutControls(const QString& s, Lines lines)
{
    // Controls are single UTF-16 units, so the text is scanned unit by unit.
    qsizetype first = 0;
    while (first < s.size() && !isControl(s.at(first).unicode(), lines))
        ++first;
    if (first == s.size()) return s;
    QString out = s.left(first);
    for (qsizetype i = first + 1; i < s.size(); ++i)
        if (!isControl(s.at(i).unicode(), lines)) out += s.at(i);
    return out;
}

QString quoted(const QString& value, QChar quote)
{
    QString out = withoutControls(value);
    out.replace(quote, QString(2, quote));
    return out;
}

QString literal(const QString& value, QChar quote)
{
    return quote + quoted(value, quote) + quote;
}

} // namespace Text
