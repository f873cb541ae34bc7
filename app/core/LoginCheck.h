#pragma once
// The operator check of the login: the number is matched by the database in the
// where clause, the password is compared here, exactly and with case distinguished.
#include "data/DbError.h"
#include "session/PubVars.h"

#include <QDateTime>

class Connection;
class Query;

namespace LoginCheck
{

// Runs the check on `qry` (a query on the main database) with the already
// trimmed number and password, which is compared with the hash kept for the
// operator. On success fills YGBH, YGXM, YGMM (the password's hash, never the
// password) and GNZ of `user` from the stored row and returns true. The query
// is closed in every case; a database error is thrown on.
bool run(Query& qry, const QString& number, const QString& password, GTMYhxx& user);

// The whole login attempt around that check: a locked number is refused before
// any password is looked at; a wrong password counts towards the lock; every
// attempt goes into the login log with the workstation; a matching password
// made with weaker hash parameters is hashed anew.
struct Attempt {
    enum Result { Ok, Wrong, Locked, Damaged } result = Wrong;
    QDateTime lockedUntil;   // Locked
    bool mustChange = false; // Ok: the initial or a reset password
};
Attempt attempt(Query& qry, const QString& number, const QString& password,
                const QString& workstation, GTMYhxx& user,
                const QDateTime& now = QDateTime::currentDateTime());
// What the login says for an operator whose kept password cannot be read.
QString damagedText();

// The main database's location as path.ini keeps it: a server address never with
// its password (that belongs in ~/.pgpass or PGPASSWORD); `*dropped` tells
// whether one was taken out.
QString locationToRemember(const QString& typed, bool* dropped);
// What the login says when it drops a password from the address.
QString passwordDroppedText();

// Why a database did not open at login.
struct Refused {
    QString why;
    DbError::Cause cause = DbError::Cause::Other;
};

// What the login says when the main database does not open: for a file its fixed
// message, the focus going to "..."; for a server address the cause, the focus
// going to the box, where the address is corrected. A file that is damaged or
// cannot be written gets one more line that says so (and, when damaged, that the
// latest backup can be opened instead).
struct MainRefusal {
    QString text;
    bool focusBox = false;
};
MainRefusal mainRefusal(const QString& location, const Refused& why);
// The same for the exchange file (always a file).
QString exchangeRefusal(const Refused& why);

} // namespace LoginCheck
