#include "common/core/RegisterRules.h"

#include "data/DbError.h"
#include "data/Text.h"

namespace RegisterRules
{

QString registerOf(const QString& table)
{
    if (table == QStringLiteral("成交记录")) return QStringLiteral("成交");
    return table == QStringLiteral("客户信息") ? QStringLiteral("客户") : QStringLiteral("房源");
}

QString any()
{
    return QStringLiteral("不限");
}

QStringList firstSearch(const QString& table, const QString& qsrq, const QString& czrq)
{
    const QChar dq = QLatin1Char('"');
    return {QStringLiteral("select * from %1 ").arg(table), QStringLiteral("where 档案号<>\"\" "),
            QStringLiteral("and 录入日期>=\"%1\" ").arg(Text::quoted(qsrq, dq)),
            QStringLiteral("and 录入日期<=\"%1\" ").arg(Text::quoted(czrq, dq))};
}

QStringList builderSearch(const QString& table, const QString& where)
{
    return {QStringLiteral("select * from %1 ").arg(table), QStringLiteral("where 档案号<>\"\" "),
            where};
}

QStringList oneRecord(const QString& table, const QString& archive)
{
    return {QStringLiteral("select * from %1 ").arg(table),
            QStringLiteral("where 档案号=\"%1\" ").arg(Text::quoted(archive, QLatin1Char('"')))};
}

QString printTitle(const QString& czrq, const QString& tail)
{
    return czrq.left(2) + QStringLiteral("年") + czrq.mid(2, 2) + QStringLiteral("月") +
           czrq.mid(4, 2) + tail;
}

QString signatureLine(const QString& operatorName)
{
    return QStringLiteral("填报人员签字：") + operatorName;
}

QString wholeNumber(const QString& v, const QString& caption)
{
    for (const QChar c : v)
        if (c < QLatin1Char('0') || c > QLatin1Char('9'))
            throw DbError(QStringLiteral("%1只能录入整数：%2").arg(caption, v));
    return v;
}

QString validity(bool valid)
{
    return valid ? QStringLiteral("and 类型=\"有效\"") : QStringLiteral("and 类型=\"无效\"");
}

void addText(QStringList& lines, const QString& line, const QString& typed)
{
    const QString v = Text::trim(typed);
    if (!v.isEmpty()) lines << line.arg(Text::quoted(v, QLatin1Char('"')));
}

void addNumber(QStringList& lines, const QString& line, const QString& typed,
               const QString& caption)
{
    const QString v = Text::trim(typed);
    if (!v.isEmpty()) lines << line.arg(wholeNumber(v, caption));
}

QString trimmedText(const QVariant& v)
{
    return v.isNull() ? QString() : Text::trim(v.toString());
}

ExchangeLayout exchangeLayout(const QString& table, const QStringList& columns,
                              const QStringList& numbers)
{
    ExchangeLayout layout{table, table + QStringLiteral("Exp"), QStringLiteral("档案号"), {}};
    for (const QString& c : columns)
        layout.columns << ExchangeColumn{c, numbers.contains(c) ? ExchangeColumn::Number
                                                                : ExchangeColumn::Text};
    return layout;
}

DictionaryList floors(bool anyFirst)
{
    return {QStringLiteral("cbLC"), QStringLiteral("select 楼层 from 楼层字典 "),
            QStringLiteral("楼层"), anyFirst};
}

DictionaryList houseTypes(bool anyFirst)
{
    return {QStringLiteral("cbHX"), QStringLiteral("select 户型 from 户型字典 "),
            QStringLiteral("户型"), anyFirst};
}

DictionaryList locations(bool anyFirst)
{
    return {QStringLiteral("cbWZ"), QStringLiteral("select 位置 from 位置字典 "),
            QStringLiteral("位置"), anyFirst};
}

DictionaryList ownerships()
{
    return {QStringLiteral("cbQS"), QStringLiteral("select 权属 from 权属字典 "),
            QStringLiteral("权属"), false};
}

std::optional<FailedCheck> phoneCheck(int number, const QString& phone, const QString& mobile,
                                      const QString& focus)
{
    if (!Text::trim(phone).isEmpty() || !Text::trim(mobile).isEmpty()) return std::nullopt;
    return FailedCheck{number, QStringLiteral("请录入电话或手机其中的一项信息"), focus};
}

OwnershipList ModeRule::operator()(const QString& mode) const
{
    const QString m = Text::trim(mode);
    if (m == clearing) return OwnershipList::Clear;
    if (m == selecting) return OwnershipList::Select;
    return OwnershipList::Keep;
}

} // namespace RegisterRules
