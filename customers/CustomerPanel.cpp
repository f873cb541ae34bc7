#include "customers/CustomerPanel.h"

#include "common/PanelBuilder.h"

namespace CustomerPanel
{

CardLayout layout()
{
    return {QStringLiteral("客户信息档案卡"), QSize(585, 390), QRect(8, 46, 569, 290), 15};
}

void build(PanelBuilder& p)
{
    p.caption(QStringLiteral("地址描述"), 10, 10);
    p.edit("DBEdit2", QStringLiteral("地址描述"), 78, 10, 476);

    p.caption(QStringLiteral("方式"), 10, 40);
    p.listOrShown("cbFS", "DBEdit1", QStringLiteral("需求方式"), 78, 40, 120);
    p.caption(QStringLiteral("权属"), 214, 40);
    p.listOrShown("cbQS", "DBEdit3", QStringLiteral("权属"), 250, 40, 130);

    p.caption(QStringLiteral("面积"), 10, 70);
    p.edit("DBEdit5", QStringLiteral("面积1"), 78, 70, 90);
    p.caption(QStringLiteral("-"), 172, 70);
    p.edit("DBEdit6", QStringLiteral("面积2"), 184, 70, 90);
    p.caption(QStringLiteral("价格"), 290, 70);
    p.edit("DBEdit7", QStringLiteral("价格1"), 326, 70, 105);
    p.caption(QStringLiteral("-"), 435, 70);
    p.edit("DBEdit8", QStringLiteral("价格2"), 449, 70, 105);

    // On the card each stored value shows in a box 16 pixels narrower than its list.
    p.caption(QStringLiteral("楼层"), 10, 100);
    p.choice("cbLC", "DBEdit4", QStringLiteral("楼层"), 78, 100, 105, true);
    p.caption(QStringLiteral("户型"), 196, 100);
    p.choice("cbHX", "DBEdit12", QStringLiteral("户型"), 232, 100, 105, true);
    p.caption(QStringLiteral("位置"), 350, 100);
    p.choice("cbWZ", "DBEdit13", QStringLiteral("位置"), 386, 100, 169, true);

    p.caption(QStringLiteral("需求设施"), 10, 130);
    p.memo("DBMemo1", QStringLiteral("需求设施"), 78, 132, 476, 96);

    // Below the line: the customer's name and phones, shown on the card to senior
    // roles only.
    p.divider(238);
    p.beginConfidential();
    p.caption(QStringLiteral("客户姓名"), 10, 252, "lblKHXM");
    p.edit("DBEdit9", QStringLiteral("客户姓名"), 78, 252, 110);
    p.caption(QStringLiteral("电话"), 200, 252, "lblDH");
    p.edit("DBEdit10", QStringLiteral("电话"), 236, 252, 130);
    p.caption(QStringLiteral("手机"), 380, 252, "lblSJ");
    p.edit("DBEdit11", QStringLiteral("手机"), 416, 252, 138);

    if (p.onCard())
        p.setTabOrder({"DBEdit2", "DBEdit1", "DBEdit3", "DBEdit5", "DBEdit6", "DBEdit7", "DBEdit8",
                       "DBEdit4", "cbLC", "DBEdit12", "cbHX", "DBEdit13", "cbWZ", "DBMemo1",
                       "DBEdit9", "DBEdit10", "DBEdit11"});
    else
        p.setTabOrder({"DBEdit2", "cbFS", "cbQS", "DBEdit5", "DBEdit6", "DBEdit7", "DBEdit8",
                       "cbLC", "cbHX", "cbWZ", "DBMemo1", "DBEdit9", "DBEdit10", "DBEdit11"});
}

} // namespace CustomerPanel
