#include "app/core/Backup.h"

#include "data/Connection.h"
#include "data/DbError.h"

#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <sqlite3.h>

namespace
{

// How long the copy waits for another workstation's write to finish.
constexpr int kWaitMs = Connection::kBusyTimeoutMs;

struct Destination {
    sqlite3* db = nullptr;
    ~Destination()
    {
        if (db) sqlite3_close_v2(db);
    }
};

bool fail(QString* why, const QString& text)
{
    if (why) *why = text;
    return false;
}

// Runs the online backup from `src` into `dest`, waiting while another
// connection holds the source locked. Returns the final result code.
int runBackup(sqlite3* dest, sqlite3* src, QString* why)
{
    sqlite3_backup* b = sqlite3_backup_init(dest, "main", src, "main");
    if (!b) {
        if (why) *why = QString::fromUtf8(sqlite3_errmsg(dest));
        return SQLITE_ERROR;
    }
    QElapsedTimer waited;
    waited.start();
    int rc = SQLITE_OK;
    for (;;) {
        // All pages in one step: the read lock is held only while copying, and a
        // commit by another connection in between cannot mix two states.
        rc = sqlite3_backup_step(b, -1);
        if (rc == SQLITE_DONE) break;
        if ((rc == SQLITE_BUSY || rc == SQLITE_LOCKED) && waited.elapsed() < kWaitMs) {
            sqlite3_sleep(50);
            continue;
        }
        break;
    }
    const int finish = sqlite3_backup_finish(b);
    if (rc == SQLITE_DONE) rc = finish == SQLITE_OK ? SQLITE_DONE : finish;
    if (rc != SQLITE_DONE && why) *why = QString::fromUtf8(sqlite3_errstr(rc));
    return rc;
}

} // namespace

namespace Backup
{

QString targetName(const QString& chosen)
{
    return chosen + QStringLiteral(".mdb");
}

bool copyDatabase(const QString& source, const QString& target, const QString& password,
                  QString* why)
{
    if (source.isEmpty()) return fail(why, QStringLiteral("没有指定数据库文件。"));
    if (target.isEmpty()) return fail(why, QStringLiteral("没有指定备份文件。"));
    if (QFileInfo(source).canonicalFilePath() == QFileInfo(target).canonicalFilePath() &&
        QFileInfo::exists(target))
        return fail(why, QStringLiteral("备份文件不能是数据库文件本身。"));

    Connection src(DbKind::Main);
    src.setDatabase(source, password);
    try {
        src.open();
    } catch (const DbError& e) {
        return fail(why, e.text());
    }

    // Claim the name first: creating it exclusively means an existing file (or
    // one made by someone else at the same moment) is never overwritten.
    {
        QFile claim(target);
        if (!claim.open(QIODevice::WriteOnly | QIODevice::NewOnly))
            return fail(why, QFileInfo::exists(target)
                                 ? QStringLiteral("备份文件已经存在：%1").arg(target)
                                 : QStringLiteral("无法创建备份文件：%1").arg(claim.errorString()));
    }
    auto removeTarget = [&] { QFile::remove(target); };

    Destination dest;
    const QByteArray t = target.toUtf8();
    if (sqlite3_open_v2(t.constData(), &dest.db, SQLITE_OPEN_READWRITE, nullptr) != SQLITE_OK) {
        const QString text = QString::fromUtf8(sqlite3_errmsg(dest.db));
        sqlite3_close_v2(dest.db);
        dest.db = nullptr;
        removeTarget();
        return fail(why, text);
    }
    // Key the copy before anything is written: a destination without a key
    // would receive the pages as plain text.
    const QByteArray key = password.toUtf8();
    if (key.isEmpty() || sqlite3_key(dest.db, key.constData(), key.size()) != SQLITE_OK) {
        sqlite3_close_v2(dest.db);
        dest.db = nullptr;
        removeTarget();
        return fail(why, QStringLiteral("无法为备份文件设置密码。"));
    }
    const int rc = runBackup(dest.db, src.handle(), why);
    sqlite3_close_v2(dest.db);
    dest.db = nullptr;
    src.close();
    if (rc != SQLITE_DONE) {
        removeTarget();
        return false;
    }
    // The copy must open with the password and be one of ours.
    try {
        Connection check(DbKind::Main);
        check.setDatabase(target, password);
        check.open();
        Statement st(check, QStringLiteral("PRAGMA quick_check"));
        if (!st.step() || st.value(0).toString() != QLatin1String("ok"))
            throw DbError(QStringLiteral("备份文件检查未通过。"));
    } catch (const DbError& e) {
        removeTarget();
        return fail(why, e.text());
    }
    return true;
}

} // namespace Backup
