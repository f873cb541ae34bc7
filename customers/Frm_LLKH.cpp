#include "customers/Frm_LLKH.h"

#include "common/PanelBuilder.h"
#include "customers/CustomerPanel.h"
#include "customers/Frm_khcx.h"

TFrmLLKH::TFrmLLKH(TFrmKHCX* owner)
    : RecordCard({QStringLiteral("FrmLLKH"), QStringLiteral("查看客户信息客户"),
                  CustomerPanel::layout(), QDialog::Accepted},
                 owner ? owner : FrmKHCX.data())
{
    PanelBuilder p(panel(), &this->owner()->rowsLink(), PanelBuilder::Use::Card);
    CustomerPanel::build(p);
    finishPanel(p);
}
