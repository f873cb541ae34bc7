#include "customers/Frm_khcx.h"

#include "customers/CustomerExchange.h"
#include "customers/Frm_LLKH.h"
#include "customers/core/CustomerSearch.h"

#include <QGridLayout>

TFrmKHCX* FrmKHCX = nullptr;

const QueryWindowConfig& TFrmKHCX::config()
{
    static const QueryWindowConfig c = [] {
        QueryWindowConfig c;
        c.objectName = QStringLiteral("FrmKHCX");
        c.caption = QStringLiteral("客户信息查询");
        c.title = QStringLiteral("客户信息查询");
        c.fontPx = 15;
        c.rowSetName = QStringLiteral("qrykhxx");
        c.dataSourceName = QStringLiteral("dskhxx");
        c.table = CustomerSearch::table();
        // Each column titled with its name; the amounts as "0.00".
        const QString amount = QStringLiteral("0.00");
        for (const char* field : {"档案号", "类型", "需求方式", "权属", "地址描述", "面积1",
                                  "面积2", "价格1", "价格2", "需求设施", "楼层", "户型"}) {
            const QString f = QString::fromUtf8(field);
            c.columns << GridColumn{
                f, f, -1, f.startsWith(u"面积") || f.startsWith(u"价格") ? amount : QString()};
        }
        c.columns << GridColumn{QStringLiteral("录入日期"), QStringLiteral("录入日期"), 73, {}};
        c.builderFields = CustomerSearch::builderFields();
        c.builderVisibleItems = 11;
        c.exportTitle = QStringLiteral("客户信息查询");
        c.printTitleTail = QStringLiteral("日客户信息表");
        c.deleteQuestion = QStringLiteral("是否删除选择的客户信息档案？");
        c.lists = {RegisterRules::floors(true), RegisterRules::houseTypes(true),
                   CustomerSearch::demandModes(), RegisterRules::locations(true)};
        c.exchange = customerExchangeLayout();
        c.exchangeQuery = &Tdmbasic::qryKHXX;
        return c;
    }();
    return c;
}

TFrmKHCX::TFrmKHCX(QWidget* parent)
    : QueryFrame(config(), parent), qrykhxx(rows()), dskhxx(rowsLink())
{
    FrmKHCX = this;
    qrykhxx.beforePost = [this](Query& q) { qrykhxxBeforePost(q); };
    buildPanel();
    FormCreate();
}

TFrmKHCX::~TFrmKHCX()
{
    if (FrmKHCX == this) FrmKHCX = nullptr;
}

void TFrmKHCX::buildPanel()
{
    edtMJ1->setMaximumWidth(70);
    edtJG1->setMaximumWidth(70);
    QGridLayout* g = panel();
    // Row 1: date range and address description.
    addCaption(QStringLiteral("日期范围"), 0, 0);
    g->addWidget(dateRange(), 0, 1, 1, 3);
    addCaption(QStringLiteral("地址描述"), 0, 4);
    g->addWidget(edtXQDZ, 0, 5, 1, 5);
    // Row 2: floor, house type, demand mode, area, price.
    addCaption(QStringLiteral("楼层"), 1, 0);
    g->addWidget(cbLC, 1, 1);
    addCaption(QStringLiteral("户型"), 1, 2);
    g->addWidget(cbHX, 1, 3);
    addCaption(QStringLiteral("方式"), 1, 4);
    g->addWidget(cbFS, 1, 5);
    addCaption(QStringLiteral("面积"), 1, 6);
    g->addWidget(edtMJ1, 1, 7);
    addCaption(QStringLiteral("价格"), 1, 8);
    g->addWidget(edtJG1, 1, 9);
    // Row 3: location, validity, 速查.
    addCaption(QStringLiteral("位置"), 2, 0);
    g->addWidget(cbWZ, 2, 1, 1, 3);
    g->addWidget(cbSFYX, 2, 4, 1, 2);
    g->addWidget(BitBtn5, 2, 9);

    setPanelTabOrder({edtRQ1, Button2, edtRQ2, Button3, edtXQDZ, cbLC, cbHX, cbFS, edtMJ1, edtJG1,
                      cbSFYX, BitBtn5, cbWZ});
}

QStringList TFrmKHCX::quickSearchLines() const
{
    CustomerSearch::QuickSearch s;
    s.rq1 = edtRQ1->text();
    s.rq2 = edtRQ2->text();
    s.dzms = edtXQDZ->text();
    s.lc = cbLC->currentText();
    s.hx = cbHX->currentText();
    s.fs = cbFS->currentText();
    s.mj = edtMJ1->text();
    s.jg = edtJG1->text();
    s.valid = cbSFYX->isChecked();
    s.wz = cbWZ->currentText();
    return CustomerSearch::quickSearch(s);
}

std::unique_ptr<QDialog> TFrmKHCX::makeCard()
{
    return std::make_unique<TFrmLLKH>(this);
}

void TFrmKHCX::qrykhxxBeforePost(Query& q)
{
    if (CustomerSearch::addressDefaultsToAny(q.value(QStringLiteral("地址描述"))))
        q.setValue(QStringLiteral("地址描述"), RegisterRules::any());
}
