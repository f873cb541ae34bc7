#include "data/engine/SqlCipherEngine.h"

#include "data/DbError.h"
#include "data/Schema.h"
#include "data/engine/TextCache.h"

#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>
#include <fcntl.h>
#include <sqlite3.h>
#include <unistd.h>

namespace engine
{

namespace
{

QString readOnlyFileText(const QString& path)
{
    return QStringLiteral("数据库文件是只读的（没有写入权限，或放在只读的共享文件夹中），"
                          "不能写入：%1")
        .arg(path);
}

QString readOnlyFolderText(const QString& path)
{
    return QStringLiteral("数据库文件所在的文件夹不能写入（文件夹是只读的，或没有写入权限），"
                          "不能写入：%1")
        .arg(path);
}

QString fileWhat(DbKind kind)
{
    return kind == DbKind::Main ? QStringLiteral("数据库文件") : QStringLiteral("交换数据库文件");
}

QString damagedText(const QString& path, DbKind kind = DbKind::Main)
{
    return QStringLiteral("%1已损坏：%2").arg(fileWhat(kind), path);
}

QString fileOf(sqlite3* db)
{
    const char* f = sqlite3_db_filename(db, "main");
    return QString::fromUtf8(f ? f : "");
}

// The engine's text, with a value refused by one of our named checks told in the
// words the windows use, and what stands in the way of a write told by its cause
// (never "another workstation" for a file that cannot be written at all).
DbError errorOf(sqlite3* db)
{
    const QString text = QString::fromUtf8(sqlite3_errmsg(db));
    static const QLatin1String check("CHECK constraint failed: ");
    if (text.startsWith(check)) {
        const QString mine = Schema::violationText(text.mid(check.size()));
        if (!mine.isEmpty()) return DbError(mine);
    }
    // The search boxes take far less; a statement from elsewhere still gets words.
    if (text.contains(QLatin1String("pattern too complex")))
        return DbError(QStringLiteral("要查找的文字太长，请缩短后再查。"));
    using C = DbError::Cause;
    switch (sqlite3_extended_errcode(db) & 0xff) {
    case SQLITE_BUSY:
    case SQLITE_LOCKED:
        return DbError(busyText(), C::Busy);
    case SQLITE_READONLY:
        return DbError(readOnlyFileText(fileOf(db)), C::ReadOnly);
    case SQLITE_CANTOPEN:
        // An open database that cannot open a file: the journal beside it.
        return DbError(readOnlyFolderText(fileOf(db)), C::ReadOnly);
    case SQLITE_CORRUPT:
    case SQLITE_NOTADB:
        return DbError(damagedText(fileOf(db)), C::Damaged);
    case SQLITE_FULL:
        return DbError(QStringLiteral("磁盘已满，不能写入：%1").arg(fileOf(db)));
    case SQLITE_IOERR:
        return DbError(QStringLiteral("读写数据库文件出错（磁盘或网络共享出了问题）：%1\n%2")
                           .arg(fileOf(db), text));
    default:
        return DbError(text);
    }
}

class SqliteCursor : public Cursor
{
public:
    SqliteCursor(sqlite3* db, const QString& sql) : m_db(db)
    {
        const QByteArray s = sql.toUtf8();
        if (sqlite3_prepare_v2(db, s.constData(), s.size(), &m_st, nullptr) != SQLITE_OK) {
            const DbError e = errorOf(db);
            sqlite3_finalize(m_st);
            throw e;
        }
    }
    ~SqliteCursor() override { sqlite3_finalize(m_st); }

