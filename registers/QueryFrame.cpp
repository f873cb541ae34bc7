#include "registers/QueryFrame.h"

#include "data/Dmbasic.h"
#include "exchange/ExchangeRun.h"
#include "records/core/FollowUps.h"
#include "registers/DictionaryLists.h"
#include "session/PubVars.h"
#include "shell/Dialogs.h"
#include "shell/Door.h"
#include "shell/Guard.h"
#include "widgets/CharLimit.h"
#include "widgets/WidgetUtil.h"

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
    : QDialog(parent), m_config(config), m_records(m_config, this)
{
    setObjectName(config.names.window);
    DataSetPost1 = m_records.post();
    DataSetDelete1 = m_records.remove();
    // The card offers the entries of this window's lists as loaded when it opened.
    m_records.setListItems([this](const QString& control) {
        const auto* list = findChild<QComboBox*>(control);
        return list ? itemsOf(list) : QStringList();
    });
    buildFrame();
    FormCreate();
}

QueryFrame::~QueryFrame()
{
    rows().close();
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
    DBNavigator1->setDataSource(&rowsLink());
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
        onSignal(b, &QPushButton::clicked, this, [this, run] { guarded([&] { run(*this); }); });
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
    QueryWindow::setupGrid(DBGridEh1, &rowsLink(), m_config);
    // Both registers' grids end with the date of each record's last follow-up note,
    // sortable (records nobody has followed up come first).
    DBGridEh1->setColumns(
        DBGridEh1->model()->columns() +
        QList<GridColumn>{{FollowUps::LastColumn, FollowUps::LastColumn, -1, {}, true}});
    root->addWidget(DBGridEh1, 1);

    onSignal(BitBtn5, &QPushButton::clicked, this, &QueryFrame::BitBtn5Click);
    onSignal(BitBtn1, &QPushButton::clicked, this, &QueryFrame::BitBtn1Click);
    onSignal(BitBtn2, &QPushButton::clicked, this, &QueryFrame::BitBtn2Click);
    onSignal(Button2, &QPushButton::clicked, this, &QueryFrame::Button2Click);
    onSignal(Button3, &QPushButton::clicked, this, &QueryFrame::Button3Click);
    onSignal(Button1, &QPushButton::clicked, this, &QueryFrame::Button1Click);
    onSignal(BitBtn8, &QPushButton::clicked, this, &QueryFrame::BitBtn8Click);
    onSignal(btnLL, &QPushButton::clicked, this, &QueryFrame::btnLLClick);
    onSignal(DBGridEh1, &DbGrid::rowDoubleClicked, this, &QueryFrame::btnLLClick);
    onSignal(BitBtn3, &QPushButton::clicked, this, &QueryFrame::BitBtn3Click);
    onSignal(BitBtn6, &QPushButton::clicked, this, &QueryFrame::BitBtn6Click);
    onSignal(BitBtn4, &QPushButton::clicked, this, &QueryFrame::BitBtn4Click);
    onSignal(btnPP, &QPushButton::clicked, this, &QueryFrame::btnPPClick);
    followRows(&rowsLink(), btnPP, [this] { btnPP->setEnabled(holdsRow()); });
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
    m_records.open(lines);
    QueryWindow::fitDefaultWidths(DBGridEh1);
}

void QueryFrame::BitBtn5Click()
{
    const RegisterRules::SearchPanel shared{
        edtRQ1->text(),      edtRQ2->text(),      cbSFYX->isChecked(), cbFS->currentText(),
        cbLC->currentText(), cbHX->currentText(), cbWZ->currentText()};
    rows().close(); // a refused statement leaves the result closed
    openStatement(quickSearchLines(shared));
}

void QueryFrame::BitBtn1Click()
{
    if (QueryWindow::builderSearch(this, &rows(), m_config))
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
    QueryWindow::printResult(this, DBGridEh1, &rows(),
                             RegisterRules::printTitle(CZRQ, m_config.texts.printTitleTail),
                             RegisterRules::signatureLine(CurUser.YGXM));
}

void QueryFrame::BitBtn8Click()
{
    QueryWindow::exportResult(this, DBGridEh1, &rows(), m_config.texts.exportTitle);
}

void QueryFrame::btnLLClick()
{
    std::unique_ptr<QDialog> card = makeCard();
    m_records.setCard(card.get());
    dialogs().exec(card.get());
    card.reset();
    m_records.setCard(nullptr);
    // Leaving the card discards unsaved changes without a question.
    if (rows().isActive() && rows().isEditing()) rows().cancel();
}

void QueryFrame::BitBtn3Click()
{
    ExchangeRun::exportResult(this, rows(), m_config.exchange.layout,
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
    rows().close();
}

void QueryFrame::done(int r)
{
    FormClose();
    QDialog::done(r);
}

void QueryFrame::btnPPClick()
{
    matchCurrent(this);
}
