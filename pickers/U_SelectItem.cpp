#include "pickers/U_SelectItem.h"

#include "pickers/PubParams.h"
#include "shell/Door.h"
#include "widgets/DbGrid.h"

#include <QHBoxLayout>
#include <QListWidget>
#include <QToolButton>
#include <QVBoxLayout>

namespace
{

QToolButton* flatButton(const QString& text, const QString& name, QWidget* parent)
{
    auto* b = new QToolButton(parent);
    b->setText(text);
    b->setObjectName(name);
    b->setAutoRaise(true);
    b->setFocusPolicy(Qt::NoFocus);
    return b;
}

} // namespace

TdlgSelectItem::TdlgSelectItem(QWidget* parent) : QDialog(parent)
{
    setObjectName(QStringLiteral("dlgSelectItem"));
    setWindowTitle(QStringLiteral("选择项目"));
    setFixedSize(240, 300);

    clbItem = new QListWidget(this);
    clbItem->setObjectName(QStringLiteral("clbItem"));
    btnSelectAll = flatButton(QStringLiteral("全选"), QStringLiteral("btnSelectAll"), this);
    btnSelectNone = flatButton(QStringLiteral("全消"), QStringLiteral("btnSelectNone"), this);
    btnOK = flatButton(QStringLiteral("确定"), QStringLiteral("btnOK"), this);
    btnCancel = flatButton(QStringLiteral("取消"), QStringLiteral("btnCancel"), this);

    auto* buttons = new QHBoxLayout;
    buttons->setSpacing(2);
    for (QToolButton* b : {btnSelectAll, btnSelectNone, btnOK, btnCancel})
        buttons->addWidget(b);
    auto* lay = new QVBoxLayout(this);
    lay->addWidget(clbItem, 1);
    lay->addLayout(buttons);

    onSignal(btnSelectAll, &QToolButton::clicked, this, &TdlgSelectItem::btnSelectAllClick);
    onSignal(btnSelectNone, &QToolButton::clicked, this, &TdlgSelectItem::btnSelectNoneClick);
    onSignal(btnOK, &QToolButton::clicked, this, &TdlgSelectItem::btnOKClick);
    onSignal(btnCancel, &QToolButton::clicked, this, &QDialog::reject);

    FormCreate();
}

void TdlgSelectItem::FormCreate()
{
    clbItem->clear();
    if (!PubGrid) return;
    for (int i = 0; i < PubGrid->columnCount(); ++i) {
        auto* item = new QListWidgetItem(PubGrid->column(i).title, clbItem);
        item->setFlags(Qt::ItemIsEnabled | Qt::ItemIsSelectable | Qt::ItemIsUserCheckable);
        item->setCheckState(PubGrid->isColumnVisible(i) ? Qt::Checked : Qt::Unchecked);
    }
}

void TdlgSelectItem::btnSelectAllClick()
{
    for (int i = 0; i < clbItem->count(); ++i)
        clbItem->item(i)->setCheckState(Qt::Checked);
}

void TdlgSelectItem::btnSelectNoneClick()
{
    for (int i = 0; i < clbItem->count(); ++i)
        clbItem->item(i)->setCheckState(Qt::Unchecked);
}

void TdlgSelectItem::btnOKClick()
{
    if (PubGrid) {
        for (int i = 0; i < PubGrid->columnCount(); ++i) {
            QListWidgetItem* item = clbItem->item(i);
            PubGrid->setColumnVisible(i, item && item->checkState() == Qt::Checked);
        }
    }
    accept();
}
