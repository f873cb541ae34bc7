#include "shell/App.h"

#include "shell/KeyboardRules.h"
#include "shell/Translations.h"

#include <QFont>
#include <QFontDatabase>

HalvorraApp::HalvorraApp(int& argc, char** argv) : QApplication(argc, argv)
{
    // The name of the user's configuration folder (path.ini, Exp.ini of an
    // installed program) and of the desktop entry.
    setApplicationName(QStringLiteral("halvorra"));
    setDesktopFileName(QStringLiteral("halvorra"));
    installChineseTranslations(*this);
    setupFonts();
    KeyboardRules::install(*this);
}

void showUncaught(const QString& text)
{
    dialogs().error(QApplication::activeWindow(), text);
}

bool HalvorraApp::notify(QObject* receiver, QEvent* event)
{
    // The last guard: an error should have been shown at the door already.
    bool result = false;
    guarded([&] { result = QApplication::notify(receiver, event); });
    return result;
}

void HalvorraApp::setupFonts()
{
    // Name the Simplified Chinese families explicitly: plain fallback picks the
    // Japanese faces of the CJK fonts.
    const QStringList song = {QStringLiteral("Noto Serif CJK SC"),
                              QStringLiteral("Noto Sans CJK SC"), QStringLiteral("AR PL UKai CN")};
    const QStringList kai = {QStringLiteral("AR PL UKai CN"), QStringLiteral("Noto Serif CJK SC"),
                             QStringLiteral("Noto Sans CJK SC")};
    QFont::insertSubstitutions(QStringLiteral("宋体"), song);
    QFont::insertSubstitutions(QStringLiteral("楷体_GB2312"), kai);
    QFont::insertSubstitutions(QStringLiteral("楷体"), kai);
    QFont f(QStringLiteral("宋体"));
    f.setPixelSize(12);
    QApplication::setFont(f);
}
