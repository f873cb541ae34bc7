#include "listings/Frm_fycx.h"

#include "app/core/PubVars.h"
#include "common/Dialogs.h"
#include "common/Guard.h"
#include "common/WidgetUtil.h"
#include "data/Dmbasic.h"
#include "data/Text.h"
#include "listings/Frm_LLFZ.h"
#include "listings/ListingExchange.h"
#include "listings/core/ListingSearch.h"

#include <QFrame>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QVBoxLayout>

TFrmFYCX* FrmFYCX = nullptr;

namespace
{

QFrame* separator(QWidget* parent)
{
    auto* f = new QFrame(parent);
    f->setFrameShape(QFrame::VLine);
    f->setFrameShadow(QFrame::Sunken);
    return f;
}

QPushButton* button(QWidget* parent, const char* name, const QString& text)
{
    auto* b = new QPushButton(text, parent);
    b->setObjectName(QString::fromLatin1(name));
    b->setAutoDefault(false);
    return b;
}

template <typename T> T* named(QWidget* parent, const char* name)
{
    auto* w = new T(parent);
    w->setObjectName(QString::fromLatin1(name));
    return w;
}

} // namespace

const QueryWindowConfig& TFrmFYCX::config()
{
    static const QueryWindowConfig c = [] {
        QueryWindowConfig c;
        const QString amount = QStringLiteral("0.00");
        c.columns = {{QStringLiteral("档案号"), QStringLiteral("档案号"), -1, {}},
                     {QStringLiteral("类型"), QStringLiteral("类型"), -1, {}},
                     {QStringLiteral("期限"), QStringLiteral("期限"), -1, {}},
                     {QStringLiteral("方式"), QStringLiteral("方式"), -1, {}},
                     {QStringLiteral("权属"), QStringLiteral("权属"), -1, {}},
                     {QStringLiteral("小区名称"), QStringLiteral("小区名称"), 136, {}},
                     {QStringLiteral("地址"), QStringLiteral("地址"), 211, {}},
                     {QStringLiteral("房屋面积"), QStringLiteral("房屋面积"), -1, amount},
                     {QStringLiteral("楼层"), QStringLiteral("楼层"), -1, {}},
                     {QStringLiteral("户型"), QStringLiteral("户型"), 98, {}},
                     {QStringLiteral("信息价格"), QStringLiteral("信息价格"), -1, amount},
                     {QStringLiteral("位置"), QStringLiteral("位置"), 149, {}},
                     {QStringLiteral("设施"), QStringLiteral("设施"), 239, {}},
                     {QStringLiteral("公交线路"), QStringLiteral("公交线路"), 137, {}},
                     {QStringLiteral("新旧程度"), QStringLiteral("房龄"), -1, {}}};
        c.footerCountColumn = 0;
        c.builderTable = QStringLiteral("房屋信息");
        c.builderFields = ListingSearch::builderFields();
        c.exportTitle = QStringLiteral("房源信息查询");
        return c;
    }();
    return c;
}

TFrmFYCX::TFrmFYCX(QWidget* parent)
    : QDialog(parent), qryFwxx(dmbasic ? &dmbasic->adoCntnfybase : nullptr)
{
    setObjectName(QStringLiteral("FrmFYCX"));
    FrmFYCX = this;
    qryFwxx.setObjectName(QStringLiteral("qryFwxx"));
    dsFwxx.setObjectName(QStringLiteral("dsFwxx"));
    dsFwxx.setDataSet(&qryFwxx);
    DataSetPost1 = new DataSetPostAction(&dsFwxx, this);
    DataSetDelete1 = new DataSetDeleteAction(&dsFwxx, this);

    qryFwxx.beforeInsert = [](Query&) { throw SilentAbort(); };
    qryFwxx.beforeDelete = [this](Query&) {
        if (!dialogs().question(m_card ? m_card.data() : this,
                                QStringLiteral("是否删除选择的房源信息档案？")))
            throw SilentAbort();
    };
    qryFwxx.beforePost = [this](Query& q) { qryFwxxBeforePost(q); };

    buildUi();
    FormCreate();
}

TFrmFYCX::~TFrmFYCX()
{
    qryFwxx.close();
    if (FrmFYCX == this) FrmFYCX = nullptr;
}

