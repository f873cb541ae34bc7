#pragma once
// Statements and rules of the customer query window and the customer record
// card, reachable without a window: the quick search, the columns offered to the
// condition builder and the save rule. What both registers share is in
// registers/core/RegisterRules.h. Every typed value enters statement text through
// Text::quoted.
#include "registers/core/RegisterRules.h"

#include <QString>
#include <QStringList>
#include <QVariant>

namespace CustomerSearch
{

// The customer table.
QString table();

// The values of the quick-search panel as typed (trimmed here): those both
// registers have ("不限" is a list value like any other), and the customer's own.
struct QuickSearch : RegisterRules::SearchPanel {
    QString dzms; // text within 地址描述
    QString mj;   // one area value, within 面积1..面积2; a whole number
    QString jg;   // one price value, within 价格1..价格2; a whole number
};

// The quick search: up to fourteen lines in their fixed order. An area or price
// value that is not a whole number is refused with a DbError (it would stand
// unquoted in the text).
QStringList quickSearch(const QuickSearch& s);

// Columns offered to the condition builder, "column;caption".
QStringList builderFields();

// The demand modes (需求方式字典) of the 方式 lists.
RegisterRules::DictionaryList demandModes();

// The save rule: an empty (trimmed) address description is stored as "不限".
bool addressDefaultsToAny(const QVariant& dzms);

} // namespace CustomerSearch
