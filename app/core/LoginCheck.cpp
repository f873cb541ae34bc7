#include "app/core/LoginCheck.h"

#include "data/DbLocation.h"
#include "data/Query.h"
#include "data/Text.h"

namespace
{

// The line after a file's fixed refusal that tells what is wrong with it, where
// the user can act on it; empty otherwise.
QString causeLine(const LoginCheck::Refused& r)
{
    switch (r.cause) {
    case DbError::Cause::Damaged:
        return QStringLiteral("\n文件已损坏，不能使用。可以改为打开最近的备份文件"
                              "（用“备份文件”做的副本）。");
    case DbError::Cause::ReadOnly:
        return QLatin1Char('\n') + r.why;
    default:
        return {};
    }
}

// Closes the query however the check ends.
struct CloseOnExit {
    Query& q;
    ~CloseOnExit() { q.close(); }
};
} // namespace

namespace LoginCheck
{

bool run(Query& qry, const QString& number, const QString& password, GTMYhxx& user)
{
    CloseOnExit guard{qry};
    qry.close();
    qry.clearSql();
    qry.addSql(QStringLiteral("SELECT * FROM 操作员档案  "));
    qry.addSql(QStringLiteral("WHERE 员工编号='") + Text::quoted(number) + QStringLiteral("' "));
    qry.addSql(QStringLiteral("AND 操作人员='是' "));
    qry.open();
    if (qry.recordCount() == 0) return false;
    qry.first();
    if (password != Text::trim(qry.text(QStringLiteral("登录密码")))) return false;
    user.YGBH = Text::trim(qry.text(QStringLiteral("员工编号")));
    user.YGXM = Text::trim(qry.text(QStringLiteral("员工姓名")));
    user.YGMM = Text::trim(qry.text(QStringLiteral("登录密码")));
    user.GNZ = Text::trim(qry.text(QStringLiteral("功能组")));
    return true;
}

QString locationToRemember(const QString& typed, bool* dropped)
{
    const QString kept = DbLocation::withoutPassword(typed);
    if (dropped) *dropped = kept != typed;
    return kept;
}

QString passwordDroppedText()
{
    return QStringLiteral("数据库地址中的密码不会保存到 path.ini。请把密码写在 ~/.pgpass 中"
                          "（或用环境变量 PGPASSWORD 给出），下次登录时会从那里读取。");
}

MainRefusal mainRefusal(const QString& location, const Refused& why)
{
    if (!DbLocation::isServer(location))
        return {QStringLiteral("数据库操作文件出错，请重新选择！") + causeLine(why), false};
    return {QStringLiteral("数据库服务器连接出错，请检查地址：\n") + why.why, true};
}

QString exchangeRefusal(const Refused& why)
{
    return QStringLiteral("数据库导出文件出错，请重新选择！") + causeLine(why);
}

} // namespace LoginCheck
