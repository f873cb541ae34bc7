#pragma once
// 查看房源信息: the record card of one listing, laid out like 房源输入. The frame
// (common/RecordCard.h) does what both cards do; this class adds the owner's
// block as the confidential part, 期限 with its date picker and the
// house-structure file.
#include "common/RecordCard.h"

class TFrmFYCX;
class PhotoStrip;
class QPushButton;

class TFrmLLFZ : public RecordCard
{
    Q_OBJECT
public:
    // Opens over the given query window (the open listing query window by default).
    explicit TFrmLLFZ(TFrmFYCX* owner = nullptr);

    // Handlers.
    void Button2Click();
    void Button4Click();
    void Button5Click();

    // The listing's photos, under the card's buttons.
    PhotoStrip* photos;
    QPushButton* btnFYD; // 房源单
};
