// Start-up rules without a window: the one-line configuration files, the
// operator check, and the backup copy of an open database.
#include "app/core/Backup.h"
#include "app/core/IniFiles.h"
#include "app/core/LoginCheck.h"
#include "data/Connection.h"
#include "data/DbError.h"
#include "data/PasswordHash.h"
#include "data/Query.h"
#include "data/Schema.h"
#include "tests/support/TestSupport.h"
#include "tests/support/UserFolders.h"
#include "tools/lib/DemoData.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QScopeGuard>
#include <csignal>
#include <cstring>

namespace
{

QString mainPw()
{
    return QString::fromLatin1(Schema::mainPassword());
}

void writeBytes(const QString& path, const QByteArray& b)
{
    QFile f(path);
    QVERIFY(f.open(QIODevice::WriteOnly));
    f.write(b);
}

QByteArray readBytes(const QString& path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

int countRows(const QString& path, const QString& table)
{
    Connection c(DbKind::Main);
    c.setDatabase(path, mainPw());
    c.open();
    Statement st(c, QStringLiteral("SELECT count(*) FROM \"%1\"").arg(table));
    st.step();
    return st.value(0).toInt();
}

} // namespace

class TestAppCore : public QObject
{
    Q_OBJECT

private slots:
    void firstLine_data()
    {
        QTest::addColumn<QByteArray>("content");
        QTest::addColumn<QString>("expected");
        QTest::newRow("crlf") << QByteArray("/data/fybase.mdb\r\n") << "/data/fybase.mdb";
        QTest::newRow("lf") << QByteArray("/data/fybase.mdb\n") << "/data/fybase.mdb";
        QTest::newRow("no line end") << QByteArray("/data/fybase.mdb") << "/data/fybase.mdb";
        QTest::newRow("only the first line")
            << QByteArray("/a/one.mdb\r\n/b/two.mdb\r\n") << "/a/one.mdb";
        QTest::newRow("blanks kept") << QByteArray(" /a/x.mdb \r\n") << " /a/x.mdb ";
        QTest::newRow("empty file") << QByteArray() << "";
        QTest::newRow("empty first line") << QByteArray("\r\n/a/x.mdb\r\n") << "";
        QTest::newRow("chinese path") << QString::fromUtf8("/数据/房源.mdb\r\n").toUtf8()
                                      << QString::fromUtf8("/数据/房源.mdb");
    }
    void firstLine()
    {
        QFETCH(QByteArray, content);
        QFETCH(QString, expected);
        QTemporaryDir dir;
        const QString f = dir.filePath("path.ini");
        writeBytes(f, content);
        const auto line = IniFiles::readFirstLine(f);
        QVERIFY(line.has_value());
        QCOMPARE(*line, expected);
    }

    void missingFileReadsNothing()
    {
        QTemporaryDir dir;
        QVERIFY(!IniFiles::readFirstLine(dir.filePath("path.ini")).has_value());
        QVERIFY(!IniFiles::readFirstLine(dir.path()).has_value()); // a folder, not a file
    }

    void writeReplacesWithOneCrLfLine()
    {
        QTemporaryDir dir;
        const QString f = dir.filePath("Exp.ini");
        writeBytes(f, "/old/one.mdb\r\n/old/two.mdb\r\n");
        IniFiles::writeLine(f, QString::fromUtf8("/新/fyExp.mdb"));
        QCOMPARE(readBytes(f), QString::fromUtf8("/新/fyExp.mdb\r\n").toUtf8());
        QCOMPARE(*IniFiles::readFirstLine(f), QString::fromUtf8("/新/fyExp.mdb"));
    }

    void writeIntoMissingFolderThrows()
    {
        QTemporaryDir dir;
        QVERIFY_THROWS_EXCEPTION(DbError,
                                 IniFiles::writeLine(dir.filePath("no/such/path.ini"), "x"));
    }

