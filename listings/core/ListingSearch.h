#pragma once
// Statements and rules of the listing query window and the listing record card,
// reachable without a window: the first search, the quick search, the
// condition-builder search, the dictionary lists, the print texts and the card's
// save checks. Every typed value enters statement text through Text::quoted.
#include <QString>
#include <QStringList>
#include <QVariant>
#include <optional>

namespace ListingSearch
{

// The values of the quick-search panel as typed (trimmed here).
struct QuickSearch {
    QString rq1, rq2;     // date range YYMMDD, both ends inclusive
    bool valid = true;    // ticked: 有效 listings; not ticked: 无效 ones
    QString fs;           // 方式
    QString xqdz;         // text within 小区名称 and 地址 joined
    QString mj1, mj2;     // area bounds, whole numbers
    QString lc, hx, wz;   // 楼层, 户型, 位置
    QString jg1, jg2;     // price bounds, whole numbers
    QString xjcd1, xjcd2; // 房龄 bounds, compared as text
};

// The search run when the window opens: this month's listings of both validities.
QStringList firstSearch(const QString& qsrq, const QString& czrq);

// The quick search: up to sixteen lines in their fixed order. A bound that is not
// a whole number is refused with a DbError (it would stand unquoted in the text).
QStringList quickSearch(const QuickSearch& s);

// The condition-builder search: every listing, narrowed by the builder's clauses.
QStringList builderSearch(const QString& where);

// Columns offered to the condition builder, "column;caption".
QStringList builderFields();

// The dictionary lists of the window: statement and column for 楼层, 户型, 位置, 方式.
struct DictionaryList {
    QString control; // cbLC, cbHX, cbWZ, cbFS
    QString statement;
    QString column;
};
QList<DictionaryList> dictionaryLists();

// "YY年MM月DD 日房源信息表" from an operation date YYMMDD.
QString printTitle(const QString& czrq);
// The text printed after the grid.
QString signatureLine(const QString& operatorName);

// The card's save rule. The first failing check gives its message and the card
// control that receives the focus; nullopt when the row may be saved.
struct CheckFailure {
    QString message;
    QString control;
};
std::optional<CheckFailure> checkCard(const QVariant& xqmc, const QVariant& dz,
                                      const QVariant& fwmj);
// True when 最低价格 is to be stored as 0 (its trimmed text is empty).
bool lowestPriceDefaultsToZero(const QVariant& zdjg);

} // namespace ListingSearch
