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

QString quoted(const QString& value, QChar quote)
{
    QString out = value;
    out.replace(quote, QString(2, quote));
    return out;
}

QString literal(const QString& value, QChar quote)
{
    return quote + quoted(value, quote) + quote;
}

} // namespace Text
