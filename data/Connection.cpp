#include "data/Connection.h"

#include "data/DbError.h"
#include "data/JetDialect.h"
#include "data/engine/Engine.h"

#include <QVariant>

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
    // "Provider=...;Data Source=<path>;Persist Security Info=False;Jet OLEDB:Database
    // Password=<pw>", the data source put in as it is: a path may hold ";", "=",
    // quotes and blanks. It begins after the first "Data Source=" and ends where the
    // tail the windows append begins, found from the end (the tail is always last,
    // so nothing in a path can cut it short).
    m_connectionString = s;
    static const QLatin1String source("Data Source="), persist(";Persist Security Info="),
        password("Jet OLEDB:Database Password=");
    qsizetype from = -1;
    for (qsizetype i = s.indexOf(source, 0, Qt::CaseInsensitive); i >= 0;
         i = s.indexOf(source, i + 1, Qt::CaseInsensitive)) {
        if (i == 0 || s.at(i - 1) == QLatin1Char(';')) {
            from = i + source.size();
            break;
        }
    }
    const qsizetype pw = s.lastIndexOf(password, -1, Qt::CaseInsensitive);
    m_password = pw >= 0 && pw > from ? s.mid(pw + password.size()) : QString();
    m_path.clear();
    if (from < 0) return;
    qsizetype end = s.lastIndexOf(persist, -1, Qt::CaseInsensitive);
    if (end < from && pw > from && s.at(pw - 1) == QLatin1Char(';')) end = pw - 1;
    if (end < from) end = s.size();
    m_path = s.mid(from, end - from);
}

void Connection::setDatabase(const QString& location, const QString& password)
{
    m_connectionString.clear();
    m_path = location;
    m_password = password;
}

bool Connection::isOpen() const
{
    return m_engine && m_engine->isOpen();
}

engine::Engine& Connection::requireEngine() const
{
    if (!isOpen()) throw DbError(QStringLiteral("数据库连接没有打开。"));
    return *m_engine;
}

void Connection::open(Check check)
{
    openWith(false, check);
}

void Connection::openRaw()
{
    openWith(true);
}

void Connection::openWith(bool raw, Check check)
{
    close();
    auto e = engine::makeEngine(m_path);
    e->open(m_path, m_password, m_kind, raw);
    m_engine = std::move(e);
    try {
        reloadSchema();
        if (check == Check::Usable) m_engine->checkUsable(m_kind);
    } catch (...) {
        close();
        throw;
    }
}

void Connection::reloadSchema()
{
    m_tables.clear();
    m_columnKinds.clear();
    for (const TableInfo& t : m_engine->readTables()) {
        for (const ColumnInfo& c : t.columns)
            m_columnKinds.insert(c.name, c.type);
        m_tables.insert(t.name.toLower(), t);
    }
}

void Connection::close()
{
    if (m_engine) m_engine->close();
    m_engine.reset();
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

ColumnInfo::Type Connection::columnKind(const QString& column) const
{
    return m_columnKinds.value(column, ColumnInfo::Other);
}

QString Connection::translate(const QString& jetSql) const
{
    const engine::Flavor f = m_engine ? m_engine->flavor() : engine::flavorOf(m_path);
    return JetDialect::translate(jetSql, f, [this](const QString& id) { return columnKind(id); });
}

void Connection::execute(const QString& jetSql)
{
    requireEngine().run(translate(jetSql));
}

void Connection::run(const QString& sql)
{
    requireEngine().run(sql);
}

bool Connection::isSound()
{
    return requireEngine().isSound();
}

QString Connection::plan(const QString& sql)
{
    return requireEngine().plan(sql);
}

void Connection::lockWriters(const QString& key)
{
    requireEngine().lockWriters(key);
}

long long Connection::writeRow(const QString& sql, const QList<QVariant>& args, long long identity,
                               long long* written)
{
    engine::Engine& e = requireEngine();
    // The server moves a row when it is written: its new identity comes back.
    const bool returning = e.flavor() == engine::Flavor::Postgres;
    auto c = e.prepare(returning ? sql + QStringLiteral(" RETURNING ") + Dialect::rowId(e.flavor())
                                 : sql);
    for (int i = 0; i < args.size(); ++i)
        c->bind(i + 1, args[i]);
    const bool row = c->step();
    if (returning) {
        *written = row ? 1 : 0;
        return row ? c->rowId(0) : identity;
    }
    *written = c->rowsAffected();
    return identity < 0 ? c->lastInsertRowId() : identity;
}

Connection::Transaction::Transaction(Connection& c, Mode mode) : m_c(c)
{
    engine::Engine& e = c.requireEngine();
    if (mode == Joined && e.inTransaction()) {
        m_done = true; // the caller's transaction ends it
        return;
    }
    e.begin(mode == Snapshot ? engine::TxMode::Snapshot : engine::TxMode::Write);
}

Connection::Transaction::~Transaction()
{
    if (m_done) return;
    if (m_c.isOpen()) m_c.m_engine->rollback();
}

void Connection::Transaction::commit()
{
    if (m_done) return;
    m_c.requireEngine().commit();
    m_done = true;
}

Connection::BulkScope::BulkScope(Connection& c) : m_c(c)
{
    c.requireEngine().beginBulk();
}

Connection::BulkScope::~BulkScope()
{
    if (m_c.isOpen()) m_c.m_engine->endBulk();
}

Statement::Statement(Connection& c, const QString& sql) : m_cursor(c.requireEngine().prepare(sql))
{
}

Statement::~Statement() = default;

void Statement::bind(int i, const QVariant& v)
{
    m_cursor->bind(i, v);
}

void Statement::bindAll(const QList<QVariant>& values)
{
    for (int i = 0; i < values.size(); ++i)
        m_cursor->bind(i + 1, values[i]);
}

QVariant Actor::storedOperator() const
{
    return operatorNumber.isEmpty() ? QVariant() : QVariant(operatorNumber.left(5));
}

QVariant Actor::storedWorkstation() const
{
    return workstation.isEmpty() ? QVariant() : QVariant(workstation.left(100));
}

bool Statement::step()
{
    return m_cursor->step();
}

void Statement::reset()
{
    m_cursor->reset();
}

QVariant Statement::value(int col) const
{
    return m_cursor->value(col);
}

QVariant Statement::value(int col, ColumnInfo::Type type) const
{
    return m_cursor->cell(col, type);
}

int Statement::columnCount() const
{
    return m_cursor->columnCount();
}

QString Statement::columnName(int col) const
{
    return m_cursor->columnName(col);
}

bool Statement::isBinary(int col) const
{
    return m_cursor->isBinary(col);
}

long long Statement::rowsAffected() const
{
    return m_cursor->rowsAffected();
}
