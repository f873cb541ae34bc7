#include "customers/Frm_khcx.h"

#include "app/core/PubVars.h"
#include "common/Dialogs.h"
#include "common/Guard.h"
#include "common/WidgetUtil.h"
#include "customers/CustomerExchange.h"
#include "customers/Frm_LLKH.h"
#include "customers/core/CustomerSearch.h"
#include "data/Dmbasic.h"

#include <QFrame>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QVBoxLayout>

TFrmKHCX* FrmKHCX = nullptr;

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

const QueryWindowConfig& TFrmKHCX::config()
{
    static const QueryWindowConfig c = [] {
        QueryWindowConfig c;
        const QString amount = QStringLiteral("0.00");
        auto col = [](const char* field, int width = -1, const QString& format = {}) {
            const QString f = QString::fromUtf8(field);
            return GridColumn{f, f, width, format};
        };
        c.columns = {col("档案号"),
                     col("类型"),
                     col("需求方式"),
                     col("权属"),
                     col("地址描述"),
                     col("面积1", -1, amount),
                     col("面积2", -1, amount),
                     col("价格1", -1, amount),
                     col("价格2", -1, amount),
                     col("需求设施"),
                     col("楼层"),
                     col("户型"),
                     col("录入日期", 73)};
        c.footerCountColumn = 0;
        c.builderTable = QStringLiteral("客户信息");
        c.builderFields = CustomerSearch::builderFields();
        c.exportTitle = QStringLiteral("客户信息查询");
        c.builderVisibleItems = 11;
        return c;
    }();
    return c;
}

TFrmKHCX::TFrmKHCX(QWidget* parent)
    : QDialog(parent), qrykhxx(dmbasic ? &dmbasic->adoCntnfybase : nullptr)
{
    setObjectName(QStringLiteral("FrmKHCX"));
    FrmKHCX = this;
    qrykhxx.setObjectName(QStringLiteral("qrykhxx"));
    dskhxx.setObjectName(QStringLiteral("dskhxx"));
    dskhxx.setDataSet(&qrykhxx);
    DataSetPost1 = new DataSetPostAction(&dskhxx, this);
    DataSetDelete1 = new DataSetDeleteAction(&dskhxx, this);

    qrykhxx.beforeInsert = [](Query&) { throw SilentAbort(); };
    qrykhxx.beforeDelete = [this](Query&) {
        if (!dialogs().question(m_card ? m_card.data() : this,
                                QStringLiteral("是否删除选择的客户信息档案？")))
            throw SilentAbort();
    };
    qrykhxx.beforePost = [this](Query& q) { qrykhxxBeforePost(q); };

    buildUi();
    FormCreate();
}

TFrmKHCX::~TFrmKHCX()
{
    qrykhxx.close();
    if (FrmKHCX == this) FrmKHCX = nullptr;
}

