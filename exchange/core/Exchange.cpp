#include "exchange/core/Exchange.h"

#include "data/BulkInsert.h"
#include "data/DbError.h"
#include "data/Dialect.h"
#include "data/KeyLookup.h"
#include "data/MemoText.h"
#include "data/Query.h"
#include "data/RecordLog.h"
#include "data/Schema.h"
#include "data/Text.h"

#include <QFileInfo>
#include <optional>

namespace
{

// Rows of an import looked up and added together.
constexpr int kImportBatch = 500;

QString ident(const QString& s)
{
    return Dialect::identifier(s);
}

QStringList columnNames(const ExchangeLayout& layout)
{
    QStringList names;
    for (const ExchangeColumn& c : layout.columns)
        names << c.name;
    return names;
}

QString columnList(const ExchangeLayout& layout)
{
    QStringList names;
    for (const ExchangeColumn& c : layout.columns)
        names << ident(c.name);
    return names.join(QLatin1String(", "));
}

// One cell of a row read with a Statement; binary data is never a value of ours.
QVariant cell(const Statement& st, int col, const QString& column,
              ColumnInfo::Type type = ColumnInfo::Other)
{
    if (st.isBinary(col)) throw DbError(QStringLiteral("“%1”中有不能识别的数据。").arg(column));
    return st.value(col, type);
}

// A value from another office's file as the main table stores it, as the row set
// would: without control characters (a memo keeps its lines); a text longer than
// its column is refused.
QVariant stored(const ColumnInfo& c, const QVariant& v)
{
    if (v.typeId() != QMetaType::QString) return v;
    const QVariant s = Schema::storedText(c, v.toString());
    if (const auto why = Schema::tooLong(c, s)) throw DbError(*why);
    return s;
}

// The exchange table holds every column of the list with a matching type; the
// reason in the operator's words otherwise.
void checkExchangeTable(const Connection& file, const ExchangeLayout& layout)
{
    const TableInfo* t = file.table(layout.exchangeTable);
    if (!t)
        throw DbError(QStringLiteral("交换数据库文件缺少数据表“%1”。").arg(layout.exchangeTable));
    for (const ExchangeColumn& c : layout.columns) {
        const int k = t->indexOf(c.name);
        if (k < 0)
            throw DbError(
                QStringLiteral("数据表“%1”缺少字段“%2”。").arg(layout.exchangeTable, c.name));
        const ColumnInfo::Type type = t->columns[k].type;
        const bool fits = c.kind == ExchangeColumn::Number
                              ? type == ColumnInfo::Float
                              : (type == ColumnInfo::Text || type == ColumnInfo::Memo);
        if (!fits)
            throw DbError(
                QStringLiteral("数据表“%1”的字段“%2”类型不对。").arg(layout.exchangeTable, c.name));
    }
}

// Empties the exchange table and writes the rows `next` yields, in one
// transaction: a failure leaves the table as it was.
int writeExport(Connection& target, const ExchangeLayout& layout, int total,
                const std::function<bool(QVector<QVariant>&)>& next,
                const ExchangeProgress& progress, Connection* main)
{
    if (!target.isOpen()) throw DbError(QStringLiteral("交换数据库没有打开。"));
    // An open file that was removed meanwhile would take the rows and vanish with them.
    if (!QFileInfo::exists(target.path()))
        throw DbError(QStringLiteral("交换数据库文件不存在：%1").arg(target.path()));
    Connection::Transaction t(target);
    // The table as it is now (the file may have been changed since it was opened);
    // a file made by an earlier program gets memo columns that keep text as text.
    target.reloadSchema();
    Schema::keepMemosAsText(target);
    checkExchangeTable(target, layout);
    target.run(QStringLiteral("DELETE FROM %1").arg(ident(layout.exchangeTable)));
    BulkInsert ins(target, layout.exchangeTable, columnNames(layout));
    if (progress.start) progress.start(total);
    QVector<QVariant> row(layout.columns.size());
    int count = 0;
    const int keyIdx = layout.keyIndex();
    QStringList keys;
    while (next(row)) {
        for (int i = 0; i < layout.columns.size(); ++i)
            row[i] = Exchange::travelling(layout.columns[i], row[i]);
        ins.add(row);
        if (keyIdx >= 0 && !row[keyIdx].isNull()) keys << row[keyIdx].toString();
        ++count;
        if (progress.step) progress.step();
    }
    ins.finish();
    if (layout.exportExtra && main) layout.exportExtra(target, *main, keys);
    t.commit();
    return count;
}

} // namespace

