#pragma once
// Pieces of the listing and customer query windows (registers/QueryFrame.h): the
// result grid (columns, titles, widths, formats, footer count, fonts), the print
// of the result with its fixed settings, the hand-over to the Excel export, the
// column chooser, the condition-builder search, the date pickers, the dictionary
// lists and the digits-only boxes.
#include "data/Dmbasic.h"
#include "exchange/core/Exchange.h"
#include "registers/core/RegisterRules.h"
#include "widgets/DbGrid.h"
#include "widgets/GridPrinter.h"
#include "widgets/ResultGrid.h"

#include <QHash>
#include <QStringList>
#include <optional>

class QComboBox;
class QLineEdit;
class QWidget;

// What distinguishes the listing and the customer query window from each other
// below their quick-search panels: names, texts, the result grid's columns, the
// condition builder's columns, the dictionary lists and the exchange.
struct QueryWindowConfig {
    struct Names {
        QString window;     // e.g. FrmFYCX
        QString rowSet;     // e.g. qryFwxx
        QString dataSource; // e.g. dsFwxx
    } names;
    int fontPx = 0; // window font 宋体 in pixels; 0: the application's
    struct Texts {
        QString caption;        // window caption
        QString title;          // title band
        QString exportTitle;    // put into the export window's title box
        QString printTitleTail; // after "YY年MM月DD" in the print title
        QString deleteQuestion; // asked before a row is deleted
    } texts;
    QString table; // the register's table, also offered to the condition builder
    // The save rule, run before every save of a row: the first check that fails
    // (shown on the record card, the save stopped), or nothing once the rule has
    // filled in what it fills.
    std::optional<RegisterRules::FailedCheck> (*beforePost)(Query&) = nullptr;
    // Result grid, left to right. The first column (档案号) shows the row count in
    // the footer.
    QList<GridColumn> columns;
    QStringList builderFields;                  // "column;caption" lines for the builder
    int builderVisibleItems = 14;               // entries the builder's column list shows at a time
    QStringList builderWholeNumbers;            // builder columns holding whole numbers as text
    QList<RegisterRules::DictionaryList> lists; // quick-search lists, filled in this order
    struct Exchange {
        ExchangeLayout layout;
        Query Tdmbasic::*query = nullptr; // the data module's query over the exchange table
    } exchange;                           // 导出 and 导入
    // 匹配客户 / 匹配房源 on the tool bar and the record card: the button's text.
    // What it runs is wired in app/ (registers/RegisterWiring.h).
    struct Match {
        QString button;
    } match;
};

namespace QueryWindow
{

// The shared look of result grids (widgets/ResultGrid.h).
using ResultGrid::columnsOf;
using ResultGrid::fitDefaultWidths;
using ResultGrid::kWidestDefault;

// The shared result-grid look with the configured columns.
void setupGrid(DbGrid* grid, DataSource* ds, const QueryWindowConfig& config);

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

// The condition-builder search: the builder opens over the configured table and
// columns; on OK every row of the table narrowed by its condition is opened on q.
// When the statement fails, "您所选择的查询条件出错！" is shown and the result
// stays closed. Returns true when a new result is open.
bool builderSearch(QWidget* parent, Query* q, const QueryWindowConfig& config);

// Only the digits 0-9 can be typed or pasted.
void setDigitsOnly(QLineEdit* box);

} // namespace QueryWindow
