#pragma once
// Finding the customers for one listing and the listings for one customer: one
// statement per direction fetches the candidates (valid, paired mode, area and
// price at most a near miss away), the rules judge each pair in memory, and the
// result is a table ready for a grid: the best kListedAtMost pairs, best first.
#include "data/Connection.h"
#include "matching/core/MatchRules.h"

#include <QStringList>
#include <QVariant>
#include <vector>

class Query;

namespace Matching
{

// The listing or customer of the current row of an open result that has the
// columns of 房屋信息 or 客户信息 (a query window's row set, a card's row).
Listing listingFrom(const Query& row);
Customer customerFrom(const Query& row);

// Columns of the other side in a result, in order; the personal ones (name and
// telephones) come last and only for the roles that see them on the record card.
QStringList customerColumns(bool personal);
QStringList listingColumns(bool personal);

// The candidate statements, as Jet statement lines: validity, the paired mode and
// the area and the price each at most a near miss away (open bounds and reversed
// ranges allowed for), over the other side's columns a result shows (the personal ones as
// asked) and its validity, which hold every column the rules judge on. Every pair
// the rules show is among the rows they return. Empty when the given side cannot
// match anything (not 有效, or a mode that pairs with none).
QStringList customerCandidates(const Listing& l, bool personal);
QStringList listingCandidates(const Customer& c, bool personal);

// Names of the computed columns in front of the other side's columns.
QString scoreColumn();  // 分数: 0..100
QString markColumn();   // 匹配: "符合", or "接近" for a near miss
QString reasonColumn(); // 理由: one short reason per criterion
QString markFor(const Outcome& o);

// Pairs listed at most: a customer who asks for nothing fits most of an office's
// listings, and an operator phones the best ones first.
constexpr int kListedAtMost = 500;

// A result: its columns and its rows, best score first (then by archive number).
struct MatchTable {
    QList<ColumnInfo> columns;
    std::vector<QVector<QVariant>> rows; // the best kListedAtMost pairs
    int more = 0;                        // pairs that fit as well but are not listed
};

MatchTable customersFor(Connection& c, const Listing& l, bool personal);
MatchTable listingsFor(Connection& c, const Customer& cu, bool personal);

} // namespace Matching
