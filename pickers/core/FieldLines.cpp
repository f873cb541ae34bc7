#include "pickers/core/FieldLines.h"

bool SplitNames(const QStringList& lines, QStringList& target)
{
    for (const QString& line : lines) {
        const int sep = line.indexOf(QLatin1Char(';'));
        if (sep <= 0) return false;
        target << line.left(sep);
    }
    return true;
}

bool SplitCaptions(const QStringList& lines, QStringList& target)
{
    for (const QString& line : lines) {
        const int sep = line.indexOf(QLatin1Char(';'));
        const QString caption = sep < 0 ? line : line.mid(sep + 1);
        if (caption.isEmpty()) return false;
        target << caption;
    }
    return true;
}
