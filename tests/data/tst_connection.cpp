// Opening database files: only our own encrypted files with the right password
// open; anything else fails with a clear text and is left byte-for-byte unchanged.
#include "data/Connection.h"
#include "data/DbError.h"
#include "data/Dmbasic.h"
#include "data/Query.h"
#include "data/Schema.h"
#include "tests/support/TestSupport.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <optional>

namespace
{

void makeSqlite(const QString& path, const QByteArray& key, int appId)
{
    Connection raw(DbKind::Main);
    raw.setDatabase(path, QString::fromLatin1(key));
    raw.openRaw();
    raw.run(
        QStringLiteral("PRAGMA application_id=%1; CREATE TABLE 户型字典(户型 TEXT);").arg(appId));
}

// The text an open fails with; empty when it opens.
QString openRefusal(Connection& c)
{
    try {
        c.open();
    } catch (const DbError& e) {
        return e.text();
    }
    return {};
}

} // namespace

class TestConnection : public QObject
{
    Q_OBJECT

private slots:
    void refusesFilesNotOurs_data()
    {
        QTest::addColumn<QString>("kind");
        QTest::addColumn<QString>("expected");
        QTest::newRow("wrong password") << "wrongpw"
                                        << "密码不对";
        QTest::newRow("missing") << "missing"
                                 << "不存在";
        QTest::newRow("zero bytes") << "empty"
                                    << "不是本系统的数据库";
        QTest::newRow("plain sqlite") << "plain"
                                      << "没有加密";
        QTest::newRow("foreign encrypted") << "foreign"
                                           << "不是本系统";
        QTest::newRow("exchange file as main") << "exchange"
                                               << "不是本系统";
        QTest::newRow("text file") << "text"
                                   << "密码不对";
        QTest::newRow("our id, tables missing") << "notables"
                                                << "缺少数据表";
    }
    void refusesFilesNotOurs()
    {
        FILES_ONLY();
        QFETCH(QString, kind);
        QFETCH(QString, expected);
        TestDb db;
        QString path = db.dir() + "/target.mdb";
        QString password = Schema::mainPassword();
        if (kind == "wrongpw") {
            path = db.mainPath();
            password = "marblecanyon";
        } else if (kind == "empty") {
            QFile f(path);
            QVERIFY(f.open(QIODevice::WriteOnly));
        } else if (kind == "plain") {
            makeSqlite(path, {}, Schema::kMainAppId);
        } else if (kind == "foreign") {
            makeSqlite(path, Schema::mainPassword(), 0);
        } else if (kind == "exchange") {
            path = db.exchangePath();
        } else if (kind == "text") {
            QFile f(path);
            QVERIFY(f.open(QIODevice::WriteOnly));
            f.write(QByteArray(4096, 'x'));
        } else if (kind == "notables") {
            makeSqlite(path, Schema::mainPassword(), Schema::kMainAppId);
        }
        const QByteArray before = fileHash(path);
        Connection c(DbKind::Main);
        c.setDatabase(path, password);
        const QString why = openRefusal(c);
        QVERIFY2(!why.isEmpty() && why.contains(expected), qPrintable(why));
        QVERIFY(!c.isOpen());
        QCOMPARE(fileHash(path), before);
        if (kind == "missing") QVERIFY(!QFile::exists(path));
    }

    void refusesServersNotOurs_data()
    {
        QTest::addColumn<QString>("kind");
        QTest::addColumn<QString>("expected");
        serverRefusalRows();
        QTest::newRow("exchange database on the server") << "exchange"
                                                         << "交换数据库必须是文件";
    }
    // Every refusal names its cause, and nothing is written.
    void refusesServersNotOurs()
    {
        SERVER_ONLY();
        QFETCH(QString, kind);
        QFETCH(QString, expected);
        TestDb db;
        const bool exchange = kind == "exchange";
        const QString where = exchange ? db.mainPath() : db.serverOfKind(kind);
        const bool reachable =
            !QStringList{"unreachable", "user", "password", "nodb"}.contains(kind);
        auto snapshot = [&] {
            if (!reachable) return QStringList();
            Connection raw(DbKind::Main);
            raw.setDatabase(where, QString());
            raw.openRaw();
            QStringList tables = raw.tableNames();
            tables.sort();
            for (const QString& t : raw.tableNames()) {
                Statement st(raw, QStringLiteral("SELECT count(*) FROM \"%1\"").arg(t));
                st.step();
                tables << st.value(0).toString();
            }
            return tables;
        };
        const QStringList before = snapshot();
        Connection c(exchange ? DbKind::Exchange : DbKind::Main);
        c.setConnectionString(Tdmbasic::mainConnectionString(where));
        const QString why = openRefusal(c);
        QVERIFY2(!why.isEmpty() && why.contains(expected), qPrintable(why));
        QVERIFY(!c.isOpen());
        QCOMPARE(snapshot(), before);
    }

