#include "customers/core/CustomerSearch.h"

#include "data/Text.h"

namespace CustomerSearch
{

QStringList quickSearch(const QuickSearch& in)
{
    using RegisterRules::addNumber;
    using RegisterRules::addText;
    QStringList s = RegisterRules::firstSearch(table(), Text::trim(in.rq1), Text::trim(in.rq2));
    addText(s, QStringLiteral("and 地址描述 like \"%%1%\" "), in.dzms);
    addText(s, QStringLiteral("and 楼层=\"%1\""), in.lc);
    addText(s, QStringLiteral("and 户型=\"%1\""), in.hx);
    addText(s, QStringLiteral("and 需求方式=\"%1\""), in.fs);
    // One value against both bounds of the customer's range.
    addNumber(s, QStringLiteral("and 面积1>=%1"), in.mj, QStringLiteral("面积"));
    addNumber(s, QStringLiteral("and 面积2<=%1"), in.mj, QStringLiteral("面积"));
    addNumber(s, QStringLiteral("and 价格1>=%1"), in.jg, QStringLiteral("价格"));
    addNumber(s, QStringLiteral("and 价格2<=%1"), in.jg, QStringLiteral("价格"));
    s << RegisterRules::validity(in.valid);
    addText(s, QStringLiteral("and 位置=\"%1\""), in.wz);
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

QString table()
{
    return QStringLiteral("客户信息");
}

} // namespace CustomerSearch
