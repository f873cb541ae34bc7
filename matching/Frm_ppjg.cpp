#include "matching/Frm_ppjg.h"

#include "data/DbError.h"
#include "data/Dmbasic.h"
#include "export/U_PubExport.h"
#include "pickers/PubParams.h"
#include "registers/QueryWindow.h"
#include "registers/RecordCard.h"
#include "registers/core/RegisterRules.h"
#include "session/PubVars.h"
#include "shell/Dialogs.h"
#include "shell/Door.h"
#include "shell/Guard.h"
#include "widgets/WidgetUtil.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

namespace
{

QString amount(double x, const QString& none)
{
    return x > 0 ? QString::number(x, 'f', 2) : none;
}

QString bounds(const QString& caption, double lo, double hi)
{
    if (!(lo > 0) && !(hi > 0)) return caption + QStringLiteral(" 不限");
    return QStringLiteral("%1 %2 至 %3")
        .arg(caption, amount(lo, QStringLiteral("不限")), amount(hi, QStringLiteral("不限")));
}

// The parts that say something, two blanks apart.
QString joined(const QStringList& parts)
{
    QStringList out;
    for (const QString& p : parts)
        if (!p.trimmed().isEmpty()) out << p.trimmed();
    return out.join(QStringLiteral("  "));
}

QString describe(const Matching::Listing& l)
{
    return QStringLiteral("房源 %1：").arg(l.archive) +
           joined({l.estate, l.address, l.mode,
                   QStringLiteral("面积 ") + amount(l.area, QStringLiteral("未填")),
                   QStringLiteral("价格 ") + amount(l.price, QStringLiteral("未填")), l.houseType,
                   l.floor, l.location, l.ownership});
}

QString describe(const Matching::Customer& c)
{
    return QStringLiteral("客户 %1：").arg(c.archive) +
           joined({c.mode, bounds(QStringLiteral("面积"), c.area1, c.area2),
                   bounds(QStringLiteral("价格"), c.price1, c.price2), c.houseType, c.floor,
                   c.location, c.ownership, QStringLiteral("地址描述 ") + c.wantedArea});
}

// Widths of the columns the query grids give a width of their own.
int widthOf(const QString& field)
{
    static const QHash<QString, int> widths = {
        {Matching::scoreColumn(), 40},   {Matching::markColumn(), 40},
        {Matching::reasonColumn(), 560}, {QStringLiteral("小区名称"), 136},
        {QStringLiteral("地址"), 211},   {QStringLiteral("设施"), 239}};
    return widths.value(field, -1);
}

} // namespace

TFrmPPJG::TFrmPPJG(Side side, QWidget* parent) : QDialog(parent), m_side(side)
{
    setObjectName(QStringLiteral("FrmPPJG"));
    qryPP.setObjectName(QStringLiteral("qryPP"));
    dsPP.setObjectName(QStringLiteral("dsPP"));
    dsPP.setDataSet(&qryPP);
    // Both record cards show their confidential block (owner or customer name and
    // phones) by the same role rule.
    m_personal = RecordCard::showsConfidential(CurUser.GNZ);
    buildUi();
}

TFrmPPJG::TFrmPPJG(const Matching::Listing& listing, QWidget* parent)
    : TFrmPPJG(Side::Customers, parent)
{
    m_listing = listing;
    lblSubject->setText(describe(listing));
    refresh();
}

TFrmPPJG::TFrmPPJG(const Matching::Customer& customer, QWidget* parent)
    : TFrmPPJG(Side::Listings, parent)
{
    m_customer = customer;
    lblSubject->setText(describe(customer));
    refresh();
}

TFrmPPJG::~TFrmPPJG()
{
    qryPP.close();
}

void TFrmPPJG::buildUi()
{
    const bool customers = m_side == Side::Customers;
    setWindowTitle(customers ? QStringLiteral("匹配客户") : QStringLiteral("匹配房源"));
    setFont(pixelFont(QStringLiteral("宋体"), 15));
    resize(900, 527);
    setSizeGripEnabled(true);
    auto* root = new QVBoxLayout(this);
    root->setContentsMargins(0, 0, 0, 0);
    root->setSpacing(2);

    lblTitle = new QLabel(windowTitle(), this);
    lblTitle->setObjectName(QStringLiteral("lblTitle"));
    lblTitle->setFont(pixelFont(QStringLiteral("楷体_GB2312"), 20, true));
    lblTitle->setAlignment(Qt::AlignCenter);
    lblTitle->setMinimumHeight(36);
    root->addWidget(lblTitle);

    lblSubject = new QLabel(this);
    lblSubject->setObjectName(QStringLiteral("lblSubject"));
    lblSubject->setContentsMargins(6, 0, 6, 0);
    lblSubject->setWordWrap(true);
    root->addWidget(lblSubject);

    auto* bar = new QWidget(this);
    bar->setFont(pixelFont(QStringLiteral("宋体"), 12));
    auto* tb = new QHBoxLayout(bar);
    tb->setContentsMargins(4, 0, 4, 0);
    btnXM = namedButton(bar, "btnXM", QStringLiteral("项目"));
    btnExcel = namedButton(bar, "btnExcel", QStringLiteral("生成Excel"));
    btnDY = namedButton(bar, "btnDY", QStringLiteral("打印"));
    btnTC = namedButton(bar, "btnTC", QStringLiteral("退出"));
    btnCJ = namedButton(bar, "btnCJ", QStringLiteral("成交登记"));
    for (QPushButton* b : {btnXM, btnExcel, btnDY, btnTC, btnCJ})
        tb->addWidget(b);
    tb->addStretch();
    root->addWidget(bar);

    lblNone = new QLabel(customers ? QStringLiteral("没有符合条件的客户")
                                   : QStringLiteral("没有符合条件的房源"),
                         this);
    lblNone->setObjectName(QStringLiteral("lblNone"));
    lblNone->setFont(pixelFont(QStringLiteral("宋体"), 15, true));
    lblNone->setAlignment(Qt::AlignCenter);
    lblNone->setMinimumHeight(30);
    lblNone->setVisible(false);
    root->addWidget(lblNone);

    lblMore = new QLabel(this);
    lblMore->setObjectName(QStringLiteral("lblMore"));
    lblMore->setContentsMargins(6, 0, 6, 0);
    lblMore->setVisible(false);
    root->addWidget(lblMore);

    gridPP = new DbGrid(this);
    gridPP->setObjectName(QStringLiteral("gridPP"));
    root->addWidget(gridPP, 1);

    onSignal(btnXM, &QPushButton::clicked, this, &TFrmPPJG::btnXMClick);
    onSignal(btnExcel, &QPushButton::clicked, this, &TFrmPPJG::btnExcelClick);
    onSignal(btnDY, &QPushButton::clicked, this, &TFrmPPJG::btnDYClick);
    onSignal(btnTC, &QPushButton::clicked, this, &QDialog::accept);
    onSignal(btnCJ, &QPushButton::clicked, this, &TFrmPPJG::btnCJClick);
    onSignal(gridPP, &DbGrid::rowDoubleClicked, this, [this] {
        const QString archive = currentArchive();
        if (!archive.isEmpty()) emit recordRequested(archive);
    });
}

