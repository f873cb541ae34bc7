// The Debian package made by CPack from the build tree (no rebuild): its files,
// desktop entry and declared dependencies; then the program installed from it
// into a temporary root, started as an ordinary user who cannot write the
// program's folder, finds its database pair through path.ini and Exp.ini in the
// user's configuration folder and logs in. The login is typed by a test-only Qt
// input plugin (tests/app/driver) that the unchanged program loads through
// Qt's own "-plugin" option; the program links only system libraries and finds
// Qt's platform plugins and translations where the system keeps them.
#include "tests/support/TestSupport.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QRegularExpression>
#include <QScopeGuard>
#include <QStandardPaths>
#include <QTcpServer>
#include <QTcpSocket>
#include <pwd.h>
#include <unistd.h>

namespace
{

QByteArray run(const QString& program, const QStringList& args, int* exitCode = nullptr)
{
    QProcess p;
    p.setProcessChannelMode(QProcess::ForwardedErrorChannel);
    p.start(program, args);
    if (!p.waitForFinished(120000)) p.kill();
    if (exitCode) *exitCode = p.exitStatus() == QProcess::NormalExit ? p.exitCode() : -1;
    return p.readAllStandardOutput();
}

void writeLine(const QString& file, const QString& line)
{
    QVERIFY(QDir().mkpath(QFileInfo(file).absolutePath()));
    QFile f(file);
    QVERIFY(f.open(QIODevice::WriteOnly));
    f.write(line.toUtf8() + "\r\n");
}

// Hands a tree to the user who runs the program.
void giveTo(const QString& path, uid_t uid, gid_t gid)
{
    if (::chown(QFile::encodeName(path).constData(), uid, gid) != 0) qWarning("chown failed");
    const QFileInfo fi(path);
    if (fi.isDir() && !fi.isSymLink())
        for (const QFileInfo& c :
             QDir(path).entryInfoList(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden))
            giveTo(c.filePath(), uid, gid);
}

int freePort()
{
    QTcpServer s;
    s.listen(QHostAddress::LocalHost);
    return s.serverPort();
}

} // namespace

class TestPackage : public QObject
{
    Q_OBJECT
    QTemporaryDir work;
    QString deb;
    QDir root;

private slots:
    void initTestCase()
    {
        if (QStandardPaths::findExecutable("cpack").isEmpty() ||
            QStandardPaths::findExecutable("dpkg-deb").isEmpty())
            QSKIP("cpack and dpkg-deb are needed");
        QVERIFY(QFile::setPermissions(work.path(), QFile::ReadOwner | QFile::WriteOwner |
                                                       QFile::ExeOwner | QFile::ReadOther |
                                                       QFile::ExeOther));
        const QString out = work.filePath("package");
        int rc = -1;
        run("cpack", {"-G", "DEB", "--config", HALVORRA_BUILD_DIR "/CPackConfig.cmake", "-B", out},
            &rc);
        QCOMPARE(rc, 0);
        const QStringList debs = QDir(out).entryList({"*.deb"});
        QCOMPARE(debs.size(), 1);
        deb = QDir(out).filePath(debs.first());
        root = QDir(work.filePath("root"));
        run("dpkg-deb", {"-x", deb, root.path()}, &rc);
        QCOMPARE(rc, 0);
    }

