#include "deals/Frm_cjdj.h"

#include "data/Dmbasic.h"
#include "deals/core/Money.h"
#include "records/Frm_xgjl.h"
#include "session/PubVars.h"
#include "shell/Dialogs.h"
#include "shell/Door.h"
#include "shell/Guard.h"
#include "widgets/WidgetUtil.h"

#include <QComboBox>
#include <QDateEdit>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTableWidget>
#include <QVBoxLayout>
#include <algorithm>

namespace
{

Connection& mainDb()
{
    if (!dmbasic) throw DbError(QStringLiteral("数据库连接没有打开。"));
    return dmbasic->adoCntnfybase;
}

QLineEdit* moneyBox(QWidget* parent, const char* name)
{
    auto* e = new QLineEdit(parent);
    e->setObjectName(QString::fromLatin1(name));
    e->setMaxLength(16);
    e->setAlignment(Qt::AlignRight);
    return e;
}

enum AgentColumn { StaffColumn, ShareColumn, CommissionColumn };

} // namespace

TFrmCJDJ::TFrmCJDJ(QWidget* parent) : QDialog(parent)
{
    guarded([&] { m_staff = Deals::staff(mainDb()); });
    buildUi();
}

TFrmCJDJ::TFrmCJDJ(const QString& listing, const QString& customer, QWidget* parent)
    : TFrmCJDJ(parent)
{
    edtFY->setText(listing);
    edtKH->setText(customer);
    edtFY->setReadOnly(!listing.isEmpty());
    edtKH->setReadOnly(!customer.isEmpty());
    dtCJRQ->setDate(QDate::currentDate());
    // The operator himself as the first agent when he is on the staff register.
    const bool onStaff = std::any_of(m_staff.begin(), m_staff.end(), [](const Deals::Staff& st) {
        return st.number.compare(CurUser.YGBH, Qt::CaseInsensitive) == 0;
    });
    addAgentRow(onStaff ? Deals::Agent{CurUser.YGBH, CurUser.YGXM, Money::kWhole, 0}
                        : Deals::Agent{{}, {}, Money::kWhole, 0});
    btnCX->setVisible(false);
    btnXGJL->setVisible(false);
    lblState->setVisible(false);
    showCommissions();
    (listing.isEmpty() ? edtFY : customer.isEmpty() ? edtKH : edtCJJG)->setFocus();
}

TFrmCJDJ::TFrmCJDJ(qlonglong deal, QWidget* parent) : TFrmCJDJ(parent)
{
    guarded([&] {
        const auto d = Deals::load(mainDb(), deal);
        if (!d) throw DbError(QStringLiteral("这笔成交已不存在。"));
        present(*d);
    });
}