void TFrmKHCX::buildUi()
{
    setWindowTitle(QStringLiteral("客户信息查询"));
    setFont(pixelFont(QStringLiteral("宋体"), 15));
    resize(758, 527);
    setSizeGripEnabled(true);
    auto* root = new QVBoxLayout(this);
    root->setContentsMargins(0, 0, 0, 0);
    root->setSpacing(2);

    auto* title = new QLabel(QStringLiteral("客户信息查询"), this);
    title->setObjectName(QStringLiteral("lblTitle"));
    title->setFont(pixelFont(QStringLiteral("楷体_GB2312"), 20, true));
    title->setAlignment(Qt::AlignCenter);
    title->setMinimumHeight(36);
    root->addWidget(title);

    // Tool bar, as in the listing window.
    auto* bar = new QWidget(this);
    bar->setFont(pixelFont(QStringLiteral("宋体"), 12));
    auto* tb = new QHBoxLayout(bar);
    tb->setContentsMargins(4, 0, 4, 0);
    DBNavigator1 = named<DbNavigator>(bar, "DBNavigator1");
    DBNavigator1->setVisibleButtons(
        {DbNavigator::First, DbNavigator::Prior, DbNavigator::Next, DbNavigator::Last});
    DBNavigator1->setDataSource(&dskhxx);
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

    edtRQ1 = named<QLineEdit>(panel, "edtRQ1");
    edtRQ2 = named<QLineEdit>(panel, "edtRQ2");
    Button2 = button(panel, "Button2", QStringLiteral("..."));
    Button3 = button(panel, "Button3", QStringLiteral("..."));
    edtXQDZ = named<QLineEdit>(panel, "edtXQDZ");
    cbLC = combo("cbLC");
    cbHX = combo("cbHX");
    cbFS = combo("cbFS");
    edtMJ1 = named<QLineEdit>(panel, "edtMJ1");
    edtJG1 = named<QLineEdit>(panel, "edtJG1");
    cbWZ = combo("cbWZ");
    cbSFYX = named<QCheckBox>(panel, "cbSFYX");
    cbSFYX->setText(QStringLiteral("是否有效"));
    cbSFYX->setChecked(true);
    BitBtn5 = button(panel, "BitBtn5", QStringLiteral("速查"));

    for (QLineEdit* e : {edtMJ1, edtJG1}) {
        QueryWindow::setDigitsOnly(e);
        e->setMaximumWidth(70);
    }
    for (QLineEdit* e : {edtRQ1, edtRQ2}) {
        e->setReadOnly(true);
        e->setMaximumWidth(70);
    }
    for (QPushButton* b : {Button2, Button3})
        b->setFixedWidth(22);

    // Row 1: date range and address description.
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
    label(QStringLiteral("日期范围"), 0, 0);
    g->addWidget(dates, 0, 1, 1, 3);
    label(QStringLiteral("地址描述"), 0, 4);
    g->addWidget(edtXQDZ, 0, 5, 1, 5);
    // Row 2: floor, house type, demand mode, area, price.
    label(QStringLiteral("楼层"), 1, 0);
    g->addWidget(cbLC, 1, 1);
    label(QStringLiteral("户型"), 1, 2);
    g->addWidget(cbHX, 1, 3);
    label(QStringLiteral("方式"), 1, 4);
    g->addWidget(cbFS, 1, 5);
    label(QStringLiteral("面积"), 1, 6);
    g->addWidget(edtMJ1, 1, 7);
    label(QStringLiteral("价格"), 1, 8);
    g->addWidget(edtJG1, 1, 9);
    // Row 3: location, validity, 速查.
    label(QStringLiteral("位置"), 2, 0);
    g->addWidget(cbWZ, 2, 1, 1, 3);
    g->addWidget(cbSFYX, 2, 4, 1, 2);
    g->addWidget(BitBtn5, 2, 9);
    root->addWidget(panel);

    QWidget* chain[] = {edtRQ1, Button2, edtRQ2, Button3, edtXQDZ, cbLC, cbHX,
                        cbFS,   edtMJ1,  edtJG1, cbSFYX,  BitBtn5, cbWZ};
    for (size_t i = 1; i < std::size(chain); ++i)
        setTabOrder(chain[i - 1], chain[i]);

    DBGridEh1 = named<DbGrid>(this, "DBGridEh1");
    QueryWindow::setupGrid(DBGridEh1, &dskhxx, config());
    root->addWidget(DBGridEh1, 1);

    connect(BitBtn5, &QPushButton::clicked, this, &TFrmKHCX::BitBtn5Click);
    connect(BitBtn1, &QPushButton::clicked, this, &TFrmKHCX::BitBtn1Click);
    connect(BitBtn2, &QPushButton::clicked, this, &TFrmKHCX::BitBtn2Click);
    connect(Button2, &QPushButton::clicked, this, &TFrmKHCX::Button2Click);
    connect(Button3, &QPushButton::clicked, this, &TFrmKHCX::Button3Click);
    connect(Button1, &QPushButton::clicked, this, &TFrmKHCX::Button1Click);
    connect(BitBtn8, &QPushButton::clicked, this, &TFrmKHCX::BitBtn8Click);
    connect(btnLL, &QPushButton::clicked, this, &TFrmKHCX::btnLLClick);
    connect(DBGridEh1, &DbGrid::rowDoubleClicked, this, &TFrmKHCX::btnLLClick);
    connect(BitBtn3, &QPushButton::clicked, this, &TFrmKHCX::BitBtn3Click);
    connect(BitBtn6, &QPushButton::clicked, this, &TFrmKHCX::BitBtn6Click);
    connect(BitBtn4, &QPushButton::clicked, this, &TFrmKHCX::BitBtn4Click);
}