TFrmPPJG::DealEntry& TFrmPPJG::dealEntry()
{
    static DealEntry entry;
    return entry;
}

void TFrmPPJG::btnCJClick()
{
    const QString other = currentArchive();
    if (!dealEntry() || other.isEmpty()) return;
    const bool customers = m_side == Side::Customers;
    const QString listing = customers ? m_listing.archive : other;
    const QString customer = customers ? other : m_customer.archive;
    // The records of the deal are no longer valid: the result drops them.
    if (dealEntry()(this, listing, customer)) refresh();
}

void TFrmPPJG::refresh()
{
    const QString current = currentArchive();
    guarded([this] {
        if (!dmbasic) throw DbError(QStringLiteral("数据库连接没有打开。"));
        Connection& c = dmbasic->adoCntnfybase;
        present(m_side == Side::Customers ? Matching::customersFor(c, m_listing, m_personal)
                                          : Matching::listingsFor(c, m_customer, m_personal));
    });
    // The row that was current stays current while it is still shown.
    if (!current.isEmpty() && qryPP.isActive()) qryPP.locate(QStringLiteral("档案号"), current);
}

QList<GridColumn> TFrmPPJG::columns() const
{
    QList<GridColumn> cols;
    for (const ColumnInfo& c : m_table.columns) {
        const QString format = c.name == Matching::scoreColumn() ? QStringLiteral("0")
                               : c.type == ColumnInfo::Float     ? QStringLiteral("0.00")
                                                                 : QString();
        cols << GridColumn{c.name, c.name, widthOf(c.name), format};
    }
    return cols;
}

void TFrmPPJG::present(Matching::MatchTable table)
{
    m_table = std::move(table);
    qryPP.openRows(m_table.columns, m_table.rows);
    if (gridPP->columnCount() == 0) {
        QueryWindowConfig config;
        config.columns = columns();
        QueryWindow::setupGrid(gridPP, &dsPP, config);
        // The row count stands under the archive number, as in the query windows.
        for (int i = 0; i < config.columns.size(); ++i)
            if (config.columns[i].field == QStringLiteral("档案号"))
                gridPP->setFooterCountColumn(i);
        QueryWindow::fitDefaultWidths(gridPP);
    }
    lblNone->setVisible(qryPP.isEmpty());
    lblMore->setText(
        QStringLiteral("只列出分数最高的%1条，另有%2%3也符合条件，未列出。")
            .arg(m_table.rows.size())
            .arg(m_table.more)
            .arg(m_side == Side::Customers ? QStringLiteral("位客户") : QStringLiteral("套房源")));
    lblMore->setVisible(m_table.more > 0);
}

QString TFrmPPJG::currentArchive() const
{
    if (!qryPP.isActive() || qryPP.isEmpty()) return {};
    return qryPP.text(QStringLiteral("档案号"));
}

QString TFrmPPJG::reportTitle() const
{
    return m_side == Side::Customers
               ? QStringLiteral("匹配客户（房源 %1）").arg(m_listing.archive)
               : QStringLiteral("匹配房源（客户 %1）").arg(m_customer.archive);
}

void TFrmPPJG::btnXMClick()
{
    QueryWindow::chooseColumns(gridPP);
}

void TFrmPPJG::btnDYClick()
{
    QueryWindow::printResult(this, gridPP, &qryPP, reportTitle(),
                             RegisterRules::signatureLine(CurUser.YGXM));
}

void TFrmPPJG::btnExcelClick()
{
    if (!QueryWindow::resultReady(&qryPP)) return;
    // The export walks its own copy of the result, so the grid keeps its current row.
    Query copy;
    copy.openRows(m_table.columns, m_table.rows);
    PubGrid = gridPP;
    PubDataSet = &copy;
    {
        TFrmPubExport dlg(this);
        dlg.edtTitle->setText(reportTitle());
        dialogs().exec(&dlg);
    }
    PubDataSet = nullptr;
}
