#pragma once
// The backup copy of the main database: a consistent snapshot taken while the
// database stays open (and other workstations may be writing), written into a new
// file encrypted with the same password, also when the database is on a server.
#include <QString>

namespace Backup
{

// The file the backup writes: the chosen name with ".mdb" appended, always
// (a chosen "x.mdb" gives "x.mdb.mdb").
QString targetName(const QString& chosen);

// Copies the main database `source` (a file or a server address) into the new
// file `target`, keyed with `password`. Never overwrites: an existing target fails and stays
// untouched. Returns false on any failure, with the reason in `*why` when given; a half-written
// target is removed.
bool copyDatabase(const QString& source, const QString& target, const QString& password,
                  QString* why = nullptr);

} // namespace Backup