    // Where path.ini and Exp.ini are read and written: beside the executable
    // when they are there or that folder can be written, otherwise in the user's
    // configuration folder (made on the first write), in the same format.
    void bothPlaces_data()
    {
        QTest::addColumn<QString>("programFolder"); // "writable", "missing" or "read-only"
        QTest::addColumn<bool>("besideProgram");    // the file is already there
        QTest::addColumn<bool>("inUserFolder");     // the file is already there
        QTest::addColumn<bool>("expectBeside");
        QTest::newRow("writable, no file yet") << "writable" << false << false << true;
        QTest::newRow("writable wins over the user folder") << "writable" << false << true << true;
        QTest::newRow("cannot be written, first start") << "missing" << false << false << false;
        QTest::newRow("cannot be written, chosen before") << "missing" << false << true << false;
        QTest::newRow("read-only, file beside program") << "read-only" << true << true << true;
        QTest::newRow("read-only, no file beside program")
            << "read-only" << false << false << false;
    }
    void bothPlaces()
    {
        QFETCH(QString, programFolder);
        QFETCH(bool, besideProgram);
        QFETCH(bool, inUserFolder);
        QFETCH(bool, expectBeside);
        QTemporaryDir exe, config;
        const QString programDir =
            programFolder == "missing" ? exe.filePath("gone/away") : exe.path();
        const QString userDir = QDir(config.path()).filePath("halvorra");
        if (besideProgram) writeBytes(QDir(programDir).filePath("Exp.ini"), "/beside/x.mdb\r\n");
        if (inUserFolder) {
            QVERIFY(QDir().mkpath(userDir));
            writeBytes(QDir(userDir).filePath("Exp.ini"), "/user/x.mdb\n");
        }
        if (programFolder == "read-only") {
            QVERIFY(QFile::setPermissions(programDir, QFile::ReadOwner | QFile::ExeOwner));
            if (QFileInfo(programDir).isWritable()) {
                QFile::setPermissions(programDir,
                                      QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
                QSKIP("the administrator writes every folder");
            }
        }
        ScopedEnv configEnv("XDG_CONFIG_HOME", config.path());
        IniFiles::setFolder(programDir);
        auto restore = qScopeGuard([&] {
            IniFiles::setFolder({});
            QFile::setPermissions(exe.path(),
                                  QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
        });

        const QString dir = expectBeside ? programDir : userDir;
        QCOMPARE(IniFiles::userFolder(), userDir);
        // Only Exp.ini is ever put beside the program here: path.ini follows the folder alone.
        QCOMPARE(IniFiles::mainIni(),
                 QDir(programFolder == "writable" ? programDir : userDir).filePath("path.ini"));
        QCOMPARE(IniFiles::exchangeIni(), QDir(dir).filePath("Exp.ini"));
        const std::optional<QString> read = IniFiles::readFirstLine(IniFiles::exchangeIni());
        if (besideProgram)
            QCOMPARE(read, std::optional<QString>("/beside/x.mdb"));
        else if (inUserFolder && !expectBeside)
            QCOMPARE(read, std::optional<QString>("/user/x.mdb"));
        else
            QVERIFY(!read.has_value());
        if (besideProgram && programFolder == "read-only") {
            // Kept where it is; a folder that refuses it is an error to show.
            QVERIFY_THROWS_EXCEPTION(DbError, IniFiles::writeLine(IniFiles::exchangeIni(), "y"));
        } else {
            IniFiles::writeLine(IniFiles::exchangeIni(), QString::fromUtf8("/新/fyExp.mdb"));
            QCOMPARE(readBytes(QDir(dir).filePath("Exp.ini")),
                     QString::fromUtf8("/新/fyExp.mdb\r\n").toUtf8());
        }
        IniFiles::setFolder({});
        QCOMPARE(IniFiles::folder(), QCoreApplication::applicationDirPath());
    }

    void loginCheck_data()
    {
        QTest::addColumn<QString>("number");
        QTest::addColumn<QString>("password");
        QTest::addColumn<bool>("ok");
        QTest::addColumn<QString>("storedNumber");
        QTest::newRow("admin") << "admin"
                               << "admin" << true << "admin";
        QTest::newRow("number case by the engine") << "ADMIN"
                                                   << "admin" << true << "admin";
        QTest::newRow("password case distinguished") << "admin"
                                                     << "Admin" << false << "";
        QTest::newRow("wrong password") << "admin"
                                        << "admi" << false << "";
        QTest::newRow("unknown number") << "nobod"
                                        << "admin" << false << "";
        QTest::newRow("stored with blanks") << "00007"
                                            << "pw7" << true << "00007";
        QTest::newRow("non-operator with its password") << "00008"
                                                        << "pw8" << false << "";
        QTest::newRow("non-operator '#' password") << "00008"
                                                   << "#" << false << "";
        QTest::newRow("quote in number") << "a'b"
                                         << "q" << true << "a'b";
        QTest::newRow("injection attempt") << "x' or '1'='1"
                                           << "admin" << false << "";
    }
    void loginCheck()
    {
        QFETCH(QString, number);
        QFETCH(QString, password);
        QFETCH(bool, ok);
        QFETCH(QString, storedNumber);
        TestDb db;
        db.exec(
            "INSERT INTO 操作员档案 (员工编号,员工姓名,员工职务,联系电话,登录密码,操作人员,功能组) "
            "VALUES ('00007',' 李四 ','','',' pw7  ','是','高级操作员 ')");
        db.exec(
            "INSERT INTO 操作员档案 (员工编号,员工姓名,员工职务,联系电话,登录密码,操作人员,功能组) "
            "VALUES ('00008','王五','','','pw8','否','#')");
        db.exec(
            "INSERT INTO 操作员档案 (员工编号,员工姓名,员工职务,联系电话,登录密码,操作人员,功能组) "
            "VALUES ('a''b','引号','','','q','是','普通操作员')");
        hashPasswords(db.mainPath());
        Connection c(DbKind::Main);
        c.setDatabase(db.mainPath(), mainPw());
        c.open();
        Query q(&c);
        GTMYhxx user;
        QCOMPARE(LoginCheck::run(q, number, password, user), ok);
        QVERIFY(!q.isActive());
        QCOMPARE(user.YGBH, storedNumber);
        if (storedNumber == "00007") {
            QCOMPARE(user.YGXM, QStringLiteral("李四"));
            QCOMPARE(PasswordHash::verify(user.YGMM, "pw7"), PasswordHash::Check::Match);
            QCOMPARE(user.GNZ, QStringLiteral("高级操作员"));
        }
        if (storedNumber == "admin") QCOMPARE(user.GNZ, QStringLiteral("系统管理员"));
    }

    void loginCheckErrorClosesQuery()
    {
        Connection c(DbKind::Main); // never opened
        Query q(&c);
        GTMYhxx user;
        QVERIFY_THROWS_EXCEPTION(DbError, LoginCheck::run(q, "admin", "admin", user));
        QVERIFY(!q.isActive());
        QVERIFY(user.YGBH.isEmpty());
    }

    void backupName()
    {
        QCOMPARE(Backup::targetName("/b/2003"), QStringLiteral("/b/2003.mdb"));
        QCOMPARE(Backup::targetName("/b/x.mdb"), QStringLiteral("/b/x.mdb.mdb"));
    }

    void backupIsEncryptedConsistentCopy()
    {
        TestDb db;
        db.exec("INSERT INTO 户型字典 VALUES ('备份测试')");
        const QString target = Backup::targetName(QDir(db.dir()).filePath("2003"));
        QString why;
        QVERIFY2(Backup::copyDatabase(db.mainPath(), target, mainPw(), &why), qPrintable(why));
        QVERIFY(readBytes(target).size() > 1024);
        QVERIFY(!readBytes(target).startsWith("SQLite format 3"));
        Connection c(DbKind::Main);
        c.setDatabase(target, mainPw());
        c.open(); // checks it is one of ours: application id and every table
        QVERIFY(c.isSound());
        Statement v(c, "SELECT count(*) FROM 户型字典 WHERE 户型='备份测试'");
        QVERIFY(v.step());
        QCOMPARE(v.value(0).toInt(), 1);
        // Not readable with another password.
        Connection wrong(DbKind::Main);
        wrong.setDatabase(target, QString::fromLatin1(Schema::exchangePassword()));
        QVERIFY_THROWS_EXCEPTION(DbError, wrong.open());
    }

    void backupNeverOverwrites()
    {
        TestDb db;
        const QString target = QDir(db.dir()).filePath("2003.mdb");
        QVERIFY(Backup::copyDatabase(db.mainPath(), target, mainPw()));
        const QByteArray first = readBytes(target);
        db.exec("INSERT INTO 户型字典 VALUES ('第二次')");
        QString why;
        QVERIFY(!Backup::copyDatabase(db.mainPath(), target, mainPw(), &why));
        QVERIFY(!why.isEmpty());
        QCOMPARE(readBytes(target), first);
        QCOMPARE(countRows(target, "户型字典") + 1, countRows(db.mainPath(), "户型字典"));
        // Neither onto the database itself.
        QVERIFY(!Backup::copyDatabase(db.mainPath(), db.mainPath(), mainPw()));
        QCOMPARE(countRows(db.mainPath(), "户型字典"), countRows(target, "户型字典") + 1);
    }

    void backupWhileAnotherConnectionWrites()
    {
        TestDb db;
        const int before = countRows(db.mainPath(), "户型字典");
        Connection writer(DbKind::Main);
        writer.setDatabase(db.mainPath(), mainPw());
        writer.open();
        const QString target = QDir(db.dir()).filePath("busy.mdb");
        {
            // A write in progress: the copy holds what was committed before it.
            Connection::Transaction t(writer);
            for (int i = 0; i < 200; ++i)
                writer.execute(QStringLiteral("INSERT INTO 户型字典 VALUES ('未提交%1')").arg(i));
            QString why;
            QVERIFY2(Backup::copyDatabase(db.mainPath(), target, mainPw(), &why), qPrintable(why));
            t.commit();
        }
        QCOMPARE(countRows(target, "户型字典"), before);
        QCOMPARE(countRows(db.mainPath(), "户型字典"), before + 200);
        // And after the commit a second copy holds the new rows.
        const QString second = QDir(db.dir()).filePath("busy2.mdb");
        QVERIFY(Backup::copyDatabase(db.mainPath(), second, mainPw()));
        QCOMPARE(countRows(second, "户型字典"), before + 200);
    }

    void backupFailures_data()
    {
        QTest::addColumn<QString>("source"); // relative to the test folder; "" = none
        QTest::addColumn<QString>("password");
        QTest::newRow("missing source") << "nosuch.mdb" << mainPw();
        QTest::newRow("empty source path") << "" << mainPw();
        QTest::newRow("wrong password") << "fybase.mdb"
                                        << "nope";
        QTest::newRow("exchange file as source") << "fyExp.mdb" << mainPw();
    }
    void backupFailures()
    {
        QFETCH(QString, source);
        QFETCH(QString, password);
        TestDb db;
        const QString src = source.isEmpty() ? QString() : QDir(db.dir()).filePath(source);
        const QString target = QDir(db.dir()).filePath("out.mdb");
        QString why;
        QVERIFY(!Backup::copyDatabase(src, target, password, &why));
        QVERIFY(!why.isEmpty());
        QVERIFY(!QFile::exists(target));
    }

    // A backup killed part-way (-9) leaves nothing under the chosen name and the
    // database as it was; the next backup to that name succeeds and clears away
    // what the killed one left.
    void killedBackupLeavesNoFile()
    {
        TestDb db;
        DemoData::Options o;
        o.listings = 30000;
        o.customers = 0;
        DemoData::fill(db.mainPath(), o);
        const QString target = Backup::targetName(QDir(db.dir()).filePath("2003"));
        const auto leftovers = [&] {
            return QDir(db.dir()).entryList({"2003.mdb.*"}, QDir::Files | QDir::Hidden);
        };
        const QByteArray before = TestDb::onServer() ? QByteArray() : fileHash(db.mainPath());
        const int listings = countRows(db.mainPath(), "房屋信息");
        QProcess worker;
        worker.start(QCoreApplication::applicationFilePath(),
                     {"--backup-worker", db.mainPath(), target});
        QVERIFY(worker.waitForStarted());
        // Killed as soon as the copy has begun.
        while (leftovers().isEmpty() && !worker.waitForFinished(1)) {
        }
        QVERIFY2(!leftovers().isEmpty(), "the backup ended before it could be killed");
        ::kill(pid_t(worker.processId()), SIGKILL);
        QVERIFY(worker.waitForFinished());
        QCOMPARE(worker.exitStatus(), QProcess::CrashExit);
        QVERIFY(!QFile::exists(target));
        QVERIFY(!leftovers().isEmpty());
        if (!TestDb::onServer()) QCOMPARE(fileHash(db.mainPath()), before);
        QCOMPARE(countRows(db.mainPath(), "房屋信息"), listings);

        QString why;
        QVERIFY2(Backup::copyDatabase(db.mainPath(), target, mainPw(), &why), qPrintable(why));
        QCOMPARE(leftovers(), QStringList());
        QCOMPARE(countRows(target, "房屋信息"), listings);
    }

    void backupIntoMissingFolderFails()
    {
        TestDb db;
        QVERIFY(!Backup::copyDatabase(db.mainPath(), QDir(db.dir()).filePath("no/dir/x.mdb"),
                                      mainPw()));
    }
};

namespace
{
// The worker of the killed-backup test: one backup, as the main window makes it.
int runBackupWorker(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    const QStringList a = app.arguments();
    return a.size() == 4 && Backup::copyDatabase(a[2], a[3], mainPw()) ? 0 : 1;
}
} // namespace

int main(int argc, char** argv)
{
    if (argc > 1 && std::strcmp(argv[1], "--backup-worker") == 0)
        return runBackupWorker(argc, argv);
    TestAppCore tc;
    return runTests(argc, argv, &tc);
}
#include "tst_appcore.moc"
