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

void fitDefaultWidths(DbGrid* grid, const QueryWindowConfig& config)
{
    Query* q = grid->dataSource() ? grid->dataSource()->dataSet() : nullptr;
    if (!q || !q->isActive()) return;
    const QFontMetrics cells(grid->view()->font());
    const QFontMetrics titles(grid->view()->horizontalHeader()->font());
    for (int c = 0; c < config.columns.size() && c < grid->columnCount(); ++c) {
        const GridColumn& col = config.columns[c];
        const int f = q->fieldIndex(col.field);
        if (col.width > 0 || f < 0) continue;
        const ColumnInfo& ci = q->column(f);
        const int chars =
            ci.type == ColumnInfo::Text && ci.maxLength > 0 ? qMin(ci.maxLength, 40) : 10;
        const int w = qMax(cells.horizontalAdvance(QLatin1Char('0')) * chars + 8,
                           titles.horizontalAdvance(col.title) + 12);
        grid->view()->setColumnWidth(c, w);
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
