// Follow-up notes: what is refused and with which message, who may change or
// remove a note, a listing's viewing naming a customer on both records, texts
// stored as typed, and the last-note dates the query windows show and sort by.
#include "data/Connection.h"
#include "data/DbError.h"
#include "data/Query.h"
#include "data/Schema.h"
#include "records/core/FollowUps.h"
#include "session/PubVars.h"
#include "tests/records/NoteFixtures.h"
#include "tests/support/TestSupport.h"

namespace
{

const QString kListings = QStringLiteral("房屋信息");
const QString kCustomers = QStringLiteral("客户信息");
// Two listings and two customers; a customer's number holds letters, which the
// register compares without case.
const QString kListing = QStringLiteral("001261209001");
const QString kQuietListing = QStringLiteral("001261209002");
const QString kCustomer = QStringLiteral("A01261209001");
const QString kQuietCustomer = QStringLiteral("A01261209002");

using notefixtures::note;

// "kind/author/text/customer" of each note, as listed.
QStringList listed(Connection& c, const QString& table, const QString& number)
{
    QStringList out;
    for (const FollowUps::Note& n : FollowUps::forRecord(c, table, number))
        out << QStringList{n.kind, n.authorName, n.text, n.customer}.join('/');
    return out;
}

} // namespace

class TestFollowUps : public QObject
{
    Q_OBJECT
    std::unique_ptr<TestDb> db;
    std::unique_ptr<Connection> conn;