void TFrmCJDJ::buildUi()
{
    setObjectName(QStringLiteral("FrmCJDJ"));
    setWindowTitle(QStringLiteral("成交登记"));
    setFont(pixelFont(QStringLiteral("宋体"), 15));
    resize(640, 600);

    edtFY = new QLineEdit(this);
    edtFY->setObjectName(QStringLiteral("edtFY"));
    edtFY->setMaxLength(12);
    edtKH = new QLineEdit(this);
    edtKH->setObjectName(QStringLiteral("edtKH"));
    edtKH->setMaxLength(12);
    dtCJRQ = new QDateEdit(this);
    dtCJRQ->setObjectName(QStringLiteral("dtCJRQ"));
    dtCJRQ->setCalendarPopup(true);
    dtCJRQ->setDisplayFormat(QStringLiteral("yyyy-MM-dd"));
    edtCJJG = moneyBox(this, "edtCJJG");
    edtYZYJ = moneyBox(this, "edtYZYJ");
    edtKHYJ = moneyBox(this, "edtKHYJ");
    edtHTBH = new QLineEdit(this);
    edtHTBH->setObjectName(QStringLiteral("edtHTBH"));
    edtHTBH->setMaxLength(30);
    memoBZ = new QPlainTextEdit(this);
    memoBZ->setObjectName(QStringLiteral("memoBZ"));
    memoBZ->setFixedHeight(70);
    memoBZ->setTabChangesFocus(true);

    gridJJR = new QTableWidget(0, 3, this);
    gridJJR->setObjectName(QStringLiteral("gridJJR"));
    gridJJR->setHorizontalHeaderLabels(
        {QStringLiteral("经纪人"), QStringLiteral("分成比例(%)"), QStringLiteral("佣金(元)")});
    gridJJR->verticalHeader()->hide();
    gridJJR->setSelectionBehavior(QAbstractItemView::SelectRows);
    gridJJR->setSelectionMode(QAbstractItemView::SingleSelection);
    gridJJR->horizontalHeader()->setSectionResizeMode(StaffColumn, QHeaderView::Stretch);
    gridJJR->setColumnWidth(ShareColumn, 110);
    gridJJR->setColumnWidth(CommissionColumn, 130);
    btnAddJJR = namedButton(this, "btnAddJJR", QStringLiteral("增加经纪人"));
    btnDelJJR = namedButton(this, "btnDelJJR", QStringLiteral("删除经纪人"));

    lblState = new QLabel(this);
    lblState->setObjectName(QStringLiteral("lblState"));
    lblState->setWordWrap(true);
    lblState->setStyleSheet(QStringLiteral("color: #a00000"));
    btnOK = namedButton(this, "btnOK", QStringLiteral("保存"));
    btnCX = namedButton(this, "btnCX", QStringLiteral("撤销成交"));
    btnXGJL = namedButton(this, "btnXGJL", QStringLiteral("修改记录"));
    btnTC = namedButton(this, "btnTC", QStringLiteral("退出"));

    auto* form = new QFormLayout;
    form->addRow(QStringLiteral("房源档案号"), edtFY);
    form->addRow(QStringLiteral("客户档案号"), edtKH);
    form->addRow(QStringLiteral("成交日期"), dtCJRQ);
    form->addRow(QStringLiteral("成交价格(元)"), edtCJJG);
    form->addRow(QStringLiteral("业主佣金(元)"), edtYZYJ);
    form->addRow(QStringLiteral("客户佣金(元)"), edtKHYJ);
    form->addRow(QStringLiteral("合同编号"), edtHTBH);
    form->addRow(QStringLiteral("备注"), memoBZ);
    auto* agentButtons = new QHBoxLayout;
    agentButtons->addWidget(new QLabel(QStringLiteral("经纪人（分成比例合计100%）"), this));
    agentButtons->addStretch();
    agentButtons->addWidget(btnAddJJR);
    agentButtons->addWidget(btnDelJJR);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    for (QPushButton* b : {btnOK, btnCX, btnXGJL, btnTC})
        buttons->addWidget(b);
    auto* lay = new QVBoxLayout(this);
    lay->addLayout(form);
    lay->addLayout(agentButtons);
    lay->addWidget(gridJJR, 1);
    lay->addWidget(lblState);
    lay->addLayout(buttons);

    for (QLineEdit* e : {edtYZYJ, edtKHYJ})
        onSignal(e, &QLineEdit::textChanged, this, &TFrmCJDJ::showCommissions);
    onSignal(gridJJR, &QTableWidget::itemChanged, this, [this](QTableWidgetItem* it) {
        if (it->column() == ShareColumn) showCommissions();
    });
    onSignal(btnAddJJR, &QPushButton::clicked, this, &TFrmCJDJ::btnAddJJRClick);
    onSignal(btnDelJJR, &QPushButton::clicked, this, &TFrmCJDJ::btnDelJJRClick);
    onSignal(btnOK, &QPushButton::clicked, this, &TFrmCJDJ::btnOKClick);
    onSignal(btnCX, &QPushButton::clicked, this, &TFrmCJDJ::btnCXClick);
    onSignal(btnXGJL, &QPushButton::clicked, this, &TFrmCJDJ::btnXGJLClick);
    onSignal(btnTC, &QPushButton::clicked, this, &QDialog::reject);
}

void TFrmCJDJ::present(const Deals::Deal& d)
{
    m_deal = d;
    edtFY->setText(d.listing);
    edtKH->setText(d.customer);
    edtFY->setReadOnly(true);
    edtKH->setReadOnly(true);
    dtCJRQ->setDate(d.date);
    edtCJJG->setText(Money::yuanText(d.price));
    edtYZYJ->setText(Money::yuanText(d.ownerCommission));
    edtKHYJ->setText(Money::yuanText(d.customerCommission));
    edtHTBH->setText(d.contract);
    memoBZ->setPlainText(d.remarks);
    gridJJR->setRowCount(0);
    for (const Deals::Agent& a : d.agents)
        addAgentRow(a);
    const bool standing = d.status == Deals::Standing;
    lblState->setVisible(!standing);
    if (!standing)
        lblState->setText(QStringLiteral("这笔成交已于 %1 由 %2 撤销，原因：%3")
                              .arg(d.cancelledAt, d.cancelledBy, d.reason));
    setWindowTitle(QStringLiteral("成交登记 - 第 %1 号").arg(d.id));
    const bool may = standing && Deals::mayChange(CurUser.GNZ);
    setEditable(may);
    btnCX->setVisible(may);
    btnXGJL->setVisible(true);
    showCommissions();
}

