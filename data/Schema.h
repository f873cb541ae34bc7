#pragma once
// The tables of the main and the exchange database, and how a new pair is made.
#include "data/Connection.h"
#include <QList>
#include <QString>
#include <functional>

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
    int width; // text(n); 0 for float and memo
};

struct TableDef {
    const char* name;
    QList<ColumnDef> columns;
};

const QList<TableDef>& mainTables();
const QList<TableDef>& exchangeTables();
const QList<TableDef>& tables(DbKind kind);
// The column a main table's unique index is on; empty when it has none.
QString uniqueKey(const QString& table);
int appId(DbKind kind);

// CREATE TABLE text of one table in a file: widths enforced by checks named after
// the column and width, texts compared without letter case as Jet does.
QString createTableSql(const TableDef& t);

// The message for a value refused by one of the checks the tables are made with
// (the same on every engine, and the same the row set gives before it writes);
// empty for any other name.
QString violationText(const QString& constraintName);
QString tooLongText(const QString& column, int width);
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

} // namespace Schema
