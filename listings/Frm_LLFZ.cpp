#include "listings/Frm_LLFZ.h"

#include "app/core/PubVars.h"
#include "common/Dialogs.h"
#include "common/Guard.h"
#include "common/QueryWindow.h"
#include "common/WidgetUtil.h"
#include "data/Text.h"
#include "listings/Frm_fycx.h"

#include <QFrame>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QScreen>
#include <QVBoxLayout>

bool TFrmLLFZ::showsOwnerBlock(const QString& role)
{
    return role == Roles::Senior || role == Roles::Admin;
}

TFrmLLFZ::TFrmLLFZ(TFrmFYCX* owner)
    : QDialog(owner ? owner : FrmFYCX), m_owner(owner ? owner : FrmFYCX)
{
    setObjectName(QStringLiteral("FrmLLFZ"));
    buildUi();
    // The lists take the query window's dictionary items as a whole.
    lcBox->setItems(itemsOf(m_owner->cbLC));
    hxBox->setItems(itemsOf(m_owner->cbHX));
    wzBox->setItems(itemsOf(m_owner->cbWZ));
    const bool owners = showsOwnerBlock(CurUser.GNZ);
    for (QWidget* w : m_ownerBlock)
        w->setVisible(owners);
}

Query* TFrmLLFZ::row() const
{
    return &m_owner->qryFwxx;
}

bool TFrmLLFZ::ownerBlockVisible() const
{
    return !DBEdit5->isHidden();
}

