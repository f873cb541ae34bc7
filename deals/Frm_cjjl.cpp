#include "deals/Frm_cjjl.h"

#include "data/Dmbasic.h"
#include "deals/Frm_cjdj.h"
#include "deals/core/Deals.h"
#include "deals/core/Money.h"
#include "export/U_PubExport.h"
#include "pickers/PubParams.h"
#include "registers/QueryWindow.h"
#include "registers/core/RegisterRules.h"
#include "session/PubVars.h"
#include "shell/Dialogs.h"
#include "shell/Door.h"
#include "shell/Guard.h"
#include "widgets/WidgetUtil.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDateEdit>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

namespace
{

Connection& mainDb()
{
    if (!dmbasic) throw DbError(QStringLiteral("数据库连接没有打开。"));
    return dmbasic->adoCntnfybase;
}

QDateEdit* dateBox(QWidget* parent, const char* name, const QDate& d)
{
    auto* e = new QDateEdit(d, parent);
    e->setObjectName(QString::fromLatin1(name));
    e->setCalendarPopup(true);
    e->setDisplayFormat(QStringLiteral("yyyy-MM-dd"));
    return e;
}

} // namespace

TFrmCJJL::TFrmCJJL(QWidget* parent) : QDialog(parent), qryCJ(nullptr, this)
{
    setObjectName(QStringLiteral("FrmCJJL"));
    setWindowTitle(QStringLiteral("成交记录"));
    setFont(pixelFont(QStringLiteral("宋体"), 12));
    resize(1000, 600);
    dsCJ.setDataSet(&qryCJ);

    const QDate today = QDate::currentDate();
    dtFrom = dateBox(this, "dtFrom", QDate(today.year(), today.month(), 1));
    dtTo = dateBox(this, "dtTo", today);
    cbJJR = new QComboBox(this);
    cbJJR->setObjectName(QStringLiteral("cbJJR"));
    cbJJR->addItem(QStringLiteral("全部"), QString());
    guarded([&] {
        for (const Deals::Staff& s : Deals::staff(mainDb()))
            cbJJR->addItem(QStringLiteral("%1 %2").arg(s.number, s.name), s.number);
    });
    cbFS = new QComboBox(this);
    cbFS->setObjectName(QStringLiteral("cbFS"));
    cbFS->addItem(QStringLiteral("全部"), QString());
    cbFS->addItem(QStringLiteral("出售"), QStringLiteral("出售"));
    cbFS->addItem(QStringLiteral("出租"), QStringLiteral("出租"));
    chkCX = new QCheckBox(QStringLiteral("含已撤销"), this);
    chkCX->setObjectName(QStringLiteral("chkCX"));
    btnCX = namedButton(this, "btnCX", QStringLiteral("查询"));
    btnOpen = namedButton(this, "btnOpen", QStringLiteral("打开"));
    btnDY = namedButton(this, "btnDY", QStringLiteral("打印"));
    btnExcel = namedButton(this, "btnExcel", QStringLiteral("生成Excel"));
    btnTC = namedButton(this, "btnTC", QStringLiteral("退出"));
    lblNone = new QLabel(QStringLiteral("这段时间没有成交记录"), this);
    lblNone->setObjectName(QStringLiteral("lblNone"));
    lblNone->setAlignment(Qt::AlignCenter);
    lblNone->setVisible(false);
    gridCJ = new DbGrid(this);
    gridCJ->setObjectName(QStringLiteral("gridCJ"));

    auto* filter = new QHBoxLayout;
    filter->addWidget(new QLabel(QStringLiteral("成交日期"), this));
    filter->addWidget(dtFrom);
    filter->addWidget(new QLabel(QStringLiteral("至"), this));
    filter->addWidget(dtTo);
    filter->addWidget(new QLabel(QStringLiteral("经纪人"), this));
    filter->addWidget(cbJJR);
    filter->addWidget(new QLabel(QStringLiteral("方式"), this));
    filter->addWidget(cbFS);
    filter->addWidget(chkCX);
    filter->addStretch();
    auto* bar = new QHBoxLayout;
    for (QPushButton* b : {btnCX, btnOpen, btnDY, btnExcel, btnTC})
        bar->addWidget(b);
    bar->addStretch();
    auto* lay = new QVBoxLayout(this);
    lay->addLayout(filter);
    lay->addLayout(bar);
    lay->addWidget(lblNone);
    lay->addWidget(gridCJ, 1);

    onSignal(btnCX, &QPushButton::clicked, this, &TFrmCJJL::btnCXClick);
    onSignal(btnOpen, &QPushButton::clicked, this, &TFrmCJJL::btnOpenClick);
    onSignal(btnDY, &QPushButton::clicked, this, &TFrmCJJL::btnDYClick);
    onSignal(btnExcel, &QPushButton::clicked, this, &TFrmCJJL::btnExcelClick);
    onSignal(btnTC, &QPushButton::clicked, this, &QDialog::accept);
    onSignal(gridCJ, &DbGrid::rowDoubleClicked, this, &TFrmCJJL::btnOpenClick);
    btnCXClick();
}

