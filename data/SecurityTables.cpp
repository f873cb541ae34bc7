#include "data/SecurityTables.h"

#include "data/DbError.h"
#include "data/Dialect.h"
#include "data/PasswordHash.h"
#include "data/Text.h"
#include "data/engine/Engine.h"

#include <QVariant>

namespace Schema
{

using T = ColumnInfo::Type;

const QList<TableDef>& securityTables()
{
    // Times are local "yyyy-MM-dd HH:mm:ss", as in the record tables.
    static const QList<TableDef> defs = {
        // One row per operator with a password: its Argon2id hash (parameters and
        // salt inside) and whether he must choose a new one at his next login.
        {"操作员密码",
         {{"员工编号", T::Text, 5},
          {"密码散列", T::Text, 200},
          {"须改密码", T::Text, 2},
          {"修改时间", T::Text, 19}}},
        // Every login attempt and every unlock: 登录成功, 密码错误, 用户锁定 (the
        // failure that locked the number), 锁定中 (tried while locked), 密码损坏,
        // 解除锁定 (by 操作员, a system administrator).
        {"登录记录",
         {{"编号", T::Integer, 0},
          {"时间", T::Text, 19},
          {"员工编号", T::Text, 5},
          {"工作站", T::Text, 100},
          {"事件", T::Text, 10},
          {"操作员", T::Text, 5}},
         true},
        // A staff number locked until 锁定至.
        {"登录锁定",
         {{"员工编号", T::Text, 5}, {"锁定时间", T::Text, 19}, {"锁定至", T::Text, 19}}},
        // Settings of the whole office: 空闲锁定分钟, 待清理密码.
        {"安全设置", {{"项目", T::Text, 20}, {"值", T::Text, 40}}},
    };
    return defs;
}

namespace
{
const char* const kSecurityIndexes[] = {
    "CREATE UNIQUE INDEX 操作员密码_员工编号 ON 操作员密码(员工编号)",
    "CREATE INDEX 登录记录_员工编号 ON 登录记录(员工编号, 编号)",
    "CREATE UNIQUE INDEX 登录锁定_员工编号 ON 登录锁定(员工编号)",
    "CREATE UNIQUE INDEX 安全设置_项目 ON 安全设置(项目)",
};
} // namespace

void createSecurityTables(Connection& c)
{
    for (const TableDef& t : securityTables())
        c.run(createTableSql(t, c));
    for (const char* s : kSecurityIndexes)
        c.run(QString::fromUtf8(s));
    c.reloadSchema();
}

} // namespace Schema

