#pragma once
// Every message box, question, file dialog, modal window run and shell "open"
// goes through this one service, so tests can answer and observe them.
#include "data/Dmbasic.h"

#include <QString>
#include <QUrl>
#include <memory>

class QWidget;
class QDialog;

class Dialogs
{
public:
    virtual ~Dialogs() = default;

    // "提示信息", OK button, no icon.
    virtual void message(QWidget* parent, const QString& text) = 0;
    // "提示信息", Yes and No buttons, no icon; true for Yes.
    virtual bool question(QWidget* parent, const QString& text) = 0;
    // "提示信息", OK and Cancel buttons, no icon; true for OK.
    virtual bool okCancel(QWidget* parent, const QString& text) = 0;
    // The default error display: the error's own text.
    virtual void error(QWidget* parent, const QString& text) = 0;
    // A box with its own caption, a question-mark icon and an OK button. The
    // default records it like message() (test doubles need not override it).
    virtual void hint(QWidget* parent, const QString& caption, const QString& text)
    {
        Q_UNUSED(caption);
        message(parent, text);
    }

    // File dialogs; an empty result means cancelled.
    virtual QString openFile(QWidget* parent, const FileDialogSpec& spec,
                             const QString& startPath = {}) = 0;
    virtual QString saveFile(QWidget* parent, const FileDialogSpec& spec,
                             const QString& startPath = {}) = 0;

    // Runs a modal window and returns its result (QDialog::Accepted / Rejected).
    virtual int exec(QDialog* dialog) = 0;

    // The shell's "open": a file (a relative name is taken in the working folder,
    // which the program starts in) or an address. openPath is false when no
    // program took the file (the desktop has none for its type).
    virtual bool openPath(const QString& path, const QString& workingDir = {}) = 0;
    virtual void openUrl(const QUrl& url) = 0;

    static Dialogs& instance();
    // Replaces the service (tests); returns the previous one.
    static std::unique_ptr<Dialogs> install(std::unique_ptr<Dialogs> d);
};

inline Dialogs& dialogs()
{
    return Dialogs::instance();
}

// The real service: Qt message boxes, file dialogs and the desktop services.
class SystemDialogs : public Dialogs
{
public:
    void message(QWidget* parent, const QString& text) override;
    bool question(QWidget* parent, const QString& text) override;
    bool okCancel(QWidget* parent, const QString& text) override;
    void error(QWidget* parent, const QString& text) override;
    void hint(QWidget* parent, const QString& caption, const QString& text) override;
    QString openFile(QWidget* parent, const FileDialogSpec& spec,
                     const QString& startPath) override;
    QString saveFile(QWidget* parent, const FileDialogSpec& spec,
                     const QString& startPath) override;
    int exec(QDialog* dialog) override;
    bool openPath(const QString& path, const QString& workingDir) override;
    void openUrl(const QUrl& url) override;
};

// "数据库文件|*.mdb" (description|pattern pairs, patterns joined by ";") in the
// form Qt's file dialogs take: "数据库文件 (*.mdb)".
QString qtFileFilter(const QString& filter);

// Caption of every message box of the system.
inline QString messageCaption()
{
    return QStringLiteral("提示信息");
}
