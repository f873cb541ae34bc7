#include "customers/Frm_khxx.h"

#include "app/core/PubVars.h"
#include "common/DbControls.h"
#include "common/Dialogs.h"
#include "common/Guard.h"
#include "common/WidgetUtil.h"
#include "customers/core/CustomerEntryChecks.h"
#include "data/DbError.h"
#include "data/Text.h"
#include "listings/core/ArchiveNumber.h"

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

// A dictionary list with "不限" (no preference) in front of its entries.
void fillListWithAny(QComboBox* list, const QString& statement, const QString& column)
{
    fillList(list, statement, column);
    list->insertItem(0, anyChoice());
    list->setCurrentIndex(-1);
}

} // namespace

TFrmkhxx::TFrmkhxx(QWidget* parent) : QDialog(parent)
{
    dskhxx.setDataSet(&qrykhxx);
    qrykhxx.afterInsert = [this](Query&) { qrykhxxAfterInsert(); };
    buildUi();
    FormCreate();
}

TFrmkhxx::~TFrmkhxx()
{
    qrykhxx.close();
}

void TFrmkhxx::buildUi()
{
    setWindowTitle(QStringLiteral("客户信息输入窗口"));
    setFont(pixelFont(QStringLiteral("宋体"), 12));
    resize(585, 390);

    auto* title = make<QLabel>(this, "Label_Title", 0, 4, 585, 38);
    title->setText(QStringLiteral("客户信息档案卡"));
    title->setAlignment(Qt::AlignCenter);
    title->setFont(pixelFont(QStringLiteral("楷体_GB2312"), 24, true));

    auto* p = make<QFrame>(this, "Panel1", 8, 46, 569, 290);
    p->setFrameShape(QFrame::Panel);
    p->setFrameShadow(QFrame::Raised);
    p->setFont(pixelFont(QStringLiteral("宋体"), 15));

    // What the customer asks for.
    caption(p, QStringLiteral("地址描述"), 10, 10);
    DBEdit2 = make<DbEdit>(p, "DBEdit2", 78, 10, 476, 24);

    caption(p, QStringLiteral("方式"), 10, 40);
    cbFS = chooseOnly(p, "cbFS", 78, 40, 120);
    caption(p, QStringLiteral("权属"), 214, 40);
    cbQS = chooseOnly(p, "cbQS", 250, 40, 130);

    caption(p, QStringLiteral("面积"), 10, 70);
    DBEdit5 = make<DbEdit>(p, "DBEdit5", 78, 70, 90, 24);
    caption(p, QStringLiteral("-"), 172, 70);
    DBEdit6 = make<DbEdit>(p, "DBEdit6", 184, 70, 90, 24);
    caption(p, QStringLiteral("价格"), 290, 70);
    DBEdit7 = make<DbEdit>(p, "DBEdit7", 326, 70, 105, 24);
    caption(p, QStringLiteral("-"), 435, 70);
    DBEdit8 = make<DbEdit>(p, "DBEdit8", 449, 70, 105, 24);

    caption(p, QStringLiteral("楼层"), 10, 100);
    cbLC = chooseOnly(p, "cbLC", 78, 100, 120);
    caption(p, QStringLiteral("户型"), 214, 100);
    cbHX = chooseOnly(p, "cbHX", 250, 100, 130);
    caption(p, QStringLiteral("位置"), 394, 100);
    cbWZ = chooseOnly(p, "cbWZ", 430, 100, 124);

    caption(p, QStringLiteral("需求设施"), 10, 130);
    DBMemo1 = make<DbMemo>(p, "DBMemo1", 78, 132, 476, 96);
    DBMemo1->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);

    // Below the line: the customer's personal block, shown on the record card to
    // senior roles only.
    auto* line = make<QFrame>(p, "Bevel1", 6, 238, 557, 2);
    line->setFrameShape(QFrame::HLine);
    line->setFrameShadow(QFrame::Sunken);

    caption(p, QStringLiteral("客户姓名"), 10, 252);
    DBEdit9 = make<DbEdit>(p, "DBEdit9", 78, 252, 110, 24);
    caption(p, QStringLiteral("电话"), 200, 252);
    DBEdit10 = make<DbEdit>(p, "DBEdit10", 236, 252, 130, 24);
    caption(p, QStringLiteral("手机"), 380, 252);
    DBEdit11 = make<DbEdit>(p, "DBEdit11", 416, 252, 138, 24);

    const QFont buttonFont = pixelFont(QStringLiteral("宋体"), 16);
    BitBtn1 = make<QPushButton>(this, "BitBtn1", 401, 346, 80, 30);
    BitBtn1->setText(QStringLiteral("保存"));
    BitBtn2 = make<QPushButton>(this, "BitBtn2", 493, 346, 80, 30);
    BitBtn2->setText(QStringLiteral("取消"));
    for (QPushButton* b : {BitBtn1, BitBtn2}) {
        b->setFont(buttonFont);
        b->setAutoDefault(false);
    }

    const QList<QPair<DbEdit*, const char*>> edits = {
        {DBEdit2, "地址描述"}, {DBEdit5, "面积1"},    {DBEdit6, "面积2"}, {DBEdit7, "价格1"},
        {DBEdit8, "价格2"},    {DBEdit9, "客户姓名"}, {DBEdit10, "电话"}, {DBEdit11, "手机"}};
    for (const auto& [edit, field] : edits)
        edit->bind(&dskhxx, QString::fromUtf8(field));
    DBMemo1->bind(&dskhxx, QStringLiteral("需求设施"));
    // Tab leaves the memo instead of being typed into it.
    DBMemo1->setTabChangesFocus(true);

    const QList<QWidget*> order = {DBEdit2,  cbFS,     cbQS,    DBEdit5, DBEdit6, DBEdit7,
                                   DBEdit8,  cbLC,     cbHX,    cbWZ,    DBMemo1, DBEdit9,
                                   DBEdit10, DBEdit11, BitBtn1, BitBtn2};
    for (int i = 1; i < order.size(); ++i)
        setTabOrder(order[i - 1], order[i]);

    auto handler = [this](void (TFrmkhxx::*h)()) {
        return [this, h] { guarded([&] { (this->*h)(); }); };
    };
    connect(cbFS, &QComboBox::activated, this, handler(&TFrmkhxx::cbFSChange));
    connect(BitBtn1, &QPushButton::clicked, this, handler(&TFrmkhxx::BitBtn1Click));
    connect(BitBtn2, &QPushButton::clicked, this, handler(&TFrmkhxx::BitBtn2Click));
}

