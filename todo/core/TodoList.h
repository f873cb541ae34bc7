#pragma once
// The day's work of an office: the reminders of the next follow-up that are due
// today or overdue, and the valid listings and customers nobody has followed up
// for a while ("gone quiet"), so they can be called or invalidated.
#include "data/Connection.h"

#include <QDate>
#include <QDateTime>
#include <QList>
#include <QString>

namespace Todo
{

// Whether an operator of `role` may look at another operator's reminders or at
// everyone's (senior operators and system administrators); the others see their own.
bool mayChooseOperator(const QString& role);

struct DueItem {
    qlonglong id = 0; // the reminder
    QString table;    // 房屋信息 or 客户信息
    QString number;   // archive number
    QString name;     // the listing's 小区名称 or the customer's 客户姓名
    QString kind;     // the note's kind (电话, 带看 …)
    QString text;     // the note's text
    QString due;      // yyyy-MM-dd HH:mm:ss
    QString forWhom;  // staff number
    QString forName;  // his name now, or as kept on the reminder
};

// The open reminders due up to the end of `now`'s day, the earliest first, of
// the operator `staff` (empty: of everyone). Reminders of records that are not
// in their register (deleted, in the recycle bin) are left out.
QList<DueItem> due(Connection& c, const QString& staff, const QDateTime& now);
// Whether `staff` has such a reminder (the to-do window opens after login then).
bool hasDue(Connection& c, const QString& staff, const QDateTime& now);

// How long a reminder due at `due` (yyyy-MM-dd HH:mm:ss) is overdue at `now`:
// "未到" while it is not, else "N分钟", "N小时" or "N天" (whole units, rounded down).
QString overdueText(const QString& due, const QDateTime& now);

inline constexpr int kDefaultQuietDays = 30;
// How many of the records gone quiet are listed at most (the newest).
inline constexpr int kQuietShown = 1000;

struct QuietItem {
    QString table;
    QString number;
    QString name;    // 小区名称 / 客户姓名
    QString phone;   // 电话, else 手机
    QString entered; // 录入日期 (yymmdd)
    QString last;    // date of the last note (yyyy-MM-dd), empty when none
    int days = 0;    // days since the last note, or since entry when none
};

struct Quiet {
    QList<QuietItem> items;
    bool more = false; // older ones beyond `limit` were left out
};

// The valid listings and customers with no follow-up for more than `days` days on
// `today` (a customer's follow-ups include the viewings that name him; a record
// entered within those days has not gone quiet yet), the newest record first, at
// most `limit` of them. Each register is read newest first from its entry-date
// index and stops after `limit` records, so the list comes at once on any size.
Quiet quiet(Connection& c, int days, const QDate& today, int limit = kQuietShown);
// The statement behind it for one register, at most `limit` rows (parameters: the
// table's name, 有效, the cutoff as yymmdd and as yyyy-MM-dd); it reads the
// register newest first through an index and stops at the limit.
QString quietStatement(const QString& table, int limit);

} // namespace Todo
