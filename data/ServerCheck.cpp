#include "data/ServerCheck.h"

#include "data/Connection.h"
#include "data/engine/Engine.h"

#include <QVariant>

namespace ServerCheck
{

Facts facts(Connection& c)
{
    Facts f;
    try {
        if (!c.engine() || c.engine()->flavor() != engine::Flavor::Postgres) return f;
        f.server = true;
        // inet_server_addr() is null over a Unix socket.
        Statement st(
            c, QStringLiteral("SELECT host(inet_server_addr()), "
                              "(SELECT count(*) FROM pg_stat_ssl WHERE pid = pg_backend_pid() "
                              "AND ssl), "
                              "(SELECT count(*) FROM pg_roles WHERE rolname = current_user AND "
                              "rolsuper)"));
        if (!st.step()) return f;
        const QVariant addr = st.value(0);
        const QString host = addr.toString();
        f.remote = !addr.isNull() && !host.startsWith(QLatin1String("127.")) &&
                   host != QLatin1String("::1");
        f.encrypted = st.value(1).toLongLong() > 0;
        f.superuser = st.value(2).toLongLong() > 0;
    } catch (const std::exception&) {
    }
    return f;
}

QString warning(const Facts& f)
{
    QStringList lines;
    if (f.server && f.remote && !f.encrypted)
        lines << QStringLiteral("与数据库服务器的连接没有加密，密码和客户资料会以明文在网络上传输。"
                                "请在服务器上启用 SSL，并在数据库地址后加上 ?sslmode=require"
                                "（或 verify-full）。");
    if (f.server && f.superuser)
        lines << QStringLiteral(
            "当前以数据库超级用户登录服务器。请为本办公室建立一个专用的数据库用户"
            "（createuser），让它拥有 Halvorra 的数据库，并用它的名字登录。");
    if (lines.isEmpty()) return {};
    return QStringLiteral("数据库连接的安全提示：\n") + lines.join(QLatin1Char('\n')) +
           QStringLiteral("\n（详见 README 中“把办公室的数据库放到 PostgreSQL 服务器上”一节。）");
}

} // namespace ServerCheck
