#pragma once
// What the listing and customer query windows share, set up by configuration: the
// result grid (columns, titles, widths, formats, footer count, fonts), the print
// of the result with its fixed settings, the hand-over to the Excel export, the
// column chooser, the condition-builder search, the date pickers, the dictionary
// lists and the digits-only boxes.
#include "common/DbGrid.h"
#include "common/GridPrinter.h"

#include <QStringList>
#include <functional>

class QComboBox;
class QLineEdit;
class QWidget;

struct QueryWindowConfig {
    QList<GridColumn> columns;
    int footerCountColumn = 0;    // grid column whose footer shows the row count
    QString builderTable;         // table offered to the condition builder
    QStringList builderFields;    // "column;caption" lines for the builder
    QString exportTitle;          // title put into the export window
    int builderVisibleItems = 14; // entries the builder's column list shows at a time
};

namespace QueryWindow
{

// Read-only grid, whole-row selection, the configured columns and footer count;
// titles and footer in 宋体 15 pixels.
void setupGrid(DbGrid* grid, DataSource* ds, const QueryWindowConfig& config);

// Columns configured with the default width get the width of their stored
// value (text: its length in digits' widths; amounts: ten) or of their title,
// whichever is wider, once the row set is open.
void fitDefaultWidths(DbGrid* grid, const QueryWindowConfig& config);

// A result is open and no row is being edited: printing and export may run.
bool resultReady(const Query* q);

// A printer for the grid with the fixed settings of the query windows: margins
// 2.0 mm, header 楷体_GB2312 20 px bold, footer 宋体 15 px without text, print 宋体.
GridPrinter resultPrinter(DbGrid* grid, const QString& title, const QString& afterText);
// Opens the print preview of the result; nothing while the result is not ready.
void printResult(QWidget* parent, DbGrid* grid, const Query* q, const QString& title,
                 const QString& afterText);

// Hands the result to the Excel export: the grid, a fresh query on the same
// connection opened with a copy of the statement, and the title. Nothing while
// the result is not ready.
void exportResult(QWidget* parent, DbGrid* grid, const Query* q, const QString& title);

// The column chooser over the grid.
void chooseColumns(DbGrid* grid);

// The date picker; on OK the chosen date YYMMDD replaces the box's text.
void pickDate(QWidget* parent, QLineEdit* box);
// The date picker alone: true and the chosen date YYMMDD on OK.
bool pickDate(QWidget* parent, QString& yymmdd);

// The condition-builder search: the builder opens over the configured columns;
// on OK the statement made from its condition is opened on q. When the statement
// fails, "您所选择的查询条件出错！" is shown and the result stays closed.
// Returns true when a new result is open.
bool builderSearch(QWidget* parent, Query* q, const QueryWindowConfig& config,
                   const std::function<QStringList(const QString& where)>& statement);

// Fills a list from a dictionary through the shared scratch query, in stored order,
// leaving no item selected and the text empty.
void fillList(QComboBox* list, const QString& statement, const QString& column);

// Only the digits 0-9 can be typed or pasted.
void setDigitsOnly(QLineEdit* box);

} // namespace QueryWindow
