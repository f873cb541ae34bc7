#include "registers/QueryWindow.h"
#include "widgets/ResultGrid.h"
#include "widgets/WidgetUtil.h"

#include "data/Dmbasic.h"

#include <QComboBox>
#include <QLineEdit>
#include <QRegularExpressionValidator>

namespace QueryWindow
{

void setupGrid(DbGrid* grid, DataSource* ds, const QueryWindowConfig& config)
{
    ResultGrid::setup(grid, ds, config.columns);
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
