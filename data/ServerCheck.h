#pragma once
// How safely the main database is reached: a server on another host should be
// reached through an encrypted connection, and an office should log in as a
// role of its own, not as a database superuser.
#include <QString>

class Connection;

namespace ServerCheck
{

struct Facts {
    bool server = false;    // the main database is on a server
    bool remote = false;    // on another host (not a local socket nor a loopback address)
    bool encrypted = false; // the connection is encrypted (SSL/TLS)
    bool superuser = false; // logged in as a superuser
};
// Never throws: what cannot be found out counts as safe.
Facts facts(Connection& c);

// The warning to show at login, naming what to change; empty when all is well.
QString warning(const Facts& f);

} // namespace ServerCheck
