#include "listings/core/ListingSearch.h"

#include "data/Text.h"
#include "pickers/core/ConditionText.h"

namespace ListingSearch
{

using RegisterRules::FailedCheck;
using RegisterRules::trimmedText;

QString table()
{
    return QStringLiteral("房屋信息");
}

QStringList quickSearch(const QuickSearch& in)
{
    using RegisterRules::addNumber;
    using RegisterRules::addText;
    QStringList s = RegisterRules::firstSearch(table(), Text::trim(in.rq1), Text::trim(in.rq2));
    s << RegisterRules::validity(in.valid);
    addText(s, QStringLiteral("and 方式=\"%1\""), in.fs);
    addText(s, QStringLiteral("and ((小区名称+地址) like \"%%1%\") "), in.xqdz);
    addNumber(s, QStringLiteral("and 房屋面积>=%1"), in.mj1, QStringLiteral("面积范围"));
    addNumber(s, QStringLiteral("and 房屋面积<=%1"), in.mj2, QStringLiteral("面积范围"));
    addText(s, QStringLiteral("and 楼层=\"%1\""), in.lc);
    addText(s, QStringLiteral("and 户型=\"%1\""), in.hx);
    addNumber(s, QStringLiteral("and 信息价格>=%1"), in.jg1, QStringLiteral("信息价格"));
    addNumber(s, QStringLiteral("and 信息价格<=%1"), in.jg2, QStringLiteral("信息价格"));
    addText(s, QStringLiteral("and 位置=\"%1\""), in.wz);
    // 房龄 is a text column: a typed whole number compares with stored whole numbers
    // as a number (5 to 10 finds 7); anything else stands between single quotes and
    // is compared as text.
    for (const auto& [typed, op] : {std::pair{in.xjcd1, ">="}, std::pair{in.xjcd2, "<="}}) {
        const QString v = Text::trim(typed);
        if (v.isEmpty()) continue;
        const QString numeric =
            ConditionText::wholeNumberComparison(QStringLiteral("新旧程度"), QLatin1String(op), v);
        s << (numeric.isEmpty()
                  ? QStringLiteral("and 新旧程度%1'%2'").arg(QLatin1String(op), Text::quoted(v))
                  : QStringLiteral("and ") + numeric);
    }
    return s;
}

QStringList builderSearch(const QString& where)
{
    return RegisterRules::builderSearch(table(), where);
}

QStringList builderWholeNumbers()
{
    return {QStringLiteral("新旧程度")};
}

QStringList builderFields()
{
    return {QStringLiteral("类型;类型"),        QStringLiteral("档案号;档案号"),
            QStringLiteral("方式;方式"),        QStringLiteral("小区名称;小区名称"),
            QStringLiteral("地址;地址"),        QStringLiteral("楼层;楼层"),
            QStringLiteral("户型;户型"),        QStringLiteral("设施;设施"),
            QStringLiteral("位置;位置"),        QStringLiteral("权属;权属"),
            QStringLiteral("期限;期限"),        QStringLiteral("公交线路;公交线路"),
            QStringLiteral("新旧程度;房龄"),    QStringLiteral("录入日期;录入日期"),
            QStringLiteral("公司编号;公司编号")};
}

RegisterRules::DictionaryList supplyModes()
{
    return {QStringLiteral("cbFS"), QStringLiteral("select 供应方式 from 供应方式字典 "),
            QStringLiteral("供应方式")};
}

std::optional<FailedCheck> checkCard(const QVariant& xqmc, const QVariant& dz, const QVariant& fwmj)
{
    if (trimmedText(xqmc).isEmpty())
        return FailedCheck{1, QStringLiteral("请录入小区名称"), QStringLiteral("DBEdit1")};
    if (trimmedText(dz).isEmpty())
        return FailedCheck{2, QStringLiteral("请录入地址"), QStringLiteral("DBEdit2")};
    bool ok = false;
    const QString area = trimmedText(fwmj);
    const double mj = area.toDouble(&ok);
    if (area.isEmpty() || !ok || !(mj > 0))
        return FailedCheck{3, QStringLiteral("请录入房屋面积"), QStringLiteral("DBEdit3")};
    return std::nullopt;
}

bool lowestPriceDefaultsToZero(const QVariant& zdjg)
{
    return trimmedText(zdjg).isEmpty();
}

} // namespace ListingSearch
