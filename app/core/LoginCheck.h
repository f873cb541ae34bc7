#pragma once
// The operator check of the login: the number is matched by the database in the
// where clause, the password is compared here, exactly and with case distinguished.
#include "app/core/PubVars.h"

class Query;

namespace LoginCheck
{

// Runs the check on `qry` (a query on the main database) with the already
// trimmed number and password. On success fills YGBH, YGXM, YGMM and GNZ of
// `user` from the stored row and returns true. The query is closed in every case;
// a database error is thrown on.
bool run(Query& qry, const QString& number, const QString& password, GTMYhxx& user);

} // namespace LoginCheck