void TFrmkhxx::FormCreate()
{
    guarded([this] {
        if (!dmbasic) throw DbError(QStringLiteral("数据库没有连接。"));
        qrykhxx.close();
        qrykhxx.clearSql();
        qrykhxx.addSql(QStringLiteral("select * from 客户信息 "));
        qrykhxx.addSql(QStringLiteral("where 档案号=''"));
        qrykhxx.open();

        fillListWithAny(cbLC, QStringLiteral("select 楼层 from 楼层字典 "), QStringLiteral("楼层"));
        fillListWithAny(cbHX, QStringLiteral("select 户型 from 户型字典 "), QStringLiteral("户型"));
        fillList(cbFS, QStringLiteral("select 需求方式 from 需求方式字典 "),
                 QStringLiteral("需求方式"));
        fillList(cbQS, QStringLiteral("select 权属 from 权属字典 "), QStringLiteral("权属"));
        fillListWithAny(cbWZ, QStringLiteral("select 位置 from 位置字典 "), QStringLiteral("位置"));

        cbFS->setCurrentIndex(cbFS->count() > 0 ? 0 : -1);
        cbQS->setCurrentIndex(-1);
        cbQS->setEnabled(false);
        for (QComboBox* any : {cbLC, cbHX, cbWZ})
            any->setCurrentIndex(0);
        // Applied once here as well: with "求购" as the first demand mode, 权属 would
        // otherwise stay disabled while the save insists on it.
        cbFSChange();
    });
}

