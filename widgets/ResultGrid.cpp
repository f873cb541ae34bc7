#include "widgets/ResultGrid.h"

#include "widgets/WidgetUtil.h"

#include <QFontMetrics>
#include <QHeaderView>

namespace ResultGrid
{

QList<GridColumn> columnsOf(const QStringList& fields, const QHash<QString, int>& widths,
                            const QStringList& amounts, const QHash<QString, QString>& titles)
{
    QList<GridColumn> cols;
    for (const QString& f : fields)
        cols << GridColumn{f, titles.value(f, f), widths.value(f, -1),
                           amounts.contains(f) ? QStringLiteral("0.00") : QString()};
    return cols;
}

void setup(DbGrid* grid, DataSource* ds, const QList<GridColumn>& columns)
{
    grid->setEditable(false);
    grid->setColumns(columns);
    grid->setDataSource(ds);
    grid->setFooterCountColumn(0);
    grid->view()->horizontalHeader()->setFont(pixelFont(QStringLiteral("宋体"), 15));
    grid->setFooterFont(pixelFont(QStringLiteral("宋体"), 15));
    grid->view()->setShowGrid(true);
    grid->view()->setWordWrap(false);
}

void fitDefaultWidths(DbGrid* grid)
{
    QTableView* view = grid->view();
    // The printout sets titles in bold between 3-pixel pads: a title is whole there too.
    QFont bold = view->horizontalHeader()->font();
    bold.setBold(true);
    const QFontMetrics titles(bold);
    for (int c = 0; c < grid->columnCount(); ++c) {
        if (grid->column(c).width > 0) continue;
        view->resizeColumnToContents(c);
        const int w =
            qMax(view->columnWidth(c), titles.horizontalAdvance(grid->column(c).title) + 8);
        view->setColumnWidth(c, qMin(w, kWidestDefault));
    }
}

} // namespace ResultGrid
