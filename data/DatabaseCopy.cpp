#include "data/DatabaseCopy.h"

#include "data/BackupTemp.h"
#include "data/BulkInsert.h"
#include "data/Connection.h"
#include "data/DbError.h"
#include "data/DbLocation.h"
#include "data/DealTables.h"
#include "data/PhotoTables.h"
#include "data/Reminders.h"
#include "data/Schema.h"
#include "data/SchemaUpgrade.h"
#include "data/SecurityTables.h"
#include "data/engine/Engine.h"
#include "data/engine/SqlCipherEngine.h"

#include <QFile>
#include <QFileInfo>

namespace DatabaseCopy
{

namespace
{

QString mainPassword()
{
    return QString::fromLatin1(Schema::mainPassword());
}

// The tables a copy moves: the ten of every main database, then the record
// tables (history, bin, notes) the reminders, the photos and the deals of a source that has them.
QList<Schema::TableDef> copiedTables()
{
    return Schema::mainTables() + Schema::recordTables() + Schema::securityTables() +
           Schema::reminderTables() + Schema::photoTables() + Schema::dealTables();
}

// Rows of a table with pictures read per statement: a server hands a statement's
// result over whole, so the pictures come a few at a time, by key.
constexpr int kPictureRowsPerRead = 16;

// Every row of every main table from `src` (inside its snapshot) into `dst`
// (inside its transaction), in the order they were stored; numbered rows keep
// their numbers.
QList<TableCount> copyRows(Connection& src, Connection& dst)
{
    QList<TableCount> counts;
    Connection::BulkScope bulk(dst);
    const engine::Flavor from = src.requireEngine().flavor();
    for (const Schema::TableDef& t : copiedTables()) {
        const QString table = QString::fromUtf8(t.name);
        if (!src.table(table)) continue; // a database of layout 1 has no record tables
        QStringList names, quoted;
        QList<ColumnInfo::Type> types;
        for (const Schema::ColumnDef& c : t.columns) {
            names << QString::fromUtf8(c.name);
            quoted << Dialect::identifier(names.last());
            types << c.type;
        }
        const bool pictures = types.contains(ColumnInfo::Binary);
        const QString select = QStringLiteral("SELECT %1 FROM %2")
                                   .arg(quoted.join(QLatin1Char(',')), Dialect::identifier(table));
        BulkInsert ins(dst, table, names);
        QVector<QVariant> row(names.size());
        QVariant after; // the last key read, for tables read a few rows at a time
        for (bool more = true; more;) {
            more = false;
            Statement rd(src, pictures ? select + QStringLiteral(" WHERE %1>? ORDER BY %1 LIMIT %2")
                                                      .arg(quoted.first())
                                                      .arg(kPictureRowsPerRead)
                                       : select + QStringLiteral(" ORDER BY %1")
                                                      .arg(t.numbered ? quoted.first()
                                                                      : Dialect::rowId(from)));
            if (pictures) rd.bind(1, after.isNull() ? QVariant(qlonglong(-1)) : after);
            while (rd.step()) {
                for (int i = 0; i < names.size(); ++i) {
                    if (types[i] == ColumnInfo::Binary) {
                        row[i] = rd.value(i);
                        continue;
                    }
                    if (rd.isBinary(i))
                        throw DbError(QStringLiteral("数据表“%1”的“%2”中有不能识别的数据。")
                                          .arg(table, names[i]));
                    row[i] = rd.cursor().cell(i, types[i]);
                }
                ins.add(row);
                if (pictures) {
                    after = row[0];
                    more = true;
                }
            }
        }
        ins.finish();
        counts << TableCount{table, ins.written()};
    }
    // A source of an older layout brings plain passwords: the copy keeps hashes.
    if (!src.table(QStringLiteral("操作员密码"))) OperatorPasswords::hashPlainPasswords(dst);
    Schema::continueNumbering(dst);
    return counts;
}

// A database of ours already there: every table must be empty.
void requireEmpty(Connection& c, const QString& target)
{
    for (const Schema::TableDef& t : copiedTables()) {
        if (!c.table(QString::fromUtf8(t.name))) continue;
        Statement st(c, QStringLiteral("SELECT count(*) FROM %1")
                            .arg(Dialect::identifier(QString::fromUtf8(t.name))));
        const long long n = st.step() ? st.value(0).toLongLong() : 0;
        if (n > 0)
            throw DbError(QStringLiteral("目标数据库不是空的（数据表“%1”中已有 %2 条记录），"
                                         "不会改动它：%3")
                              .arg(QString::fromUtf8(t.name))
                              .arg(n)
                              .arg(DbLocation::display(target)));
    }
}

} // namespace

QList<TableCount> copy(const QString& source, const QString& target)
{
    if (source.trimmed().isEmpty() || target.trimmed().isEmpty())
        throw DbError(QStringLiteral("没有指定源数据库或目标数据库。"));
    if (DbLocation::withoutPassword(source.trimmed()) ==
        DbLocation::withoutPassword(target.trimmed()))
        throw DbError(QStringLiteral("源数据库和目标数据库不能是同一个。"));
    Connection src(DbKind::Main);
    src.setDatabase(source, mainPassword());
    src.open();
    // Tables of a newer layout would not come along: such a source is refused.
    SchemaUpgrade::requireKnown(src);
    Connection::Transaction snapshot(src, Connection::Transaction::Snapshot);
    QList<TableCount> counts;
    const bool toFile = engine::flavorOf(target) == engine::Flavor::SqlCipher;
    bool made = false;
    if (toFile && !QFileInfo::exists(target)) {
        Schema::createMainFile(target, mainPassword(),
                               [&](Connection& dst) { counts = copyRows(src, dst); });
        made = true;
    } else if (!toFile) {
        Connection probe(DbKind::Main);
        probe.setDatabase(target, QString());
        probe.openRaw();
        if (probe.tableNames().isEmpty()) {
            probe.close();
            Schema::createMainDatabase(target, false,
                                       [&](Connection& dst) { counts = copyRows(src, dst); });
            made = true;
        }
    }
    if (!made) {
        Connection dst(DbKind::Main);
        dst.setDatabase(target, mainPassword());
        dst.open();
        // An empty target of an older layout gets the record tables first; one
        // that is not empty is refused before anything changes.
        requireEmpty(dst, target);
        SchemaUpgrade::upgrade(dst);
        Connection::Transaction t(dst);
        requireEmpty(dst, target);
        counts = copyRows(src, dst);
        t.commit();
    }
    snapshot.commit();
    if (!toFile) {
        // The server plans its statements from statistics it otherwise gathers only
        // some minutes later: until then a search of the copied tables may be slow.
        // The copy is done whether or not this succeeds.
        try {
            Connection dst(DbKind::Main);
            dst.setDatabase(target, QString());
            dst.openRaw();
            dst.run(QStringLiteral("ANALYZE"));
        } catch (const DbError&) {
        }
    }
    return counts;
}

bool backup(const QString& source, const QString& target, const QString& password, QString* why)
{
    auto fail = [&](const QString& text) {
        if (why) *why = text;
        return false;
    };
    if (source.isEmpty()) return fail(QStringLiteral("没有指定数据库文件。"));
    if (target.isEmpty()) return fail(QStringLiteral("没有指定备份文件。"));
    if (QFileInfo(source).canonicalFilePath() == QFileInfo(target).canonicalFilePath() &&
        QFileInfo::exists(target))
        return fail(QStringLiteral("备份文件不能是数据库文件本身。"));
    if (QFileInfo::exists(target))
        return fail(QStringLiteral("备份文件已存在，不会覆盖：%1").arg(target));

    // The copy is written under a temporary name beside the target, checked, and
    // only then renamed to the chosen name: an interrupted backup (a crash, a kill,
    // a full disk) never leaves a file under that name, and its leftover is removed
    // by the next backup to the same name.
    BackupTemp::removeLeftovers(target);
    const QString temp = BackupTemp::nameFor(target);
    Connection src(DbKind::Main);
    src.setDatabase(source, password);
    try {
        src.open();
    } catch (const DbError& e) {
        return fail(e.text());
    }
    auto* file = dynamic_cast<engine::SqlCipherEngine*>(src.engine());
    if (!file) {
        // From a server: the rows of one snapshot into a new file.
        try {
            Connection::Transaction snapshot(src, Connection::Transaction::Snapshot);
            Schema::createMainFile(temp, password, [&](Connection& dst) { copyRows(src, dst); });
        } catch (const DbError& e) {
            return fail(e.text());
        }
    } else {
        // From a file: its pages, while it stays open. The temporary file is made
        // exclusively, so nothing anyone else made is ever written over.
        {
            QFile claim(temp);
            if (!claim.open(QIODevice::WriteOnly | QIODevice::NewOnly))
                return fail(QStringLiteral("无法创建备份文件：%1").arg(claim.errorString()));
        }
        QString reason;
        const bool ok = file->copyPagesTo(temp, password, &reason);
        src.close();
        if (!ok) {
            QFile::remove(temp);
            return fail(reason);
        }
    }
    // The copy must open with the password, be one of ours and be sound.
    try {
        Connection check(DbKind::Main);
        check.setDatabase(temp, password);
        check.open();
        if (!check.isSound()) throw DbError(QStringLiteral("备份文件检查未通过。"));
    } catch (const DbError& e) {
        QFile::remove(temp);
        return fail(e.text());
    }
    // Never over a file that appeared under the chosen name meanwhile.
    QFile done(temp);
    if (!done.rename(target)) {
        const QString text = QFileInfo::exists(target)
                                 ? QStringLiteral("备份文件已存在，不会覆盖：%1").arg(target)
                                 : QStringLiteral("无法命名备份文件：%1").arg(done.errorString());
        QFile::remove(temp);
        return fail(text);
    }
    return true;
}

} // namespace DatabaseCopy
