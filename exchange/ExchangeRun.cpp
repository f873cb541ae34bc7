#include "exchange/ExchangeRun.h"

#include "data/DbError.h"
#include "data/Dmbasic.h"
#include "data/Query.h"
#include "pickers/U_Step.h"
#include "shell/Dialogs.h"

#include <QWidget>
#include <memory>
#include <new>

namespace ExchangeRun
{

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

// Called inside a catch block: the fixed failure message, with one more line when
// the cause of the error being handled is one the user can act on (a damaged
// file, a database that cannot be written, another workstation writing).
QString failureText(const QString& fixed)
{
    try {
        throw;
    } catch (const DbError& e) {
        if (e.cause() != DbError::Cause::Other) return fixed + QLatin1Char('\n') + e.text();
    } catch (...) {
    }
    return fixed;
}

// Called inside a catch block: the fixed failure message with the cause of the
// error being handled on a second line, so that the operator can act on it.
QString failureWithCause(const QString& fixed)
{
    try {
        throw;
    } catch (const DbError& e) {
        if (!e.text().isEmpty()) return fixed + QLatin1Char('\n') + e.text();
    } catch (const std::bad_alloc&) {
        return fixed + QStringLiteral("\n内存不足。");
    } catch (...) {
    }
    return fixed;
}

} // namespace

void exportResult(QWidget* parent, Query& result, const ExchangeLayout& layout,
                  Query& exchangeQuery)
{
    if (!result.isActive() || result.isEmpty()) return;
    if (!dialogs().question(parent, QStringLiteral("是否导出当前的记录？"))) return;
    int count = 0;
    StepWindow step;
    try {
        // A pending change of the current row is saved first, as moving through
        // the result would do.
        result.checkBrowseMode();
        dmbasic->qryTemp1.setConnection(&dmbasic->adoCntnfyExp);
        dmbasic->qryTemp1.close();
        dmbasic->qryTemp1.clearSql();
        exchangeQuery.setConnection(&dmbasic->adoCntnfyExp);
        exchangeQuery.close();
        count = Exchange::exportRows(dmbasic->adoCntnfyExp, layout, result, step.progress());
        step.close();
    } catch (...) {
        step.close();
        dialogs().message(parent, failureWithCause(QStringLiteral("导出操作失败！")));
        return;
    }
    dialogs().message(parent, QStringLiteral("有%1条信息成功导出。").arg(count));
}

void importFile(QWidget* parent, const ExchangeLayout& layout, Query& exchangeQuery)
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
        exchangeQuery.setConnection(&file);
        exchangeQuery.close();
        dmbasic->QryPUB.close();
        dmbasic->QryPUB.clearSql();
        count = Exchange::importRows(dmbasic->adoCntnfybase, file, layout, step.progress());
        step.close();
    } catch (...) {
        step.close();
        dialogs().message(parent, failureText(QStringLiteral("导入操作失败！")));
        return;
    }
    dialogs().message(parent, QStringLiteral("有%1条信息成功导入。").arg(count));
}

} // namespace ExchangeRun
