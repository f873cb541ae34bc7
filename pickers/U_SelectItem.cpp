#include "pickers/U_SelectItem.h"

#include "pickers/PubParams.h"
#include "shell/Door.h"
#include "widgets/DbGrid.h"
#include "widgets/WidgetUtil.h"

#include <QHBoxLayout>
#include <QListWidget>
#include <QToolButton>
#include <QVBoxLayout>

TdlgSelectItem::TdlgSelectItem(QWidget* parent) : QDialog(parent)
{
    setObjectName(QStringLiteral("dlgSelectItem"));
    setWindowTitle(QStringLiteral("选择项目"));
    setFixedSize(240, 300);

    clbItem = new QListWidget(this);
    clbItem->setObjectName(QStringLiteral("clbItem"));
    btnSelectAll =
        flatButton(this, QStringLiteral("btnSelectAll"), QStringLiteral("全选"), 0, false);
    btnSelectNone =
        flatButton(this, QStringLiteral("btnSelectNone"), QStringLiteral("全消"), 0, false);
    btnOK = flatButton(this, QStringLiteral("btnOK"), QStringLiteral("确定"), 0, false);
    btnCancel = flatButton(this, QStringLiteral("btnCancel"), QStringLiteral("取消"), 0, false);

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
