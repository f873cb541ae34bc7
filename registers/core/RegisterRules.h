#pragma once
// What the listing and the customer register have in common below the windows:
// the statements of the first search and the condition-builder search, the print
// texts, the dictionary lists, the result of a failed check, the 方式 rule and
// the guard for values that stand unquoted in a statement.
#include "exchange/core/Exchange.h"

#include <QList>
#include <QString>
#include <QStringList>
#include <QVariant>
#include <optional>

namespace RegisterRules
{

// The stored value meaning "no preference" (customers); a list item like any other.
QString any();

// The search run when a query window opens: the register's rows entered from the
// first day of the operation month to the operation date, valid and invalid alike.
QStringList firstSearch(const QString& table, const QString& qsrq, const QString& czrq);

// The condition-builder search: every row of the table, narrowed by the builder's clauses.
QStringList builderSearch(const QString& table, const QString& where);

// The row of the table with this archive number (none when it is gone).
QStringList oneRecord(const QString& table, const QString& archive);

// "YY年MM月DD" followed by `tail` (" 日房源信息表", "日客户信息表") from a date YYMMDD.
QString printTitle(const QString& czrq, const QString& tail);
// The text printed after the grid.
QString signatureLine(const QString& operatorName);

// A bound that stands without quotes in a statement: returned when it holds digits
// only, refused with a DbError naming the caption otherwise.
QString wholeNumber(const QString& v, const QString& caption);

// The quick-search values both panels have, as typed (trimmed when used).
struct SearchPanel {
    QString rq1, rq2;   // date range YYMMDD, both ends inclusive
    bool valid = true;  // ticked: 有效 rows; not ticked: 无效 ones
    QString fs;         // 方式 (supply or demand mode)
    QString lc, hx, wz; // 楼层, 户型, 位置: exact text
};
// The validity line: and 类型="有效" or "无效".
QString validity(bool valid);
// Quick-search clauses: `line` with the trimmed typed value put in for %1, added
// when the value is not blank. addText doubles the double quotes of the value (it
// stands between double quotes); addNumber refuses anything but digits (it stands
// unquoted) with a DbError naming `caption`.
void addText(QStringList& lines, const QString& line, const QString& typed);
void addNumber(QStringList& lines, const QString& line, const QString& typed,
               const QString& caption);

// Trimmed text of a column value; empty for null.
QString trimmedText(const QVariant& v);

// A register's exchange: `table` and table + "Exp", keyed by 档案号, the columns in
// the order both directions copy them, those in `numbers` travelling as numbers.
ExchangeLayout exchangeLayout(const QString& table, const QStringList& columns,
                              const QStringList& numbers);

// A drop-down list filled from a dictionary.
struct DictionaryList {
    QString control;       // objectName of the list, e.g. cbLC
    QString statement;     // e.g. "select 楼层 from 楼层字典 "
    QString column;        // e.g. 楼层
    bool anyFirst = false; // "不限" stands in front of the dictionary's entries
};
// The dictionaries both registers offer (the 方式 lists differ).
DictionaryList floors(bool anyFirst);
DictionaryList houseTypes(bool anyFirst);
DictionaryList locations(bool anyFirst);
DictionaryList ownerships();

// The first check of a rule list that fails: its number, its message and the
// objectName of the control that receives the focus.
struct FailedCheck {
    int number = 0;
    QString message;
    QString control;
};
// "请录入电话或手机其中的一项信息" when both phone numbers are blank, else nothing.
std::optional<FailedCheck> phoneCheck(int number, const QString& phone, const QString& mobile,
                                      const QString& focus);

// What a chosen 方式 does to the 权属 list: `clearing` (出租, 求租) clears and
// disables it, `selecting` (出售, 求购) selects its first item and enables it,
// any other text leaves it alone.
enum class OwnershipList { Clear, Select, Keep };
struct ModeRule {
    QString clearing;
    QString selecting;
    OwnershipList operator()(const QString& mode) const;
};

} // namespace RegisterRules