void TFrmFYCX::buildUi()
{
    setWindowTitle(QStringLiteral("房源查询"));
    resize(758, 527);
    setSizeGripEnabled(true);
    auto* root = new QVBoxLayout(this);
    root->setContentsMargins(0, 0, 0, 0);
    root->setSpacing(2);

    auto* title = new QLabel(QStringLiteral("房源信息查询"), this);
    title->setObjectName(QStringLiteral("lblTitle"));
    title->setFont(pixelFont(QStringLiteral("楷体_GB2312"), 20, true));
    title->setAlignment(Qt::AlignCenter);
    title->setMinimumHeight(36);
    root->addWidget(title);

    // Tool bar.
    auto* bar = new QWidget(this);
    bar->setFont(pixelFont(QStringLiteral("宋体"), 12));
    auto* tb = new QHBoxLayout(bar);
    tb->setContentsMargins(4, 0, 4, 0);
    DBNavigator1 = named<DbNavigator>(bar, "DBNavigator1");
    DBNavigator1->setVisibleButtons(
        {DbNavigator::First, DbNavigator::Prior, DbNavigator::Next, DbNavigator::Last});
    DBNavigator1->setDataSource(&dsFwxx);
    BitBtn1 = button(bar, "BitBtn1", QStringLiteral("查询"));
    btnLL = button(bar, "btnLL", QStringLiteral("查看"));
    BitBtn2 = button(bar, "BitBtn2", QStringLiteral("项目"));
    BitBtn3 = button(bar, "BitBtn3", QStringLiteral("导出"));
    BitBtn6 = button(bar, "BitBtn6", QStringLiteral("导入"));
    BitBtn8 = button(bar, "BitBtn8", QStringLiteral("生成Excel"));
    Button1 = button(bar, "Button1", QStringLiteral("打印"));
    BitBtn4 = button(bar, "BitBtn4", QStringLiteral("退出"));
    tb->addWidget(DBNavigator1);
    tb->addWidget(separator(bar));
    tb->addWidget(BitBtn1);
    tb->addWidget(btnLL);
    tb->addWidget(separator(bar));
    tb->addWidget(BitBtn2);
    tb->addWidget(BitBtn3);
    tb->addWidget(BitBtn6);
    tb->addWidget(separator(bar));
    tb->addWidget(BitBtn8);
    tb->addWidget(Button1);
    tb->addWidget(separator(bar));
    tb->addWidget(BitBtn4);
    tb->addStretch();
    root->addWidget(bar);

    // Quick-search panel, three rows.
    auto* panel = new QFrame(this);
    panel->setFrameShape(QFrame::StyledPanel);
    panel->setFont(pixelFont(QStringLiteral("宋体"), 12));
    auto* g = new QGridLayout(panel);
    g->setContentsMargins(6, 4, 6, 4);
    g->setHorizontalSpacing(4);
    g->setVerticalSpacing(3);
    auto label = [&](const QString& t, int r, int c) { g->addWidget(new QLabel(t, panel), r, c); };
    auto combo = [&](const char* name) {
        auto* cb = named<QComboBox>(panel, name);
        cb->setEditable(true);
        cb->setInsertPolicy(QComboBox::NoInsert);
        cb->setMinimumWidth(80);
        return cb;
    };
    auto range = [&](QLineEdit* a, QLineEdit* b) {
        auto* w = new QWidget(panel);
        auto* h = new QHBoxLayout(w);
        h->setContentsMargins(0, 0, 0, 0);
        h->setSpacing(2);
        h->addWidget(a);
        h->addWidget(new QLabel(QStringLiteral("至"), w));
        h->addWidget(b);
        return w;
    };

    cbSFYX = named<QCheckBox>(panel, "cbSFYX");
    cbSFYX->setText(QStringLiteral("是否有效"));
    cbSFYX->setChecked(true);
    cbFS = combo("cbFS");
    edtXQDZ = named<QLineEdit>(panel, "edtXQDZ");
    edtMJ1 = named<QLineEdit>(panel, "edtMJ1");
    edtMJ2 = named<QLineEdit>(panel, "edtMJ2");
    cbLC = combo("cbLC");
    cbHX = combo("cbHX");
    edtJG1 = named<QLineEdit>(panel, "edtJG1");
    edtJG2 = named<QLineEdit>(panel, "edtJG2");
    cbWZ = combo("cbWZ");
    edtRQ1 = named<QLineEdit>(panel, "edtRQ1");
    edtRQ2 = named<QLineEdit>(panel, "edtRQ2");
    Button2 = button(panel, "Button2", QStringLiteral("..."));
    Button3 = button(panel, "Button3", QStringLiteral("..."));
    edtXJCD1 = named<QLineEdit>(panel, "edtXJCD1");
    edtXJCD2 = named<QLineEdit>(panel, "edtXJCD2");
    BitBtn5 = button(panel, "BitBtn5", QStringLiteral("速查"));

    for (QLineEdit* e : {edtMJ1, edtMJ2, edtJG1, edtJG2, edtXJCD1, edtXJCD2}) {
        QueryWindow::setDigitsOnly(e);
        e->setMaximumWidth(60);
    }
    edtXJCD1->setMaxLength(4);
    edtXJCD2->setMaxLength(4);
    for (QLineEdit* e : {edtRQ1, edtRQ2}) {
        e->setReadOnly(true);
        e->setMaximumWidth(70);
    }
    for (QPushButton* b : {Button2, Button3})
        b->setFixedWidth(22);

    // Row 1: validity, mode, community or address, area range.
    g->addWidget(cbSFYX, 0, 0, 1, 2);
    label(QStringLiteral("方式"), 0, 2);
    g->addWidget(cbFS, 0, 3);
    label(QStringLiteral("小区名称或地址"), 0, 4);
    g->addWidget(edtXQDZ, 0, 5);
    label(QStringLiteral("面积范围"), 0, 6);
    g->addWidget(range(edtMJ1, edtMJ2), 0, 7);
    // Row 2: floor, layout, price range, position.
    label(QStringLiteral("楼层"), 1, 0);
    g->addWidget(cbLC, 1, 1);
    label(QStringLiteral("户型"), 1, 2);
    g->addWidget(cbHX, 1, 3);
    label(QStringLiteral("信息价格"), 1, 4);
    g->addWidget(range(edtJG1, edtJG2), 1, 5);
    label(QStringLiteral("位置"), 1, 6);
    g->addWidget(cbWZ, 1, 7);
    // Row 3: date range, age range, 速查.
    auto* dates = new QWidget(panel);
    auto* dh = new QHBoxLayout(dates);
    dh->setContentsMargins(0, 0, 0, 0);
    dh->setSpacing(2);
    dh->addWidget(edtRQ1);
    dh->addWidget(Button2);
    dh->addWidget(new QLabel(QStringLiteral("至"), dates));
    dh->addWidget(edtRQ2);
    dh->addWidget(Button3);
    dh->addStretch();
    label(QStringLiteral("日期范围"), 2, 0);
    g->addWidget(dates, 2, 1, 1, 3);
    label(QStringLiteral("房龄"), 2, 4);
    g->addWidget(range(edtXJCD1, edtXJCD2), 2, 5);
    g->addWidget(BitBtn5, 2, 7);
    root->addWidget(panel);

    QWidget* chain[] = {cbSFYX, cbFS,    edtXQDZ,  edtMJ1,  edtMJ2,  cbLC,
                        cbHX,   edtJG1,  edtJG2,   cbWZ,    edtRQ1,  Button2,
                        edtRQ2, Button3, edtXJCD1, BitBtn5, edtXJCD2};
    for (size_t i = 1; i < std::size(chain); ++i)
        setTabOrder(chain[i - 1], chain[i]);

    DBGridEh1 = named<DbGrid>(this, "DBGridEh1");
    QueryWindow::setupGrid(DBGridEh1, &dsFwxx, config());
    root->addWidget(DBGridEh1, 1);

    connect(BitBtn5, &QPushButton::clicked, this, &TFrmFYCX::BitBtn5Click);
    connect(BitBtn1, &QPushButton::clicked, this, &TFrmFYCX::BitBtn1Click);
    connect(BitBtn2, &QPushButton::clicked, this, &TFrmFYCX::BitBtn2Click);
    connect(Button2, &QPushButton::clicked, this, &TFrmFYCX::Button2Click);
    connect(Button3, &QPushButton::clicked, this, &TFrmFYCX::Button3Click);
    connect(Button1, &QPushButton::clicked, this, &TFrmFYCX::Button1Click);
    connect(BitBtn8, &QPushButton::clicked, this, &TFrmFYCX::BitBtn8Click);
    connect(btnLL, &QPushButton::clicked, this, &TFrmFYCX::btnLLClick);
    connect(DBGridEh1, &DbGrid::rowDoubleClicked, this, &TFrmFYCX::btnLLClick);
    connect(BitBtn3, &QPushButton::clicked, this, &TFrmFYCX::BitBtn3Click);
    connect(BitBtn6, &QPushButton::clicked, this, &TFrmFYCX::BitBtn6Click);
    connect(BitBtn4, &QPushButton::clicked, this, &TFrmFYCX::BitBtn4Click);
}

