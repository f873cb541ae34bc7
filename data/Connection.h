#pragma once
// One open database file. Opens an existing SQLCipher file with its password,
// never creates one, and checks that it is one of ours before anything else runs.
#include <QHash>
#include <QString>
#include <QStringList>
#include <memory>

struct sqlite3;
struct sqlite3_stmt;

// Which of our two files a connection expects.
enum class DbKind { Main, Exchange };

struct ColumnInfo {
    QString name;
    enum Type { Text, Float, Memo, Other } type = Text;
    int maxLength = 0; // characters; 0 = no limit
};

struct TableInfo {
    QString name;
    QList<ColumnInfo> columns;
    int indexOf(const QString& column) const;
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
    // connection string the windows build; only the data source and password are used.
    void setConnectionString(const QString& s);
    QString connectionString() const { return m_connectionString; }
    void setDatabase(const QString& path, const QString& password);
    QString path() const { return m_path; }

    void open(); // throws DbError; leaves the file untouched when it is not ours
    void close();
    bool isOpen() const { return m_db != nullptr; }

    // Runs one statement written in the Jet dialect (translated first).
    void execute(const QString& jetSql);
    // Runs SQLite statements as given (schema, pragmas, transactions).
    void executeNative(const QString& sql);
    int changes() const;
    long long lastInsertRowId() const;

    // Translation with this file's text columns known, for "+" between texts.
    QString translate(const QString& jetSql) const;

    const TableInfo* table(const QString& name) const;
    QStringList tableNames() const;

    sqlite3* handle() const { return m_db; }
    QString lastError() const;

    // An immediate transaction: the write lock is taken at begin, so two
    // workstations cannot interleave a read-then-write between them.
    class Transaction
    {
    public:
        explicit Transaction(Connection& c, bool immediate = true);
        ~Transaction(); // rolls back unless committed
        void commit();

    private:
        Connection& m_c;
        bool m_done = false;
    };

    static constexpr int kBusyTimeoutMs = 15000;

private:
    void loadSchema();
    void checkOurs();

    DbKind m_kind;
    QString m_connectionString;
    QString m_path;
    QString m_password;
    sqlite3* m_db = nullptr;
    QHash<QString, TableInfo> m_tables; // key: lower-case name
    QHash<QString, bool> m_textColumns; // any table; key: column name
};

// Statement with RAII finalize; binds values as parameters, never as text.
class Statement
{
public:
    Statement(Connection& c, const QString& nativeSql);
    ~Statement();
    Statement(const Statement&) = delete;
    Statement& operator=(const Statement&) = delete;
    void bind(int index1, const class QVariant& v);
    bool step(); // true while a row is available
    void reset();
    sqlite3_stmt* handle() const { return m_stmt; }
    QVariant value(int col) const;
    int columnCount() const;

private:
    Connection& m_c;
    sqlite3_stmt* m_stmt = nullptr;
};
