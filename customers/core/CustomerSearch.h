#pragma once
// Statements and rules of the customer query window and the customer record
// card, reachable without a window: the first search, the quick search, the
// condition-builder search, the dictionary lists, the print texts and the save
// rule. Every typed value enters statement text through Text::quoted.
#include <QList>
#include <QString>
#include <QStringList>
#include <QVariant>

namespace CustomerSearch
{

// The values of the quick-search panel as typed (trimmed here).
struct QuickSearch {
    QString rq1, rq2;   // date range YYMMDD, both ends inclusive
    QString dzms;       // text within 地址描述
    QString lc, hx, wz; // 楼层, 户型, 位置: exact, "不限" included
    QString fs;         // 需求方式
    QString mj;         // one area value, within 面积1..面积2; a whole number
    QString jg;         // one price value, within 价格1..价格2; a whole number
    bool valid = true;  // ticked: 有效 customers; not ticked: 无效 ones
};

// The search run when the window opens: this month's customers of both validities.
QStringList firstSearch(const QString& qsrq, const QString& czrq);

// The quick search: up to fourteen lines in their fixed order. An area or price
// value that is not a whole number is refused with a DbError (it would stand
// unquoted in the text).
QStringList quickSearch(const QuickSearch& s);

// The condition-builder search: every customer, narrowed by the builder's clauses.
QStringList builderSearch(const QString& where);

// Columns offered to the condition builder, "column;caption".
QStringList builderFields();

// The dictionary lists of the window, in the order they are filled.
struct DictionaryList {
    QString control; // cbLC, cbHX, cbFS, cbWZ
    QString statement;
    QString column;
    bool anyFirst; // the list starts with the item "不限"
};
QList<DictionaryList> dictionaryLists();

// The stored value meaning "no preference"; a list item like any other.
QString any();

// "YY年MM月DD日客户信息表" from an operation date YYMMDD.
QString printTitle(const QString& czrq);
// The text printed after the grid.
QString signatureLine(const QString& operatorName);

// The save rule: an empty (trimmed) address description is stored as "不限".
bool addressDefaultsToAny(const QVariant& dzms);

} // namespace CustomerSearch
