#pragma once
// One open database: a keyed SQLCipher file, or, for the main database, a
// PostgreSQL server database given by its address ("postgresql://user@host:port/
// dbname"). Opens an existing database only, and checks that it is one of ours
// before anything else runs. Nothing outside the data layer learns which engine
// is behind it: statements are Jet texts (execute, Query) or written in the
// portable form (Statement, run): standard SQL, double-quoted identifiers,
// single-quoted literals, parameters "?" or "?N".
#include "data/TableInfo.h"

#include <QHash>
#include <QString>
#include <QStringList>
#include <memory>

class QVariant;

namespace engine
{
class Engine;
class Cursor;
} // namespace engine

// Who works on a connection: the operator's staff number and the workstation,
// handed to the data layer at login and written with every change it keeps.
struct Actor {
    QString operatorNumber;
    QString workstation;
    // As the record tables store them (staff numbers have 5 characters, workstation
    // names at most 100); null when not known.
    QVariant storedOperator() const;
    QVariant storedWorkstation() const;
};

class Connection
{
public:
    explicit Connection(DbKind kind);
    ~Connection();
    Connection(const Connection&) = delete;
    Connection& operator=(const Connection&) = delete;

    DbKind kind() const { return m_kind; }

    // "Provider=...;Data Source=<path>;...;Jet OLEDB:Database Password=<pw>": the
    // connection string the windows build; only the data source and password are
    // used. The data source may be a server address; the password is the file's.
    // The data source is taken whole, whatever characters the path holds.
    void setConnectionString(const QString& s);
    QString connectionString() const { return m_connectionString; }
    void setDatabase(const QString& location, const QString& password);
    // The file path or server address.
    QString path() const { return m_path; }

    // Ours: the database is one of ours (throws DbError otherwise and leaves it
    // untouched). Usable, the login's check: besides, every stored page checks out
    // (a damaged file is refused, cause Damaged) and the database can be written
    // (cause ReadOnly otherwise), so nobody types a row that cannot be saved.
    enum class Check { Ours, Usable };
    void open(Check check = Check::Ours);
    // Opens without checking that the database is ours, making a missing file;
    // for tools and tests that make, change or drop databases directly.
    void openRaw();
    void close();
    bool isOpen() const;

    // Runs statements written in the Jet dialect (translated first).
    void execute(const QString& jetSql);
    // Runs one or more statements as given (portable form).
    void run(const QString& sql);

    // Translation with this database's columns known (for "+" between texts).
    QString translate(const QString& jetSql) const;

    const TableInfo* table(const QString& name) const;
    QStringList tableNames() const;
    // Reads the tables again (after tables were made on this connection).
    void reloadSchema();
    ColumnInfo::Type columnKind(const QString& column) const;

    // Whether the stored data is sound and readable.
    bool isSound();
    // How the engine runs a statement (portable form), as text.
    QString plan(const QString& sql);
    // Until the current transaction ends, other writers asking for the same key
    // wait (a file's write transaction already holds every other writer off).
    void lockWriters(const QString& key);

    // A write transaction (the writer's lock taken at begin where the engine has
    // one, so two workstations cannot interleave a read-then-write), or a
    // consistent read-only snapshot. Rolls back in the destructor unless committed.
    // Joined: part of the transaction the caller has open (which commits or rolls
    // back the whole), or a write transaction of its own when none is open.
    class Transaction
    {
    public:
        enum Mode { Write, Snapshot, Joined };
        explicit Transaction(Connection& c, Mode mode = Write);
        ~Transaction();
        void commit();

    private:
        Connection& m_c;
        bool m_done = false;
    };

    // The operator and workstation written with each change kept (history, bin).
    void setActor(const Actor& a) { m_actor = a; }
    const Actor& actor() const { return m_actor; }
    // Whether changes of listings and customers leave their history and deleted
    // rows go to the recycle bin (on; off only to measure what keeping them costs).
    void setKeepsRecords(bool on) { m_keepsRecords = on; }
    bool keepsRecords() const { return m_keepsRecords; }

    // A run of many writes: a larger cache while the object lives.
    class BulkScope
    {
    public:
        explicit BulkScope(Connection& c);
        ~BulkScope();

    private:
        Connection& m_c;
    };

    // Data layer only: the engine behind the connection (null while closed), and
    // one row written by identity (see Query).
    engine::Engine* engine() const { return m_engine.get(); }
    engine::Engine& requireEngine() const;
    long long writeRow(const QString& sql, const QList<QVariant>& args, long long identity,
                       long long* written);

private:
    void openWith(bool raw, Check check = Check::Ours);

    DbKind m_kind;
    QString m_connectionString;
    QString m_path;
    QString m_password;
    std::unique_ptr<engine::Engine> m_engine;
    Actor m_actor;
    bool m_keepsRecords = true;
    QHash<QString, TableInfo> m_tables;             // key: lower-case name
    QHash<QString, ColumnInfo::Type> m_columnKinds; // any table; key: column name
};

// A statement in the portable form with RAII clean-up; binds values as
// parameters, never as text.
class Statement
{
public:
    Statement(Connection& c, const QString& sql);
    ~Statement();
    Statement(const Statement&) = delete;
    Statement& operator=(const Statement&) = delete;
    void bind(int index1, const QVariant& v);
    // Binds the values to the parameters 1, 2, … in order.
    void bindAll(const QList<QVariant>& values);
    // Runs the statement at the first call; true while a row is available. The
    // result's columns (columnCount, columnName) are known after the first call.
    bool step();
    void reset();
    QVariant value(int col) const;
    // The value as a column of `type` is read (a number held by a memo as its text).
    QVariant value(int col, ColumnInfo::Type type) const;
    int columnCount() const;
    QString columnName(int col) const;
    bool isBinary(int col) const; // binary data, never a value of ours
    long long rowsAffected() const;
    engine::Cursor& cursor() const { return *m_cursor; }

private:
    std::unique_ptr<engine::Cursor> m_cursor;
};