void TFrmCJDJ::setEditable(bool on)
{
    dtCJRQ->setReadOnly(!on);
    for (QLineEdit* e : {edtCJJG, edtYZYJ, edtKHYJ, edtHTBH})
        e->setReadOnly(!on);
    memoBZ->setReadOnly(!on);
    gridJJR->setEnabled(true);
    gridJJR->setEditTriggers(on ? QAbstractItemView::AllEditTriggers
                                : QAbstractItemView::NoEditTriggers);
    for (int r = 0; r < gridJJR->rowCount(); ++r)
        if (QWidget* w = gridJJR->cellWidget(r, StaffColumn)) w->setEnabled(on);
    btnAddJJR->setVisible(on);
    btnDelJJR->setVisible(on);
    btnOK->setVisible(on);
}

void TFrmCJDJ::addAgentRow(const Deals::Agent& a)
{
    const int r = gridJJR->rowCount();
    const QSignalBlocker quiet(gridJJR);
    gridJJR->insertRow(r);
    auto* cb = new QComboBox(gridJJR);
    cb->setObjectName(QStringLiteral("cbJJR%1").arg(r));
    cb->addItem(QString(), QString());
    for (const Deals::Staff& s : m_staff)
        cb->addItem(QStringLiteral("%1 %2").arg(s.number, s.name), s.number);
    int at = a.staff.isEmpty() ? 0 : cb->findData(a.staff, Qt::UserRole, Qt::MatchFixedString);
    if (at < 0) {
        // A staff member removed from the register since: the deal keeps his name.
        cb->addItem(QStringLiteral("%1 %2（已不在人员档案）").arg(a.staff, a.name), a.staff);
        at = cb->count() - 1;
    }
    cb->setCurrentIndex(at);
    gridJJR->setCellWidget(r, StaffColumn, cb);
    gridJJR->setItem(r, ShareColumn, new QTableWidgetItem(Money::shareText(a.share)));
    auto* commission = new QTableWidgetItem;
    commission->setFlags(Qt::ItemIsEnabled);
    gridJJR->setItem(r, CommissionColumn, commission);
}

void TFrmCJDJ::btnAddJJRClick()
{
    addAgentRow({});
    gridJJR->setCurrentCell(gridJJR->rowCount() - 1, ShareColumn);
    showCommissions();
}

void TFrmCJDJ::btnDelJJRClick()
{
    const int r = gridJJR->currentRow();
    if (r < 0) return;
    gridJJR->removeRow(r);
    showCommissions();
}

// Each agent's commission as the save would compute it, while the shares add up.
void TFrmCJDJ::showCommissions()
{
    const auto owner = Money::parseYuan(edtYZYJ->text());
    const auto customer = Money::parseYuan(edtKHYJ->text());
    QList<int> shares;
    int sum = 0;
    bool known = owner && customer;
    for (int r = 0; r < gridJJR->rowCount(); ++r) {
        const auto s = Money::parseShare(gridJJR->item(r, ShareColumn)->text());
        known = known && s;
        shares << (s ? *s : 0);
        sum += shares.last();
    }
    known = known && sum == Money::kWhole && *owner >= 0 && *customer >= 0;
    const QList<qint64> parts = known ? Money::split(*owner + *customer, shares) : QList<qint64>();
    const QSignalBlocker quiet(gridJJR);
    for (int r = 0; r < gridJJR->rowCount(); ++r)
        gridJJR->item(r, CommissionColumn)->setText(known ? Money::yuanText(parts[r]) : QString());
}

