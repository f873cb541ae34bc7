#pragma once
// What an operator's own new password must be: at least 6 characters, at most
// 200, and not his staff number (letter case aside). Texts are trimmed by the
// caller, as the login trims what is typed.
#include <QString>

namespace PasswordRules
{

constexpr int kMinLength = 6;
constexpr int kMaxLength = 200;

enum class Failure { None, TooShort, TooLong, IsNumber };

Failure check(const QString& password, const QString& number);
QString message(Failure f);

// Whether a password is the initial one an operator gets (his staff number).
bool isInitial(const QString& password, const QString& number);

} // namespace PasswordRules
