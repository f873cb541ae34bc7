#pragma once
// A PostgreSQL server database reached through libpq: an office's main database
// shared by several workstations. Texts are citext columns (letters compared
// without case, as in the file) with the width enforced by named checks.
#include "data/engine/Engine.h"

#include <QHash>
#include <QStringList>
#include <memory>

struct pg_conn;
struct pg_result;

namespace engine
{

// One result of the server, cleared when its owner goes: also when a later
// statement throws while it is still held.
struct ResultClear {
    void operator()(pg_result* r) const noexcept;
};
using PgResult = std::unique_ptr<pg_result, ResultClear>;

class PgEngine : public Engine
{
public:
    ~PgEngine() override;
    Flavor flavor() const override { return Flavor::Postgres; }

    void open(const QString& location, const QString& password, DbKind kind, bool raw) override;
    void close() override;
    bool isOpen() const override { return m_conn != nullptr; }

    std::unique_ptr<Cursor> prepare(const QString& sql) override;
    QVariant rowIdParam(long long id) const override
    {
        return QStringLiteral("(%1,%2)").arg(id >> 16).arg(id & 0xffff);
    }
    void run(const QString& sql) override;
    long long runOne(const QString& sql) override;

    void begin(TxMode mode) override;
    void commit() override;
    void rollback() noexcept override;
    bool inTransaction() const override { return m_inTransaction; }
    void lockWriters(const QString& key) override;

    QList<TableInfo> readTables() override;
    bool isSound() override;
    void checkUsable(DbKind kind) override;
    QString plan(const QString& sql) override;
    void beginBulk() override {}
    void endBulk() noexcept override {}

    // For the cursors.
    pg_conn* connection(); // reconnects first when the link was lost outside a transaction
    int session() const { return m_session; } // changes with every reconnection
    QString newStatementName();
    void forget(const QByteArray& statementName); // deallocated at the next chance
    QString tableName(unsigned oid) const { return m_tableNames.value(oid); }
    QString columnName(unsigned oid, int attnum) const
    {
        return m_columnNames.value((quint64(oid) << 16) | quint64(attnum));
    }
    // The text of a failed result (or of the connection when there is none); the
    // result stays its owner's.
    [[noreturn]] void fail(const pg_result* res);

private:
    void setUpSession();
    void checkOurs();
    PgResult exec(const QString& sql);
    void flushForgotten();

    pg_conn* m_conn = nullptr;
    QString m_location;
    bool m_inTransaction = false;
    int m_session = 0;
    int m_statements = 0;
    QList<QByteArray> m_forgotten;
    QHash<unsigned, QString> m_tableNames;
    QHash<quint64, QString> m_columnNames;
};

// The statement with "?" and "?N" turned into "$N" (outside literals and quoted
// names); `params` gets the number of parameters, `several` whether a second
// statement follows the first.
QByteArray serverText(const QString& portable, int* params = nullptr, bool* several = nullptr);

} // namespace engine
