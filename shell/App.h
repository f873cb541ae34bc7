#pragma once
// The application object. Handlers are connected through the door (shell/Door.h),
// which shows an error they raise with the default error display where the
// signal enters our code; notify() is only the last guard behind it, for an
// event that reaches code of ours without a handler (a key or paint event, say):
// it shows the error the same way, so the program keeps running. The keys every
// window shares (shell/KeyboardRules.h) are set up here too.
#include "shell/Guard.h"

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