void TFrmKHCX::FormCreate()
{
    edtRQ1->setText(QSRQ);
    edtRQ2->setText(CZRQ);
    // A failing step is reported and the remaining ones are skipped; the window opens.
    guarded([this] {
        openStatement(CustomerSearch::firstSearch(QSRQ, CZRQ));
        QueryWindow::fitDefaultWidths(DBGridEh1, config());
        for (const CustomerSearch::DictionaryList& d : CustomerSearch::dictionaryLists()) {
            auto* list = findChild<QComboBox*>(d.control);
            QueryWindow::fillList(list, d.statement, d.column);
            if (d.anyFirst) {
                list->insertItem(0, CustomerSearch::any());
                list->setCurrentIndex(-1);
                list->setEditText(QString());
            }
        }
    });
}

void TFrmKHCX::openStatement(const QStringList& lines)
{
    qrykhxx.close();
    qrykhxx.clearSql();
    for (const QString& l : lines)
        qrykhxx.addSql(l);
    qrykhxx.open();
}

void TFrmKHCX::BitBtn5Click()
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
    qrykhxx.close(); // a refused statement leaves the result closed
    openStatement(CustomerSearch::quickSearch(s));
}

void TFrmKHCX::BitBtn1Click()
{
    QueryWindow::builderSearch(this, &qrykhxx, config(), &CustomerSearch::builderSearch);
}

void TFrmKHCX::BitBtn2Click()
{
    QueryWindow::chooseColumns(DBGridEh1);
}

void TFrmKHCX::Button2Click()
{
    QueryWindow::pickDate(this, edtRQ1);
}

void TFrmKHCX::Button3Click()
{
    QueryWindow::pickDate(this, edtRQ2);
}

void TFrmKHCX::Button1Click()
{
    QueryWindow::printResult(this, DBGridEh1, &qrykhxx, CustomerSearch::printTitle(CZRQ),
                             CustomerSearch::signatureLine(CurUser.YGXM));
}

void TFrmKHCX::BitBtn8Click()
{
    QueryWindow::exportResult(this, DBGridEh1, &qrykhxx, config().exportTitle);
}

void TFrmKHCX::btnLLClick()
{
    TFrmLLKH card(this);
    m_card = &card;
    dialogs().exec(&card);
    m_card = nullptr;
    if (qrykhxx.isActive() && qrykhxx.isEditing()) qrykhxx.cancel();
}

void TFrmKHCX::BitBtn3Click()
{
    customerExport(this, qrykhxx);
}

void TFrmKHCX::BitBtn6Click()
{
    customerImport(this);
}

void TFrmKHCX::BitBtn4Click()
{
    close();
}

void TFrmKHCX::FormClose()
{
    qrykhxx.close();
}

void TFrmKHCX::done(int r)
{
    FormClose();
    QDialog::done(r);
}

void TFrmKHCX::qrykhxxBeforePost(Query& q)
{
    if (CustomerSearch::addressDefaultsToAny(q.value(QStringLiteral("地址描述"))))
        q.setValue(QStringLiteral("地址描述"), CustomerSearch::any());
}
