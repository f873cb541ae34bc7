#pragma once
// Small widget helpers shared by the windows.
#include <QFont>
#include <QString>
#include <QStringList>

class QComboBox;
class QPushButton;
class QToolButton;
class QWidget;

// A font of the given family at a size in pixels (the windows give sizes in pixels).
QFont pixelFont(const QString& family, int px, bool bold = false);

// Fills a list from a dictionary through the shared scratch query: one item per
// returned row, the column's text as stored, in the order the database returns
// them; no item selected and the text empty.
void fillList(QComboBox* list, const QString& statement, const QString& column);

// A push button with this objectName and caption.
QPushButton* namedButton(QWidget* parent, const char* name, const QString& text);

// A flat tool button (raised only under the mouse) with this caption and objectName,
// at least `minWidth` wide; `takesFocus` false keeps it out of the Tab cycle (the
// pickers' speed buttons).
QToolButton* flatButton(QWidget* parent, const QString& name, const QString& text, int minWidth,
                        bool takesFocus);

// The items of a list, in order.
QStringList itemsOf(const QComboBox* list);
