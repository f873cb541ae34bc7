#include "app/core/IniFiles.h"

#include "data/DbError.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QSaveFile>

namespace
{
QString& overrideFolder()
{
    static QString dir;
    return dir;
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

QString mainIni()
{
    return QDir(folder()).filePath(QStringLiteral("path.ini"));
}

QString exchangeIni()
{
    return QDir(folder()).filePath(QStringLiteral("Exp.ini"));
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
    // Written to a temporary file and renamed, so a failed write never leaves
    // half a path behind.
    QSaveFile f(file);
    if (!f.open(QIODevice::WriteOnly) || f.write(line.toUtf8() + "\r\n") < 0 || !f.commit())
        throw DbError(QStringLiteral("无法写入配置文件“%1”：%2")
                          .arg(QDir::toNativeSeparators(file), f.errorString()));
}

} // namespace IniFiles
