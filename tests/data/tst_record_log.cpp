// What the main database keeps of listings and customers: the history rows each
// kind of change leaves (written by the row set, the numbering and the import), the
// recycle bin (delete, restore, refusals, erase), and both-or-neither: a change
// whose history cannot be written is not saved, and a process killed in the middle
// of its saves leaves every save whole or absent.
#include "data/Connection.h"
#include "data/DbError.h"
#include "data/Query.h"
#include "data/RecordLog.h"
#include "data/RecycleBin.h"
#include "data/Schema.h"
#include "exchange/core/Exchange.h"
#include "listings/ListingExchange.h"
#include "registers/core/ArchiveNumber.h"
#include "tests/support/TestSupport.h"

#include <QRegularExpression>

namespace
{

const QString kListing = QStringLiteral("001261209001");
const Actor kActor{QStringLiteral("007"), QStringLiteral("office-pc[192.168.1.20]")};

std::unique_ptr<Connection> openActing(const QString& location)
{
    auto c = openMain(location);
    c->setActor(kActor);
    return c;
}

// A stored listing and customer with values that are easy to spoil on the way:
// quotes, a long memo, fractions, nulls.
void addRecords(const TestDb& db)
{
    auto c = openActing(db.mainPath());
    Statement fy(*c, QStringLiteral("INSERT INTO 房屋信息 (档案号,小区名称,地址,类型,备注,看房情况,"
                                    "房屋面积,信息价格,最低价格,公司编号,录入日期,序号,电话) "
                                    "VALUES (?,?,?,?,?,?,?,?,?,?,?,?,?)"));
    const QVariantList listing = {kListing,
                                  "O'Brien \"家园\"",
                                  "人民路 1 号",
                                  "有效",
                                  QString(6000, QChar(0x5907)),
                                  "第一行\n第二行",
                                  86.5,
                                  2.0 / 3.0,
                                  1e-7,
                                  "001",
                                  "261209",
                                  "001",
                                  QVariant()};
    for (int i = 0; i < listing.size(); ++i)
        fy.bind(i + 1, listing[i]);
    fy.step();
    Statement kh(*c, QStringLiteral("INSERT INTO 客户信息 (档案号,地址描述,类型,需求设施,客户姓名,"
                                    "面积1,面积2,价格1,价格2,公司编号,录入日期,序号) "
                                    "VALUES (?,?,?,?,?,?,?,?,?,?,?,?)"));
    const QVariantList customer = {kListing, "城东'附近'", "无效",        "暖气\t车位",
                                   "李客户", 0.1,          123456789.125, QVariant(),
                                   1e300,    "001",        "261209",      "001"};
    for (int i = 0; i < customer.size(); ++i)
        kh.bind(i + 1, customer[i]);
    kh.step();
}

// The stored row of a register with this archive number, every column.
QVariantList storedRow(const TestDb& db, const QString& table, const QString& number)
{
    const QList<QVariantList> r =
        db.rows(QStringLiteral("select * from %1 where 档案号='%2'").arg(table, number));
    return r.isEmpty() ? QVariantList() : r.first();
}

// The history of a record, oldest first: "操作/字段/旧值/新值".
QStringList historyOf(const TestDb& db, const QString& table, const QString& number)
{
    QStringList out;
    for (const QVariantList& r :
         db.rows(QStringLiteral("select 操作, 字段, 旧值, 新值 from 修改记录 where 表名='%1' and "
                                "档案号='%2' order by 编号")
                     .arg(table, number))) {
        QStringList parts;
        for (const QVariant& v : r)
            parts << v.toString();
        out << parts.join('/');
    }
    return out;
}

// The register's row of `number` as a row set that can change it.
void openRecord(Query& q, const QString& table, const QString& number)
{
    q.close();
    q.clearSql();
    q.addSql(QStringLiteral("select * from %1 ").arg(table));
    q.addSql(QStringLiteral("where 档案号='%1'").arg(number));
    q.open();
}

// The child process of the kill test: saves the listing's price again and again,
// one more each time, from the stored one on; prints "saving" once under way.
int saveLoop(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    try {
        auto c = openActing(qEnvironmentVariable("HALVORRA_SAVE_LOOP"));
        Query q(c.get());
        openRecord(q, QStringLiteral("房屋信息"), kListing);
        for (int price = int(q.number(QStringLiteral("信息价格"))) + 1;; ++price) {
            q.edit();
            q.setValue(QStringLiteral("信息价格"), double(price));
            q.post();
            if (price % 5 == 0) {
                std::printf("saving\n");
                std::fflush(stdout);
            }
        }
    } catch (const DbError& e) {
        std::fprintf(stderr, "%s\n", qPrintable(e.text()));
    }
    return 1;
}

} // namespace

