#include "data/engine/PgEngine.h"

#include "data/DbError.h"
#include "data/DbLocation.h"
#include "data/Schema.h"
#include "data/engine/TextCache.h"

#include <QLocale>
#include <QSet>
#include <charconv>
#include <cmath>
#include <cstring>
#include <libpq-fe.h>

namespace engine
{

namespace
{

// Type numbers of the server's built-in types.
constexpr Oid kBool = 16, kBytea = 17, kInt8 = 20, kInt2 = 21, kInt4 = 23, kOid = 26, kFloat4 = 700,
              kFloat8 = 701, kNumeric = 1700;

// The key that sets our advisory locks apart from any other program's.
constexpr int kLockSpace = 0x48564D31; // "HVM1"

// Seconds a connection attempt may take before it is given up.
const char* const kConnectTimeout = "5";

bool isIntegerType(Oid t)
{
    return t == kInt8 || t == kInt2 || t == kInt4 || t == kOid;
}

bool isFloatType(Oid t)
{
    return t == kFloat4 || t == kFloat8 || t == kNumeric;
}

double toDouble(const char* p, int len)
{
    double d = 0;
    const auto r = std::from_chars(p, p + len, d);
    if (r.ec == std::errc()) return d;
    // "NaN", "Infinity" and "-Infinity" are spelled as words.
    if (len > 0 && (p[0] == 'I' || (p[0] == '-' && len > 1 && p[1] == 'I')))
        return p[0] == '-' ? -HUGE_VAL : HUGE_VAL;
    return std::nan("");
}

long long toLong(const char* p, int len)
{
    long long v = 0;
    std::from_chars(p, p + len, v);
    return v;
}

QString serverMessage(PGconn* c)
{
    return QString::fromUtf8(PQerrorMessage(c)).trimmed();
}

// Why a connection could not be made, in the user's words, with the server's text.
DbError connectError(PGconn* c, const QString& location)
{
    const QString text = serverMessage(c);
    auto has = [&](const char* s) { return text.contains(QLatin1String(s), Qt::CaseInsensitive); };
    QString cause;
    if (has("password authentication failed") || has("no password supplied") ||
        has("authentication failed") || (has("role \"") && has("does not exist")))
        cause = QStringLiteral("数据库服务器拒绝登录：用户名或密码不对。密码请写在 ~/.pgpass 中"
                               "（或设置 PGPASSWORD），不要写在 path.ini 里。");
    else if (has("database \"") && has("does not exist"))
        cause = QStringLiteral("数据库服务器上没有这个数据库，请先用 createdb 建立它，"
                               "再用 halvorra-db create 或 halvorra-db copy 建立数据表。");
    else if (has("timeout expired"))
        cause = QStringLiteral("连接数据库服务器超时：服务器没有响应。");
    else if (has("could not connect") || has("connection refused") ||
             has("no such file or directory") || has("could not translate host name") ||
             has("unreachable") || has("no route to host") || has("connection to server"))
        cause = QStringLiteral("无法连接数据库服务器：服务器没有运行，或者地址、端口不对。");
    else
        cause = QStringLiteral("无法连接数据库服务器。");
    return DbError(QStringLiteral("%1\n地址：%2\n服务器信息：%3")
                       .arg(cause, DbLocation::display(location), text));
}

void ignoreNotice(void*, const char*) {}

QString readOnlyServerText()
{
    return QStringLiteral(
        "数据库服务器只允许读取（只读的备用服务器，或数据库设为只读），不能写入。");
}

QString noRightText()
{
    return QStringLiteral("数据库用户没有写入本系统数据表的权限，不能写入。");
}

class PgCursor : public Cursor
{
public:
    PgCursor(PgEngine& e, const QString& sql) : m_e(e)
    {
        bool several = false;
        m_sql = serverText(sql, &m_params, &several);
        if (several) throw DbError(QStringLiteral("一个查询只能执行一条语句。"));
        m_values.resize(size_t(m_params));
        m_null.assign(size_t(m_params), true);
        m_binary.assign(size_t(m_params), 0);
    }
    ~PgCursor() override
    {
        clear();
        if (!m_name.isEmpty() && m_nameSession == m_e.session()) m_e.forget(m_name);
    }

