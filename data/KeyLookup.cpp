#include "data/KeyLookup.h"

#include "data/Dialect.h"
#include "data/engine/Engine.h"

#include <QVariant>
#include <algorithm>

namespace
{
constexpr int kKeysPerStatement = 500;
} // namespace

KeyLookup::KeyLookup(Connection& c, const QString& table, const QString& column)
    : m_c(c), m_table(table), m_column(column)
{
    m_many = c.requireEngine().flavor() == engine::Flavor::Postgres;
}

KeyLookup::~KeyLookup() = default;

QString KeyLookup::fold(const QString& key)
{
    // Most keys hold no capital letter: they are given back shared, not copied.
    const auto isCapital = [](QChar ch) {
        return ch >= QLatin1Char('A') && ch <= QLatin1Char('Z');
    };
    if (std::none_of(key.cbegin(), key.cend(), isCapital)) return key;
    QString out = key;
    for (QChar& ch : out)
        if (ch >= QLatin1Char('A') && ch <= QLatin1Char('Z')) ch = QChar(ch.unicode() + 32);
    return out;
}

QSet<QString> KeyLookup::present(const QStringList& keys)
{
    QSet<QString> found;
    const QString col = Dialect::identifier(m_column), table = Dialect::identifier(m_table);
    if (!m_many) {
        if (!m_one)
            m_one = std::make_unique<Statement>(
                m_c, QStringLiteral("SELECT 1 FROM %1 WHERE %2=?1 LIMIT 1").arg(table, col));
        for (const QString& k : keys) {
            m_one->bind(1, k);
            if (m_one->step()) found.insert(fold(k));
            m_one->reset();
        }
        return found;
    }
    for (qsizetype from = 0; from < keys.size(); from += kKeysPerStatement) {
        const QStringList part = keys.mid(from, kKeysPerStatement);
        QStringList marks;
        for (int i = 1; i <= part.size(); ++i)
            marks << QStringLiteral("?%1").arg(i);
        Statement st(m_c, QStringLiteral("SELECT %1 FROM %2 WHERE %1 IN (%3)")
                              .arg(col, table, marks.join(QLatin1Char(','))));
        for (int i = 0; i < part.size(); ++i)
            st.bind(i + 1, part[i]);
        while (st.step())
            found.insert(fold(st.value(0).toString()));
    }
    return found;
}
