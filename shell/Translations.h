#pragma once
// Qt's own texts in Simplified Chinese: the buttons of message boxes (确定, 是,
// 否, 取消), the file dialogs, the context menus of text boxes, and the month and
// day names of the calendar.
class QCoreApplication;

// Installs Qt's Chinese translation and makes Chinese (China) the default
// locale. False when the translation file is not installed (Debian package
// qt6-translations-l10n); the texts then stay Qt's English ones.
bool installChineseTranslations(QCoreApplication& app);
