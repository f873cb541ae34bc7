#include "todo/Frm_jrdb.h"
#include "data/RecordLog.h"
#include "shell/Door.h"

#include "data/Dmbasic.h"
#include "data/Reminders.h"
#include "registers/core/RegisterRules.h"
#include "session/PubVars.h"
#include "shell/Dialogs.h"
#include "shell/Guard.h"
#include "todo/core/TodoList.h"
#include "widgets/DbGrid.h"
#include "widgets/WidgetUtil.h"

#include <QCheckBox>
#include <QComboBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QSpinBox>
#include <QVBoxLayout>

namespace
{

Connection& mainDb()
{
    return dmbasic->adoCntnfybase;
}

ColumnInfo text(const char* name)
{
    return {QString::fromUtf8(name), ColumnInfo::Text, 0};
}

ColumnInfo whole(const char* name)
{
    return {QString::fromUtf8(name), ColumnInfo::Integer, 0};
}

GridColumn shown(const char* name, int width)
{
    const QString n = QString::fromUtf8(name);
    return {n, n, width, QString(), false};
}

QLabel* caption(const QString& s, QWidget* parent)
{
    return new QLabel(s, parent);
}

} // namespace

TFrmJRDB::TFrmJRDB(QWidget* parent) : QDialog(parent)
{
    setObjectName(QStringLiteral("FrmJRDB"));
    setWindowTitle(QStringLiteral("今日待办"));
    setFont(pixelFont(QStringLiteral("宋体"), 15));
    resize(900, 640);

    cbCZY = new QComboBox(this);
    cbCZY->setObjectName(QStringLiteral("cbCZY"));
    // Senior roles choose anyone or everyone; the others see their own reminders.
    if (Todo::mayChooseOperator(CurUser.GNZ)) {
        cbCZY->addItem(QStringLiteral("全部"), QString());
        guarded([this] {
            for (const Reminders::Operator& o : Reminders::operators(mainDb()))
                cbCZY->addItem(Reminders::operatorLabel(o), o.number);
        });
    } else {
        cbCZY->addItem(CurUser.YGXM.isEmpty() ? CurUser.YGBH : CurUser.YGBH + ' ' + CurUser.YGXM,
                       CurUser.YGBH);
        cbCZY->setEnabled(false);
    }
    for (int i = 0; i < cbCZY->count(); ++i)
        if (cbCZY->itemData(i).toString().compare(CurUser.YGBH, Qt::CaseInsensitive) == 0)
            cbCZY->setCurrentIndex(i);

    btnRefresh = namedButton(this, "btnRefresh", QStringLiteral("刷新"));
    lblDue = new QLabel(this);
    lblDue->setObjectName(QStringLiteral("lblDue"));
    gridDue = new DbGrid(this);
    gridDue->setObjectName(QStringLiteral("gridDue"));
    dsDue.setDataSet(&qryDue);
    gridDue->setDataSource(&dsDue);
    btnDone = namedButton(this, "btnDone", QStringLiteral("完成"));

    edtDays = new QSpinBox(this);
    edtDays->setObjectName(QStringLiteral("edtDays"));
    edtDays->setRange(1, 3650);
    edtDays->setValue(Todo::kDefaultQuietDays);
    btnQuiet = namedButton(this, "btnQuiet", QStringLiteral("查询"));
    lblQuiet = new QLabel(this);
    lblQuiet->setObjectName(QStringLiteral("lblQuiet"));
    gridQuiet = new DbGrid(this);
    gridQuiet->setObjectName(QStringLiteral("gridQuiet"));
    dsQuiet.setDataSet(&qryQuiet);
    gridQuiet->setDataSource(&dsQuiet);

    chkLogin = new QCheckBox(QStringLiteral("登录后有待办事项时自动打开"), this);
    chkLogin->setObjectName(QStringLiteral("chkLogin"));
    guarded([this] { chkLogin->setChecked(Reminders::opensAtLogin(mainDb(), CurUser.YGBH)); });
    btnExit = namedButton(this, "btnExit", QStringLiteral("退出"));

    auto* top = new QHBoxLayout;
    top->addWidget(caption(QStringLiteral("操作员"), this));
    top->addWidget(cbCZY);
    top->addWidget(btnRefresh);
    top->addStretch();
    top->addWidget(lblDue);
    auto* dueButtons = new QHBoxLayout;
    dueButtons->addWidget(btnDone);
    dueButtons->addStretch();
    auto* quietRow = new QHBoxLayout;
    quietRow->addWidget(caption(QStringLiteral("超过"), this));
    quietRow->addWidget(edtDays);
    quietRow->addWidget(caption(QStringLiteral("天未跟进的有效房源和客户"), this));
    quietRow->addWidget(btnQuiet);
    quietRow->addStretch();
    quietRow->addWidget(lblQuiet);
    auto* bottom = new QHBoxLayout;
    bottom->addWidget(chkLogin);
    bottom->addStretch();
    bottom->addWidget(btnExit);
    auto* lay = new QVBoxLayout(this);
    lay->addLayout(top);
    lay->addWidget(gridDue, 3);
    lay->addLayout(dueButtons);
    lay->addLayout(quietRow);
    lay->addWidget(gridQuiet, 4);
    lay->addLayout(bottom);

    onSignal(cbCZY, &QComboBox::currentIndexChanged, this,
             [this] { guarded([this] { fillDue(); }); });
    onSignal(btnRefresh, &QPushButton::clicked, this, &TFrmJRDB::refresh);
    onSignal(btnDone, &QPushButton::clicked, this, &TFrmJRDB::btnDoneClick);
    onSignal(btnQuiet, &QPushButton::clicked, this, &TFrmJRDB::btnQuietClick);
    onSignal(chkLogin, &QCheckBox::toggled, this, [this](bool on) {
        guarded([on] { Reminders::setOpensAtLogin(mainDb(), CurUser.YGBH, on); });
    });
    onSignal(gridDue, &DbGrid::rowDoubleClicked, this, [this] { requestFrom(qryDue); });
    onSignal(gridQuiet, &DbGrid::rowDoubleClicked, this, [this] { requestFrom(qryQuiet); });
    onSignal(btnExit, &QPushButton::clicked, this, &QDialog::accept);

    refresh();
}