void TFrmCJJL::btnCXClick()
{
    if (const auto why = Deals::rangeRefusal(dtFrom->date(), dtTo->date())) {
        dialogs().message(this, *why);
        dtFrom->setFocus();
        return;
    }
    guarded([&] {
        Deals::ListFilter f{dtFrom->date(), dtTo->date(), cbJJR->currentData().toString(),
                            cbFS->currentData().toString(), chkCX->isChecked()};
        const qlonglong current = qryCJ.isActive() && !qryCJ.isEmpty()
                                      ? qryCJ.value(QStringLiteral("编号")).toLongLong()
                                      : 0;
        m_table = Deals::list(mainDb(), f);
        qryCJ.openRows(m_table.columns, m_table.rows);
        QList<GridColumn> cols;
        for (const ColumnInfo& c : m_table.columns)
            cols << GridColumn{c.name, c.name, c.name == QStringLiteral("经纪人") ? 200 : -1,
                               c.type == ColumnInfo::Float ? QStringLiteral("0.00") : QString(),
                               true};
        QueryWindowConfig config;
        config.columns = cols;
        QueryWindow::setupGrid(gridCJ, &dsCJ, config);
        gridCJ->setFooterCountColumn(0);
        const Deals::ListTotals& t = m_table.totals;
        const QList<std::pair<QString, qint64>> sums = {
            {QStringLiteral("成交价格"), t.price},
            {QStringLiteral("业主佣金"), t.ownerCommission},
            {QStringLiteral("客户佣金"), t.customerCommission},
            {QStringLiteral("佣金合计"), t.ownerCommission + t.customerCommission},
            {QStringLiteral("本人佣金"), t.agentCommission}};
        for (int i = 0; i < m_table.columns.size(); ++i)
            for (const auto& [name, fen] : sums)
                if (m_table.columns[i].name == name) gridCJ->setFooterText(i, Money::yuanText(fen));
        QueryWindow::fitDefaultWidths(gridCJ);
        if (current) qryCJ.locate(QStringLiteral("编号"), current);
        lblNone->setVisible(qryCJ.isEmpty());
    });
}

void TFrmCJJL::btnOpenClick()
{
    if (!qryCJ.isActive() || qryCJ.isEmpty()) return;
    TFrmCJDJ deal(qryCJ.value(QStringLiteral("编号")).toLongLong(), this);
    dialogs().exec(&deal);
    btnCXClick();
}

QString TFrmCJJL::reportTitle() const
{
    return QStringLiteral("成交记录（%1至%2）")
        .arg(dtFrom->date().toString(QStringLiteral("yyyy-MM-dd")),
             dtTo->date().toString(QStringLiteral("yyyy-MM-dd")));
}

QString TFrmCJJL::totalsText() const
{
    const Deals::ListTotals& t = m_table.totals;
    QString s = QStringLiteral("合计：有效成交 %1 笔，成交价格 %2 元，佣金 %3 元")
                    .arg(t.deals)
                    .arg(Money::yuanText(t.price),
                         Money::yuanText(t.ownerCommission + t.customerCommission));
    if (!cbJJR->currentData().toString().isEmpty())
        s += QStringLiteral("，%1 本人佣金 %2 元")
                 .arg(cbJJR->currentText(), Money::yuanText(t.agentCommission));
    return s;
}

void TFrmCJJL::btnDYClick()
{
    QueryWindow::printResult(this, gridCJ, &qryCJ, reportTitle(),
                             totalsText() + QStringLiteral("\n") +
                                 RegisterRules::signatureLine(CurUser.YGXM));
}

void TFrmCJJL::btnExcelClick()
{
    if (!QueryWindow::resultReady(&qryCJ)) return;
    Query copy;
    copy.openRows(m_table.columns, m_table.rows);
    PubGrid = gridCJ;
    PubDataSet = &copy;
    {
        TFrmPubExport dlg(this);
        dlg.edtTitle->setText(reportTitle());
        dialogs().exec(&dlg);
    }
    PubDataSet = nullptr;
}
