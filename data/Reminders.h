#pragma once
// Reminders of the next follow-up (下次跟进): a follow-up note may say when the
// record is to be followed up next and by whom. The reminder stays open until a
// later note on the same record is added (that note closes it) or someone closes
// it by hand. "Later" is the order in which notes were stored, never the clock, so
// a workstation whose clock is set back cannot leave a reminder open or close a
// newer one.
//
// A reminder is kept apart from the record: when the record is deleted its
// reminders wait with its notes until the record comes back from the recycle bin,
// and go with the notes when it is erased for good. The name of the operator it
// is for is kept with it, so a reminder for an operator removed later still shows
// whose it was.
#include "data/Connection.h"
#include "data/Schema.h"

#include <QDateTime>
#include <optional>
#include <tuple>

namespace Schema
{

// The reminders and each operator's to-do setting (whether the to-do window opens
// after login). Copied with the rows; never exchanged.
const QList<TableDef>& reminderTables();
// The tables with their indexes, inside the caller's transaction.
void createReminderTables(Connection& c);
// The indexes the list of records gone quiet reads newest first: the valid rows of
// a register by entry date (else every valid row is checked and sorted before the
// newest are shown). Inside the caller's transaction; `ifMissing` for the upgrade.
void createQuietIndexes(Connection& c, bool ifMissing);

} // namespace Schema

namespace Reminders
{

inline const QString Table = QStringLiteral("下次跟进");

// When the next follow-up is due and for whom (a staff number; empty: the note's
// author).
struct Due {
    QDateTime at;
    QString forWhom;
};

// Times as the reminders store them: yyyy-MM-dd HH:mm:ss.
QString stamp(const QDateTime& t);

// The number the database gave the last row this connection inserted into a
// numbered table.
qlonglong lastNumber(Connection& c);

// Why `due` cannot be set: no valid time, or no operator of that number. Empty
// when it can.
QString refusal(Connection& c, const Due& due);

// Inside the transaction that stored the note `note` on `number` of `table` (and,
// for a listing's viewing, named `customer`): closes every open reminder of the
// record (and of that customer), then sets `due` when given. Throws DbError with
// the refusal's text when `due` cannot be set.
void noteAdded(Connection& c, qlonglong note, const QString& table, const QString& number,
               const QString& customer, const std::optional<Due>& due);
// Inside the removal of a note: the reminder it set goes with it, and those it
// closed are open again (nothing followed them up after all).
void noteRemoved(Connection& c, qlonglong note);
// Inside the erase of a record from the recycle bin: its reminders go for good.
void recordErased(Connection& c, const QString& table, const QString& number);

// Closes an open reminder by hand (the connection's operator closes it). Throws
// DbError when it is closed already or no longer there.
void close(Connection& c, qlonglong reminder);

struct Open {
    qlonglong id = 0;
    qlonglong note = 0;
    QString due;     // yyyy-MM-dd HH:mm:ss
    QString forWhom; // staff number
    QString forName; // his name now, or as it was when the reminder was set
};
// The open reminders of a record, the earliest due first.
QList<Open> openFor(Connection& c, const QString& table, const QString& number);

struct Operator {
    QString number;
    QString name;
    bool removed = false; // no longer in the staff register, still holds open reminders
};
// The operators one may choose: the staff register, then those removed from it who
// still have open reminders (with the name kept on their reminders).
QList<Operator> operators(Connection& c);
// "number name", with "（已删除）" for a removed operator.
QString operatorLabel(const Operator& o);

// Whether the to-do window opens after this operator logs in (yes until he turns
// it off), and turning it on or off.
bool opensAtLogin(Connection& c, const QString& staff);
void setOpensAtLogin(Connection& c, const QString& staff, bool on);

} // namespace Reminders
