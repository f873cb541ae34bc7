#pragma once
// The look every read-only result grid shares (the query windows, the match
// result, the history and the recycle bin): its columns, titles, widths and
// formats, the footer count and the fonts, and default widths fitted to the
// values of each result.
#include "widgets/DbGrid.h"

#include <QHash>
#include <QStringList>

class DataSource;

namespace ResultGrid
{

// Columns over `fields`, in order: each titled with its field name unless `titles`
// gives another, of the default width unless `widths` gives one, and shown as
// "0.00" when it is one of the `amounts`.
QList<GridColumn> columnsOf(const QStringList& fields, const QHash<QString, int>& widths,
                            const QStringList& amounts, const QHash<QString, QString>& titles = {});

// Read-only grid, whole-row selection, these columns and the row count in the
// first column's footer; titles and footer in 宋体 15 pixels.
void setup(DbGrid* grid, DataSource* ds, const QList<GridColumn>& columns);

// Columns configured with the default width get the width their values take as
// the grid shows them (the rows in view and up to a thousand more), or their
// title's as shown and as printed (bold), whichever is wider; at most
// kWidestDefault pixels. Run for each result.
constexpr int kWidestDefault = 320;
void fitDefaultWidths(DbGrid* grid);

} // namespace ResultGrid
