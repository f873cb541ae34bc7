#include "data/Query.h"

#include "data/DbError.h"
#include "data/RecordLog.h"
#include "data/Schema.h"
#include "data/Text.h"
#include "data/engine/Engine.h"
#include "data/engine/TextCache.h"

#include <QRegularExpression>
#include <algorithm>
#include <optional>

namespace
{

QString changedElsewhere()
{
    return QStringLiteral("这条记录已被其他工作站修改或删除，不能保存。请重新查询后再修改。");
}

// "select * from T ..." is the one form whose rows can be written back: the row
// identity is fetched in front of the columns.
const QRegularExpression& selectStar()
{
    static const QRegularExpression re(
        QStringLiteral("^(\\s*select\\s+)(\\*\\s+from\\s+)(\"[^\"]+\"|[^\\s\"]+)"),
        QRegularExpression::CaseInsensitiveOption);
    return re;
}

bool likeMatch(const QString& text, const QString& pattern)
{
    // Case-insensitive match with % (any run) and _ (one character, a code point).
    // Literal runs are escaped whole, so a pair of UTF-16 units (an emoji, a rare
    // CJK character) is never split into two halves the expression cannot read.
    QString re, run;
    for (QChar c : pattern) {
        if (c != QLatin1Char('%') && c != QLatin1Char('_')) {
            run += c;
            continue;
        }
        re += QRegularExpression::escape(run);
        run.clear();
        re += c == QLatin1Char('%') ? QLatin1String(".*") : QLatin1String(".");
    }
    re += QRegularExpression::escape(run);
    QRegularExpression rx(QRegularExpression::anchoredPattern(re),
                          QRegularExpression::CaseInsensitiveOption |
                              QRegularExpression::DotMatchesEverythingOption);
    return rx.match(text).hasMatch();
}

} // namespace

Query::Query(Connection* connection, QObject* parent) : QObject(parent), m_conn(connection) {}

Query::~Query() = default;

void Query::setConnection(Connection* c)
{
    if (c != m_conn) close();
    m_conn = c;
}

QString Query::statementText() const
{
    QString s;
    for (const QString& line : m_sql)
        s += line + QLatin1Char('\n');
    return s;
}

void Query::requireActive() const
{
    if (m_state == State::Inactive) throw DbError(QStringLiteral("数据集没有打开。"));
}

void Query::setState(State s)
{
    if (m_state == s) return;
    m_state = s;
    emit stateChanged();
}

void Query::close()
{
    if (m_state == State::Inactive && m_columns.isEmpty()) return;
    m_rows.clear();
    m_visible.clear();
    m_columns.clear();
    m_table.clear();
    m_buffer.clear();
    m_cur = -1;
    m_eof = m_bof = true;
    m_modified = false;
    m_state = State::Inactive;
    emit stateChanged();
    emit reset();
}

