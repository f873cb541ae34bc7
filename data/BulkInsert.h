#pragma once
// Many rows into one table inside the caller's transaction: each row through one
// prepared statement on a file; on a server a few hundred rows per statement,
// since every statement there is a round trip. A refused row fails the statement
// it travels in (the caller's transaction is then rolled back whole).
#include "data/Connection.h"

#include <QVariant>
#include <QVector>
#include <memory>

class BulkInsert
{
public:
    BulkInsert(Connection& c, const QString& table, const QStringList& columns);
    ~BulkInsert();
    BulkInsert(const BulkInsert&) = delete;
    BulkInsert& operator=(const BulkInsert&) = delete;

    // One row, its values in the order of the columns; may write.
    void add(const QVector<QVariant>& row);
    // Writes what is still pending.
    void finish();
    // Rows written so far.
    long long written() const { return m_written; }

private:
    QString statementFor(int rows) const;
    void flush();

    Connection& m_c;
    QString m_table;
    QStringList m_columns;
    int m_batch = 1;
    std::unique_ptr<Statement> m_full; // for a whole batch
    QVector<QVector<QVariant>> m_pending;
    qsizetype m_pendingBytes = 0;
    long long m_written = 0;
};