void TFrmFYCX::FormCreate()
{
    edtRQ1->setText(QSRQ);
    edtRQ2->setText(CZRQ);
    // A failing step is reported and the remaining ones are skipped; the window opens.
    guarded([this] {
        openStatement(ListingSearch::firstSearch(QSRQ, CZRQ));
        QueryWindow::fitDefaultWidths(DBGridEh1, config());
        for (const ListingSearch::DictionaryList& d : ListingSearch::dictionaryLists())
            QueryWindow::fillList(findChild<QComboBox*>(d.control), d.statement, d.column);
    });
}

void TFrmFYCX::openStatement(const QStringList& lines)
{
    qryFwxx.close();
    qryFwxx.clearSql();
    for (const QString& l : lines)
        qryFwxx.addSql(l);
    qryFwxx.open();
}

void TFrmFYCX::BitBtn5Click()
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
    qryFwxx.close(); // a refused statement leaves the result closed
    openStatement(ListingSearch::quickSearch(s));
}

void TFrmFYCX::BitBtn1Click()
{
    QueryWindow::builderSearch(this, &qryFwxx, config(), &ListingSearch::builderSearch);
}

void TFrmFYCX::BitBtn2Click()
{
    QueryWindow::chooseColumns(DBGridEh1);
}

void TFrmFYCX::Button2Click()
{
    QueryWindow::pickDate(this, edtRQ1);
}

