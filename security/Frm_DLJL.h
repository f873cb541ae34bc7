#pragma once
// 登录安全 (system administrator only): the login log, newest first; 解除锁定
// for the number of the current row; and the minutes without input after which
// the program locks itself on every workstation (0 = never).
#include "records/RowsWindow.h"

class QSpinBox;

class TFrmDLJL : public RowsWindow
{
    Q_OBJECT
public:
    explicit TFrmDLJL(QWidget* parent = nullptr);

    QPushButton* btnUnlock;
    QSpinBox* spnIdle;
    QPushButton* btnIdle;
    QLabel* lblLocked; // the numbers locked at the moment

    void refresh();
    void btnUnlockClick();
    void btnIdleClick();
};
