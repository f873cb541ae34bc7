#pragma once
// Workbooks made for the tests by scripts under the system Python (openpyxl for
// .xlsx, xlwt for .xls, zipfile for hand-laid .xlsx/.ods parts), never checked-in
// binaries. A case whose tool is missing is skipped with the reason.
#include <QDir>
#include <QFile>
#include <QProcess>
#include <QString>
#include <QTemporaryDir>

namespace sheetfiles
{

// Runs `script` with the output path as sys.argv[1]; empty text on success, else why.
inline QString runPython(const QString& script, const QString& out)
{
    QProcess p;
    p.start(QStringLiteral("/usr/bin/python3"), {QStringLiteral("-c"), script, out});
    if (!p.waitForStarted(10000)) return QStringLiteral("/usr/bin/python3 不可用");
    p.waitForFinished(120000);
    if (p.exitStatus() != QProcess::NormalExit || p.exitCode() != 0)
        return QString::fromUtf8(p.readAllStandardError());
    return {};
}

// True when the module imports; tests QSKIP otherwise.
inline bool hasModule(const QString& module)
{
    return runPython(QStringLiteral("import sys, %1").arg(module), QStringLiteral("-")).isEmpty();
}

inline void writeBytes(const QString& path, const QByteArray& bytes)
{
    QFile f(path);
    if (f.open(QIODevice::WriteOnly)) f.write(bytes);
}

} // namespace sheetfiles

#define MAKE_WITH_PYTHON(module, script, path)                                                     \
    do {                                                                                           \
        if (!sheetfiles::hasModule(QStringLiteral(module)))                                        \
            QSKIP("python3 module " module " is not installed (apt-get install python3-" module    \
                  ")");                                                                            \
        const QString why__ = sheetfiles::runPython(script, path);                                 \
        QVERIFY2(why__.isEmpty(), qPrintable(why__));                                              \
    } while (0)
