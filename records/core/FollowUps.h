#pragma once
// Follow-up notes (跟进记录) of listings and customers: each call, viewing or visit
// with its time, operator, kind and text. Any operator adds one; only its author
// or a system administrator changes or removes it. A listing's viewing may name a
// customer's archive number and then belongs to that customer's notes as well.
// The author is the connection's operator (handed over at login).
//
// The query windows show the date of each record's last note in a column of their
// own, computed from each row as the search's rows are read (lastColumns): the
// search's statement stays as it is, and a save never writes the column back.
#include "data/Connection.h"
#include "data/Query.h"
#include "data/Reminders.h"

#include <QHash>
#include <QStringList>
#include <optional>

namespace FollowUps
{

const QStringList& kinds(); // 电话, 带看, 面谈, 其他
inline const QString Viewing = QStringLiteral("带看");

struct Note {
    qlonglong id = 0;
    QString table;  // 房屋信息 or 客户信息
    QString number; // the record's archive number
    QString time;   // yyyy-MM-dd HH:mm:ss, when it was added
    QString author; // staff number
    QString authorName;
    QString kind;
    QString text;
    QString customer; // a listing's viewing: the customer's archive number, or empty
};

// The notes of a record, newest first: its own and, for a customer, the viewings
// of listings that name it.
QList<Note> forRecord(Connection& c, const QString& table, const QString& number);

// Why a note cannot be stored as it is: the part of the note at fault (where a
// window puts the focus) and the message to show.
struct Refusal {
    enum Part { Text, Kind, Customer } part;
    QString text;
};
// The text is empty (blanks only), the kind is not one of kinds(), a customer is
// named on anything but a listing's viewing, or no customer has that archive number.
std::optional<Refusal> refusal(Connection& c, const Note& note);

// Whether the operator `user` of `role` may change or remove the note.
bool mayChange(const Note& note, const QString& user, const QString& role);
// The message when he may not.
QString notYoursText();

// Stores a new note (time now, author the connection's operator) and gives its
// number. Throws DbError with the refusal's text when it cannot be stored, or when
// the record is not in its register (deleted meanwhile). The note closes the open
// reminders of its record (and of the customer a viewing names) and, with `next`,
// sets the reminder of the next follow-up, all in one transaction.
qlonglong add(Connection& c, const Note& note,
              const std::optional<Reminders::Due>& next = std::nullopt);
// Changes the kind, text and customer of a stored note; removes a note (with the
// reminder it set). Both are refused (DbError) unless the connection's operator
// may change it (`role`).
void change(Connection& c, const Note& note, const QString& role);
void remove(Connection& c, qlonglong id, const QString& role);

// The name of the query windows' column of last-note dates.
inline const QString LastColumn = QStringLiteral("最后跟进");
// The date (yyyy-MM-dd) of each record's last note in a register, by the archive
// number as the column compares it (KeyLookup::fold); records without notes are absent.
QHash<QString, QString> lastDates(Connection& c, const QString& table);
// The column LastColumn for a result of a register's rows (none when the result has
// no archive number): Query::computedColumns, so each row gets its date as it is read.
QList<Query::ComputedColumn> lastColumns(const Query& q);
// Brings the column LastColumn of an open result up to date after notes were added,
// changed or removed (or adds it).
void addLastColumn(Query& q);

} // namespace FollowUps
