#pragma once
// The tables of the main and the exchange database, and how a new pair is made.
#include "data/Connection.h"
#include <QList>
#include <QString>
#include <functional>
#include <optional>

namespace Schema
{

// Application ids written into the file header by our tool.
constexpr int kMainAppId = 0x48564D31;     // "HVM1"
constexpr int kExchangeAppId = 0x48565831; // "HVX1"

// Database passwords.
inline const char* mainPassword()
{
    return "marblecanyons";
}
inline const char* exchangePassword()
{
    return "oakleafridges";
}

struct ColumnDef {
    const char* name;
    ColumnInfo::Type type;
    int width; // text(n); 0 for float, memo and integer
};

struct TableDef {
    const char* name;
    QList<ColumnDef> columns;
    // The first column is a whole number the database gives each new row (the
    // next one up), the table's key.
    bool numbered = false;
};

// The ten tables every main database has had from the start.
const QList<TableDef>& mainTables();
// What the main database keeps beside them since layout 2: the change history,
// the recycle bin and the follow-up notes of listings and customers. Copied with
// the rows; never exchanged.
const QList<TableDef>& recordTables();
const QList<TableDef>& exchangeTables();
const QList<TableDef>& tables(DbKind kind);

// The layout of the main database this program makes and works on. A database
// holds its layout in the table 数据库版本; one without that table is layout 1.
constexpr int kLayoutVersion = 4;
inline const char* versionTable()
{
    return "数据库版本";
}
// The column a main table's unique index is on; empty when it has none.
QString uniqueKey(const QString& table);
int appId(DbKind kind);

// CREATE TABLE text of one table in a file: widths enforced by checks named after
// the column and width, texts compared without letter case as Jet does.
QString createTableSql(const TableDef& t);
// The same for the engine behind `c` (a server's columns differ).
QString createTableSql(const TableDef& t, const Connection& c);
// Makes one table on an open connection, spelt for its engine.
void createTable(Connection& c, const TableDef& t);

// The message for a value refused by one of the checks the tables are made with
// (the same on every engine, and the same the row set gives before it writes);
// empty for any other name.
QString violationText(const QString& constraintName);
QString tooLongText(const QString& column, int width);
// A text as `column` stores it: without control characters (a memo keeps its
// lines), null when nothing is left. What a search can type is what a row can
// hold, and the server takes no NUL at all.
QVariant storedText(const ColumnInfo& column, const QString& text);
// tooLongText when `value` is a text wider than its text column; else nothing.
std::optional<QString> tooLong(const ColumnInfo& column, const QVariant& value);
// The column and width a width check names; width 0 for any other name.
struct WidthCheck {
    QString column;
    int width = 0;
};
WidthCheck widthCheck(const QString& constraintName);

using Fill = std::function<void(Connection&)>;

// Makes a new main database at `location` with its tables, keys and indexes and,
// with `firstRows`, the rows the system needs but never creates: a new file
// (never overwriting one), or the tables of an existing server database that holds
// none yet. `fill` runs in the same transaction. A failure leaves nothing behind
// (a new file is removed).
void createMainDatabase(const QString& location, bool firstRows = true, const Fill& fill = {});
// A new main database file keyed with `password`, without first rows, `fill` run
// in the transaction that made its tables.
void createMainFile(const QString& path, const QString& password, const Fill& fill);
void createExchangeDatabase(const QString& path);
// The same on an open connection (openRaw) inside the caller's transaction.
void createMainTables(Connection& c, bool firstRows);

// Pieces of the layout, for the upgrade of an older database (inside the caller's
// transaction): the record tables with their indexes, the two matching indexes
// where they are missing, and the version mark.
void createRecordTables(Connection& c);
// One table as the connection's engine spells it.
void createTable(Connection& c, const TableDef& t);
// Makes each of `defs` as the connection's engine spells a table.
void createTables(Connection& c, const QList<TableDef>& defs);
void createMatchingIndexes(Connection& c, bool ifMissing);
void markVersion(Connection& c, int version);
// The next number of each numbered table set after rows were copied in with their
// numbers (a file takes the next one up by itself).
void continueNumbering(Connection& c);

} // namespace Schema
