#include "app/core/LoginCheck.h"

#include "data/Connection.h"
#include "data/DbLocation.h"
#include "data/PasswordHash.h"
#include "data/Query.h"
#include "data/SecurityTables.h"
#include "data/Text.h"
#include "security/core/LoginGuard.h"
#include "security/core/PasswordRules.h"

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

// The check itself: the operator's row, then his kept hash against the password.
struct Found {
    PasswordHash::Check check = PasswordHash::Check::Mismatch;
    bool row = false;
    OperatorPasswords::Stored stored;
};

Found check(Query& qry, const QString& number, const QString& password, GTMYhxx& user)
{
    CloseOnExit guard{qry};
    qry.close();
    qry.clearSql();
    qry.addSql(QStringLiteral("SELECT * FROM 操作员档案  "));
    qry.addSql(QStringLiteral("WHERE 员工编号='") + Text::quoted(number) + QStringLiteral("' "));
    qry.addSql(QStringLiteral("AND 操作人员='是' "));
    qry.open();
    Found f;
    if (qry.recordCount() == 0) {
        // As long as a check of a real operator: the time of the answer does not
        // tell which staff numbers exist.
        if (qry.connection()->table(QStringLiteral("操作员密码"))) {
            static const QString unknown = PasswordHash::make(QStringLiteral("不是操作员"));
            PasswordHash::verify(unknown, password);
        }
        return f;
    }
    qry.first();
    f.row = true;
    const QString stored = Text::trim(qry.text(QStringLiteral("员工编号")));
    if (!qry.connection()->table(QStringLiteral("操作员密码"))) {
        // A database of an older layout, upgraded right after the login: its
        // passwords are still plain text, compared as typed.
        f.check = password == Text::trim(qry.text(QStringLiteral("登录密码")))
                      ? PasswordHash::Check::Match
                      : PasswordHash::Check::Mismatch;
    } else {
        f.stored = OperatorPasswords::read(*qry.connection(), stored);
        f.check = f.stored.found ? PasswordHash::verify(f.stored.hash, password)
                                 : PasswordHash::Check::Damaged;
    }
    if (f.check != PasswordHash::Check::Match) return f;
    user.YGBH = stored;
    user.YGXM = Text::trim(qry.text(QStringLiteral("员工姓名")));
    user.YGMM = f.stored.hash;
    user.GNZ = Text::trim(qry.text(QStringLiteral("功能组")));
    return f;
}

} // namespace

namespace LoginCheck
{

bool run(Query& qry, const QString& number, const QString& password, GTMYhxx& user)
{
    return check(qry, number, password, user).check == PasswordHash::Check::Match;
}

Attempt attempt(Query& qry, const QString& number, const QString& password,
                const QString& workstation, GTMYhxx& user, const QDateTime& now)
{
    Connection& c = *qry.connection();
    Attempt a;
    if (!c.table(QStringLiteral("登录记录"))) {
        // Not upgraded yet: no locks nor log to keep.
        const Found f = check(qry, number, password, user);
        if (f.check == PasswordHash::Check::Match) {
            a.result = Attempt::Ok;
            a.mustChange = PasswordRules::isInitial(password, user.YGBH);
        }
        return a;
    }
    const LoginGuard::Lock held = LoginGuard::lockOf(c, number, now);
    if (held.locked) {
        LoginGuard::record(c, number, workstation, LoginGuard::Event::WhileLocked, now);
        return {Attempt::Locked, held.until, false};
    }
    GTMYhxx found;
    const Found f = check(qry, number, password, found);
    if (f.check == PasswordHash::Check::Damaged && f.row) {
        LoginGuard::record(c, number, workstation, LoginGuard::Event::Damaged, now);
        return {Attempt::Damaged, {}, false};
    }
    if (f.check != PasswordHash::Check::Match) {
        const LoginGuard::Lock l = LoginGuard::failed(c, number, workstation, now);
        if (l.locked) return {Attempt::Locked, l.until, false};
        return a;
    }
    user.YGBH = found.YGBH;
    user.YGXM = found.YGXM;
    user.YGMM = found.YGMM;
    user.GNZ = found.GNZ;
    LoginGuard::record(c, found.YGBH, workstation, LoginGuard::Event::Success, now);
    a.result = Attempt::Ok;
    a.mustChange = f.stored.mustChange || PasswordRules::isInitial(password, found.YGBH);
    if (PasswordHash::isOutdated(f.stored.hash)) {
        OperatorPasswords::store(c, found.YGBH, password, f.stored.mustChange);
        user.YGMM = OperatorPasswords::read(c, found.YGBH).hash;
    }
    return a;
}

QString damagedText()
{
    return QStringLiteral("该操作员保存的密码已损坏或没有设置，不能登录。\n"
                          "请系统管理员在“权限设置”中为他重新设置密码。");
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
