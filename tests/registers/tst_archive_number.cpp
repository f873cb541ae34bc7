// The archive-number rule on its own: the next sequence, the lookup statement, the
// count per company and day, refusals that leave the row unsaved, the index seek,
// and several processes saving into one file at the same moment.
#include "data/Connection.h"
#include "data/DbError.h"
#include "data/Query.h"
#include "data/Schema.h"
#include "registers/core/ArchiveNumber.h"
#include "session/PubVars.h"
#include "tests/support/TestSupport.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QThread>
#include <cstring>
#include <optional>

namespace
{

const QString kCompany = QStringLiteral("001");
const QString kDay = QStringLiteral("261209");

// An empty row set over `table` to which new rows are added, as the entry windows use.
void openEmpty(Query& q, const QString& table)
{
    q.close();
    q.clearSql();
    q.addSql(QStringLiteral("select * from ") + table + QStringLiteral(" "));
    q.addSql(QStringLiteral("where 档案号=\"\" "));
    q.open();
}

void newListing(Query& q, const QString& estate)
{
    q.append();
    q.setValue(QStringLiteral("小区名称"), estate);
    q.setValue(QStringLiteral("公司编号"), kCompany);
    q.setValue(QStringLiteral("录入日期"), kDay);
}

// Worker process: waits for the go file, then saves `count` listings.
int runWorker(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    const QStringList a = app.arguments();
    if (a.size() < 6) return 2;
    const QString path = a[2];
    const int count = a[3].toInt();
    const QString tag = a[4];
    const QString go = a[5];
    while (!QFile::exists(go))
        QThread::msleep(2);
    try {
        auto c = openMain(path);
        Query row(c.get()), lookup(c.get());
        openEmpty(row, QStringLiteral("房屋信息"));
        for (int i = 0; i < count; ++i) {
            newListing(row, tag + QLatin1Char('-') + QString::number(i));
            const auto n = ArchiveNumber::numberAndPost(row, lookup, kCompany, kDay);
            printf("%s\n", qPrintable(n.archiveNumber));
        }
    } catch (const DbError& e) {
        fprintf(stderr, "%s\n", qPrintable(e.text()));
        return 1;
    }
    return 0;
}

} // namespace

class TestArchiveNumber : public QObject
{
    Q_OBJECT
    std::unique_ptr<TestDb> db;
    std::unique_ptr<Connection> conn;

    void insertStored(const QString& company, const QString& date, const QString& seq,
                      const QString& table = QStringLiteral("房屋信息"))
    {
        db->exec(QStringLiteral(
                     "insert into %1 (档案号,公司编号,录入日期,序号) values ('%2','%3','%4','%5')")
                     .arg(table, company + date + seq, company, date, seq));
    }

private slots:
    void init()
    {
        db = std::make_unique<TestDb>();
        conn = openMain(db->mainPath());
    }
    void cleanup()
    {
        conn.reset();
        db.reset();
    }

    void nextSequence_data()
    {
        QTest::addColumn<QString>("stored");
        QTest::addColumn<QString>("next");
        QTest::newRow("none") << ""
                              << "001";
        QTest::newRow("blanks only") << "  "
                                     << "001";
        QTest::newRow("001") << "001"
                             << "002";
        QTest::newRow("009") << "009"
                             << "010";
        QTest::newRow("099") << "099"
                             << "100";
        QTest::newRow("998") << "998"
                             << "999";
        QTest::newRow("trimmed") << " 041 "
                                 << "042";
        QTest::newRow("two digits stored") << "7"
                                           << "008";
    }
    void nextSequence()
    {
        QFETCH(QString, stored);
        QFETCH(QString, next);
        QCOMPARE(ArchiveNumber::nextSequence(stored, kCompany, kDay), next);
    }

