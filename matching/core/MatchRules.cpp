#include "matching/core/MatchRules.h"

#include "data/Text.h"

#include <cmath>

namespace Matching
{

namespace
{

// The score. Each criterion weighs as below (together 100, so a pair that meets
// everything scores 100); area and price decide most, as an operator phones about
// size and money first, the facilities are a wish list and count least. A verdict
// earns this share of its weight:
//   met, or no preference (不限, empty, open bounds)    all of it
//   near (outside the range by at most 10 %)           from all at the bound down to half at 10 %
//   unknown (the listing does not say)                 half
//   missed (beyond 10 %; a near miss up to 20 %)       nothing
//   facilities                                         the share of the wanted ones present
// The score is the sum, rounded to a whole number.
constexpr int kWeight[kCriteria] = {
    20, // Area
    25, // Price
    15, // HouseType
    8,  // Floor
    10, // Location
    7,  // Ownership
    10, // WantedArea
    5,  // Facilities
};
constexpr double kUnknownFactor = 0.5;
constexpr double kNearFactorAtLimit = 0.5;

// A deviation this close above 10 % (20 %) still counts as near (a near miss): the
// share is computed in floating point, and 10 % (20 %) exactly must stay inside.
constexpr double kNearTolerance = 1e-9;

const char* const kNames[kCriteria] = {"面积", "价格", "户型", "楼层",
                                       "位置", "权属", "地址", "设施"};

const QString& any()
{
    static const QString s = QStringLiteral("不限");
    return s;
}

bool given(double x)
{
    return x > 0; // false for NaN
}

// Letter case is ignored for A to Z only, as the database compares text, so that
// the candidate statement's "like" finds every pair these rules accept.
char16_t folded(QChar c)
{
    const char16_t u = c.unicode();
    return u >= u'A' && u <= u'Z' ? char16_t(u + 32) : u;
}

bool same(QStringView a, QStringView b)
{
    if (a.size() != b.size()) return false;
    for (qsizetype i = 0; i < a.size(); ++i)
        if (folded(a.at(i)) != folded(b.at(i))) return false;
    return true;
}

bool holds(QStringView text, QStringView word)
{
    for (qsizetype i = 0; i + word.size() <= text.size(); ++i)
        if (same(text.mid(i, word.size()), word)) return true;
    return false;
}

bool isAny(QStringView s)
{
    return same(s, any());
}

// Blanks (the full-width one included) and punctuation outside ASCII separate
// words; ASCII signs such as quotes, % and _ are part of a word.
bool separates(QChar c)
{
    return c.unicode() <= 32 || c.isSpace() || (c.unicode() > 0x7F && c.isPunct());
}

// Calls f with each word of the text, in order, until f returns false.
template <typename F> void eachWord(QStringView text, F f)
{
    qsizetype b = 0;
    for (qsizetype i = 0; i <= text.size(); ++i) {
        if (i < text.size() && !separates(text.at(i))) continue;
        if (i > b && !f(text.mid(b, i - b))) return;
        b = i + 1;
    }
}

// A wish list of words stands for no preference when it has no word or one of its
// words is 不限.
bool noWish(QStringView text)
{
    bool none = true;
    eachWord(text, [&](QStringView w) {
        none = isAny(w);
        return !none;
    });
    return none;
}

// A judgement with the share of the weight its verdict earns; near and facilities
// set their own share.
Judgement judged(Criterion which, Verdict v)
{
    Judgement j;
    j.criterion = which;
    j.verdict = v;
    j.factor = v == Verdict::Missed ? 0 : v == Verdict::Unknown ? kUnknownFactor : 1;
    return j;
}

Judgement judgeRange(Criterion which, double value, double bound1, double bound2)
{
    const Range r = range(bound1, bound2);
    const auto verdict = [&](Verdict v) {
        Judgement j = judged(which, v);
        j.reversed = r.reversed;
        return j;
    };
    if (r.open()) return verdict(Verdict::Any);
    if (!given(value)) return verdict(Verdict::Unknown);
    double deviation;
    bool above = false;
    if (r.lo > 0 && value < r.lo) {
        deviation = (r.lo - value) / r.lo;
    } else if (r.hi > 0 && value > r.hi) {
        deviation = (value - r.hi) / r.hi;
        above = true;
    } else {
        return verdict(Verdict::Met);
    }
    const bool near = deviation <= kNear + kNearTolerance;
    Judgement j = verdict(near ? Verdict::Near : Verdict::Missed);
    j.deviation = deviation;
    j.above = above;
    if (near) j.factor = 1 - (1 - kNearFactorAtLimit) * qMin(1.0, deviation / kNear);
    return j;
}

Judgement judgeText(Criterion which, const QString& offered, const QString& wanted)
{
    const QString w = Text::trim(wanted), o = Text::trim(offered);
    if (w.isEmpty() || isAny(w)) return judged(which, Verdict::Any);
    if (o.isEmpty() || isAny(o)) return judged(which, Verdict::Unknown);
    return judged(which, same(o, w) ? Verdict::Met : Verdict::Missed);
}

Judgement judgeWantedArea(const Listing& l, const QString& description)
{
    const Criterion which = Criterion::WantedArea;
    if (noWish(description)) return judged(which, Verdict::Any);
    bool found = false;
    eachWord(description, [&](QStringView w) {
        found = holds(l.estate, w) || holds(l.address, w);
        return !found;
    });
    if (found) return judged(which, Verdict::Met);
    const bool unknown = Text::trim(l.estate).isEmpty() && Text::trim(l.address).isEmpty();
    return judged(which, unknown ? Verdict::Unknown : Verdict::Missed);
}

Judgement judgeFacilities(const QString& offered, const QString& wanted)
{
    if (noWish(wanted)) return judged(Criterion::Facilities, Verdict::Any);
    const QStringList w = words(wanted);
    int found = 0;
    for (const QString& s : w)
        if (holds(offered, s)) ++found;
    Judgement j =
        judged(Criterion::Facilities, found == w.size() ? Verdict::Met : Verdict::Partial);
    j.found = found;
    j.wanted = int(w.size());
    j.factor = double(found) / w.size();
    return j;
}

QString percent(double deviation)
{
    // Rounded up, so a value outside the range never reads 0 % and one beyond 10 % never 10 %.
    const int p = qMax(1, int(std::ceil(deviation * 100 - 1e-7)));
    return QString::number(p) + QLatin1Char('%');
}

QString reason(const Judgement& j)
{
    QString s = QString::fromUtf8(kNames[int(j.criterion)]) + QLatin1Char(' ');
    switch (j.verdict) {
    case Verdict::Met:
        s += QStringLiteral("✓");
        break;
    case Verdict::Any:
        s += any();
        break;
    case Verdict::Unknown:
        s += QStringLiteral("未填");
        break;
    case Verdict::Near:
    case Verdict::Missed:
        // Which side of the range: a flat too small or too large, over or under budget.
        if (j.criterion == Criterion::Area)
            s = (j.above ? QStringLiteral("面积大 ") : QStringLiteral("面积小 ")) +
                percent(j.deviation);
        else if (j.criterion == Criterion::Price)
            s = (j.above ? QStringLiteral("超出预算 ") : QStringLiteral("低于预算 ")) +
                percent(j.deviation);
        else
            s += QStringLiteral("✗");
        break;
    case Verdict::Partial:
        s += QStringLiteral("%1/%2").arg(j.found).arg(j.wanted);
        break;
    }
    if (j.reversed) s += QStringLiteral("（上下限颠倒）");
    return s;
}

} // namespace

QString validValue()
{
    return QStringLiteral("有效");
}

QString demandModeFor(const QString& supplyMode)
{
    if (supplyMode == QStringLiteral("出售")) return QStringLiteral("求购");
    if (supplyMode == QStringLiteral("出租")) return QStringLiteral("求租");
    return {};
}

QString supplyModeFor(const QString& demandMode)
{
    if (demandMode == QStringLiteral("求购")) return QStringLiteral("出售");
    if (demandMode == QStringLiteral("求租")) return QStringLiteral("出租");
    return {};
}

QStringList words(const QString& text)
{
    QStringList out;
    eachWord(text, [&](QStringView w) {
        bool seen = false;
        for (const QString& o : out)
            seen = seen || same(o, w);
        if (!seen) out << w.toString();
        return true;
    });
    return out;
}

Range range(double bound1, double bound2)
{
    Range r;
    const double a = given(bound1) ? bound1 : 0, b = given(bound2) ? bound2 : 0;
    if (a > 0 && b > 0 && a > b) {
        r.lo = b;
        r.hi = a;
        r.reversed = true;
    } else {
        r.lo = a;
        r.hi = b;
    }
    return r;
}

QStringList wishes(const QString& text)
{
    return noWish(text) ? QStringList() : words(text);
}

QString named(const QString& text)
{
    const QString t = Text::trim(text);
    return t.isEmpty() || isAny(t) ? QString() : t;
}

QString anyValue()
{
    return any();
}

QString Outcome::reasons() const
{
    QStringList parts;
    for (const Judgement& j : judgements)
        parts << reason(j);
    return parts.join(QStringLiteral("  "));
}

QString ReasonTexts::of(const Outcome& o)
{
    // Everything reason() reads of a judgement, in order.
    std::string key;
    key.reserve(kCriteria * 24);
    const auto put = [&key](const auto& v) {
        key.append(reinterpret_cast<const char*>(&v), sizeof v);
    };
    for (const Judgement& j : o.judgements) {
        put(j.verdict);
        put(j.above);
        put(j.reversed);
        put(j.deviation);
        put(j.found);
        put(j.wanted);
    }
    auto [it, added] = m_texts.try_emplace(std::move(key));
    if (added) it->second = o.reasons();
    return it->second;
}

Outcome judge(const Listing& l, const Customer& c, Detail detail)
{
    Outcome o;
    Judgement* j = o.judgements;
    const QString demand = demandModeFor(l.mode);
    const bool takesPart = l.validity == validValue() && c.validity == validValue() &&
                           !demand.isEmpty() && demand == c.mode;
    const bool decision = detail == Detail::Decision;
    if (!takesPart && decision) return o;

    // The criteria that rule a pair out when missed come first, so the first pass
    // stops early; area and price only together.
    bool othersMet = true;
    auto rule = [&](int i, const Judgement& judged) {
        j[i] = judged;
        othersMet = othersMet && judged.verdict != Verdict::Missed;
        return othersMet || !decision;
    };
    if (!rule(2, judgeText(Criterion::HouseType, l.houseType, c.houseType)) ||
        !rule(3, judgeText(Criterion::Floor, l.floor, c.floor)) ||
        !rule(4, judgeText(Criterion::Location, l.location, c.location)) ||
        !rule(5, judgeText(Criterion::Ownership, l.ownership, c.ownership)) ||
        !rule(6, judgeWantedArea(l, c.wantedArea)))
        return o;
    j[0] = judgeRange(Criterion::Area, l.area, c.area1, c.area2);
    j[1] = judgeRange(Criterion::Price, l.price, c.price1, c.price2);
    const bool areaMissed = j[0].verdict == Verdict::Missed;
    const bool priceMissed = j[1].verdict == Verdict::Missed;
    // A near miss misses one of them, and that one by at most 20 %.
    const auto tooFar = [](const Judgement& r) {
        return r.verdict == Verdict::Missed && r.deviation > kNearMiss + kNearTolerance;
    };
    o.shown =
        takesPart && othersMet && !(areaMissed && priceMissed) && !tooFar(j[0]) && !tooFar(j[1]);
    o.nearMiss = o.shown && (areaMissed || priceMissed);
    if (!o.shown && decision) return o;
    j[7] = judgeFacilities(l.facilities, c.wantedFacilities);

    double score = 0;
    for (int i = 0; i < kCriteria; ++i)
        score += kWeight[i] * j[i].factor;
    o.score = int(std::lround(score));
    return o;
}

} // namespace Matching
