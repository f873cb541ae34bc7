#pragma once
// A whole main database moved between a file and a server (either way), and the
// backup copy: always a keyed file, whatever the database it is taken from.
#include <QList>
#include <QString>

namespace DatabaseCopy
{

struct TableCount {
    QString table;
    long long rows = 0;
};

// Copies all ten tables of the main database at `source` into `target` (a file
// path or a server address), row for row, read in one consistent snapshot and
// written in one transaction. A target file must not exist yet (it is made) or be
// one of ours with every table empty; a target server database must hold no tables
// (they are made) or ours, all empty. Throws DbError otherwise, and on any failure,
// leaving the target as it was (a new file is removed).
QList<TableCount> copy(const QString& source, const QString& target);

// The backup: a new file, keyed with `password`, holding a consistent snapshot of
// the main database at `source` (a file, opened with `password`, or a server).
// Never overwrites: an existing target fails and stays untouched. Returns false
// on any failure with the reason in `*why`; a half-written target is removed.
bool backup(const QString& source, const QString& target, const QString& password,
            QString* why = nullptr);

} // namespace DatabaseCopy
