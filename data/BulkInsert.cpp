#include "data/BulkInsert.h"

#include "data/Dialect.h"
#include "data/engine/Engine.h"

namespace
{
// Parameters in one server statement; the server takes up to 65535.
constexpr int kServerParameters = 8000;
// Bytes of pictures held before the rows are written.
constexpr qsizetype kPendingBytes = 8 * 1024 * 1024;
} // namespace

BulkInsert::BulkInsert(Connection& c, const QString& table, const QStringList& columns)
    : m_c(c), m_table(table), m_columns(columns)
{
    if (c.requireEngine().flavor() == engine::Flavor::Postgres)
        m_batch = qMax(1, kServerParameters / qMax(1, int(columns.size())));
}

BulkInsert::~BulkInsert() = default;

QString BulkInsert::statementFor(int rows) const
{
    QStringList names;
    for (const QString& c : m_columns)
        names << Dialect::identifier(c);
    QStringList tuples;
    int p = 0;
    for (int r = 0; r < rows; ++r) {
        QStringList marks;
        for (int i = 0; i < m_columns.size(); ++i)
            marks << QStringLiteral("?%1").arg(++p);
        tuples << QLatin1Char('(') + marks.join(QLatin1Char(',')) + QLatin1Char(')');
    }
    return QStringLiteral("INSERT INTO %1 (%2) VALUES %3")
        .arg(Dialect::identifier(m_table), names.join(QLatin1Char(',')),
             tuples.join(QLatin1Char(',')));
}

void BulkInsert::add(const QVector<QVariant>& row)
{
    m_pending.append(row);
    // Rows with pictures are written before many of them pile up in memory.
    for (const QVariant& v : row)
        if (v.typeId() == QMetaType::QByteArray) m_pendingBytes += v.toByteArray().size();
    if (m_pending.size() >= m_batch || m_pendingBytes >= kPendingBytes) flush();
}

void BulkInsert::finish()
{
    if (!m_pending.isEmpty()) flush();
}

void BulkInsert::flush()
{
    const int rows = int(m_pending.size());
    std::unique_ptr<Statement> tail;
    Statement* st;
    if (rows == m_batch) {
        if (!m_full) m_full = std::make_unique<Statement>(m_c, statementFor(m_batch));
        st = m_full.get();
    } else {
        tail = std::make_unique<Statement>(m_c, statementFor(rows));
        st = tail.get();
    }
    int p = 0;
    for (const QVector<QVariant>& row : m_pending)
        for (const QVariant& v : row)
            st->bind(++p, v);
    st->step();
    st->reset();
    m_written += rows;
    m_pending.clear();
    m_pendingBytes = 0;
}
