#include "listings/Frm_LLFZ.h"

#include "listings/Frm_fycx.h"
#include "listings/ListingPanel.h"
#include "listings/StructureFile.h"
#include "photos/PhotoStrip.h"
#include "photos/SheetRun.h"
#include "photos/core/PhotoStore.h"
#include "registers/QueryFrame.h"
#include "registers/QueryWindow.h"
#include "registers/RecordRows.h"
#include "shell/Door.h"
#include "widgets/DataSetActions.h"
#include "widgets/DbControls.h"
#include "widgets/WidgetUtil.h"

#include <QHBoxLayout>

#include <QLabel>
#include <QPushButton>

namespace
{

RecordCardConfig cardConfig()
{
    return {QStringLiteral("FrmLLFZ"), QStringLiteral("查看房源信息"), ListingPanel::layout(),
            QDialog::Rejected};
}

TFrmFYCX* ownerOr(TFrmFYCX* owner)
{
    return owner ? owner : FrmFYCX.data();
}

} // namespace

TFrmLLFZ::TFrmLLFZ(TFrmFYCX* owner) : TFrmLLFZ(ownerOr(owner)->records(), ownerOr(owner)) {}

TFrmLLFZ::TFrmLLFZ(RecordRows& rows, QWidget* parent) : RecordCard(cardConfig(), rows, parent)
{
    // 期限: shown, set only through the date picker.
    auto* deadline = new DbEdit(this);
    deadline->setObjectName(QStringLiteral("DBEdit10"));
    deadline->bind(&records().link(), QStringLiteral("期限"));
    deadline->setReadOnly(true);
    deadline->setMaximumWidth(90);
    QPushButton* pick = namedButton(this, "Button2", QStringLiteral("..."));
    pick->setFixedWidth(24);
    addToStrip({new QLabel(QStringLiteral("期限"), this), deadline, pick});

    onSignal(pick, &QPushButton::clicked, this, &TFrmLLFZ::Button2Click);
    onSignal(findChild<QPushButton*>(QStringLiteral("Button4")), &QPushButton::clicked, this,
             &TFrmLLFZ::Button4Click);
    onSignal(findChild<QPushButton*>(QStringLiteral("Button5")), &QPushButton::clicked, this,
             &TFrmLLFZ::Button5Click);

    // Whoever may change the listing here may change its photos; the query
    // window's 照片 column follows them.
    // 房源单 of this listing, at the end of the second row.
    btnFYD = namedButton(this, "btnFYD", QStringLiteral("房源单"));
    secondButtonRow()->addWidget(btnFYD);
    setTabOrder(btnGJJL, btnFYD);
    onSignal(btnFYD, &QPushButton::clicked, this, [this] { SheetRun::fromCard(this, row()); });
    followRows(&records().link(), btnFYD, [this] { btnFYD->setEnabled(records().holdsRow()); });
    photos = PhotoStrip::placeBelow(this, panel(), btnFYD->objectName());
    photos->follow(&row(), [this] { return row().canModify(); });
    onSignal(photos, &PhotoStrip::changed, this, [this] { Photos::addCountColumn(row()); });
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
