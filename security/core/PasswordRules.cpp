#include "security/core/PasswordRules.h"

#include "data/Text.h"

namespace PasswordRules
{

bool isInitial(const QString& password, const QString& number)
{
    return password.compare(Text::trim(number), Qt::CaseInsensitive) == 0;
}

Failure check(const QString& password, const QString& number)
{
    const int n = Text::charCount(password);
    if (n > kMaxLength) return Failure::TooLong;
    if (n < kMinLength) return Failure::TooShort;
    if (isInitial(password, number)) return Failure::IsNumber;
    return Failure::None;
}

QString message(Failure f)
{
    switch (f) {
    case Failure::TooShort:
        return QStringLiteral("新密码至少要有%1个字符。").arg(kMinLength);
    case Failure::TooLong:
        return QStringLiteral("密码最多只能有%1个字符，请重新输入。").arg(kMaxLength);
    case Failure::IsNumber:
        return QStringLiteral("新密码不能与用户编号相同。");
    case Failure::None:
        break;
    }
    return {};
}

} // namespace PasswordRules
