#pragma once
// The tables of the main and the exchange database, and how a new pair is made.
#include "data/Connection.h"
#include <QList>
#include <QString>

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
int appId(DbKind kind);

// CREATE TABLE text of one table: widths enforced by checks, texts compared
// without letter case as Jet does.
QString createTableSql(const TableDef& t);

// Makes a new file with its tables, indexes and the first rows the system needs.
// Throws DbError if the file exists already (it is never overwritten).
void createMainDatabase(const QString& path);
void createExchangeDatabase(const QString& path);

} // namespace Schema