void Query::open()
{
    close();
    if (!m_conn || !m_conn->isOpen()) throw DbError(QStringLiteral("数据库连接没有打开。"));
    engine::Engine& e = m_conn->requireEngine();
    const auto st = e.prepare(engineText(&m_hasRowid));
    bool more = st->step();
    const int n = st->columnCount();
    if (n == 0) throw DbError(QStringLiteral("该语句不返回记录，不能打开。"));
    const int first = m_hasRowid ? 1 : 0;
    QString table;
    bool oneTable = m_hasRowid;
    QList<ColumnInfo> cols;
    for (int i = first; i < n; ++i) {
        ColumnInfo ci;
        ci.name = st->columnName(i);
        ci.type = ColumnInfo::Other;
        const engine::ColumnOrigin o = st->origin(i);
        if (!o.table.isEmpty()) {
            if (table.isEmpty())
                table = o.table;
            else if (o.table != table)
                oneTable = false;
            if (const TableInfo* ti = m_conn->table(o.table)) {
                const int k = ti->indexOf(o.column);
                if (k >= 0) {
                    ci.type = ti->columns[k].type;
                    ci.maxLength = ti->columns[k].maxLength;
                }
            }
        } else {
            oneTable = false;
        }
        cols << ci;
    }
    m_columns = cols;
    m_stored = int(cols.size());
    m_table = (oneTable && !table.isEmpty()) ? table : QString();
    std::vector<Row> rows;
    try {
        QList<ComputedColumn> computed;
        if (computedColumns) computed = computedColumns(*this);
        for (const ComputedColumn& c : computed)
            m_columns << c.column;
        std::vector<engine::TextCache> texts(size_t(n - first));
        for (; more; more = st->step()) {
            Row r;
            if (m_hasRowid) r.rowid = st->rowId(0);
            r.values.reserve(m_columns.size());
            r.values.resize(n - first);
            for (int i = first; i < n; ++i)
                r.values[i - first] = st->cell(i, cols[i - first].type, &texts[size_t(i - first)]);
            // Computed while the row is at hand: a second pass over every row costs more.
            for (const ComputedColumn& c : computed)
                r.values << c.value(r.values);
            rows.push_back(std::move(r));
        }
    } catch (...) {
        close(); // a failed read leaves no columns behind
        throw;
    }
    m_rows = std::move(rows);
    m_state = State::Browse;
    browseFirst();
}

void Query::addComputedColumn(const ComputedColumn& computed)
{
    requireActive();
    const ColumnInfo& column = computed.column;
    const auto& value = computed.value;
    const int at = fieldIndex(column.name);
    if (at >= 0 && at < m_stored)
        throw DbError(QStringLiteral("字段“%1”已存在。").arg(column.name));
    if (at < 0) {
        if (isEditing()) throw DbError(QStringLiteral("数据集正在编辑，不能增加字段。"));
        m_columns << column;
        for (Row& r : m_rows)
            r.values << value(r.values);
        return;
    }
    // Computed again: the rows shown whose value changed are shown anew.
    std::vector<bool> changed(m_rows.size());
    for (size_t i = 0; i < m_rows.size(); ++i) {
        QVariant& old = m_rows[i].values[at];
        const QVariant v = value(m_rows[i].values);
        if (v.isNull() == old.isNull() && v == old) continue;
        old = v;
        changed[i] = true;
    }
    for (int pos = 0; pos < int(m_visible.size()); ++pos) {
        if (!changed[size_t(m_visible[size_t(pos)])]) continue;
        if (pos == m_cur && isEditing())
            m_buffer[at] = m_rows[size_t(m_visible[size_t(pos)])].values[at];
        emit rowChanged(pos);
    }
}

void Query::sortBy(int column, Qt::SortOrder order)
{
    requireActive();
    if (column < 0 || column >= m_columns.size()) return;
    checkBrowseMode();
    const int current = m_cur >= 0 ? m_visible[size_t(m_cur)] : -1;
    const auto less = [&](int a, int b) {
        const QVariant& x = m_rows[size_t(a)].values[column];
        const QVariant& y = m_rows[size_t(b)].values[column];
        if (x.isNull() || y.isNull()) return x.isNull() && !y.isNull();
        if (x.typeId() == QMetaType::QString || y.typeId() == QMetaType::QString)
            return x.toString().compare(y.toString(), Qt::CaseInsensitive) < 0;
        return x.toDouble() < y.toDouble();
    };
    if (order == Qt::AscendingOrder)
        std::stable_sort(m_visible.begin(), m_visible.end(), less);
    else
        std::stable_sort(m_visible.begin(), m_visible.end(),
                         [&](int a, int b) { return less(b, a); });
    m_cur = current < 0
                ? -1
                : int(std::find(m_visible.begin(), m_visible.end(), current) - m_visible.begin());
    emit reset();
    emit currentChanged();
}

void Query::browseFirst()
{
    m_terms = m_filtered ? parseFilter(m_filter) : QList<FilterTerm>();
    rebuildVisible();
    m_cur = m_visible.empty() ? -1 : 0;
    m_eof = m_bof = m_visible.empty();
    m_state = State::Browse;
    emit stateChanged();
    emit reset();
    emit currentChanged();
}

