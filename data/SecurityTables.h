#pragma once
// What the main database keeps to let operators in safely: the password hashes
// (a table of their own keyed by staff number, since 操作员档案.登录密码 holds
// only 10 characters), the login log, the locks of staff numbers after repeated
// wrong passwords, and a few settings. 登录密码 itself keeps "#" for a staff
// member who is not an operator and a fixed mark for an operator: never a password.
#include "data/Connection.h"
#include "data/Schema.h"

#include <QDateTime>

namespace Schema
{

const QList<TableDef>& securityTables();
// Makes the tables and their indexes (inside the caller's transaction).
void createSecurityTables(Connection& c);

} // namespace Schema

namespace OperatorPasswords
{

// What 登录密码 holds for an operator whose password is kept as a hash.
QString operatorMark();

struct Stored {
    bool found = false;      // a hash row exists for the number
    QString hash;            // the encoded hash as stored
    bool mustChange = false; // the operator must choose a new password at login
};
Stored read(Connection& c, const QString& number);

// Keeps the hash of `password` for the staff number (replacing any earlier one)
// and the operator mark in 登录密码 where the row is an operator. Joins the
// caller's transaction or runs in one of its own.
void store(Connection& c, const QString& number, const QString& password, bool mustChange);
// Keeps an already made hash (a hash made again with the current parameters).
void storeHash(Connection& c, const QString& number, const QString& hash, bool mustChange);
// Forgets the hash of a staff member who is no longer an operator.
void forget(Connection& c, const QString& number);

// Turns every password stored as plain text in 操作员档案 into its hash (an
// operator whose password is his staff number must change it at his next
// login), leaving the operator mark or "#" in its place; inside the caller's
// transaction. Returns how many were turned. Marks the database for
// clearOldCopies.
int hashPlainPasswords(Connection& c);

// After hashPlainPasswords committed: removes the old bytes of the plain
// passwords from the database (a file is rewritten by a vacuum, which frees
// pages and overwrites deleted rows; a server's table is rewritten without its
// old row versions). Another workstation holding the file open can keep this
// from running: the mark stays and the next login tries again. Never throws;
// true when nothing is left to clear.
bool clearOldCopies(Connection& c);

} // namespace OperatorPasswords
