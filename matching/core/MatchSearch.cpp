#include "matching/core/MatchSearch.h"

#include "data/Query.h"
#include "data/Text.h"

#include <algorithm>
#include <cmath>
#include <limits>

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

// Customers whose range b1..b2 holds the value or misses it by at most 10 %: the
// lower bound at most value / 0.9, the upper at least value / 1.1. A bound that is
// null, 0 or below is open, and a range may be given high before low.
QString rangeAround(const QString& b1, const QString& b2, double value)
{
    if (!(value > 0)) return {};
    const QString up = number(widerUp(value / (1 - kNear)));
    const QString down = number(widerDown(value / (1 + kNear)));
    return QStringLiteral("((%1 is null or %1<=0 or %1<=%3 or (%2>0 and %2<=%3)) and "
                          "(%2 is null or %2<=0 or %2>=%4 or (%1>0 and %1>=%4)))")
        .arg(b1, b2, up, down);
}

// Listings whose value lies in the range or misses it by at most 10 %, or that
// give no value.
QString valueWithin(const QString& column, const Range& r)
{
    QStringList limits;
    if (r.lo > 0) limits << column + QStringLiteral(">=") + number(widerDown(r.lo * (1 - kNear)));
    if (r.hi > 0 && std::isfinite(r.hi))
        limits << column + QStringLiteral("<=") + number(widerUp(r.hi * (1 + kNear)));
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

// The candidate statement over the columns shown and the validity (with these,
// every column the rules judge on): validity, mode, the area or the price at least
// near (a pair missing one of them is still shown as a near miss, so only both
// missing can be left out here), then the conditions that rule a pair out.
QStringList candidates(const QString& table, const QStringList& shown, const QString& modeColumn,
                       const QString& mode, const QString& area, const QString& price,
                       const QStringList& conditions)
{
    QStringList lines;
    lines << QStringLiteral("select %1,类型 from %2 ").arg(shown.join(','), table)
          << QStringLiteral("where 类型=\"%1\" ").arg(dq(validValue()))
          << QStringLiteral("and %1=\"%2\" ").arg(modeColumn, dq(mode));
    if (!area.isEmpty() && !price.isEmpty())
        lines << QStringLiteral("and (%1 or %2) ").arg(area, price);
    for (const QString& c : conditions)
        if (!c.isEmpty()) lines << QStringLiteral("and %1 ").arg(c);
    return lines;
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

// Runs the candidate statement, which reads the columns shown and those the
// rules judge on, and judges each candidate: first only as far as it takes to
// rule it out, then in full for the score and the reasons of those shown. One
// pass: the rows are read once, as they are now. Best score first, then by
// archive number.
template <typename T, typename Judge>
MatchTable run(Connection& c, const QString& table, const QList<Field<T>>& fields,
               const QStringList& shownColumns, const QStringList& candidateLines,
               const Judge& judgeOne)
{
    MatchTable t;
    t.columns = resultColumns(c, table, shownColumns);
    if (candidateLines.isEmpty()) return t;

    Query q(&c);
    q.setSql(candidateLines);
    q.open();
    const Reader<T> reader(q, fields);
    QList<int> cols;
    for (const QString& name : shownColumns)
        cols << q.fieldIndex(name);

    struct Hit {
        int score;
        QString archive;
        QVector<QVariant> row;
    };
    std::vector<Hit> hits;
    ReasonTexts reasons;
    for (int i = 0; i < q.recordCount(); ++i) {
        const T candidate = reader.at(i);
        if (!judgeOne(candidate, Detail::Decision).shown) continue;
        const Outcome o = judgeOne(candidate, Detail::Full);
        QVector<QVariant> row;
        row.reserve(3 + cols.size());
        row << double(o.score) << markFor(o) << reasons.of(o);
        for (int col : cols)
            row << (col >= 0 ? q.valueAt(i, col) : QVariant());
        hits.push_back({o.score, candidate.archive, std::move(row)});
    }
    std::sort(hits.begin(), hits.end(), [](const Hit& a, const Hit& b) {
        return a.score != b.score ? a.score > b.score : a.archive < b.archive;
    });
    t.rows.reserve(hits.size());
    for (Hit& h : hits)
        t.rows.push_back(std::move(h.row));
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
    const QString demand = demandModeFor(l.mode);
    if (l.validity != validValue() || demand.isEmpty()) return {};
    return candidates(customerTable(), customerColumns(personal), QStringLiteral("需求方式"),
                      demand, rangeAround(QStringLiteral("面积1"), QStringLiteral("面积2"), l.area),
                      rangeAround(QStringLiteral("价格1"), QStringLiteral("价格2"), l.price),
                      {textAllows(QStringLiteral("户型"), named(l.houseType)),
                       textAllows(QStringLiteral("楼层"), named(l.floor)),
                       textAllows(QStringLiteral("位置"), named(l.location)),
                       textAllows(QStringLiteral("权属"), named(l.ownership))});
}

QStringList listingCandidates(const Customer& c, bool personal)
{
    const QString supply = supplyModeFor(c.mode);
    if (c.validity != validValue() || supply.isEmpty()) return {};
    return candidates(listingTable(), listingColumns(personal), QStringLiteral("方式"), supply,
                      valueWithin(QStringLiteral("房屋面积"), range(c.area1, c.area2)),
                      valueWithin(QStringLiteral("信息价格"), range(c.price1, c.price2)),
                      {textAllows(QStringLiteral("户型"), named(c.houseType)),
                       textAllows(QStringLiteral("楼层"), named(c.floor)),
                       textAllows(QStringLiteral("位置"), named(c.location)),
                       textAllows(QStringLiteral("权属"), named(c.ownership)),
                       wordsAllowed(wishes(c.wantedArea))});
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
    return run(c, customerTable(), customerFields(), customerColumns(personal),
               customerCandidates(l, personal),
               [&](const Customer& cu, Detail d) { return judge(l, cu, d); });
}

MatchTable listingsFor(Connection& c, const Customer& cu, bool personal)
{
    return run(c, listingTable(), listingFields(), listingColumns(personal),
               listingCandidates(cu, personal),
               [&](const Listing& l, Detail d) { return judge(l, cu, d); });
}

} // namespace Matching
