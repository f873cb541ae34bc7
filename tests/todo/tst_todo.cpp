// The day's work: reminders of the next follow-up set with a note, due and overdue,
// closed by a later note or by hand, for another operator (also one removed since),
// with deleted records through the recycle bin; the roles that may look at other
// operators' reminders; the records gone quiet.
#include "data/Connection.h"
#include "data/DatabaseCopy.h"
#include "data/Query.h"
#include "data/RecycleBin.h"
#include "data/Reminders.h"
#include "records/core/FollowUps.h"
#include "session/PubVars.h"
#include "tests/records/NoteFixtures.h"
#include "tests/support/TestSupport.h"
#include "todo/core/TodoList.h"

namespace
{

const QString kListings = QStringLiteral("房屋信息");
const QString kCustomers = QStringLiteral("客户信息");
const QString kL1 = QStringLiteral("001261201001");
const QString kL2 = QStringLiteral("001261201002");
const QString kL3 = QStringLiteral("001261201003");
const QString kC1 = QStringLiteral("A01261201001");
const QString kC2 = QStringLiteral("A01261201002");

// Noon of a fixed day: "yesterday", "today" and "tomorrow" in the rows are around it.
const QDateTime kNow(QDate(2026, 12, 10), QTime(12, 0));

QDateTime at(int days, int hour)
{
    return QDateTime(kNow.date().addDays(days), QTime(hour, 0));
}

// A note by telephone unless another kind is given.
FollowUps::Note note(const QString& table, const QString& number, const QString& text,
                     const QString& kind = QStringLiteral("电话"), const QString& customer = {})
{
    return notefixtures::note(table, number, kind, text, customer);
}

// "number text" of each due reminder, as listed.
QStringList listed(Connection& c, const QString& staff, const QDateTime& now = kNow)
{
    QStringList out;
    for (const Todo::DueItem& d : Todo::due(c, staff, now))
        out << d.number + QLatin1Char(' ') + d.text;
    return out;
}

void removeRecord(Connection& c, const QString& table, const QString& number)
{
    Query q(&c);
    q.addSql(QStringLiteral("select * from %1 where 档案号='%2'").arg(table, number));
    q.open();
    q.remove();
}

} // namespace

class TestTodo : public QObject
{
    Q_OBJECT
    std::unique_ptr<TestDb> db;
    std::unique_ptr<Connection> conn;

    void as(const QString& staff) { conn->setActor({staff, QStringLiteral("office-pc")}); }
    qlonglong add(const FollowUps::Note& n, std::optional<Reminders::Due> next = std::nullopt)
    {
        return FollowUps::add(*conn, n, next);
    }

private slots:
    void init()
    {
        db = std::make_unique<TestDb>();
        for (const QString& n : {kL1, kL2, kL3})
            db->exec(QStringLiteral("insert into 房屋信息 (档案号, 小区名称, 类型) values ('%1', "
                                    "'花园', '有效')")
                         .arg(n));
        for (const QString& n : {kC1, kC2})
            db->exec(QStringLiteral("insert into 客户信息 (档案号, 客户姓名, 类型) values ('%1', "
                                    "'王先生', '有效')")
                         .arg(n));
        addTwoOperators(*db);
        conn = openMain(db->mainPath());
        as(QStringLiteral("zs7"));
    }
    void cleanup()
    {
        conn.reset();
        db.reset();
    }

    // Who sees which reminder when: the operator's own (or everyone's), due today or
    // overdue, never one due later, one closed by a later note or by hand, or one
    // of a record in the recycle bin; the earliest first.
    void dueAndOverdue_data()
    {
        QTest::addColumn<QString>("staff");
        QTest::addColumn<QDateTime>("now");
        QTest::addColumn<QStringList>("expected");
        QTest::newRow("own, overdue and due tonight")
            << "ZS7" << kNow << QStringList{kL1 + " 上周", kC1 + " 今晚"};
        QTest::newRow("number typed in another letter case")
            << "zs7" << kNow << QStringList{kL1 + " 上周", kC1 + " 今晚"};
        QTest::newRow("for another operator") << "008" << kNow << QStringList{kL2 + " 替李四"};
        QTest::newRow("everyone") << "" << kNow
                                  << QStringList{kL1 + " 上周", kL2 + " 替李四", kC1 + " 今晚"};
        QTest::newRow("a day later: tomorrow's is due")
            << "" << kNow.addDays(1)
            << QStringList{kL1 + " 上周", kL2 + " 替李四", kC1 + " 今晚", kC2 + " 明天"};
        QTest::newRow("clock set back a week: nothing due yet")
            << "" << kNow.addDays(-8) << QStringList{};
        QTest::newRow("an operator with nothing") << "999" << kNow << QStringList{};
    }
    void dueAndOverdue()
    {
        QFETCH(QString, staff);
        QFETCH(QDateTime, now);
        QFETCH(QStringList, expected);
        add(note(kListings, kL1, "上周"), Reminders::Due{at(-7, 9), {}});
        add(note(kCustomers, kC1, "今晚"), Reminders::Due{at(0, 20), {}});
        add(note(kListings, kL2, "替李四"), Reminders::Due{at(-1, 9), QStringLiteral("008")});
        // Closed by a later note (without a reminder of its own), by hand, and one of
        // a record deleted since.
        add(note(kListings, kL3, "已跟进"), Reminders::Due{at(-2, 9), {}});
        add(note(kListings, kL3, "打过了"));
        const qlonglong byHand = [&] {
            add(note(kCustomers, kC2, "手工完成"), Reminders::Due{at(-3, 9), {}});
            return Reminders::openFor(*conn, kCustomers, kC2).first().id;
        }();
        Reminders::close(*conn, byHand);
        add(note(kCustomers, kC2, "明天"), Reminders::Due{at(1, 9), {}});
        QCOMPARE(listed(*conn, staff, now), expected);
    }

