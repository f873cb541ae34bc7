#include "registers/RecordCard.h"

#include "data/Text.h"
#include "records/FollowUpWindow.h"
#include "records/Frm_xgjl.h"
#include "registers/PanelBuilder.h"
#include "registers/RecordRows.h"
#include "session/PubVars.h"
#include "shell/Dialogs.h"
#include "shell/Door.h"
#include "widgets/DataSetActions.h"
#include "widgets/DbControls.h"
#include "widgets/DbListOverlay.h"
#include "widgets/WidgetUtil.h"

#include <QAction>
#include <QComboBox>
#include <QHBoxLayout>
#include <QPushButton>

RecordCard::RecordCard(const RecordCardConfig& config, RecordRows& rows, QWidget* parent)
    : CardFrame(config.layout, parent), m_config(config), m_rows(rows)
{
    setObjectName(config.objectName);
    setWindowTitle(config.caption);
    setFont(pixelFont(QStringLiteral("宋体"), 15));
    setFixedSize(config.layout.size);
    PanelBuilder p(panel(), &rows.link(), PanelBuilder::Use::Card);
    config.layout.build(p);
    finishPanel(p);
    centre();
}

bool RecordCard::showsConfidential(const QString& role)
{
    return role == Roles::Senior || role == Roles::Admin;
}

bool RecordCard::confidentialVisible() const
{
    return !m_confidential.isEmpty() && !m_confidential.first()->isHidden();
}

Query& RecordCard::row() const
{
    return m_rows.rows();
}

void RecordCard::finishPanel(const PanelBuilder& p)
{
    DataSource* ds = &m_rows.link();
    DBCheckBox1 = new DbCheckBox(this);
    DBCheckBox1->setObjectName(QStringLiteral("DBCheckBox1"));
    DBCheckBox1->setText(QStringLiteral("是否有效"));
    DBCheckBox1->bind(ds, QStringLiteral("类型"), QStringLiteral("有效"), QStringLiteral("无效"));
    Button1 = namedButton(this, "Button1", {});
    Button3 = namedButton(this, "Button3", {});
    BitBtn1 = namedButton(this, "BitBtn1", QStringLiteral("退出"));
    btnPP = namedButton(this, "btnPP", m_rows.config().match.button);
    btnGJJL = namedButton(this, "btnGJJL", QStringLiteral("跟进记录"));
    onSignal(btnGJJL, &QPushButton::clicked, this, &RecordCard::btnGJJLClick);
    // The buttons follow the query window's row actions: caption, availability, press.
    auto bindAction = [](QPushButton* b, QAction* a) {
        auto sync = [b, a] {
            b->setText(a->text());
            b->setEnabled(a->isEnabled());
        };
        sync();
        connect(a, &QAction::changed, b, sync);
        onSignal(b, &QPushButton::clicked, a, &QAction::trigger);
    };
    bindAction(Button1, m_rows.post());
    bindAction(Button3, m_rows.remove());
    onSignal(BitBtn1, &QPushButton::clicked, this, [this] { done(m_config.exitResult); });
    onSignal(btnPP, &QPushButton::clicked, this, &RecordCard::btnPPClick);
    followRows(ds, btnPP, [this] { btnPP->setEnabled(m_rows.holdsRow()); });
    btnXGJL = namedButton(this, "btnXGJL", QStringLiteral("修改记录"));
    onSignal(btnXGJL, &QPushButton::clicked, this, &RecordCard::btnXGJLClick);
    btnCJ = namedButton(this, "btnCJ", QStringLiteral("成交登记"));
    onSignal(btnCJ, &QPushButton::clicked, this, &RecordCard::btnCJClick);
    followRows(ds, btnCJ, [this] { btnCJ->setEnabled(m_rows.holdsRow()); });

    QHBoxLayout* strip = buttonRow();
    strip->addWidget(DBCheckBox1);
    strip->addStretch();
    for (QPushButton* b : {Button1, Button3, BitBtn1})
        strip->addWidget(b);
    // Matching, history and notes in a row of their own: the strip has no room left.
    QHBoxLayout* more = secondButtonRow();
    more->addStretch();
    for (QPushButton* b : {btnPP, btnXGJL, btnGJJL, btnCJ})
        more->addWidget(b);
    m_panelOrder = p.tabOrder();
    addToStrip({});

    // The lists offer the dictionary entries as loaded when the query window opened.
    const QList<std::pair<QString, void (RecordCard::*)()>> lists = {
        {QStringLiteral("cbLC"), &RecordCard::cbLCChange},
        {QStringLiteral("cbHX"), &RecordCard::cbHXChange},
        {QStringLiteral("cbWZ"), &RecordCard::cbWZChange}};
    for (const auto& [control, handler] : lists) {
        auto* o = findChild<DbListOverlay*>(control + QStringLiteral("Overlay"));
        o->setItems(m_rows.listItems(control));
        onSignal(o->list(), &QComboBox::activated, this, handler);
    }

    m_confidential = p.confidential();
    const bool shown = showsConfidential(CurUser.GNZ);
    for (QWidget* w : m_confidential)
        w->setVisible(shown);
}