QString Query::engineText(bool* writable) const
{
    if (!m_conn || !m_conn->isOpen()) throw DbError(QStringLiteral("数据库连接没有打开。"));
    const engine::Flavor f = m_conn->requireEngine().flavor();
    QString native = m_conn->translate(statementText());
    const auto m = selectStar().match(native);
    if (writable) *writable = m.hasMatch();
    if (!m.hasMatch()) return native;
    // A server writes a changed row elsewhere, so its plain order would change
    // with every save: the rows come in the order of the table's key instead.
    static const QRegularExpression orderBy(QStringLiteral("\\border\\s+by\\b"),
                                            QRegularExpression::CaseInsensitiveOption);
    QString table = m.captured(3);
    if (table.startsWith(QLatin1Char('"'))) table = table.mid(1, table.size() - 2);
    const QString key = Schema::uniqueKey(table);
    if (f == engine::Flavor::Postgres && !key.isEmpty() && !native.contains(orderBy)) {
        while (!native.isEmpty() && (native.back().isSpace() || native.back() == QLatin1Char(';')))
            native.chop(1);
        native += QStringLiteral("\nORDER BY CAST(%1 AS text) COLLATE \"C\"")
                      .arg(Dialect::identifier(key));
    }
    return m.captured(1) + Dialect::rowId(f) + QStringLiteral(", ") +
           native.mid(m.capturedLength(1));
}

void Query::execSql()
{
    close();
    if (!m_conn || !m_conn->isOpen()) throw DbError(QStringLiteral("数据库连接没有打开。"));
    m_rowsAffected = int(m_conn->requireEngine().runOne(m_conn->translate(statementText())));
}

int Query::fieldIndex(const QString& name) const
{
    for (int i = 0; i < m_columns.size(); ++i)
        if (m_columns[i].name.compare(name, Qt::CaseInsensitive) == 0) return i;
    return -1;
}

Query::Row& Query::currentRow()
{
    return m_rows[size_t(m_visible[size_t(m_cur)])];
}

const Query::Row& Query::currentRow() const
{
    return m_rows[size_t(m_visible[size_t(m_cur)])];
}

void Query::moved()
{
    emit currentChanged();
    if (afterScroll) afterScroll(*this);
}

void Query::checkBrowseMode()
{
    if (isEditing()) post();
}

void Query::setRecNo(int row)
{
    requireActive();
    if (m_visible.empty()) return;
    row = qBound(0, row, int(m_visible.size()) - 1);
    checkBrowseMode();
    m_eof = m_bof = false;
    if (row == m_cur) return;
    m_cur = row;
    moved();
}

void Query::first()
{
    requireActive();
    checkBrowseMode();
    m_bof = true;
    m_eof = m_visible.empty();
    if (!m_visible.empty() && m_cur != 0) {
        m_cur = 0;
        moved();
    }
}

void Query::last()
{
    requireActive();
    checkBrowseMode();
    m_eof = true;
    m_bof = m_visible.empty();
    const int l = int(m_visible.size()) - 1;
    if (l >= 0 && m_cur != l) {
        m_cur = l;
        moved();
    }
}

void Query::next()
{
    requireActive();
    checkBrowseMode();
    m_bof = false;
    if (m_cur + 1 >= int(m_visible.size())) {
        m_eof = true;
        return;
    }
    ++m_cur;
    m_eof = false;
    moved();
}

void Query::prior()
{
    requireActive();
    checkBrowseMode();
    m_eof = false;
    if (m_cur <= 0) {
        m_bof = true;
        return;
    }
    --m_cur;
    m_bof = false;
    moved();
}

QVariant Query::value(int col) const
{
    if (m_state == State::Inactive || col < 0 || col >= m_columns.size()) return {};
    if (isEditing()) return m_buffer.value(col);
    if (m_cur < 0) return {};
    return currentRow().values.value(col);
}