    void bind(int i, const QVariant& v) override
    {
        if (i < 1 || i > m_params) throw DbError(QStringLiteral("参数序号越界：%1").arg(i));
        const size_t k = size_t(i - 1);
        m_null[k] = !v.isValid() || v.isNull();
        m_binary[k] = 0;
        if (m_null[k]) return;
        switch (v.typeId()) {
        case QMetaType::QByteArray:
            // Bytes go as they are (binary format): no escaping, no doubling in memory.
            m_values[k] = v.toByteArray();
            m_binary[k] = 1;
            break;
        case QMetaType::Double:
        case QMetaType::Float:
            // The shortest text that reads back as the same number.
            m_values[k] = QByteArray::number(v.toDouble(), 'g', QLocale::FloatingPointShortest);
            break;
        case QMetaType::Bool:
            m_values[k] = v.toBool() ? "true" : "false";
            break;
        case QMetaType::Int:
        case QMetaType::LongLong:
        case QMetaType::UInt:
        case QMetaType::ULongLong:
            m_values[k] = QByteArray::number(v.toLongLong());
            break;
        default:
            m_values[k] = v.toString().toUtf8();
        }
    }
    bool step() override
    {
        if (!m_executed) execute();
        return ++m_row < m_rows;
    }
    void reset() override
    {
        clear();
        m_null.assign(size_t(m_params), true);
        m_binary.assign(size_t(m_params), 0);
        // Release bound pictures at once rather than at the next bind.
        for (QByteArray& v : m_values)
            v.clear();
    }
    int columnCount() const override { return m_res ? PQnfields(m_res.get()) : 0; }
    QString columnName(int col) const override
    {
        return QString::fromUtf8(PQfname(m_res.get(), col));
    }
    ColumnOrigin origin(int col) const override
    {
        const Oid t = PQftable(m_res.get(), col);
        if (t == InvalidOid) return {};
        const QString table = m_e.tableName(t);
        const QString column = m_e.columnName(t, PQftablecol(m_res.get(), col));
        if (table.isEmpty() || column.isEmpty()) return {};
        return {table, column};
    }
    QVariant value(int col) const override
    {
        if (PQgetisnull(m_res.get(), m_row, col)) return {};
        const char* p = PQgetvalue(m_res.get(), m_row, col);
        const int len = PQgetlength(m_res.get(), m_row, col);
        const Oid t = PQftype(m_res.get(), col);
        if (isIntegerType(t)) return qlonglong(toLong(p, len));
        if (isFloatType(t)) return toDouble(p, len);
        if (t == kBool) return p[0] == 't';
        if (t == kBytea) {
            size_t n = 0;
            unsigned char* b = PQunescapeBytea(reinterpret_cast<const unsigned char*>(p), &n);
            const QByteArray out(reinterpret_cast<const char*>(b), qsizetype(n));
            PQfreemem(b);
            return out;
        }
        return QString::fromUtf8(p, len);
    }
    QVariant cell(int col, ColumnInfo::Type type, TextCache* texts) const override
    {
        if (PQgetisnull(m_res.get(), m_row, col)) return {};
        const char* p = PQgetvalue(m_res.get(), m_row, col);
        const int len = PQgetlength(m_res.get(), m_row, col);
        if (type == ColumnInfo::Float) return toDouble(p, len);
        if (type == ColumnInfo::Text || type == ColumnInfo::Memo)
            return texts ? texts->get(p, len) : QString::fromUtf8(p, len);
        return value(col);
    }
    bool isBinary(int col) const override { return PQftype(m_res.get(), col) == kBytea; }
    long long rowId(int col) const override
    {
        // "(block,offset)": the offset within a block stays below 2^16.
        const char* p = PQgetvalue(m_res.get(), m_row, col);
        const char* comma = std::strchr(p, ',');
        if (*p != '(' || !comma) return -1;
        return (toLong(p + 1, int(comma - p - 1)) << 16) |
               toLong(comma + 1, int(std::strlen(comma + 1)) - 1);
    }
    long long rowsAffected() const override { return m_affected; }
    long long lastInsertRowId() const override { return 0; }

private:
    void clear()
    {
        m_res.reset();
        m_executed = false;
        m_row = -1;
        m_rows = 0;
    }