    // A later note closes every open reminder of its record, whoever it is for and
    // whatever the clocks said; a listing's viewing also closes those of the customer
    // it names. Removing that note opens them again; removing the note that set a
    // reminder removes it. Closing twice is refused.
    void laterNoteCloses()
    {
        const qlonglong first = add(note(kListings, kL1, "一"), Reminders::Due{at(-1, 9), "008"});
        add(note(kCustomers, kC1, "客户"), Reminders::Due{at(-1, 9), {}});
        // The first note was written by a workstation whose clock ran a year ahead.
        db->exec(QStringLiteral("update 跟进记录 set 时间='2027-12-10 09:00:00' where 编号=%1")
                     .arg(first));
        QCOMPARE(listed(*conn, ""), (QStringList{kL1 + " 一", kC1 + " 客户"}));

        as(QStringLiteral("008"));
        const qlonglong viewing =
            add(note(kListings, kL1, "带看", QStringLiteral("带看"), kC1.toLower()),
                Reminders::Due{at(0, 18), {}});
        QCOMPARE(listed(*conn, ""), QStringList{kL1 + " 带看"});
        QCOMPARE(Reminders::openFor(*conn, kListings, kL1).size(), 1);
        QCOMPARE(Reminders::openFor(*conn, kListings, kL1).first().forName, QStringLiteral("李四"));

        FollowUps::remove(*conn, viewing, Roles::Ordinary);
        QCOMPARE(listed(*conn, ""), (QStringList{kL1 + " 一", kC1 + " 客户"}));
        FollowUps::remove(*conn, first, Roles::Admin);
        QCOMPARE(listed(*conn, ""), QStringList{kC1 + " 客户"});

        const qlonglong open = Reminders::openFor(*conn, kCustomers, kC1).first().id;
        Reminders::close(*conn, open);
        QVERIFY(listed(*conn, "").isEmpty());
        QVERIFY(!errorText([&] { Reminders::close(*conn, open); }).isEmpty());
    }

    // A reminder that cannot be set stops the note as well: nothing is stored.
    void refusedReminder_data()
    {
        QTest::addColumn<QDateTime>("due");
        QTest::addColumn<QString>("forWhom");
        QTest::addColumn<QString>("message");
        QTest::newRow("no time") << QDateTime() << ""
                                 << "请选择下次跟进的日期和时间";
        QTest::newRow("no such operator") << at(1, 9) << "X99"
                                          << "没有编号为“X99”的操作员";
    }
    void refusedReminder()
    {
        QFETCH(QDateTime, due);
        QFETCH(QString, forWhom);
        QFETCH(QString, message);
        QCOMPARE(errorText([&] {
                     add(note(kListings, kL1, "x"), Reminders::Due{due, forWhom});
                 }),
                 message);
        QCOMPARE(db->scalar("select count(*) from 跟进记录").toInt(), 0);
        QCOMPARE(db->scalar("select count(*) from 下次跟进").toInt(), 0);
    }

