#include "data/BackupTemp.h"

#include <QCoreApplication>
#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSysInfo>
#include <cerrno>
#include <csignal>

namespace
{

QString suffix()
{
    return QStringLiteral(".备份未完成");
}

QString host()
{
    QString h = QSysInfo::machineHostName();
    return h.isEmpty() ? QStringLiteral("localhost") : h;
}

// Whether process `pid` of this workstation still runs.
bool running(qint64 pid)
{
    return pid > 0 && (::kill(pid_t(pid), 0) == 0 || errno == EPERM);
}

} // namespace

namespace BackupTemp
{

QString nameFor(const QString& target)
{
    return target + QLatin1Char('.') + host() + QLatin1Char('-') +
           QString::number(QCoreApplication::applicationPid()) + suffix();
}

void removeLeftovers(const QString& target)
{
    const QFileInfo t(target);
    const QString end = suffix();
    const QString prefix = t.fileName() + QLatin1Char('.');
    for (const QFileInfo& f : t.dir().entryInfoList(QDir::Files | QDir::Hidden)) {
        // The file, or the journal the engine kept beside it.
        QString name = f.fileName();
        if (name.endsWith(QLatin1String("-journal"))) name.chop(8);
        if (!name.startsWith(prefix) || !name.endsWith(end)) continue;
        // "<host>-<pid>" between the target's name and the suffix.
        const QString owner = name.mid(prefix.size(), name.size() - prefix.size() - end.size());
        const int dash = owner.lastIndexOf(QLatin1Char('-'));
        bool ok = false;
        const qint64 pid = dash < 0 ? 0 : owner.mid(dash + 1).toLongLong(&ok);
        const bool mine = ok && owner.left(dash) == host();
        const bool stale =
            mine ? !running(pid) : f.lastModified().secsTo(QDateTime::currentDateTime()) > 3600;
        if (stale) QFile::remove(f.filePath());
    }
}

} // namespace BackupTemp
