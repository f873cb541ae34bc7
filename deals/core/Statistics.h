#pragma once
// The office's figures for a date range and optionally one 位置: each a table of
// rows computed by grouped statements on the database (the same figures from a file
// and from a server), which the 统计分析 window draws as a chart and lists under it.
//
// Dates: listings and customers by their 录入日期 (YYMMDD), deals by their date,
// notes by their time; the range includes both ends. Money in yuan, summed exactly
// in fen by the database.
#include "data/Connection.h"

#include <QDate>
#include <QStringList>
#include <QVariant>
#include <optional>

namespace Statistics
{

struct Filter {
    QDate from, to;
    QString location;   // empty: every 位置
    bool money = false; // turnover and commission (senior roles only)
};

// A range that selects nothing: its message.
std::optional<QString> refusal(const Filter& f);

struct Table {
    QString title;
    QStringList columns;
    QList<QVariantList> rows;
    // How the window draws it: bars of the numeric columns by the first one, or
    // a box plot of unit prices (columns as unitPrices gives them).
    enum Chart { Bars, BoxPlot } chart = Bars;
    // Leading columns that name a row (the categories); the rest are figures.
    int keyColumns = 1;
};

// The message an empty table shows instead of a chart.
QString emptyText();

// New listings (出售, 出租) and new customers (求购, 求租) per month.
Table newPerMonth(Connection& c, const Filter& f);
// Valid listings against valid customers (as they are now) by 位置 or by 户型.
Table supplyDemand(Connection& c, const Filter& f, const QString& by);
// 信息价格 / 房屋面积 of the listings with both given, by 位置 and mode (出售 and 出租
// apart): count, minimum, lower quartile, median, upper quartile, maximum. Quartiles
// by linear interpolation between the ordered values (position (n-1)·p).
Table unitPrices(Connection& c, const Filter& f);
// Standing deals per month: count, and with money turnover and commission.
Table dealsPerMonth(Connection& c, const Filter& f);
// Standing deals per agent: the deals he was on, and with money their turnover and
// his part of the commission.
Table dealsPerAgent(Connection& c, const Filter& f);
// Follow-up notes per month and operator (one column per operator, then 合计); with
// a 位置, the notes of the listings there and of the customers who want it.
Table notesPerOperator(Connection& c, const Filter& f);

// The value at `p` (0..1) of ascending values, interpolated linearly.
double quantile(const QList<double>& sorted, double p);

} // namespace Statistics
