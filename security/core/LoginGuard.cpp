#include "security/core/LoginGuard.h"

#include "data/Connection.h"
#include "data/Dialect.h"
#include "data/Text.h"

#include <QVariant>

namespace LoginGuard
{

namespace
{

const QString kTimeFormat = QStringLiteral("yyyy-MM-dd HH:mm:ss");
const QString kIdleKey = QStringLiteral("空闲锁定分钟");

QString stamp(const QDateTime& t)
{
    return t.toString(kTimeFormat);
}

QDateTime parse(const QString& s)
{
    return QDateTime::fromString(s, kTimeFormat);
}

// Staff numbers as the tables store them (the login box takes five characters;
// a longer text is never a staff number).
QString key(const QString& number)
{
    return Text::leftChars(Text::trim(number), 5);
}

void insertEvent(Connection& c, const QString& number, const QString& workstation,
                 const QString& event, const QDateTime& now, const QString& by)
{
    Statement st(c, Dialect::insertInto(QStringLiteral("登录记录"),
                                        {QStringLiteral("时间"), QStringLiteral("员工编号"),
                                         QStringLiteral("工作站"), QStringLiteral("事件"),
                                         QStringLiteral("操作员")}));
    const QString ws = Text::leftChars(Text::withoutControls(workstation, Text::Lines::Drop), 100);
    st.bindAll({stamp(now), key(number), ws.isEmpty() ? QVariant() : QVariant(ws), event,
                by.isEmpty() ? QVariant() : QVariant(key(by))});
    st.step();
}

void removeLock(Connection& c, const QString& number)
{
    Statement st(c, QStringLiteral("DELETE FROM 登录锁定 WHERE 员工编号 = ?"));
    st.bind(1, key(number));
    st.step();
}

// Reads the lock (only reading, unless it must be shortened: a login never waits
// for another workstation's write) and shortens one that lies too far ahead.
Lock readLock(Connection& c, const QString& number, const QDateTime& now)
{
    QDateTime until;
    {
        Statement st(c, QStringLiteral("SELECT 锁定至 FROM 登录锁定 WHERE 员工编号 = ?"));
        st.bind(1, key(number));
        if (!st.step()) return {};
        until = parse(st.value(0).toString());
    }
    if (!until.isValid() || until <= now) return {};
    if (now.secsTo(until) > kLockMinutes * 60) {
        until = now.addSecs(kLockMinutes * 60);
        Connection::Transaction t(c, Connection::Transaction::Joined);
        Statement up(c, QStringLiteral("UPDATE 登录锁定 SET 锁定至 = ? WHERE 员工编号 = ?"));
        up.bindAll({stamp(until), key(number)});
        up.step();
        t.commit();
    }
    return {true, until};
}

} // namespace

Lock lockOf(Connection& c, const QString& number, const QDateTime& now)
{
    return readLock(c, number, now);
}

Lock failed(Connection& c, const QString& number, const QString& workstation, const QDateTime& now)
{
    Connection::Transaction t(c);
    // Two workstations failing at once count one after the other.
    c.lockWriters(QStringLiteral("登录记录"));
    const Lock held = readLock(c, number, now);
    if (held.locked) {
        insertEvent(c, number, workstation, Event::WhileLocked, now, {});
        t.commit();
        return held;
    }
    insertEvent(c, number, workstation, Event::Wrong, now, {});
    // Wrong passwords since the last success, unlock or lock, within the window.
    Statement since(c, QStringLiteral("SELECT max(编号) FROM 登录记录 WHERE 员工编号 = ? AND 事件 "
                                      "IN (?, ?, ?)"));
    since.bindAll({key(number), Event::Success, Event::Unlocked, Event::Locking});
    const long long from = since.step() ? since.value(0).toLongLong() : 0;
    Statement count(c,
                    QStringLiteral("SELECT count(*) FROM 登录记录 WHERE 员工编号 = ? AND 事件 = ? "
                                   "AND 编号 > ? AND 时间 > ? AND 时间 <= ?"));
    count.bindAll(
        {key(number), Event::Wrong, from, stamp(now.addSecs(-kWindowMinutes * 60)), stamp(now)});
    const long long n = count.step() ? count.value(0).toLongLong() : 0;
    Lock result;
    if (n >= kMaxFailures) {
        result = {true, now.addSecs(kLockMinutes * 60)};
        removeLock(c, number);
        Statement ins(c,
                      Dialect::insertInto(QStringLiteral("登录锁定"),
                                          {QStringLiteral("员工编号"), QStringLiteral("锁定时间"),
                                           QStringLiteral("锁定至")}));
        ins.bindAll({key(number), stamp(now), stamp(result.until)});
        ins.step();
        insertEvent(c, number, workstation, Event::Locking, now, {});
    }
    t.commit();
    return result;
}

void record(Connection& c, const QString& number, const QString& workstation, const QString& event,
            const QDateTime& now, const QString& by)
{
    Connection::Transaction t(c, Connection::Transaction::Joined);
    insertEvent(c, number, workstation, event, now, by);
    t.commit();
}

void unlock(Connection& c, const QString& number, const QString& by, const QString& workstation,
            const QDateTime& now)
{
    Connection::Transaction t(c);
    c.lockWriters(QStringLiteral("登录记录"));
    removeLock(c, number);
    insertEvent(c, number, workstation, Event::Unlocked, now, by);
    t.commit();
}

QList<QPair<QString, QDateTime>> lockedNumbers(Connection& c, const QDateTime& now)
{
    QStringList numbers;
    {
        Statement st(c, QStringLiteral("SELECT 员工编号 FROM 登录锁定 WHERE 锁定至 > ? ORDER BY "
                                       "员工编号"));
        st.bind(1, stamp(now));
        while (st.step())
            numbers << st.value(0).toString();
    }
    QList<QPair<QString, QDateTime>> out;
    for (const QString& n : numbers) {
        const Lock l = lockOf(c, n, now);
        if (l.locked) out.append({n, l.until});
    }
    return out;
}

QString lockedText(const QString& number, const QDateTime& until)
{
    return QStringLiteral("用户编号“%1”因连续%2次输错密码已被锁定，%3 以后才能再登录。\n"
                          "如需提前解锁，请联系系统管理员（权限设置 → 解除锁定）。")
        .arg(number)
        .arg(kMaxFailures)
        .arg(until.toString(QStringLiteral("yyyy-MM-dd HH:mm")));
}

QStringList logColumns()
{
    return {QStringLiteral("时间"),   QStringLiteral("员工编号"), QStringLiteral("员工姓名"),
            QStringLiteral("工作站"), QStringLiteral("事件"),     QStringLiteral("操作员")};
}

QList<QVariantList> log(Connection& c, int limit)
{
    Statement st(c,
                 QStringLiteral("SELECT r.时间, r.员工编号, o.员工姓名, r.工作站, r.事件, r.操作员 "
                                "FROM 登录记录 r LEFT JOIN 操作员档案 o ON o.员工编号 = r.员工编号 "
                                "ORDER BY r.编号 DESC LIMIT %1")
                     .arg(limit));
    QList<QVariantList> out;
    while (st.step()) {
        QVariantList row;
        for (int i = 0; i < 6; ++i)
            row << st.value(i);
        out << row;
    }
    return out;
}

int idleMinutes(Connection& c)
{
    Statement st(c, QStringLiteral("SELECT 值 FROM 安全设置 WHERE 项目 = ?"));
    st.bind(1, kIdleKey);
    if (!st.step()) return kDefaultIdleMinutes;
    bool ok = false;
    const int m = st.value(0).toString().toInt(&ok);
    return ok && m >= 0 && m <= kMaxIdleMinutes ? m : kDefaultIdleMinutes;
}

void setIdleMinutes(Connection& c, int minutes)
{
    Connection::Transaction t(c);
    Statement del(c, QStringLiteral("DELETE FROM 安全设置 WHERE 项目 = ?"));
    del.bind(1, kIdleKey);
    del.step();
    Statement ins(c, QStringLiteral("INSERT INTO 安全设置 (项目, 值) VALUES (?, ?)"));
    ins.bindAll({kIdleKey, QString::number(qBound(0, minutes, kMaxIdleMinutes))});
    ins.step();
    t.commit();
}

} // namespace LoginGuard
