#include "data/Connection.h"

#include "data/DbError.h"
#include "data/JetDialect.h"
#include "data/Schema.h"

#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>
#include <QVariant>
#include <sqlite3.h>

int TableInfo::indexOf(const QString& column) const
{
    for (int i = 0; i < columns.size(); ++i)
        if (columns[i].name.compare(column, Qt::CaseInsensitive) == 0) return i;
    return -1;
}

Connection::Connection(DbKind kind) : m_kind(kind) {}

Connection::~Connection()
{
    close();
}

void Connection::setConnectionString(const QString& s)
{
    m_connectionString = s;
    QString path, password;
    for (const QString& part : s.split(QLatin1Char(';'))) {
        const int eq = part.indexOf(QLatin1Char('='));
        if (eq < 0) continue;
        const QString key = part.left(eq).trimmed();
        const QString value = part.mid(eq + 1);
        if (key.compare(QLatin1String("Data Source"), Qt::CaseInsensitive) == 0)
            path = value;
        else if (key.compare(QLatin1String("Jet OLEDB:Database Password"), Qt::CaseInsensitive) ==
                 0)
            password = value;
    }
    m_path = path;
    m_password = password;
}

void Connection::setDatabase(const QString& path, const QString& password)
{
    m_connectionString.clear();
    m_path = path;
    m_password = password;
}

QString Connection::lastError() const
{
    return m_db ? QString::fromUtf8(sqlite3_errmsg(m_db)) : QString();
}

void Connection::open()
{
    close();
    const QString what =
        m_kind == DbKind::Main ? QStringLiteral("数据库文件") : QStringLiteral("交换数据库文件");
    if (m_path.isEmpty()) throw DbError(QStringLiteral("没有指定%1。").arg(what));
    QFileInfo fi(m_path);
    if (!fi.exists() || !fi.isFile())
        throw DbError(QStringLiteral("%1不存在：%2").arg(what, m_path));
    {
        // Read the header ourselves: a plain SQLite file would otherwise be opened
        // (and could be changed) without any password at all.
        QFile f(m_path);
        if (!f.open(QIODevice::ReadOnly))
            throw DbError(QStringLiteral("无法读取%1：%2").arg(what, m_path));
        const QByteArray head = f.read(16);
        if (head.size() < 16)
            throw DbError(
                QStringLiteral("%1不是本系统的数据库（文件为空或已损坏）：%2").arg(what, m_path));
        if (head == QByteArray("SQLite format 3\0", 16))
            throw DbError(QStringLiteral("%1没有加密，不是本系统的数据库：%2").arg(what, m_path));
    }
    sqlite3* db = nullptr;
    const QByteArray p = m_path.toUtf8();
    // Never SQLITE_OPEN_CREATE: a missing file must not be made here.
    if (sqlite3_open_v2(p.constData(), &db, SQLITE_OPEN_READWRITE, nullptr) != SQLITE_OK) {
        const QString text = QString::fromUtf8(sqlite3_errmsg(db));
        sqlite3_close(db);
        throw DbError(QStringLiteral("无法打开%1：%2").arg(what, text));
    }
    m_db = db;
    try {
        const QByteArray key = m_password.toUtf8();
        if (sqlite3_key(db, key.constData(), key.size()) != SQLITE_OK)
            throw DbError(QStringLiteral("无法设置数据库密码。"));
        sqlite3_busy_timeout(db, kBusyTimeoutMs);
        checkOurs();
        // Rollback journal: a write-ahead log does not work over network shares.
        executeNative(QStringLiteral("PRAGMA journal_mode=DELETE"));
        executeNative(QStringLiteral("PRAGMA cell_size_check=ON"));
        loadSchema();
    } catch (...) {
        sqlite3_close(m_db);
        m_db = nullptr;
        throw;
    }
}

void Connection::checkOurs()
{
    const QString what =
        m_kind == DbKind::Main ? QStringLiteral("数据库文件") : QStringLiteral("交换数据库文件");
    {
        Statement st(*this, QStringLiteral("PRAGMA cipher_version"));
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
    if (appId != Schema::appId(m_kind))
        throw DbError(QStringLiteral("%1不是本系统的%2：%3")
                          .arg(what,
                               m_kind == DbKind::Main ? QStringLiteral("数据库操作文件")
                                                      : QStringLiteral("数据库导出文件"),
                               m_path));
    QStringList names;
    {
        Statement st(*this, QStringLiteral("SELECT name FROM sqlite_master WHERE type='table'"));
        while (st.step())
            names << st.value(0).toString();
    }
    for (const Schema::TableDef& t : Schema::tables(m_kind)) {
        if (!names.contains(QString::fromUtf8(t.name)))
            throw DbError(QStringLiteral("%1缺少数据表“%2”：%3")
                              .arg(what, QString::fromUtf8(t.name), m_path));
    }
}

void Connection::loadSchema()
{
    m_tables.clear();
    m_textColumns.clear();
    QStringList names;
    {
        Statement st(*this, QStringLiteral("SELECT name FROM sqlite_master WHERE type='table'"));
        while (st.step())
            names << st.value(0).toString();
    }
    static const QRegularExpression width(QStringLiteral("\\((\\d+)\\)"));
    for (const QString& n : names) {
        TableInfo ti;
        ti.name = n;
        Statement st(
            *this,
            QStringLiteral("PRAGMA table_info(\"%1\")").arg(QString(n).replace('"', "\"\"")));
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
            } else if (type.startsWith(QLatin1String("FLOAT")) ||
                       type.startsWith(QLatin1String("REAL")) ||
                       type.startsWith(QLatin1String("DOUBLE"))) {
                c.type = ColumnInfo::Float;
            } else {
                c.type = ColumnInfo::Other;
            }
            if (c.type == ColumnInfo::Text || c.type == ColumnInfo::Memo)
                m_textColumns.insert(c.name, true);
            ti.columns << c;
        }
        m_tables.insert(n.toLower(), ti);
    }
}

