// Moving an office between a file and a server with halvorra-db, its refusals,
// the backup of a server-backed office, and create/demo leaving nothing behind
// when they fail. Needs the test server in every run.
#include "data/Connection.h"
#include "data/DatabaseCopy.h"
#include "data/DbError.h"
#include "data/DealTables.h"
#include "data/PhotoTables.h"
#include "data/Reminders.h"
#include "data/Schema.h"
#include "data/SchemaUpgrade.h"
#include "data/SecurityTables.h"
#include "tests/support/TestSupport.h"
#include "tools/lib/DemoData.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QProcess>

namespace
{

struct Run {
    int code = -1;
    QString out, err;
};

// halvorra-db with the arguments, as an office would run it.
Run tool(const QStringList& args)
{
    QProcess p;
    p.start(QCoreApplication::applicationDirPath() + QStringLiteral("/halvorra-db"), args);
    Run r;
    if (!p.waitForFinished(120000)) return r;
    r.code = p.exitStatus() == QProcess::NormalExit ? p.exitCode() : -1;
    r.out = QString::fromUtf8(p.readAllStandardOutput());
    r.err = QString::fromUtf8(p.readAllStandardError());
    return r;
}

// What a server database holds: its tables (sorted) and their row counts.
QStringList tablesOf(const QString& location)
{
    Connection c(DbKind::Main);
    c.setDatabase(location, QString());
    c.openRaw();
    QStringList names = c.tableNames();
    names.sort();
    QStringList out;
    for (const QString& n : names) {
        Statement st(c, QStringLiteral("SELECT count(*) FROM \"%1\"").arg(n));
        st.step();
        out << n + QLatin1Char('=') + st.value(0).toString();
    }
    return out;
}

// A main file with the rows the copy must carry unchanged: generated listings and
// customers, and values that are easy to spoil on the way.
QString awkwardOffice(const QString& dir)
{
    DemoData::Options o;
    o.listings = 400;
    o.customers = 250;
    o.companyCode = QStringLiteral("A01");
    DemoData::createDemoPair(dir, o);
    const QString path = QDir(dir).filePath(QStringLiteral("fybase.mdb"));
    Connection c(DbKind::Main);
    c.setDatabase(path, QString::fromLatin1(Schema::mainPassword()));
    c.open();
    Statement st(c, QStringLiteral("INSERT INTO 房屋信息 (档案号,小区名称,地址,备注,房屋面积,"
                                   "信息价格,最低价格,楼层) VALUES (?,?,?,?,?,?,?,?)"));
    const QList<QVariantList> rows = {{"A01000101001", "O'Brien \"家园\"", "C:\\路\\1号",
                                       QString(5000, QChar(0x5907)), 0.1, 1e-7, 123456789.123, ""},
                                      {"a01000101002", "  前后有空格  ", QVariant(),
                                       "第一行\n第二行\t制表", -0.0, 1e300, QVariant(), "%_"},
                                      {"A01000101003", "𠀋字", "50%折扣_",
                                       "'; DROP TABLE 房屋信息; --", 86.5, 2.0 / 3.0, 0.0, "高层"}};
    for (const QVariantList& r : rows) {
        st.reset();
        for (int i = 0; i < r.size(); ++i)
            st.bind(i + 1, r[i]);
        st.step();
    }
    // A deal at the largest amount, in fen, and its agent.
    c.run(QStringLiteral("INSERT INTO 成交记录 (房源档案号,客户档案号,成交日期,成交价格,业主佣金,"
                         "客户佣金,状态) VALUES ('A01000101001','A01000101001','2026-01-02',"
                         "10000000000000,1,0,'有效')"));
    c.run(QStringLiteral("INSERT INTO 成交经纪人 (成交编号,员工编号,员工姓名,比例,佣金) VALUES "
                         "(1,'007','已离职',10000,1)"));
    return path;
}

} // namespace

class TestDbCopy : public QObject
{
    Q_OBJECT

private slots:
    // File to server to file: every row of the last file equals the first.
    void fileToServerToFileKeepsEveryRow()
    {
        TestDb db;
        const QString original = awkwardOffice(db.dir() + QStringLiteral("/a"));
        const QString server = db.newServerDatabase();
        const QString back = db.dir() + QStringLiteral("/back.mdb");
        const Run there = tool({QStringLiteral("copy"), original, server});
        QVERIFY2(there.code == 0, qPrintable(there.err));
        QVERIFY2(there.out.contains(QStringLiteral("房屋信息\t403")), qPrintable(there.out));
        QVERIFY(there.out.contains(QStringLiteral("客户信息\t250")));
        const Run home = tool({QStringLiteral("copy"), server, back});
        QVERIFY2(home.code == 0, qPrintable(home.err));
        const QList<QVariantList> before = everyRow(original);
        QCOMPARE(before.size(),
                 403 + 250 + 1 + 1 + 2 + 2 + 8 + 6 + 5 + 7 + 100 + 2); // 100 notes, a deal
        QCOMPARE(everyRow(server), before);
        QCOMPARE(everyRow(back), before);
        // The copy opens as a file of ours with the password.
        Connection c(DbKind::Main);
        c.setDatabase(back, QString::fromLatin1(Schema::mainPassword()));
        c.open();
        QVERIFY(c.isSound());
    }

