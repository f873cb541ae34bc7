#pragma once
// 房源输入: records new listings into 房屋信息. Every save checks the row, gives it
// its archive number and writes it; the window never shows a stored listing. The
// frame (common/EntryWindow.h) does what both entry windows do; this class names
// the listing's checks and the structure-file buttons.
#include "common/EntryWindow.h"

class PhotoStrip;

class TFrmfylr : public EntryWindow
{
    Q_OBJECT
public:
    explicit TFrmfylr(QWidget* parent = nullptr);

    Query& qryFwxx;

    // "联接房屋结构文件" and "打开".
    void Button3Click();
    void Button4Click();
    // The handlers the frame runs, by their names here.
    void qryFwxxAfterInsert() { setDefaults(); }
    void Button1Click() { save(); }
    void Button2Click() { close(); }

    // Photos added before the first save, stored with the listing.
    PhotoStrip* photos;

private:
    std::optional<RegisterRules::FailedCheck> firstFailedCheck() const override;
    void storeWithRow(const QString& number) override;
    void saved() override;
};