    void packageContents()
    {
        const QStringList besideProgram = {"halvorra",
                                           "halvorra-db",
                                           "使用说明书.doc",
                                           "买卖房屋协议书1.doc",
                                           "买卖委托协议书2.doc",
                                           "租赁房屋协议书1.doc",
                                           "租赁房屋协议书2.doc",
                                           "about.html"};
        for (const QString& f : besideProgram)
            QVERIFY2(QFileInfo(root.filePath("usr/lib/halvorra/" + f)).isFile(), qPrintable(f));
        for (const QString p : {"halvorra", "halvorra-db"}) {
            const QFileInfo link(root.filePath("usr/bin/" + p));
            QVERIFY(link.isSymLink());
            QCOMPARE(link.canonicalFilePath(),
                     QFileInfo(root.filePath("usr/lib/halvorra/" + p)).canonicalFilePath());
            QVERIFY(link.isExecutable());
        }
        for (const char* side : {"48x48", "64x64", "128x128", "256x256"})
            QVERIFY(QFile::exists(
                root.filePath(QStringLiteral("usr/share/icons/hicolor/%1/apps/halvorra.png")
                                  .arg(QLatin1String(side)))));

        QFile entry(root.filePath("usr/share/applications/halvorra.desktop"));
        QVERIFY(entry.open(QIODevice::ReadOnly));
        const QStringList lines = QString::fromUtf8(entry.readAll()).split('\n');
        for (const QString l : {"[Desktop Entry]", "Type=Application", "Exec=halvorra",
                                "Icon=halvorra", "Terminal=false"})
            QVERIFY2(lines.contains(l), qPrintable(l));
        const QStringList names = lines.filter(QRegularExpression("^Name(\\[zh_CN\\])?="));
        QCOMPARE(names.size(), 2);
        QVERIFY(names.filter(QRegularExpression("^Name=[A-Za-z ]+$")).size() == 1);
        QVERIFY(names.filter(QRegularExpression("^Name\\[zh_CN\\]=.*房产")).size() == 1);
        QVERIFY(lines.filter(QRegularExpression("^Categories=(.*;)?Office;")).size() == 1);

        const QString depends = QString::fromUtf8(run("dpkg-deb", {"-f", deb, "Depends"}));
        for (const char* p : {"libqt6widgets6", "libqt6printsupport6", "libsqlcipher0",
                              "libxlsxwriter", "qt6-translations-l10n", "qt6-image-formats-plugins",
                              "libheif1", "fonts-noto-cjk", "fonts-arphic-ukai"})
            QVERIFY2(depends.contains(QLatin1String(p)), qPrintable(depends));
    }

    // ./run.sh on a machine without a display says so in one line, names the
    // VNC way and starts nothing.
    void runWithoutDisplay()
    {
        QProcess p;
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        for (const char* v : {"DISPLAY", "WAYLAND_DISPLAY", "QT_QPA_PLATFORM"})
            env.remove(v);
        p.setProcessEnvironment(env);
        p.start("bash", {HALVORRA_SOURCE_DIR "/run.sh"});
        QVERIFY(p.waitForFinished(30000));
        const QString out = QString::fromUtf8(p.readAllStandardOutput() + p.readAllStandardError());
        QCOMPARE(p.exitCode(), 1);
        QCOMPARE(out.count('\n'), 1);
        QVERIFY2(out.contains("./run.sh --vnc") && out.contains("-platform vnc:port=5900") &&
                     out.contains(QRegularExpression("连接 [0-9.]+:5900")),
                 qPrintable(out));
    }

