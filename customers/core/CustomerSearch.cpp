#include "customers/core/CustomerSearch.h"

#include "data/DbError.h"
#include "data/Text.h"

namespace CustomerSearch
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

} // namespace

QStringList firstSearch(const QString& qsrq, const QString& czrq)
{
    return {QStringLiteral("select * from 客户信息 "), QStringLiteral("where 档案号<>\"\" "),
            QStringLiteral("and 录入日期>=\"%1\" ").arg(dq(qsrq)),
            QStringLiteral("and 录入日期<=\"%1\" ").arg(dq(czrq))};
}

QStringList quickSearch(const QuickSearch& in)
{
    const QString rq1 = Text::trim(in.rq1), rq2 = Text::trim(in.rq2), dzms = Text::trim(in.dzms),
                  lc = Text::trim(in.lc), hx = Text::trim(in.hx), fs = Text::trim(in.fs),
                  mj = Text::trim(in.mj), jg = Text::trim(in.jg), wz = Text::trim(in.wz);
    QStringList s = firstSearch(rq1, rq2);
    if (!dzms.isEmpty()) s << QStringLiteral("and 地址描述 like \"%%1%\" ").arg(dq(dzms));
    if (!lc.isEmpty()) s << QStringLiteral("and 楼层=\"%1\"").arg(dq(lc));
    if (!hx.isEmpty()) s << QStringLiteral("and 户型=\"%1\"").arg(dq(hx));
    if (!fs.isEmpty()) s << QStringLiteral("and 需求方式=\"%1\"").arg(dq(fs));
    if (!mj.isEmpty()) {
        const QString v = wholeNumber(mj, QStringLiteral("面积"));
        s << QStringLiteral("and 面积1>=%1").arg(v) << QStringLiteral("and 面积2<=%1").arg(v);
    }
    if (!jg.isEmpty()) {
        const QString v = wholeNumber(jg, QStringLiteral("价格"));
        s << QStringLiteral("and 价格1>=%1").arg(v) << QStringLiteral("and 价格2<=%1").arg(v);
    }
    s << (in.valid ? QStringLiteral("and 类型=\"有效\"") : QStringLiteral("and 类型=\"无效\""));
    if (!wz.isEmpty()) s << QStringLiteral("and 位置=\"%1\"").arg(dq(wz));
    return s;
}

QStringList builderSearch(const QString& where)
{
    return {QStringLiteral("select * from 客户信息 "), QStringLiteral("where 档案号<>\"\" "),
            where};
}

QStringList builderFields()
{
    QStringList out;
    for (const char* c : {"类型", "档案号", "需求方式", "地址描述", "楼层", "户型", "位置", "权属",
                          "需求设施", "录入日期", "公司编号"}) {
        const QString name = QString::fromUtf8(c);
        out << name + QLatin1Char(';') + name;
    }
    return out;
}

QList<DictionaryList> dictionaryLists()
{
    return {{QStringLiteral("cbLC"), QStringLiteral("select 楼层 from 楼层字典 "),
             QStringLiteral("楼层"), true},
            {QStringLiteral("cbHX"), QStringLiteral("select 户型 from 户型字典 "),
             QStringLiteral("户型"), true},
            {QStringLiteral("cbFS"), QStringLiteral("select 需求方式 from 需求方式字典 "),
             QStringLiteral("需求方式"), false},
            {QStringLiteral("cbWZ"), QStringLiteral("select 位置 from 位置字典 "),
             QStringLiteral("位置"), true}};
}

QString any()
{
    return QStringLiteral("不限");
}

QString printTitle(const QString& czrq)
{
    return czrq.left(2) + QStringLiteral("年") + czrq.mid(2, 2) + QStringLiteral("月") +
           czrq.mid(4, 2) + QStringLiteral("日客户信息表");
}

QString signatureLine(const QString& operatorName)
{
    return QStringLiteral("填报人员签字：") + operatorName;
}

bool addressDefaultsToAny(const QVariant& dzms)
{
    return dzms.isNull() || Text::trim(dzms.toString()).isEmpty();
}

} // namespace CustomerSearch