    void connectionStringCarriesPathAndPassword()
    {
        TestDb db;
        Connection c(DbKind::Main);
        c.setConnectionString(Tdmbasic::mainConnectionString(db.mainPath()));
        QCOMPARE(c.path(), db.mainPath());
        c.open();
        QVERIFY(c.isOpen());
        Connection x(DbKind::Exchange);
        x.setConnectionString(Tdmbasic::exchangeConnectionString(db.exchangePath()));
        x.open();
        QVERIFY(x.table("房屋信息Exp"));
        QVERIFY(x.table("客户信息Exp"));
        // The main password does not open the exchange file.
        Connection y(DbKind::Exchange);
        y.setDatabase(db.exchangePath(), Schema::mainPassword());
        QVERIFY_THROWS_EXCEPTION(DbError, y.open());
    }

    void oddPathsStayWhole_data()
    {
        QTest::addColumn<QString>("folder");
        QTest::newRow("semicolon") << "a;b";
        QTest::newRow("equals sign") << "a=b";
        QTest::newRow("a key of the string") << "x;Data Source=y;Mode=Read";
        QTest::newRow("the tail itself")
            << "p;Persist Security Info=True;Jet OLEDB:Database Password=q";
        QTest::newRow("quotes") << "它'的\"夹";
        QTest::newRow("blanks") << " 前后 有 空格 ";
        QTest::newRow("Chinese") << "房源数据";
    }
    // A file path may hold any character the file system allows: the connection
    // string the windows build carries it whole, for the main and the exchange file.
    void oddPathsStayWhole()
    {
        QFETCH(QString, folder);
        TestDb db;
        const QString dir = QDir(db.dir()).filePath(folder);
        QVERIFY(QDir().mkpath(dir));
        const QString exchange = QDir(dir).filePath("fyExp.mdb");
        QVERIFY(QFile::copy(db.exchangePath(), exchange));
        // On the server the address keeps its parameters, each with its "=".
        QString main = db.mainPath() + "?application_name=halvorra&connect_timeout=9";
        if (!TestDb::onServer()) {
            main = QDir(dir).filePath("fybase.mdb");
            QVERIFY(QFile::copy(db.mainPath(), main));
        }
        Connection c(DbKind::Main);
        c.setConnectionString(Tdmbasic::mainConnectionString(main));
        QCOMPARE(c.path(), main);
        c.open();
        QVERIFY(c.table("房屋信息"));
        Connection x(DbKind::Exchange);
        x.setConnectionString(Tdmbasic::exchangeConnectionString(exchange));
        QCOMPARE(x.path(), exchange);
        x.open();
        QVERIFY(x.table("房屋信息Exp"));
    }

