#pragma once
// Keys that behave the same in every window of the program, set once for the
// whole application instead of in each window:
// - Return (or Enter) on a focused push or tool button presses that button.
// - Return in a text box, a list or a memo never presses a button the operator did
//   not choose. The window's own handling of the key (moving on, or a click it
//   names) still runs first; whatever reaches the window is dropped.
// - A button never becomes the window's default by taking the focus; Return
//   elsewhere presses only a button the window declares its default (setDefault),
//   such as 确定 of the date picker.
// - Tab leaves a memo for the next control (Shift+Tab for the one before) instead
//   of typing a tab into it.
// Qt's own dialogs (file, message and print dialogs) keep their usual keys, so
// that Return in a file-name box still accepts the file dialog.
#include <QObject>

class QApplication;
class QWidget;

class KeyboardRules : public QObject
{
    Q_OBJECT
public:
    explicit KeyboardRules(QObject* parent = nullptr) : QObject(parent) {}
    static void install(QApplication& app);

    // True for the windows of this program, as against Qt's own dialogs.
    static bool ownWindow(const QWidget* w);

protected:
    bool eventFilter(QObject* o, QEvent* e) override;
};
