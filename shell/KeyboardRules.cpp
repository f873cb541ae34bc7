#include "shell/KeyboardRules.h"

#include <QAbstractSpinBox>
#include <QApplication>
#include <QComboBox>
#include <QKeyEvent>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTextEdit>
#include <QToolButton>

namespace
{

bool isReturn(const QEvent* e)
{
    if (e->type() != QEvent::KeyPress) return false;
    const auto* k = static_cast<const QKeyEvent*>(e);
    const Qt::KeyboardModifiers mods = k->modifiers() & ~Qt::KeypadModifier;
    return (k->key() == Qt::Key_Return || k->key() == Qt::Key_Enter) && mods == Qt::NoModifier;
}

// Where typed text goes: boxes, lists, memos.
bool takesText(const QWidget* w)
{
    return qobject_cast<const QLineEdit*>(w) || qobject_cast<const QComboBox*>(w) ||
           qobject_cast<const QAbstractSpinBox*>(w) || qobject_cast<const QPlainTextEdit*>(w) ||
           qobject_cast<const QTextEdit*>(w);
}

} // namespace

void KeyboardRules::install(QApplication& app)
{
    app.installEventFilter(new KeyboardRules(&app));
}

bool KeyboardRules::ownWindow(const QWidget* w)
{
    // Every window class of this program is named in its own way (TFrm…, Tdlg…);
    // Qt's classes all begin with Q.
    const char* name = w->window()->metaObject()->className();
    return name[0] != 'Q';
}

bool KeyboardRules::eventFilter(QObject* o, QEvent* e)
{
    if (!o->isWidgetType()) return false;
    auto* w = static_cast<QWidget*>(o);
    if (e->type() == QEvent::Polish && ownWindow(w)) {
        if (auto* b = qobject_cast<QPushButton*>(w)) b->setAutoDefault(false);
        if (auto* m = qobject_cast<QPlainTextEdit*>(w)) m->setTabChangesFocus(true);
        if (auto* m = qobject_cast<QTextEdit*>(w)) m->setTabChangesFocus(true);
        return false;
    }
    if (!isReturn(e)) return false;
    if (w == QApplication::focusWidget() &&
        (qobject_cast<QPushButton*>(w) || qobject_cast<QToolButton*>(w))) {
        auto* b = static_cast<QAbstractButton*>(w);
        if (b->isEnabled()) b->click();
        return true;
    }
    // Unhandled until it reached the window: the window would press its default button.
    if (w->isWindow() && ownWindow(w) && takesText(QApplication::focusWidget())) return true;
    return false;
}