QDateTime TFrmJRDB::now() const
{
    return m_now.isValid() ? m_now : QDateTime::currentDateTime();
}

void TFrmJRDB::refresh()
{
    guarded([this] { fillDue(); });
    guarded([this] { fillQuiet(); });
}

void TFrmJRDB::fillDue()
{
    const QVariant current = qryDue.isActive() && qryDue.recordCount() > 0
                                 ? qryDue.value(QStringLiteral("编号"))
                                 : QVariant();
    const QDateTime at = now();
    std::vector<QVector<QVariant>> rows;
    for (const Todo::DueItem& d : Todo::due(mainDb(), cbCZY->currentData().toString(), at))
        rows.push_back({d.id, d.table, RecordLog::registerOf(d.table), d.number, d.name, d.kind,
                        d.text, d.due.left(16), Todo::overdueText(d.due, at),
                        d.forName.isEmpty() ? d.forWhom : d.forWhom + ' ' + d.forName});
    const int count = int(rows.size());
    qryDue.openRows({whole("编号"), text("表名"), text("类别"), text("档案号"), text("名称"),
                     text("方式"), text("内容"), text("到期时间"), text("逾期"), text("跟进人")},
                    std::move(rows));
    if (gridDue->columnCount() == 0)
        gridDue->setColumns({shown("类别", 45), shown("档案号", 110), shown("名称", 110),
                             shown("方式", 45), shown("内容", 220), shown("到期时间", 130),
                             shown("逾期", 65), shown("跟进人", 110)});
    if (current.isValid()) qryDue.locate(QStringLiteral("编号"), current);
    lblDue->setText(count == 0 ? QStringLiteral("今天没有到期的跟进")
                               : QStringLiteral("到期和逾期的跟进：%1 条").arg(count));
    btnDone->setEnabled(count > 0);
}

void TFrmJRDB::fillQuiet()
{
    const QVariant current = qryQuiet.isActive() && qryQuiet.recordCount() > 0
                                 ? qryQuiet.value(QStringLiteral("档案号"))
                                 : QVariant();
    std::vector<QVector<QVariant>> rows;
    const Todo::Quiet quiet = Todo::quiet(mainDb(), edtDays->value(), now().date());
    for (const Todo::QuietItem& q : quiet.items)
        rows.push_back({q.table, RecordLog::registerOf(q.table), q.number, q.name, q.phone,
                        q.entered, q.last, q.days});
    const int count = int(rows.size());
    qryQuiet.openRows({text("表名"), text("类别"), text("档案号"), text("名称"), text("电话"),
                       text("录入日期"), text("最后跟进"), whole("未跟进天数")},
                      std::move(rows));
    if (gridQuiet->columnCount() == 0)
        gridQuiet->setColumns({shown("类别", 45), shown("档案号", 110), shown("名称", 160),
                               shown("电话", 120), shown("录入日期", 80), shown("最后跟进", 100),
                               shown("未跟进天数", 90)});
    if (current.isValid()) qryQuiet.locate(QStringLiteral("档案号"), current);
    lblQuiet->setText(quiet.more ? QStringLiteral("显示最新的 %1 条（更早的未列出）").arg(count)
                                 : QStringLiteral("共 %1 条").arg(count));
}

void TFrmJRDB::btnDoneClick()
{
    if (!qryDue.isActive() || qryDue.recordCount() == 0) {
        dialogs().message(this, QStringLiteral("没有选择要完成的跟进提醒"));
        return;
    }
    const QString what =
        QStringLiteral("%1 %2：%3")
            .arg(qryDue.text(QStringLiteral("类别")), qryDue.text(QStringLiteral("档案号")),
                 qryDue.text(QStringLiteral("内容")).left(40));
    if (!dialogs().question(this, QStringLiteral("是否将这条跟进提醒标记为完成？\n") + what))
        return;
    const qlonglong id = qryDue.value(QStringLiteral("编号")).toLongLong();
    try {
        Reminders::close(mainDb(), id);
    } catch (...) {
        // Someone may have closed it meanwhile: show the list as it is now as well.
        guarded([this] { fillDue(); });
        throw;
    }
    fillDue();
}

void TFrmJRDB::btnQuietClick()
{
    fillQuiet();
}

void TFrmJRDB::requestFrom(Query& q)
{
    if (!q.isActive() || q.recordCount() == 0) return;
    emit recordRequested(q.text(QStringLiteral("表名")), q.text(QStringLiteral("档案号")));
}
