#include "listings/frm_Fylr.h"

#include "app/core/PubVars.h"
#include "common/DbControls.h"
#include "common/Dialogs.h"
#include "common/Guard.h"
#include "common/WidgetUtil.h"
#include "data/DbError.h"
#include "data/Text.h"
#include "listings/core/ArchiveNumber.h"
#include "listings/core/ListingEntryChecks.h"

#include <QComboBox>
#include <QFrame>
#include <QKeyEvent>
#include <QLabel>
#include <QPushButton>
#include <QScreen>
#include <QShowEvent>

namespace
{

template <typename W> W* make(QWidget* parent, const char* name, int x, int y, int w, int h)
{
    auto* c = new W(parent);
    c->setObjectName(QString::fromLatin1(name));
    c->setGeometry(x, y, w, h);
    return c;
}

QLabel* caption(QWidget* parent, const QString& text, int x, int y)
{
    auto* l = new QLabel(text, parent);
    l->adjustSize();
    l->move(x, y + (24 - l->height()) / 2);
    return l;
}

QComboBox* chooseOnly(QWidget* parent, const char* name, int x, int y, int w)
{
    auto* cb = make<QComboBox>(parent, name, x, y, w, 24);
    cb->setEditable(false);
    return cb;
}

} // namespace

TFrmfylr::TFrmfylr(QWidget* parent) : QDialog(parent)
{
    dsFwxx.setDataSet(&qryFwxx);
    qryFwxx.afterInsert = [this](Query&) { qryFwxxAfterInsert(); };
    buildUi();
    FormCreate();
}

TFrmfylr::~TFrmfylr()
{
    qryFwxx.close();
}