    // An operator removed from the staff register keeps his reminders, listed with
    // his number and the name he had, and can still be chosen.
    void removedOperator()
    {
        add(note(kListings, kL1, "留给张三"), Reminders::Due{at(-1, 9), {}});
        db->exec("delete from 操作员档案 where 员工编号='ZS7'");
        const QList<Todo::DueItem> due = Todo::due(*conn, "", kNow);
        QCOMPARE(due.size(), 1);
        QCOMPARE(due[0].forWhom, QStringLiteral("ZS7"));
        QCOMPARE(due[0].forName, QStringLiteral("张三"));
        QCOMPARE(due[0].kind, QStringLiteral("电话"));
        QStringList labels;
        for (const Reminders::Operator& o : Reminders::operators(*conn))
            labels << Reminders::operatorLabel(o);
        QVERIFY(labels.contains(QStringLiteral("008 李四")));
        QVERIFY(!labels.contains(QStringLiteral("ZS7 张三")));
        QCOMPARE(labels.last(), QStringLiteral("ZS7 张三（已删除）"));
    }

    // A record deleted with an open reminder takes it into the recycle bin: gone from
    // the list, back on restore, gone for good when erased.
    void deletedRecord()
    {
        add(note(kListings, kL1, "等回复"), Reminders::Due{at(-1, 9), {}});
        removeRecord(*conn, kListings, kL1);
        QVERIFY(listed(*conn, "").isEmpty());
        QVERIFY(!Todo::hasDue(*conn, "ZS7", kNow));
        RecycleBin::restore(*conn, RecycleBin::entries(*conn).first().id);
        QCOMPARE(listed(*conn, ""), QStringList{kL1 + " 等回复"});
        QVERIFY(Todo::hasDue(*conn, "ZS7", kNow));
        removeRecord(*conn, kListings, kL1);
        RecycleBin::erase(*conn, RecycleBin::entries(*conn).first().id);
        QCOMPARE(db->scalar("select count(*) from 下次跟进").toInt(), 0);
    }

    void roles_data()
    {
        QTest::addColumn<QString>("role");
        QTest::addColumn<bool>("chooses");
        QTest::newRow("ordinary") << Roles::Ordinary << false;
        QTest::newRow("senior") << Roles::Senior << true;
        QTest::newRow("administrator") << Roles::Admin << true;
        QTest::newRow("none") << Roles::None << false;
    }
    void roles()
    {
        QFETCH(QString, role);
        QFETCH(bool, chooses);
        QCOMPARE(Todo::mayChooseOperator(role), chooses);
    }

    void overdue_data()
    {
        QTest::addColumn<QString>("due");
        QTest::addColumn<QString>("text");
        QTest::newRow("later today") << "2026-12-10 12:00:01"
                                     << "未到";
        QTest::newRow("just now") << "2026-12-10 12:00:00"
                                  << "未到";
        QTest::newRow("minutes") << "2026-12-10 11:01:00"
                                 << "59分钟";
        QTest::newRow("hours") << "2026-12-10 00:00:00"
                               << "12小时";
        QTest::newRow("a day") << "2026-12-09 12:00:00"
                               << "1天";
        QTest::newRow("almost two days") << "2026-12-08 12:01:00"
                                         << "1天";
        QTest::newRow("unreadable") << "garbage"
                                    << "未到";
    }
    void overdue()
    {
        QFETCH(QString, due);
        QFETCH(QString, text);
        QCOMPARE(Todo::overdueText(due, kNow), text);
    }

