#pragma once
// The one rule for records that are probably the same, used wherever the program
// looks for them (an import, a save, the 查重 button):
// - listings: the same 小区名称 and the same 地址 once both are normalised (blanks,
//   full-width digits and letters, the ways of writing 号楼/栋/幢/单元/室), with
//   房屋面积 at most 1 m² apart; or one owner telephone or mobile in common;
// - customers: one telephone or mobile in common.
// Telephone numbers compare by their digits (a leading +86/86 of a mobile dropped);
// fewer than 7 digits is no number.
#include "data/Connection.h"

#include <QHash>
#include <QList>
#include <QString>
#include <QStringList>

namespace LikelyDuplicates
{

struct Listing {
    QString number; // 档案号, empty for a record not saved yet
    QString estate, address, phone, mobile;
    double area = 0;
};

struct Customer {
    QString number;
    QString name, phone, mobile;
};

// An estate name or address as the rule compares it.
QString place(const QString& text);
// A telephone number as the rule compares it; empty when it is none.
QString phone(const QString& text);

// Why two records are probably the same; empty when they are not.
QString reason(const Listing& a, const Listing& b);
QString reason(const Customer& a, const Customer& b);

// Many records at once (an import's rows, the register, a result): added one by
// one, each asks which of those added before it resembles.
class ListingSet
{
public:
    void add(const Listing& l, int id);
    // Ids of the resembling records added before, each with the reason.
    QList<QPair<int, QString>> like(const Listing& l) const;
    int size() const { return m_items.size(); }
    const Listing& item(int pos) const { return m_items[pos]; }

private:
    QList<Listing> m_items;
    QList<int> m_ids;
    QHash<QString, QList<int>> m_byPlace, m_byPhone; // positions in m_items
};

class CustomerSet
{
public:
    void add(const Customer& c, int id);
    QList<QPair<int, QString>> like(const Customer& c) const;
    const Customer& item(int pos) const { return m_items[pos]; }

private:
    QList<Customer> m_items;
    QList<int> m_ids;
    QHash<QString, QList<int>> m_byPhone;
};

// Every listing or customer of the register in memory (an import's comparison).
ListingSet storedListings(Connection& c);
CustomerSet storedCustomers(Connection& c);
// The stored records a record being saved resembles (the record itself, by its
// archive number, left out), read with the indexes on area and telephones.
struct Found {
    QString number;
    QString summary; // what an operator recognises the record by
    QString reason;
};
QList<Found> listingsLike(Connection& c, const Listing& l);
QList<Found> customersLike(Connection& c, const Customer& x);

// Groups of resembling records among `items` (positions), largest first; a
// record resembling two others joins them into one group.
QList<QList<int>> groups(const QList<Listing>& items);
QList<QList<int>> groups(const QList<Customer>& items);

} // namespace LikelyDuplicates