void Connection::close()
{
    if (m_db) {
        sqlite3_close_v2(m_db);
        m_db = nullptr;
    }
}

const TableInfo* Connection::table(const QString& name) const
{
    auto it = m_tables.constFind(name.toLower());
    return it == m_tables.constEnd() ? nullptr : &it.value();
}

QStringList Connection::tableNames() const
{
    QStringList out;
    for (const TableInfo& t : m_tables)
        out << t.name;
    return out;
}

QString Connection::translate(const QString& jetSql) const
{
    return JetDialect::translate(jetSql,
                                 [this](const QString& id) { return m_textColumns.contains(id); });
}

void Connection::execute(const QString& jetSql)
{
    executeNative(translate(jetSql));
}

void Connection::executeNative(const QString& sql)
{
    if (!m_db) throw DbError(QStringLiteral("数据库连接没有打开。"));
    char* err = nullptr;
    if (sqlite3_exec(m_db, sql.toUtf8().constData(), nullptr, nullptr, &err) != SQLITE_OK) {
        const QString text = QString::fromUtf8(err ? err : sqlite3_errmsg(m_db));
        sqlite3_free(err);
        throw DbError(text);
    }
}

int Connection::changes() const
{
    return m_db ? sqlite3_changes(m_db) : 0;
}

long long Connection::lastInsertRowId() const
{
    return m_db ? sqlite3_last_insert_rowid(m_db) : 0;
}

Connection::Transaction::Transaction(Connection& c, bool immediate) : m_c(c)
{
    c.executeNative(immediate ? QStringLiteral("BEGIN IMMEDIATE") : QStringLiteral("BEGIN"));
}

Connection::Transaction::~Transaction()
{
    if (!m_done && m_c.isOpen()) sqlite3_exec(m_c.handle(), "ROLLBACK", nullptr, nullptr, nullptr);
}

void Connection::Transaction::commit()
{
    m_c.executeNative(QStringLiteral("COMMIT"));
    m_done = true;
}

Statement::Statement(Connection& c, const QString& nativeSql) : m_c(c)
{
    if (!c.handle()) throw DbError(QStringLiteral("数据库连接没有打开。"));
    const QByteArray s = nativeSql.toUtf8();
    if (sqlite3_prepare_v2(c.handle(), s.constData(), s.size(), &m_stmt, nullptr) != SQLITE_OK) {
        const QString text = c.lastError();
        sqlite3_finalize(m_stmt);
        m_stmt = nullptr;
        throw DbError(text);
    }
}

Statement::~Statement()
{
    sqlite3_finalize(m_stmt);
}

void Statement::bind(int i, const QVariant& v)
{
    int rc;
    if (!v.isValid() || v.isNull()) {
        rc = sqlite3_bind_null(m_stmt, i);
    } else {
        switch (v.typeId()) {
        case QMetaType::Double:
        case QMetaType::Float:
            rc = sqlite3_bind_double(m_stmt, i, v.toDouble());
            break;
        case QMetaType::Int:
        case QMetaType::LongLong:
        case QMetaType::UInt:
        case QMetaType::ULongLong:
            rc = sqlite3_bind_int64(m_stmt, i, v.toLongLong());
            break;
        default: {
            const QByteArray b = v.toString().toUtf8();
            rc = sqlite3_bind_text(m_stmt, i, b.constData(), b.size(), SQLITE_TRANSIENT);
        }
        }
    }
    if (rc != SQLITE_OK) throw DbError(m_c.lastError());
}

bool Statement::step()
{
    const int rc = sqlite3_step(m_stmt);
    if (rc == SQLITE_ROW) return true;
    if (rc == SQLITE_DONE) return false;
    throw DbError(m_c.lastError());
}

void Statement::reset()
{
    sqlite3_reset(m_stmt);
    sqlite3_clear_bindings(m_stmt);
}

int Statement::columnCount() const
{
    return sqlite3_column_count(m_stmt);
}

QVariant Statement::value(int col) const
{
    switch (sqlite3_column_type(m_stmt, col)) {
    case SQLITE_INTEGER:
        return QVariant(qlonglong(sqlite3_column_int64(m_stmt, col)));
    case SQLITE_FLOAT:
        return QVariant(sqlite3_column_double(m_stmt, col));
    case SQLITE_NULL:
        return QVariant();
    default:
        return QVariant(
            QString::fromUtf8(reinterpret_cast<const char*>(sqlite3_column_text(m_stmt, col)),
                              sqlite3_column_bytes(m_stmt, col)));
    }
}