void TFrmfylr::buildUi()
{
    setWindowTitle(QStringLiteral("房源输入"));
    QFont f(QStringLiteral("宋体"));
    f.setPixelSize(15);
    setFont(f);
    setFixedSize(650, 450);

    auto* title = make<QLabel>(this, "Label_Title", 0, 4, 650, 38);
    title->setText(QStringLiteral("房源信息档案卡"));
    title->setAlignment(Qt::AlignCenter);
    QFont tf(QStringLiteral("楷体_GB2312"));
    tf.setPixelSize(24);
    tf.setBold(true);
    title->setFont(tf);

    auto* p = make<QFrame>(this, "Panel1", 8, 46, 634, 352);
    p->setFrameShape(QFrame::Panel);
    p->setFrameShadow(QFrame::Raised);

    // Public description of the flat.
    caption(p, QStringLiteral("小区名称"), 10, 10);
    DBEdit1 = make<DbEdit>(p, "DBEdit1", 78, 10, 200, 24);
    caption(p, QStringLiteral("地址"), 292, 10);
    DBEdit2 = make<DbEdit>(p, "DBEdit2", 330, 10, 290, 24);

    caption(p, QStringLiteral("房屋面积"), 10, 40);
    DBEdit3 = make<DbEdit>(p, "DBEdit3", 78, 40, 80, 24);
    caption(p, QStringLiteral("楼层"), 170, 40);
    cbLC = chooseOnly(p, "cbLC", 204, 40, 90);
    caption(p, QStringLiteral("户型"), 306, 40);
    cbHX = chooseOnly(p, "cbHX", 340, 40, 110);
    caption(p, QStringLiteral("价格"), 462, 40);
    DBEdit4 = make<DbEdit>(p, "DBEdit4", 496, 40, 124, 24);

    caption(p, QStringLiteral("设施"), 10, 70);
    DBEdit10 = make<DbEdit>(p, "DBEdit10", 78, 70, 216, 24);
    caption(p, QStringLiteral("位置"), 306, 70);
    cbWZ = chooseOnly(p, "cbWZ", 340, 70, 110);
    caption(p, QStringLiteral("方式"), 462, 70);
    cbFS = chooseOnly(p, "cbFS", 496, 70, 124);

    caption(p, QStringLiteral("权属"), 10, 100);
    cbQS = chooseOnly(p, "cbQS", 78, 100, 110);
    caption(p, QStringLiteral("房龄"), 200, 100);
    DBEdit9 = make<DbEdit>(p, "DBEdit9", 236, 100, 50, 24);
    // One label around the box: the box lies in the gap between its two words.
    const QString bus =
        QStringLiteral("交通") + QString(29, QLatin1Char(' ')) + QStringLiteral("路公交车");
    QLabel* busLabel = caption(p, bus, 306, 100);
    const QFontMetrics fm(busLabel->font());
    const int gapLeft = 306 + fm.horizontalAdvance(QStringLiteral("交通")) + 3;
    const int gapWidth = qMax(60, fm.horizontalAdvance(QString(29, QLatin1Char(' '))) - 6);
    DBEdit11 = make<DbEdit>(p, "DBEdit11", gapLeft, 100, gapWidth, 24);

    Button3 = make<QPushButton>(p, "Button3", 10, 130, 140, 26);
    Button3->setText(QStringLiteral("联接房屋结构文件"));
    DBEdit13 = make<DbEdit>(p, "DBEdit13", 156, 131, 384, 24);
    Button4 = make<QPushButton>(p, "Button4", 548, 130, 72, 26);
    Button4->setText(QStringLiteral("打开"));

    caption(p, QStringLiteral("看房情况"), 10, 160);
    DBMemo1 = make<DbMemo>(p, "DBMemo1", 78, 162, 542, 56);

    // Below the line: the owner's block, shown on the record card to senior roles only.
    auto* line = make<QFrame>(p, "Bevel1", 6, 226, 622, 2);
    line->setFrameShape(QFrame::HLine);
    line->setFrameShadow(QFrame::Sunken);

    caption(p, QStringLiteral("房主姓名"), 10, 236);
    DBEdit5 = make<DbEdit>(p, "DBEdit5", 78, 236, 120, 24);
    caption(p, QStringLiteral("电话"), 212, 236);
    DBEdit6 = make<DbEdit>(p, "DBEdit6", 246, 236, 130, 24);
    caption(p, QStringLiteral("手机"), 390, 236);
    DBEdit7 = make<DbEdit>(p, "DBEdit7", 424, 236, 196, 24);

    caption(p, QStringLiteral("最低价格"), 10, 266);
    DBEdit8 = make<DbEdit>(p, "DBEdit8", 78, 266, 120, 24);
    caption(p, QStringLiteral("产权证号"), 212, 266);
    DBEdit14 = make<DbEdit>(p, "DBEdit14", 280, 266, 200, 24);

    caption(p, QStringLiteral("备注"), 10, 296);
    DBMemo2 = make<DbMemo>(p, "DBMemo2", 78, 296, 542, 48);

    Button1 = make<QPushButton>(this, "Button1", 464, 410, 80, 28);
    Button1->setText(QStringLiteral("保存"));
    Button1->setAutoDefault(false);
    Button2 = make<QPushButton>(this, "Button2", 556, 410, 80, 28);
    Button2->setText(QStringLiteral("取消"));
    Button2->setAutoDefault(false);

    const QList<QPair<DbEdit*, const char*>> edits = {
        {DBEdit1, "小区名称"},  {DBEdit2, "地址"},          {DBEdit3, "房屋面积"},
        {DBEdit4, "信息价格"},  {DBEdit10, "设施"},         {DBEdit9, "新旧程度"},
        {DBEdit11, "公交线路"}, {DBEdit13, "房屋结构文件"}, {DBEdit5, "房主姓名"},
        {DBEdit6, "电话"},      {DBEdit7, "手机"},          {DBEdit8, "最低价格"},
        {DBEdit14, "产权证号"}};
    for (const auto& [edit, field] : edits)
        edit->bind(&dsFwxx, QString::fromUtf8(field));
    DBMemo1->bind(&dsFwxx, QStringLiteral("看房情况"));
    DBMemo2->bind(&dsFwxx, QStringLiteral("备注"));
    // Tab leaves a memo instead of being typed into it.
    DBMemo1->setTabChangesFocus(true);
    DBMemo2->setTabChangesFocus(true);
    // 房龄 takes digits only, typed or pasted.
    DBEdit9->setDigitsOnly(true);

    const QList<QWidget*> order = {DBEdit1,  DBEdit2, DBEdit3, cbLC,    cbHX,    DBEdit4,
                                   DBEdit10, cbWZ,    cbFS,    cbQS,    DBEdit9, DBEdit11,
                                   DBEdit13, DBEdit5, DBEdit6, DBEdit7, DBEdit8, DBEdit14,
                                   DBMemo2,  Button3, Button4, DBMemo1, Button1, Button2};
    for (int i = 1; i < order.size(); ++i)
        setTabOrder(order[i - 1], order[i]);

    auto handler = [this](void (TFrmfylr::*h)()) {
        return [this, h] { guarded([&] { (this->*h)(); }); };
    };
    connect(cbFS, &QComboBox::activated, this, handler(&TFrmfylr::cbFSChange));
    connect(Button1, &QPushButton::clicked, this, handler(&TFrmfylr::Button1Click));
    connect(Button2, &QPushButton::clicked, this, handler(&TFrmfylr::Button2Click));
    connect(Button3, &QPushButton::clicked, this, handler(&TFrmfylr::Button3Click));
    connect(Button4, &QPushButton::clicked, this, handler(&TFrmfylr::Button4Click));
}