QVariant Query::value(const QString& field) const
{
    const int i = fieldIndex(field);
    if (i < 0 && m_state != State::Inactive)
        throw DbError(QStringLiteral("找不到字段“%1”。").arg(field));
    return value(i);
}

QString Query::text(const QString& field) const
{
    const QVariant v = value(field);
    if (v.isNull()) return {};
    if (v.typeId() == QMetaType::Double) return QString::number(v.toDouble(), 'g', 15);
    return v.toString();
}

double Query::number(const QString& field) const
{
    return value(field).toDouble();
}

QVariant Query::valueAt(int row, int col) const
{
    if (row < 0 || row >= int(m_visible.size()) || col < 0 || col >= m_columns.size()) return {};
    if (row == m_cur && isEditing()) return m_buffer.value(col);
    return m_rows[size_t(m_visible[size_t(row)])].values.value(col);
}

QVariant Query::convertFor(int col, const QVariant& v) const
{
    if (!v.isValid() || v.isNull()) return {};
    const ColumnInfo& c = m_columns[col];
    if (c.type == ColumnInfo::Float) {
        if (v.typeId() == QMetaType::QString) {
            const QString t = Text::trim(v.toString());
            if (t.isEmpty()) return {};
            bool ok = false;
            const double d = t.toDouble(&ok);
            if (!ok) throw DbError(QStringLiteral("“%1”不是有效的数值。").arg(t));
            return d;
        }
        bool ok = false;
        const double d = v.toDouble(&ok);
        if (!ok) throw DbError(QStringLiteral("“%1”不是有效的数值。").arg(v.toString()));
        return d;
    }
    if (c.type == ColumnInfo::Text || c.type == ColumnInfo::Memo) {
        return Schema::storedText(c, v.toString());
    }
    return v;
}

void Query::setValue(int col, const QVariant& v)
{
    requireActive();
    if (col < 0 || col >= m_columns.size()) throw DbError(QStringLiteral("字段序号越界。"));
    if (!isEditing()) throw DbError(QStringLiteral("数据集不在编辑或插入状态。"));
    const QVariant nv = convertFor(col, v);
    if (m_buffer[col] == nv && m_buffer[col].isNull() == nv.isNull()) return;
    m_buffer[col] = nv;
    m_modified = true;
    emit valueChanged(col);
}

void Query::setValue(const QString& field, const QVariant& v)
{
    const int i = fieldIndex(field);
    if (i < 0) throw DbError(QStringLiteral("找不到字段“%1”。").arg(field));
    setValue(i, v);
}

QList<Query::FilterTerm> Query::parseFilter(const QString& f) const
{
    QList<FilterTerm> terms;
    const QString s = f.trimmed();
    if (s.isEmpty()) return terms;
    int i = 0;
    const int n = s.size();
    auto skipSpace = [&] {
        while (i < n && s.at(i).isSpace())
            ++i;
    };
    auto fail = [&] { throw DbError(QStringLiteral("过滤条件无效：%1").arg(f)); };
    while (true) {
        skipSpace();
        int b = i;
        while (i < n && !s.at(i).isSpace() && s.at(i) != QLatin1Char('='))
            ++i;
        const QString name = s.mid(b, i - b);
        skipSpace();
        FilterTerm t;
        t.column = fieldIndex(name);
        if (t.column < 0) fail();
        if (i < n && s.at(i) == QLatin1Char('=')) {
            ++i;
        } else if (s.mid(i, 4).compare(QLatin1String("like"), Qt::CaseInsensitive) == 0) {
            t.like = true;
            i += 4;
        } else {
            fail();
        }
        skipSpace();
        if (i >= n || s.at(i) != QLatin1Char('\'')) fail();
        ++i;
        QString v;
        bool closed = false;
        while (i < n) {
            if (s.at(i) == QLatin1Char('\'')) {
                if (i + 1 < n && s.at(i + 1) == QLatin1Char('\'')) {
                    v += QLatin1Char('\'');
                    i += 2;
                    continue;
                }
                ++i;
                closed = true;
                break;
            }
            v += s.at(i++);
        }
        if (!closed) fail();
        t.value = v;
        terms << t;
        skipSpace();
        if (i >= n) break;
        if (s.mid(i, 3).compare(QLatin1String("and"), Qt::CaseInsensitive) != 0) fail();
        i += 3;
    }
    return terms;
}

