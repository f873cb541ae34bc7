#include "widgets/DbNavigator.h"

#include "shell/Door.h"
#include "shell/Guard.h"

#include <QHBoxLayout>
#include <QStyle>

DbNavigator::DbNavigator(QWidget* parent) : QWidget(parent)
{
    auto* lay = new QHBoxLayout(this);
    lay->setContentsMargins(0, 0, 0, 0);
    lay->setSpacing(0);
    struct Def {
        const char* name;
        const char* hint;
        const char* glyph;
    };
    static const Def defs[ButtonCount] = {
        {"nbFirst", "第一条", "|◀"},  {"nbPrior", "上一条", "◀"}, {"nbNext", "下一条", "▶"},
        {"nbLast", "最后一条", "▶|"}, {"nbInsert", "增加", "+"},  {"nbDelete", "删除", "−"},
        {"nbEdit", "修改", "▲"},      {"nbPost", "保存", "✓"},    {"nbCancel", "取消", "✗"},
        {"nbRefresh", "刷新", "↻"},
    };
    for (int i = 0; i < ButtonCount; ++i) {
        auto* b = new QToolButton(this);
        b->setObjectName(QString::fromLatin1(defs[i].name));
        b->setToolTip(QString::fromUtf8(defs[i].hint));
        b->setText(QString::fromUtf8(defs[i].glyph));
        b->setFixedSize(26, 24);
        lay->addWidget(b);
        m_buttons[i] = b;
        onSignal(b, &QToolButton::clicked, this, [this, i] { click(Button(i)); });
    }
    updateState();
}

void DbNavigator::setDataSource(DataSource* ds)
{
    if (m_ds) disconnect(m_ds, nullptr, this, nullptr);
    m_ds = ds;
    if (ds) {
        connect(ds, &DataSource::dataSetChanged, this, &DbNavigator::updateState);
        connect(ds, &DataSource::stateChanged, this, &DbNavigator::updateState);
        connect(ds, &DataSource::currentChanged, this, &DbNavigator::updateState);
        connect(ds, &DataSource::rowRemoved, this, &DbNavigator::updateState);
        connect(ds, &DataSource::rowInserted, this, &DbNavigator::updateState);
    }
    updateState();
}

void DbNavigator::setVisibleButtons(const QList<Button>& buttons)
{
    for (int i = 0; i < ButtonCount; ++i)
        m_buttons[i]->setVisible(buttons.contains(Button(i)));
}

void DbNavigator::click(Button b)
{
    Query* q = m_ds ? m_ds->dataSet() : nullptr;
    if (!q || !q->isActive()) return;
    switch (b) {
    case First:
        q->first();
        break;
    case Prior:
        q->prior();
        break;
    case Next:
        q->next();
        break;
    case Last:
        q->last();
        break;
    case Insert:
        q->insert();
        break;
    case Delete:
        q->remove();
        break;
    case Edit:
        q->edit();
        break;
    case Post:
        q->post();
        break;
    case Cancel:
        q->cancel();
        break;
    case Refresh: {
        const int row = q->recNo();
        q->checkBrowseMode();
        q->open();
        if (row >= 0) q->setRecNo(row);
        break;
    }
    default:
        break;
    }
    updateState();
}

void DbNavigator::updateState()
{
    Query* q = m_ds ? m_ds->dataSet() : nullptr;
    const bool active = q && q->isActive();
    const bool editing = active && q->isEditing();
    const bool browse = active && !editing;
    const int n = active ? q->recordCount() : 0;
    const int r = active ? q->recNo() : -1;
    const bool mod = active && q->canModify();
    // Moving while editing saves the row first, as the row set does.
    m_buttons[First]->setEnabled(active && r > 0);
    m_buttons[Prior]->setEnabled(active && r > 0);
    m_buttons[Next]->setEnabled(active && r >= 0 && r < n - 1);
    m_buttons[Last]->setEnabled(active && r >= 0 && r < n - 1);
    m_buttons[Insert]->setEnabled(mod && browse);
    m_buttons[Delete]->setEnabled(mod && n > 0);
    m_buttons[Edit]->setEnabled(mod && browse && n > 0);
    m_buttons[Post]->setEnabled(editing);
    m_buttons[Cancel]->setEnabled(editing);
    m_buttons[Refresh]->setEnabled(active);
}
