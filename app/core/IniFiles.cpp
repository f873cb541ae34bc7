#include "app/core/IniFiles.h"

#include "data/DbError.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>
#include <QStandardPaths>

namespace
{
QString& overrideFolder()
{
    static QString dir;
    return dir;
}

bool writableFolder(const QString& dir)
{
    const QFileInfo fi(dir);
    return fi.isDir() && fi.isWritable();
}
} // namespace

namespace IniFiles
{

QString folder()
{
    return overrideFolder().isEmpty() ? QCoreApplication::applicationDirPath() : overrideFolder();
}

void setFolder(const QString& dir)
{
    overrideFolder() = dir;
}

QString userFolder()
{
    return QStandardPaths::writableLocation(QStandardPaths::AppConfigLocation);
}

QString location(const QString& fileName)
{
    const QString besideProgram = QDir(folder()).filePath(fileName);
    if (QFileInfo::exists(besideProgram) || writableFolder(folder())) return besideProgram;
    return QDir(userFolder()).filePath(fileName);
}

QString mainIni()
{
    return location(QStringLiteral("path.ini"));
}

QString exchangeIni()
{
    return location(QStringLiteral("Exp.ini"));
}

std::optional<QString> readFirstLine(const QString& file)
{
    QFile f(file);
    if (!f.open(QIODevice::ReadOnly)) return std::nullopt;
    QByteArray line = f.readLine();
    if (f.error() != QFileDevice::NoError) return std::nullopt;
    // The line ends at LF; a CR right before it belongs to the line end too.
    if (line.endsWith('\n')) line.chop(1);
    if (line.endsWith('\r')) line.chop(1);
    return QString::fromUtf8(line);
}

void writeLine(const QString& file, const QString& line)
{
    // The user's folder may not exist before the first file is chosen; any other
    // missing folder is an error, as before.
    const QString dir = QFileInfo(file).absolutePath();
    if (dir == QDir(userFolder()).absolutePath()) QDir().mkpath(dir);
    // Written to a temporary file and renamed, so a failed write never leaves
    // half a path behind.
    QSaveFile f(file);
    if (!f.open(QIODevice::WriteOnly) || f.write(line.toUtf8() + "\r\n") < 0 || !f.commit())
        throw DbError(QStringLiteral("无法写入配置文件“%1”：%2")
                          .arg(QDir::toNativeSeparators(file), f.errorString()));
}

} // namespace IniFiles
