#pragma once
// Copying rows between a main table and an exchange table, for any table and
// column list (listings and customers use it with their own columns).
//
// Export: the exchange table is emptied and refilled from a result, all in one
// transaction, so a failure leaves the previous export whole.
// Import: an exchange file from another office is checked first (it is untrusted
// input), then every row whose archive number is not yet in the main table is
// added, all in one transaction at the end, so a failure adds nothing. Each row
// added leaves its 导入 event in the history (RecordLog), in the same transaction.
// History, recycle bin and notes never travel.
#include "data/Connection.h"

#include <QList>
#include <QString>
#include <QVariant>
#include <QVector>
#include <functional>

class Query;

struct ExchangeColumn {
    enum Kind { Text, Number };
    QString name;
    Kind kind = Text; // Text: trimmed text; Number: a number, a missing one 0
};

struct ExchangeLayout {
    QString mainTable;     // e.g. 房屋信息
    QString exchangeTable; // e.g. 房屋信息Exp
    QString keyColumn;     // the archive number, e.g. 档案号
    QList<ExchangeColumn> columns;
    int keyIndex() const; // position of keyColumn in columns, -1 when absent
    // What travels beside the rows in tables of its own (a listing's cover photo),
    // inside the export's and the import's transaction: the keys of the rows
    // exported from `main`, or added to it from `file`. Empty: nothing more travels.
    std::function<void(Connection& file, Connection& main, const QStringList& keys)> exportExtra;
    std::function<void(Connection& main, Connection& file, const QStringList& keys)> importExtra;
};

// Told the number of source rows once, then called once per source row.
struct ExchangeProgress {
    std::function<void(int total)> start;
    std::function<void()> step;
};

namespace Exchange
{

// The value as it travels: a text trimmed (empty becomes null, as typed values
// do), a number as a number with a missing one 0. Throws DbError for a value
// that is not of the column's kind (a text that is not a number, binary data).
QVariant travelling(const ExchangeColumn& c, const QVariant& v);

// Export from a result: every visible row of `source`, whatever its current row;
// afterwards the current row is the last one. Returns the number of rows written.
int exportRows(Connection& target, const ExchangeLayout& layout, Query& source,
               const ExchangeProgress& progress = {});

// Export from a statement (native SQL) on another connection.
int exportRows(Connection& target, const ExchangeLayout& layout, Connection& source,
               const QString& nativeSelect, const ExchangeProgress& progress = {});

// Checks an opened exchange file before any row is read: the file is sound
// (its pages check out), and the exchange table holds every column of the list with a
// matching type. Throws DbError with the reason.
void checkExchangeFile(Connection& file, const ExchangeLayout& layout);

// Number of rows in the file's exchange table.
int exchangeRowCount(Connection& file, const ExchangeLayout& layout);

// Import: checks the file, then adds the rows whose key is not yet in the main
// table (nor added earlier in this run). Rows without a key are skipped.
// Returns the number of rows added. Reading, checking and the duplicate test
// hold no lock (the progress advances then); the rows are written in one short
// transaction at the end, so other workstations' saves are not held off for long.
int importRows(Connection& main, Connection& file, const ExchangeLayout& layout,
               const ExchangeProgress& progress = {});

} // namespace Exchange