    void nextSequenceRefused_data()
    {
        QTest::addColumn<QString>("stored");
        QTest::addColumn<QString>("says");
        QTest::newRow("day full") << "999"
                                  << "999";
        QTest::newRow("letters") << "abc"
                                 << "abc";
        QTest::newRow("digits and letter") << "1a"
                                           << "1a";
        QTest::newRow("negative") << "-3"
                                  << "-3";
        QTest::newRow("fraction") << "1.5"
                                  << "1.5";
    }
    void nextSequenceRefused()
    {
        QFETCH(QString, stored);
        QFETCH(QString, says);
        try {
            ArchiveNumber::nextSequence(stored, kCompany, kDay);
            QFAIL("refusal expected");
        } catch (const DbError& e) {
            QVERIFY2(e.text().contains(says), qPrintable(e.text()));
            QVERIFY(e.text().contains(QStringLiteral("没有保存")));
        }
    }

    void statementLinesAndQuoting()
    {
        QCOMPARE(ArchiveNumber::maxSequenceStatement(QStringLiteral("房屋信息"), kCompany, kDay),
                 QStringList({QStringLiteral("select max(序号) as xh from 房屋信息 "),
                              QStringLiteral("where 公司编号=\"001\" "),
                              QStringLiteral("and 录入日期=\"261209\"")}));
        // A quote inside a value is read literally, never as statement text.
        const QString odd = QStringLiteral("0\"'");
        insertStored(QStringLiteral("0\"''"), kDay, QStringLiteral("004"));
        Query lookup(conn.get());
        QCOMPARE(ArchiveNumber::readNextSequence(lookup, QStringLiteral("房屋信息"), odd, kDay),
                 QStringLiteral("005"));
        QVERIFY(!lookup.isActive());
    }

    void countsPerCompanyAndDay_data()
    {
        QTest::addColumn<QStringList>("stored"); // company/date/seq
        QTest::addColumn<QString>("table");
        QTest::addColumn<QString>("next");
        const QString fy = QStringLiteral("房屋信息"), kh = QStringLiteral("客户信息");
        QTest::newRow("empty table") << QStringList() << fy << "001";
        QTest::newRow("001 -> 002") << QStringList{"001/261209/001"} << fy << "002";
        QTest::newRow("009 -> 010")
            << QStringList{"001/261209/008", "001/261209/009"} << fy << "010";
        QTest::newRow("099 -> 100") << QStringList{"001/261209/099"} << fy << "100";
        QTest::newRow("other companies ignored")
            << QStringList{"002/261209/050", "ABC/261209/999"} << fy << "001";
        QTest::newRow("other days ignored")
            << QStringList{"001/261208/120", "001/261210/007", "001/261209/003"} << fy << "004";
        QTest::newRow("customers counted in their own table")
            << QStringList{"001/261209/005"} << kh << "006";
        // Numbers of deleted rows: in the recycle bin, or erased from it (its history
        // tells), never given again.
        QTest::newRow("last number in the bin")
            << QStringList{"001/261209/001", "001/261209/002", "bin:001/261209/003"} << fy << "004";
        QTest::newRow("run of numbers gone")
            << QStringList{"001/261209/001", "bin:001/261209/002", "bin:001/261209/003",
                           "erased:001/261209/004"}
            << fy << "005";
        QTest::newRow("number in the bin below the greatest")
            << QStringList{"bin:001/261209/001", "001/261209/002"} << fy << "003";
        QTest::newRow("customers: their own bin")
            << QStringList{"001/261209/005", "bin:001/261209/006"} << kh << "007";
        QTest::newRow("customers: a listing number in the bin")
            << QStringList{"001/261209/001", "bin-listing:001/261209/002"} << kh << "002";
    }
    void countsPerCompanyAndDay()
    {
        QFETCH(QStringList, stored);
        QFETCH(QString, table);
        QFETCH(QString, next);
        for (const QString& s : stored) {
            const QString gone = s.section(':', 0, 0, QString::SectionSkipEmpty);
            const QStringList p = s.section(':', -1).split('/');
            const QString number = p[0] + p[1] + p[2];
            if (!s.contains(':'))
                insertStored(p[0], p[1], p[2], table);
            else if (gone == "erased")
                db->exec(QStringLiteral("insert into 修改记录 (表名,档案号,时间,操作) values "
                                        "('%1','%2','2026-12-09 10:00:00','删除')")
                             .arg(table, number));
            else
                db->exec(QStringLiteral("insert into 回收站 (表名,档案号,删除时间,内容) values "
                                        "('%1','%2','2026-12-09 10:00:00','{}')")
                             .arg(gone == "bin" ? table : QStringLiteral("房屋信息"), number));
        }
        Query row(conn.get()), lookup(conn.get());
        openEmpty(row, table);
        row.append();
        row.setValue(QStringLiteral("公司编号"), kCompany);
        row.setValue(QStringLiteral("录入日期"), kDay);
        const auto n = ArchiveNumber::numberAndPost(row, lookup, kCompany, kDay);
        QCOMPARE(n.sequence, next);
        QCOMPARE(n.archiveNumber, kCompany + kDay + next);
        QCOMPARE(row.state(), Query::State::Browse);
        QCOMPARE(db->scalar(QStringLiteral("select 序号 from %1 where 档案号='%2'")
                                .arg(table, n.archiveNumber))
                     .toString(),
                 next);
    }

