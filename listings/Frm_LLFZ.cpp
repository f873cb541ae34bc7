#include "listings/Frm_LLFZ.h"

#include "common/DataSetActions.h"
#include "common/DbControls.h"
#include "common/QueryFrame.h"
#include "common/QueryWindow.h"
#include "common/WidgetUtil.h"
#include "listings/Frm_fycx.h"
#include "listings/ListingPanel.h"
#include "listings/StructureFile.h"
#include "photos/PhotoStrip.h"
#include "photos/SheetRun.h"
#include "photos/core/PhotoStore.h"
#include <QHBoxLayout>

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

    // Whoever may change the listing here may change its photos; the query
    // window's 照片 column follows them.
    // 房源单 of this listing, at the end of the second row.
    btnFYD = namedButton(this, "btnFYD", QStringLiteral("房源单"));
    secondButtonRow()->addWidget(btnFYD);
    setTabOrder(btnGJJL, btnFYD);
    connect(btnFYD, &QPushButton::clicked, this, [this] { SheetRun::fromCard(this, row()); });
    followRows(&this->owner()->rowsLink(), btnFYD,
               [this] { btnFYD->setEnabled(this->owner()->holdsRow()); });
    photos = PhotoStrip::placeBelow(this, panel(), btnFYD->objectName());
    photos->follow(&row(), [this] { return row().canModify(); });
    connect(photos, &PhotoStrip::changed, this, [this] { Photos::addCountColumn(row()); });
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