    // Started on Qt's offscreen platform and on its VNC platform (what
    // "./run.sh --vnc" uses), where a viewer is greeted on the port.
    void installedProgramLogsIn_data()
    {
        QTest::addColumn<QString>("platform");
        QTest::newRow("offscreen") << "offscreen";
        QTest::newRow("vnc") << "vnc";
    }
    void installedProgramLogsIn()
    {
        QFETCH(QString, platform);
        QTemporaryDir user;
        const QDir home(user.path());
        const QString data = home.filePath("office");
        const QDir program(root.filePath("usr/lib/halvorra"));
        int rc = -1;
        run(root.filePath("usr/bin/halvorra-db"),
            {"demo", data, "--listings", "20", "--customers", "10"}, &rc);
        QCOMPARE(rc, 0);
        const QString config = home.filePath("config");
        writeLine(config + "/halvorra/path.ini", data + "/fybase.mdb");
        writeLine(config + "/halvorra/Exp.ini", data + "/fyExp.mdb");
        QVERIFY(QDir().mkpath(home.filePath("plugins/generic")));
        QVERIFY(QDir().mkpath(home.filePath("runtime")));
        QFile::setPermissions(home.filePath("runtime"),
                              QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
        QVERIFY(QFile::copy(HALVORRA_DRIVER, home.filePath("plugins/generic/") +
                                                 QFileInfo(HALVORRA_DRIVER).fileName()));

        // An office user, who cannot write the program's folder: the administrator
        // drops to "nobody"; anybody else finds the folder read-only.
        QString launcher = root.filePath("usr/bin/halvorra");
        QStringList args;
        if (::geteuid() == 0) {
            const passwd* nobody = ::getpwnam("nobody");
            QVERIFY(nobody);
            QFile::setPermissions(user.path(), QFile::ReadOwner | QFile::WriteOwner |
                                                   QFile::ExeOwner | QFile::ExeOther);
            giveTo(user.path(), nobody->pw_uid, nobody->pw_gid);
            args << QStringLiteral("--reuid=%1").arg(nobody->pw_uid)
                 << QStringLiteral("--regid=%1").arg(nobody->pw_gid) << "--clear-groups"
                 << "--" << launcher;
            launcher = QStandardPaths::findExecutable("setpriv");
            QVERIFY(!launcher.isEmpty());
        }
        const QFile::Permissions open = QFile::permissions(program.path());
        auto restore = qScopeGuard([&] { QFile::setPermissions(program.path(), open); });
        if (::geteuid() != 0)
            QVERIFY(QFile::setPermissions(program.path(), QFile::ReadOwner | QFile::ExeOwner |
                                                              QFile::ReadOther | QFile::ExeOther));
        const int port = freePort();
        args << "-platform"
             << (platform == "vnc" ? QStringLiteral("vnc:port=%1:size=1024x768").arg(port)
                                   : platform)
             << "-plugin"
             << QStringLiteral("halvorralogindriver:user=admin:password=admin:newpassword=Office-"
                               "2026:linger=%1")
                    .arg(platform == "vnc" ? 3000 : 0);

        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert("HOME", home.path());
        env.insert("XDG_CONFIG_HOME", config);
        env.insert("XDG_CACHE_HOME", home.filePath("cache"));
        env.insert("QT_PLUGIN_PATH", home.filePath("plugins"));
        env.remove("QT_QPA_PLATFORM");
        env.insert("XDG_RUNTIME_DIR", home.filePath("runtime"));
        QProcess p;
        p.setProcessEnvironment(env);
        p.setProcessChannelMode(QProcess::ForwardedErrorChannel);
        p.start(launcher, args);
        QVERIFY(p.waitForStarted());

        QByteArray greeting;
        QStringList lines;
        auto readLines = [&] {
            while (p.canReadLine())
                lines << QString::fromUtf8(p.readLine()).trimmed();
        };
        while (p.state() == QProcess::Running &&
               lines.filter(QRegularExpression("^main ")).isEmpty())
            if (p.waitForReadyRead(60000))
                readLines();
            else
                break;
        if (platform == "vnc" && p.state() == QProcess::Running) {
            QTcpSocket viewer;
            viewer.connectToHost(QHostAddress::LocalHost, quint16(port));
            if (viewer.waitForConnected(5000) && viewer.waitForReadyRead(5000))
                greeting = viewer.read(12);
        }
        QVERIFY(p.state() == QProcess::NotRunning || p.waitForFinished(60000));
        readLines();
        lines << QString::fromUtf8(p.readAllStandardOutput()).split('\n', Qt::SkipEmptyParts);
        const QString all = lines.join('\n');
        QCOMPARE(p.exitStatus(), QProcess::NormalExit);
        QVERIFY2(p.exitCode() == 0, qPrintable(all));

        // The paths came from the user's configuration folder; nothing was
        // written beside the program.
        QVERIFY2(lines.contains("login " + data + "/fybase.mdb|" + data + "/fyExp.mdb"),
                 qPrintable(all));
        QVERIFY2(lines.filter(QRegularExpression("^main Halvorra\\|操作员编码：admin\\|")).size() ==
                     1,
                 qPrintable(all));
        QVERIFY2(lines.contains("question 感谢使用本系统，确定退出吗？|是(&Y)|否(&N)"),
                 qPrintable(all));
        QVERIFY(lines.filter(QRegularExpression("^message ")).isEmpty());
        QVERIFY(!program.exists("path.ini") && !program.exists("Exp.ini"));
        if (platform == "vnc") QVERIFY2(greeting.startsWith("RFB 003."), greeting.constData());
    }
};

HALVORRA_TEST_MAIN(TestPackage)
#include "tst_package.moc"
