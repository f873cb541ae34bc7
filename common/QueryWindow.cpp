#include "common/QueryWindow.h"

#include "data/Dmbasic.h"

#include <QComboBox>
#include <QHeaderView>
#include <QLineEdit>
#include <QRegularExpressionValidator>

namespace QueryWindow
{

namespace
{

QFont pixelFont(const QString& family, int px, bool bold = false)
{
    QFont f(family);
    f.setPixelSize(px);
    f.setBold(bold);
    return f;
}

} // namespace

void setupGrid(DbGrid* grid, DataSource* ds, const QueryWindowConfig& config)
{
    grid->setEditable(false);
    grid->setColumns(config.columns);
    grid->setDataSource(ds);
    grid->setFooterCountColumn(config.footerCountColumn);
    grid->view()->horizontalHeader()->setFont(pixelFont(QStringLiteral("宋体"), 15));
    grid->view()->setShowGrid(true);
    grid->view()->setWordWrap(false);
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

void fillList(QComboBox* list, const QString& statement, const QString& column)
{
    Query& q = dmbasic->QryPUB;
    q.close();
    q.clearSql();
    q.addSql(statement);
    q.open();
    list->clear();
    QStringList items;
    for (q.first(); !q.eof(); q.next())
        items << q.text(column);
    q.close();
    list->addItems(items);
    list->setCurrentIndex(-1);
    list->setEditText(QString());
}

void setDigitsOnly(QLineEdit* box)
{
    box->setValidator(
        new QRegularExpressionValidator(QRegularExpression(QStringLiteral("[0-9]*")), box));
}

} // namespace QueryWindow
