#pragma once
// 查看客户信息客户: the record card of one customer, laid out like 客户输入. The
// frame (registers/RecordCard.h) does what both cards do; this class adds the
// customer's name and phones as the confidential part.
#include "registers/RecordCard.h"

class TFrmKHCX;

class TFrmLLKH : public RecordCard
{
    Q_OBJECT
public:
    // Opens over the given query window (the open customer query window by default).
    explicit TFrmLLKH(TFrmKHCX* owner = nullptr);
    // Opens over rows of its own (one record opened from elsewhere).
    TFrmLLKH(RecordRows& rows, QWidget* parent);
};