    // Valid records without a follow-up for more than N days, newest first: a note,
    // a viewing naming a customer and a recent entry keep a record off the list; an
    // invalid record never shows; the clock set back lists nothing.
    void quiet_data()
    {
        QTest::addColumn<int>("days");
        QTest::addColumn<QDate>("today");
        QTest::addColumn<int>("limit");
        QTest::addColumn<QStringList>("expected"); // number/days quiet
        QTest::addColumn<bool>("more");
        const QDate today(2026, 12, 10);
        const QStringList thirty = {"001260901006/40", "A01260801003/130", "001260801005/131"};
        QTest::newRow("30 days") << 30 << today << 1000 << thirty << false;
        QTest::newRow("39 days") << 39 << today << 1000 << thirty << false;
        QTest::newRow("the newest two of them") << 30 << today << 2 << thirty.mid(0, 2) << true;
        QTest::newRow("exactly as many as listed") << 30 << today << 3 << thirty << false;
        QTest::newRow("40 days") << 40 << today << 1000
                                 << QStringList{"A01260801003/130", "001260801005/131"} << false;
        QTest::newRow("a day: recent entries too")
            << 1 << today << 1000
            << QStringList{"001261205008/5", "A01260901004/2", "001260901006/40",
                           "A01260801003/130", "001260801005/131"}
            << false;
        QTest::newRow("clock set back")
            << 30 << QDate(2026, 1, 1) << 1000 << QStringList{} << false;
    }
    void quiet()
    {
        QFETCH(int, days);
        QFETCH(QDate, today);
        QFETCH(int, limit);
        QFETCH(QStringList, expected);
        QFETCH(bool, more);
        db->exec("delete from 房屋信息");
        db->exec("delete from 客户信息");
        // number, entry date, validity; notes are dated below.
        const QList<QStringList> rows = {
            {"房屋信息", "001260801005", "260801", "有效"}, // entered long ago, never followed
            {"房屋信息", "001260901006", "260901", "有效"}, // note 40 days ago
            {"房屋信息", "001260901007", "260901", "无效"}, // invalid: never listed
            {"房屋信息", "001261205008", "261205", "有效"}, // entered 5 days ago
            {"客户信息", "A01260801003", "260801", "有效"}, // note 130 days ago
            {"客户信息", "A01260901004", "260901", "有效"}, // a listing's viewing 2 days ago
        };
        for (const QStringList& r : rows)
            db->exec(QStringLiteral("insert into %1 (档案号, 录入日期, 类型, 电话) values ('%2', "
                                    "'%3', '%4', '5551234')")
                         .arg(r[0], r[1], r[2], r[3]));
        const auto noteAt = [&](const QString& table, const QString& number, const QString& time,
                                const QString& customer) {
            db->exec(
                QStringLiteral("insert into 跟进记录 (表名, 档案号, 时间, 操作员, 跟进方式, "
                               "内容, 客户档案号) values ('%1', '%2', '%3', 'ZS7', '电话', "
                               "'x', %4)")
                    .arg(table, number, time, customer.isEmpty() ? "null" : "'" + customer + "'"));
        };
        noteAt(kListings, "001260901006", "2026-10-31 18:00:00", {});
        noteAt(kCustomers, "a01260801003", "2026-08-02 09:00:00", {});
        noteAt(kListings, "001260901007", "2026-12-08 09:00:00", "A01260901004");
        QStringList got;
        const Todo::Quiet quiet = Todo::quiet(*conn, days, today, limit);
        for (const Todo::QuietItem& q : quiet.items)
            got << q.number + QLatin1Char('/') + QString::number(q.days);
        QCOMPARE(got, expected);
        QCOMPARE(quiet.more, more);
    }

    // The quiet list reads each register newest first through an index and stops at
    // its limit: sorting every valid record first took seconds on 100,000 of them
    // once another index on 类型 was there. (On a file: a server plans by the
    // statistics of its tables, which a test's few rows do not resemble.)
    void quietReadsNewestFirst()
    {
        FILES_ONLY();
        for (const QString& table : {kListings, kCustomers}) {
            const QString p = conn->plan(Todo::quietStatement(table, 1001));
            QVERIFY2(p.contains(table + QStringLiteral("_有效录入")) && !p.contains("TEMP B-TREE"),
                     qPrintable(p));
        }
    }

    // A copy carries the reminders and the settings, and the copy numbers new
    // reminders after the copied ones (on a server too).
    void copyCarriesReminders()
    {
        add(note(kListings, kL1, "复制"), Reminders::Due{at(-1, 9), "008"});
        add(note(kListings, kL2, "已完成"), Reminders::Due{at(-1, 9), {}});
        add(note(kListings, kL2, "完成它"));
        Reminders::setOpensAtLogin(*conn, "008", false);
        QString target = db->dir() + QStringLiteral("/copy.mdb");
        DatabaseCopy::copy(db->mainPath(), target);
        if (TestDb::onServer()) {
            const QString file = target;
            target = db->newServerDatabase();
            DatabaseCopy::copy(file, target);
        }
        auto copy = openMain(target);
        copy->setActor({QStringLiteral("008"), QStringLiteral("pc")});
        QCOMPARE(listed(*copy, ""), QStringList{kL1 + " 复制"});
        QVERIFY(!Reminders::opensAtLogin(*copy, "008"));
        FollowUps::add(*copy, note(kListings, kL3, "新的"), Reminders::Due{at(-1, 10), {}});
        QCOMPARE(listed(*copy, ""), (QStringList{kL1 + " 复制", kL3 + " 新的"}));
    }

    // Each operator's choice whether the window opens after login, kept in the database.
    void loginSetting()
    {
        QVERIFY(Reminders::opensAtLogin(*conn, "ZS7"));
        Reminders::setOpensAtLogin(*conn, "ZS7", false);
        QVERIFY(!Reminders::opensAtLogin(*conn, "zs7"));
        QVERIFY(Reminders::opensAtLogin(*conn, "008"));
        Reminders::setOpensAtLogin(*conn, "zs7", true);
        QVERIFY(Reminders::opensAtLogin(*conn, "ZS7"));
        QCOMPARE(db->scalar("select count(*) from 待办设置").toInt(), 1);
    }
};

HALVORRA_TEST_MAIN(TestTodo)
#include "tst_todo.moc"
