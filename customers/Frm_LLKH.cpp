#include "customers/Frm_LLKH.h"

#include "customers/CustomerPanel.h"
#include "customers/Frm_khcx.h"

namespace
{

RecordCardConfig cardConfig()
{
    return {QStringLiteral("FrmLLKH"), QStringLiteral("查看客户信息客户"), CustomerPanel::layout(),
            QDialog::Accepted};
}

TFrmKHCX* ownerOr(TFrmKHCX* owner)
{
    return owner ? owner : FrmKHCX.data();
}

} // namespace

TFrmLLKH::TFrmLLKH(TFrmKHCX* owner)
    : RecordCard(cardConfig(), ownerOr(owner)->records(), ownerOr(owner))
{
}

TFrmLLKH::TFrmLLKH(RecordRows& rows, QWidget* parent) : RecordCard(cardConfig(), rows, parent) {}
