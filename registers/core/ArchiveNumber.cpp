#include "registers/core/ArchiveNumber.h"

#include "data/DbError.h"
#include "data/Query.h"
#include "data/RecycleBin.h"
#include "data/Text.h"

#include <exception>
#include <memory>

namespace ArchiveNumber
{

namespace
{

const QString kNumberField = QStringLiteral("档案号");
const QString kSequenceField = QStringLiteral("序号");

bool allDigits(const QString& s)
{
    for (QChar c : s)
        if (c < QLatin1Char('0') || c > QLatin1Char('9')) return false;
    return !s.isEmpty();
}

// True when `number` is stored in `table` (read after a failed save, to tell a
// number taken by another workstation from any other failure).
bool isTaken(Query& lookup, const QString& table, const QString& number)
{
    lookup.close();
    lookup.clearSql();
    lookup.addSql(QStringLiteral("select count(*) as n from ") + table + QStringLiteral(" "));
    lookup.addSql(QStringLiteral("where 档案号=\"") + Text::quoted(number, QLatin1Char('"')) +
                  QStringLiteral("\""));
    lookup.open();
    const bool taken = lookup.number(QStringLiteral("n")) > 0;
    lookup.close();
    return taken;
}

QVector<QVariant> snapshot(const Query& row)
{
    QVector<QVariant> v(row.fieldCount());
    for (int i = 0; i < row.fieldCount(); ++i)
        v[i] = row.value(i);
    return v;
}

// After a commit failed the row set believes the row was written although the
// transaction was rolled back: read the row set again and start the row anew with
// the values it had, so nothing the operator typed is lost.
void restoreInsert(Query& row, const QVector<QVariant>& values)
{
    row.close();
    row.open();
    row.append();
    for (int i = 0; i < values.size() && i < row.fieldCount(); ++i)
        row.setValue(i, values[i]);
}

} // namespace

QStringList maxSequenceStatement(const QString& table, const QString& company, const QString& date,
                                 QChar quote)
{
    return {QStringLiteral("select max(序号) as xh from ") + table + QStringLiteral(" "),
            QStringLiteral("where 公司编号=") + Text::literal(company, quote) + QStringLiteral(" "),
            QStringLiteral("and 录入日期=") + Text::literal(date, quote)};
}

QString nextSequence(const QString& storedMax, const QString& company, const QString& date)
{
    const QString t = Text::trim(storedMax);
    if (t.isEmpty()) return QStringLiteral("001");
    bool ok = false;
    const qlonglong n = allDigits(t) ? t.toLongLong(&ok) : 0;
    if (!ok)
        throw DbError(QStringLiteral("公司编号“%1”在 %2 录入的记录中有无效的序号“%3”（不是整数），"
                                     "无法生成档案号，这条记录没有保存。")
                          .arg(company, date, t));
    if (n >= kMaxSequence)
        throw DbError(QStringLiteral("公司编号“%1”在 %2 这一天的序号已到 %3，档案号已用完"
                                     "（每天最多 %3 条），这条记录没有保存。")
                          .arg(company, date)
                          .arg(kMaxSequence));
    return QString::number(n + 1).rightJustified(3, QLatin1Char('0'));
}

QString compose(const QString& company, const QString& date, const QString& sequence)
{
    return company + date + sequence;
}

QString readNextSequence(Query& lookup, const QString& table, const QString& company,
                         const QString& date, QChar quote)
{
    lookup.close();
    lookup.clearSql();
    for (const QString& line : maxSequenceStatement(table, company, date, quote))
        lookup.addSql(line);
    lookup.open();
    const QString xh = Text::trim(lookup.text(QStringLiteral("xh")));
    lookup.close();
    return nextSequence(xh, company, date);
}

Numbered numberAndPost(Query& row, Query& lookup, const QString& company, const QString& date,
                       const std::function<void(Query&)>& beforePost, int attempts, QChar quote,
                       const std::function<void(const QString&)>& afterPost)
{
    if (row.state() != Query::State::Insert)
        throw DbError(QStringLiteral("只有新记录才能生成档案号。"));
    Connection* conn = row.connection();
    const QString table = row.tableName();
    const int noCol = row.fieldIndex(kNumberField);
    const int seqCol = row.fieldIndex(kSequenceField);
    if (!conn || lookup.connection() != conn || table.isEmpty() || noCol < 0 || seqCol < 0)
        throw DbError(QStringLiteral("这个数据集不能生成档案号。"));
    const QVariant oldNumber = row.value(noCol);
    const QVariant oldSequence = row.value(seqCol);

    for (int attempt = 1;; ++attempt) {
        QString number;
        QVector<QVariant> posted; // the row as written, once post() succeeded
        try {
            std::unique_ptr<Connection::Transaction> tx;
            try {
                tx = std::make_unique<Connection::Transaction>(*conn);
                // Savers of the same table queue here until this save commits.
                conn->lockWriters(table);
            } catch (const DbError& e) {
                // The engine names what holds the write off: another workstation
                // writing or importing, a database that cannot be written at all, a
                // lost connection.
                throw DbError(QStringLiteral("这条记录没有保存：%1").arg(e.text()), e.cause());
            }
            QString sequence = readNextSequence(lookup, table, company, date, quote);
            number = compose(company, date, sequence);
            // A number a deleted row had (in the recycle bin, or erased from it) is
            // not given again: its row may come back, and its history is its own.
            while (RecycleBin::gaveAway(*conn, table, number)) {
                sequence = nextSequence(sequence, company, date);
                number = compose(company, date, sequence);
            }
            row.setValue(noCol, number);
            row.setValue(seqCol, sequence);
            if (beforePost) beforePost(row);
            const QVector<QVariant> values = snapshot(row);
            row.post();
            posted = values;
            if (afterPost) afterPost(number);
            tx->commit();
            return {number, sequence};
        } catch (...) {
            // The transaction is rolled back by now: nothing of this attempt is stored.
            const std::exception_ptr failure = std::current_exception();
            bool conflict = false;
            try {
                if (!posted.isEmpty()) restoreInsert(row, posted);
                if (row.state() == Query::State::Insert) {
                    row.setValue(noCol, oldNumber);
                    row.setValue(seqCol, oldSequence);
                }
                conflict = posted.isEmpty() && !number.isEmpty() && isTaken(lookup, table, number);
            } catch (...) {
                // Report the failure of the save, not of the clean-up.
            }
            if (!conflict) std::rethrow_exception(failure);
            if (attempt >= attempts)
                throw DbError(QStringLiteral("档案号“%1”已被占用，重试 %2 次仍未能取得新的档案号，"
                                             "这条记录没有保存。")
                                  .arg(number)
                                  .arg(attempts));
        }
    }
}

} // namespace ArchiveNumber
