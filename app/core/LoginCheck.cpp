#include "app/core/LoginCheck.h"

#include "data/Query.h"
#include "data/Text.h"

namespace
{
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

} // namespace LoginCheck
