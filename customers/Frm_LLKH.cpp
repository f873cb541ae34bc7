#include "customers/Frm_LLKH.h"

#include "customers/CustomerPanel.h"
#include "customers/Frm_khcx.h"

TFrmLLKH::TFrmLLKH(TFrmKHCX* owner)
    : RecordCard({QStringLiteral("FrmLLKH"), QStringLiteral("查看客户信息客户"),
                  CustomerPanel::layout(), QDialog::Accepted},
                 owner ? owner : FrmKHCX.data())
{
}