int ExchangeLayout::keyIndex() const
{
    for (int i = 0; i < columns.size(); ++i)
        if (columns[i].name == keyColumn) return i;
    return -1;
}

namespace Exchange
{

QVariant travelling(const ExchangeColumn& c, const QVariant& v)
{
    const bool isNull = !v.isValid() || v.isNull();
    if (c.kind == ExchangeColumn::Number) {
        if (isNull) return 0.0;
        switch (v.typeId()) {
        case QMetaType::Double:
        case QMetaType::Float:
        case QMetaType::Int:
        case QMetaType::LongLong:
        case QMetaType::UInt:
        case QMetaType::ULongLong:
            return v.toDouble();
        case QMetaType::QString: {
            const QString s = Text::trim(v.toString());
            if (s.isEmpty()) return 0.0;
            bool ok = false;
            const double d = s.toDouble(&ok);
            if (ok) return d;
            break;
        }
        default:
            break;
        }
        throw DbError(QStringLiteral("“%1”必须是数值。").arg(c.name));
    }
    if (isNull) return QVariant();
    if (v.typeId() != QMetaType::QString)
        throw DbError(QStringLiteral("“%1”必须是文本。").arg(c.name));
    const QString s = Text::trim(v.toString());
    if (s.isEmpty()) return QVariant();
    return s;
}

int exportRows(Connection& target, const ExchangeLayout& layout, Query& source,
               const ExchangeProgress& progress)
{
    if (!source.isActive()) throw DbError(QStringLiteral("数据集没有打开。"));
    QVector<int> cols;
    for (const ExchangeColumn& c : layout.columns) {
        const int k = source.fieldIndex(c.name);
        if (k < 0) throw DbError(QStringLiteral("结果中没有字段“%1”。").arg(c.name));
        cols << k;
    }
    // Rows are read by position: moving the current row through a window's
    // result would repaint its grid and run its hooks for every row.
    const int total = source.recordCount();
    int r = 0;
    const int n = writeExport(
        target, layout, total,
        [&](QVector<QVariant>& row) {
            if (r >= total) return false;
            for (int i = 0; i < cols.size(); ++i)
                row[i] = source.valueAt(r, cols[i]);
            ++r;
            return true;
        },
        progress, source.connection());
    if (total > 0) source.last();
    return n;
}

int exportRows(Connection& target, const ExchangeLayout& layout, Connection& source,
               const QString& nativeSelect, const ExchangeProgress& progress)
{
    int total = 0;
    {
        Statement c(source, QStringLiteral("SELECT count(*) FROM (%1) AS n").arg(nativeSelect));
        if (c.step()) total = c.value(0).toInt();
    }
    Statement st(source, nativeSelect);
    bool more = st.step(); // the result's columns are known from here on
    QVector<int> cols;
    for (const ExchangeColumn& c : layout.columns) {
        int k = -1;
        for (int i = 0; i < st.columnCount(); ++i)
            if (st.columnName(i).compare(c.name, Qt::CaseInsensitive) == 0) k = i;
        if (k < 0) throw DbError(QStringLiteral("结果中没有字段“%1”。").arg(c.name));
        cols << k;
    }
    return writeExport(
        target, layout, total,
        [&](QVector<QVariant>& row) {
            if (!more) return false;
            for (int i = 0; i < cols.size(); ++i)
                row[i] = cell(st, cols[i], layout.columns[i].name);
            more = st.step();
            return true;
        },
        progress, &source);
}

void checkExchangeFile(Connection& file, const ExchangeLayout& layout)
{
    if (!file.isOpen()) throw DbError(QStringLiteral("交换数据库没有打开。"));
    // Damaged pages must be refused, not read.
    if (!file.isSound())
        throw DbError(QStringLiteral("交换数据库文件已损坏：%1").arg(file.path()),
                      DbError::Cause::Damaged);
    checkExchangeTable(file, layout);
}

int exchangeRowCount(Connection& file, const ExchangeLayout& layout)
{
    Statement st(file, QStringLiteral("SELECT count(*) FROM %1").arg(ident(layout.exchangeTable)));
    return st.step() ? st.value(0).toInt() : 0;
}

int importRows(Connection& main, Connection& file, const ExchangeLayout& layout,
               const ExchangeProgress& progress)
{
    checkExchangeFile(file, layout);
    const int keyIdx = layout.keyIndex();
    if (keyIdx < 0) throw DbError(QStringLiteral("交换字段中没有“%1”。").arg(layout.keyColumn));
    const TableInfo* target = main.table(layout.mainTable);
    if (!target) throw DbError(QStringLiteral("数据库中没有数据表“%1”。").arg(layout.mainTable));
    QVector<ColumnInfo> into;
    for (const ExchangeColumn& c : layout.columns) {
        const int k = target->indexOf(c.name);
        into << (k < 0 ? ColumnInfo{} : target->columns[k]);
    }
    // Read as the file declares each column: a memo of a file made by an earlier
    // program that holds a number comes as the text it shows.
    const TableInfo* source = file.table(layout.exchangeTable);
    QVector<ColumnInfo::Type> kinds;
    for (const ExchangeColumn& c : layout.columns)
        kinds << source->columns[source->indexOf(c.name)].type;
    const int total = exchangeRowCount(file, layout);

    // The long part holds no lock, so saves on other workstations go on meanwhile:
    // every row is read and checked (a value the main table cannot hold fails the
    // import here), and the rows whose archive number is stored already or came
    // earlier in the file are dropped. The lookup compares as the archive number's
    // unique index does (letters without case). The progress window advances here.
    if (progress.start) progress.start(total);
    QVector<QVector<QVariant>> fresh;
    QStringList freshKeys;
    {
        QSet<QString> seen;
        KeyLookup has(main, layout.mainTable, layout.keyColumn);
        Statement rd(file, QStringLiteral("SELECT %1 FROM %2")
                               .arg(columnList(layout), ident(layout.exchangeTable)));
        QVector<QVector<QVariant>> batch;
        QStringList keys;
        bool more = true;
        while (more) {
            batch.clear();
            keys.clear();
            while (batch.size() < kImportBatch && (more = rd.step())) {
                QVector<QVariant> row(layout.columns.size());
                for (int i = 0; i < layout.columns.size(); ++i) {
                    const ExchangeColumn& c = layout.columns[i];
                    row[i] =
                        stored(into[i], Exchange::travelling(c, cell(rd, i, c.name, kinds[i])));
                }
                if (!row[keyIdx].isNull()) keys << row[keyIdx].toString();
                batch << row;
            }
            const QSet<QString> stored = has.present(keys);
            for (const QVector<QVariant>& row : batch) {
                if (!row[keyIdx].isNull()) {
                    const QString key = KeyLookup::fold(row[keyIdx].toString());
                    if (!stored.contains(key) && !seen.contains(key)) {
                        fresh << row;
                        freshKeys << row[keyIdx].toString();
                        seen.insert(key);
                    }
                }
                if (progress.step) progress.step();
            }
        }
    }
    if (fresh.isEmpty()) return 0;

    // The short part: one write transaction holding other writers of the table off
    // (numbering asks for the same lock), so the import stays all-or-nothing. The
    // new keys are looked up once more inside it: a listing another workstation
    // added meanwhile is skipped as if it had been there from the start.
    Connection::BulkScope bulk(main);
    Connection::Transaction t(main);
    main.lockWriters(layout.mainTable);
    const QSet<QString> addedMeanwhile =
        KeyLookup(main, layout.mainTable, layout.keyColumn).present(freshKeys);
    BulkInsert ins(main, layout.mainTable, columnNames(layout));
    std::optional<RecordLog::Imports> log;
    if (RecordLog::keeps(main, layout.mainTable)) log.emplace(main, layout.mainTable, file.path());
    int count = 0;
    QStringList added;
    for (const QVector<QVariant>& row : fresh) {
        if (addedMeanwhile.contains(KeyLookup::fold(row[keyIdx].toString()))) continue;
        ins.add(row);
        if (log) log->add(row[keyIdx].toString());
        added << row[keyIdx].toString();
        ++count;
    }
    ins.finish();
    if (log) log->finish();
    if (layout.importExtra) layout.importExtra(main, file, added);
    t.commit();
    return count;
}

} // namespace Exchange