class TestRecordLog : public QObject
{
    Q_OBJECT
    std::unique_ptr<TestDb> db;
    std::unique_ptr<Connection> conn;

private slots:
    void init()
    {
        db = std::make_unique<TestDb>();
        addRecords(*db);
        conn = openActing(db->mainPath());
    }
    void cleanup()
    {
        conn.reset();
        db.reset();
    }

    // A save leaves one history row per changed column, with old and new value;
    // the validity turning is told apart. Who and where are the connection's actor.
    void eachChangeLeavesItsHistory_data()
    {
        QTest::addColumn<QString>("table");
        QTest::addColumn<QStringList>("changes"); // column=value (empty: null)
        QTest::addColumn<QStringList>("history");
        const QString fy = QStringLiteral("房屋信息"), kh = QStringLiteral("客户信息");
        QTest::newRow("price") << fy << QStringList{"信息价格=760000"}
                               << QStringList{"修改/信息价格/0.666666666666667/760000"};
        QTest::newRow("invalidated")
            << fy << QStringList{"类型=无效"} << QStringList{"作废/类型/有效/无效"};
        QTest::newRow("valid again")
            << kh << QStringList{"类型=有效"} << QStringList{"重新生效/类型/无效/有效"};
        QTest::newRow("two columns, null to text and back")
            << fy << QStringList{"电话=88886666", "地址="}
            << QStringList{"修改/地址/人民路 1 号/", "修改/电话//88886666"};
        QTest::newRow("quotes and a long memo")
            << kh << QStringList{"需求设施=" + QString(5000, QChar(0x5C4B)) + "'\""}
            << QStringList{"修改/需求设施/暖气\t车位/" + QString(5000, QChar(0x5C4B)) + "'\""};
        QTest::newRow("nothing changed") << fy << QStringList{"类型=有效"} << QStringList{};
    }
    void eachChangeLeavesItsHistory()
    {
        QFETCH(QString, table);
        QFETCH(QStringList, changes);
        QFETCH(QStringList, history);
        Query q(conn.get());
        openRecord(q, table, kListing);
        q.edit();
        for (const QString& ch : changes) {
            const QString value = ch.section('=', 1);
            q.setValue(ch.section('=', 0, 0), value.isEmpty() ? QVariant() : QVariant(value));
        }
        q.post();
        QCOMPARE(historyOf(*db, table, kListing), history);
        for (const QVariantList& r :
             db->rows(QStringLiteral("select 操作员, 工作站, 时间 from 修改记录 where 表名='%1'")
                          .arg(table))) {
            QCOMPARE(r[0].toString(), kActor.operatorNumber);
            QCOMPARE(r[1].toString(), kActor.workstation);
            QVERIFY(QRegularExpression("^\\d{4}-\\d\\d-\\d\\d \\d\\d:\\d\\d:\\d\\d$")
                        .match(r[2].toString())
                        .hasMatch());
        }
    }

    // Entry, deletion, restore, erasure and import each leave their event, with the
    // archive number; the deleted row waits in the bin with who and when.
    void eventsOfARecordsLife()
    {
        Query row(conn.get()), lookup(conn.get());
        row.addSql(QStringLiteral("select * from 房屋信息 where 档案号=\"\""));
        row.open();
        row.append();
        row.setValue(QStringLiteral("小区名称"), QStringLiteral("新小区"));
        const QString made = ArchiveNumber::numberAndPost(row, lookup, QStringLiteral("001"),
                                                          QStringLiteral("261209"))
                                 .archiveNumber;
        QCOMPARE(made, QStringLiteral("001261209002"));
        QCOMPARE(historyOf(*db, "房屋信息", made), QStringList{"新增///"});

        Query q(conn.get());
        openRecord(q, QStringLiteral("房屋信息"), made);
        q.remove();
        QCOMPARE(historyOf(*db, "房屋信息", made), (QStringList{"新增///", "删除///"}));
        const QList<RecycleBin::Entry> bin = RecycleBin::entries(*conn);
        QCOMPARE(bin.size(), 1);
        QCOMPARE(bin[0].number, made);
        QCOMPARE(bin[0].deletedBy, kActor.operatorNumber);
        QCOMPARE(bin[0].workstation, kActor.workstation);
        QCOMPARE(bin[0].value(QStringLiteral("小区名称")).toString(), QStringLiteral("新小区"));
        RecycleBin::restore(*conn, bin[0].id);
        RecycleBin::erase(*conn, [&] {
            openRecord(q, QStringLiteral("房屋信息"), made);
            q.remove();
            return RecycleBin::entries(*conn).first().id;
        }());
        QCOMPARE(historyOf(*db, "房屋信息", made),
                 (QStringList{"新增///", "删除///", "恢复///", "删除///", "彻底删除///"}));
        QVERIFY(RecycleBin::entries(*conn).isEmpty());

        // An import: one event per row added, naming the file; none for a row skipped.
        Connection file(DbKind::Exchange);
        file.setDatabase(db->exchangePath(), QString::fromLatin1(Schema::exchangePassword()));
        file.open();
        file.execute("insert into 房屋信息Exp (档案号,小区名称) values ('A01261201001','甲')");
        file.execute("insert into 房屋信息Exp (档案号,小区名称) values ('" + kListing + "','乙')");
        QCOMPARE(Exchange::importRows(*conn, file, listingExchangeLayout()), 1);
        QCOMPARE(historyOf(*db, "房屋信息", "A01261201001"),
                 QStringList{"导入///" + db->exchangePath()});
        QCOMPARE(historyOf(*db, "房屋信息", kListing), QStringList());
    }

