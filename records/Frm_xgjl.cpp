#include "records/Frm_xgjl.h"

#include "data/DbError.h"
#include "data/Dmbasic.h"
#include "data/RecordLog.h"
#include "shell/Guard.h"

#include <QLabel>

TFrmXGJL::TFrmXGJL(const QString& table, const QString& number, const QStringList& hidden,
                   QWidget* parent)
    : RowsWindow("FrmXGJL", QStringLiteral("修改记录"), QStringLiteral("这条记录没有修改记录"),
                 parent)
{
    lblTitle->setText(QStringLiteral("%1 %2 的修改记录").arg(RecordLog::registerOf(table), number));
    guarded([&] {
        if (!dmbasic) throw DbError(QStringLiteral("数据库连接没有打开。"));
        std::vector<QVector<QVariant>> values;
        for (const RecordLog::Line& l : RecordLog::history(dmbasic->adoCntnfybase, table, number)) {
            const bool masked = hidden.contains(l.column);
            auto shown = [&](const QVariant& v) { return masked ? QVariant(hiddenValue()) : v; };
            values.push_back({l.time, person(l.operatorNumber, l.operatorName), l.workstation,
                              l.event, l.column, shown(l.before), shown(l.after)});
        }
        present({QStringLiteral("时间"), QStringLiteral("操作员"), QStringLiteral("工作站"),
                 QStringLiteral("操作"), QStringLiteral("字段"), QStringLiteral("旧值"),
                 QStringLiteral("新值")},
                std::move(values));
    });
}
