#include "common/QueryFrame.h"

#include "app/core/PubVars.h"
#include "common/CharLimit.h"
#include "common/Dialogs.h"
#include "common/ExchangeRun.h"
#include "common/Guard.h"
#include "common/WidgetUtil.h"
#include "common/core/FollowUps.h"
#include "data/Dmbasic.h"

#include <QFrame>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QVBoxLayout>

namespace
{

QFrame* separator(QWidget* parent)
{
    auto* f = new QFrame(parent);
    f->setFrameShape(QFrame::VLine);
    f->setFrameShadow(QFrame::Sunken);
    return f;
}

template <typename T> T* named(QWidget* parent, const char* name)
{
    auto* w = new T(parent);
    w->setObjectName(QString::fromLatin1(name));
    return w;
}

QList<QueryTool>& extraTools()
{
    static QList<QueryTool> tools;
    return tools;
}

} // namespace

void QueryFrame::setExtraTools(const QList<QueryTool>& tools)
{
    extraTools() = tools;
}

QueryFrame::QueryFrame(const QueryWindowConfig& config, QWidget* parent)
    : QDialog(parent), m_config(config), m_rows(dmbasic ? &dmbasic->adoCntnfybase : nullptr)
{
    setObjectName(config.names.window);
    m_rows.setObjectName(config.names.rowSet);
    m_link.setObjectName(config.names.dataSource);
    m_link.setDataSet(&m_rows);
    DataSetPost1 = new DataSetPostAction(&m_link, this);
    DataSetDelete1 = new DataSetDeleteAction(&m_link, this);

    // Rows are added only by the entry window and by import.
    m_rows.beforeInsert = [](Query&) { throw SilentAbort(); };
    m_rows.beforeDelete = [this](Query&) {
        if (!dialogs().question(m_card ? m_card.data() : this, m_config.texts.deleteQuestion))
            throw SilentAbort();
    };
    // Each result gets the date of every record's last follow-up note.
    m_rows.computedColumns = FollowUps::lastColumns;
    m_rows.beforePost = [this](Query& q) {
        if (!m_config.beforePost) return;
        if (const auto failed = m_config.beforePost(q)) refuseSave(*failed);
    };
    buildFrame();
    FormCreate();
}

QueryFrame::~QueryFrame()
{
    m_rows.close();
}

