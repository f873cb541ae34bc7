#pragma once
// Which of many keys a table's column already holds, compared as the column and
// its unique index compare (letters without case): one indexed lookup per key on a
// file, one statement for a few hundred keys on a server.
#include "data/Connection.h"

#include <QSet>
#include <memory>

class KeyLookup
{
public:
    KeyLookup(Connection& c, const QString& table, const QString& column);
    ~KeyLookup();
    KeyLookup(const KeyLookup&) = delete;
    KeyLookup& operator=(const KeyLookup&) = delete;

    // The folded keys among `keys` that are stored.
    QSet<QString> present(const QStringList& keys);

    // A key as the column compares it: ASCII letters in lower case.
    static QString fold(const QString& key);

private:
    Connection& m_c;
    QString m_table, m_column;
    bool m_many = false;
    std::unique_ptr<Statement> m_one;
};
