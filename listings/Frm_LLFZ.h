#pragma once
// 查看房源信息: the record card of one listing, laid out like 房源输入. The frame
// (registers/RecordCard.h) does what both cards do; this class adds the owner's
// block as the confidential part, 期限 with its date picker and the
// house-structure file.
#include "registers/RecordCard.h"

class TFrmFYCX;
class PhotoStrip;
class QPushButton;

class TFrmLLFZ : public RecordCard
{
    Q_OBJECT
public:
    // Opens over the given query window (the open listing query window by default).
    explicit TFrmLLFZ(TFrmFYCX* owner = nullptr);
    // Opens over rows of its own (one record opened from elsewhere).
    TFrmLLFZ(RecordRows& rows, QWidget* parent);

    // Handlers.
    void Button2Click(); // "..." beside 期限 (DBEdit10): the date picker
    void Button4Click(); // 打开: opens the house-structure file
    void Button5Click(); // 联接房屋结构文件: links a file

    // The listing's photos, under the card's buttons.
    PhotoStrip* photos;
    QPushButton* btnFYD; // 房源单
};