std::optional<Deals::Deal> TFrmCJDJ::typed()
{
    Deals::Deal d = m_deal;
    d.listing = edtFY->text().trimmed();
    d.customer = edtKH->text().trimmed();
    if (d.listing.isEmpty()) {
        dialogs().message(this, QStringLiteral("请输入房源档案号"));
        edtFY->setFocus();
        return std::nullopt;
    }
    if (d.customer.isEmpty()) {
        dialogs().message(this, QStringLiteral("请输入客户档案号"));
        edtKH->setFocus();
        return std::nullopt;
    }
    d.date = dtCJRQ->date();
    const QList<std::pair<QLineEdit*, qint64*>> amounts = {
        {edtCJJG, &d.price}, {edtYZYJ, &d.ownerCommission}, {edtKHYJ, &d.customerCommission}};
    for (const auto& [box, into] : amounts) {
        const auto v = Money::parseYuan(box->text());
        if (!v) {
            dialogs().message(this, QStringLiteral("请输入正确的金额（元，最多两位小数）"));
            box->setFocus();
            return std::nullopt;
        }
        *into = *v;
    }
    d.contract = edtHTBH->text();
    d.remarks = memoBZ->toPlainText();
    d.agents.clear();
    for (int r = 0; r < gridJJR->rowCount(); ++r) {
        const auto* cb = qobject_cast<QComboBox*>(gridJJR->cellWidget(r, StaffColumn));
        const QString text = gridJJR->item(r, ShareColumn)->text();
        const auto share = Money::parseShare(text);
        if (!share && !text.trimmed().isEmpty()) {
            dialogs().message(this, QStringLiteral("分成比例“%1”不是0到100之间的数（最多两位小数）")
                                        .arg(text.trimmed()));
            gridJJR->setCurrentCell(r, ShareColumn);
            gridJJR->setFocus();
            return std::nullopt;
        }
        d.agents << Deals::Agent{cb->currentData().toString(), {}, share ? *share : 0, 0};
    }
    if (const auto why = Deals::refusal(d, QDate::currentDate())) {
        dialogs().message(this, why->text);
        focusOn(why->part);
        return std::nullopt;
    }
    return d;
}

void TFrmCJDJ::focusOn(Deals::Refusal::Part part)
{
    switch (part) {
    case Deals::Refusal::Listing:
        edtFY->setFocus();
        break;
    case Deals::Refusal::Customer:
        edtKH->setFocus();
        break;
    case Deals::Refusal::Date:
        dtCJRQ->setFocus();
        break;
    case Deals::Refusal::Price:
        edtCJJG->setFocus();
        break;
    case Deals::Refusal::OwnerCommission:
        edtYZYJ->setFocus();
        break;
    case Deals::Refusal::CustomerCommission:
        edtKHYJ->setFocus();
        break;
    case Deals::Refusal::Agents:
    case Deals::Refusal::Other:
        gridJJR->setFocus();
        break;
    }
}

void TFrmCJDJ::btnOKClick()
{
    const auto d = typed();
    if (!d) return;
    try {
        if (m_deal.id == 0) {
            m_deal.id = Deals::add(mainDb(), *d);
            dialogs().message(this, QStringLiteral("成交登记成功，房源和客户已改为无效。"));
            accept();
        } else {
            Deals::change(mainDb(), *d, CurUser.GNZ);
            dialogs().message(this, QStringLiteral("成交记录已保存。"));
            accept();
        }
    } catch (const DbError& e) {
        dialogs().message(this, e.text());
    }
}

void TFrmCJDJ::btnCXClick()
{
    if (m_deal.id == 0) return;
    if (!Deals::mayChange(CurUser.GNZ)) {
        dialogs().message(this, Deals::notAllowedText());
        return;
    }
    QDialog ask(this);
    ask.setObjectName(QStringLiteral("FrmCXYY"));
    ask.setWindowTitle(QStringLiteral("撤销成交"));
    auto* box = new QLineEdit(&ask);
    box->setObjectName(QStringLiteral("edtYY"));
    box->setMaxLength(100);
    auto* ok = namedButton(&ask, "btnOK", QStringLiteral("确定"));
    auto* no = namedButton(&ask, "btnNo", QStringLiteral("取消"));
    onSignal(ok, &QPushButton::clicked, &ask, &QDialog::accept);
    onSignal(no, &QPushButton::clicked, &ask, &QDialog::reject);
    auto* lay = new QVBoxLayout(&ask);
    lay->addWidget(new QLabel(QStringLiteral("撤销原因（撤销后房源和客户恢复为有效）"), &ask));
    lay->addWidget(box);
    auto* row = new QHBoxLayout;
    row->addStretch();
    row->addWidget(ok);
    row->addWidget(no);
    lay->addLayout(row);
    if (dialogs().exec(&ask) != QDialog::Accepted) return;
    const QString reason = box->text();
    if (reason.trimmed().isEmpty()) {
        dialogs().message(this, QStringLiteral("请输入撤销原因"));
        return;
    }
    try {
        Deals::cancel(mainDb(), m_deal.id, reason, CurUser.GNZ);
        dialogs().message(this, QStringLiteral("成交已撤销。"));
        accept();
    } catch (const DbError& e) {
        dialogs().message(this, e.text());
    }
}

void TFrmCJDJ::btnXGJLClick()
{
    if (m_deal.id == 0) return;
    TFrmXGJL history(Deals::Table, QString::number(m_deal.id), {}, this);
    dialogs().exec(&history);
}