void TFrmfylr::FormCreate()
{
    guarded([this] {
        if (!dmbasic) throw DbError(QStringLiteral("数据库没有连接。"));
        qryFwxx.close();
        qryFwxx.clearSql();
        qryFwxx.addSql(QStringLiteral("select * from 房屋信息 "));
        qryFwxx.addSql(QStringLiteral("where 档案号=\"\" "));
        qryFwxx.open();

        fillList(cbLC, QStringLiteral("select 楼层 from 楼层字典 "), QStringLiteral("楼层"));
        fillList(cbHX, QStringLiteral("select 户型 from 户型字典 "), QStringLiteral("户型"));
        fillList(cbWZ, QStringLiteral("select 位置 from 位置字典 "), QStringLiteral("位置"));
        fillList(cbFS, QStringLiteral("select 供应方式 from 供应方式字典 "),
                 QStringLiteral("供应方式"));
        fillList(cbQS, QStringLiteral("select 权属 from 权属字典 "), QStringLiteral("权属"));

        cbFS->setCurrentIndex(cbFS->count() > 0 ? 0 : -1);
        cbQS->setCurrentIndex(-1);
        cbQS->setEnabled(false);
        // Applied once here as well: with "出售" as the first supply mode, 权属 would
        // otherwise stay disabled while the save insists on it.
        cbFSChange();
    });
}

void TFrmfylr::showEvent(QShowEvent* e)
{
    QDialog::showEvent(e);
    if (e->spontaneous()) return;
    if (const QScreen* s = screen()) move(s->availableGeometry().center() - rect().center());
    guarded([this] { FormShow(); });
}

void TFrmfylr::keyPressEvent(QKeyEvent* e)
{
    // Esc does not close the card: a half-typed listing is not thrown away by a
    // stray key; 取消 and the close box do that.
    if (e->key() == Qt::Key_Escape && e->modifiers() == Qt::NoModifier) {
        e->accept();
        return;
    }
    QDialog::keyPressEvent(e);
}

void TFrmfylr::FormShow()
{
    // Only a prepared row set can take a row; a row being typed is never replaced.
    if (!qryFwxx.isActive() || qryFwxx.state() == Query::State::Insert) return;
    qryFwxx.append();
}

void TFrmfylr::qryFwxxAfterInsert()
{
    qryFwxx.setValue(QStringLiteral("房屋面积"), 0.0);
    qryFwxx.setValue(QStringLiteral("信息价格"), 0.0);
    qryFwxx.setValue(QStringLiteral("最低价格"), 0.0);
    qryFwxx.setValue(QStringLiteral("类型"), QStringLiteral("有效"));
    qryFwxx.setValue(QStringLiteral("公司编号"), GSDM);
    qryFwxx.setValue(QStringLiteral("录入日期"), CZRQ);
    DBEdit1->setFocus();
}

