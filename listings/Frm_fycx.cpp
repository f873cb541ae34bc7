#include "listings/Frm_fycx.h"

#include "listings/Frm_LLFZ.h"
#include "listings/ListingExchange.h"
#include "listings/core/ListingSearch.h"
#include "photos/PhotoPreview.h"
#include "photos/SheetRun.h"
#include "photos/core/PhotoStore.h"
#include "records/core/FollowUps.h"
#include "registers/QueryWindow.h"
#include "shell/Door.h"
#include "widgets/DataSetActions.h"
#include "widgets/WidgetUtil.h"

#include <QBoxLayout>
#include <QGridLayout>
#include <QPushButton>
#include <QTableView>

QPointer<TFrmFYCX> FrmFYCX;

namespace
{

// The card's save rule (qryFwxxBeforePost): community name, address and area
// must be given; an empty lowest price is stored as 0.
std::optional<RegisterRules::FailedCheck> qryFwxxBeforePost(Query& q)
{
    if (auto failed = ListingSearch::checkCard(q.value(QStringLiteral("小区名称")),
                                               q.value(QStringLiteral("地址")),
                                               q.value(QStringLiteral("房屋面积"))))
        return failed;
    if (ListingSearch::lowestPriceDefaultsToZero(q.value(QStringLiteral("最低价格"))))
        q.setValue(QStringLiteral("最低价格"), 0.0);
    return std::nullopt;
}

const QueryWindowConfig kListingQuery{
    .names = {QStringLiteral("FrmFYCX"), QStringLiteral("qryFwxx"), QStringLiteral("dsFwxx")},
    .texts = {QStringLiteral("房源查询"), QStringLiteral("房源信息查询"),
              QStringLiteral("房源信息查询"), QStringLiteral(" 日房源信息表"),
              QStringLiteral("是否删除选择的房源信息档案？")},
    .table = ListingSearch::table(),
    .beforePost = &qryFwxxBeforePost,
    .columns = QueryWindow::columnsOf({"档案号", "类型", "期限", "方式", "权属", "小区名称", "地址",
                                       "房屋面积", "楼层", "户型", "信息价格", "位置", "设施",
                                       "公交线路", "新旧程度"},
                                      {{"小区名称", 136},
                                       {"地址", 211},
                                       {"户型", 98},
                                       {"位置", 149},
                                       {"设施", 239},
                                       {"公交线路", 137}},
                                      {"房屋面积", "信息价格"}, {{"新旧程度", "房龄"}}),
    .builderFields = ListingSearch::builderFields(),
    .builderWholeNumbers = ListingSearch::builderWholeNumbers(),
    .lists = {RegisterRules::floors(false), RegisterRules::houseTypes(false),
              RegisterRules::locations(false), ListingSearch::supplyModes()},
    .exchange = {listingExchangeLayout(), &Tdmbasic::qryFWXX},
    .match = {QStringLiteral("匹配客户")},
};

} // namespace

TFrmFYCX::TFrmFYCX(QWidget* parent)
    : QueryFrame(kListingQuery, parent), qryFwxx(rows()), dsFwxx(rowsLink()), m_previous(FrmFYCX)
{
    FrmFYCX = this;

    edtMJ2 = digitsBox("edtMJ2");
    edtJG2 = digitsBox("edtJG2");
    edtXJCD1 = digitsBox("edtXJCD1");
    edtXJCD2 = digitsBox("edtXJCD2");
    edtXJCD1->setMaxLength(4);
    edtXJCD2->setMaxLength(4);
    QGridLayout* g = panel();
    // Row 1: validity, mode, community or address, area range.
    g->addWidget(cbSFYX, 0, 0, 1, 2);
    addCaption(QStringLiteral("方式"), 0, 2);
    g->addWidget(cbFS, 0, 3);
    addCaption(QStringLiteral("小区名称或地址"), 0, 4);
    g->addWidget(edtXQDZ, 0, 5);
    addCaption(QStringLiteral("面积范围"), 0, 6);
    g->addWidget(range(edtMJ1, edtMJ2), 0, 7);
    // Row 2: floor, layout, price range, position.
    addCaption(QStringLiteral("楼层"), 1, 0);
    g->addWidget(cbLC, 1, 1);
    addCaption(QStringLiteral("户型"), 1, 2);
    g->addWidget(cbHX, 1, 3);
    addCaption(QStringLiteral("信息价格"), 1, 4);
    g->addWidget(range(edtJG1, edtJG2), 1, 5);
    addCaption(QStringLiteral("位置"), 1, 6);
    g->addWidget(cbWZ, 1, 7);
    // Row 3: date range, age range, 速查.
    addCaption(QStringLiteral("日期范围"), 2, 0);
    g->addWidget(dateRange(), 2, 1, 1, 3);
    addCaption(QStringLiteral("房龄"), 2, 4);
    g->addWidget(range(edtXJCD1, edtXJCD2), 2, 5);
    g->addWidget(BitBtn5, 2, 7);
    setPanelTabOrder({cbSFYX, cbFS, edtXQDZ, edtMJ1, edtMJ2, cbLC, cbHX, edtJG1, edtJG2, cbWZ,
                      edtRQ1, Button2, edtRQ2, Button3, edtXJCD1, BitBtn5, edtXJCD2});

    // The number of each listing's photos after the follow-up column (computed,
    // never written back), and the current listing's cover beside the grid.
    rows().computedColumns = [](const Query& q) {
        return FollowUps::lastColumns(q) + Photos::countColumns(q);
    };
    DBGridEh1->setColumns(
        DBGridEh1->model()->columns() +
        QList<GridColumn>{{Photos::CountColumn, Photos::CountColumn, 50, {}, true}});
    // The first result was read before: it gets the column now, and the widths
    // fitted to its values again.
    if (rows().isActive()) Photos::addCountColumn(rows());
    QueryWindow::fitDefaultWidths(DBGridEh1);
    preview = PhotoPreview::attach(DBGridEh1, &rows(), btnPP->parentWidget());
    // 房源单 of the selected rows (Ctrl/Shift+click in the grid), else of the whole result.
    btnFYD = namedButton(btnPP->parentWidget(), "btnFYD", QStringLiteral("房源单"));
    if (auto* bar = qobject_cast<QBoxLayout*>(btnPP->parentWidget()->layout()))
        bar->insertWidget(bar->indexOf(preview->toggle()), btnFYD);
    DBGridEh1->view()->setSelectionMode(QAbstractItemView::ExtendedSelection);
    onSignal(btnFYD, &QPushButton::clicked, this,
             [this] { SheetRun::fromQuery(this, DBGridEh1, rows()); });
    followRows(&rowsLink(), btnFYD, [this] { btnFYD->setEnabled(holdsRow()); });
}

TFrmFYCX::~TFrmFYCX()
{
    if (FrmFYCX == this) FrmFYCX = m_previous;
}

QStringList TFrmFYCX::quickSearchLines(const RegisterRules::SearchPanel& shared) const
{
    return ListingSearch::quickSearch({shared, edtXQDZ->text(), edtMJ1->text(), edtMJ2->text(),
                                       edtJG1->text(), edtJG2->text(), edtXJCD1->text(),
                                       edtXJCD2->text()});
}

const QueryWindowConfig& TFrmFYCX::queryConfig()
{
    return kListingQuery;
}

std::unique_ptr<QDialog> TFrmFYCX::makeCard()
{
    return std::make_unique<TFrmLLFZ>(this);
}