void TFrmkhxx::showEvent(QShowEvent* e)
{
    QDialog::showEvent(e);
    if (e->spontaneous()) return;
    if (const QScreen* s = screen()) move(s->availableGeometry().center() - rect().center());
    guarded([this] { FormShow(); });
    DBEdit2->setFocus();
}

void TFrmkhxx::keyPressEvent(QKeyEvent* e)
{
    // Esc does not close the window: a half-typed customer is not thrown away by a
    // stray key; 取消 and the close box do that.
    if (e->key() == Qt::Key_Escape && e->modifiers() == Qt::NoModifier) {
        e->accept();
        return;
    }
    QDialog::keyPressEvent(e);
}

void TFrmkhxx::FormShow()
{
    // Only a prepared row set can take a row; a row being typed is never replaced.
    if (!qrykhxx.isActive() || qrykhxx.state() == Query::State::Insert) return;
    qrykhxx.append();
}

void TFrmkhxx::qrykhxxAfterInsert()
{
    qrykhxx.setValue(QStringLiteral("公司编号"), GSDM);
    qrykhxx.setValue(QStringLiteral("录入日期"), CZRQ);
    qrykhxx.setValue(QStringLiteral("地址描述"), anyChoice());
    qrykhxx.setValue(QStringLiteral("类型"), QStringLiteral("有效"));
    for (const char* amount : {"面积1", "面积2", "价格1", "价格2"})
        qrykhxx.setValue(QString::fromUtf8(amount), 0.0);
}

void TFrmkhxx::cbFSChange()
{
    switch (ownershipListForDemand(cbFS->currentText())) {
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

void TFrmkhxx::refuse(const QString& message, QWidget* focus)
{
    dialogs().message(this, message);
    if (focus) focus->setFocus();
    throw SilentAbort();
}

void TFrmkhxx::writeSaveValues(Query& q)
{
    q.setValue(QStringLiteral("需求方式"), Text::trim(cbFS->currentText()));
    // No ownership kind chosen (a renter): stored as empty text.
    q.setValue(QStringLiteral("权属"), Text::trim(cbQS->currentText()));
    q.setValue(QStringLiteral("楼层"), Text::trim(cbLC->currentText()));
    q.setValue(QStringLiteral("户型"), Text::trim(cbHX->currentText()));
    q.setValue(QStringLiteral("位置"), Text::trim(cbWZ->currentText()));
    const QString address = q.text(QStringLiteral("地址描述"));
    if (Text::trim(address).isEmpty())
        q.setValue(QStringLiteral("地址描述"), storedAddress(address));
}

void TFrmkhxx::BitBtn1Click()
{
    const Query& q = qrykhxx;
    CustomerEntry e;
    e.mode = cbFS->currentText();
    e.ownership = cbQS->currentText();
    e.name = q.text(QStringLiteral("客户姓名"));
    e.phone = q.text(QStringLiteral("电话"));
    e.mobile = q.text(QStringLiteral("手机"));
    if (const auto failed = firstFailedCustomerCheck(e))
        refuse(failed->message, findChild<QWidget*>(failed->control));

    ArchiveNumber::numberAndPost(
        qrykhxx, dmbasic->QryPUB, GSDM, CZRQ, [this](Query& row) { writeSaveValues(row); },
        ArchiveNumber::kDefaultAttempts, QLatin1Char('\''));

    if (dialogs().question(this, QStringLiteral("是否增加新的记录?"))) {
        qrykhxx.append();
        DBEdit2->setFocus();
    } else {
        close();
    }
}

void TFrmkhxx::BitBtn2Click()
{
    close();
}

void TFrmkhxx::done(int r)
{
    FormClose();
    QDialog::done(r);
}

void TFrmkhxx::FormClose()
{
    // Closing the row set drops a row that was never saved, without a question.
    qrykhxx.close();
}
