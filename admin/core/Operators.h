#pragma once
// Operators and passwords: the statements that move a staff row between the
// staff-member state and the operator state, set and read passwords, and the
// checks of the password change.
#include <QString>
#include <QStringList>

class Query;

namespace Operators
{

// Width of 登录密码; a longer password is refused before any statement runs.
constexpr int MaxPasswordLength = 10;
// The password window's boxes take at most this many characters.
constexpr int MaxTypedPasswordLength = 8;

// Roles the rights window offers, in its drop-down order.
QStringList grantableRoles();

// The rights window's list: every operator (功能组 not "#").
QStringList listSql();
// The staff members who are not operators, offered by 增加操作员.
QString candidatesSql();
// Client-side filter narrowing the list to one role.
QString roleFilter(const QString& role);

QString addSql(const QString& role, const QString& number);
QString removeSql(const QString& number);
QString setPasswordSql(const QString& number, const QString& password);
QString readPasswordSql(const QString& number);

// Each runs its statement on q (the shared scratch query).
void add(Query& q, const QString& role, const QString& number);
void remove(Query& q, const QString& number);
void setPassword(Query& q, const QString& number, const QString& password);
// The trimmed stored password; empty when the row is missing.
QString storedPassword(Query& q, const QString& number);

// True when the password fits the column.
bool passwordFits(const QString& password);
QString passwordTooLongMessage();

} // namespace Operators

namespace PasswordChange
{

enum class Failure { None, OldEmpty, NewEmpty, Mismatch, OldWrong, TooLong };

// Checks the typed (trimmed) texts before the stored password is read.
Failure checkInput(const QString& oldPw, const QString& new1, const QString& new2);
QString message(Failure f);

} // namespace PasswordChange