void TFrmLLFZ::buildUi()
{
    setWindowTitle(QStringLiteral("查看房源信息"));
    setFont(pixelFont(QStringLiteral("宋体"), 15));
    setFixedSize(650, 450);
    if (QScreen* s = screen()) move(s->availableGeometry().center() - rect().center());
    DataSource* ds = &m_owner->dsFwxx;

    auto edit = [&](const char* name, const QString& field) {
        auto* e = new DbEdit(this);
        e->setObjectName(QString::fromLatin1(name));
        e->bind(ds, field);
        return e;
    };
    auto label = [&](const QString& text) { return new QLabel(text, this); };

    auto* root = new QVBoxLayout(this);
    root->setContentsMargins(8, 4, 8, 6);
    root->setSpacing(4);
    auto* title = new QLabel(QStringLiteral("房源信息档案卡"), this);
    title->setObjectName(QStringLiteral("lblTitle"));
    title->setFont(pixelFont(QStringLiteral("楷体_GB2312"), 24, true));
    title->setAlignment(Qt::AlignCenter);
    root->addWidget(title);

    DBEdit1 = edit("DBEdit1", QStringLiteral("小区名称"));
    DBEdit2 = edit("DBEdit2", QStringLiteral("地址"));
    DBEdit3 = edit("DBEdit3", QStringLiteral("房屋面积"));
    lcBox = new DbListOverlay(QStringLiteral("DBEdit13"), QStringLiteral("cbLC"), this);
    hxBox = new DbListOverlay(QStringLiteral("DBEdit14"), QStringLiteral("cbHX"), this);
    DBEdit4 = edit("DBEdit4", QStringLiteral("信息价格"));
    DBEdit16 = edit("DBEdit16", QStringLiteral("设施"));
    wzBox = new DbListOverlay(QStringLiteral("DBEdit15"), QStringLiteral("cbWZ"), this);
    DBEdit11 = edit("DBEdit11", QStringLiteral("方式"));
    DBEdit12 = edit("DBEdit12", QStringLiteral("权属"));
    DBEdit9 = edit("DBEdit9", QStringLiteral("新旧程度"));
    DBEdit17 = edit("DBEdit17", QStringLiteral("公交线路"));
    DBEdit19 = edit("DBEdit19", QStringLiteral("房屋结构文件"));
    DBEdit13 = lcBox->edit();
    DBEdit14 = hxBox->edit();
    DBEdit15 = wzBox->edit();
    cbLC = lcBox->list();
    cbHX = hxBox->list();
    cbWZ = wzBox->list();
    DBEdit13->bind(ds, QStringLiteral("楼层"));
    DBEdit14->bind(ds, QStringLiteral("户型"));
    DBEdit15->bind(ds, QStringLiteral("位置"));
    for (DbEdit* e : {DBEdit4, DBEdit11, DBEdit12})
        e->setReadOnly(true);

    Button5 = new QPushButton(QStringLiteral("联接房屋结构文件"), this);
    Button5->setObjectName(QStringLiteral("Button5"));
    Button4 = new QPushButton(QStringLiteral("打开"), this);
    Button4->setObjectName(QStringLiteral("Button4"));

    auto* g = new QGridLayout();
    g->setHorizontalSpacing(4);
    g->setVerticalSpacing(4);
    g->addWidget(label(QStringLiteral("小区名称")), 0, 0);
    g->addWidget(DBEdit1, 0, 1, 1, 3);
    g->addWidget(label(QStringLiteral("地址")), 0, 4);
    g->addWidget(DBEdit2, 0, 5, 1, 3);
    g->addWidget(label(QStringLiteral("房屋面积")), 1, 0);
    g->addWidget(DBEdit3, 1, 1);
    g->addWidget(label(QStringLiteral("楼层")), 1, 2);
    g->addWidget(lcBox, 1, 3);
    g->addWidget(label(QStringLiteral("户型")), 1, 4);
    g->addWidget(hxBox, 1, 5);
    g->addWidget(label(QStringLiteral("价格")), 1, 6);
    g->addWidget(DBEdit4, 1, 7);
    g->addWidget(label(QStringLiteral("设施")), 2, 0);
    g->addWidget(DBEdit16, 2, 1, 1, 3);
    g->addWidget(label(QStringLiteral("位置")), 2, 4);
    g->addWidget(wzBox, 2, 5);
    g->addWidget(label(QStringLiteral("方式")), 2, 6);
    g->addWidget(DBEdit11, 2, 7);
    g->addWidget(label(QStringLiteral("权属")), 3, 0);
    g->addWidget(DBEdit12, 3, 1);
    g->addWidget(label(QStringLiteral("房龄")), 3, 2);
    g->addWidget(DBEdit9, 3, 3);
    g->addWidget(label(QStringLiteral("交通")), 3, 4);
    auto* bus = new QHBoxLayout();
    bus->addWidget(DBEdit17, 1);
    bus->addWidget(label(QStringLiteral("路公交车")));
    g->addLayout(bus, 3, 5, 1, 3);
    auto* file = new QHBoxLayout();
    file->addWidget(Button5);
    file->addWidget(DBEdit19, 1);
    file->addWidget(Button4);
    g->addLayout(file, 4, 0, 1, 8);
    root->addLayout(g);

    auto* divider = new QFrame(this);
    divider->setObjectName(QStringLiteral("Bevel1"));
    divider->setFrameShape(QFrame::HLine);
    divider->setFrameShadow(QFrame::Sunken);
    root->addWidget(divider);

    // The owner's block.
    DBEdit5 = edit("DBEdit5", QStringLiteral("房主姓名"));
    DBEdit6 = edit("DBEdit6", QStringLiteral("电话"));
    DBEdit7 = edit("DBEdit7", QStringLiteral("手机"));
    DBEdit8 = edit("DBEdit8", QStringLiteral("最低价格"));
    DBEdit20 = edit("DBEdit20", QStringLiteral("产权证号"));
    DBMemo2 = new DbMemo(this);
    DBMemo2->setObjectName(QStringLiteral("DBMemo2"));
    DBMemo2->bind(ds, QStringLiteral("备注"));
    DBMemo2->setMaximumHeight(48);
    auto* ob = new QGridLayout();
    ob->setHorizontalSpacing(4);
    auto ownerLabel = [&](const char* name, const QString& text) {
        QLabel* l = label(text);
        l->setObjectName(QString::fromLatin1(name));
        m_ownerBlock << l;
        return l;
    };
    ob->addWidget(ownerLabel("lblFZXM", QStringLiteral("房主姓名")), 0, 0);
    ob->addWidget(DBEdit5, 0, 1);
    ob->addWidget(ownerLabel("lblDH", QStringLiteral("电话")), 0, 2);
    ob->addWidget(DBEdit6, 0, 3);
    ob->addWidget(ownerLabel("lblSJ", QStringLiteral("手机")), 0, 4);
    ob->addWidget(DBEdit7, 0, 5);
    ob->addWidget(ownerLabel("lblZDJG", QStringLiteral("最低价格")), 1, 0);
    ob->addWidget(DBEdit8, 1, 1);
    ob->addWidget(ownerLabel("lblCQZH", QStringLiteral("产权证号")), 1, 2);
    ob->addWidget(DBEdit20, 1, 3, 1, 3);
    ob->addWidget(ownerLabel("lblBZ", QStringLiteral("备注")), 2, 0);
    ob->addWidget(DBMemo2, 2, 1, 1, 5);
    m_ownerBlock << DBEdit5 << DBEdit6 << DBEdit7 << DBEdit8 << DBEdit20 << DBMemo2;
    root->addLayout(ob);

    DBMemo1 = new DbMemo(this);
    DBMemo1->setObjectName(QStringLiteral("DBMemo1"));
    DBMemo1->bind(ds, QStringLiteral("看房情况"));
    auto* view = new QHBoxLayout();
    view->addWidget(label(QStringLiteral("看房情况")), 0, Qt::AlignTop);
    view->addWidget(DBMemo1, 1);
    root->addLayout(view, 1);

    // Bottom bar.
    DBCheckBox1 = new DbCheckBox(this);
    DBCheckBox1->setObjectName(QStringLiteral("DBCheckBox1"));
    DBCheckBox1->setText(QStringLiteral("是否有效"));
    DBCheckBox1->bind(ds, QStringLiteral("类型"), QStringLiteral("有效"), QStringLiteral("无效"));
    DBEdit10 = edit("DBEdit10", QStringLiteral("期限"));
    DBEdit10->setReadOnly(true);
    DBEdit10->setMaximumWidth(90);
    Button2 = new QPushButton(QStringLiteral("..."), this);
    Button2->setObjectName(QStringLiteral("Button2"));
    Button2->setFixedWidth(24);
    Button1 = new QPushButton(this);
    Button1->setObjectName(QStringLiteral("Button1"));
    Button3 = new QPushButton(this);
    Button3->setObjectName(QStringLiteral("Button3"));
    BitBtn1 = new QPushButton(QStringLiteral("退出"), this);
    BitBtn1->setObjectName(QStringLiteral("BitBtn1"));
    for (QPushButton* b : {Button2, Button1, Button3, BitBtn1, Button4, Button5})
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
    bottom->addSpacing(12);
    bottom->addWidget(label(QStringLiteral("期限")));
    bottom->addWidget(DBEdit10);
    bottom->addWidget(Button2);
    bottom->addStretch();
    bottom->addWidget(Button1);
    bottom->addWidget(Button3);
    bottom->addWidget(BitBtn1);
    root->addLayout(bottom);

    QWidget* chain[] = {DBEdit1, DBEdit2,     DBEdit3,  cbLC,    cbHX,     DBEdit4,  DBEdit16,
                        cbWZ,    DBEdit11,    DBEdit12, DBEdit9, DBEdit17, Button5,  DBEdit19,
                        Button4, DBEdit5,     DBEdit6,  DBEdit7, DBEdit8,  DBEdit20, DBMemo2,
                        DBMemo1, DBCheckBox1, DBEdit10, Button2, Button1,  Button3,  BitBtn1};
    for (size_t i = 1; i < std::size(chain); ++i)
        setTabOrder(chain[i - 1], chain[i]);

    connect(cbLC, &QComboBox::activated, this, &TFrmLLFZ::cbLCChange);
    connect(cbHX, &QComboBox::activated, this, &TFrmLLFZ::cbHXChange);
    connect(cbWZ, &QComboBox::activated, this, &TFrmLLFZ::cbWZChange);
    connect(Button2, &QPushButton::clicked, this, &TFrmLLFZ::Button2Click);
    connect(Button4, &QPushButton::clicked, this, &TFrmLLFZ::Button4Click);
    connect(Button5, &QPushButton::clicked, this, &TFrmLLFZ::Button5Click);
    connect(BitBtn1, &QPushButton::clicked, this, &QDialog::reject);
}

