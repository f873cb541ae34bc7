#include "shell/DesktopOpen.h"

#include <QDesktopServices>
#include <QMimeDatabase>
#include <QProcess>
#include <QStandardPaths>
#include <QUrl>
#include <optional>

namespace
{

#if defined(Q_OS_UNIX) && !defined(Q_OS_MACOS)
// xdg-open starts whatever it finds, down to a web browser, and reports nothing
// back to us; so the desktop's program for the type is asked for first.
// Nothing: the question could not be asked.
std::optional<bool> desktopHasProgram(const QString& file)
{
    const QString xdgMime = QStandardPaths::findExecutable(QStringLiteral("xdg-mime"));
    if (xdgMime.isEmpty()) return std::nullopt;
    QProcess q;
    q.start(xdgMime, {QStringLiteral("query"), QStringLiteral("default"),
                      QMimeDatabase().mimeTypeForFile(file).name()});
    if (!q.waitForFinished(10000) || q.exitStatus() != QProcess::NormalExit) {
        q.kill();
        q.waitForFinished(1000);
        return std::nullopt;
    }
    return q.exitCode() == 0 && !q.readAllStandardOutput().trimmed().isEmpty();
}
#endif

} // namespace

bool openWithDesktop(const QString& file, const QString& workingDir)
{
#if defined(Q_OS_UNIX) && !defined(Q_OS_MACOS)
    const QString xdgOpen = QStandardPaths::findExecutable(QStringLiteral("xdg-open"));
    if (!xdgOpen.isEmpty()) {
        if (desktopHasProgram(file) == false) return false;
        return QProcess::startDetached(xdgOpen, {file}, workingDir);
    }
#endif
    Q_UNUSED(workingDir);
    return QDesktopServices::openUrl(QUrl::fromLocalFile(file));
}
