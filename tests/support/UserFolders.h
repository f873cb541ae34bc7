#pragma once
// Test programs never touch the real user's folders: the configuration folder
// (XDG_CONFIG_HOME, where an installed program keeps path.ini and Exp.ini) and
// the documents folder (where exported workbooks go) are redirected into a
// temporary folder for the whole run. Call before the application object exists.
#include <QByteArray>
#include <QString>

void useTemporaryUserFolders();
// The temporary documents folder of this run.
QString testDocumentsFolder();
// Names the documents folder in user-dirs.dirs of a configuration folder.
void writeUserDirs(const QString& configHome, const QString& documents);

// Sets an environment variable while the object lives; the old value (or its
// absence) comes back after.
class ScopedEnv
{
public:
    ScopedEnv(const char* name, const QString& value);
    ~ScopedEnv();
    ScopedEnv(const ScopedEnv&) = delete;
    ScopedEnv& operator=(const ScopedEnv&) = delete;

private:
    const char* m_name;
    QByteArray m_old;
    bool m_was;
};
