#include "records/FollowUpWindow.h"

#include "data/Dmbasic.h"
#include "data/RecordLog.h"
#include "session/PubVars.h"
#include "shell/Dialogs.h"
#include "shell/Door.h"
#include "widgets/WidgetUtil.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDateTimeEdit>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTableWidget>
#include <QVBoxLayout>

namespace
{

const QString kListings = QStringLiteral("房屋信息");

Connection& mainDb()
{
    return dmbasic->adoCntnfybase;
}

} // namespace

TFrmGJJL::TFrmGJJL(const QString& table, const QString& number, QWidget* parent)
    : QDialog(parent), m_table(table), m_number(number)
{
    const bool listing = table == kListings;
    setObjectName(QStringLiteral("FrmGJJL"));
    setWindowTitle(QStringLiteral("跟进记录"));
    setFont(pixelFont(QStringLiteral("宋体"), 15));
    resize(720, 480);

    lblDAH =
        new QLabel(QStringLiteral("%1档案号：%2").arg(RecordLog::registerOf(table), number), this);
    lblDAH->setObjectName(QStringLiteral("lblDAH"));

    // The last column: on a listing the customer a viewing names, on a customer the
    // listing whose viewing names him.
    gridNotes = new QTableWidget(0, 5, this);
    gridNotes->setObjectName(QStringLiteral("gridNotes"));
    gridNotes->setHorizontalHeaderLabels(
        {QStringLiteral("时间"), QStringLiteral("操作员"), QStringLiteral("方式"),
         QStringLiteral("内容"),
         listing ? QStringLiteral("客户档案号") : QStringLiteral("房源档案号")});
    gridNotes->setSelectionBehavior(QAbstractItemView::SelectRows);
    gridNotes->setSelectionMode(QAbstractItemView::SingleSelection);
    gridNotes->setEditTriggers(QAbstractItemView::NoEditTriggers);
    gridNotes->verticalHeader()->hide();
    gridNotes->horizontalHeader()->setStretchLastSection(false);
    gridNotes->horizontalHeader()->setSectionResizeMode(3, QHeaderView::Stretch);
    gridNotes->setColumnWidth(0, 160);
    gridNotes->setColumnWidth(1, 80);
    gridNotes->setColumnWidth(2, 50);
    gridNotes->setColumnWidth(4, 110);

    cbFS = new QComboBox(this);
    cbFS->setObjectName(QStringLiteral("cbFS"));
    cbFS->addItems(FollowUps::kinds());
    edtKHDAH = new QLineEdit(this);
    edtKHDAH->setObjectName(QStringLiteral("edtKHDAH"));
    edtKHDAH->setMaxLength(12);
    memoNR = new QPlainTextEdit(this);
    memoNR->setObjectName(QStringLiteral("memoNR"));
    memoNR->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    memoNR->setFixedHeight(90);

    auto* nextRow = new QHBoxLayout;
    buildNextRow(nextRow);

    btnAdd = namedButton(this, "btnAdd", QStringLiteral("新增"));
    btnChange = namedButton(this, "btnChange", QStringLiteral("修改"));
    btnDelete = namedButton(this, "btnDelete", QStringLiteral("删除"));
    btnExit = namedButton(this, "btnExit", QStringLiteral("退出"));

    auto* kindRow = new QHBoxLayout;
    kindRow->addWidget(new QLabel(QStringLiteral("跟进方式"), this));
    kindRow->addWidget(cbFS);
    auto* customerCaption = new QLabel(QStringLiteral("带看客户档案号"), this);
    kindRow->addWidget(customerCaption);
    kindRow->addWidget(edtKHDAH);
    kindRow->addStretch();
    // Only a listing's viewing names a customer.
    customerCaption->setVisible(listing);
    edtKHDAH->setVisible(listing);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    for (QPushButton* b : {btnAdd, btnChange, btnDelete, btnExit})
        buttons->addWidget(b);
    auto* lay = new QVBoxLayout(this);
    lay->addWidget(lblDAH);
    lay->addWidget(gridNotes, 1);
    lay->addLayout(kindRow);
    lay->addWidget(new QLabel(QStringLiteral("跟进内容"), this));
    lay->addWidget(memoNR);
    lay->addLayout(nextRow);
    lay->addWidget(lblNext);
    lay->addLayout(buttons);

    connect(gridNotes, &QTableWidget::itemSelectionChanged, this, &TFrmGJJL::showChosen);
    onSignal(btnAdd, &QPushButton::clicked, this, &TFrmGJJL::btnAddClick);
    onSignal(btnChange, &QPushButton::clicked, this, &TFrmGJJL::btnChangeClick);
    onSignal(btnDelete, &QPushButton::clicked, this, &TFrmGJJL::btnDeleteClick);
    onSignal(btnExit, &QPushButton::clicked, this, &QDialog::accept);

    reload();
    memoNR->setFocus();
}