    // Delete, then restore: the row comes back under its own number exactly as it
    // was stored, every column; the bin is empty again.
    void deleteAndRestoreGiveBackTheSameRow_data()
    {
        QTest::addColumn<QString>("table");
        QTest::newRow("listing") << "房屋信息";
        QTest::newRow("customer") << "客户信息";
    }
    void deleteAndRestoreGiveBackTheSameRow()
    {
        QFETCH(QString, table);
        const QVariantList before = storedRow(*db, table, kListing);
        QVERIFY(!before.isEmpty());
        Query q(conn.get());
        openRecord(q, table, kListing);
        q.remove();
        QVERIFY(storedRow(*db, table, kListing).isEmpty());
        RecycleBin::restore(*conn, RecycleBin::entries(*conn).first().id);
        QCOMPARE(storedRow(*db, table, kListing), before);
        QVERIFY(RecycleBin::entries(*conn).isEmpty());
    }

    // A row that cannot go back stays in the bin, and the register is untouched.
    void restoreRefused_data()
    {
        QTest::addColumn<QString>("spoil"); // what happened while the row sat in the bin
        QTest::addColumn<QString>("says");
        QTest::newRow("number taken by an import") << "import"
                                                   << "已被另一条记录占用";
        QTest::newRow("value longer than the column") << "小区名称"
                                                      << "“小区名称”最多只能有 30 个字符";
        QTest::newRow("text where a number belongs") << "房屋面积"
                                                     << "“房屋面积”现在必须是数值";
        QTest::newRow("column gone") << "旧字段"
                                     << "已没有字段“旧字段”";
    }
    void restoreRefused()
    {
        QFETCH(QString, spoil);
        QFETCH(QString, says);
        Query q(conn.get());
        openRecord(q, QStringLiteral("房屋信息"), kListing);
        q.remove();
        const RecycleBin::Entry e = RecycleBin::entries(*conn).first();
        if (spoil == "import") {
            db->exec("insert into 房屋信息 (档案号,小区名称) values ('" + kListing + "','后来的')");
        } else {
            RecycleBin::Values values = e.values;
            values << std::pair{QStringLiteral("旧字段"), QVariant(QStringLiteral("x"))};
            QList<ColumnInfo> cols;
            QVector<QVariant> vals;
            for (const auto& [column, v] : values) {
                if (column == "旧字段" && spoil != "旧字段") continue;
                cols << ColumnInfo{column, ColumnInfo::Text, 0};
                vals << (column == spoil ? QVariant(QString(31, QChar(0x56ED))) : v);
            }
            Statement st(*conn, "UPDATE 回收站 SET 内容=? WHERE 编号=?");
            st.bind(1, RecycleBin::encode(cols, vals));
            st.bind(2, e.id);
            st.step();
        }
        const QList<QVariantList> register_ = db->rows("select * from 房屋信息");
        const QString text = errorText([&] { RecycleBin::restore(*conn, e.id); });
        QVERIFY2(text.contains(says) && text.contains("仍在回收站中"), qPrintable(text));
        QCOMPARE(RecycleBin::entries(*conn).size(), 1);
        QCOMPARE(db->rows("select * from 房屋信息"), register_);
        QCOMPARE(historyOf(*db, "房屋信息", kListing), QStringList{"删除///"});
    }

