#pragma once
#include <QList>
#include <QString>
#include <utility>

class QDialog;
class QLabel;
class QLineEdit;
class QObject;
class QPushButton;
class QWidget;

// Makes the box a password box that shows every typed character as "*" (the
// style's own mask character is a dot on most desktops).
void makePasswordBox(QLineEdit* box);

// A password box with this objectName whose keys go to `filter` first (the
// window's Return rule: on to the next box, in the last one press OK). No limit
// of the box: a password beyond the longest kept is refused with a message.
QLineEdit* namedPasswordBox(QWidget* parent, const char* name, QObject* filter);

// The layout of the password windows (密码修改, the first-login change): an
// optional text on top, the boxes under their captions, `ok` and `cancel` at the
// bottom right; the window keeps the size this takes.
void layOutPasswordWindow(QDialog* w, QLabel* info,
                          const QList<std::pair<QString, QLineEdit*>>& boxes, QPushButton* ok,
                          QPushButton* cancel);
