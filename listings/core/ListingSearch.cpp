#include "listings/core/ListingSearch.h"

#include "data/Text.h"

namespace ListingSearch
{

using RegisterRules::FailedCheck;
using RegisterRules::trimmedText;
using RegisterRules::wholeNumber;

namespace
{

QString dq(const QString& v)
{
    return Text::quoted(v, QLatin1Char('"'));
}

} // namespace

QString table()
{
    return QStringLiteral("房屋信息");
}

QStringList quickSearch(const QuickSearch& in)
{
    const QString rq1 = Text::trim(in.rq1), rq2 = Text::trim(in.rq2), fs = Text::trim(in.fs),
                  xqdz = Text::trim(in.xqdz), mj1 = Text::trim(in.mj1), mj2 = Text::trim(in.mj2),
                  lc = Text::trim(in.lc), hx = Text::trim(in.hx), jg1 = Text::trim(in.jg1),
                  jg2 = Text::trim(in.jg2), wz = Text::trim(in.wz), xjcd1 = Text::trim(in.xjcd1),
                  xjcd2 = Text::trim(in.xjcd2);
    QStringList s = RegisterRules::firstSearch(table(), rq1, rq2);
    s << (in.valid ? QStringLiteral("and 类型=\"有效\"") : QStringLiteral("and 类型=\"无效\""));
    if (!fs.isEmpty()) s << QStringLiteral("and 方式=\"%1\"").arg(dq(fs));
    if (!xqdz.isEmpty()) s << QStringLiteral("and ((小区名称+地址) like \"%%1%\") ").arg(dq(xqdz));
    if (!mj1.isEmpty())
        s << QStringLiteral("and 房屋面积>=%1").arg(wholeNumber(mj1, QStringLiteral("面积范围")));
    if (!mj2.isEmpty())
        s << QStringLiteral("and 房屋面积<=%1").arg(wholeNumber(mj2, QStringLiteral("面积范围")));
    if (!lc.isEmpty()) s << QStringLiteral("and 楼层=\"%1\"").arg(dq(lc));
    if (!hx.isEmpty()) s << QStringLiteral("and 户型=\"%1\"").arg(dq(hx));
    if (!jg1.isEmpty())
        s << QStringLiteral("and 信息价格>=%1").arg(wholeNumber(jg1, QStringLiteral("信息价格")));
    if (!jg2.isEmpty())
        s << QStringLiteral("and 信息价格<=%1").arg(wholeNumber(jg2, QStringLiteral("信息价格")));
    if (!wz.isEmpty()) s << QStringLiteral("and 位置=\"%1\"").arg(dq(wz));
    if (!xjcd1.isEmpty()) s << QStringLiteral("and 新旧程度>='%1'").arg(Text::quoted(xjcd1));
    if (!xjcd2.isEmpty()) s << QStringLiteral("and 新旧程度<='%1'").arg(Text::quoted(xjcd2));
    return s;
}

QStringList builderSearch(const QString& where)
{
    return RegisterRules::builderSearch(table(), where);
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