    void bind(int i, const QVariant& v) override
    {
        int rc;
        if (!v.isValid() || v.isNull()) {
            rc = sqlite3_bind_null(m_st, i);
        } else {
            switch (v.typeId()) {
            case QMetaType::Double:
            case QMetaType::Float:
                rc = sqlite3_bind_double(m_st, i, v.toDouble());
                break;
            case QMetaType::Int:
            case QMetaType::LongLong:
            case QMetaType::UInt:
            case QMetaType::ULongLong:
                rc = sqlite3_bind_int64(m_st, i, v.toLongLong());
                break;
            case QMetaType::QByteArray: {
                const QByteArray b = v.toByteArray();
                rc = sqlite3_bind_blob(m_st, i, b.constData(), b.size(), SQLITE_TRANSIENT);
                break;
            }
            default: {
                const QByteArray b = v.toString().toUtf8();
                rc = sqlite3_bind_text(m_st, i, b.constData(), b.size(), SQLITE_TRANSIENT);
            }
            }
        }
        if (rc != SQLITE_OK) throw errorOf(m_db);
    }
    bool step() override
    {
        const int rc = sqlite3_step(m_st);
        if (rc == SQLITE_ROW) return true;
        if (rc == SQLITE_DONE) {
            m_changes = sqlite3_changes(m_db);
            return false;
        }
        throw errorOf(m_db);
    }
    void reset() override
    {
        sqlite3_reset(m_st);
        sqlite3_clear_bindings(m_st);
    }
    int columnCount() const override { return sqlite3_column_count(m_st); }
    QString columnName(int col) const override
    {
        return QString::fromUtf8(sqlite3_column_name(m_st, col));
    }
    ColumnOrigin origin(int col) const override
    {
        const char* t = sqlite3_column_table_name(m_st, col);
        const char* o = sqlite3_column_origin_name(m_st, col);
        if (!t || !o) return {};
        return {QString::fromUtf8(t), QString::fromUtf8(o)};
    }
    QVariant value(int col) const override
    {
        switch (sqlite3_column_type(m_st, col)) {
        case SQLITE_INTEGER:
            return QVariant(qlonglong(sqlite3_column_int64(m_st, col)));
        case SQLITE_FLOAT:
            return QVariant(sqlite3_column_double(m_st, col));
        case SQLITE_NULL:
            return QVariant();
        case SQLITE_BLOB:
            return QByteArray(static_cast<const char*>(sqlite3_column_blob(m_st, col)),
                              sqlite3_column_bytes(m_st, col));
        default:
            return text(col);
        }
    }
    QVariant cell(int col, ColumnInfo::Type type, TextCache* texts) const override
    {
        switch (sqlite3_column_type(m_st, col)) {
        case SQLITE_NULL:
            return QVariant();
        case SQLITE_INTEGER:
            if (type == ColumnInfo::Float) return double(sqlite3_column_int64(m_st, col));
            // A memo of a file made before its column kept text as text may hold
            // a number: it is read as the text it shows.
            if (type == ColumnInfo::Memo) return text(col);
            return qlonglong(sqlite3_column_int64(m_st, col));
        case SQLITE_FLOAT:
            if (type == ColumnInfo::Memo) return text(col);
            return sqlite3_column_double(m_st, col);
        case SQLITE_BLOB:
            return value(col); // bytes stay bytes
        default:
            if (!texts) return text(col);
            const char* p = reinterpret_cast<const char*>(sqlite3_column_text(m_st, col));
            return texts->get(p, sqlite3_column_bytes(m_st, col));
        }
    }
    bool isBinary(int col) const override { return sqlite3_column_type(m_st, col) == SQLITE_BLOB; }
    long long rowId(int col) const override { return sqlite3_column_int64(m_st, col); }
    long long rowsAffected() const override { return m_changes; }
    long long lastInsertRowId() const override { return sqlite3_last_insert_rowid(m_db); }

    sqlite3_stmt* handle() const { return m_st; }

private:
    QString text(int col) const
    {
        // Bytes first: the length is only valid after the text is made.
        const char* p = reinterpret_cast<const char*>(sqlite3_column_text(m_st, col));
        return QString::fromUtf8(p, sqlite3_column_bytes(m_st, col));
    }

