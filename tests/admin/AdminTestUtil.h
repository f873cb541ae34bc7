#pragma once
// Typing for the administration tests: like ui::type, but also for Chinese text,
// which the test library's key clicks cannot produce (they carry Latin-1 only).
#include <QApplication>
#include <QKeyEvent>
#include <QLineEdit>
#include <QTest>

namespace admintest
{

inline void typeText(QWidget* w, const QString& text)
{
    w->setFocus();
    if (auto* le = qobject_cast<QLineEdit*>(w)) {
        le->selectAll();
        if (!le->text().isEmpty()) QTest::keyClick(le, Qt::Key_Delete);
    }
    for (const QChar c : text) {
        if (c.unicode() < 128) {
            QTest::keyClick(w, c.toLatin1());
            continue;
        }
        QKeyEvent press(QEvent::KeyPress, Qt::Key_unknown, Qt::NoModifier, QString(c));
        QApplication::sendEvent(w, &press);
        QKeyEvent release(QEvent::KeyRelease, Qt::Key_unknown, Qt::NoModifier, QString(c));
        QApplication::sendEvent(w, &release);
    }
}

} // namespace admintest