void QueryFrame::buildFrame()
{
    setWindowTitle(m_config.texts.caption);
    if (m_config.fontPx > 0) setFont(pixelFont(QStringLiteral("宋体"), m_config.fontPx));
    resize(758, 527);
    setSizeGripEnabled(true);
    auto* root = new QVBoxLayout(this);
    root->setContentsMargins(0, 0, 0, 0);
    root->setSpacing(2);

    auto* title = new QLabel(m_config.texts.title, this);
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
    DBNavigator1->setDataSource(&m_link);
    BitBtn1 = namedButton(bar, "BitBtn1", QStringLiteral("查询"));
    btnLL = namedButton(bar, "btnLL", QStringLiteral("查看"));
    BitBtn2 = namedButton(bar, "BitBtn2", QStringLiteral("项目"));
    BitBtn3 = namedButton(bar, "BitBtn3", QStringLiteral("导出"));
    BitBtn6 = namedButton(bar, "BitBtn6", QStringLiteral("导入"));
    BitBtn8 = namedButton(bar, "BitBtn8", QStringLiteral("生成Excel"));
    Button1 = namedButton(bar, "Button1", QStringLiteral("打印"));
    BitBtn4 = namedButton(bar, "BitBtn4", QStringLiteral("退出"));
    btnPP = namedButton(bar, "btnPP", m_config.match.button);
    const QList<QWidget*> tools = {DBNavigator1, nullptr, BitBtn1, btnLL,   nullptr,
                                   BitBtn2,      BitBtn3, BitBtn6, nullptr, BitBtn8,
                                   Button1,      nullptr, BitBtn4, nullptr, btnPP};
    for (QWidget* t : tools)
        tb->addWidget(t ? t : separator(bar));
    for (const QueryTool& tool : std::as_const(extraTools())) {
        QPushButton* b = namedButton(bar, tool.name.toUtf8().constData(), tool.text);
        tb->addWidget(b);
        const auto run = tool.run;
        connect(b, &QPushButton::clicked, this, [this, run] { guarded([&] { run(*this); }); });
    }
    tb->addStretch();
    root->addWidget(bar);

    // Quick-search panel: the controls both registers have; the register lays them out.
    auto* panelFrame = new QFrame(this);
    panelFrame->setFrameShape(QFrame::StyledPanel);
    panelFrame->setFont(pixelFont(QStringLiteral("宋体"), 12));
    m_panel = new QGridLayout(panelFrame);
    m_panel->setContentsMargins(6, 4, 6, 4);
    m_panel->setHorizontalSpacing(4);
    m_panel->setVerticalSpacing(3);
    cbSFYX = named<QCheckBox>(panelFrame, "cbSFYX");
    cbSFYX->setText(QStringLiteral("是否有效"));
    cbSFYX->setChecked(true);
    for (auto [list, name] : {std::pair{&cbFS, "cbFS"}, std::pair{&cbLC, "cbLC"},
                              std::pair{&cbHX, "cbHX"}, std::pair{&cbWZ, "cbWZ"}}) {
        *list = named<QComboBox>(panelFrame, name);
        (*list)->setEditable(true);
        (*list)->setInsertPolicy(QComboBox::NoInsert);
        (*list)->setMinimumWidth(80);
        limitChars((*list)->lineEdit(), kSearchChars);
    }
    edtXQDZ = named<QLineEdit>(panelFrame, "edtXQDZ");
    limitChars(edtXQDZ, kSearchChars);
    edtMJ1 = digitsBox("edtMJ1");
    edtJG1 = digitsBox("edtJG1");
    edtRQ1 = named<QLineEdit>(panelFrame, "edtRQ1");
    edtRQ2 = named<QLineEdit>(panelFrame, "edtRQ2");
    for (QLineEdit* e : {edtRQ1, edtRQ2}) {
        e->setReadOnly(true);
        e->setMaximumWidth(70);
    }
    Button2 = namedButton(panelFrame, "Button2", QStringLiteral("..."));
    Button3 = namedButton(panelFrame, "Button3", QStringLiteral("..."));
    for (QPushButton* b : {Button2, Button3})
        b->setFixedWidth(22);
    BitBtn5 = namedButton(panelFrame, "BitBtn5", QStringLiteral("速查"));
    root->addWidget(panelFrame);

    DBGridEh1 = named<DbGrid>(this, "DBGridEh1");
    QueryWindow::setupGrid(DBGridEh1, &m_link, m_config);
    // Both registers' grids end with the date of each record's last follow-up note,
    // sortable (records nobody has followed up come first).
    DBGridEh1->setColumns(
        DBGridEh1->model()->columns() +
        QList<GridColumn>{{FollowUps::LastColumn, FollowUps::LastColumn, -1, {}, true}});
    root->addWidget(DBGridEh1, 1);

    connect(BitBtn5, &QPushButton::clicked, this, &QueryFrame::BitBtn5Click);
    connect(BitBtn1, &QPushButton::clicked, this, &QueryFrame::BitBtn1Click);
    connect(BitBtn2, &QPushButton::clicked, this, &QueryFrame::BitBtn2Click);
    connect(Button2, &QPushButton::clicked, this, &QueryFrame::Button2Click);
    connect(Button3, &QPushButton::clicked, this, &QueryFrame::Button3Click);
    connect(Button1, &QPushButton::clicked, this, &QueryFrame::Button1Click);
    connect(BitBtn8, &QPushButton::clicked, this, &QueryFrame::BitBtn8Click);
    connect(btnLL, &QPushButton::clicked, this, &QueryFrame::btnLLClick);
    connect(DBGridEh1, &DbGrid::rowDoubleClicked, this, &QueryFrame::btnLLClick);
    connect(BitBtn3, &QPushButton::clicked, this, &QueryFrame::BitBtn3Click);
    connect(BitBtn6, &QPushButton::clicked, this, &QueryFrame::BitBtn6Click);
    connect(BitBtn4, &QPushButton::clicked, this, &QueryFrame::BitBtn4Click);
    connect(btnPP, &QPushButton::clicked, this, &QueryFrame::btnPPClick);
    followRows(&m_link, btnPP, [this] { btnPP->setEnabled(holdsRow()); });
}

QWidget* QueryFrame::panelWidget() const
{
    return m_panel->parentWidget();
}

void QueryFrame::addCaption(const QString& text, int row, int column)
{
    m_panel->addWidget(new QLabel(text, panelWidget()), row, column);
}

QLineEdit* QueryFrame::digitsBox(const char* name)
{
    auto* e = named<QLineEdit>(panelWidget(), name);
    QueryWindow::setDigitsOnly(e);
    e->setMaximumWidth(60);
    return e;
}

