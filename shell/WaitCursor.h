#pragma once
// The wait cursor over every window of the program while a long step runs in the
// event loop's thread (a search, an export, a database upgrade); restored however
// the step ends.
#include <QApplication>

struct WaitCursor {
    WaitCursor() { QApplication::setOverrideCursor(Qt::WaitCursor); }
    ~WaitCursor() { QApplication::restoreOverrideCursor(); }
    WaitCursor(const WaitCursor&) = delete;
    WaitCursor& operator=(const WaitCursor&) = delete;
};