namespace OperatorPasswords
{

namespace
{

const QString kPending = QStringLiteral("待清理密码");

QString now()
{
    return QDateTime::currentDateTime().toString(QStringLiteral("yyyy-MM-dd HH:mm:ss"));
}

void setPending(Connection& c, bool on)
{
    Statement del(c, QStringLiteral("DELETE FROM 安全设置 WHERE 项目 = ?"));
    del.bind(1, kPending);
    del.step();
    if (!on) return;
    Statement ins(c, QStringLiteral("INSERT INTO 安全设置 (项目, 值) VALUES (?, '1')"));
    ins.bind(1, kPending);
    ins.step();
}

bool isPending(Connection& c)
{
    if (!c.table(QStringLiteral("安全设置"))) return false;
    Statement st(c, QStringLiteral("SELECT count(*) FROM 安全设置 WHERE 项目 = ?"));
    st.bind(1, kPending);
    return st.step() && st.value(0).toLongLong() > 0;
}

} // namespace

QString operatorMark()
{
    return QStringLiteral("******");
}

Stored read(Connection& c, const QString& number)
{
    Statement st(c, QStringLiteral("SELECT 密码散列, 须改密码 FROM 操作员密码 WHERE 员工编号 = ?"));
    st.bind(1, number);
    Stored s;
    if (!st.step()) return s;
    s.found = true;
    s.hash = st.value(0).toString();
    s.mustChange = st.value(1).toString() != QStringLiteral("否");
    return s;
}

void storeHash(Connection& c, const QString& number, const QString& hash, bool mustChange)
{
    Connection::Transaction t(c, Connection::Transaction::Joined);
    Statement del(c, QStringLiteral("DELETE FROM 操作员密码 WHERE 员工编号 = ?"));
    del.bind(1, number);
    del.step();
    Statement ins(c, Dialect::insertInto(QStringLiteral("操作员密码"),
                                         {QStringLiteral("员工编号"), QStringLiteral("密码散列"),
                                          QStringLiteral("须改密码"), QStringLiteral("修改时间")}));
    ins.bindAll({number, hash, mustChange ? QStringLiteral("是") : QStringLiteral("否"), now()});
    ins.step();
    Statement mark(c, QStringLiteral("UPDATE 操作员档案 SET 登录密码 = ? WHERE 员工编号 = ? AND "
                                     "操作人员 = '是'"));
    mark.bindAll({operatorMark(), number});
    mark.step();
    t.commit();
}

void store(Connection& c, const QString& number, const QString& password, bool mustChange)
{
    storeHash(c, number, PasswordHash::make(password), mustChange);
}

void forget(Connection& c, const QString& number)
{
    Statement del(c, QStringLiteral("DELETE FROM 操作员密码 WHERE 员工编号 = ?"));
    del.bind(1, number);
    del.step();
}

int hashPlainPasswords(Connection& c)
{
    if (c.requireEngine().flavor() == engine::Flavor::SqlCipher)
        c.run(QStringLiteral("PRAGMA secure_delete=ON"));
    struct Row {
        QString number, password;
        bool isOperator;
    };
    QList<Row> rows;
    {
        Statement st(c,
                     QStringLiteral("SELECT 员工编号, 登录密码, 操作人员 FROM 操作员档案 WHERE "
                                    "登录密码 IS NOT NULL AND 登录密码 <> '#' AND 登录密码 <> ?"));
        st.bind(1, operatorMark());
        while (st.step())
            rows.append({st.value(0).toString(), st.value(1).toString(),
                         Text::trim(st.value(2).toString()) == QStringLiteral("是")});
    }
    int turned = 0;
    for (const Row& r : rows) {
        const QString number = Text::trim(r.number), pw = Text::trim(r.password);
        if (r.isOperator && !pw.isEmpty()) {
            // The login compares trimmed texts; the initial password (the staff
            // number) must be replaced at the next login.
            store(c, r.number, pw, pw.compare(number, Qt::CaseInsensitive) == 0);
            ++turned;
        } else {
            // A staff member who is not an operator keeps no password at all.
            Statement st(c,
                         QStringLiteral("UPDATE 操作员档案 SET 登录密码 = '#' WHERE 员工编号 = ?"));
            st.bind(1, r.number);
            st.step();
        }
    }
    setPending(c, true);
    return turned;
}

bool clearOldCopies(Connection& c)
{
    try {
        if (!isPending(c)) return true;
        if (c.requireEngine().flavor() == engine::Flavor::SqlCipher) {
            // Rewrites the file: free pages and the unused space inside pages go.
            c.run(QStringLiteral("PRAGMA secure_delete=ON"));
            c.run(QStringLiteral("VACUUM"));
        } else {
            // Rewrites the table without the row versions the update left behind. A
            // session holding the table keeps it for a later login rather than
            // keeping this one waiting.
            c.run(QStringLiteral("SET lock_timeout = '3s'"));
            try {
                c.run(QStringLiteral("VACUUM FULL 操作员档案"));
            } catch (...) {
                c.run(QStringLiteral("RESET lock_timeout"));
                throw;
            }
            c.run(QStringLiteral("RESET lock_timeout"));
        }
        Connection::Transaction t(c);
        setPending(c, false);
        t.commit();
        return true;
    } catch (const std::exception&) {
        return false;
    }
}

} // namespace OperatorPasswords
