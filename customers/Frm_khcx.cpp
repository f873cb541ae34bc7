#include "customers/Frm_khcx.h"

#include "customers/CustomerExchange.h"
#include "customers/Frm_LLKH.h"
#include "customers/core/CustomerSearch.h"

#include <QGridLayout>

QPointer<TFrmKHCX> FrmKHCX;

namespace
{

// The save rule (qrykhxxBeforePost): an empty address description is stored as
// "不限"; nothing is refused.
std::optional<RegisterRules::FailedCheck> qrykhxxBeforePost(Query& q)
{
    if (CustomerSearch::addressDefaultsToAny(q.value(QStringLiteral("地址描述"))))
        q.setValue(QStringLiteral("地址描述"), RegisterRules::any());
    return std::nullopt;
}

const QueryWindowConfig kCustomerQuery{
    .names = {QStringLiteral("FrmKHCX"), QStringLiteral("qrykhxx"), QStringLiteral("dskhxx")},
    .fontPx = 15,
    .texts = {QStringLiteral("客户信息查询"), QStringLiteral("客户信息查询"),
              QStringLiteral("客户信息查询"), QStringLiteral("日客户信息表"),
              QStringLiteral("是否删除选择的客户信息档案？")},
    .table = CustomerSearch::table(),
    .beforePost = &qrykhxxBeforePost,
    // Each titled with its name.
    .columns =
        QueryWindow::columnsOf({"档案号", "类型", "需求方式", "权属", "地址描述", "面积1", "面积2",
                                "价格1", "价格2", "需求设施", "楼层", "户型", "录入日期"},
                               {{"录入日期", 73}}, {"面积1", "面积2", "价格1", "价格2"}),
    .builderFields = CustomerSearch::builderFields(),
    .builderVisibleItems = 11,
    .builderWholeNumbers = {}, // none of the customer's builder columns
    .lists = {RegisterRules::floors(true), RegisterRules::houseTypes(true),
              CustomerSearch::demandModes(), RegisterRules::locations(true)},
    .exchange = {customerExchangeLayout(), &Tdmbasic::qryKHXX},
    .match = {QStringLiteral("匹配房源")},
};

} // namespace

TFrmKHCX::TFrmKHCX(QWidget* parent)
    : QueryFrame(kCustomerQuery, parent), qrykhxx(rows()), dskhxx(rowsLink()), m_previous(FrmKHCX)
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
    const QList<std::pair<QString, QWidget*>> row2 = {{QStringLiteral("楼层"), cbLC},
                                                      {QStringLiteral("户型"), cbHX},
                                                      {QStringLiteral("方式"), cbFS},
                                                      {QStringLiteral("面积"), edtMJ1},
                                                      {QStringLiteral("价格"), edtJG1}};
    for (int i = 0; i < row2.size(); ++i) {
        addCaption(row2[i].first, 1, 2 * i);
        g->addWidget(row2[i].second, 1, 2 * i + 1);
    }
    // Row 3: location, validity, 速查.
    addCaption(QStringLiteral("位置"), 2, 0);
    g->addWidget(cbWZ, 2, 1, 1, 3);
    g->addWidget(cbSFYX, 2, 4, 1, 2);
    g->addWidget(BitBtn5, 2, 9);
    setPanelTabOrder({edtRQ1, Button2, edtRQ2, Button3, edtXQDZ, cbLC, cbHX, cbFS, edtMJ1, edtJG1,
                      cbSFYX, BitBtn5, cbWZ});
    FrmKHCX = this;
}

TFrmKHCX::~TFrmKHCX()
{
    if (FrmKHCX == this) FrmKHCX = m_previous;
}

const QueryWindowConfig& TFrmKHCX::queryConfig()
{
    return kCustomerQuery;
}

std::unique_ptr<QDialog> TFrmKHCX::makeCard()
{
    return std::make_unique<TFrmLLKH>(this);
}

QStringList TFrmKHCX::quickSearchLines(const RegisterRules::SearchPanel& shared) const
{
    // One address text; one area and one price value against the customer's ranges.
    return CustomerSearch::quickSearch({shared, edtXQDZ->text(), edtMJ1->text(), edtJG1->text()});
}
