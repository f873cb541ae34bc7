#include "admin/core/Operators.h"

#include "data/DbError.h"
#include "data/Query.h"
#include "data/Text.h"

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
    return QStringLiteral(" UPDATE 操作员档案 SET 功能组='") + q(role) +
           QStringLiteral("',登录密码='") + q(number) +
           QStringLiteral("',操作人员='是' WHERE 员工编号='") + q(number) + QStringLiteral("' ");
}

QString removeSql(const QString& number)
{
    return QStringLiteral(
               " UPDATE 操作员档案 SET 功能组='#',登录密码='#',操作人员='否' WHERE 员工编号='") +
           q(number) + QStringLiteral("' ");
}

QString setPasswordSql(const QString& number, const QString& password)
{
    return QStringLiteral(" UPDATE 操作员档案 SET 登录密码='") + q(password) +
           QStringLiteral("' WHERE 员工编号='") + q(number) + QStringLiteral("' ");
}

QString readPasswordSql(const QString& number)
{
    return QStringLiteral(" SELECT 登录密码 FROM 操作员档案 WHERE 员工编号='") + q(number) +
           QStringLiteral("' ");
}

void add(Query& query, const QString& role, const QString& number)
{
    run(query, addSql(role, number));
}

void remove(Query& query, const QString& number)
{
    run(query, removeSql(number));
}

void setPassword(Query& query, const QString& number, const QString& password)
{
    if (!passwordFits(password)) throw DbError(passwordTooLongMessage());
    run(query, setPasswordSql(number, password));
}

QString storedPassword(Query& query, const QString& number)
{
    query.close();
    query.clearSql();
    query.addSql(readPasswordSql(number));
    query.open();
    const QString pw =
        query.isEmpty() ? QString() : Text::trim(query.text(QStringLiteral("登录密码")));
    query.close();
    return pw;
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

Failure checkInput(const QString& oldPw, const QString& new1, const QString& new2)
{
    if (oldPw.isEmpty()) return Failure::OldEmpty;
    if (new1.isEmpty() || new2.isEmpty()) return Failure::NewEmpty;
    if (new1 != new2) return Failure::Mismatch;
    if (!Operators::passwordFits(new1)) return Failure::TooLong;
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
    case Failure::None:
        break;
    }
    return {};
}

} // namespace PasswordChange