bool Query::passes(const Row& r) const
{
    for (const FilterTerm& t : m_terms) {
        const QVariant v = r.values.value(t.column);
        if (v.isNull()) return false;
        QString s =
            v.typeId() == QMetaType::Double ? QString::number(v.toDouble(), 'g', 15) : v.toString();
        if (t.like) {
            if (!likeMatch(s, t.value)) return false;
        } else if (s.compare(t.value, Qt::CaseInsensitive) != 0) {
            return false;
        }
    }
    return true;
}

void Query::rebuildVisible()
{
    m_visible.clear();
    m_visible.reserve(m_rows.size());
    const bool all = !m_filtered || m_terms.isEmpty();
    for (size_t i = 0; i < m_rows.size(); ++i)
        if (all || passes(m_rows[i])) m_visible.push_back(int(i));
}

void Query::setFilter(const QString& f)
{
    if (f == m_filter) return;
    if (m_filtered && isActive()) {
        QList<FilterTerm> terms = parseFilter(f);
        checkBrowseMode();
        m_filter = f;
        m_terms = terms;
        rebuildVisible();
        m_cur = m_visible.empty() ? -1 : 0;
        m_eof = m_bof = m_visible.empty();
        emit reset();
        moved();
    } else {
        m_filter = f;
    }
}

void Query::setFiltered(bool on)
{
    if (on == m_filtered) return;
    if (isActive()) {
        QList<FilterTerm> terms = on ? parseFilter(m_filter) : QList<FilterTerm>();
        checkBrowseMode();
        m_filtered = on;
        m_terms = terms;
        rebuildVisible();
        m_cur = m_visible.empty() ? -1 : 0;
        m_eof = m_bof = m_visible.empty();
        emit reset();
        moved();
    } else {
        m_filtered = on;
    }
}

bool Query::locate(const QString& field, const QVariant& value, LocateOptions o)
{
    requireActive();
    const int col = fieldIndex(field);
    if (col < 0) throw DbError(QStringLiteral("找不到字段“%1”。").arg(field));
    const Qt::CaseSensitivity cs = o.caseInsensitive ? Qt::CaseInsensitive : Qt::CaseSensitive;
    const QString want = value.toString();
    for (int row = 0; row < int(m_visible.size()); ++row) {
        const QVariant v = m_rows[size_t(m_visible[size_t(row)])].values.value(col);
        if (v.isNull()) continue;
        const QString s =
            v.typeId() == QMetaType::Double ? QString::number(v.toDouble(), 'g', 15) : v.toString();
        const bool hit = o.partialKey ? s.startsWith(want, cs) : s.compare(want, cs) == 0;
        if (hit) {
            checkBrowseMode();
            m_eof = m_bof = false;
            if (row != m_cur) {
                m_cur = row;
                moved();
            }
            return true;
        }
    }
    return false;
}

void Query::edit()
{
    requireActive();
    if (isEditing()) return;
    if (m_visible.empty()) {
        // Editing an empty row set starts a new row, as typing into an empty card does.
        append();
        return;
    }
    if (!canModify()) throw DbError(QStringLiteral("该数据集不能修改。"));
    if (beforeEdit) beforeEdit(*this);
    m_buffer = currentRow().values;
    m_modified = false;
    setState(State::Edit);
}

