#pragma once
// Importing listings or customers from a sheet: every row read into the
// register's columns, checked as the entry windows check a save (as far as the
// checks apply without a window), its dictionary values and widths checked, likely
// duplicates (against the register and earlier rows of the file) and archive
// numbers already stored set aside; then the good rows written in one transaction,
// numbered by the daily rule under the numbering lock, each with its 导入 event.
#include "data/Connection.h"
#include "sheetimport/core/ImportColumns.h"
#include "sheetimport/core/ValueRules.h"

#include <QMap>
#include <QVariant>
#include <QVector>
#include <functional>

namespace SheetImport
{

struct Options {
    Register reg = Register::Listings;
    QString company; // this office's company code, for rows numbered here
    QString today;   // YYMMDD, the entry date of rows without one
    PriceUnit unit = PriceUnit::Yuan;
    bool keepDuplicates = false; // import likely duplicates too
    bool addDictionaryValues = false; // add unknown 楼层/户型/位置/权属 values to their dictionary
    QString source;                   // the file, as the history names it
    // Rows done and rows in all; false cancels (SheetReader::Cancelled is thrown
    // and nothing is written).
    std::function<bool(int done, int total)> progress;
};

enum class Action {
    Import,    // good: imported (or would be)
    Refused,   // a check failed; the reason and column say which
    Duplicate, // probably a record the register or the file holds already
    Exists     // its archive number is stored already, or came earlier in the file
};
QString actionText(Action a);

struct Row {
    int sheetRow = 0; // the row's number in the sheet
    Action action = Action::Import;
    QString column;           // the column at fault (Refused)
    QString reason;           // why refused or skipped; a note on an imported row
    QString archive;          // the archive number kept, or given when written
    QStringList cells;        // the row as read
    QVector<QVariant> values; // by Plan::columns
};

struct Plan {
    Register reg = Register::Listings;
    QStringList headers; // the header row as read
    QStringList columns; // the register columns written, in the order of Row::values
    QList<Row> rows;
    // Values of a dictionary column that the dictionary lacks: dictionary table →
    // value → rows holding it.
    QMap<QString, QMap<QString, int>> unknown;
    int count(Action a) const;
};

// Reads, converts and checks every row below the mapping's header row; writes nothing.
Plan check(Connection& main, const SheetReader::Table& t, const Mapping& m, const Options& o);

// Gives the rows to import their archive numbers as the write would (without a
// lock: for a preview). Throws DbError when a day's sequence would pass 999.
void previewNumbers(Connection& main, Plan& plan, const Options& o);

// Writes the rows to import in one transaction (unknown dictionary values added
// first when the options say so) and gives each its archive number. Returns the
// number of rows written. A row whose archive number another workstation stored
// meanwhile turns into Exists.
int write(Connection& main, Plan& plan, const Options& o);

// The company code of the office (公司信息's first row).
QString companyCode(Connection& main);

} // namespace SheetImport