void TFrmGJJL::buildNextRow(QHBoxLayout* row)
{
    chkNext = new QCheckBox(QStringLiteral("下次跟进"), this);
    chkNext->setObjectName(QStringLiteral("chkNext"));
    dtNext = new QDateTimeEdit(this);
    dtNext->setObjectName(QStringLiteral("dtNext"));
    dtNext->setDisplayFormat(QStringLiteral("yyyy-MM-dd HH:mm"));
    dtNext->setCalendarPopup(true);
    dtNext->setDateTime(QDateTime(QDate::currentDate().addDays(1), QTime(9, 0)));
    cbNextFor = new QComboBox(this);
    cbNextFor->setObjectName(QStringLiteral("cbNextFor"));
    for (const Reminders::Operator& o : Reminders::operators(mainDb()))
        if (!o.removed) cbNextFor->addItem(Reminders::operatorLabel(o), o.number);
    // The author by default, also when the staff register does not list him.
    int own = -1;
    for (int i = 0; i < cbNextFor->count(); ++i)
        if (cbNextFor->itemData(i).toString().compare(CurUser.YGBH, Qt::CaseInsensitive) == 0)
            own = i;
    if (own < 0 && !CurUser.YGBH.isEmpty()) {
        cbNextFor->insertItem(0, CurUser.YGBH, CurUser.YGBH);
        own = 0;
    }
    cbNextFor->setCurrentIndex(own);
    for (QWidget* w : {static_cast<QWidget*>(dtNext), static_cast<QWidget*>(cbNextFor)}) {
        w->setEnabled(false);
        onSignal(chkNext, &QCheckBox::toggled, w, &QWidget::setEnabled);
    }
    lblNext = new QLabel(this);
    lblNext->setObjectName(QStringLiteral("lblNext"));
    lblNext->setWordWrap(true);
    row->addWidget(chkNext);
    row->addWidget(dtNext);
    row->addWidget(new QLabel(QStringLiteral("跟进人"), this));
    row->addWidget(cbNextFor);
    row->addStretch();
}

void TFrmGJJL::showOpenReminders()
{
    QStringList open;
    for (const Reminders::Open& r : Reminders::openFor(mainDb(), m_table, m_number))
        open << QStringLiteral("%1 %2").arg(r.due.left(16),
                                            r.forName.isEmpty() ? r.forWhom : r.forName);
    lblNext->setText(open.isEmpty() ? QStringLiteral("待跟进：无")
                                    : QStringLiteral("待跟进：") + open.join(QStringLiteral("；")));
}

std::optional<Reminders::Due> TFrmGJJL::nextDue() const
{
    if (!chkNext->isChecked()) return std::nullopt;
    return Reminders::Due{dtNext->dateTime(), cbNextFor->currentData().toString()};
}

