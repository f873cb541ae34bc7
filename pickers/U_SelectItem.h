#pragma once
// The column chooser "选择项目": the columns of PubGrid as a check list; 确定
// makes the checked ones visible and hides the others.
#include <QDialog>

class QListWidget;
class QToolButton;

class TdlgSelectItem : public QDialog
{
    Q_OBJECT
public:
    explicit TdlgSelectItem(QWidget* parent = nullptr);

    QListWidget* clbItem;       // the grid's columns, ticked when visible
    QToolButton* btnSelectAll;  // 全选
    QToolButton* btnSelectNone; // 全消
    QToolButton* btnOK;         // 确定
    QToolButton* btnCancel;     // 取消

    void FormCreate();         // lists PubGrid's columns
    void btnSelectAllClick();  // 全选
    void btnSelectNoneClick(); // 全消
    void btnOKClick();         // 确定: ticked columns shown, the others hidden
};
