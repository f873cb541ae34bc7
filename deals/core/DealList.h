#pragma once
// The deals of a date range as the 成交记录 window lists them: one row per deal with
// its agents in one column, money in yuan, and the totals of the standing deals
// summed exactly in fen.
#include "data/Connection.h"

#include <QDate>
#include <QVariant>
#include <QVector>
#include <optional>
#include <vector>

namespace Deals
{

struct ListFilter {
    QDate from, to;         // deal dates, both included
    QString staff;          // one agent's staff number; empty: every agent
    QString mode;           // 出售 / 出租; empty: both
    bool cancelled = false; // cancelled deals listed too
};

// "请选择成交日期范围" / "开始日期不能晚于结束日期" for a range that selects nothing.
std::optional<QString> rangeRefusal(const QDate& from, const QDate& to);

struct ListTotals {
    int deals = 0; // standing deals
    qint64 price = 0, ownerCommission = 0, customerCommission = 0, agentCommission = 0;
};

struct DealTable {
    QList<ColumnInfo> columns;
    std::vector<QVector<QVariant>> rows;
    ListTotals totals;
};

// Newest deal first. With an agent chosen, the column 本人佣金 holds his part.
DealTable list(Connection& c, const ListFilter& f);

} // namespace Deals