    void as(const QString& staff) { conn->setActor({staff, QStringLiteral("office-pc")}); }

private slots:
    void init()
    {
        db = std::make_unique<TestDb>();
        for (const QString& n : {kListing, kQuietListing})
            db->exec(QStringLiteral("insert into 房屋信息 (档案号, 小区名称) values ('%1', '花园')")
                         .arg(n));
        for (const QString& n : {kCustomer, kQuietCustomer})
            db->exec(QStringLiteral("insert into 客户信息 (档案号, 地址描述) values ('%1', '城东')")
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

    // A note is stored as typed or refused with its message and the part at fault;
    // a refused note leaves nothing behind. A listing's viewing that names a
    // customer is listed on both records.
    void addOrRefuse_data()
    {
        QTest::addColumn<QString>("table");
        QTest::addColumn<QString>("number");
        QTest::addColumn<QString>("kind");
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("customer");
        QTest::addColumn<QString>("refused"); // the message; empty: stored
        QTest::addColumn<int>("part");        // FollowUps::Refusal::Part; -1: none
        QTest::addColumn<bool>("onCustomer"); // listed on kCustomer's notes too
        const QString tooLate = QStringLiteral("只有房源的带看记录才能填写客户档案号");
        QTest::newRow("call on a listing") << kListings << kListing << "电话"
                                           << "房主说下周可以看房"
                                           << ""
                                           << "" << -1 << false;
        QTest::newRow("visit on a customer") << kCustomers << kCustomer << "面谈"
                                             << "想要南向"
                                             << ""
                                             << "" << -1 << true;
        QTest::newRow("viewing names a customer, other letter case")
            << kListings << kListing << "带看"
            << "客户觉得偏贵" << kCustomer.toLower() << "" << -1 << true;
        QTest::newRow("viewing without a customer") << kListings << kListing << "带看"
                                                    << "自己去看"
                                                    << "  "
                                                    << "" << -1 << false;
        QTest::newRow("quotes, blanks and lines kept as typed")
            << kListings << kListing << "其他"
            << " O'Brien 说 \"再议\"; --\n第二行 '' \t"
            << ""
            << "" << -1 << false;
        QTest::newRow("long memo")
            << kCustomers << kCustomer << "电话" << QString(20000, QChar(0x8DDF)) + "'"
            << ""
            << "" << -1 << true;
        QTest::newRow("empty text") << kListings << kListing << "电话"
                                    << ""
                                    << ""
                                    << "请录入跟进内容" << int(FollowUps::Refusal::Text) << false;
        QTest::newRow("blanks only") << kCustomers << kCustomer << "电话"
                                     << " \t\r\n "
                                     << ""
                                     << "请录入跟进内容" << int(FollowUps::Refusal::Text) << false;
        QTest::newRow("no kind") << kListings << kListing << ""
                                 << "打过电话"
                                 << ""
                                 << "请选择跟进方式" << int(FollowUps::Refusal::Kind) << false;
        QTest::newRow("unknown kind") << kListings << kListing << "短信"
                                      << "发过短信"
                                      << ""
                                      << "请选择跟进方式" << int(FollowUps::Refusal::Kind) << false;
        QTest::newRow("call names a customer")
            << kListings << kListing << "电话"
            << "约看" << kCustomer << tooLate << int(FollowUps::Refusal::Customer) << false;
        QTest::newRow("customer's viewing names a customer")
            << kCustomers << kCustomer << "带看"
            << "看了两套" << kQuietCustomer << tooLate << int(FollowUps::Refusal::Customer)
            << false;
        QTest::newRow("viewing names nobody")
            << kListings << kListing << "带看"
            << "看过"
            << "A01261209999"
            << "没有档案号为“A01261209999”的客户" << int(FollowUps::Refusal::Customer) << false;
        QTest::newRow("viewing names a listing's number")
            << kListings << kListing << "带看"
            << "看过" << kQuietListing << "没有档案号为“" + kQuietListing + "”的客户"
            << int(FollowUps::Refusal::Customer) << false;
        QTest::newRow("record deleted meanwhile")
            << kListings << "001261209777"
            << "电话"
            << "打过电话"
            << ""
            << "这条记录已不存在（可能已被删除），不能增加跟进记录。" << -1 << false;
    }
    void addOrRefuse()
    {
        QFETCH(QString, table);
        QFETCH(QString, number);
        QFETCH(QString, kind);
        QFETCH(QString, text);
        QFETCH(QString, customer);
        QFETCH(QString, refused);
        QFETCH(int, part);
        QFETCH(bool, onCustomer);
        const FollowUps::Note n = note(table, number, kind, text, customer);
        const auto why = FollowUps::refusal(*conn, n);
        QCOMPARE(why ? int(why->part) : -1, part);
        if (why) QCOMPARE(why->text, refused);
        QCOMPARE(errorText([&] { FollowUps::add(*conn, n); }), refused);
        if (!refused.isEmpty()) {
            QCOMPARE(db->scalar("select count(*) from 跟进记录").toInt(), 0);
            return;
        }
        const QString stored = QStringList{kind, "张三", text, customer.trimmed()}.join('/');
        QCOMPARE(listed(*conn, table, number), QStringList{stored});
        QCOMPARE(listed(*conn, kCustomers, kCustomer),
                 onCustomer ? QStringList{stored} : QStringList{});
        // Nothing on the records the note is not about.
        QCOMPARE(listed(*conn, kListings, kQuietListing), QStringList{});
        QCOMPARE(listed(*conn, kCustomers, kQuietCustomer), QStringList{});
        const FollowUps::Note back = FollowUps::forRecord(*conn, table, number).first();
        QCOMPARE(back.author, QString("zs7"));
        QCOMPARE(back.time.left(10), QDate::currentDate().toString("yyyy-MM-dd"));
    }

    // Only the author or a system administrator changes or removes a note; anyone
    // else is refused with the same message and the note stays as it was. A change
    // is checked like a new note.
    void whoMayChange_data()
    {
        QTest::addColumn<QString>("staff");
        QTest::addColumn<QString>("role");
        QTest::addColumn<bool>("allowed");
        QTest::newRow("author") << "zs7" << Roles::Ordinary << true;
        QTest::newRow("author, other letter case") << "ZS7" << Roles::Ordinary << true;
        QTest::newRow("another ordinary operator") << "009" << Roles::Ordinary << false;
        QTest::newRow("a senior operator") << "008" << Roles::Senior << false;
        QTest::newRow("a system administrator") << "admin" << Roles::Admin << true;
        QTest::newRow("nobody logged in") << "" << Roles::Ordinary << false;
    }
    void whoMayChange()
    {
        QFETCH(QString, staff);
        QFETCH(QString, role);
        QFETCH(bool, allowed);
        FollowUps::add(*conn, note(kListings, kListing, "电话", "第一次电话"));
        FollowUps::add(*conn, note(kListings, kListing, "面谈", "第二次"));
        const QList<FollowUps::Note> before = FollowUps::forRecord(*conn, kListings, kListing);
        QCOMPARE(before.size(), 2);
        FollowUps::Note n = before.last();
        QCOMPARE(n.text, QString("第一次电话"));
        QCOMPARE(FollowUps::mayChange(n, staff, role), allowed);
        as(staff);
        const QString refusedText = allowed ? QString() : FollowUps::notYoursText();

        // A change that would be refused anyway tells the operator first who may.
        n.text = QStringLiteral("  ");
        QCOMPARE(errorText([&] { FollowUps::change(*conn, n, role); }),
                 allowed ? QStringLiteral("请录入跟进内容") : refusedText);
        n.kind = QStringLiteral("带看");
        n.text = QStringLiteral("改为带看 \"李\"");
        n.customer = kCustomer;
        QCOMPARE(errorText([&] { FollowUps::change(*conn, n, role); }), refusedText);
        QCOMPARE(listed(*conn, kCustomers, kCustomer).size(), allowed ? 1 : 0);
        QCOMPARE(errorText([&] { FollowUps::remove(*conn, n.id, role); }), refusedText);
        const QStringList left = listed(*conn, kListings, kListing);
        const QStringList kept = {"面谈/张三/第二次/", "电话/张三/第一次电话/"};
        QCOMPARE(left, allowed ? kept.mid(0, 1) : kept);
        // A note removed meanwhile is refused with a clear message.
        if (allowed)
            QCOMPARE(errorText([&] { FollowUps::remove(*conn, n.id, role); }),
                     QStringLiteral("这条跟进记录已不存在（可能已被删除）。"));
    }

    // The last note's date of each record, a customer's taking the viewings that
    // name him; the query windows' computed column holds it, sorts untouched
    // records first, is brought up to date after a new note and is never saved.
    void lastDates()
    {
        const auto put = [&](const QString& table, const QString& number, const QString& time,
                             const QString& customer) {
            db->exec(
                QStringLiteral("insert into 跟进记录 (表名, 档案号, 时间, 操作员, 跟进方式, 内容, "
                               "客户档案号) values ('%1', '%2', '%3', 'zs7', '带看', 'x', %4)")
                    .arg(table, number, time,
                         customer.isEmpty() ? QStringLiteral("null") : "'" + customer + "'"));
        };
        put(kListings, kListing, "2026-11-02 09:00:00", "");
        put(kListings, kListing, "2026-12-01 23:59:59", kCustomer.toLower());
        put(kListings, kListing, "2026-11-20 10:00:00", "");
        put(kCustomers, kCustomer, "2026-11-30 08:00:00", "");
        using Dates = QHash<QString, QString>;
        QCOMPARE(FollowUps::lastDates(*conn, kListings), (Dates{{kListing, "2026-12-01"}}));
        QCOMPARE(FollowUps::lastDates(*conn, kCustomers),
                 (Dates{{kCustomer.toLower(), "2026-12-01"}}));

        Query q(conn.get());
        q.computedColumns = FollowUps::lastColumns;
        q.addSql(QStringLiteral("select * from 客户信息 "));
        q.addSql(QStringLiteral("order by 档案号"));
        q.open();
        const int last = q.fieldIndex(FollowUps::LastColumn);
        const int key = q.fieldIndex(QStringLiteral("档案号"));
        QVERIFY(last > key);
        const auto column = [&] {
            QStringList out;
            for (int i = 0; i < q.recordCount(); ++i)
                out << q.valueAt(i, key).toString() + "=" + q.valueAt(i, last).toString();
            return out;
        };
        QCOMPARE(column(), (QStringList{kCustomer + "=2026-12-01", kQuietCustomer + "="}));
        q.sortBy(last, Qt::AscendingOrder);
        QCOMPARE(column(), (QStringList{kQuietCustomer + "=", kCustomer + "=2026-12-01"}));
        QCOMPARE(q.text("档案号"), kCustomer); // the current row stays the same row
        q.sortBy(last, Qt::DescendingOrder);
        QCOMPARE(column(), (QStringList{kCustomer + "=2026-12-01", kQuietCustomer + "="}));

        // A save writes the register's columns only and keeps the computed value.
        q.first();
        q.edit();
        q.setValue(QStringLiteral("地址描述"), QStringLiteral("城西"));
        q.post();
        QCOMPARE(
            db->scalar("select 地址描述 from 客户信息 where 档案号='" + kCustomer + "'").toString(),
            QString("城西"));
        QCOMPARE(q.text(FollowUps::LastColumn), QString("2026-12-01"));

        // A new note on the untouched customer shows once the column is brought up to date.
        FollowUps::add(*conn, note(kCustomers, kQuietCustomer, "电话", "回访"));
        FollowUps::addLastColumn(q);
        QCOMPARE(column(),
                 (QStringList{kCustomer + "=2026-12-01",
                              kQuietCustomer + "=" + QDate::currentDate().toString("yyyy-MM-dd")}));
        QCOMPARE(q.fieldIndex(FollowUps::LastColumn), last);
        QCOMPARE(q.recordCount(), 2);
    }
};

HALVORRA_TEST_MAIN(TestFollowUps)
#include "tst_follow_ups.moc"
