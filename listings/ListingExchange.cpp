#include "listings/ListingExchange.h"

#include "common/Dialogs.h"
#include "common/U_Step.h"
#include "data/Dmbasic.h"
#include "data/Query.h"

#include <QWidget>
#include <memory>

const ExchangeLayout& listingExchangeLayout()
{
    using C = ExchangeColumn;
    static const ExchangeLayout layout{
        QStringLiteral("房屋信息"),
        QStringLiteral("房屋信息Exp"),
        QStringLiteral("档案号"),
        {
            {QStringLiteral("档案号"), C::Text},
            {QStringLiteral("小区名称"), C::Text},
            {QStringLiteral("地址"), C::Text},
            {QStringLiteral("房屋面积"), C::Number},
            {QStringLiteral("楼层"), C::Text},
            {QStringLiteral("户型"), C::Text},
            {QStringLiteral("信息价格"), C::Number},
            {QStringLiteral("设施"), C::Text},
            {QStringLiteral("位置"), C::Text},
            {QStringLiteral("方式"), C::Text},
            {QStringLiteral("权属"), C::Text},
            {QStringLiteral("类型"), C::Text},
            {QStringLiteral("期限"), C::Text},
            {QStringLiteral("公司编号"), C::Text},
            {QStringLiteral("录入日期"), C::Text},
            {QStringLiteral("序号"), C::Text},
            {QStringLiteral("新旧程度"), C::Text},
            {QStringLiteral("公交线路"), C::Text},
        },
    };
    return layout;
}

namespace
{

// The progress window for one run: made when the number of source rows is known,
// advanced per row, and closed before the final message.
class StepWindow
{
public:
    ExchangeProgress progress()
    {
        return {[this](int total) {
                    m_w = std::make_unique<TFrmStep>();
                    m_w->setMax(total);
                    m_w->show();
                },
                [this] {
                    if (m_w) m_w->stepIt();
                }};
    }
    void close() { m_w.reset(); }

private:
    std::unique_ptr<TFrmStep> m_w;
};

} // namespace

void listingExport(QWidget* parent, Query& qryFwxx)
{
    if (!qryFwxx.isActive() || qryFwxx.isEmpty()) return;
    if (!dialogs().question(parent, QStringLiteral("是否导出当前的记录？"))) return;
    int count = 0;
    StepWindow step;
    try {
        // A pending change of the current row is saved first, as moving through
        // the result would do.
        qryFwxx.checkBrowseMode();
        dmbasic->qryTemp1.setConnection(&dmbasic->adoCntnfyExp);
        dmbasic->qryTemp1.close();
        dmbasic->qryTemp1.clearSql();
        dmbasic->qryFWXX.setConnection(&dmbasic->adoCntnfyExp);
        dmbasic->qryFWXX.close();
        count = Exchange::exportRows(dmbasic->adoCntnfyExp, listingExchangeLayout(), qryFwxx,
                                     step.progress());
        step.close();
    } catch (...) {
        step.close();
        dialogs().message(parent, QStringLiteral("导出操作失败！"));
        return;
    }
    dialogs().message(parent, QStringLiteral("有%1条信息成功导出。").arg(count));
}

void listingImport(QWidget* parent)
{
    const QString path = dialogs().openFile(parent, dmbasic->OpenDBPath);
    if (path.isEmpty()) return;
    int count = 0;
    StepWindow step;
    try {
        Connection& file = dmbasic->adoCntn;
        file.close();
        file.setConnectionString(Tdmbasic::exchangeConnectionString(path));
        file.open();
        dmbasic->qryFWXX.setConnection(&file);
        dmbasic->qryFWXX.close();
        dmbasic->QryPUB.close();
        dmbasic->QryPUB.clearSql();
        count = Exchange::importRows(dmbasic->adoCntnfybase, file, listingExchangeLayout(),
                                     step.progress());
        step.close();
    } catch (...) {
        step.close();
        dialogs().message(parent, QStringLiteral("导入操作失败！"));
        return;
    }
    dialogs().message(parent, QStringLiteral("有%1条信息成功导入。").arg(count));
}
