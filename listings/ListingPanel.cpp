#include "listings/ListingPanel.h"

#include "registers/PanelBuilder.h"
#include "widgets/DbControls.h"

#include <QLabel>
#include <QPushButton>

namespace ListingPanel
{

namespace
{

void build(PanelBuilder& p)
{
    const bool card = p.onCard();
    p.row(10, {{"小区名称", p.edit("DBEdit1", "小区名称", 200)},
               {"地址", p.edit("DBEdit2", "地址", 290)}});
    // The asking price is shown on the card but changed only by a new entry.
    p.row(40, {{"房屋面积", p.edit("DBEdit3", "房屋面积", 80)},
               {"楼层", p.choice("cbLC", "DBEdit13", "楼层", 90)},
               {"户型", p.choice("cbHX", "DBEdit14", "户型", 110)},
               {"价格",
                card ? p.shown("DBEdit4", "信息价格", 118) : p.edit("DBEdit4", "信息价格", 118)}});
    p.row(70, {{"设施", p.edit(p.name("DBEdit10", "DBEdit16"), "设施", 216)},
               {"位置", p.choice("cbWZ", "DBEdit15", "位置", 110)},
               {"方式", p.listOrShown("cbFS", "DBEdit11", "方式", 118)}});
    // One label around the 公交线路 box: the box lies in the gap between its words.
    const QString gap(29, QLatin1Char(' '));
    QLabel* bus = p.row(100, {{"权属", p.listOrShown("cbQS", "DBEdit12", "权属", 110)},
                              // 房龄 takes digits only when entered; any characters on the card.
                              {"房龄", card ? p.edit("DBEdit9", "新旧程度", 50)
                                            : p.digits("DBEdit9", "新旧程度", 50)},
                              {QStringLiteral("交通") + gap + QStringLiteral("路公交车")}})
                      .last();
    const QFontMetrics fm(bus->font());
    const int busLeft = bus->x() + fm.horizontalAdvance(QStringLiteral("交通")) + 3;
    p.edit(p.name("DBEdit11", "DBEdit17"), "公交线路", qMax(60, fm.horizontalAdvance(gap) - 6))
        ->move(busLeft, 100);
    p.row(131, {{{}, p.button(p.name("Button3", "Button5"), "联接房屋结构文件", 140)},
                {{}, p.edit(p.name("DBEdit13", "DBEdit19"), "房屋结构文件", 378)},
                {{}, p.button("Button4", "打开", 72)}});
    p.row(162, {{"看房情况", p.memo("DBMemo1", "看房情况", 542, 56)}});

    // Below the line: the owner's block, shown on the card to senior roles only.
    p.beginConfidential(226);
    p.row(236, {{"房主姓名", p.edit("DBEdit5", "房主姓名", 120), "lblFZXM"},
                {"电话", p.edit("DBEdit6", "电话", 130), "lblDH"},
                {"手机", p.edit("DBEdit7", "手机", 190), "lblSJ"}});
    p.row(266, {{"最低价格", p.edit("DBEdit8", "最低价格", 120), "lblZDJG"},
                {"产权证号", p.edit(p.name("DBEdit14", "DBEdit20"), "产权证号", 200), "lblCQZH"}});
    p.row(296, {{"备注", p.memo("DBMemo2", "备注", 542, 48), "lblBZ"}});

    if (card)
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

} // namespace

CardLayout layout()
{
    return {QStringLiteral("房源信息档案卡"), QSize(650, 450), QRect(8, 46, 634, 352), 15, &build};
}

} // namespace ListingPanel
