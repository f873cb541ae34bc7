#pragma once
// Values as offices write them in spreadsheets, turned into what the register
// stores: "85㎡" → 85, "1,200" → 1200, "120万" → 1200000 (or 120 where prices are
// kept in 万元), dates → YYMMDD, 卖/售 → 出售, 是/否 → 有效/无效. A value that cannot be
// read gives the reason instead.
#include <QString>
#include <QVariant>
#include <optional>

namespace SheetImport
{

enum class PriceUnit { Yuan, TenThousand }; // the unit the register keeps prices in

struct Value {
    QVariant value;  // what is stored (null for an empty cell)
    QString refusal; // why the cell cannot be stored; empty when it can
};

// Blanks at both ends (also the full-width blank) dropped.
QString cleanText(const QString& cell);
// An amount: thousands separators, blanks, full-width digits and units (㎡, m², 平米,
// 平方米, 元, 万, 万元, 元/月) understood.
Value amount(const QString& cell, bool isPrice, PriceUnit unit);
// A date (2026-12-01, 2026/12/1, 2026.12.1, 2026年12月1日, 20261201, 261201, a
// spreadsheet serial) as YYMMDD.
Value date(const QString& cell);
// 房龄 and other digits-only columns ("15年" → "15").
Value digits(const QString& cell);
// 方式 of a listing (`forCustomers` false) or 需求方式 of a customer.
QString mode(const QString& cell, bool forCustomers);
// 有效 / 无效 (an empty cell: 有效, as new records are).
Value validity(const QString& cell);
// Whether `number` has the form of an archive number: 3 characters of a company
// code, a real date YYMMDD and a sequence 001..999.
bool wellFormedArchive(const QString& number);

} // namespace SheetImport