    void valuesWrittenInsideTheSave()
    {
        Query row(conn.get()), lookup(conn.get());
        openEmpty(row, QStringLiteral("房屋信息"));
        newListing(row, QStringLiteral("阳光花园"));
        QString seenNumber;
        ArchiveNumber::numberAndPost(row, lookup, kCompany, kDay, [&](Query& q) {
            seenNumber = q.text(QStringLiteral("档案号"));
            q.setValue(QStringLiteral("楼层"), QStringLiteral("中层"));
        });
        QCOMPARE(seenNumber, QStringLiteral("001261209001"));
        QCOMPARE(db->scalar("select 楼层 from 房屋信息 where 档案号='001261209001'").toString(),
                 QStringLiteral("中层"));
    }

    // Every refusal leaves nothing stored and the row inserting with what was typed.
    void refusalKeepsRowUnsaved_data()
    {
        QTest::addColumn<QStringList>("stored");
        QTest::addColumn<QString>("says");
        QStringList full;
        for (int i = 1; i <= 999; ++i)
            full << QStringLiteral("%1").arg(i, 3, 10, QLatin1Char('0'));
        QTest::newRow("1000th of the day") << full << "999";
        QTest::newRow("stored sequence not a number") << QStringList{"001", "0x1"} << "0x1";
    }
    void refusalKeepsRowUnsaved()
    {
        QFETCH(QStringList, stored);
        QFETCH(QString, says);
        {
            Connection::Transaction tx(*conn);
            Statement st(*conn,
                         QStringLiteral("insert into 房屋信息 (档案号,公司编号,录入日期,序号) "
                                        "values (?,?,?,?)"));
            for (const QString& s : stored) {
                st.reset();
                st.bind(1, kCompany + kDay + s);
                st.bind(2, kCompany);
                st.bind(3, kDay);
                st.bind(4, s);
                st.step();
            }
            tx.commit();
        }
        Query row(conn.get()), lookup(conn.get());
        openEmpty(row, QStringLiteral("房屋信息"));
        newListing(row, QStringLiteral("翠湖小区"));
        try {
            ArchiveNumber::numberAndPost(row, lookup, kCompany, kDay);
            QFAIL("refusal expected");
        } catch (const DbError& e) {
            QVERIFY2(e.text().contains(says), qPrintable(e.text()));
        }
        QCOMPARE(row.state(), Query::State::Insert);
        QCOMPARE(row.text(QStringLiteral("小区名称")), QStringLiteral("翠湖小区"));
        QVERIFY(row.isNull(QStringLiteral("档案号")));
        QVERIFY(row.isNull(QStringLiteral("序号")));
        QCOMPARE(db->scalar("select count(*) from 房屋信息").toInt(), stored.size());
        QCOMPARE(db->scalar("select count(*) from 房屋信息 where length(序号)>3").toInt(), 0);
        // The transaction was rolled back: the file is free for the next save.
        row.cancel();
        Connection::Transaction again(*conn);
        again.commit();
    }

