#include "duplicates/core/LikelyDuplicates.h"

#include "data/Dialect.h"
#include "data/KeyLookup.h"
#include "data/Text.h"

#include <QSet>
#include <QVariant>
#include <algorithm>
#include <cmath>
#include <numeric>

namespace LikelyDuplicates
{

namespace
{

// How far apart two areas may be and still describe one flat.
constexpr double kAreaSlack = 1.0;
constexpr int kMinPhoneDigits = 7;

QChar halfWidth(QChar c)
{
    const char16_t u = c.unicode();
    if (u >= 0xFF01 && u <= 0xFF5E) return QChar(char16_t(u - 0xFEE0));
    if (u == 0x3000) return QChar(u' ');
    return c;
}

bool isAsciiAlnum(QChar c)
{
    return (c >= u'0' && c <= u'9') || (c >= u'a' && c <= u'z');
}

// Words that end a building, unit or room number: written after the number in any
// of these ways, they all separate the same parts of an address.
const char16_t* const kMarkers[] = {u"号楼", u"单元", u"栋", u"幢", u"座", u"单", u"室", u"号"};

QSet<QString> phonesOf(const QString& a, const QString& b)
{
    QSet<QString> s;
    for (const QString& p : {phone(a), phone(b)})
        if (!p.isEmpty()) s.insert(p);
    return s;
}

QString ident(const char* s)
{
    return Dialect::identifier(QString::fromUtf8(s));
}

QString areaText(double a)
{
    return QString::number(a, 'f', 2);
}

// Positions that share a key, once each, in the order they were added.
void addKey(QHash<QString, QList<int>>& index, const QString& key, int pos)
{
    if (!key.isEmpty()) index[key].append(pos);
}

template <typename Item, typename Set> QList<QList<int>> groupsOf(const QList<Item>& items)
{
    QVector<int> parent(items.size());
    std::iota(parent.begin(), parent.end(), 0);
    auto root = [&](int i) {
        while (parent[i] != i)
            i = parent[i] = parent[parent[i]];
        return i;
    };
    Set set;
    for (int i = 0; i < items.size(); ++i) {
        for (const auto& m : set.like(items[i]))
            parent[root(m.first)] = root(i);
        set.add(items[i], i);
    }
    QHash<int, QList<int>> byRoot;
    for (int i = 0; i < items.size(); ++i)
        byRoot[root(i)].append(i);
    QList<QList<int>> out;
    for (const QList<int>& g : std::as_const(byRoot))
        if (g.size() > 1) out.append(g);
    std::sort(out.begin(), out.end(), [](const QList<int>& a, const QList<int>& b) {
        return a.size() != b.size() ? a.size() > b.size() : a.first() < b.first();
    });
    return out;
}

} // namespace

QString place(const QString& text)
{
    // One pass: the register is normalised whole for every import and 查重.
    QString out;
    out.reserve(text.size());
    auto separate = [&out] {
        if (!out.isEmpty() && out.back() != u'/') out += u'/';
    };
    const QStringView view(text);
    for (qsizetype i = 0; i < text.size();) {
        QChar c = halfWidth(text[i]);
        if (c >= u'A' && c <= u'Z') c = QChar(char16_t(c.unicode() + 32));
        if (c.isSpace() || c == u'.' || c == u',' || c == u'，' || c == u'、' || c == u'·' ||
            c == u'(' || c == u')' || c == u'（' || c == u'）') {
            ++i;
            continue;
        }
        // Dashes, number signs and slashes separate the parts wherever they stand.
        if (c == u'#' || c == u'-' || c == u'—' || c == u'_' || c == u'~' || c == u'/') {
            separate();
            ++i;
            continue;
        }
        // "3栋", "3幢", "3号楼" and "3#" all end a building number.
        bool marker = false;
        if (!out.isEmpty() && isAsciiAlnum(out.back())) {
            for (const char16_t* m : kMarkers) {
                const QStringView word(m);
                if (view.mid(i).startsWith(word)) {
                    separate();
                    i += word.size();
                    marker = true;
                    break;
                }
            }
        }
        if (marker) continue;
        out += c;
        ++i;
    }
    // "12号" and "12" end the same address.
    while (out.endsWith(u'/'))
        out.chop(1);
    return out;
}

QString phone(const QString& text)
{
    QString digits;
    for (QChar c : text) {
        c = halfWidth(c);
        if (c >= u'0' && c <= u'9') digits += c;
    }
    if (digits.startsWith(QLatin1String("0086"))) digits = digits.mid(4);
    if (digits.size() == 13 && digits.startsWith(QLatin1String("861"))) digits = digits.mid(2);
    return digits.size() < kMinPhoneDigits ? QString() : digits;
}

QString reason(const Listing& a, const Listing& b)
{
    const QString estate = place(a.estate), address = place(a.address);
    if (!estate.isEmpty() && !address.isEmpty() && estate == place(b.estate) &&
        address == place(b.address) && std::fabs(a.area - b.area) <= kAreaSlack + 1e-9) {
        return a.area == b.area ? QStringLiteral("小区名称、地址和面积相同")
                                : QStringLiteral("小区名称和地址相同，面积相差 %1 平方米")
                                      .arg(areaText(std::fabs(a.area - b.area)));
    }
    const QSet<QString> common = phonesOf(a.phone, a.mobile) & phonesOf(b.phone, b.mobile);
    if (!common.isEmpty())
        return QStringLiteral("房主电话或手机相同（%1）").arg(*common.constBegin());
    return {};
}

QString reason(const Customer& a, const Customer& b)
{
    const QSet<QString> common = phonesOf(a.phone, a.mobile) & phonesOf(b.phone, b.mobile);
    if (!common.isEmpty()) return QStringLiteral("电话或手机相同（%1）").arg(*common.constBegin());
    return {};
}

void ListingSet::add(const Listing& l, int id)
{
    const int pos = m_items.size();
    m_items.append(l);
    m_ids.append(id);
    const QString e = place(l.estate), a = place(l.address);
    if (!e.isEmpty() && !a.isEmpty()) addKey(m_byPlace, e + u'\x1f' + a, pos);
    for (const QString& p : phonesOf(l.phone, l.mobile))
        addKey(m_byPhone, p, pos);
}

QList<QPair<int, QString>> ListingSet::like(const Listing& l) const
{
    QList<int> candidates;
    const QString e = place(l.estate), a = place(l.address);
    if (!e.isEmpty() && !a.isEmpty()) candidates += m_byPlace.value(e + u'\x1f' + a);
    for (const QString& p : phonesOf(l.phone, l.mobile))
        candidates += m_byPhone.value(p);
    std::sort(candidates.begin(), candidates.end());
    candidates.erase(std::unique(candidates.begin(), candidates.end()), candidates.end());
    QList<QPair<int, QString>> out;
    for (int pos : std::as_const(candidates)) {
        const QString why = reason(l, m_items[pos]);
        if (!why.isEmpty()) out.append({m_ids[pos], why});
    }
    return out;
}

void CustomerSet::add(const Customer& c, int id)
{
    const int pos = m_items.size();
    m_items.append(c);
    m_ids.append(id);
    for (const QString& p : phonesOf(c.phone, c.mobile))
        addKey(m_byPhone, p, pos);
}

QList<QPair<int, QString>> CustomerSet::like(const Customer& c) const
{
    QList<int> candidates;
    for (const QString& p : phonesOf(c.phone, c.mobile))
        candidates += m_byPhone.value(p);
    std::sort(candidates.begin(), candidates.end());
    candidates.erase(std::unique(candidates.begin(), candidates.end()), candidates.end());
    QList<QPair<int, QString>> out;
    for (int pos : std::as_const(candidates)) {
        const QString why = reason(c, m_items[pos]);
        if (!why.isEmpty()) out.append({m_ids[pos], why});
    }
    return out;
}

namespace
{

const char* const kListingColumns = "SELECT %1, %2, %3, %4, %5, %6 FROM %7";

QString listingSelect()
{
    return QString::fromLatin1(kListingColumns)
        .arg(ident("档案号"), ident("小区名称"), ident("地址"), ident("房屋面积"), ident("电话"),
             ident("手机"), ident("房屋信息"));
}

QString customerSelect()
{
    return QStringLiteral("SELECT %1, %2, %3, %4 FROM %5")
        .arg(ident("档案号"), ident("客户姓名"), ident("电话"), ident("手机"), ident("客户信息"));
}

Listing listingOf(const Statement& st)
{
    return {st.value(0).toString(), st.value(1).toString(), st.value(2).toString(),
            st.value(4).toString(), st.value(5).toString(), st.value(3).toDouble()};
}

Customer customerOf(const Statement& st)
{
    return {st.value(0).toString(), st.value(1).toString(), st.value(2).toString(),
            st.value(3).toString()};
}

// The ways a stored telephone may have been typed, so that the indexes on the
// telephone columns find it: as given, as digits, and in the usual groupings
// (010-1234567, 0571 88881234, 138-0013-8000, +86 13800138000).
QList<QVariant> phoneForms(const QString& a, const QString& b)
{
    QSet<QString> forms;
    for (const QString& typed : {a, b}) {
        const QString t = Text::trim(typed);
        if (t.isEmpty()) continue;
        forms.insert(t);
        const QString d = phone(t);
        if (d.isEmpty()) continue;
        forms.insert(d);
        for (const QString& sep : {QStringLiteral("-"), QStringLiteral(" ")}) {
            if (d.startsWith(u'0'))
                for (int area : {3, 4})
                    forms.insert(d.left(area) + sep + d.mid(area));
            if (d.size() == 11 && d.startsWith(u'1')) {
                forms.insert(d.left(3) + sep + d.mid(3, 4) + sep + d.mid(7));
                forms.insert(QStringLiteral("+86") + sep + d);
            }
        }
        forms.insert(QStringLiteral("+86") + d);
    }
    QList<QVariant> out;
    for (const QString& f : std::as_const(forms))
        out << f;
    return out;
}

QString placeholders(int n)
{
    QStringList q;
    for (int i = 0; i < n; ++i)
        q << QStringLiteral("?");
    return q.join(QStringLiteral(", "));
}

} // namespace

ListingSet storedListings(Connection& c)
{
    ListingSet set;
    Statement st(c, listingSelect());
    int i = 0;
    while (st.step())
        set.add(listingOf(st), i++);
    return set;
}

CustomerSet storedCustomers(Connection& c)
{
    CustomerSet set;
    Statement st(c, customerSelect());
    int i = 0;
    while (st.step())
        set.add(customerOf(st), i++);
    return set;
}

QList<Found> listingsLike(Connection& c, const Listing& l)
{
    // Candidates by the indexes: the area band, and the telephones in the forms
    // they may be stored in; the rule then decides on each.
    const QList<QVariant> phones = phoneForms(l.phone, l.mobile);
    QString sql =
        listingSelect() + QStringLiteral(" WHERE (%1 >= ? AND %1 <= ?)").arg(ident("房屋面积"));
    if (!phones.isEmpty())
        sql += QStringLiteral(" OR %1 IN (%3) OR %2 IN (%3)")
                   .arg(ident("电话"), ident("手机"), placeholders(int(phones.size())));
    Statement st(c, sql);
    QList<QVariant> args{l.area - kAreaSlack - 1e-6, l.area + kAreaSlack + 1e-6};
    args += phones;
    args += phones;
    st.bindAll(args);
    const QString self = KeyLookup::fold(Text::trim(l.number));
    QList<Found> out;
    while (st.step()) {
        const Listing other = listingOf(st);
        if (!self.isEmpty() && KeyLookup::fold(Text::trim(other.number)) == self) continue;
        const QString why = reason(l, other);
        if (why.isEmpty()) continue;
        out.append({other.number,
                    QStringLiteral("%1 %2 %3 %4㎡")
                        .arg(other.number, other.estate, other.address, areaText(other.area)),
                    why});
    }
    return out;
}

QList<Found> customersLike(Connection& c, const Customer& x)
{
    const QList<QVariant> phones = phoneForms(x.phone, x.mobile);
    if (phones.isEmpty()) return {};
    Statement st(c, customerSelect() +
                        QStringLiteral(" WHERE %1 IN (%3) OR %2 IN (%3)")
                            .arg(ident("电话"), ident("手机"), placeholders(int(phones.size()))));
    QList<QVariant> args = phones;
    args += phones;
    st.bindAll(args);
    const QString self = KeyLookup::fold(Text::trim(x.number));
    QList<Found> out;
    while (st.step()) {
        const Customer other = customerOf(st);
        if (!self.isEmpty() && KeyLookup::fold(Text::trim(other.number)) == self) continue;
        const QString why = reason(x, other);
        if (why.isEmpty()) continue;
        out.append({other.number, QStringLiteral("%1 %2").arg(other.number, other.name), why});
    }
    return out;
}

QList<QList<int>> groups(const QList<Listing>& items)
{
    return groupsOf<Listing, ListingSet>(items);
}

QList<QList<int>> groups(const QList<Customer>& items)
{
    return groupsOf<Customer, CustomerSet>(items);
}

} // namespace LikelyDuplicates
