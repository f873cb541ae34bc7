#pragma once
// Statements and rules of the listing query window and the listing record card,
// reachable without a window: the quick search, the columns offered to the
// condition builder and the card's save rule. What both registers share is in
// registers/core/RegisterRules.h. Every typed value enters statement text through
// Text::quoted.
#include "registers/core/RegisterRules.h"

#include <QString>
#include <QStringList>
#include <QVariant>
#include <optional>

namespace ListingSearch
{

// The listing table.
QString table();

// The values of the quick-search panel as typed (trimmed here): those both
// registers have, and the listing's own.
struct QuickSearch : RegisterRules::SearchPanel {
    QString xqdz;         // text within 小区名称 and 地址 joined
    QString mj1, mj2;     // area bounds, whole numbers
    QString jg1, jg2;     // price bounds, whole numbers
    QString xjcd1, xjcd2; // 房龄 bounds: as numbers when whole numbers, else as text
};

// The quick search: up to sixteen lines in their fixed order. A bound that is not
// a whole number is refused with a DbError (it would stand unquoted in the text).
QStringList quickSearch(const QuickSearch& s);

// The condition-builder search over 房屋信息.
QStringList builderSearch(const QString& where);

// Columns offered to the condition builder, "column;caption".
QStringList builderFields();
// Those of them that hold whole numbers as text (房龄), compared as numbers.
QStringList builderWholeNumbers();

// The supply modes (供应方式字典) of the 方式 lists.
RegisterRules::DictionaryList supplyModes();

// The card's save rule: the first failing check, or nothing when the row may be saved.
std::optional<RegisterRules::FailedCheck> checkCard(const QVariant& xqmc, const QVariant& dz,
                                                    const QVariant& fwmj);
// True when 最低价格 is to be stored as 0 (its trimmed text is empty).
bool lowestPriceDefaultsToZero(const QVariant& zdjg);

} // namespace ListingSearch
