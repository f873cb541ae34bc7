#pragma once
// 回收站 (system administrators): the listings and customers deleted on their
// record cards, the latest deletion first, with who deleted them, when and where.
// 恢复 puts the chosen row back under its own archive number; 彻底删除 removes it
// for good after a question. A row that cannot go back stays in the bin and the
// window says why.
#include "records/RowsWindow.h"

class TFrmHSZ : public RowsWindow
{
    Q_OBJECT
public:
    explicit TFrmHSZ(QWidget* parent = nullptr);

    QPushButton* btnHF; // 恢复
    QPushButton* btnCD; // 彻底删除

    void btnHFClick(); // 恢复: the chosen row back under its archive number
    void btnCDClick(); // 彻底删除: the chosen row gone for good, after a question
    // Reads the bin again.
    void refresh();
};