void TFrmGJJL::reload(qlonglong select)
{
    showOpenReminders();
    m_notes = FollowUps::forRecord(mainDb(), m_table, m_number);
    const QSignalBlocker quiet(gridNotes);
    gridNotes->clearSelection();
    gridNotes->setRowCount(int(m_notes.size()));
    for (int i = 0; i < m_notes.size(); ++i) {
        const FollowUps::Note& n = m_notes[i];
        const QString other = m_table == kListings ? n.customer
                              : n.table == m_table ? QString()
                                                   : n.number;
        const QStringList cells = {n.time, n.authorName.isEmpty() ? n.author : n.authorName, n.kind,
                                   n.text, other};
        for (int col = 0; col < cells.size(); ++col) {
            auto* item = new QTableWidgetItem(cells[col]);
            item->setToolTip(col == 3 ? n.text : QString());
            gridNotes->setItem(i, col, item);
        }
        if (n.id == select) gridNotes->selectRow(i);
    }
}

void TFrmGJJL::showChosen()
{
    const int row = gridNotes->currentRow();
    if (row < 0 || row >= m_notes.size() || gridNotes->selectedItems().isEmpty()) return;
    const FollowUps::Note& n = m_notes[row];
    cbFS->setCurrentIndex(int(FollowUps::kinds().indexOf(n.kind)));
    edtKHDAH->setText(n.table == kListings ? n.customer : QString());
    memoNR->setPlainText(n.text);
}

const FollowUps::Note* TFrmGJJL::chosen()
{
    const int row = gridNotes->currentRow();
    if (row < 0 || row >= m_notes.size() || gridNotes->selectedItems().isEmpty()) {
        dialogs().message(this, QStringLiteral("请先在列表中选择一条跟进记录"));
        return nullptr;
    }
    return &m_notes[row];
}

FollowUps::Note TFrmGJJL::fromBox(FollowUps::Note note) const
{
    note.kind = cbFS->currentText();
    note.text = memoNR->toPlainText();
    // A listing's viewing shown on a customer's card keeps the customer it names.
    if (note.table == m_table) note.customer = m_table == kListings ? edtKHDAH->text() : QString();
    return note;
}

bool TFrmGJJL::refused(const FollowUps::Note& note)
{
    const auto why = FollowUps::refusal(mainDb(), note);
    if (!why) return false;
    dialogs().message(this, why->text);
    QWidget* at = why->part == FollowUps::Refusal::Text   ? static_cast<QWidget*>(memoNR)
                  : why->part == FollowUps::Refusal::Kind ? static_cast<QWidget*>(cbFS)
                                                          : edtKHDAH;
    if (at->isVisible()) at->setFocus();
    return true;
}

bool TFrmGJJL::mayChange(const FollowUps::Note& note)
{
    if (FollowUps::mayChange(note, CurUser.YGBH, CurUser.GNZ)) return true;
    dialogs().message(this, FollowUps::notYoursText());
    return false;
}

void TFrmGJJL::btnAddClick()
{
    FollowUps::Note note;
    note.table = m_table;
    note.number = m_number;
    note = fromBox(note);
    if (refused(note)) return;
    const std::optional<Reminders::Due> next = nextDue();
    if (next) {
        const QString why = Reminders::refusal(mainDb(), *next);
        if (!why.isEmpty()) {
            dialogs().message(this, why);
            dtNext->setFocus();
            return;
        }
    }
    FollowUps::add(mainDb(), note, next);
    memoNR->clear();
    edtKHDAH->clear();
    chkNext->setChecked(false);
    reload();
    memoNR->setFocus();
}

void TFrmGJJL::btnChangeClick()
{
    const FollowUps::Note* was = chosen();
    if (!was || !mayChange(*was)) return;
    const FollowUps::Note note = fromBox(*was);
    if (refused(note)) return;
    FollowUps::change(mainDb(), note, CurUser.GNZ);
    reload(note.id);
}

void TFrmGJJL::btnDeleteClick()
{
    const FollowUps::Note* was = chosen();
    if (!was || !mayChange(*was)) return;
    if (!dialogs().question(this, QStringLiteral("是否删除选择的跟进记录？"))) return;
    FollowUps::remove(mainDb(), was->id, CurUser.GNZ);
    memoNR->clear();
    edtKHDAH->clear();
    reload();
}