    sqlite3* m_db;
    sqlite3_stmt* m_st = nullptr;
    long long m_changes = 0;
};

} // namespace

SqlCipherEngine::~SqlCipherEngine()
{
    close();
}

void SqlCipherEngine::open(const QString& location, const QString& password, DbKind kind, bool raw)
{
    close();
    const QString what = fileWhat(kind);
    if (location.isEmpty()) throw DbError(QStringLiteral("没有指定%1。").arg(what));
    if (!raw) {
        QFileInfo fi(location);
        if (!fi.exists() || !fi.isFile())
            throw DbError(QStringLiteral("%1不存在：%2").arg(what, location));
        // Read the header ourselves: a plain SQLite file would otherwise be opened
        // (and could be changed) without any password at all.
        QFile f(location);
        if (!f.open(QIODevice::ReadOnly))
            throw DbError(QStringLiteral("无法读取%1：%2").arg(what, location));
        const QByteArray head = f.read(16);
        if (head.size() < 16)
            throw DbError(
                QStringLiteral("%1不是本系统的数据库（文件为空或已损坏）：%2").arg(what, location));
        if (head == QByteArray("SQLite format 3\0", 16))
            throw DbError(QStringLiteral("%1没有加密，不是本系统的数据库：%2").arg(what, location));
    }
    sqlite3* db = nullptr;
    const QByteArray p = location.toUtf8();
    // A checked open never makes a file: a missing one must not appear here. A
    // connection is used by one thread only, so the engine's own locking of every
    // call (a fifth of the time of reading a large result) is left out.
    const int flags = SQLITE_OPEN_NOMUTEX |
                      (raw ? SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE : SQLITE_OPEN_READWRITE);
    if (sqlite3_open_v2(p.constData(), &db, flags, nullptr) != SQLITE_OK) {
        const QString text = QString::fromUtf8(sqlite3_errmsg(db));
        sqlite3_close(db);
        throw DbError(QStringLiteral("无法打开%1：%2").arg(what, text));
    }
    m_db = db;
    m_path = location;
    try {
        const QByteArray key = password.toUtf8();
        if ((!raw || !key.isEmpty()) && sqlite3_key(db, key.constData(), key.size()) != SQLITE_OK)
            throw DbError(QStringLiteral("无法设置数据库密码。"));
        sqlite3_busy_timeout(db, kBusyTimeoutMs);
        if (!raw) {
            checkOurs(kind);
            // Rollback journal: a write-ahead log does not work over network shares.
            run(QStringLiteral("PRAGMA journal_mode=DELETE"));
            run(QStringLiteral("PRAGMA cell_size_check=ON"));
        }
    } catch (...) {
        close();
        throw;
    }
}

void SqlCipherEngine::checkOurs(DbKind kind)
{
    const QString what = fileWhat(kind);
    {
        SqliteCursor st(m_db, QStringLiteral("PRAGMA cipher_version"));
        if (!st.step() || st.value(0).toString().isEmpty())
            throw DbError(QStringLiteral("数据库加密组件不可用。"));
    }
    int appId = 0;
    {
        sqlite3_stmt* s = nullptr;
        if (sqlite3_prepare_v2(m_db, "PRAGMA application_id", -1, &s, nullptr) != SQLITE_OK ||
            sqlite3_step(s) != SQLITE_ROW) {
            sqlite3_finalize(s);
            throw DbError(
                QStringLiteral("%1的密码不对，或者它不是本系统的数据库：%2").arg(what, m_path));
        }
        appId = sqlite3_column_int(s, 0);
        sqlite3_finalize(s);
    }
    if (appId != Schema::appId(kind))
        throw DbError(QStringLiteral("%1不是本系统的%2：%3")
                          .arg(what,
                               kind == DbKind::Main ? QStringLiteral("数据库操作文件")
                                                    : QStringLiteral("数据库导出文件"),
                               m_path));
    QStringList names;
    {
        SqliteCursor st(m_db, QStringLiteral("SELECT name FROM sqlite_master WHERE type='table'"));
        while (st.step())
            names << st.value(0).toString();
    }
    for (const Schema::TableDef& t : Schema::tables(kind)) {
        if (!names.contains(QString::fromUtf8(t.name)))
            throw DbError(QStringLiteral("%1缺少数据表“%2”：%3")
                              .arg(what, QString::fromUtf8(t.name), m_path));
    }
}

void SqlCipherEngine::close()
{
    if (m_db) {
        sqlite3_close_v2(m_db);
        m_db = nullptr;
    }
}

std::unique_ptr<Cursor> SqlCipherEngine::prepare(const QString& sql)
{
    if (!m_db) throw DbError(QStringLiteral("数据库连接没有打开。"));
    return std::make_unique<SqliteCursor>(m_db, sql);
}

void SqlCipherEngine::run(const QString& sql)
{
    if (!m_db) throw DbError(QStringLiteral("数据库连接没有打开。"));
    char* err = nullptr;
    if (sqlite3_exec(m_db, sql.toUtf8().constData(), nullptr, nullptr, &err) != SQLITE_OK) {
        sqlite3_free(err);
        throw errorOf(m_db);
    }
}

long long SqlCipherEngine::runOne(const QString& sql)
{
    if (!m_db) throw DbError(QStringLiteral("数据库连接没有打开。"));
    const QByteArray bytes = sql.toUtf8();
    const char* tail = nullptr;
    sqlite3_stmt* h = nullptr;
    if (sqlite3_prepare_v2(m_db, bytes.constData(), bytes.size(), &h, &tail) != SQLITE_OK) {
        const DbError e = errorOf(m_db);
        sqlite3_finalize(h);
        throw e;
    }
    // One statement per query: anything after it would be a second statement.
    const QByteArray rest = tail ? QByteArray(tail).trimmed() : QByteArray();
    if (!rest.isEmpty() && rest != ";") {
        sqlite3_finalize(h);
        throw DbError(QStringLiteral("一个查询只能执行一条语句。"));
    }
    int rc;
    while ((rc = sqlite3_step(h)) == SQLITE_ROW) {
    }
    if (rc != SQLITE_DONE) {
        const DbError e = errorOf(m_db);
        sqlite3_finalize(h);
        throw e;
    }
    sqlite3_finalize(h);
    return sqlite3_changes(m_db);
}

void SqlCipherEngine::begin(TxMode mode)
{
    if (mode == TxMode::Write) {
        // Immediate: the write lock is taken at begin, so two workstations cannot
        // interleave a read-then-write between them.
        run(QStringLiteral("BEGIN IMMEDIATE"));
        return;
    }
    // The shared lock is taken by the first read and held to the end.
    run(QStringLiteral("BEGIN"));
    try {
        SqliteCursor st(m_db, QStringLiteral("SELECT count(*) FROM sqlite_master"));
        st.step();
    } catch (...) {
        rollback();
        throw;
    }
}

void SqlCipherEngine::commit()
{
    run(QStringLiteral("COMMIT"));
}

void SqlCipherEngine::rollback() noexcept
{
    if (m_db && !sqlite3_get_autocommit(m_db))
        sqlite3_exec(m_db, "ROLLBACK", nullptr, nullptr, nullptr);
}

bool SqlCipherEngine::inTransaction() const
{
    return m_db && !sqlite3_get_autocommit(m_db);
}

QList<TableInfo> SqlCipherEngine::readTables()
{
    QList<TableInfo> out;
    QStringList names;
    {
        SqliteCursor st(m_db, QStringLiteral("SELECT name FROM sqlite_master WHERE type='table'"));
        while (st.step())
            names << st.value(0).toString();
    }
    static const QRegularExpression width(QStringLiteral("\\((\\d+)\\)"));
    for (const QString& n : names) {
        TableInfo ti;
        ti.name = n;
        SqliteCursor st(m_db, QStringLiteral("PRAGMA table_info(%1)").arg(Dialect::identifier(n)));
        while (st.step()) {
            ColumnInfo c;
            c.name = st.value(1).toString();
            const QString type = st.value(2).toString().toUpper();
            if (type.startsWith(QLatin1String("TEXT")) ||
                type.startsWith(QLatin1String("VARCHAR"))) {
                c.type = ColumnInfo::Text;
                const auto m = width.match(type);
                c.maxLength = m.hasMatch() ? m.captured(1).toInt() : 0;
            } else if (type.startsWith(QLatin1String("MEMO"))) {
                c.type = ColumnInfo::Memo;
            } else if (type == QLatin1String("INTEGER")) {
                c.type = ColumnInfo::Integer;
            } else if (type.startsWith(QLatin1String("FLOAT")) ||
                       type.startsWith(QLatin1String("REAL")) ||
                       type.startsWith(QLatin1String("DOUBLE"))) {
                c.type = ColumnInfo::Float;
            } else if (type == QLatin1String("BLOB")) {
                c.type = ColumnInfo::Binary;
            } else {
                c.type = ColumnInfo::Other;
            }
            ti.columns << c;
        }
        out << ti;
    }
    return out;
}

bool SqlCipherEngine::isSound()
{
    // Damaged pages must be refused, not read. Every page is read once (each one's
    // check value is verified as it is decrypted) and every tree walked; the index
    // entries are not compared with their rows (integrity_check, five times slower),
    // since a damaged page already fails its check value. See bench_login.
    run(QStringLiteral("PRAGMA cell_size_check=ON"));
    try {
        SqliteCursor qc(m_db, QStringLiteral("PRAGMA quick_check"));
        return qc.step() && qc.value(0).toString() == QLatin1String("ok") && !qc.step();
    } catch (const DbError& e) {
        if (e.cause() == DbError::Cause::Damaged) return false;
        throw;
    }
}

void SqlCipherEngine::checkUsable(DbKind kind)
{
    // A file the system may not write is refused now, not at the first save: the
    // file itself (opened for reading only), or its folder, where each write
    // makes its journal.
    if (sqlite3_db_readonly(m_db, "main") == 1)
        throw DbError(readOnlyFileText(m_path), DbError::Cause::ReadOnly);
    const QString folder = QFileInfo(m_path).absolutePath();
    if (::faccessat(AT_FDCWD, QFile::encodeName(folder).constData(), W_OK, AT_EACCESS) != 0)
        throw DbError(readOnlyFolderText(m_path), DbError::Cause::ReadOnly);
    if (!isSound()) throw DbError(damagedText(m_path, kind), DbError::Cause::Damaged);
}

QString SqlCipherEngine::plan(const QString& sql)
{
    SqliteCursor st(m_db, QStringLiteral("EXPLAIN QUERY PLAN ") + sql);
    QStringList lines;
    while (st.step())
        lines << st.value(3).toString();
    return lines.join(QStringLiteral("\n"));
}

void SqlCipherEngine::beginBulk()
{
    // The inserts touch the table and its indexes all over, and each page read
    // from the encrypted file must be decrypted again.
    SqliteCursor st(m_db, QStringLiteral("PRAGMA cache_size"));
    if (st.step()) m_oldCache = st.value(0).toLongLong();
    run(QStringLiteral("PRAGMA cache_size=-65536"));
}

void SqlCipherEngine::endBulk() noexcept
{
    if (m_db)
        sqlite3_exec(m_db,
                     QStringLiteral("PRAGMA cache_size=%1").arg(m_oldCache).toUtf8().constData(),
                     nullptr, nullptr, nullptr);
}

bool SqlCipherEngine::copyPagesTo(const QString& target, const QString& key, QString* why)
{
    auto fail = [&](const QString& text) {
        if (why) *why = text;
        return false;
    };
    sqlite3* dest = nullptr;
    const QByteArray t = target.toUtf8();
    if (sqlite3_open_v2(t.constData(), &dest, SQLITE_OPEN_READWRITE, nullptr) != SQLITE_OK) {
        const QString text = QString::fromUtf8(sqlite3_errmsg(dest));
        sqlite3_close_v2(dest);
        return fail(text);
    }
    struct Closer {
        sqlite3* db;
        ~Closer() { sqlite3_close_v2(db); }
    } closer{dest};
    // Key the copy before anything is written: a destination without a key would
    // receive the pages as plain text.
    const QByteArray k = key.toUtf8();
    if (k.isEmpty() || sqlite3_key(dest, k.constData(), k.size()) != SQLITE_OK)
        return fail(QStringLiteral("无法为备份文件设置密码。"));
    sqlite3_backup* b = sqlite3_backup_init(dest, "main", m_db, "main");
    if (!b) return fail(QString::fromUtf8(sqlite3_errmsg(dest)));
    QElapsedTimer waited;
    waited.start();
    int rc = SQLITE_OK;
    for (;;) {
        // All pages in one step: the read lock is held only while copying, and a
        // commit by another connection in between cannot mix two states.
        rc = sqlite3_backup_step(b, -1);
        if (rc == SQLITE_DONE) break;
        if ((rc == SQLITE_BUSY || rc == SQLITE_LOCKED) && waited.elapsed() < kBusyTimeoutMs) {
            sqlite3_sleep(50);
            continue;
        }
        break;
    }
    const int finish = sqlite3_backup_finish(b);
    if (rc == SQLITE_DONE) rc = finish == SQLITE_OK ? SQLITE_DONE : finish;
    if (rc != SQLITE_DONE) return fail(QString::fromUtf8(sqlite3_errstr(rc)));
    return true;
}

} // namespace engine
