#pragma once
// Wrong passwords and locks: five wrong passwords for one staff number within 15
// minutes lock that number for 15 minutes on every workstation (the lock and
// the login log live in the main database). Every call takes the time it works
// with, so tests can move the clock.
#include <QDateTime>
#include <QList>
#include <QString>

class Connection;

namespace LoginGuard
{

constexpr int kMaxFailures = 5;
constexpr int kWindowMinutes = 15;
constexpr int kLockMinutes = 15;

// Events of the login log.
namespace Event
{
inline const QString Success = QStringLiteral("登录成功");
inline const QString Wrong = QStringLiteral("密码错误");
inline const QString Locking = QStringLiteral("用户锁定");
inline const QString WhileLocked = QStringLiteral("锁定中");
inline const QString Damaged = QStringLiteral("密码损坏");
inline const QString Unlocked = QStringLiteral("解除锁定");
inline const QString PasswordChanged = QStringLiteral("修改密码");
} // namespace Event

// Whether the number is locked at `now` and until when. A lock whose end lies
// further ahead than a whole lock period (the clock was set back) is shortened
// to end one period from `now`, so it never outlasts its stated end by more
// than that.
struct Lock {
    bool locked = false;
    QDateTime until;
};
Lock lockOf(Connection& c, const QString& number, const QDateTime& now);

// Records a wrong password; the failure that makes five within the window locks
// the number. Returns the lock in force afterwards.
Lock failed(Connection& c, const QString& number, const QString& workstation, const QDateTime& now);

// Records any other event (a success ends the count of wrong passwords).
void record(Connection& c, const QString& number, const QString& workstation, const QString& event,
            const QDateTime& now, const QString& by = {});

// A system administrator (`by`) lifts the lock of `number`; the count starts anew.
void unlock(Connection& c, const QString& number, const QString& by, const QString& workstation,
            const QDateTime& now);

// Numbers locked at `now`, with their ends, by number.
QList<QPair<QString, QDateTime>> lockedNumbers(Connection& c, const QDateTime& now);

// The message for a locked number.
QString lockedText(const QString& number, const QDateTime& until);

// The login log, newest first: time, number, name (from 操作员档案), workstation,
// event, by whom; at most `limit` rows.
QList<QVariantList> log(Connection& c, int limit = 5000);
QStringList logColumns();

// Minutes without input before the program locks itself (0 = never).
constexpr int kDefaultIdleMinutes = 10;
constexpr int kMaxIdleMinutes = 720;
int idleMinutes(Connection& c);
void setIdleMinutes(Connection& c, int minutes);

} // namespace LoginGuard
