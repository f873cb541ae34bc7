#include "listings/core/ListingSearch.h"

#include "data/DbError.h"
#include "data/Text.h"

namespace ListingSearch
{

namespace
{

QString dq(const QString& v)
{
    return Text::quoted(v, QLatin1Char('"'));
}

// A bound stands without quotes in the statement, so only digits may reach it.
QString wholeNumber(const QString& v, const QString& caption)
{
    for (const QChar c : v)
        if (c < QLatin1Char('0') || c > QLatin1Char('9'))
            throw DbError(QStringLiteral("%1只能录入整数：%2").arg(caption, v));
    return v;
}

QString trimmedText(const QVariant& v)
{
    return v.isNull() ? QString() : Text::trim(v.toString());
}

} // namespace

QStringList firstSearch(const QString& qsrq, const QString& czrq)
{
    return {QStringLiteral("select * from 房屋信息 "), QStringLiteral("where 档案号<>\"\" "),
            QStringLiteral("and 录入日期>=\"%1\" ").arg(dq(qsrq)),
            QStringLiteral("and 录入日期<=\"%1\" ").arg(dq(czrq))};
}

QStringList quickSearch(const QuickSearch& in)
{
    const QString rq1 = Text::trim(in.rq1), rq2 = Text::trim(in.rq2), fs = Text::trim(in.fs),
                  xqdz = Text::trim(in.xqdz), mj1 = Text::trim(in.mj1), mj2 = Text::trim(in.mj2),
                  lc = Text::trim(in.lc), hx = Text::trim(in.hx), jg1 = Text::trim(in.jg1),
                  jg2 = Text::trim(in.jg2), wz = Text::trim(in.wz), xjcd1 = Text::trim(in.xjcd1),
                  xjcd2 = Text::trim(in.xjcd2);
    QStringList s = firstSearch(rq1, rq2);
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
    return {QStringLiteral("select * from 房屋信息 "), QStringLiteral("where 档案号<>\"\" "),
            where};
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

QList<DictionaryList> dictionaryLists()
{
    return {{QStringLiteral("cbLC"), QStringLiteral("select 楼层 from 楼层字典 "),
             QStringLiteral("楼层")},
            {QStringLiteral("cbHX"), QStringLiteral("select 户型 from 户型字典 "),
             QStringLiteral("户型")},
            {QStringLiteral("cbWZ"), QStringLiteral("select 位置 from 位置字典 "),
             QStringLiteral("位置")},
            {QStringLiteral("cbFS"), QStringLiteral("select 供应方式 from 供应方式字典 "),
             QStringLiteral("供应方式")}};
}

QString printTitle(const QString& czrq)
{
    return czrq.left(2) + QStringLiteral("年") + czrq.mid(2, 2) + QStringLiteral("月") +
           czrq.mid(4, 2) + QStringLiteral(" 日房源信息表");
}

QString signatureLine(const QString& operatorName)
{
    return QStringLiteral("填报人员签字：") + operatorName;
}

std::optional<CheckFailure> checkCard(const QVariant& xqmc, const QVariant& dz,
                                      const QVariant& fwmj)
{
    if (trimmedText(xqmc).isEmpty())
        return CheckFailure{QStringLiteral("请录入小区名称"), QStringLiteral("DBEdit1")};
    if (trimmedText(dz).isEmpty())
        return CheckFailure{QStringLiteral("请录入地址"), QStringLiteral("DBEdit2")};
    bool ok = false;
    const QString area = trimmedText(fwmj);
    const double mj = area.toDouble(&ok);
    if (area.isEmpty() || !ok || !(mj > 0))
        return CheckFailure{QStringLiteral("请录入房屋面积"), QStringLiteral("DBEdit3")};
    return std::nullopt;
}

bool lowestPriceDefaultsToZero(const QVariant& zdjg)
{
    return trimmedText(zdjg).isEmpty();
}

} // namespace ListingSearch