void TFrmFYCX::Button3Click()
{
    QueryWindow::pickDate(this, edtRQ2);
}

void TFrmFYCX::Button1Click()
{
    QueryWindow::printResult(this, DBGridEh1, &qryFwxx, ListingSearch::printTitle(CZRQ),
                             ListingSearch::signatureLine(CurUser.YGXM));
}

void TFrmFYCX::BitBtn8Click()
{
    QueryWindow::exportResult(this, DBGridEh1, &qryFwxx, config().exportTitle);
}

void TFrmFYCX::btnLLClick()
{
    TFrmLLFZ card(this);
    m_card = &card;
    dialogs().exec(&card);
    m_card = nullptr;
    if (qryFwxx.isActive() && qryFwxx.isEditing()) qryFwxx.cancel();
}

void TFrmFYCX::BitBtn3Click()
{
    listingExport(this, qryFwxx);
}

void TFrmFYCX::BitBtn6Click()
{
    listingImport(this);
}

void TFrmFYCX::BitBtn4Click()
{
    close();
}

void TFrmFYCX::FormClose()
{
    qryFwxx.close();
}

void TFrmFYCX::done(int r)
{
    FormClose();
    QDialog::done(r);
}

void TFrmFYCX::qryFwxxBeforePost(Query& q)
{
    const auto failure = ListingSearch::checkCard(q.value(QStringLiteral("小区名称")),
                                                  q.value(QStringLiteral("地址")),
                                                  q.value(QStringLiteral("房屋面积")));
    if (failure) {
        QWidget* where = m_card ? m_card.data() : this;
        dialogs().message(where, failure->message);
        if (QWidget* w = where->findChild<QWidget*>(failure->control)) w->setFocus();
        throw SilentAbort();
    }
    if (ListingSearch::lowestPriceDefaultsToZero(q.value(QStringLiteral("最低价格"))))
        q.setValue(QStringLiteral("最低价格"), 0.0);
}