    void copyRefusesATargetNotEmpty_data()
    {
        QTest::addColumn<QString>("target");
        QTest::addColumn<QString>("says");
        QTest::newRow("server with our rows") << "server-rows"
                                              << "不是空的";
        QTest::newRow("server with another program's tables") << "server-foreign"
                                                              << "其他程序";
        QTest::newRow("file of a new pair (first rows)") << "file-rows"
                                                         << "不是空的";
        QTest::newRow("file not ours") << "file-foreign"
                                       << "不是本系统";
        QTest::newRow("the source itself") << "same"
                                           << "同一个";
    }
    // Refused before anything is written: the target stays as it was.
    void copyRefusesATargetNotEmpty()
    {
        QFETCH(QString, target);
        QFETCH(QString, says);
        TestDb db;
        const QString source = awkwardOffice(db.dir() + QStringLiteral("/a"));
        QString where;
        std::function<QVariant()> state;
        if (target.startsWith("server")) {
            where = db.newServerDatabase();
            if (target == "server-rows") {
                QVERIFY(tool({"create", where}).code == 0);
            } else {
                Connection raw(DbKind::Main);
                raw.setDatabase(where, QString());
                raw.openRaw();
                raw.run("CREATE TABLE ledger (id integer)");
            }
            state = [&] { return QVariant(tablesOf(where)); };
        } else if (target == "same") {
            where = source;
            state = [&] { return QVariant(fileHash(source)); };
        } else {
            DemoData::createPair(db.dir() + QStringLiteral("/b"));
            where = db.dir() + QStringLiteral("/b/") +
                    (target == "file-rows" ? "fybase.mdb" : "fyExp.mdb");
            state = [&] { return QVariant(fileHash(where)); };
        }
        const QVariant before = state();
        const Run r = tool({QStringLiteral("copy"), source, where});
        QCOMPARE(r.code, 1);
        QVERIFY2(r.err.contains(says), qPrintable(r.err));
        QCOMPARE(state(), before);
    }

    void createAndDemoOnAServer()
    {
        TestDb db;
        const QString empty = db.newServerDatabase();
        const Run made = tool({QStringLiteral("create"), empty});
        QVERIFY2(made.code == 0, qPrintable(made.err));
        QCOMPARE(tablesOf(empty).size(),
                 Schema::mainTables().size() + Schema::recordTables().size() +
                     Schema::reminderTables().size() + Schema::photoTables().size() +
                     Schema::dealTables().size() + Schema::securityTables().size() + 1);
        QVERIFY(tablesOf(empty).contains(QStringLiteral("操作员档案=1")));
        const QStringList before = tablesOf(empty);
        const Run again = tool({QStringLiteral("create"), empty});
        QCOMPARE(again.code, 1);
        QVERIFY(again.err.contains(QStringLiteral("已经有数据表")));
        QCOMPARE(tablesOf(empty), before);

        const QString demo = db.newServerDatabase();
        const Run filled =
            tool({"demo", demo, "--listings", "120", "--customers", "30", "--company", "B02"});
        QVERIFY2(filled.code == 0, qPrintable(filled.err));
        QVERIFY(tablesOf(demo).contains(QStringLiteral("房屋信息=120")));
        QVERIFY(tablesOf(demo).contains(QStringLiteral("客户信息=30")));
        Connection c(DbKind::Main);
        c.setDatabase(demo, QString());
        c.open();
        Statement code(c, "SELECT 公司代码 FROM 公司信息");
        QVERIFY(code.step());
        QCOMPARE(code.value(0).toString(), QStringLiteral("B02"));
    }

    // halvorra-db upgrade brings an older main database (a file named by its folder,
    // or a server database) to this layout, says there is nothing to do the second
    // time, and refuses a newer one untouched.
    void upgradeCommand_data()
    {
        QTest::addColumn<bool>("server");
        QTest::newRow("file") << false;
        QTest::newRow("server") << true;
    }
    void upgradeCommand()
    {
        QFETCH(bool, server);
        TestDb db;
        QString where = db.mainPath();
        if (server) {
            where = db.newServerDatabase();
            Schema::createMainDatabase(where);
        }
        const auto setLayout = [&](int layout) {
            auto c = openMain(where);
            c->run(QStringLiteral("UPDATE 数据库版本 SET 版本=%1").arg(layout));
        };
        const auto layoutNow = [&] {
            auto c = openMain(where);
            return SchemaUpgrade::version(*c);
        };
        const QString named = server ? where : QFileInfo(where).path();
        setLayout(Schema::kLayoutVersion - 1);
        const Run up = tool({QStringLiteral("upgrade"), named});
        QVERIFY2(up.code == 0, qPrintable(up.err));
        QVERIFY2(up.out.contains(QStringLiteral("升级到版本 %1").arg(Schema::kLayoutVersion)),
                 qPrintable(up.out));
        QCOMPARE(layoutNow(), Schema::kLayoutVersion);
        const Run again = tool({QStringLiteral("upgrade"), named});
        QVERIFY2(again.code == 0 && again.out.contains(QStringLiteral("无需升级")),
                 qPrintable(again.out + again.err));

        setLayout(Schema::kLayoutVersion + 1);
        const Run newer = tool({QStringLiteral("upgrade"), named});
        QCOMPARE(newer.code, 1);
        QVERIFY2(newer.err.contains(SchemaUpgrade::newerText(Schema::kLayoutVersion + 1)),
                 qPrintable(newer.err));
        QCOMPARE(layoutNow(), Schema::kLayoutVersion + 1);
    }

