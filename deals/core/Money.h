#pragma once
// Money as the deals keep it: whole fen in 64-bit integers, typed and shown as
// yuan with at most two decimals; shares of a commission in hundredths of a per
// cent (10000 = 100 %). Nothing here goes through a floating-point number, so sums
// are exact.
#include <QList>
#include <QString>
#include <optional>

namespace Money
{

// The largest amount accepted: 100 billion yuan in fen, far above any deal and far
// below what a sum of many deals can hold.
constexpr qint64 kMaxFen = 10'000'000'000'000LL;

// "1234", "1234.5", "1234.56", "-3", blanks around: the amount in fen. Empty text is
// 0. Anything else (letters, three decimals, more than kMaxFen) gives nothing.
std::optional<qint64> parseYuan(const QString& text);
// "1234.50"; negative amounts with a leading "-".
QString yuanText(qint64 fen);

constexpr int kWhole = 10000; // 100 % in hundredths of a per cent
// "60", "33.33", "33.3": hundredths of a per cent; nothing for anything else.
std::optional<int> parseShare(const QString& text);
// "60", "33.33", "33.3".
QString shareText(int hundredths);

// `total` split by `shares` (summing to kWhole): each part is the share's exact
// amount rounded down to the fen, then the fen left over go one each to the parts
// that lost the most in rounding down (the earlier part first among equals). The
// parts always add up to `total`.
QList<qint64> split(qint64 total, const QList<int>& shares);

} // namespace Money
