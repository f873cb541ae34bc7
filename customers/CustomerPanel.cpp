#include "customers/CustomerPanel.h"

#include "registers/PanelBuilder.h"
#include "widgets/DbControls.h"

namespace CustomerPanel
{

namespace
{

void build(PanelBuilder& p)
{
    p.row(10, {{"地址描述", p.edit("DBEdit2", "地址描述", 476)}});
    p.row(40, {{"方式", p.listOrShown("cbFS", "DBEdit1", "需求方式", 120)},
               {"权属", p.listOrShown("cbQS", "DBEdit3", "权属", 130)}});
    // Each range: the lower bound, a short dash, the upper bound.
    p.row(70, {{"面积", p.edit("DBEdit5", "面积1", 90)},
               {"-", p.edit("DBEdit6", "面积2", 90)},
               {"价格", p.edit("DBEdit7", "价格1", 100)},
               {"-", p.edit("DBEdit8", "价格2", 100)}});
    // On the card each stored value shows in a box 16 pixels narrower than its
    // list; Tab stops at the box and then at the list.
    p.row(100, {{"楼层", p.choice("cbLC", "DBEdit4", "楼层", 105, true)},
                {"户型", p.choice("cbHX", "DBEdit12", "户型", 105, true)},
                {"位置", p.choice("cbWZ", "DBEdit13", "位置", 169, true)}});
    p.row(132, {{"需求设施", p.memo("DBMemo1", "需求设施", 476, 96)}});

    // Below the line: the customer's name and phones, shown on the card to senior
    // roles only.
    p.beginConfidential(238);
    p.row(252, {{"客户姓名", p.edit("DBEdit9", "客户姓名", 110), "lblKHXM"},
                {"电话", p.edit("DBEdit10", "电话", 130), "lblDH"},
                {"手机", p.edit("DBEdit11", "手机", 138), "lblSJ"}});

    p.setTabOrder(
        p.onCard()
            ? QStringList{"DBEdit2", "DBEdit1", "DBEdit3", "DBEdit5", "DBEdit6", "DBEdit7",
                          "DBEdit8", "DBEdit4", "cbLC", "DBEdit12", "cbHX", "DBEdit13", "cbWZ",
                          "DBMemo1", "DBEdit9", "DBEdit10", "DBEdit11"}
            : QStringList{"DBEdit2", "cbFS", "cbQS", "DBEdit5", "DBEdit6", "DBEdit7", "DBEdit8",
                          "cbLC", "cbHX", "cbWZ", "DBMemo1", "DBEdit9", "DBEdit10", "DBEdit11"});
}

} // namespace

CardLayout layout()
{
    return {QStringLiteral("客户信息档案卡"), QSize(585, 390), QRect(8, 46, 569, 290), 15, &build};
}

} // namespace CustomerPanel