    void execute()
    {
        PGconn* c = m_e.connection();
        const size_t n = static_cast<size_t>(m_params);
        std::vector<const char*> values(n);
        std::vector<int> lengths(n);
        for (size_t k = 0; k < n; ++k) {
            values[k] = m_null[k] ? nullptr : m_values[k].constData();
            lengths[k] = m_null[k] ? 0 : int(m_values[k].size());
        }
        if (!m_name.isEmpty() && m_nameSession != m_e.session()) m_name.clear();
        PgResult r;
        if (m_runs == 0) {
            // A statement run once costs one round trip.
            r.reset(PQexecParams(c, m_sql.constData(), m_params, nullptr, values.data(),
                                 lengths.data(), m_binary.data(), 0));
        } else {
            // Run again (a loop of binds): parsed and planned once by the server.
            if (m_name.isEmpty()) {
                const QByteArray name = m_e.newStatementName().toLatin1();
                const PgResult p(
                    PQprepare(c, name.constData(), m_sql.constData(), m_params, nullptr));
                if (PQresultStatus(p.get()) != PGRES_COMMAND_OK) m_e.fail(p.get());
                m_name = name;
                m_nameSession = m_e.session();
            }
            r.reset(PQexecPrepared(c, m_name.constData(), m_params, values.data(), lengths.data(),
                                   m_binary.data(), 0));
        }
        const ExecStatusType s = PQresultStatus(r.get());
        if (s != PGRES_TUPLES_OK && s != PGRES_COMMAND_OK) m_e.fail(r.get());
        ++m_runs;
        m_res = std::move(r);
        m_executed = true;
        m_row = -1;
        m_rows = PQntuples(m_res.get());
        const char* affected = PQcmdTuples(m_res.get());
        m_affected = toLong(affected, int(std::strlen(affected)));
    }

