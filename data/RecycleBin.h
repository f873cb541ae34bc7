#pragma once
// The recycle bin of listings and customers (table 回收站): a deleted row is kept
// whole, every column with its value, with who deleted it and when, until a system
// administrator restores it (under its own archive number) or erases it for good.
// The bin keeps the row apart from the table's layout, so a row deleted before a
// column changed is checked against the table as it is when it comes back.
#include "data/Connection.h"

#include <QList>
#include <QVariant>
#include <QVector>
#include <utility>

namespace RecycleBin
{

using Values = QList<std::pair<QString, QVariant>>; // column, value

// A row as the bin keeps it (JSON: column → number, text or null), and back.
QString encode(const QList<ColumnInfo>& columns, const QVector<QVariant>& values);
Values decode(const QString& content);

// Puts a row into the bin, inside the caller's transaction.
void put(Connection& c, const QString& table, const QString& number, const QString& content);

struct Entry {
    qlonglong id = 0;
    QString table, number;
    QString deletedAt;   // yyyy-MM-dd HH:mm:ss
    QString deletedBy;   // staff number
    QString deleterName; // 员工姓名 where the staff register still has it
    QString workstation;
    Values values;
    QVariant value(const QString& column) const;
};

// Every row in the bin, the latest deletion first.
QList<Entry> entries(Connection& c);

// Puts the row back into its table under its own archive number, takes it out of
// the bin and records 恢复, all in one transaction. Refused with a DbError saying
// why when the number has been taken meanwhile (an import, say) or a value no
// longer fits the table; the row then stays in the bin.
void restore(Connection& c, qlonglong id);

// Takes the row out of the bin for good, with the record's own follow-up notes
// (kept when a row of the register holds the number again), and records 彻底删除.
void erase(Connection& c, qlonglong id);

// Whether an archive number of `table` has been given to a row that was deleted
// since (in the bin now, or erased from it): the numbering never gives it again.
bool gaveAway(Connection& c, const QString& table, const QString& number);

} // namespace RecycleBin
