#include "tests/support/UserFolders.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

namespace
{
QTemporaryDir& home()
{
    static QTemporaryDir dir;
    return dir;
}
} // namespace

void useTemporaryUserFolders()
{
    const QDir h(home().path());
    h.mkpath(QStringLiteral("config"));
    h.mkpath(QStringLiteral("Documents"));
    // The documents folder is named in user-dirs.dirs of the configuration folder.
    QFile dirs(h.filePath(QStringLiteral("config/user-dirs.dirs")));
    if (dirs.open(QIODevice::WriteOnly))
        dirs.write("XDG_DOCUMENTS_DIR=\"" + QFile::encodeName(testDocumentsFolder()) + "\"\n");
    qputenv("XDG_CONFIG_HOME", QFile::encodeName(h.filePath(QStringLiteral("config"))));
}

QString testDocumentsFolder()
{
    return QDir(home().path()).filePath(QStringLiteral("Documents"));
}
