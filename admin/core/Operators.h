#pragma once
// Operators and passwords: the statements that move a staff row between the
// staff-member state and the operator state, set and read passwords, and the
// checks of the password change.
#include "data/PasswordHash.h"

#include <QString>
#include <QStringList>

class Query;

namespace Operators
{

// The longest password kept (as its hash; 登录密码 holds only a mark); a longer
// one is refused with a message before any statement runs.
constexpr int MaxPasswordLength = 200;

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
QString setPasswordSql(const QString& number);

// Each runs its statement on q (the shared scratch query) and keeps the
// password's hash in the same transaction. A new operator's initial password is
// his staff number; it and a password a system administrator sets must be
// replaced at the operator's next login (`mustChange`); his own change does not.
void add(Query& q, const QString& role, const QString& number);
void remove(Query& q, const QString& number);
void setPassword(Query& q, const QString& number, const QString& password, bool mustChange = true);
// Whether `password` is the one kept for the staff number (Damaged: its hash is
// missing or not readable).
PasswordHash::Check verifyPassword(Query& q, const QString& number, const QString& password);

// True when the password fits the column.
bool passwordFits(const QString& password);
QString passwordTooLongMessage();

} // namespace Operators

namespace PasswordChange
{

enum class Failure { None, OldEmpty, NewEmpty, Mismatch, OldWrong, TooLong, TooShort, IsNumber };

// Checks the typed (trimmed) texts before the stored password is read; the new
// password must suit the operator `number`.
Failure checkInput(const QString& oldPw, const QString& new1, const QString& new2,
                   const QString& number = {});
QString message(Failure f);

} // namespace PasswordChange
