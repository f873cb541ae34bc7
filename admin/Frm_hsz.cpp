#include "admin/Frm_hsz.h"

#include "data/DbError.h"
#include "data/Dmbasic.h"
#include "data/RecordLog.h"
#include "data/RecycleBin.h"
#include "shell/Dialogs.h"
#include "shell/Door.h"
#include "shell/Guard.h"

#include <QPushButton>

namespace
{

const QString kId = QStringLiteral("编号");
const QString kNumber = QStringLiteral("档案号");
const QString kRegister = QStringLiteral("登记");

bool isCustomer(const QString& table)
{
    return table == QStringLiteral("客户信息");
}

// A row's name and place as its register shows them first.
QString name(const RecycleBin::Entry& e)
{
    return e.value(isCustomer(e.table) ? QStringLiteral("客户姓名") : QStringLiteral("小区名称"))
        .toString();
}

QString place(const RecycleBin::Entry& e)
{
    return e.value(isCustomer(e.table) ? QStringLiteral("地址描述") : QStringLiteral("地址"))
        .toString();
}

Connection& mainConnection()
{
    if (!dmbasic) throw DbError(QStringLiteral("数据库连接没有打开。"));
    return dmbasic->adoCntnfybase;
}

} // namespace

TFrmHSZ::TFrmHSZ(QWidget* parent)
    : RowsWindow("FrmHSZ", QStringLiteral("回收站"), QStringLiteral("回收站中没有记录"), parent)
{
    btnHF = addButton("btnHF", QStringLiteral("恢复"));
    btnCD = addButton("btnCD", QStringLiteral("彻底删除"));
    onSignal(btnHF, &QPushButton::clicked, this, &TFrmHSZ::btnHFClick);
    onSignal(btnCD, &QPushButton::clicked, this, &TFrmHSZ::btnCDClick);
    refresh();
}

void TFrmHSZ::refresh()
{
    guarded([this] {
        std::vector<QVector<QVariant>> values;
        for (const RecycleBin::Entry& e : RecycleBin::entries(mainConnection())) {
            values.push_back({e.id, RecordLog::registerOf(e.table), e.number, name(e), place(e),
                              e.value(QStringLiteral("类型")), person(e.deletedBy, e.deleterName),
                              e.deletedAt, e.workstation});
        }
        present({kId, kRegister, kNumber, QStringLiteral("名称"), QStringLiteral("地址"),
                 QStringLiteral("类型"), QStringLiteral("删除人"), QStringLiteral("删除时间"),
                 QStringLiteral("工作站")},
                std::move(values));
    });
    btnHF->setEnabled(!rows.isEmpty());
    btnCD->setEnabled(!rows.isEmpty());
}

void TFrmHSZ::btnHFClick()
{
    const QVariant id = current(kId);
    if (id.isNull()) return;
    const QString what =
        QStringLiteral("%1“%2”").arg(current(kRegister).toString(), current(kNumber).toString());
    try {
        RecycleBin::restore(mainConnection(), id.toLongLong());
    } catch (const DbError& e) {
        dialogs().message(this, e.text());
        refresh();
        return;
    }
    dialogs().message(this, what + QStringLiteral("已恢复。"));
    refresh();
}

void TFrmHSZ::btnCDClick()
{
    const QVariant id = current(kId);
    if (id.isNull()) return;
    const QString what =
        QStringLiteral("%1“%2”").arg(current(kRegister).toString(), current(kNumber).toString());
    if (!dialogs().question(this,
                            QStringLiteral("确定彻底删除%1吗？彻底删除后无法恢复。").arg(what)))
        return;
    guarded([&] { RecycleBin::erase(mainConnection(), id.toLongLong()); });
    refresh();
}
