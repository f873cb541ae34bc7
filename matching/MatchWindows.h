#pragma once
// 匹配客户 and 匹配房源 as the query windows and record cards run them: the result
// window for the current row of a register, and from it, on a double click, the
// other register's record on its own record card. That card edits the record
// through a query window of its register that is never shown and holds only this
// record, so 保存 and 删除 there work as on any card; the result is matched again
// when the card closes. Windows opened so may nest (a card's own 匹配 button opens
// the next result): the application-wide reference to each register's query
// window points to the innermost while it is open and to the one before after.
class Query;
class QWidget;

namespace MatchWindows
{

// The customers for the listing in the current row of `listingRow`.
void matchCustomers(Query& listingRow, QWidget* parent);
// The listings for the customer in the current row of `customerRow`.
void matchListings(Query& customerRow, QWidget* parent);

} // namespace MatchWindows
