#include "admin/Frm_jcsj.h"

#include "data/DbError.h"
#include "data/Text.h"
#include "shell/Dialogs.h"
#include "shell/Door.h"
#include "shell/Guard.h"
#include "widgets/DbGrid.h"
#include "widgets/DbNavigator.h"

#include <QHBoxLayout>
#include <QKeyEvent>
#include <QPushButton>
#include <QTabWidget>
#include <QTableView>
#include <QToolButton>
#include <QVBoxLayout>

TFrmJCSJ::TFrmJCSJ(QWidget* parent)
    : QDialog(parent), QryHXZD(&dmbasic->adoCntnfybase), QryLCZD(&dmbasic->adoCntnfybase),
      QryQSZD(&dmbasic->adoCntnfybase), QryWZZD(&dmbasic->adoCntnfybase),
      QryGYFSZD(&dmbasic->adoCntnfybase), QryXQFSZD(&dmbasic->adoCntnfybase)
{
    setObjectName(QStringLiteral("FrmJCSJ"));
    setWindowTitle(QStringLiteral("基础数据"));
    setWindowFlags(windowFlags() & ~Qt::WindowContextHelpButtonHint);

    PageControl1 = new QTabWidget(this);
    PageControl1->setObjectName(QStringLiteral("PageControl1"));

    Query* queries[4] = {&QryHXZD, &QryLCZD, &QryQSZD, &QryWZZD};
    DataSource* sources[4] = {&dsHXZD, &dsLCZD, &dsQSZD, &dsWZZD};
    for (int i = 0; i < 4; ++i) {
        Page& p = m_pages[i];
        p.q = queries[i];
        p.ds = sources[i];
        p.info = Dict::maintained()[i];
        p.q->addSql(QStringLiteral("select * from ") + p.info.table);
        p.q->beforeEdit = [this, i](Query&) { beforeEdit(m_pages[i]); };
        p.q->beforePost = [this, i](Query&) { beforePost(m_pages[i]); };
        p.q->beforeDelete = [this](Query&) { beforeDelete(); };
        p.q->open();
        p.ds->setDataSet(p.q);
        p.grid = new DbGrid(PageControl1);
        p.grid->setObjectName(QStringLiteral("DBGrid%1").arg(i + 1));
        p.grid->setDataSource(p.ds);
        p.grid->setColumns({{p.info.column, p.info.column, 200, {}}});
        p.grid->setEditable(true);
        // An editor opens when the user types or double-clicks, not merely by moving.
        p.grid->view()->setEditTriggers(QAbstractItemView::DoubleClicked |
                                        QAbstractItemView::EditKeyPressed |
                                        QAbstractItemView::AnyKeyPressed);
        p.grid->view()->installEventFilter(this);
        PageControl1->addTab(p.grid, p.info.tab);
    }
    // Read-only companions: their entries come with the database and have no tab.
    QryGYFSZD.addSql(QStringLiteral("select * from 供应方式字典"));
    QryGYFSZD.open();
    dsGYFSZD.setDataSet(&QryGYFSZD);
    QryXQFSZD.addSql(QStringLiteral("select * from 需求方式字典"));
    QryXQFSZD.open();
    dsXQFSZD.setDataSet(&QryXQFSZD);

    DBNavigator1 = new DbNavigator(this);
    DBNavigator1->setObjectName(QStringLiteral("DBNavigator1"));
    // The navigator's buttons take no focus, so text still in a cell editor is
    // handed to the entry before the button acts on it.
    for (int b = 0; b < DbNavigator::ButtonCount; ++b)
        connect(DBNavigator1->button(DbNavigator::Button(b)), &QToolButton::pressed, this,
                &TFrmJCSJ::commitGridEditor);
    BitBtn1 = new QPushButton(QStringLiteral("退出"), this);
    BitBtn1->setObjectName(QStringLiteral("BitBtn1"));
    BitBtn1->setAutoDefault(false);
    auto* bottom = new QHBoxLayout;
    bottom->addWidget(DBNavigator1);
    bottom->addStretch();
    bottom->addWidget(BitBtn1);

    auto* lay = new QVBoxLayout(this);
    lay->addWidget(PageControl1, 1);
    lay->addLayout(bottom);
    resize(420, 380);

    connect(PageControl1, &QTabWidget::currentChanged, this, &TFrmJCSJ::PageControl1Change);
    onSignal(BitBtn1, &QPushButton::clicked, this, &QDialog::reject);
    PageControl1->setCurrentIndex(0);
    PageControl1Change(0);
}

TFrmJCSJ::~TFrmJCSJ()
{
    closeAll();
}

void TFrmJCSJ::closeAll()
{
    // An entry being edited and not yet saved is dropped.
    for (Query* q : {&QryHXZD, &QryLCZD, &QryQSZD, &QryWZZD, &QryGYFSZD, &QryXQFSZD}) {
        q->cancel();
        q->close();
    }
}

void TFrmJCSJ::done(int r)
{
    closeAll();
    QDialog::done(r);
}

void TFrmJCSJ::PageControl1Change(int index)
{
    if (index >= 0 && index < 4) DBNavigator1->setDataSource(m_pages[index].ds);
}

bool TFrmJCSJ::eventFilter(QObject* watched, QEvent* event)
{
    if (event->type() != QEvent::KeyPress) return QDialog::eventFilter(watched, event);
    const int key = static_cast<QKeyEvent*>(event)->key();
    for (Page& p : m_pages) {
        if (watched != p.grid->view()) continue;
        Query* q = p.q;
        if (!q->isActive()) break;
        // Moving below the last row, or Insert, starts a new entry.
        if (key == Qt::Key_Insert) {
            commitGridEditor();
            guarded([&] { q->insert(); });
            return true;
        }
        if (key == Qt::Key_Down && q->state() != Query::State::Insert &&
            (q->isEmpty() || q->recNo() == q->recordCount() - 1)) {
            commitGridEditor();
            guarded([&] { q->append(); });
            return true;
        }
        break;
    }
    return QDialog::eventFilter(watched, event);
}

void TFrmJCSJ::commitGridEditor()
{
    const int i = PageControl1->currentIndex();
    if (i < 0 || i >= 4) return;
    QTableView* v = m_pages[i].grid->view();
    const QModelIndex cur = v->currentIndex();
    if (QWidget* editor = cur.isValid() ? v->indexWidget(cur) : nullptr) {
        emit v->itemDelegate()->commitData(editor);
        emit v->itemDelegate()->closeEditor(editor, QAbstractItemDelegate::NoHint);
    }
}

void TFrmJCSJ::beforeEdit(Page& p)
{
    p.before = Text::trim(p.q->text(p.info.column));
}

void TFrmJCSJ::beforePost(Page& p)
{
    Query& q = *p.q;
    const QString before = q.state() == Query::State::Insert ? QString() : p.before;
    const QString entry = q.text(p.info.column);
    const Dict::Failure f = Dict::check(entry, before, [&](const QString& e) {
        return Dict::entryExists(dmbasic->QryPUB, p.info, e);
    });
    if (f == Dict::Failure::None) {
        // Stored as checked, so an entry and the same entry with blanks cannot both exist.
        if (Text::trim(entry) != entry) q.setValue(p.info.column, Text::trim(entry));
        return;
    }
    dialogs().message(this, Dict::message(p.info, f));
    p.grid->view()->setFocus();
    throw SilentAbort();
}

void TFrmJCSJ::beforeDelete()
{
    if (!dialogs().question(this, QStringLiteral("是否删除该记录"))) throw SilentAbort();
}
