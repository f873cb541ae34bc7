#pragma once
// 客户输入: records new customers into 客户信息. Every save checks the row, gives it
// its archive number and writes it; the window never shows a stored customer. The
// frame (registers/EntryWindow.h) does what both entry windows do; this class names
// the customer's checks and the address stored as "不限" when left empty.
#include "registers/EntryWindow.h"

class TFrmkhxx : public EntryWindow
{
    Q_OBJECT
public:
    explicit TFrmkhxx(QWidget* parent = nullptr);

    Query& qrykhxx; // the row being typed (客户信息)

    // The handlers the frame runs, by their names here.
    void qrykhxxAfterInsert() { setDefaults(); } // a new row's defaults
    void BitBtn1Click() { save(); }              // 保存
    void BitBtn2Click() { close(); }             // 取消

private:
    void writeSaveValues(Query& q) override;
    std::optional<RegisterRules::FailedCheck> firstFailedCheck() const override;
};
