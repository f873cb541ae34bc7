#pragma once
// The application object: its notify() is the default error display. An error
// that a handler does not catch ends that handler and shows its own text; the
// program keeps running. A silent abort ends the handler without a message. The
// keys every window shares (common/KeyboardRules.h) are set up here too.
#include "common/Guard.h"

#include <QApplication>

class HalvorraApp : public QApplication
{
    Q_OBJECT
public:
    HalvorraApp(int& argc, char** argv);
    bool notify(QObject* receiver, QEvent* event) override;

    // Sets up the fonts the windows name (宋体, 楷体_GB2312) on installed CJK fonts.
    static void setupFonts();
};
