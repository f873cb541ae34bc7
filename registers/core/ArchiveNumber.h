#pragma once
// Archive numbers of new listings and customers: the company code (3 characters),
// the entry date YYMMDD (6) and the daily sequence (3 digits with leading zeros),
// counted per company code and entry date. Works on any table that has the columns
// 档案号, 公司编号, 录入日期 and 序号 (房屋信息, 客户信息).
#include <QString>
#include <QStringList>
#include <functional>

class Query;

namespace ArchiveNumber
{

// The greatest sequence one company can give on one day.
constexpr int kMaxSequence = 999;
// How often a save is tried again when another workstation took the number first.
constexpr int kDefaultAttempts = 5;

// The lookup of the greatest stored sequence of a company and day, one line per
// entry; the values are put between `quote` characters (listings use '"', customers
// '\'') and quoted so that any text is read literally.
QStringList maxSequenceStatement(const QString& table, const QString& company, const QString& date,
                                 QChar quote = QLatin1Char('"'));

// The sequence that follows the greatest stored one (empty when the day has none):
// "001", "002", ... "999". Throws DbError when the stored text is not a whole
// number, or when the day already holds kMaxSequence entries of this company.
QString nextSequence(const QString& storedMax, const QString& company, const QString& date);

// Company code + date + sequence, nothing between them.
QString compose(const QString& company, const QString& date, const QString& sequence);

// Runs the lookup through `lookup` (closed afterwards) and returns the next sequence.
QString readNextSequence(Query& lookup, const QString& table, const QString& company,
                         const QString& date, QChar quote = QLatin1Char('"'));

struct Numbered {
    QString archiveNumber;
    QString sequence;
};

// Numbers the new row of `row` (which must be inserting) and posts it: the sequence
// after the greatest stored one, passing over numbers that deleted rows had (see
// RecycleBin::gaveAway). Reading the
// greatest sequence and writing the row happen inside one write transaction on the
// row's connection that holds other savers of the same table off until it ends (a
// file's write lock; a server's lock on the table's name), so two workstations
// cannot take the same number; if the unique archive number is taken anyway (a
// writer outside this rule), the count is read again and the save tried again, up
// to `attempts` times.
//
// `quote` is the quote character of the lookup's values (see maxSequenceStatement).
// `beforePost` runs inside the transaction after the number is set, for the values
// the caller writes at save. `lookup` must work on the same connection as `row`.
//
// On any failure the row stays unsaved and inserting, with the values it had (and
// without an archive number), and the error is thrown on.
// `afterPost` runs inside the transaction after the row is written, with its
// number, for what is stored with the new row (its photos); a failure there
// leaves the row unsaved like any other.
Numbered numberAndPost(Query& row, Query& lookup, const QString& company, const QString& date,
                       const std::function<void(Query&)>& beforePost = {},
                       int attempts = kDefaultAttempts, QChar quote = QLatin1Char('"'),
                       const std::function<void(const QString&)>& afterPost = {});

} // namespace ArchiveNumber