void TFrmLLFZ::writeChoice(QComboBox* list, const QString& field)
{
    Query* q = row();
    if (!q->isActive()) return;
    if (!q->isEditing()) q->edit();
    q->setValue(field, Text::trim(list->currentText()));
}

void TFrmLLFZ::cbLCChange()
{
    writeChoice(cbLC, QStringLiteral("楼层"));
}

void TFrmLLFZ::cbHXChange()
{
    writeChoice(cbHX, QStringLiteral("户型"));
}

void TFrmLLFZ::cbWZChange()
{
    writeChoice(cbWZ, QStringLiteral("位置"));
}

void TFrmLLFZ::Button2Click()
{
    QString date;
    if (!QueryWindow::pickDate(this, date)) return;
    Query* q = row();
    if (!q->isActive()) return;
    if (!q->isEditing()) q->edit();
    q->setValue(QStringLiteral("期限"), date);
}

void TFrmLLFZ::Button5Click()
{
    const QString path = dialogs().openFile(this, dmbasic->OpenPic);
    if (path.isEmpty()) return;
    Query* q = row();
    if (!q->isActive()) return;
    if (!q->isEditing()) q->edit();
    q->setValue(QStringLiteral("房屋结构文件"), path);
}

void TFrmLLFZ::Button4Click()
{
    Query* q = row();
    if (!q->isActive()) return;
    const QString path = Text::trim(q->text(QStringLiteral("房屋结构文件")));
    if (!path.isEmpty()) dialogs().openPath(path);
}

void TFrmLLFZ::done(int r)
{
    // Leaving the card discards unsaved changes without a question.
    Query* q = row();
    if (q->isActive() && q->isEditing()) q->cancel();
    QDialog::done(r);
}
