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

    QListWidget* clbItem;
    QToolButton* btnSelectAll;
    QToolButton* btnSelectNone;
    QToolButton* btnOK;
    QToolButton* btnCancel;

    void FormCreate();
    void btnSelectAllClick();
    void btnSelectNoneClick();
    void btnOKClick();
};
