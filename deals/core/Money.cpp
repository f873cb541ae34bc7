#include "deals/core/Money.h"

#include <QRegularExpression>
#include <algorithm>
#include <numeric>

namespace Money
{

namespace
{

// Digits with up to two decimals, as a whole number of hundredths.
std::optional<qint64> hundredths(const QString& text, bool signAllowed)
{
    static const QRegularExpression re(QStringLiteral("^([+-]?)(\\d*)(?:\\.(\\d{0,2}))?$"));
    const QString t = text.trimmed();
    if (t.isEmpty()) return 0;
    const auto m = re.match(t);
    if (!m.hasMatch()) return std::nullopt;
    const QString whole = m.captured(2), decimals = m.captured(3);
    if (whole.isEmpty() && decimals.isEmpty()) return std::nullopt;
    if (!signAllowed && !m.captured(1).isEmpty()) return std::nullopt;
    // Leading zeros do not count towards the size.
    const QString digits = QString(whole).remove(QRegularExpression(QStringLiteral("^0+")));
    if (digits.size() > 12) return std::nullopt;
    qint64 v = digits.isEmpty() ? 0 : digits.toLongLong();
    v = v * 100 + (decimals + QStringLiteral("00")).left(2).toLongLong();
    if (v > kMaxFen) return std::nullopt;
    return m.captured(1) == QStringLiteral("-") ? -v : v;
}

QString twoDecimals(qint64 v, bool trim)
{
    const bool negative = v < 0;
    const quint64 a = negative ? quint64(-(v + 1)) + 1 : quint64(v);
    QString s = QString::number(a / 100);
    const quint64 cents = a % 100;
    if (!trim || cents != 0) {
        QString tail = QStringLiteral("%1").arg(cents, 2, 10, QLatin1Char('0'));
        if (trim && tail.endsWith(QLatin1Char('0'))) tail.chop(1);
        s += QLatin1Char('.') + tail;
    }
    return negative ? QLatin1Char('-') + s : s;
}

} // namespace

std::optional<qint64> parseYuan(const QString& text)
{
    return hundredths(text, true);
}

QString yuanText(qint64 fen)
{
    return twoDecimals(fen, false);
}

std::optional<int> parseShare(const QString& text)
{
    const QString t = text.trimmed();
    if (t.isEmpty()) return std::nullopt;
    const auto v = hundredths(t, false);
    if (!v || *v > kWhole) return std::nullopt;
    return int(*v);
}

QString shareText(int hundredths)
{
    return twoDecimals(hundredths, true);
}

QList<qint64> split(qint64 total, const QList<int>& shares)
{
    QList<qint64> parts;
    QList<qint64> lost; // what each part lost in rounding down, in 1/kWhole fen
    for (int share : shares) {
        // total <= kMaxFen and share <= kWhole: the product stays far inside 64 bits.
        const qint64 exact = total * share;
        parts << exact / kWhole;
        lost << exact % kWhole;
    }
    qint64 left = total - std::accumulate(parts.begin(), parts.end(), qint64(0));
    QList<int> order(shares.size());
    std::iota(order.begin(), order.end(), 0);
    std::stable_sort(order.begin(), order.end(), [&](int a, int b) { return lost[a] > lost[b]; });
    // With shares summing to kWhole fewer fen are left than there are parts.
    for (int i = 0; i < order.size() && left > 0; ++i, --left)
        ++parts[order[i]];
    return parts;
}

} // namespace Money
