#pragma once
// Deals (成交): a listing sold or let to a customer, on a date, at a price, with the
// commission from the owner's and from the customer's side split among one or more
// agents. Registering a deal turns the listing and the customer 无效 (with their
// history); a listing or customer stands in at most one deal at a time. Senior
// operators and system administrators change and cancel deals; cancelling turns
// valid again what the deal turned invalid. Every step of a deal is kept in its
// history (修改记录 under the table name 成交记录).
#include "data/Connection.h"

#include <QDate>
#include <QList>
#include <QString>
#include <optional>

namespace Deals
{

inline const QString Table = QStringLiteral("成交记录");
inline const QString Standing = QStringLiteral("有效");
inline const QString Cancelled = QStringLiteral("撤销");

struct Agent {
    QString staff;         // staff number
    QString name;          // as it was when the deal was saved
    int share = 0;         // hundredths of a per cent
    qint64 commission = 0; // fen, computed on save
};

struct Deal {
    qlonglong id = 0;
    QString listing, customer; // archive numbers
    QString mode, location;    // the listing's, when the deal was registered
    QDate date;
    qint64 price = 0, ownerCommission = 0, customerCommission = 0; // fen
    QString contract, remarks;
    QString status; // Standing or Cancelled
    bool listingVoided = false, customerVoided = false;
    QString registeredAt, registeredBy, cancelledAt, cancelledBy, reason;
    QList<Agent> agents;
    qint64 commission() const { return ownerCommission + customerCommission; }
};

// What is wrong with a deal as typed, with the part a window puts the focus on.
struct Refusal {
    enum Part {
        Listing,
        Customer,
        Date,
        Price,
        OwnerCommission,
        CustomerCommission,
        Agents,
        Other
    };
    Part part;
    QString text;
};

// The checks that need no database: a date given and not after `today`, a price
// above zero, neither commission below zero, both together not above the price, at
// least one agent, no agent twice, each share above zero and all of them 100 %.
std::optional<Refusal> refusal(const Deal& deal, const QDate& today);

// Whether an operator of `role` may change or cancel deals.
bool mayChange(const QString& role);
QString notAllowedText();

// Stores a new deal (registered now by the connection's operator) after checking it
// again, together with the database: both records present and 有效, the modes
// paired (出售 with 求购, 出租 with 求租), neither in a standing deal, every agent in
// the staff register (his name taken from there). Turns both records 无效 with
// their history, in the same transaction. Two workstations at once: the second
// waits for the first and is then refused. Returns the deal's number; throws DbError
// with the refusal's text.
qlonglong add(Connection& c, Deal deal, const QDate& today = QDate::currentDate());
// Changes date, price, commissions, contract, remarks and agents of a standing deal,
// one history row per changed item. An agent already on the deal keeps his stored
// name, so a staff member removed from the register stays on it.
void change(Connection& c, Deal deal, const QString& role,
            const QDate& today = QDate::currentDate());
// Cancels a standing deal with a reason; the listing and the customer become 有效
// again where this deal made them 无效 and they still are.
void cancel(Connection& c, qlonglong id, const QString& reason, const QString& role);

// A stored deal with its agents (nothing when there is none of that number).
std::optional<Deal> load(Connection& c, qlonglong id);
// The standing deal of a listing (房屋信息) or customer (客户信息), if any.
std::optional<qlonglong> standingDealOf(Connection& c, const QString& table, const QString& number);

struct Staff {
    QString number, name;
};
// The staff register (without the administrator's own row), by number.
QList<Staff> staff(Connection& c);

// The agents line of the history and the grid: "张三 60%，李四 40%".
QString agentsText(const QList<Agent>& agents);

} // namespace Deals
