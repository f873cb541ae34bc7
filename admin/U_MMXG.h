#pragma once
// 用户密码修改: the logged-in operator changes his own password. Enter moves from
// 原密码 to 新密码 to 确认新密码 and there acts as 确定.
#include <QDialog>

class QLineEdit;
class QPushButton;

class TFrmMMXG : public QDialog
{
    Q_OBJECT
public:
    explicit TFrmMMXG(QWidget* parent = nullptr);

    void btnModifyClick(); // 确定: checks the three boxes and stores the new password

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    QLineEdit* edtOld;      // 原密码
    QLineEdit* edtNew1;     // 新密码
    QLineEdit* edtNew2;     // 确认新密码
    QPushButton* btnModify; // 确定
    QPushButton* btnCancel; // 取消
};
