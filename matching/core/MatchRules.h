#pragma once
// Whether a listing and a customer fit each other, criterion by criterion, with a
// score and a short reason for each. The same function judges a pair whichever
// side the search starts from, so both directions give the same pairs and scores.
#include <QList>
#include <QString>
#include <QStringList>
#include <string>
#include <unordered_map>

namespace Matching
{

// A listing as the rules see it (columns of 房屋信息).
struct Listing {
    QString archive;    // 档案号
    QString validity;   // 类型
    QString mode;       // 方式
    double area = 0;    // 房屋面积; 0, negative or NaN: not given
    double price = 0;   // 信息价格; the same
    QString floor;      // 楼层
    QString houseType;  // 户型
    QString location;   // 位置
    QString ownership;  // 权属
    QString estate;     // 小区名称
    QString address;    // 地址
    QString facilities; // 设施
};

// A customer's demand (columns of 客户信息).
struct Customer {
    QString archive;               // 档案号
    QString validity;              // 类型
    QString mode;                  // 需求方式
    double area1 = 0, area2 = 0;   // 面积1, 面积2; a bound of 0, below 0 or NaN is open
    double price1 = 0, price2 = 0; // 价格1, 价格2; the same
    QString floor, houseType, location, ownership; // "不限" or empty: no preference
    QString wantedArea;                            // 地址描述
    QString wantedFacilities;                      // 需求设施
};

enum class Criterion { Area, Price, HouseType, Floor, Location, Ownership, WantedArea, Facilities };
constexpr int kCriteria = 8;

enum class Verdict {
    Met,     // within the range, equal, or a wanted word found
    Any,     // the customer has no preference (不限, empty, open bounds)
    Near,    // outside the range by at most 10 % of the bound
    Unknown, // the listing does not say (no area, no price, empty text)
    Missed,  // area and price: beyond 10 %; the pair is a near miss up to 20 %
    Partial, // facilities: some of the wanted ones are there
};

struct Judgement {
    Criterion criterion = Criterion::Area;
    Verdict verdict = Verdict::Met;
    double deviation = 0;      // Near/Missed: how far outside the bound, as a share of it
    bool above = false;        // Near/Missed: above the upper bound (else below the lower)
    bool reversed = false;     // the customer's bounds were given high before low
    int found = 0, wanted = 0; // Facilities: wanted words present / wanted words
    double factor = 1;         // share of the criterion's weight this earns
};

struct Outcome {
    bool shown = false;    // the pair belongs in the result
    bool nearMiss = false; // shown although the area or the price is missed (within 20 %)
    int score = 0;         // 0..100
    Judgement judgements[kCriteria];
    // "面积 ✓  超出预算 8%  户型 ✓  位置 不限 ...", one part per criterion; an area or
    // a price outside the range says on which side: 面积小/面积大, 低于预算/超出预算.
    QString reasons() const;
};

// Outcome::reasons() for the many rows of a result: outcomes that read alike (the
// same verdicts, the same share outside a bound, the same facilities found) share
// one text, made once.
class ReasonTexts
{
public:
    QString of(const Outcome& o);

private:
    std::unordered_map<std::string, QString> m_texts;
};

// Judges one pair: both 有效, modes paired (出售/求购, 出租/求租), then every
// criterion. With Detail::Decision the judging stops as soon as the pair is ruled
// out (shown false, later judgements left at their defaults): the fast first look
// at each of many candidates.
enum class Detail { Full, Decision };
Outcome judge(const Listing& l, const Customer& c, Detail detail = Detail::Full);

// The modes that pair: the demand mode for a supply mode and back; empty for any
// other value.
QString demandModeFor(const QString& supplyMode);
QString supplyModeFor(const QString& demandMode);
// The validity a row must have to take part.
QString validValue();

// The words of a free text: split on blanks and Chinese punctuation; each word
// once (letter case ignored), in order.
QStringList words(const QString& text);
// The words of a wish (地址描述, 需求设施); none when there is no wish: no word,
// or 不限 among them.
QStringList wishes(const QString& text);
// The value a text criterion (楼层, 户型, 位置, 权属) names, trimmed; empty when it
// names none (empty or 不限).
QString named(const QString& text);
// The value that stands for no preference.
QString anyValue();

// A bound range as the customer gave it: open ends and a range given high before low.
struct Range {
    double lo = 0, hi = 0; // 0: open
    bool reversed = false;
    bool open() const { return lo <= 0 && hi <= 0; }
};
Range range(double bound1, double bound2);

// Share of its bound by which a value may lie outside the range and still be near.
constexpr double kNear = 0.10;
// Share of its bound by which a missed area or price may lie outside the range for
// the pair to be shown as a near miss; beyond it the pair is left out.
constexpr double kNearMiss = 0.20;

} // namespace Matching
