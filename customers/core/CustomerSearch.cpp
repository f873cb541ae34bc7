#include "customers/core/CustomerSearch.h"

#include "data/Text.h"

namespace CustomerSearch
{

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
    return QStringLiteral("客户信息");
}

QStringList quickSearch(const QuickSearch& in)
{
    const QString rq1 = Text::trim(in.rq1), rq2 = Text::trim(in.rq2), dzms = Text::trim(in.dzms),
                  lc = Text::trim(in.lc), hx = Text::trim(in.hx), fs = Text::trim(in.fs),
                  mj = Text::trim(in.mj), jg = Text::trim(in.jg), wz = Text::trim(in.wz);
    QStringList s = RegisterRules::firstSearch(table(), rq1, rq2);
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

RegisterRules::DictionaryList demandModes()
{
    return {QStringLiteral("cbFS"), QStringLiteral("select 需求方式 from 需求方式字典 "),
            QStringLiteral("需求方式")};
}

bool addressDefaultsToAny(const QVariant& dzms)
{
    return RegisterRules::trimmedText(dzms).isEmpty();
}

} // namespace CustomerSearch