void TFrmfylr::cbFSChange()
{
    switch (ownershipListFor(cbFS->currentText())) {
    case OwnershipList::Clear:
        cbQS->setCurrentIndex(-1);
        cbQS->setEnabled(false);
        break;
    case OwnershipList::Select:
        cbQS->setCurrentIndex(cbQS->count() > 0 ? 0 : -1);
        cbQS->setEnabled(true);
        break;
    case OwnershipList::Keep:
        break;
    }
}

void TFrmfylr::refuse(const QString& message, QWidget* focus)
{
    dialogs().message(this, message);
    if (focus) focus->setFocus();
    throw SilentAbort();
}

void TFrmfylr::writeListValues(Query& q)
{
    q.setValue(QStringLiteral("楼层"), Text::trim(cbLC->currentText()));
    q.setValue(QStringLiteral("户型"), Text::trim(cbHX->currentText()));
    q.setValue(QStringLiteral("位置"), Text::trim(cbWZ->currentText()));
    q.setValue(QStringLiteral("方式"), Text::trim(cbFS->currentText()));
    // No ownership kind chosen (a rental): stored empty.
    q.setValue(QStringLiteral("权属"), Text::trim(cbQS->currentText()));
}

void TFrmfylr::Button1Click()
{
    const Query& q = qryFwxx;
    ListingEntry e;
    e.estate = q.text(QStringLiteral("小区名称"));
    e.address = q.text(QStringLiteral("地址"));
    e.areaText = DBEdit3->text();
    e.area = q.number(QStringLiteral("房屋面积"));
    e.floor = cbLC->currentText();
    e.houseType = cbHX->currentText();
    e.priceText = DBEdit4->text();
    e.price = q.number(QStringLiteral("信息价格"));
    e.location = cbWZ->currentText();
    e.mode = cbFS->currentText();
    e.ownership = cbQS->currentText();
    e.owner = q.text(QStringLiteral("房主姓名"));
    e.phone = q.text(QStringLiteral("电话"));
    e.mobile = q.text(QStringLiteral("手机"));
    e.lowestText = DBEdit8->text();
    e.lowest = q.number(QStringLiteral("最低价格"));
    if (const auto failed = firstFailedCheck(e))
        refuse(failed->message, findChild<QWidget*>(failed->control));

    ArchiveNumber::numberAndPost(qryFwxx, dmbasic->QryPUB, GSDM, CZRQ,
                                 [this](Query& row) { writeListValues(row); });

    if (dialogs().question(this, QStringLiteral("是否增加新的记录？"))) {
        qryFwxx.append();
        DBEdit1->setFocus();
    } else {
        close();
    }
}

void TFrmfylr::Button2Click()
{
    close();
}

void TFrmfylr::Button3Click()
{
    const QString path = dialogs().openFile(this, dmbasic->OpenPic);
    if (path.isEmpty()) return;
    // A path the column cannot hold would only fail later, at save.
    const int col = qryFwxx.fieldIndex(QStringLiteral("房屋结构文件"));
    const int room = col < 0 ? 0 : qryFwxx.column(col).maxLength;
    if (room > 0 && Text::charCount(path) > room) {
        dialogs().message(this, QStringLiteral("所选文件的完整路径超过 %1 个字符，不能联接。\n"
                                               "请把文件放到路径较短的文件夹中再联接。")
                                    .arg(room));
        return;
    }
    if (!qryFwxx.isEditing()) qryFwxx.edit();
    qryFwxx.setValue(QStringLiteral("房屋结构文件"), path);
}

void TFrmfylr::Button4Click()
{
    const QString path = Text::trim(qryFwxx.text(QStringLiteral("房屋结构文件")));
    if (path.isEmpty()) return;
    dialogs().openPath(path);
}

void TFrmfylr::done(int r)
{
    FormClose();
    QDialog::done(r);
}

void TFrmfylr::FormClose()
{
    // Closing the row set drops a row that was never saved, without a question.
    qryFwxx.close();
}
