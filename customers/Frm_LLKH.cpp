#include "customers/Frm_LLKH.h"

#include "app/core/PubVars.h"
#include "common/WidgetUtil.h"
#include "customers/Frm_khcx.h"
#include "data/Text.h"

#include <QFrame>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QScreen>
#include <QVBoxLayout>

bool TFrmLLKH::showsPersonalFields(const QString& role)
{
    return role == Roles::Senior || role == Roles::Admin;
}

TFrmLLKH::TFrmLLKH(TFrmKHCX* owner)
    : QDialog(owner ? owner : FrmKHCX), m_owner(owner ? owner : FrmKHCX)
{
    setObjectName(QStringLiteral("FrmLLKH"));
    buildUi();
    // The lists take the query window's items as loaded when it opened ("不限" first).
    lcBox->setItems(itemsOf(m_owner->cbLC));
    hxBox->setItems(itemsOf(m_owner->cbHX));
    wzBox->setItems(itemsOf(m_owner->cbWZ));
    const bool personal = showsPersonalFields(CurUser.GNZ);
    for (QWidget* w : m_personal)
        w->setVisible(personal);
}

Query* TFrmLLKH::row() const
{
    return &m_owner->qrykhxx;
}

bool TFrmLLKH::personalFieldsVisible() const
{
    return !DBEdit9->isHidden();
}

