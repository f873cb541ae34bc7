#pragma once
// Exchange files in the exchange tests: opened with the exchange password, read
// back and planted with rows no export would write. An exchange file is always a
// SQLCipher file, whichever engine holds the main database.
#include "data/Connection.h"
#include "data/Query.h"
#include "data/Schema.h"

#include <QStringList>
#include <QVariant>
#include <memory>

inline std::unique_ptr<Connection> openExchange(const QString& path)
{
    auto c = std::make_unique<Connection>(DbKind::Exchange);
    c->setDatabase(path, QString::fromLatin1(Schema::exchangePassword()));
    c->open();
    return c;
}

inline QList<QVariantList> exchangeRows(const QString& path, const QString& sql)
{
    auto c = openExchange(path);
    Query q(c.get());
    q.addSql(sql);
    q.open();
    QList<QVariantList> out(q.recordCount());
    for (int row = 0; row < q.recordCount(); ++row)
        for (int f = 0; f < q.fieldCount(); ++f)
            out[row] << q.valueAt(row, f);
    return out;
}

// The archive numbers in an exchange table, in order.
inline QStringList exchangeKeys(const QString& path, const QString& table)
{
    QStringList keys;
    for (const QVariantList& r :
         exchangeRows(path, QStringLiteral("select 档案号 from %1 order by 档案号").arg(table)))
        keys << r.value(0).toString();
    return keys;
}

// Runs statements on an exchange file with its checks off, so that values no
// export would write can be planted.
inline void plant(const QString& path, const QStringList& sql)
{
    auto c = openExchange(path);
    c->run(QStringLiteral("PRAGMA ignore_check_constraints=ON"));
    for (const QString& s : sql)
        c->run(s);
}