void Query::insertAt(int pos)
{
    requireActive();
    if (!canModify()) throw DbError(QStringLiteral("该数据集不能修改。"));
    checkBrowseMode();
    if (beforeInsert) beforeInsert(*this);
    const int rawPos = pos < int(m_visible.size()) ? m_visible[size_t(pos)] : int(m_rows.size());
    emit aboutToInsertRow(pos);
    Row r;
    r.values.resize(m_columns.size());
    m_rows.insert(m_rows.begin() + rawPos, r);
    for (int& v : m_visible)
        if (v >= rawPos) ++v;
    m_visible.insert(m_visible.begin() + pos, rawPos);
    m_cur = pos;
    m_eof = m_bof = false;
    m_buffer = r.values;
    m_modified = false;
    m_state = State::Insert;
    emit rowInserted(pos);
    emit stateChanged();
    emit currentChanged();
    if (afterInsert) afterInsert(*this);
}

void Query::insert()
{
    insertAt(m_cur < 0 ? 0 : m_cur);
}

void Query::append()
{
    insertAt(int(m_visible.size()));
}

void Query::validateRow(const QVector<QVariant>& values) const
{
    for (int i = 0; i < m_columns.size(); ++i)
        if (const auto why = Schema::tooLong(m_columns[i], values[i])) throw DbError(*why);
}

QString Query::unchangedSince(const Row& row, QList<QVariant>& args) const
{
    const engine::Flavor f = m_conn->requireEngine().flavor();
    QString sql;
    for (int i = 0; i < m_stored; ++i) {
        sql += QStringLiteral(" AND ") + Dialect::sameAs(f, Dialect::identifier(m_columns[i].name));
        args << row.values[i];
    }
    return sql;
}

QString Query::keyOf(const QVector<QVariant>& values) const
{
    const int k = fieldIndex(Schema::uniqueKey(m_table));
    return k < 0 ? QString() : values[k].toString();
}

void Query::post()
{
    requireActive();
    if (!isEditing()) return;
    if (beforePost) beforePost(*this);
    validateRow(m_buffer);
    Row& row = currentRow();
    const engine::Flavor f = m_conn->requireEngine().flavor();
    // A kept table's row and its history are written in one transaction (the
    // caller's, when one is open): both or neither.
    const bool keep = RecordLog::keeps(*m_conn, m_table);
    std::optional<Connection::Transaction> tx;
    if (keep) tx.emplace(*m_conn, Connection::Transaction::Joined);
    long long id = row.rowid;
    if (m_state == State::Edit) {
        QStringList sets;
        QList<QVariant> args;
        QList<RecordLog::ColumnChange> changes;
        for (int i = 0; i < m_stored; ++i) {
            const QVariant& o = row.values[i];
            const QVariant& n = m_buffer[i];
            if (o.isNull() != n.isNull() || o != n) {
                sets << Dialect::identifier(m_columns[i].name) + QStringLiteral("=?");
                args << n;
                changes << RecordLog::ColumnChange{m_columns[i].name, o, n};
            }
        }
        if (!sets.isEmpty()) {
            QString sql =
                QStringLiteral("UPDATE %1 SET %2 WHERE %3")
                    .arg(Dialect::identifier(m_table), sets.join(','), Dialect::rowIdEquals(f));
            args << m_conn->engine()->rowIdParam(row.rowid);
            if (m_optimistic || keep) sql += unchangedSince(row, args);
            long long written = 0;
            id = m_conn->writeRow(sql, args, row.rowid, &written);
            if (written == 0) throw DbError(changedElsewhere());
            if (keep) RecordLog::changed(*m_conn, m_table, keyOf(m_buffer), changes);
        }
    } else {
        QStringList names;
        QList<QVariant> args;
        for (int i = 0; i < m_stored; ++i) {
            if (m_buffer[i].isNull()) continue;
            names << m_columns[i].name;
            args << m_buffer[i];
        }
        long long written = 0;
        id = m_conn->writeRow(Dialect::insertInto(m_table, names), args, -1, &written);
        if (keep) RecordLog::event(*m_conn, m_table, keyOf(m_buffer), RecordLog::Event::Inserted);
    }
    if (tx) tx->commit();
    row.rowid = id;
    row.values = m_buffer;
    m_buffer.clear();
    m_modified = false;
    setState(State::Browse);
    emit rowChanged(m_cur);
    if (afterPost) afterPost(*this);
}