void TFrmLLKH::buildUi()
{
    setWindowTitle(QStringLiteral("查看客户信息客户"));
    setFont(pixelFont(QStringLiteral("宋体"), 15));
    setFixedSize(585, 390);
    if (QScreen* s = screen()) move(s->availableGeometry().center() - rect().center());
    DataSource* ds = &m_owner->dskhxx;

    auto edit = [&](const char* name, const QString& field) {
        auto* e = new DbEdit(this);
        e->setObjectName(QString::fromLatin1(name));
        e->bind(ds, field);
        return e;
    };
    auto label = [&](const QString& text) { return new QLabel(text, this); };
    auto pair = [&](QWidget* a, QWidget* b) {
        auto* h = new QHBoxLayout();
        h->setSpacing(2);
        h->addWidget(a);
        h->addWidget(label(QStringLiteral("-")));
        h->addWidget(b);
        return h;
    };

    auto* root = new QVBoxLayout(this);
    root->setContentsMargins(8, 4, 8, 6);
    root->setSpacing(4);
    auto* title = new QLabel(QStringLiteral("客户信息档案卡"), this);
    title->setObjectName(QStringLiteral("lblTitle"));
    title->setFont(pixelFont(QStringLiteral("楷体_GB2312"), 24, true));
    title->setAlignment(Qt::AlignCenter);
    root->addWidget(title);

    auto* panel = new QFrame(this);
    panel->setFrameShape(QFrame::StyledPanel);
    auto* g = new QGridLayout(panel);
    g->setHorizontalSpacing(4);
    g->setVerticalSpacing(4);

    DBEdit2 = edit("DBEdit2", QStringLiteral("地址描述"));
    DBEdit1 = edit("DBEdit1", QStringLiteral("需求方式"));
    DBEdit3 = edit("DBEdit3", QStringLiteral("权属"));
    DBEdit5 = edit("DBEdit5", QStringLiteral("面积1"));
    DBEdit6 = edit("DBEdit6", QStringLiteral("面积2"));
    DBEdit7 = edit("DBEdit7", QStringLiteral("价格1"));
    DBEdit8 = edit("DBEdit8", QStringLiteral("价格2"));
    DBEdit1->setReadOnly(true);
    DBEdit3->setReadOnly(true);
    lcBox = new DbListOverlay(QStringLiteral("DBEdit4"), QStringLiteral("cbLC"), this);
    hxBox = new DbListOverlay(QStringLiteral("DBEdit12"), QStringLiteral("cbHX"), this);
    wzBox = new DbListOverlay(QStringLiteral("DBEdit13"), QStringLiteral("cbWZ"), this);
    lcBox->setFixedWidth(105);
    hxBox->setFixedWidth(105);
    wzBox->setFixedWidth(169);
    DBEdit4 = lcBox->edit();
    DBEdit12 = hxBox->edit();
    DBEdit13 = wzBox->edit();
    cbLC = lcBox->list();
    cbHX = hxBox->list();
    cbWZ = wzBox->list();
    DBEdit4->bind(ds, QStringLiteral("楼层"));
    DBEdit12->bind(ds, QStringLiteral("户型"));
    DBEdit13->bind(ds, QStringLiteral("位置"));
    DBMemo1 = new DbMemo(this);
    DBMemo1->setObjectName(QStringLiteral("DBMemo1"));
    DBMemo1->bind(ds, QStringLiteral("需求设施"));
    DBMemo1->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);

    g->addWidget(label(QStringLiteral("地址描述")), 0, 0);
    g->addWidget(DBEdit2, 0, 1, 1, 3);
    g->addWidget(label(QStringLiteral("方式")), 0, 4);
    g->addWidget(DBEdit1, 0, 5);
    g->addWidget(label(QStringLiteral("权属")), 1, 0);
    g->addWidget(DBEdit3, 1, 1);
    g->addWidget(label(QStringLiteral("面积")), 1, 2);
    g->addLayout(pair(DBEdit5, DBEdit6), 1, 3);
    g->addWidget(label(QStringLiteral("价格")), 1, 4);
    g->addLayout(pair(DBEdit7, DBEdit8), 1, 5);
    g->addWidget(label(QStringLiteral("楼层")), 2, 0);
    g->addWidget(lcBox, 2, 1);
    g->addWidget(label(QStringLiteral("户型")), 2, 2);
    g->addWidget(hxBox, 2, 3);
    g->addWidget(label(QStringLiteral("位置")), 2, 4);
    g->addWidget(wzBox, 2, 5);
    g->addWidget(label(QStringLiteral("需求设施")), 3, 0, Qt::AlignTop);
    g->addWidget(DBMemo1, 3, 1, 1, 5);

    auto* divider = new QFrame(panel);
    divider->setObjectName(QStringLiteral("Bevel1"));
    divider->setFrameShape(QFrame::HLine);
    divider->setFrameShadow(QFrame::Sunken);
    g->addWidget(divider, 4, 0, 1, 6);

    // The customer's name and phones, for senior roles only.
    DBEdit9 = edit("DBEdit9", QStringLiteral("客户姓名"));
    DBEdit10 = edit("DBEdit10", QStringLiteral("电话"));
    DBEdit11 = edit("DBEdit11", QStringLiteral("手机"));
    auto personalLabel = [&](const char* name, const QString& text) {
        QLabel* l = label(text);
        l->setObjectName(QString::fromLatin1(name));
        m_personal << l;
        return l;
    };
    g->addWidget(personalLabel("lblKHXM", QStringLiteral("客户姓名")), 5, 0);
    g->addWidget(DBEdit9, 5, 1);
    g->addWidget(personalLabel("lblDH", QStringLiteral("电话")), 5, 2);
    g->addWidget(DBEdit10, 5, 3);
    g->addWidget(personalLabel("lblSJ", QStringLiteral("手机")), 5, 4);
    g->addWidget(DBEdit11, 5, 5);
    m_personal << DBEdit9 << DBEdit10 << DBEdit11;
    root->addWidget(panel, 1);

    // Bottom strip.
    DBCheckBox1 = new DbCheckBox(this);
    DBCheckBox1->setObjectName(QStringLiteral("DBCheckBox1"));
    DBCheckBox1->setText(QStringLiteral("是否有效"));
    DBCheckBox1->bind(ds, QStringLiteral("类型"), QStringLiteral("有效"), QStringLiteral("无效"));
    Button1 = new QPushButton(this);
    Button1->setObjectName(QStringLiteral("Button1"));
    Button3 = new QPushButton(this);
    Button3->setObjectName(QStringLiteral("Button3"));
    BitBtn1 = new QPushButton(QStringLiteral("退出"), this);
    BitBtn1->setObjectName(QStringLiteral("BitBtn1"));
    for (QPushButton* b : {Button1, Button3, BitBtn1})
        b->setAutoDefault(false);
    // The buttons follow the query window's row actions: caption, availability, press.
    auto bindAction = [](QPushButton* b, QAction* a) {
        auto sync = [b, a] {
            b->setText(a->text());
            b->setEnabled(a->isEnabled());
        };
        sync();
        connect(a, &QAction::changed, b, sync);
        connect(b, &QPushButton::clicked, a, &QAction::trigger);
    };
    bindAction(Button1, m_owner->DataSetPost1);
    bindAction(Button3, m_owner->DataSetDelete1);

    auto* bottom = new QHBoxLayout();
    bottom->addWidget(DBCheckBox1);
    bottom->addStretch();
    bottom->addWidget(Button1);
    bottom->addWidget(Button3);
    bottom->addWidget(BitBtn1);
    root->addLayout(bottom);

    QWidget* chain[] = {DBEdit2,  DBEdit1,  DBEdit3,     DBEdit5, DBEdit6, DBEdit7,
                        DBEdit8,  cbLC,     cbHX,        cbWZ,    DBMemo1, DBEdit9,
                        DBEdit10, DBEdit11, DBCheckBox1, Button1, Button3, BitBtn1};
    for (size_t i = 1; i < std::size(chain); ++i)
        setTabOrder(chain[i - 1], chain[i]);

    connect(cbLC, &QComboBox::activated, this, &TFrmLLKH::cbLCChange);
    connect(cbHX, &QComboBox::activated, this, &TFrmLLKH::cbHXChange);
    connect(cbWZ, &QComboBox::activated, this, &TFrmLLKH::cbWZChange);
    connect(BitBtn1, &QPushButton::clicked, this, &QDialog::accept);
}

void TFrmLLKH::writeChoice(QComboBox* list, const QString& field)
{
    Query* q = row();
    if (!q->isActive() || q->isEmpty()) return;
    if (!q->isEditing()) q->edit();
    q->setValue(field, Text::trim(list->currentText()));
}

void TFrmLLKH::cbLCChange()
{
    writeChoice(cbLC, QStringLiteral("楼层"));
}

void TFrmLLKH::cbHXChange()
{
    writeChoice(cbHX, QStringLiteral("户型"));
}

void TFrmLLKH::cbWZChange()
{
    writeChoice(cbWZ, QStringLiteral("位置"));
}

void TFrmLLKH::done(int r)
{
    // Leaving the card discards unsaved changes without a question.
    Query* q = row();
    if (q->isActive() && q->isEditing()) q->cancel();
    QDialog::done(r);
}
