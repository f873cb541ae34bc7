#pragma once
// 房源输入: records new listings into 房屋信息. Every save checks the row, gives it
// its archive number and writes it; the window never shows a stored listing. The
// frame (registers/EntryWindow.h) does what both entry windows do; this class names
// the listing's checks and the structure-file buttons.
#include "registers/EntryWindow.h"

class PhotoStrip;

class TFrmfylr : public EntryWindow
{
    Q_OBJECT
public:
    explicit TFrmfylr(QWidget* parent = nullptr);

    Query& qryFwxx; // the row being typed (房屋信息)

    void Button3Click(); // 联接房屋结构文件: links a file to the row
    void Button4Click(); // 打开: opens the linked file
    // The handlers the frame runs, by their names here.
    void qryFwxxAfterInsert() { setDefaults(); } // a new row's defaults
    void Button1Click() { save(); }              // 保存
    void Button2Click() { close(); }             // 取消

    // Photos added before the first save, stored with the listing.
    PhotoStrip* photos;

private:
    std::optional<RegisterRules::FailedCheck> firstFailedCheck() const override;
    void storeWithRow(const QString& number) override;
    void saved() override;
};