void RecordCard::addToStrip(const QList<QWidget*>& own)
{
    QStringList order = m_panelOrder;
    order << DBCheckBox1->objectName();
    if (!own.isEmpty()) buttonRow()->insertSpacing(1, 12);
    for (int i = 0; i < own.size(); ++i) {
        buttonRow()->insertWidget(2 + i, own[i]);
        if (own[i]->focusPolicy() != Qt::NoFocus) order << own[i]->objectName();
    }
    order << Button1->objectName() << Button3->objectName() << BitBtn1->objectName()
          << btnPP->objectName() << btnXGJL->objectName() << btnGJJL->objectName()
          << btnCJ->objectName();
    setTabOrderByName(order);
}

void RecordCard::writeToRow(const QString& column, const QVariant& value)
{
    Query& q = row();
    if (!q.isActive() || q.isEmpty()) return;
    if (!q.isEditing()) q.edit();
    q.setValue(column, value);
}

void RecordCard::writeChoice(const char* list, const QString& column)
{
    const auto* cb = findChild<QComboBox*>(QString::fromLatin1(list));
    writeToRow(column, Text::trim(cb->currentText()));
}

void RecordCard::cbLCChange()
{
    writeChoice("cbLC", QStringLiteral("楼层"));
}

void RecordCard::cbHXChange()
{
    writeChoice("cbHX", QStringLiteral("户型"));
}

void RecordCard::cbWZChange()
{
    writeChoice("cbWZ", QStringLiteral("位置"));
}

void RecordCard::btnPPClick()
{
    if (row().isEditing()) {
        if (!dialogs().question(this, QStringLiteral("修改尚未保存，是否保存后再匹配？"))) return;
        m_rows.post()->trigger();
        if (row().isEditing()) return; // refused: its message has been shown
    }
    m_rows.matchCurrent(this);
}

QStringList RecordCard::confidentialColumns() const
{
    QStringList out;
    for (const QWidget* w : m_confidential) {
        if (const auto* e = qobject_cast<const DbEdit*>(w)) out << e->field();
        if (const auto* m = qobject_cast<const DbMemo*>(w)) out << m->field();
    }
    return out;
}

void RecordCard::btnXGJLClick()
{
    const Query& q = row();
    if (!q.isActive() || q.isEmpty()) return;
    const QStringList hidden =
        showsConfidential(CurUser.GNZ) ? QStringList() : confidentialColumns();
    TFrmXGJL history(q.tableName(), q.text(QStringLiteral("档案号")), hidden, this);
    dialogs().exec(&history);
}

void RecordCard::btnGJJLClick()
{
    Query& q = row();
    if (!q.isActive() || q.isEmpty()) return;
    TFrmGJJL notes(q.tableName(), q.text(QStringLiteral("档案号")), this);
    dialogs().exec(&notes);
    // The query window's column of last-note dates shows what the window changed.
    FollowUps::addLastColumn(q);
}

RecordCard::DealEntry& RecordCard::dealEntry()
{
    static DealEntry entry;
    return entry;
}

void RecordCard::btnCJClick()
{
    if (!dealEntry() || !m_rows.holdsRow()) return;
    if (row().isEditing()) {
        if (!dialogs().question(this, QStringLiteral("修改尚未保存，是否保存后再登记成交？")))
            return;
        m_rows.post()->trigger();
        if (row().isEditing()) return; // refused: its message has been shown
    }
    Query& q = row();
    const QString number = q.text(QStringLiteral("档案号"));
    if (!dealEntry()(this, q.tableName(), number)) return;
    // The deal turned the record invalid in the database: read the result again.
    q.close();
    q.open();
    q.locate(QStringLiteral("档案号"), number);
}

void RecordCard::done(int r)
{
    // Leaving the card discards unsaved changes without a question.
    Query& q = row();
    if (q.isActive() && q.isEditing()) q.cancel();
    QDialog::done(r);
}