    void saveTellsWhyItCannotWrite_data()
    {
        QTest::addColumn<QString>("kind");
        QTest::addColumn<int>("cause");
        QTest::addColumn<QString>("says");
        QTest::newRow("another workstation writing")
            << "busy" << int(DbError::Cause::Busy) << "另一个工作站正在导入或保存";
        QTest::newRow("folder turned read-only")
            << "folder" << int(DbError::Cause::ReadOnly) << "文件夹不能写入";
        QTest::newRow("server turned read-only")
            << "server" << int(DbError::Cause::ReadOnly) << "只允许读取";
    }
    // A save that has to give up names what holds it off; a database that cannot
    // be written is never blamed on another workstation. The row stays unsaved.
    void saveTellsWhyItCannotWrite()
    {
        QFETCH(QString, kind);
        QFETCH(int, cause);
        QFETCH(QString, says);
        if (kind == "folder") FILES_ONLY();
        if (kind == "server") SERVER_ONLY();
        const QString folder = QFileInfo(db->mainPath()).absolutePath();
        std::optional<Unprivileged> user;
        if (kind == "folder") {
            // The folder turns read-only after the login (a share remounted, say).
            conn.reset();
            Unprivileged::makeReachable(db->mainPath());
            Unprivileged::giveAway(folder);
            Unprivileged::giveAway(db->mainPath());
            user.emplace();
            conn = openMain(db->mainPath());
            QFile::setPermissions(folder, QFile::ReadOwner | QFile::ExeOwner);
        }
        auto other = openMain(db->mainPath());
        std::optional<Connection::Transaction> writing;
        if (kind == "busy") {
            // Another workstation holds the write lock; this one waits a short while.
            writing.emplace(*other);
            other->lockWriters(QStringLiteral("房屋信息"));
            conn->run(TestDb::onServer() ? "SET lock_timeout=300" : "PRAGMA busy_timeout=300");
        }
        if (kind == "server") conn->run("SET SESSION CHARACTERISTICS AS TRANSACTION READ ONLY");
        Query row(conn.get()), lookup(conn.get());
        openEmpty(row, QStringLiteral("房屋信息"));
        newListing(row, QStringLiteral("翠湖小区"));
        try {
            ArchiveNumber::numberAndPost(row, lookup, kCompany, kDay);
            QFAIL("saved");
        } catch (const DbError& e) {
            QVERIFY2(e.text().contains(says), qPrintable(e.text()));
            QCOMPARE(int(e.cause()), cause);
            QCOMPARE(e.text().contains("其他工作站"), kind == "busy");
        }
        QCOMPARE(row.state(), Query::State::Insert);
        QCOMPARE(row.text(QStringLiteral("小区名称")), QStringLiteral("翠湖小区"));
        writing.reset();
        row.cancel();
        if (kind == "folder")
            QFile::setPermissions(folder, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
        user.reset();
        QCOMPARE(db->scalar("select count(*) from 房屋信息").toInt(), 0);
    }

    // A number taken outside the rule (here a row whose 序号 does not match its
    // archive number) is refused with a clear text after the retries.
    void takenNumberRefusedAfterRetries()
    {
        db->exec("insert into 房屋信息 (档案号,公司编号,录入日期,序号) values "
                 "('001261209001','001','261209','001'), ('001261209002','001','261209',null)");
        Query row(conn.get()), lookup(conn.get());
        openEmpty(row, QStringLiteral("房屋信息"));
        newListing(row, QStringLiteral("幸福里"));
        try {
            ArchiveNumber::numberAndPost(row, lookup, kCompany, kDay, {}, 3);
            QFAIL("refusal expected");
        } catch (const DbError& e) {
            QVERIFY2(e.text().contains(QStringLiteral("001261209002")), qPrintable(e.text()));
            QVERIFY(e.text().contains(QStringLiteral("没有保存")));
        }
        QCOMPARE(row.state(), Query::State::Insert);
        QCOMPARE(row.text(QStringLiteral("小区名称")), QStringLiteral("幸福里"));
        QCOMPARE(db->scalar("select count(*) from 房屋信息").toInt(), 2);
    }

    void onlyNewRowsAreNumbered()
    {
        Query row(conn.get()), lookup(conn.get());
        openEmpty(row, QStringLiteral("房屋信息"));
        QVERIFY_THROWS_EXCEPTION(DbError,
                                 ArchiveNumber::numberAndPost(row, lookup, kCompany, kDay));
    }

    void lookupIsAnIndexSeek()
    {
        const QString sql = conn->translate(
            ArchiveNumber::maxSequenceStatement(QStringLiteral("房屋信息"), kCompany, kDay)
                .join('\n'));
        const QString p = conn->plan(sql);
        // Through an index of the table; never a scan of the whole table.
        QVERIFY2(p.contains(QStringLiteral("房屋信息_")) && !p.contains("SCAN TABLE") &&
                     !p.contains("Seq Scan"),
                 qPrintable(p));
    }

    // Several processes (as several workstations would) save into one database at once.
    void processesNeverShareANumber()
    {
        const int workers = 8, each = 50;
        conn.reset();
        const QString goFile = QDir(db->dir()).filePath(QStringLiteral("go"));
        QList<QProcess*> procs;
        for (int w = 0; w < workers; ++w) {
            auto* p = new QProcess(this);
            p->start(QCoreApplication::applicationFilePath(),
                     {QStringLiteral("--worker"), db->mainPath(), QString::number(each),
                      QStringLiteral("w%1").arg(w), goFile});
            QVERIFY(p->waitForStarted());
            procs << p;
        }
        QFile go(goFile);
        QVERIFY(go.open(QIODevice::WriteOnly));
        go.close();
        QStringList numbers;
        for (QProcess* p : procs) {
            QVERIFY(p->waitForFinished(240000));
            QVERIFY2(p->exitCode() == 0, p->readAllStandardError().constData());
            numbers
                << QString::fromUtf8(p->readAllStandardOutput()).split('\n', Qt::SkipEmptyParts);
        }
        const int stored = db->scalar("select count(*) from 房屋信息").toInt();
        const int distinct = int(QSet<QString>(numbers.begin(), numbers.end()).size());
        qInfo("%d processes x %d saves: %d numbers given, %d duplicates, %d rows stored, %d lost",
              workers, each, int(numbers.size()), int(numbers.size()) - distinct, stored,
              workers * each - stored);
        QCOMPARE(numbers.size(), workers * each);
        QCOMPARE(distinct, workers * each);
        QCOMPARE(db->scalar("select count(*) from 房屋信息").toInt(), workers * each);
        QCOMPARE(db->scalar("select count(distinct 档案号) from 房屋信息").toInt(), workers * each);
        QCOMPARE(db->scalar("select count(distinct 小区名称) from 房屋信息").toInt(),
                 workers * each);
        QCOMPARE(db->scalar("select min(序号) from 房屋信息").toString(), QStringLiteral("001"));
        QCOMPARE(db->scalar("select max(序号) from 房屋信息").toString(),
                 QStringLiteral("%1").arg(workers * each, 3, 10, QLatin1Char('0')));
        QCOMPARE(
            db->scalar("select count(*) from 房屋信息 where 档案号 <> 公司编号 || 录入日期 || 序号")
                .toInt(),
            0);
    }
};

int main(int argc, char** argv)
{
    if (argc > 1 && std::strcmp(argv[1], "--worker") == 0) return runWorker(argc, argv);
    TestArchiveNumber tc;
    return runTests(argc, argv, &tc);
}
#include "tst_archive_number.moc"
