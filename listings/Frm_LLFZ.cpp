#include "listings/Frm_LLFZ.h"

#include "common/DbControls.h"
#include "common/QueryWindow.h"
#include "common/WidgetUtil.h"
#include "listings/Frm_fycx.h"
#include "listings/ListingPanel.h"
#include "listings/StructureFile.h"

#include <QLabel>
#include <QPushButton>

TFrmLLFZ::TFrmLLFZ(TFrmFYCX* owner)
    : RecordCard({QStringLiteral("FrmLLFZ"), QStringLiteral("查看房源信息"), ListingPanel::layout(),
                  QDialog::Rejected},
                 owner ? owner : FrmFYCX.data())
{
    // 期限: shown, set only through the date picker.
    auto* deadline = new DbEdit(this);
    deadline->setObjectName(QStringLiteral("DBEdit10"));
    deadline->bind(&this->owner()->rowsLink(), QStringLiteral("期限"));
    deadline->setReadOnly(true);
    deadline->setMaximumWidth(90);
    QPushButton* pick = namedButton(this, "Button2", QStringLiteral("..."));
    pick->setFixedWidth(24);
    addToStrip({new QLabel(QStringLiteral("期限"), this), deadline, pick});

    connect(pick, &QPushButton::clicked, this, &TFrmLLFZ::Button2Click);
    connect(findChild<QPushButton*>(QStringLiteral("Button4")), &QPushButton::clicked, this,
            &TFrmLLFZ::Button4Click);
    connect(findChild<QPushButton*>(QStringLiteral("Button5")), &QPushButton::clicked, this,
            &TFrmLLFZ::Button5Click);
}

void TFrmLLFZ::Button2Click()
{
    QString date;
    if (QueryWindow::pickDate(this, date)) writeToRow(QStringLiteral("期限"), date);
}

void TFrmLLFZ::Button5Click()
{
    StructureFile::link(this, row());
}

void TFrmLLFZ::Button4Click()
{
    StructureFile::open(row());
}
