#include "matching/core/MatchSearch.h"

#include "data/Query.h"
#include "data/Text.h"

#include <QHash>
#include <algorithm>
#include <cmath>
#include <limits>
#include <optional>

namespace Matching
{

namespace
{

const QString& listingTable()
{
    static const QString s = QStringLiteral("房屋信息");
    return s;
}

const QString& customerTable()
{
    static const QString s = QStringLiteral("客户信息");
    return s;
}

// A column read into a field of a Listing or a Customer: a text, or a number
// (null read as 0).
template <typename T> struct Field {
    const char* column;
    QString T::*text = nullptr;
    double T::*number = nullptr;
};

const QList<Field<Listing>>& listingFields()
{
    static const QList<Field<Listing>> f = {{"档案号", &Listing::archive},
                                            {"类型", &Listing::validity},
                                            {"方式", &Listing::mode},
                                            {"房屋面积", nullptr, &Listing::area},
                                            {"信息价格", nullptr, &Listing::price},
                                            {"户型", &Listing::houseType},
                                            {"楼层", &Listing::floor},
                                            {"位置", &Listing::location},
                                            {"权属", &Listing::ownership},
                                            {"小区名称", &Listing::estate},
                                            {"地址", &Listing::address},
                                            {"设施", &Listing::facilities}};
    return f;
}

const QList<Field<Customer>>& customerFields()
{
    static const QList<Field<Customer>> f = {{"档案号", &Customer::archive},
                                             {"类型", &Customer::validity},
                                             {"需求方式", &Customer::mode},
                                             {"面积1", nullptr, &Customer::area1},
                                             {"面积2", nullptr, &Customer::area2},
                                             {"价格1", nullptr, &Customer::price1},
                                             {"价格2", nullptr, &Customer::price2},
                                             {"户型", &Customer::houseType},
                                             {"楼层", &Customer::floor},
                                             {"位置", &Customer::location},
                                             {"权属", &Customer::ownership},
                                             {"地址描述", &Customer::wantedArea},
                                             {"需求设施", &Customer::wantedFacilities}};
    return f;
}

// Reads rows of a result into Listings or Customers; the column positions are
// looked up once. A column the result lacks leaves its field empty.
template <typename T> class Reader
{
public:
    Reader(const Query& q, const QList<Field<T>>& fields) : m_q(q), m_fields(fields)
    {
        for (const Field<T>& f : fields)
            m_cols << q.fieldIndex(QString::fromUtf8(f.column));
    }
    T at(int row) const
    {
        T t;
        for (int i = 0; i < m_fields.size(); ++i) {
            const QVariant v = m_cols[i] < 0 ? QVariant() : m_q.valueAt(row, m_cols[i]);
            if (m_fields[i].text)
                t.*m_fields[i].text = v.isNull() ? QString() : v.toString();
            else
                t.*m_fields[i].number = v.isNull() ? 0 : v.toDouble();
        }
        return t;
    }

private:
    const Query& m_q;
    const QList<Field<T>>& m_fields;
    QList<int> m_cols;
};

// Numbers computed here (never typed values) stand in the statement as plain
// decimals, without an exponent.
QString number(double x)
{
    return QString::number(qBound(0.0, x, std::numeric_limits<double>::max()), 'f', 9);
}

// The statement's limits are a little wider than the rules' own, so that rounding
// in the engine can never leave out a pair the rules would show.
double widerUp(double x)
{
    return x * (1 + 1e-6) + 1e-9;
}

double widerDown(double x)
{
    return x * (1 - 1e-6) - 1e-9;
}

// Customers whose range b1..b2 holds the value or misses it by at most 20 % (a
// near miss at most): the lower bound at most value / 0.8, the upper at least
// value / 1.2. A bound that is null, 0 or below is open, and a range may be given
// high before low.
QString rangeAround(const QString& b1, const QString& b2, double value)
{
    if (!(value > 0)) return {};
    const QString up = number(widerUp(value / (1 - kNearMiss)));
    const QString down = number(widerDown(value / (1 + kNearMiss)));
    return QStringLiteral("((%1 is null or %1<=0 or %1<=%3 or (%2>0 and %2<=%3)) and "
                          "(%2 is null or %2<=0 or %2>=%4 or (%1>0 and %1>=%4)))")
        .arg(b1, b2, up, down);
}

// Listings whose value lies in the range or misses it by at most 20 %, or that
// give no value.
QString valueWithin(const QString& column, const Range& r)
{
    QStringList limits;
    if (r.lo > 0)
        limits << column + QStringLiteral(">=") + number(widerDown(r.lo * (1 - kNearMiss)));
    if (r.hi > 0 && std::isfinite(r.hi))
        limits << column + QStringLiteral("<=") + number(widerUp(r.hi * (1 + kNearMiss)));
    if (limits.isEmpty()) return {};
    return QStringLiteral("(%1 is null or %1<=0 or (%2))")
        .arg(column, limits.join(QStringLiteral(" and ")));
}

QString dq(const QString& v)
{
    return Text::quoted(v, QLatin1Char('"'));
}

// Rows whose text column is empty or blank (null, or below "!": nothing but
// characters up to the blank at its start).
QString blank(const QString& column)
{
    return QStringLiteral("(%1 is null or %1<\"!\")").arg(column);
}

// Rows whose text column may pass a text criterion against the value: blank,
// 不限, or holding the value. "like" lets a little more through than the rules
// (blanks around the value; % and _ in it match themselves as well as more),
// never less; the rules decide.
QString textAllows(const QString& column, const QString& value)
{
    if (value.isEmpty()) return {};
    return QStringLiteral("(%1 is null or %1<\"!\" or %1 like \"%%2%\" or %1 like \"%%3%\")")
        .arg(column, dq(anyValue()), dq(value));
}

// Listings whose estate name or address holds one of the wanted words, or that
// give neither.
QString wordsAllowed(const QStringList& wanted)
{
    if (wanted.isEmpty()) return {};
    QStringList any;
    for (const QString& w : wanted)
        any << QStringLiteral("小区名称 like \"%%1%\" or 地址 like \"%%1%\"").arg(dq(w));
    return QStringLiteral("(%1 or (%2 and %3))")
        .arg(any.join(QStringLiteral(" or ")), blank(QStringLiteral("小区名称")),
             blank(QStringLiteral("地址")));
}

// What a candidate must meet: validity, mode, the area and the price each at
// most a near miss away (the rules leave out anything further), then the
// conditions that rule a pair out. The first line selects `columns`.
struct Conditions {
    QString table;
    QString modeColumn, mode;
    QStringList where; // each a condition, empty ones left out
    QStringList lines(const QStringList& columns) const
    {
        QStringList out;
        out << QStringLiteral("select %1 from %2 ").arg(columns.join(','), table)
            << QStringLiteral("where 类型=\"%1\" ").arg(dq(validValue()))
            << QStringLiteral("and %1=\"%2\" ").arg(modeColumn, dq(mode));
        for (const QString& c : where)
            if (!c.isEmpty()) out << QStringLiteral("and %1 ").arg(c);
        return out;
    }
};

std::optional<Conditions> customerConditions(const Listing& l)
{
    const QString demand = demandModeFor(l.mode);
    if (l.validity != validValue() || demand.isEmpty()) return std::nullopt;
    return Conditions{customerTable(),
                      QStringLiteral("需求方式"),
                      demand,
                      {rangeAround(QStringLiteral("面积1"), QStringLiteral("面积2"), l.area),
                       rangeAround(QStringLiteral("价格1"), QStringLiteral("价格2"), l.price),
                       textAllows(QStringLiteral("户型"), named(l.houseType)),
                       textAllows(QStringLiteral("楼层"), named(l.floor)),
                       textAllows(QStringLiteral("位置"), named(l.location)),
                       textAllows(QStringLiteral("权属"), named(l.ownership))}};
}

std::optional<Conditions> listingConditions(const Customer& c)
{
    const QString supply = supplyModeFor(c.mode);
    if (c.validity != validValue() || supply.isEmpty()) return std::nullopt;
    return Conditions{listingTable(),
                      QStringLiteral("方式"),
                      supply,
                      {valueWithin(QStringLiteral("房屋面积"), range(c.area1, c.area2)),
                       valueWithin(QStringLiteral("信息价格"), range(c.price1, c.price2)),
                       textAllows(QStringLiteral("户型"), named(c.houseType)),
                       textAllows(QStringLiteral("楼层"), named(c.floor)),
                       textAllows(QStringLiteral("位置"), named(c.location)),
                       textAllows(QStringLiteral("权属"), named(c.ownership)),
                       wordsAllowed(wishes(c.wantedArea))}};
}

// The columns the rules judge on, but `unused`. Validity and mode are not read:
// the conditions hold them to one value each.
template <typename T>
QStringList decidingColumns(const QList<Field<T>>& fields, const Conditions& conditions,
                            const QStringList& unused = {})
{
    QStringList out;
    for (const Field<T>& f : fields) {
        const QString column = QString::fromUtf8(f.column);
        if (!unused.contains(column) && column != QStringLiteral("类型") &&
            column != conditions.modeColumn)
            out << column;
    }
    return out;
}

// The listing columns whose values play no part for this customer: a criterion he
// leaves open (不限, empty, open bounds) never looks at the listing's value.
QStringList unusedForListings(const Customer& c)
{
    QStringList out;
    if (range(c.area1, c.area2).open()) out << QStringLiteral("房屋面积");
    if (range(c.price1, c.price2).open()) out << QStringLiteral("信息价格");
    if (named(c.houseType).isEmpty()) out << QStringLiteral("户型");
    if (named(c.floor).isEmpty()) out << QStringLiteral("楼层");
    if (named(c.location).isEmpty()) out << QStringLiteral("位置");
    if (named(c.ownership).isEmpty()) out << QStringLiteral("权属");
    if (wishes(c.wantedArea).isEmpty()) out << QStringLiteral("小区名称") << QStringLiteral("地址");
    if (wishes(c.wantedFacilities).isEmpty()) out << QStringLiteral("设施");
    return out;
}

QList<ColumnInfo> resultColumns(Connection& c, const QString& table, const QStringList& names)
{
    QList<ColumnInfo> out = {ColumnInfo{scoreColumn(), ColumnInfo::Float, 0},
                             ColumnInfo{markColumn(), ColumnInfo::Text, 2},
                             ColumnInfo{reasonColumn(), ColumnInfo::Text, 80}};
    const TableInfo* ti = c.table(table);
    for (const QString& name : names) {
        const int k = ti ? ti->indexOf(name) : -1;
        out << (k >= 0 ? ti->columns[k] : ColumnInfo{name, ColumnInfo::Other, 0});
    }
    return out;
}

// Matches in two passes. The first reads only the columns the rules judge on for
// this pair of sides (the matching indexes hold nearly all of them, so the engine
// need not read the table's rows), judges each candidate and keeps the score and
// archive number of those shown. The best kListedAtMost of them, by score and then
// archive number, are read whole in the second pass, judged again for the mark and
// the reasons, and listed; `more` counts the others. A row changed in between by
// another workstation is listed as it is now, and left out when it no longer fits.
template <typename T, typename Judge>
MatchTable run(Connection& c, const QString& table, const std::optional<Conditions>& conditions,
               const QList<Field<T>>& fields, const QStringList& unused,
               const QStringList& shownColumns, const Judge& judgeOne)
{
    MatchTable t;
    t.columns = resultColumns(c, table, shownColumns);
    if (!conditions) return t;
    const QStringList deciding = decidingColumns(fields, *conditions, unused);

    struct Hit {
        int score;
        QString archive;
    };
    std::vector<Hit> hits;
    {
        Statement st(c, c.translate(conditions->lines(deciding).join(QLatin1Char('\n'))));
        QList<int> cols;
        QList<QString> fixed; // validity and mode, as the conditions hold them
        for (const Field<T>& f : fields) {
            const QString column = QString::fromUtf8(f.column);
            fixed << (column == QStringLiteral("类型")   ? validValue()
                      : column == conditions->modeColumn ? conditions->mode
                                                         : QString());
        }
        for (bool more = st.step(); more; more = st.step()) {
            if (cols.isEmpty())
                for (const Field<T>& f : fields) {
                    int k = -1;
                    for (int i = 0; i < st.columnCount() && k < 0; ++i)
                        if (st.columnName(i) == QString::fromUtf8(f.column)) k = i;
                    cols << k;
                }
            T candidate;
            for (int i = 0; i < fields.size(); ++i) {
                if (!fixed[i].isNull()) candidate.*fields[i].text = fixed[i];
                if (cols[i] < 0) continue;
                const QVariant v = st.value(cols[i]);
                if (fields[i].text)
                    candidate.*fields[i].text = v.isNull() ? QString() : v.toString();
                else
                    candidate.*fields[i].number = v.isNull() ? 0 : v.toDouble();
            }
            // Most candidates are shown: judged once, in full.
            const Outcome o = judgeOne(candidate, Detail::Full);
            if (o.shown) hits.push_back({o.score, candidate.archive});
        }
    }
    const auto better = [](const Hit& a, const Hit& b) {
        return a.score != b.score ? a.score > b.score : a.archive < b.archive;
    };
    const size_t listed = std::min(hits.size(), size_t(kListedAtMost));
    std::partial_sort(hits.begin(), hits.begin() + qsizetype(listed), hits.end(), better);
    t.more = int(hits.size() - listed);
    hits.resize(listed);
    if (hits.empty()) return t;

    // The archive numbers compare without letter case, as the key column does.
    QHash<QString, int> rank;
    QStringList keys;
    for (const Hit& h : hits) {
        rank.insert(h.archive.toLower(), int(rank.size()));
        keys << QStringLiteral("\"%1\"").arg(dq(h.archive));
    }
    Query q(&c);
    q.setSql({QStringLiteral("select %1,类型 from %2 ").arg(shownColumns.join(','), table),
              QStringLiteral("where 档案号 in (%1) ").arg(keys.join(','))});
    q.open();
    const Reader<T> reader(q, fields);
    QList<int> cols;
    for (const QString& name : shownColumns)
        cols << q.fieldIndex(name);
    std::vector<QVector<QVariant>> rows(hits.size());
    ReasonTexts reasons;
    for (int i = 0; i < q.recordCount(); ++i) {
        const T candidate = reader.at(i);
        const int at = rank.value(candidate.archive.toLower(), -1);
        if (at < 0) continue;
        const Outcome o = judgeOne(candidate, Detail::Full);
        if (!o.shown) continue;
        QVector<QVariant> row;
        row.reserve(3 + cols.size());
        row << double(o.score) << markFor(o) << reasons.of(o);
        for (int col : cols)
            row << (col >= 0 ? q.valueAt(i, col) : QVariant());
        rows[size_t(at)] = std::move(row);
    }
    for (QVector<QVariant>& row : rows)
        if (!row.isEmpty()) t.rows.push_back(std::move(row));
    // A row whose score changed in between keeps its place by its new score.
    std::stable_sort(t.rows.begin(), t.rows.end(),
                     [](const QVector<QVariant>& a, const QVector<QVariant>& b) {
                         return a[0].toDouble() > b[0].toDouble();
                     });
    return t;
}

} // namespace

Listing listingFrom(const Query& row)
{
    return Reader<Listing>(row, listingFields()).at(row.recNo());
}

Customer customerFrom(const Query& row)
{
    return Reader<Customer>(row, customerFields()).at(row.recNo());
}

QStringList customerColumns(bool personal)
{
    QStringList c = {
        QStringLiteral("档案号"),   QStringLiteral("需求方式"), QStringLiteral("权属"),
        QStringLiteral("地址描述"), QStringLiteral("面积1"),    QStringLiteral("面积2"),
        QStringLiteral("价格1"),    QStringLiteral("价格2"),    QStringLiteral("需求设施"),
        QStringLiteral("楼层"),     QStringLiteral("户型"),     QStringLiteral("位置")};
    if (personal)
        c << QStringLiteral("客户姓名") << QStringLiteral("电话") << QStringLiteral("手机");
    return c;
}

QStringList listingColumns(bool personal)
{
    QStringList c = {QStringLiteral("档案号"),   QStringLiteral("方式"), QStringLiteral("权属"),
                     QStringLiteral("小区名称"), QStringLiteral("地址"), QStringLiteral("房屋面积"),
                     QStringLiteral("楼层"),     QStringLiteral("户型"), QStringLiteral("信息价格"),
                     QStringLiteral("位置"),     QStringLiteral("设施")};
    if (personal)
        c << QStringLiteral("房主姓名") << QStringLiteral("电话") << QStringLiteral("手机");
    return c;
}

QStringList customerCandidates(const Listing& l, bool personal)
{
    const auto c = customerConditions(l);
    return c ? c->lines(customerColumns(personal) << QStringLiteral("类型")) : QStringList();
}

QStringList listingCandidates(const Customer& c, bool personal)
{
    const auto l = listingConditions(c);
    return l ? l->lines(listingColumns(personal) << QStringLiteral("类型")) : QStringList();
}

QString scoreColumn()
{
    return QStringLiteral("分数");
}

QString markColumn()
{
    return QStringLiteral("匹配");
}

QString reasonColumn()
{
    return QStringLiteral("理由");
}

QString markFor(const Outcome& o)
{
    return o.nearMiss ? QStringLiteral("接近") : QStringLiteral("符合");
}

MatchTable customersFor(Connection& c, const Listing& l, bool personal)
{
    return run(c, customerTable(), customerConditions(l), customerFields(), {},
               customerColumns(personal),
               [&](const Customer& cu, Detail d) { return judge(l, cu, d); });
}

MatchTable listingsFor(Connection& c, const Customer& cu, bool personal)
{
    // Without wanted facilities the first pass reads the matching index alone.
    return run(c, listingTable(), listingConditions(cu), listingFields(), unusedForListings(cu),
               listingColumns(personal),
               [&](const Listing& l, Detail d) { return judge(l, cu, d); });
}

} // namespace Matching
