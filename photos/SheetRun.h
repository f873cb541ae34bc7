#pragma once
// What the 房源单 buttons run: the sheet of the card's listing, or of the query
// window's selected rows (the whole result when at most one row is selected), one
// page each, with the progress window; printed through the preview or saved as a
// PDF file, as the operator chooses.
class DbGrid;
class Query;
class QWidget;

namespace SheetRun
{

void fromCard(QWidget* card, Query& rows);
void fromQuery(QWidget* window, DbGrid* grid, Query& rows);

} // namespace SheetRun
