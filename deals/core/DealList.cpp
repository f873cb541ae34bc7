#include "deals/core/DealList.h"

#include "data/Dialect.h"
#include "data/KeyLookup.h"
#include "deals/core/Deals.h"
#include "deals/core/Money.h"

#include <QHash>

namespace Deals
{

namespace
{

QString id(const char* name)
{
    return Dialect::identifier(QString::fromUtf8(name));
}

QVariant yuan(qint64 fen)
{
    // Shown with two decimals; totals are summed in fen, never from these.
    return double(fen) / 100.0;
}

// The range condition and its parameters on the deal table `d`.
QString where(const ListFilter& f, QList<QVariant>& args)
{
    QString w = QStringLiteral("d.%1>=? AND d.%1<=?").arg(id("成交日期"));
    args << f.from.toString(QStringLiteral("yyyy-MM-dd"))
         << f.to.toString(QStringLiteral("yyyy-MM-dd"));
    if (!f.mode.isEmpty()) {
        w += QStringLiteral(" AND d.%1=?").arg(id("方式"));
        args << f.mode;
    }
    if (!f.cancelled) {
        w += QStringLiteral(" AND d.%1=?").arg(id("状态"));
        args << Standing;
    }
    if (!f.staff.isEmpty()) {
        w += QStringLiteral(" AND EXISTS (SELECT 1 FROM %1 a WHERE a.%2=d.%3 AND a.%4=?)")
                 .arg(id("成交经纪人"), id("成交编号"), id("编号"), id("员工编号"));
        args << f.staff;
    }
    return w;
}

} // namespace

std::optional<QString> rangeRefusal(const QDate& from, const QDate& to)
{
    if (!from.isValid() || !to.isValid()) return QStringLiteral("请选择成交日期范围");
    if (from > to) return QStringLiteral("开始日期不能晚于结束日期");
    return std::nullopt;
}

DealTable list(Connection& c, const ListFilter& f)
{
    using T = ColumnInfo::Type;
    DealTable out;
    out.columns = {
        {QStringLiteral("编号"), T::Integer, 0},     {QStringLiteral("成交日期"), T::Text, 10},
        {QStringLiteral("状态"), T::Text, 4},        {QStringLiteral("方式"), T::Text, 10},
        {QStringLiteral("位置"), T::Text, 20},       {QStringLiteral("房源档案号"), T::Text, 12},
        {QStringLiteral("客户档案号"), T::Text, 12}, {QStringLiteral("成交价格"), T::Float, 0},
        {QStringLiteral("业主佣金"), T::Float, 0},   {QStringLiteral("客户佣金"), T::Float, 0},
        {QStringLiteral("佣金合计"), T::Float, 0},   {QStringLiteral("经纪人"), T::Memo, 0},
        {QStringLiteral("合同编号"), T::Text, 30},   {QStringLiteral("登记人"), T::Text, 5}};
    if (!f.staff.isEmpty()) out.columns << ColumnInfo{QStringLiteral("本人佣金"), T::Float, 0};

    // The agents of the deals listed, in the order they were entered.
    QList<QVariant> args;
    const QString cond = where(f, args);
    QHash<qlonglong, QList<Agent>> agents;
    {
        Statement st(c, QStringLiteral("SELECT a.%1, a.%2, a.%3, a.%4, a.%5 FROM %6 a JOIN %7 d "
                                       "ON d.%8=a.%1 WHERE %9 ORDER BY a.%10")
                            .arg(id("成交编号"), id("员工编号"), id("员工姓名"), id("比例"),
                                 id("佣金"), id("成交经纪人"), id("成交记录"), id("编号"), cond)
                            .arg(id("编号")));
        st.bindAll(args);
        while (st.step())
            agents[st.value(0).toLongLong()]
                << Agent{st.value(1).toString(), st.value(2).toString(), st.value(3).toInt(),
                         st.value(4).toLongLong()};
    }
    Statement st(c, QStringLiteral("SELECT d.%1, d.%2, d.%3, d.%4, d.%5, d.%6, d.%7, d.%8, d.%9, "
                                   "d.%10, d.%11, d.%12 FROM %13 d WHERE %14 ORDER BY d.%2 DESC, "
                                   "d.%1 DESC")
                        .arg(id("编号"), id("成交日期"), id("状态"), id("方式"), id("位置"),
                             id("房源档案号"), id("客户档案号"), id("成交价格"), id("业主佣金"))
                        .arg(id("客户佣金"), id("合同编号"), id("登记人"), id("成交记录"), cond));
    st.bindAll(args);
    const QString staff = KeyLookup::fold(f.staff);
    while (st.step()) {
        const qlonglong deal = st.value(0).toLongLong();
        const qint64 price = st.value(7).toLongLong(), owner = st.value(8).toLongLong(),
                     customer = st.value(9).toLongLong();
        qint64 own = 0;
        for (const Agent& a : agents.value(deal))
            if (KeyLookup::fold(a.staff) == staff) own += a.commission;
        QVector<QVariant> row = {deal,
                                 st.value(1),
                                 st.value(2),
                                 st.value(3),
                                 st.value(4),
                                 st.value(5),
                                 st.value(6),
                                 yuan(price),
                                 yuan(owner),
                                 yuan(customer),
                                 yuan(owner + customer),
                                 agentsText(agents.value(deal)),
                                 st.value(10),
                                 st.value(11)};
        if (!f.staff.isEmpty()) row << yuan(own);
        out.rows.push_back(row);
        if (st.value(2).toString() != Standing) continue;
        ++out.totals.deals;
        out.totals.price += price;
        out.totals.ownerCommission += owner;
        out.totals.customerCommission += customer;
        out.totals.agentCommission += own;
    }
    return out;
}

} // namespace Deals