QWidget* QueryFrame::strip(const QList<QWidget*>& parts, bool stretch)
{
    auto* w = new QWidget(panelWidget());
    auto* h = new QHBoxLayout(w);
    h->setContentsMargins(0, 0, 0, 0);
    h->setSpacing(2);
    for (QWidget* part : parts)
        h->addWidget(part ? part : new QLabel(QStringLiteral("至"), w));
    if (stretch) h->addStretch();
    return w;
}

QWidget* QueryFrame::range(QLineEdit* from, QLineEdit* to)
{
    return strip({from, nullptr, to}, false);
}

QWidget* QueryFrame::dateRange()
{
    return strip({edtRQ1, Button2, nullptr, edtRQ2, Button3}, true);
}

void QueryFrame::setPanelTabOrder(const QList<QWidget*>& chain)
{
    for (int i = 1; i < chain.size(); ++i)
        setTabOrder(chain[i - 1], chain[i]);
}

void QueryFrame::FormCreate()
{
    edtRQ1->setText(QSRQ);
    edtRQ2->setText(CZRQ);
    // A failing step is reported and the remaining ones are skipped; the window opens.
    guarded([this] {
        openStatement(RegisterRules::firstSearch(m_config.table, QSRQ, CZRQ));
        for (const RegisterRules::DictionaryList& d : m_config.lists)
            fillList(findChild<QComboBox*>(d.control), d);
    });
}

void QueryFrame::openStatement(const QStringList& lines)
{
    m_rows.close();
    m_rows.clearSql();
    for (const QString& l : lines)
        m_rows.addSql(l);
    m_rows.open();
    QueryWindow::fitDefaultWidths(DBGridEh1);
}

void QueryFrame::BitBtn5Click()
{
    const RegisterRules::SearchPanel shared{
        edtRQ1->text(),      edtRQ2->text(),      cbSFYX->isChecked(), cbFS->currentText(),
        cbLC->currentText(), cbHX->currentText(), cbWZ->currentText()};
    m_rows.close(); // a refused statement leaves the result closed
    openStatement(quickSearchLines(shared));
}

void QueryFrame::BitBtn1Click()
{
    if (QueryWindow::builderSearch(this, &m_rows, m_config))
        QueryWindow::fitDefaultWidths(DBGridEh1);
}

void QueryFrame::BitBtn2Click()
{
    QueryWindow::chooseColumns(DBGridEh1);
}

void QueryFrame::Button2Click()
{
    QueryWindow::pickDate(this, edtRQ1);
}

void QueryFrame::Button3Click()
{
    QueryWindow::pickDate(this, edtRQ2);
}

void QueryFrame::Button1Click()
{
    QueryWindow::printResult(this, DBGridEh1, &m_rows,
                             RegisterRules::printTitle(CZRQ, m_config.texts.printTitleTail),
                             RegisterRules::signatureLine(CurUser.YGXM));
}

void QueryFrame::BitBtn8Click()
{
    QueryWindow::exportResult(this, DBGridEh1, &m_rows, m_config.texts.exportTitle);
}

void QueryFrame::btnLLClick()
{
    std::unique_ptr<QDialog> card = makeCard();
    m_card = card.get();
    dialogs().exec(card.get());
    card.reset();
    m_card = nullptr;
    // Leaving the card discards unsaved changes without a question.
    if (m_rows.isActive() && m_rows.isEditing()) m_rows.cancel();
}

void QueryFrame::BitBtn3Click()
{
    ExchangeRun::exportResult(this, m_rows, m_config.exchange.layout,
                              dmbasic->*m_config.exchange.query);
}

void QueryFrame::BitBtn6Click()
{
    ExchangeRun::importFile(this, m_config.exchange.layout, dmbasic->*m_config.exchange.query);
}

void QueryFrame::BitBtn4Click()
{
    close();
}

void QueryFrame::FormClose()
{
    m_rows.close();
}

void QueryFrame::done(int r)
{
    FormClose();
    QDialog::done(r);
}

bool QueryFrame::holdsRow() const
{
    return m_rows.isActive() && !m_rows.isEmpty();
}

void QueryFrame::btnPPClick()
{
    matchCurrent(this);
}

void QueryFrame::matchCurrent(QWidget* from)
{
    if (holdsRow() && m_config.match.run) m_config.match.run(m_rows, from);
}

void QueryFrame::showRecord(const QString& archive)
{
    openStatement(RegisterRules::oneRecord(m_config.table, archive));
    btnLLClick();
}

void QueryFrame::refuseSave(const RegisterRules::FailedCheck& failed)
{
    QWidget* where = m_card ? m_card.data() : this;
    dialogs().message(where, failed.message);
    if (QWidget* w = where->findChild<QWidget*>(failed.control)) w->setFocus();
    throw SilentAbort();
}