    void refusedWhenNotUsable_data()
    {
        QTest::addColumn<QString>("kind");
        QTest::addColumn<int>("cause");
        QTest::addColumn<QString>("says");
        const int damaged = int(DbError::Cause::Damaged), readOnly = int(DbError::Cause::ReadOnly);
        QTest::newRow("damaged main file") << "damaged" << damaged << "数据库文件已损坏";
        QTest::newRow("damaged exchange file")
            << "damaged exchange" << damaged << "交换数据库文件已损坏";
        QTest::newRow("main file read-only")
            << "read-only file" << readOnly << "数据库文件是只读的";
        QTest::newRow("folder read-only") << "read-only folder" << readOnly << "文件夹不能写入";
        QTest::newRow("exchange file read-only")
            << "read-only exchange" << readOnly << "数据库文件是只读的";
        QTest::newRow("server read-only") << "read-only server" << readOnly << "只允许读取";
        QTest::newRow("server user may only read") << "reader" << readOnly << "没有写入";
    }
    // The login's check refuses what opens but cannot be worked on, with its cause,
    // and changes nothing; the same database passes the check of an open alone.
    void refusedWhenNotUsable()
    {
        QFETCH(QString, kind);
        QFETCH(int, cause);
        QFETCH(QString, says);
        const bool server = kind.contains("server") || kind == "reader";
        const bool exchange = kind.contains("exchange");
        if (server) SERVER_ONLY();
        if (!server && !exchange) FILES_ONLY();
        TestDb db;
        QString where = exchange ? db.exchangePath() : db.mainPath();
        const QString password = exchange ? Schema::exchangePassword() : Schema::mainPassword();
        if (server) {
            Connection raw(DbKind::Main);
            raw.setDatabase(where, QString());
            raw.openRaw();
            if (kind == "reader") {
                raw.run("DO $$ BEGIN CREATE ROLE halvorra_reader LOGIN; EXCEPTION WHEN "
                        "duplicate_object OR unique_violation THEN NULL; END $$; "
                        "GRANT SELECT ON ALL TABLES IN SCHEMA public TO halvorra_reader");
                where.replace("postgresql://postgres@", "postgresql://halvorra_reader@");
            } else {
                raw.run("DO $$ BEGIN EXECUTE format('ALTER DATABASE %I SET "
                        "default_transaction_read_only = on', current_database()); END $$");
            }
        }
        const QString folder = server ? QString() : QFileInfo(where).absolutePath();
        if (kind.startsWith("damaged"))
            damagePage(where, password, exchange ? "房屋信息Exp" : "房屋信息");
        // A file is made read-only for an ordinary user (see Unprivileged).
        const bool fileReadOnly = kind.startsWith("read-only") && !server;
        if (fileReadOnly) {
            Unprivileged::makeReachable(where);
            if (kind == "read-only folder") Unprivileged::giveAway(where);
            QFile::setPermissions(kind == "read-only folder" ? folder : where,
                                  QFile::ReadOwner | QFile::ExeOwner | QFile::ReadOther |
                                      QFile::ExeOther);
        }
        const QByteArray before = server ? QByteArray() : fileHash(where);
        const QStringList files = server ? QStringList() : QDir(folder).entryList(QDir::Files);
        {
            std::optional<Unprivileged> user;
            if (fileReadOnly) user.emplace();
            Connection c(exchange ? DbKind::Exchange : DbKind::Main);
            c.setDatabase(where, password);
            c.open();
            c.close();
            try {
                c.open(Connection::Check::Usable);
                QFAIL("opened for work");
            } catch (const DbError& e) {
                QVERIFY2(e.text().contains(says), qPrintable(e.text()));
                QCOMPARE(int(e.cause()), cause);
                QVERIFY(!e.text().contains("其他工作站"));
            }
            QVERIFY(!c.isOpen());
        }
        if (server) return;
        QFile::setPermissions(folder, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
        QCOMPARE(fileHash(where), before);
        QCOMPARE(QDir(folder).entryList(QDir::Files), files);
    }

    void rollbackJournalAndBusyTimeout()
    {
        FILES_ONLY();
        TestDb db;
        Connection c(DbKind::Main);
        c.setDatabase(db.mainPath(), Schema::mainPassword());
        c.open();
        Statement st(c, "PRAGMA journal_mode");
        QVERIFY(st.step());
        QCOMPARE(st.value(0).toString().toLower(), QStringLiteral("delete"));
    }

    // Two workstations on one file: a write by one is seen at the other's next open.
    void twoConnectionsShareOneFile()
    {
        TestDb db;
        Connection a(DbKind::Main), b(DbKind::Main);
        a.setDatabase(db.mainPath(), Schema::mainPassword());
        b.setDatabase(db.mainPath(), Schema::mainPassword());
        a.open();
        b.open();
        Query qb(&b);
        qb.addSql("select * from 楼层字典 ");
        qb.open();
        const int before = qb.recordCount();
        Query qa(&a);
        qa.addSql("select * from 楼层字典 ");
        qa.open();
        qa.append();
        qa.setValue("楼层", "地下室");
        qa.post();
        QCOMPARE(qb.recordCount(), before); // a snapshot until reopened
        qb.open();
        QCOMPARE(qb.recordCount(), before + 1);
        QVERIFY(qb.locate("楼层", "地下室"));
        // A write transaction on one side makes the other wait, then fail clearly, not corrupt.
        Connection::Transaction tx(a);
        Statement w(a, "INSERT INTO 楼层字典 VALUES ('阁楼')");
        w.step();
        tx.commit();
        qb.open();
        QVERIFY(qb.locate("楼层", "阁楼"));
    }

    // The command-line tool makes a pair that sqlcipher opens only with the right password.
    void toolCreatesPair()
    {
        FILES_ONLY();
        const QString tool = QCoreApplication::applicationDirPath() + "/halvorra-db";
        if (!QFile::exists(tool)) QSKIP("halvorra-db not built beside the tests");
        QTemporaryDir dir;
        QProcess p;
        p.start(tool, {"create", dir.path()});
        QVERIFY(p.waitForFinished(60000));
        QCOMPARE(p.exitCode(), 0);
        auto cli = [](const QString& file, const QString& key) {
            QProcess s;
            s.start("sqlcipher", {file});
            s.waitForStarted();
            s.write(QStringLiteral("PRAGMA key='%1';\nSELECT name FROM sqlite_master WHERE "
                                   "type='table' ORDER BY name;\n")
                        .arg(key)
                        .toUtf8());
            s.closeWriteChannel();
            s.waitForFinished(60000);
            return QString::fromUtf8(s.readAllStandardOutput()).split('\n', Qt::SkipEmptyParts);
        };
        const QStringList mainTables = cli(dir.path() + "/fybase.mdb", "marblecanyons");
        QCOMPARE(mainTables.size(), 15);
        for (const char* t : {"房屋信息", "客户信息", "操作员档案", "公司信息", "户型字典",
                              "楼层字典", "权属字典", "位置字典", "供应方式字典", "需求方式字典",
                              "修改记录", "回收站", "跟进记录", "数据库版本", "房屋照片"})
            QVERIFY2(mainTables.contains(QString::fromUtf8(t)), t);
        QCOMPARE(cli(dir.path() + "/fyExp.mdb", "oakleafridges"),
                 QStringList({"客户信息Exp", "房屋信息Exp"}));
        QVERIFY(cli(dir.path() + "/fybase.mdb", "oakleafridges").isEmpty());
        // Never overwrites.
        const QByteArray before = fileHash(dir.path() + "/fybase.mdb");
        p.start(tool, {"create", dir.path()});
        QVERIFY(p.waitForFinished(60000));
        QVERIFY(p.exitCode() != 0);
        QCOMPARE(fileHash(dir.path() + "/fybase.mdb"), before);
    }

    void firstRowsOfANewPair()
    {
        TestDb db;
        QCOMPARE(db.scalar("select count(*) from 公司信息").toInt(), 1);
        QCOMPARE(db.rows("select 供应方式 from 供应方式字典 order by 供应方式"),
                 (QList<QVariantList>{{"出售"}, {"出租"}}));
        QCOMPARE(db.rows("select 需求方式 from 需求方式字典 order by 需求方式"),
                 (QList<QVariantList>{{"求租"}, {"求购"}}));
        QCOMPARE(db.scalar("select 功能组 from 操作员档案 where 员工编号='admin' and 操作人员='是'")
                     .toString(),
                 QStringLiteral("系统管理员"));
        for (const char* t : {"户型字典", "楼层字典", "权属字典", "位置字典"})
            QVERIFY(db.scalar(QStringLiteral("select count(*) from %1").arg(QString::fromUtf8(t)))
                        .toInt() > 0);
    }
};

HALVORRA_TEST_MAIN(TestConnection)
#include "tst_connection.moc"
