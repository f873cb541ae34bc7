#include "shell/Translations.h"

#include <QCoreApplication>
#include <QLibraryInfo>
#include <QLocale>
#include <QTranslator>

bool installChineseTranslations(QCoreApplication& app)
{
    const QLocale chinese(QLocale::Chinese, QLocale::China);
    QLocale::setDefault(chinese);
    // "qt_zh_CN" is the catalogue that pulls in qtbase_zh_CN and the other modules.
    auto* qt = new QTranslator(&app);
    if (!qt->load(chinese, QStringLiteral("qt"), QStringLiteral("_"),
                  QLibraryInfo::path(QLibraryInfo::TranslationsPath))) {
        delete qt;
        qWarning("找不到 Qt 的简体中文翻译（qt_zh_CN.qm），标准对话框将显示英文。");
        return false;
    }
    app.installTranslator(qt);
    return true;
}