    void failuresLeaveNothingBehind_data()
    {
        QTest::addColumn<QStringList>("args"); // %D: a new folder, %S: a new server database
        QTest::addColumn<QString>("says");
        QTest::newRow("company code of 2") << QStringList{"demo", "%D", "--company", "AB"} << "3";
        QTest::newRow("company code of 4") << QStringList{"demo", "%S", "--company", "ABCD"} << "3";
        QTest::newRow("code with a blank") << QStringList{"demo", "%D", "--company", " AB"} << "3";
        QTest::newRow("two Chinese characters")
            << QStringList{"demo", "%S", "--company", "甲乙"} << "3";
        QTest::newRow("exchange file there already")
            << QStringList{"create", "%D", "exp"} << "已存在";
        QTest::newRow("server: a name taken half-way")
            << QStringList{"demo", "%S", "clash"} << "房屋信息_序号";
    }
    // A refused or failed create/demo writes nothing: no file, no table.
    void failuresLeaveNothingBehind()
    {
        QFETCH(QStringList, args);
        QFETCH(QString, says);
        TestDb db;
        const QString dir = db.dir() + QStringLiteral("/new");
        QString server;
        QStringList run;
        for (const QString& a : args) {
            if (a == "%D") {
                run << dir;
            } else if (a == "%S") {
                server = db.newServerDatabase();
                run << server;
            } else if (a == "exp") {
                // A leftover exchange file: the main file must not appear beside it.
                QDir().mkpath(dir);
                QFile f(dir + QStringLiteral("/fyExp.mdb"));
                QVERIFY(f.open(QIODevice::WriteOnly));
            } else if (a == "clash") {
                // An object of the name the last index takes: the tables made
                // before it must go again.
                Connection raw(DbKind::Main);
                raw.setDatabase(server, QString());
                raw.openRaw();
                raw.run("CREATE SEQUENCE 房屋信息_序号");
            } else {
                run << a;
            }
        }
        const Run r = tool(run);
        QCOMPARE(r.code, 1);
        QVERIFY2(r.err.contains(says), qPrintable(r.err));
        if (!server.isEmpty()) QCOMPARE(tablesOf(server), QStringList());
        QVERIFY(!QFile::exists(dir + QStringLiteral("/fybase.mdb")));
        // Not even the folder is left, unless it was there before.
        if (!args.contains("exp")) QVERIFY(!QFileInfo::exists(dir));
    }

    // The backup of a server-backed office: a keyed file of one snapshot, which
    // opens as a file and copies back onto a server.
    void backupFromAServer()
    {
        TestDb db;
        const QString server = db.newServerDatabase();
        DemoData::Options o;
        o.listings = 150;
        o.customers = 40;
        DemoData::createDemo(server, o);
        const QList<QVariantList> committed = everyRow(server);
        const QString target = db.dir() + QStringLiteral("/2003.mdb");
        {
            // A write in progress elsewhere: the copy holds what was committed.
            Connection writer(DbKind::Main);
            writer.setDatabase(server, QString());
            writer.open();
            Connection::Transaction t(writer);
            writer.execute("INSERT INTO 户型字典 VALUES ('未提交')");
            QString why;
            QVERIFY2(DatabaseCopy::backup(server, target,
                                          QString::fromLatin1(Schema::mainPassword()), &why),
                     qPrintable(why));
        }
        QVERIFY(QFile::exists(target));
        QCOMPARE(everyRow(target), committed);
        QString why;
        QVERIFY(!DatabaseCopy::backup(server, target, QString::fromLatin1(Schema::mainPassword()),
                                      &why));
        QVERIFY(why.contains(QStringLiteral("已存在")));
        const QString again = db.newServerDatabase();
        QVERIFY(tool({QStringLiteral("copy"), target, again}).code == 0);
        QCOMPARE(everyRow(again), committed);
    }
};

HALVORRA_TEST_MAIN(TestDbCopy)
#include "tst_dbcopy.moc"
