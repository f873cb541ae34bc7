#include "admin/core/Operators.h"

#include "data/Connection.h"
#include "data/DbError.h"
#include "data/Query.h"
#include "data/SecurityTables.h"
#include "data/Text.h"
#include "security/core/PasswordRules.h"

namespace Operators
{

namespace
{

QString q(const QString& v)
{
    return Text::quoted(v);
}

void run(Query& query, const QString& line)
{
    query.close();
    query.clearSql();
    query.addSql(line);
    query.execSql();
}

} // namespace

QStringList grantableRoles()
{
    return {QStringLiteral("普通操作员"), QStringLiteral("高级操作员")};
}

QStringList listSql()
{
    return {QStringLiteral("select 员工编号,员工姓名,登录密码,功能组 from 操作员档案"),
            QStringLiteral("where 功能组<>'#'")};
}

QString candidatesSql()
{
    return QStringLiteral("SELECT 员工编号,员工姓名 FROM 操作员档案 WHERE 功能组='#'");
}

QString roleFilter(const QString& role)
{
    return QStringLiteral("功能组='") + q(Text::trim(role)) + QLatin1Char('\'');
}

QString addSql(const QString& role, const QString& number)
{
    // The password itself (the staff number at first) is kept as a hash.
    return QStringLiteral(" UPDATE 操作员档案 SET 功能组='") + q(role) +
           QStringLiteral("',登录密码='") + q(OperatorPasswords::operatorMark()) +
           QStringLiteral("',操作人员='是' WHERE 员工编号='") + q(number) + QStringLiteral("' ");
}

QString removeSql(const QString& number)
{
    return QStringLiteral(
               " UPDATE 操作员档案 SET 功能组='#',登录密码='#',操作人员='否' WHERE 员工编号='") +
           q(number) + QStringLiteral("' ");
}

QString setPasswordSql(const QString& number)
{
    return QStringLiteral(" UPDATE 操作员档案 SET 登录密码='") +
           q(OperatorPasswords::operatorMark()) + QStringLiteral("' WHERE 员工编号='") + q(number) +
           QStringLiteral("' ");
}

void add(Query& query, const QString& role, const QString& number)
{
    Connection& c = *query.connection();
    Connection::Transaction t(c);
    run(query, addSql(role, number));
    OperatorPasswords::store(c, number, number, true);
    t.commit();
}

void remove(Query& query, const QString& number)
{
    Connection& c = *query.connection();
    Connection::Transaction t(c);
    run(query, removeSql(number));
    OperatorPasswords::forget(c, number);
    t.commit();
}

void setPassword(Query& query, const QString& number, const QString& password, bool mustChange)
{
    if (!passwordFits(password)) throw DbError(passwordTooLongMessage());
    Connection& c = *query.connection();
    Connection::Transaction t(c);
    run(query, setPasswordSql(number));
    OperatorPasswords::store(c, number, password, mustChange);
    t.commit();
}

PasswordHash::Check verifyPassword(Query& query, const QString& number, const QString& password)
{
    const OperatorPasswords::Stored s = OperatorPasswords::read(*query.connection(), number);
    if (!s.found) return PasswordHash::Check::Damaged;
    return PasswordHash::verify(s.hash, password);
}

bool passwordFits(const QString& password)
{
    return Text::charCount(password) <= MaxPasswordLength;
}

QString passwordTooLongMessage()
{
    return QStringLiteral("密码最多只能有%1个字符，请重新输入。").arg(MaxPasswordLength);
}

} // namespace Operators

namespace PasswordChange
{

Failure checkInput(const QString& oldPw, const QString& new1, const QString& new2,
                   const QString& number)
{
    if (oldPw.isEmpty()) return Failure::OldEmpty;
    if (new1.isEmpty() || new2.isEmpty()) return Failure::NewEmpty;
    if (new1 != new2) return Failure::Mismatch;
    switch (PasswordRules::check(new1, number)) {
    case PasswordRules::Failure::TooLong:
        return Failure::TooLong;
    case PasswordRules::Failure::TooShort:
        return Failure::TooShort;
    case PasswordRules::Failure::IsNumber:
        return Failure::IsNumber;
    case PasswordRules::Failure::None:
        break;
    }
    return Failure::None;
}

QString message(Failure f)
{
    switch (f) {
    case Failure::OldEmpty:
        return QStringLiteral("请输入原密码。");
    case Failure::NewEmpty:
        return QStringLiteral("请完整输入新密码和确认新密码,不能为空");
    case Failure::Mismatch:
        return QStringLiteral("新密码和确认密码不一致,请重新输入。");
    case Failure::OldWrong:
        return QStringLiteral("输入的原密码与系统中的密码不匹配。");
    case Failure::TooLong:
        return Operators::passwordTooLongMessage();
    case Failure::TooShort:
        return PasswordRules::message(PasswordRules::Failure::TooShort);
    case Failure::IsNumber:
        return PasswordRules::message(PasswordRules::Failure::IsNumber);
    case Failure::None:
        break;
    }
    return {};
}

} // namespace PasswordChange
