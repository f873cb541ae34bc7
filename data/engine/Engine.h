#pragma once
// The one narrow interface between the data layer and a database engine. Two
// implementations: a keyed SQLCipher file and a PostgreSQL server reached through
// libpq. Only files inside data/ include this header; everything else works on
// Connection, Statement and Query, which never ask which engine they run on.
//
// Statement texts handed to an engine are in its own spelling (see Dialect.h);
// parameters are written "?" or "?N" in both and numbered from 1.
#include "data/Dialect.h"
#include "data/TableInfo.h"

#include <QString>
#include <QVariant>
#include <memory>

namespace engine
{

class TextCache;

// How long a statement waits for another workstation's lock before it gives up.
constexpr int kBusyTimeoutMs = 15000;

// The table and column a result column was read from; empty for computed columns.
struct ColumnOrigin {
    QString table;
    QString column;
};

// One prepared statement and, once stepped, its current row.
class Cursor
{
public:
    virtual ~Cursor() = default;
    virtual void bind(int index1, const QVariant& v) = 0;
    // Runs the statement on the first call after construction or reset(); true
    // while a row is available. Column facts are known after the first call.
    virtual bool step() = 0;
    // Ready to bind and run again; bindings are cleared.
    virtual void reset() = 0;
    virtual int columnCount() const = 0;
    virtual QString columnName(int col) const = 0;
    virtual ColumnOrigin origin(int col) const = 0;
    // Null, qlonglong, double or QString; binary data as QByteArray.
    virtual QVariant value(int col) const = 0;
    // The cell as the row set stores it: a float column's integer as a double, a
    // text through the column's cache when one is given.
    virtual QVariant cell(int col, ColumnInfo::Type type, TextCache* texts = nullptr) const = 0;
    virtual bool isBinary(int col) const = 0;
    // The row identity selected as column `col` (see Dialect::rowId).
    virtual long long rowId(int col) const = 0;
    // Rows written by the statement that ran last.
    virtual long long rowsAffected() const = 0;
    // The identity of the row an INSERT wrote, where the engine gives it this way.
    virtual long long lastInsertRowId() const = 0;
};

enum class TxMode {
    Write,   // the writer's lock is taken at begin where the engine has one
    Snapshot // a consistent, read-only view until the end
};

class Engine
{
public:
    virtual ~Engine() = default;
    virtual Flavor flavor() const = 0;

    // Opens the database at `location`. Checked: it must be one of ours of `kind`
    // (throws DbError with the reason otherwise, leaving it untouched). Raw: no
    // check at all, and a missing file is made (tools and tests).
    virtual void open(const QString& location, const QString& password, DbKind kind, bool raw) = 0;
    virtual void close() = 0;
    virtual bool isOpen() const = 0;

    virtual std::unique_ptr<Cursor> prepare(const QString& sql) = 0;
    // A row identity as the parameter of Dialect::rowIdEquals.
    virtual QVariant rowIdParam(long long id) const = 0;
    // Runs one or more statements, results dropped.
    virtual void run(const QString& sql) = 0;
    // Runs exactly one statement (a second one is refused) and returns the rows it wrote.
    virtual long long runOne(const QString& sql) = 0;

    virtual void begin(TxMode mode) = 0;
    virtual void commit() = 0;
    virtual void rollback() noexcept = 0;
    // Whether a transaction begun here is open.
    virtual bool inTransaction() const = 0;
    // Until the end of the current transaction, holds apart writers that ask for
    // the same key. The file engine's write lock already does this.
    virtual void lockWriters(const QString& key) = 0;

    // Tables of the open database with their columns, kinds and widths.
    virtual QList<TableInfo> readTables() = 0;
    // Whether the stored pages are sound (the file engine checks them).
    virtual bool isSound() = 0;
    // Throws DbError when the open database cannot be worked on: its pages do not
    // check out (cause Damaged), or it cannot be written (cause ReadOnly: a file or
    // its folder without the right to write, a read-only share or server).
    virtual void checkUsable(DbKind kind) = 0;
    // The engine's plan for a statement, as text.
    virtual QString plan(const QString& sql) = 0;
    // A larger cache for a run of many writes; undone by endBulk().
    virtual void beginBulk() = 0;
    virtual void endBulk() noexcept = 0;
};

// What both engines say when another workstation's write held this one off for
// longer than kBusyTimeoutMs (cause Busy).
QString busyText();

// The engine a location calls for: a server address or a file path.
Flavor flavorOf(const QString& location);
std::unique_ptr<Engine> makeEngine(const QString& location);

} // namespace engine
