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

void writeUserDirs(const QString& configHome, const QString& documents)
{
    QDir().mkpath(configHome);
    QFile dirs(QDir(configHome).filePath(QStringLiteral("user-dirs.dirs")));
    if (dirs.open(QIODevice::WriteOnly))
        dirs.write("XDG_DOCUMENTS_DIR=\"" + QFile::encodeName(documents) + "\"\n");
}

void useTemporaryUserFolders()
{
    const QDir h(home().path());
    h.mkpath(QStringLiteral("Documents"));
    writeUserDirs(h.filePath(QStringLiteral("config")), testDocumentsFolder());
    qputenv("XDG_CONFIG_HOME", QFile::encodeName(h.filePath(QStringLiteral("config"))));
}

QString testDocumentsFolder()
{
    return QDir(home().path()).filePath(QStringLiteral("Documents"));
}

ScopedEnv::ScopedEnv(const char* name, const QString& value)
    : m_name(name), m_old(qgetenv(name)), m_was(qEnvironmentVariableIsSet(name))
{
    qputenv(name, QFile::encodeName(value));
}

ScopedEnv::~ScopedEnv()
{
    if (m_was)
        qputenv(m_name, m_old);
    else
        qunsetenv(m_name);
}
