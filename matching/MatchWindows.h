#pragma once
// 匹配客户 and 匹配房源 as the query windows and record cards run them: the result
// window for the current row of a register, and from it, on a double click, the
// other register's record on its own record card, over rows made for that record
// (saving and deleting work there as on any card); the result is matched again
// when the card closes. Windows opened so may nest (a card's own 匹配 button opens
// the next result). app/ wires these to the registers' 匹配 buttons.
class Query;
class QWidget;

namespace MatchWindows
{

// The customers for the listing in the current row of `listingRow`.
void matchCustomers(Query& listingRow, QWidget* parent);
// The listings for the customer in the current row of `customerRow`.
void matchListings(Query& customerRow, QWidget* parent);

} // namespace MatchWindows
