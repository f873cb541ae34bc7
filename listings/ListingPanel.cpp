#include "listings/ListingPanel.h"

#include "common/DbControls.h"
#include "common/PanelBuilder.h"

#include <QLabel>

namespace ListingPanel
{

CardLayout layout()
{
    return {QStringLiteral("房源信息档案卡"), QSize(650, 450), QRect(8, 46, 634, 352), 15};
}

void build(PanelBuilder& p)
{
    p.caption(QStringLiteral("小区名称"), 10, 10);
    p.edit("DBEdit1", QStringLiteral("小区名称"), 78, 10, 200);
    p.caption(QStringLiteral("地址"), 292, 10);
    p.edit("DBEdit2", QStringLiteral("地址"), 330, 10, 290);

    p.caption(QStringLiteral("房屋面积"), 10, 40);
    p.edit("DBEdit3", QStringLiteral("房屋面积"), 78, 40, 80);
    p.caption(QStringLiteral("楼层"), 170, 40);
    p.choice("cbLC", "DBEdit13", QStringLiteral("楼层"), 204, 40, 90);
    p.caption(QStringLiteral("户型"), 306, 40);
    p.choice("cbHX", "DBEdit14", QStringLiteral("户型"), 340, 40, 110);
    p.caption(QStringLiteral("价格"), 462, 40);
    // The asking price is shown on the card but changed only by a new entry.
    p.edit("DBEdit4", QStringLiteral("信息价格"), 496, 40, 124)->setReadOnly(p.onCard());

    p.caption(QStringLiteral("设施"), 10, 70);
    p.edit(p.name("DBEdit10", "DBEdit16"), QStringLiteral("设施"), 78, 70, 216);
    p.caption(QStringLiteral("位置"), 306, 70);
    p.choice("cbWZ", "DBEdit15", QStringLiteral("位置"), 340, 70, 110);
    p.caption(QStringLiteral("方式"), 462, 70);
    p.listOrShown("cbFS", "DBEdit11", QStringLiteral("方式"), 496, 70, 124);

    p.caption(QStringLiteral("权属"), 10, 100);
    p.listOrShown("cbQS", "DBEdit12", QStringLiteral("权属"), 78, 100, 110);
    p.caption(QStringLiteral("房龄"), 200, 100);
    // 房龄 takes digits only when entered; the card accepts any characters.
    p.edit("DBEdit9", QStringLiteral("新旧程度"), 236, 100, 50)->setDigitsOnly(!p.onCard());
    // One label around the box: the box lies in the gap between its two words.
    const QString gap(29, QLatin1Char(' '));
    QLabel* bus = p.caption(QStringLiteral("交通") + gap + QStringLiteral("路公交车"), 306, 100);
    const QFontMetrics fm(bus->font());
    p.edit(p.name("DBEdit11", "DBEdit17"), QStringLiteral("公交线路"),
           306 + fm.horizontalAdvance(QStringLiteral("交通")) + 3, 100,
           qMax(60, fm.horizontalAdvance(gap) - 6));

    p.button(p.name("Button3", "Button5"), QStringLiteral("联接房屋结构文件"), 10, 131, 140);
    p.edit(p.name("DBEdit13", "DBEdit19"), QStringLiteral("房屋结构文件"), 156, 131, 384);
    p.button("Button4", QStringLiteral("打开"), 548, 131, 72);

    p.caption(QStringLiteral("看房情况"), 10, 160);
    p.memo("DBMemo1", QStringLiteral("看房情况"), 78, 162, 542, 56);

    // Below the line: the owner's block, shown on the card to senior roles only.
    p.divider(226);
    p.beginConfidential();
    p.caption(QStringLiteral("房主姓名"), 10, 236, "lblFZXM");
    p.edit("DBEdit5", QStringLiteral("房主姓名"), 78, 236, 120);
    p.caption(QStringLiteral("电话"), 212, 236, "lblDH");
    p.edit("DBEdit6", QStringLiteral("电话"), 246, 236, 130);
    p.caption(QStringLiteral("手机"), 390, 236, "lblSJ");
    p.edit("DBEdit7", QStringLiteral("手机"), 424, 236, 196);
    p.caption(QStringLiteral("最低价格"), 10, 266, "lblZDJG");
    p.edit("DBEdit8", QStringLiteral("最低价格"), 78, 266, 120);
    p.caption(QStringLiteral("产权证号"), 212, 266, "lblCQZH");
    p.edit(p.name("DBEdit14", "DBEdit20"), QStringLiteral("产权证号"), 280, 266, 200);
    p.caption(QStringLiteral("备注"), 10, 296, "lblBZ");
    p.memo("DBMemo2", QStringLiteral("备注"), 78, 296, 542, 48);

    if (p.onCard())
        p.setTabOrder({"DBEdit1",  "DBEdit2", "DBEdit3",  "cbLC",     "cbHX",    "DBEdit4",
                       "DBEdit16", "cbWZ",    "DBEdit11", "DBEdit12", "DBEdit9", "DBEdit17",
                       "DBEdit19", "DBEdit5", "DBEdit6",  "DBEdit7",  "DBEdit8", "DBEdit20",
                       "DBMemo2",  "Button4", "Button5",  "DBMemo1"});
    else
        p.setTabOrder({"DBEdit1",  "DBEdit2", "DBEdit3", "cbLC",    "cbHX",    "DBEdit4",
                       "DBEdit10", "cbWZ",    "cbFS",    "cbQS",    "DBEdit9", "DBEdit11",
                       "DBEdit13", "DBEdit5", "DBEdit6", "DBEdit7", "DBEdit8", "DBEdit14",
                       "DBMemo2",  "Button3", "Button4", "DBMemo1"});
}

} // namespace ListingPanel
