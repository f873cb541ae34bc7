#include "listings/Frm_fycx.h"

#include "listings/Frm_LLFZ.h"
#include "listings/ListingExchange.h"
#include "listings/core/ListingSearch.h"

#include <QGridLayout>

TFrmFYCX* FrmFYCX = nullptr;

const QueryWindowConfig& TFrmFYCX::config()
{
    static const QueryWindowConfig c = [] {
        const QString amount = QStringLiteral("0.00");
        auto col = [](const char* field, int width = -1, const QString& format = {}) {
            const QString f = QString::fromUtf8(field);
            return GridColumn{f, f, width, format};
        };
        QueryWindowConfig c;
        c.objectName = QStringLiteral("FrmFYCX");
        c.caption = QStringLiteral("房源查询");
        c.title = QStringLiteral("房源信息查询");
        c.rowSetName = QStringLiteral("qryFwxx");
        c.dataSourceName = QStringLiteral("dsFwxx");
        c.table = ListingSearch::table();
        c.columns = {col("档案号"),
                     col("类型"),
                     col("期限"),
                     col("方式"),
                     col("权属"),
                     col("小区名称", 136),
                     col("地址", 211),
                     col("房屋面积", -1, amount),
                     col("楼层"),
                     col("户型", 98),
                     col("信息价格", -1, amount),
                     col("位置", 149),
                     col("设施", 239),
                     col("公交线路", 137),
                     {QStringLiteral("新旧程度"), QStringLiteral("房龄"), -1, {}}};
        c.builderFields = ListingSearch::builderFields();
        c.exportTitle = QStringLiteral("房源信息查询");
        c.printTitleTail = QStringLiteral(" 日房源信息表");
        c.deleteQuestion = QStringLiteral("是否删除选择的房源信息档案？");
        c.lists = {RegisterRules::floors(false), RegisterRules::houseTypes(false),
                   RegisterRules::locations(false), ListingSearch::supplyModes()};
        c.exchange = listingExchangeLayout();
        c.exchangeQuery = &Tdmbasic::qryFWXX;
        return c;
    }();
    return c;
}

TFrmFYCX::TFrmFYCX(QWidget* parent)
    : QueryFrame(config(), parent), qryFwxx(rows()), dsFwxx(rowsLink())
{
    FrmFYCX = this;
    qryFwxx.beforePost = [this](Query& q) { qryFwxxBeforePost(q); };
    buildPanel();
    FormCreate();
}

TFrmFYCX::~TFrmFYCX()
{
    if (FrmFYCX == this) FrmFYCX = nullptr;
}

void TFrmFYCX::buildPanel()
{
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
}

QStringList TFrmFYCX::quickSearchLines() const
{
    ListingSearch::QuickSearch s;
    s.rq1 = edtRQ1->text();
    s.rq2 = edtRQ2->text();
    s.valid = cbSFYX->isChecked();
    s.fs = cbFS->currentText();
    s.xqdz = edtXQDZ->text();
    s.mj1 = edtMJ1->text();
    s.mj2 = edtMJ2->text();
    s.lc = cbLC->currentText();
    s.hx = cbHX->currentText();
    s.jg1 = edtJG1->text();
    s.jg2 = edtJG2->text();
    s.wz = cbWZ->currentText();
    s.xjcd1 = edtXJCD1->text();
    s.xjcd2 = edtXJCD2->text();
    return ListingSearch::quickSearch(s);
}

std::unique_ptr<QDialog> TFrmFYCX::makeCard()
{
    return std::make_unique<TFrmLLFZ>(this);
}

void TFrmFYCX::qryFwxxBeforePost(Query& q)
{
    if (const auto failed = ListingSearch::checkCard(q.value(QStringLiteral("小区名称")),
                                                     q.value(QStringLiteral("地址")),
                                                     q.value(QStringLiteral("房屋面积"))))
        refuseSave(*failed);
    if (ListingSearch::lowestPriceDefaultsToZero(q.value(QStringLiteral("最低价格"))))
        q.setValue(QStringLiteral("最低价格"), 0.0);
}
