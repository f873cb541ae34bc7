#pragma once
// Where a main database lives, as written in path.ini and in the login window:
// the full path of a file, or the address of a PostgreSQL server database,
// "postgresql://user@host:port/dbname" (also "postgres://"). A server's password
// may stand in the address but is never remembered in a file; libpq reads it from
// ~/.pgpass or PGPASSWORD instead.
#include <QString>

namespace DbLocation
{

bool isServer(const QString& location);
// True when a server address carries a password.
bool hasPassword(const QString& location);
// The address without its password; any other text unchanged.
QString withoutPassword(const QString& location);
// For messages: the address without its password, or the path.
QString display(const QString& location);

} // namespace DbLocation
