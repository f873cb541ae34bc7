#include "data/MemoText.h"

#include "data/DbError.h"
#include "data/Dialect.h"
#include "data/engine/Engine.h"

#include <QVariant>

namespace Schema
{

namespace
{

const QString kOldMemo = QStringLiteral(" MEMO COLLATE ");

struct Rebuilt {
    QString name;
    QString sql;
    QStringList indexes;
};

QList<Rebuilt> tablesToRebuild(Connection& c)
{
    QList<Rebuilt> out;
    Statement st(c, QStringLiteral("SELECT name, sql FROM sqlite_master WHERE type='table' AND "
                                   "instr(sql, ?) > 0 ORDER BY name"));
    st.bind(1, kOldMemo);
    while (st.step())
        out << Rebuilt{st.value(0).toString(), st.value(1).toString(), {}};
    for (Rebuilt& t : out) {
        // The indexes go with the old table; they are made again on the new one.
        Statement ix(c, QStringLiteral("SELECT sql FROM sqlite_master WHERE type='index' AND "
                                       "tbl_name=? AND sql IS NOT NULL ORDER BY name"));
        ix.bind(1, t.name);
        while (ix.step())
            t.indexes << ix.value(0).toString();
    }
    return out;
}

} // namespace

void keepMemosAsText(Connection& c)
{
    if (c.requireEngine().flavor() != engine::Flavor::SqlCipher) return;
    const QList<Rebuilt> tables = tablesToRebuild(c);
    if (tables.isEmpty()) return;
    // Copying the rows and making the indexes again go faster with a larger cache.
    Connection::BulkScope bulk(c);
    for (const Rebuilt& t : tables) {
        const TableInfo* info = c.table(t.name);
        if (!info) throw DbError(QStringLiteral("找不到数据表“%1”。").arg(t.name));
        QStringList columns, values;
        for (const ColumnInfo& col : info->columns) {
            const QString n = Dialect::identifier(col.name);
            columns << n;
            // The check on a memo column sees the value before the column's type
            // turns it into text: it is made text here.
            values << (col.type == ColumnInfo::Memo ? QStringLiteral("CAST(%1 AS TEXT)").arg(n)
                                                    : n);
        }
        const QString name = Dialect::identifier(t.name);
        const QString old = t.name + QStringLiteral("_改建前");
        if (c.table(old))
            throw DbError(
                QStringLiteral("数据库中已有数据表“%1”，无法改建数据表“%2”。").arg(old, t.name));
        // Renamed aside, made again under its own name with its own statement (only
        // the memo type changed) and filled: the numbers of numbered rows stay, a
        // memo value stored as a number becomes its text.
        c.run(QStringLiteral("ALTER TABLE %1 RENAME TO %2").arg(name, Dialect::identifier(old)));
        c.run(QString(t.sql).replace(kOldMemo, QLatin1Char(' ') + QLatin1String(kMemoType) +
                                                   QStringLiteral(" COLLATE ")));
        c.run(QStringLiteral("INSERT INTO %1 (%2) SELECT %3 FROM %4")
                  .arg(name, columns.join(QLatin1Char(',')), values.join(QLatin1Char(',')),
                       Dialect::identifier(old)));
        c.run(QStringLiteral("DROP TABLE %1").arg(Dialect::identifier(old)));
        for (const QString& index : t.indexes)
            c.run(index);
    }
    c.reloadSchema();
}

} // namespace Schema
