#pragma once
// The layout of a main database and its upgrade at login. A database carries its
// layout in the table 数据库版本; one without it is layout 1 (the ten tables of
// the first program). Each step from one layout to the next adds tables and
// indexes and keeps every row; all steps run in one write transaction, so a
// failure leaves the database as it was. A database of a newer layout than this
// program's is refused without being changed.
#include "data/Connection.h"

namespace SchemaUpgrade
{

// The layout of an open main database, as its tables show it.
int version(Connection& c);

// The refusal of a database of a newer layout (`found`) than this program's.
QString newerText(int found);

// Throws DbError (newerText) when the database is of a newer layout; only reads.
void requireKnown(Connection& c);

// Brings an older database up to Schema::kLayoutVersion; a current one is left
// as it is. Another workstation upgrading at the same moment waits for this one
// and then finds nothing to do. Returns the layout the database had.
int upgrade(Connection& c);

} // namespace SchemaUpgrade