void Query::cancel()
{
    if (!isEditing()) return;
    if (m_state == State::Insert) {
        const int pos = m_cur;
        emit aboutToRemoveRow(pos);
        const int raw = m_visible[size_t(pos)];
        m_rows.erase(m_rows.begin() + raw);
        m_visible.erase(m_visible.begin() + pos);
        for (int& v : m_visible)
            if (v > raw) --v;
        m_buffer.clear();
        m_modified = false;
        m_state = State::Browse;
        if (m_cur >= int(m_visible.size())) m_cur = int(m_visible.size()) - 1;
        m_eof = m_bof = m_visible.empty();
        emit rowRemoved(pos);
        emit stateChanged();
        emit currentChanged();
        return;
    }
    m_buffer.clear();
    m_modified = false;
    setState(State::Browse);
    emit rowChanged(m_cur);
    emit currentChanged();
}

void Query::remove()
{
    requireActive();
    if (m_state == State::Insert) {
        cancel();
        return;
    }
    if (m_visible.empty()) throw DbError(QStringLiteral("没有可以删除的记录。"));
    if (!canModify()) throw DbError(QStringLiteral("该数据集不能修改。"));
    if (beforeDelete) beforeDelete(*this);
    if (m_state == State::Edit) {
        m_buffer.clear();
        m_modified = false;
        setState(State::Browse);
    }
    const int pos = m_cur;
    const int raw = m_visible[size_t(pos)];
    {
        // The stored row must still be the one shown: a row identity freed by a
        // deletion elsewhere may meanwhile belong to another row. A kept table's
        // row goes to the recycle bin as it was stored, in the same transaction.
        const bool keep = RecordLog::keeps(*m_conn, m_table);
        std::optional<Connection::Transaction> tx;
        if (keep) tx.emplace(*m_conn, Connection::Transaction::Joined);
        const Row& gone = m_rows[size_t(raw)];
        QList<QVariant> args{m_conn->engine()->rowIdParam(gone.rowid)};
        QString sql = QStringLiteral("DELETE FROM %1 WHERE %2")
                          .arg(Dialect::identifier(m_table),
                               Dialect::rowIdEquals(m_conn->requireEngine().flavor()));
        if (m_optimistic || keep) sql += unchangedSince(gone, args);
        long long written = 0;
        m_conn->writeRow(sql, args, gone.rowid, &written);
        if (written == 0) throw DbError(changedElsewhere());
        if (keep) {
            RecordLog::deleted(*m_conn, m_table, keyOf(gone.values), m_columns.mid(0, m_stored),
                               gone.values.mid(0, m_stored));
            tx->commit();
        }
    }
    emit aboutToRemoveRow(pos);
    m_rows.erase(m_rows.begin() + raw);
    m_visible.erase(m_visible.begin() + pos);
    for (int& v : m_visible)
        if (v > raw) --v;
    if (m_cur >= int(m_visible.size())) m_cur = int(m_visible.size()) - 1;
    m_eof = m_bof = m_visible.empty();
    emit rowRemoved(pos);
    moved();
}

void Query::openRows(const QList<ColumnInfo>& columns, std::vector<QVector<QVariant>> rows)
{
    close();
    m_hasRowid = false;
    m_columns = columns;
    m_stored = int(columns.size());
    m_table.clear();
    m_rows.resize(rows.size());
    for (size_t i = 0; i < rows.size(); ++i) {
        m_rows[i].values = std::move(rows[i]);
        // Resized only when needed: a row the caller still shares stays shared.
        if (m_rows[i].values.size() != columns.size()) m_rows[i].values.resize(columns.size());
    }
    browseFirst();
}
