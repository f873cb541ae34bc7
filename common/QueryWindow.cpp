#include "common/QueryWindow.h"
#include "common/WidgetUtil.h"

#include "data/Dmbasic.h"

#include <QComboBox>
#include <QFontMetrics>
#include <QHeaderView>
#include <QLineEdit>
#include <QRegularExpressionValidator>

namespace QueryWindow
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

void setupGrid(DbGrid* grid, DataSource* ds, const QueryWindowConfig& config)
{
    grid->setEditable(false);
    grid->setColumns(config.columns);
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

bool resultReady(const Query* q)
{
    return q && q->isActive() && !q->isEditing();
}

GridPrinter resultPrinter(DbGrid* grid, const QString& title, const QString& afterText)
{
    GridPrinter p(grid);
    p.setTitle(title);
    p.setAfterText(afterText);
    p.setMarginsMm(2.0);
    p.setHeaderFont(pixelFont(QStringLiteral("楷体_GB2312"), 20, true));
    p.setFooterFont(pixelFont(QStringLiteral("宋体"), 15));
    p.setFooterText(QString());
    QFont print(QStringLiteral("宋体"));
    print.setPixelSize(grid->view()->font().pixelSize() > 0 ? grid->view()->font().pixelSize()
                                                            : 12);
    p.setPrintFont(print);
    return p;
}

void printResult(QWidget* parent, DbGrid* grid, const Query* q, const QString& title,
                 const QString& afterText)
{
    if (!resultReady(q)) return;
    resultPrinter(grid, title, afterText).preview(parent);
}

void setDigitsOnly(QLineEdit* box)
{
    box->setValidator(
        new QRegularExpressionValidator(QRegularExpression(QStringLiteral("[0-9]*")), box));
}

} // namespace QueryWindow