    PgEngine& m_e;
    QByteArray m_sql;
    int m_params = 0;
    std::vector<QByteArray> m_values;
    std::vector<bool> m_null;
    std::vector<int> m_binary; // 1 = the parameter is bytes (binary format)
    PgResult m_res;
    bool m_executed = false;
    int m_row = -1;
    int m_rows = 0;
    long long m_affected = 0;
    int m_runs = 0;
    QByteArray m_name;
    int m_nameSession = -1;
};

} // namespace

QByteArray serverText(const QString& portable, int* params, bool* several)
{
    QString out;
    out.reserve(portable.size() + 8);
    int highest = 0;
    bool more = false, ended = false;
    const int n = portable.size();
    for (int i = 0; i < n; ++i) {
        const QChar c = portable.at(i);
        if (ended && !c.isSpace()) more = true;
        if (c == QLatin1Char('\'') || c == QLatin1Char('"')) {
            // A literal or a quoted name, copied as it is.
            int j = i + 1;
            while (j < n) {
                if (portable.at(j) == c) {
                    if (j + 1 < n && portable.at(j + 1) == c) {
                        j += 2;
                        continue;
                    }
                    break;
                }
                ++j;
            }
            out += portable.mid(i, j - i + 1);
            i = j;
        } else if (c == QLatin1Char('?')) {
            int j = i + 1;
            while (j < n && portable.at(j).isDigit())
                ++j;
            const int number = j > i + 1 ? portable.mid(i + 1, j - i - 1).toInt() : highest + 1;
            highest = qMax(highest, number);
            out += QLatin1Char('$') + QString::number(number);
            i = j - 1;
        } else {
            if (c == QLatin1Char(';')) ended = true;
            out += c;
        }
    }
    if (params) *params = highest;
    if (several) *several = more;
    return out.toUtf8();
}

PgEngine::~PgEngine()
{
    close();
}

void PgEngine::open(const QString& location, const QString&, DbKind kind, bool raw)
{
    close();
    if (kind == DbKind::Exchange)
        throw DbError(QStringLiteral("交换数据库必须是文件，不能放在数据库服务器上：%1")
                          .arg(DbLocation::display(location)));
    const QByteArray uri = location.trimmed().toUtf8();
    // The address's own settings win over these defaults (they come first);
    // the text always travels as UTF-8 (it comes last).
    const char* keys[] = {"connect_timeout", "fallback_application_name", "keepalives",
                          "keepalives_idle", "keepalives_interval",       "keepalives_count",
                          "dbname",          "client_encoding",           nullptr};
    const char* values[] = {kConnectTimeout, "Halvorra", "1",    "30", "10", "3",
                            uri.constData(), "UTF8",     nullptr};
    PGconn* c = PQconnectdbParams(keys, values, 1);
    if (!c) throw DbError(QStringLiteral("无法连接数据库服务器：内存不足。"));
    if (PQstatus(c) != CONNECTION_OK) {
        const DbError e = connectError(c, location);
        PQfinish(c);
        throw e;
    }
    PQsetNoticeProcessor(c, ignoreNotice, nullptr);
    m_conn = c;
    m_location = location;
    ++m_session;
    try {
        setUpSession();
        if (!raw) checkOurs();
    } catch (...) {
        close();
        throw;
    }
}

void PgEngine::setUpSession()
{
    // Literals as written (a backslash is a backslash); floats in full precision; a
    // writer waits for another as long as on a shared file, then gives up.
    exec(QStringLiteral("SET standard_conforming_strings=on; SET extra_float_digits=3; "
                        "SET client_min_messages=warning; SET lock_timeout=%1")
             .arg(kBusyTimeoutMs));
}

void PgEngine::checkOurs()
{
    const QString where = DbLocation::display(m_location);
    QStringList names;
    for (const TableInfo& t : readTables())
        names << t.name;
    QStringList missing;
    for (const Schema::TableDef& t : Schema::tables(DbKind::Main))
        if (!names.contains(QString::fromUtf8(t.name))) missing << QString::fromUtf8(t.name);
    if (missing.size() == Schema::tables(DbKind::Main).size()) {
        if (names.isEmpty())
            throw DbError(QStringLiteral("数据库中还没有本系统的数据表：%1\n请先用 halvorra-db "
                                         "create 建立数据表，或用 halvorra-db copy 把数据库文件"
                                         "复制过去。")
                              .arg(where));
        throw DbError(
            QStringLiteral("数据库中是其他程序的数据表，不是本系统的数据库：%1").arg(where));
    }
    if (!missing.isEmpty())
        throw DbError(QStringLiteral("数据库缺少数据表“%1”：%2").arg(missing.join("”“"), where));
    // Texts must compare without letter case: the columns are citext, and its
    // operators must be reachable (its schema on the search path).
    const PgResult r(PQexec(m_conn, "SELECT 'A'::citext = 'a'::citext"));
    const bool ok = PQresultStatus(r.get()) == PGRES_TUPLES_OK && PQntuples(r.get()) == 1 &&
                    PQgetvalue(r.get(), 0, 0)[0] == 't';
    if (!ok)
        throw DbError(QStringLiteral("数据库中找不到 citext 扩展（它所在的模式不在 search_path "
                                     "中），文字无法不分大小写地比较：%1")
                          .arg(where));
}

void PgEngine::close()
{
    if (m_conn) PQfinish(m_conn);
    m_conn = nullptr;
    m_inTransaction = false;
    m_forgotten.clear();
}

PGconn* PgEngine::connection()
{
    if (!m_conn) throw DbError(QStringLiteral("数据库连接没有打开。"));
    if (PQstatus(m_conn) != CONNECTION_OK) {
        // The link broke earlier. Inside a transaction its work is lost with it:
        // that transaction must end first (its owner rolls it back).
        if (m_inTransaction)
            throw DbError(QStringLiteral("与数据库服务器的连接已经断开，这一步没有完成。"));
        PQreset(m_conn);
        if (PQstatus(m_conn) != CONNECTION_OK)
            throw DbError(QStringLiteral("与数据库服务器的连接已经断开，重新连接没有成功：%1")
                              .arg(serverMessage(m_conn)));
        ++m_session;
        m_forgotten.clear();
        setUpSession();
    }
    flushForgotten();
    return m_conn;
}

void PgEngine::fail(const PGresult* res)
{
    QString text;
    const char* state = res ? PQresultErrorField(res, PG_DIAG_SQLSTATE) : nullptr;
    const QString sqlState = QString::fromLatin1(state ? state : "");
    if (res) {
        text = QString::fromUtf8(PQresultErrorField(res, PG_DIAG_MESSAGE_PRIMARY));
        const char* detail = PQresultErrorField(res, PG_DIAG_MESSAGE_DETAIL);
        if (detail) text += QLatin1Char('\n') + QString::fromUtf8(detail);
        if (sqlState == QLatin1String("23514")) {
            const char* name = PQresultErrorField(res, PG_DIAG_CONSTRAINT_NAME);
            const QString mine = Schema::violationText(QString::fromUtf8(name ? name : ""));
            if (!mine.isEmpty()) text = mine;
        }
    }
    if (text.isEmpty()) text = serverMessage(m_conn);
    if (PQstatus(m_conn) != CONNECTION_OK)
        throw DbError(QStringLiteral("与数据库服务器的连接已经断开，这一步没有完成：%1").arg(text));
    // What stands in the way of a write, told by its cause.
    using C = DbError::Cause;
    if (sqlState == QLatin1String("55P03")) throw DbError(busyText(), C::Busy);
    if (sqlState == QLatin1String("25006")) throw DbError(readOnlyServerText(), C::ReadOnly);
    if (sqlState == QLatin1String("42501"))
        throw DbError(noRightText() + QLatin1Char('\n') + text, C::ReadOnly);
    if (sqlState == QLatin1String("XX001") || sqlState == QLatin1String("XX002"))
        throw DbError(QStringLiteral("数据库服务器上的数据已损坏：%1\n%2")
                          .arg(DbLocation::display(m_location), text),
                      C::Damaged);
    if (sqlState == QLatin1String("53100"))
        throw DbError(QStringLiteral("数据库服务器的磁盘已满，不能写入。\n%1").arg(text));
    throw DbError(text);
}

void ResultClear::operator()(pg_result* r) const noexcept
{
    PQclear(r);
}

PgResult PgEngine::exec(const QString& sql)
{
    PgResult r(PQexec(connection(), sql.toUtf8().constData()));
    const ExecStatusType s = PQresultStatus(r.get());
    if (s != PGRES_TUPLES_OK && s != PGRES_COMMAND_OK) fail(r.get());
    return r;
}

QString PgEngine::newStatementName()
{
    return QStringLiteral("halvorra_%1").arg(++m_statements);
}

void PgEngine::forget(const QByteArray& statementName)
{
    m_forgotten << statementName;
}

void PgEngine::flushForgotten()
{
    // Not while a failed transaction refuses every statement but its end.
    if (m_forgotten.isEmpty() || PQtransactionStatus(m_conn) == PQTRANS_INERROR) return;
    QByteArray sql;
    for (const QByteArray& n : m_forgotten)
        sql += "DEALLOCATE \"" + n + "\";";
    m_forgotten.clear();
    const PgResult done(PQexec(m_conn, sql.constData()));
}

std::unique_ptr<Cursor> PgEngine::prepare(const QString& sql)
{
    if (!m_conn) throw DbError(QStringLiteral("数据库连接没有打开。"));
    return std::make_unique<PgCursor>(*this, sql);
}

void PgEngine::run(const QString& sql)
{
    exec(QString::fromUtf8(serverText(sql)));
}

long long PgEngine::runOne(const QString& sql)
{
    PgCursor c(*this, sql);
    c.step();
    return c.rowsAffected();
}

void PgEngine::begin(TxMode mode)
{
    exec(mode == TxMode::Write ? QStringLiteral("BEGIN")
                               : QStringLiteral("BEGIN ISOLATION LEVEL REPEATABLE READ READ ONLY"));
    m_inTransaction = true;
}

void PgEngine::commit()
{
    const PgResult r = exec(QStringLiteral("COMMIT"));
    // A transaction that failed part-way answers COMMIT with ROLLBACK.
    const bool rolledBack = std::strcmp(PQcmdStatus(r.get()), "ROLLBACK") == 0;
    m_inTransaction = false;
    if (rolledBack) throw DbError(QStringLiteral("事务中有一步没有完成，全部修改都已撤销。"));
}

void PgEngine::rollback() noexcept
{
    m_inTransaction = false;
    if (m_conn && PQstatus(m_conn) == CONNECTION_OK && PQtransactionStatus(m_conn) != PQTRANS_IDLE)
        const PgResult done(PQexec(m_conn, "ROLLBACK"));
}

void PgEngine::lockWriters(const QString& key)
{
    PgCursor c(*this,
               QStringLiteral("SELECT pg_advisory_xact_lock(%1, hashtext(?))").arg(kLockSpace));
    c.bind(1, key);
    c.step();
}

QList<TableInfo> PgEngine::readTables()
{
    // Our tables live in the first schema of the search path.
    const char* schema = "(SELECT oid FROM pg_namespace WHERE nspname = current_schema())";
    const PgResult colsResult = exec(
        QStringLiteral(
            "SELECT c.oid, c.relname, a.attnum, a.attname, t.typname, a.atttypmod "
            "FROM pg_class c JOIN pg_attribute a ON a.attrelid = c.oid AND a.attnum > 0 AND NOT "
            "a.attisdropped JOIN pg_type t ON t.oid = a.atttypid "
            "WHERE c.relnamespace = %1 AND c.relkind IN ('r', 'p') ORDER BY c.relname, a.attnum")
            .arg(QLatin1String(schema)));
    const PgResult checksResult = exec(QStringLiteral("SELECT conrelid, conname FROM pg_constraint "
                                                      "WHERE contype = 'c' AND connamespace = %1")
                                           .arg(QLatin1String(schema)));
    pg_result* const cols = colsResult.get();
    pg_result* const checks = checksResult.get();
    QHash<QString, int> widthByKey;
    for (int r = 0; r < PQntuples(checks); ++r) {
        const auto w = Schema::widthCheck(QString::fromUtf8(PQgetvalue(checks, r, 1)));
        if (w.width > 0)
            widthByKey.insert(QString::fromLatin1(PQgetvalue(checks, r, 0)) + QLatin1Char('/') +
                                  w.column,
                              w.width);
    }
    m_tableNames.clear();
    m_columnNames.clear();
    QList<TableInfo> out;
    for (int r = 0; r < PQntuples(cols); ++r) {
        const Oid oid = Oid(toLong(PQgetvalue(cols, r, 0), PQgetlength(cols, r, 0)));
        const QString table = QString::fromUtf8(PQgetvalue(cols, r, 1));
        if (out.isEmpty() || out.last().name != table) {
            out.append(TableInfo{table, {}});
            m_tableNames.insert(oid, table);
        }
        ColumnInfo c;
        c.name = QString::fromUtf8(PQgetvalue(cols, r, 3));
        const QByteArray type = PQgetvalue(cols, r, 4);
        const int attnum = int(toLong(PQgetvalue(cols, r, 2), PQgetlength(cols, r, 2)));
        m_columnNames.insert((quint64(oid) << 16) | quint64(attnum), c.name);
        const int width = widthByKey.value(QString::number(oid) + QLatin1Char('/') + c.name);
        if (type == "citext" || type == "text" || type == "varchar" || type == "bpchar") {
            const int typmod = int(toLong(PQgetvalue(cols, r, 5), PQgetlength(cols, r, 5)));
            c.maxLength = width > 0 ? width : (typmod > 4 ? typmod - 4 : 0);
            c.type = c.maxLength > 0 || type != "citext" ? ColumnInfo::Text : ColumnInfo::Memo;
        } else if (type == "float8" || type == "float4" || type == "numeric") {
            c.type = ColumnInfo::Float;
        } else if (type == "int8" || type == "int4" || type == "int2") {
            c.type = ColumnInfo::Integer;
        } else if (type == "bytea") {
            c.type = ColumnInfo::Binary;
        } else {
            c.type = ColumnInfo::Other;
        }
        out.last().columns << c;
    }
    return out;
}

bool PgEngine::isSound()
{
    // The server keeps its pages itself; what can fail here is reading the tables.
    for (const Schema::TableDef& t : Schema::tables(DbKind::Main))
        exec(QStringLiteral("SELECT count(*) FROM %1")
                 .arg(Dialect::identifier(QString::fromUtf8(t.name))));
    return true;
}

void PgEngine::checkUsable(DbKind)
{
    // The server checks its own pages; what can be known before the first save is
    // whether this session may write at all.
    PgResult r = exec(QStringLiteral("SHOW transaction_read_only"));
    const bool readOnly =
        PQntuples(r.get()) == 1 && std::strcmp(PQgetvalue(r.get(), 0, 0), "on") == 0;
    if (readOnly) throw DbError(readOnlyServerText(), DbError::Cause::ReadOnly);
    QStringList checks;
    for (const Schema::TableDef& t : Schema::tables(DbKind::Main))
        for (const char* right : {"INSERT", "UPDATE", "DELETE"})
            checks << QStringLiteral("has_table_privilege('%1', '%2')")
                          .arg(Dialect::identifier(QString::fromUtf8(t.name)),
                               QLatin1String(right));
    r = exec(QStringLiteral("SELECT ") + checks.join(QLatin1String(" AND ")));
    const bool mayWrite = PQntuples(r.get()) == 1 && PQgetvalue(r.get(), 0, 0)[0] == 't';
    if (!mayWrite) throw DbError(noRightText(), DbError::Cause::ReadOnly);
}

QString PgEngine::plan(const QString& sql)
{
    const PgResult r = exec(QStringLiteral("EXPLAIN ") + QString::fromUtf8(serverText(sql)));
    QStringList lines;
    for (int i = 0; i < PQntuples(r.get()); ++i)
        lines << QString::fromUtf8(PQgetvalue(r.get(), i, 0));
    return lines.join(QLatin1Char('\n'));
}

} // namespace engine