    // Erasing takes the record's follow-up notes with it; when an import has
    // brought a row with the same number meanwhile, the notes are that row's and stay.
    void eraseTakesOnlyTheRecordsOwnNotes_data()
    {
        QTest::addColumn<bool>("numberTaken");
        QTest::addColumn<int>("notesLeft");
        QTest::newRow("number free") << false << 0;
        QTest::newRow("number taken since") << true << 1;
    }
    void eraseTakesOnlyTheRecordsOwnNotes()
    {
        QFETCH(bool, numberTaken);
        QFETCH(int, notesLeft);
        Query q(conn.get());
        openRecord(q, QStringLiteral("房屋信息"), kListing);
        q.remove();
        if (numberTaken)
            db->exec("insert into 房屋信息 (档案号,小区名称) values ('" + kListing + "','后来的')");
        db->exec("insert into 跟进记录 (表名,档案号,时间,操作员,跟进方式,内容) values "
                 "('房屋信息','" +
                 kListing + "','2026-12-09 10:00:00','00001','电话','约看房')");
        RecycleBin::erase(*conn, RecycleBin::entries(*conn).first().id);
        QVERIFY(RecycleBin::entries(*conn).isEmpty());
        QCOMPARE(db->scalar("select count(*) from 跟进记录").toInt(), notesLeft);
        QCOMPARE(storedRow(*db, "房屋信息", kListing).isEmpty(), !numberTaken);
    }

    // A save, a deletion or an entry whose history cannot be written changes
    // nothing; the row set keeps what was typed.
    void noHistoryNoChange()
    {
        // A history table that refuses every row (one of its columns is missing).
        conn->run(QStringLiteral("DROP TABLE 修改记录"));
        conn->run(QStringLiteral("CREATE TABLE 修改记录 (编号 integer, 表名 text, 档案号 text, "
                                 "操作 text)"));
        conn->reloadSchema();
        const QVariantList before = storedRow(*db, "房屋信息", kListing);
        Query q(conn.get());
        openRecord(q, QStringLiteral("房屋信息"), kListing);
        q.edit();
        q.setValue(QStringLiteral("信息价格"), 1.0);
        QVERIFY(!errorText([&] { q.post(); }).isEmpty());
        QCOMPARE(q.state(), Query::State::Edit);
        QCOMPARE(q.number(QStringLiteral("信息价格")), 1.0);
        q.cancel();
        QVERIFY(!errorText([&] { q.remove(); }).isEmpty());
        QCOMPARE(storedRow(*db, "房屋信息", kListing), before);
        QVERIFY(RecycleBin::entries(*conn).isEmpty());

        Query row(conn.get()), lookup(conn.get());
        row.addSql(QStringLiteral("select * from 房屋信息 where 档案号=\"\""));
        row.open();
        row.append();
        row.setValue(QStringLiteral("小区名称"), QStringLiteral("新小区"));
        QVERIFY(!errorText([&] {
                     ArchiveNumber::numberAndPost(row, lookup, QStringLiteral("001"),
                                                  QStringLiteral("261209"));
                 }).isEmpty());
        QCOMPARE(row.state(), Query::State::Insert);
        QCOMPARE(db->scalar("select count(*) from 房屋信息").toInt(), 1);
    }

    // A process killed while it saves: after each kill, the stored price and its
    // history agree (every save whole or absent).
    void killedMidSaveLeavesBothOrNeither()
    {
        conn.reset();
        for (int round = 0; round < 3; ++round) {
            QVERIFY(killWriterMidway(QStringLiteral("HALVORRA_SAVE_LOOP"), db->mainPath()));
            const int price =
                db->scalar(QStringLiteral("select 信息价格 from 房屋信息 where 档案号='%1'")
                               .arg(kListing))
                    .toInt();
            const QList<QVariantList> saves =
                db->rows("select 新值 from 修改记录 where 字段='信息价格' order by 编号");
            QVERIFY(price >= 5);
            QCOMPARE(saves.size(), price);
            QCOMPARE(saves.last().first().toString(), QString::number(price));
        }
        QVERIFY(db->isSound());
    }
};

int main(int argc, char** argv)
{
    if (qEnvironmentVariableIsSet("HALVORRA_SAVE_LOOP")) return saveLoop(argc, argv);
    TestRecordLog tc;
    return runTests(argc, argv, &tc);
}
#include "tst_record_log.moc"
