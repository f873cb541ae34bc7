// Deals: money typed and split to the fen, what a deal refuses and with which
// message, what registering and cancelling do to the listing, the customer and
// their histories, two workstations registering the same listing at once, and who
// may change a deal.
#include "data/Connection.h"
#include "data/DbError.h"
#include "data/RecordLog.h"
#include "deals/core/Deals.h"
#include "deals/core/Money.h"
#include "session/PubVars.h"
#include "tests/support/TestSupport.h"

#include <QDate>
#include <atomic>
#include <thread>

namespace
{

const QString kListings = QStringLiteral("房屋信息");
const QString kCustomers = QStringLiteral("客户信息");
const QDate kToday(2026, 12, 10);

Deals::Deal deal(const QString& listing, const QString& customer)
{
    Deals::Deal d;
    d.listing = listing;
    d.customer = customer;
    d.date = kToday.addDays(-3);
    d.price = 100'000'000; // 1,000,000 yuan
    d.ownerCommission = 1'000'000;
    d.customerCommission = 1'000'001;
    d.contract = QStringLiteral("HT-1");
    d.agents = {{QStringLiteral("ZS7"), {}, 6000, 0}, {QStringLiteral("008"), {}, 4000, 0}};
    return d;
}

QStringList events(Connection& c, const QString& table, const QString& number)
{
    QStringList out;
    for (const RecordLog::Line& l : RecordLog::history(c, table, number))
        out << QStringList{l.event, l.column, l.before.toString(), l.after.toString()}.join('/');
    return out;
}

} // namespace

class TestDeals : public QObject
{
    Q_OBJECT
    std::unique_ptr<TestDb> db;
    std::unique_ptr<Connection> conn;

    QString validity(const QString& table, const QString& number)
    {
        return db
            ->scalar(QStringLiteral("select 类型 from %1 where 档案号='%2'").arg(table, number))
            .toString();
    }

private slots:
    void init()
    {
        // Money and its split need no database.
        if (QByteArray(QTest::currentTestFunction()) == "money" ||
            QByteArray(QTest::currentTestFunction()) == "split")
            return;
        db = std::make_unique<TestDb>();
        const char* listings[][3] = {{"001261201001", "出售", "有效"},
                                     {"001261201002", "出售", "有效"},
                                     {"001261201003", "出租", "有效"},
                                     {"001261201004", "出售", "无效"}};
        for (const auto& l : listings)
            db->exec(QStringLiteral("insert into 房屋信息 (档案号, 方式, 类型, 位置) values "
                                    "('%1', '%2', '%3', '城东')")
                         .arg(l[0], l[1], l[2]));
        const char* customers[][3] = {{"A01261201001", "求购", "有效"},
                                      {"A01261201002", "求购", "有效"},
                                      {"A01261201003", "求租", "有效"},
                                      {"A01261201004", "求购", "无效"}};
        for (const auto& k : customers)
            db->exec(QStringLiteral("insert into 客户信息 (档案号, 需求方式, 类型) values "
                                    "('%1', '%2', '%3')")
                         .arg(k[0], k[1], k[2]));
        addTwoOperators(*db);
        conn = openMain(db->mainPath());
        conn->setActor({QStringLiteral("ZS7"), QStringLiteral("pc-1")});
    }
    void cleanup()
    {
        conn.reset();
        db.reset();
    }

    void money_data()
    {
        QTest::addColumn<QString>("typed");
        QTest::addColumn<QString>("fen"); // "" = refused
        QTest::addColumn<QString>("shown");
        QTest::newRow("whole") << "1234"
                               << "123400"
                               << "1234.00";
        QTest::newRow("one decimal") << " 12.5 "
                                     << "1250"
                                     << "12.50";
        QTest::newRow("cents") << "0.07"
                               << "7"
                               << "0.07";
        QTest::newRow("no leading digit") << ".5"
                                          << "50"
                                          << "0.50";
        QTest::newRow("negative") << "-3.1"
                                  << "-310"
                                  << "-3.10";
        QTest::newRow("empty is zero") << ""
                                       << "0"
                                       << "0.00";
        QTest::newRow("three decimals") << "1.005"
                                        << ""
                                        << "";
        QTest::newRow("letters") << "12a"
                                 << ""
                                 << "";
        QTest::newRow("dot alone") << "."
                                   << ""
                                   << "";
        QTest::newRow("largest") << "100000000000"
                                 << "10000000000000"
                                 << "100000000000.00";
        QTest::newRow("too large") << "100000000000.01"
                                   << ""
                                   << "";
        QTest::newRow("many digits") << "99999999999999999999999"
                                     << ""
                                     << "";
    }
    void money()
    {
        QFETCH(QString, typed);
        QFETCH(QString, fen);
        QFETCH(QString, shown);
        const auto v = Money::parseYuan(typed);
        QCOMPARE(v ? QString::number(*v) : QString(), fen);
        if (v) QCOMPARE(Money::yuanText(*v), shown);
    }

    // The parts always add up to the total; the fen left over by rounding down go to
    // the parts that lost most, the earlier first among equals.
    void split_data()
    {
        QTest::addColumn<qint64>("total");
        QTest::addColumn<QList<int>>("shares");
        QTest::addColumn<QList<qint64>>("parts");
        QTest::newRow("thirds") << qint64(100) << QList<int>{3334, 3333, 3333}
                                << QList<qint64>{34, 33, 33};
        QTest::newRow("equal thirds of one fen")
            << qint64(1) << QList<int>{3333, 3333, 3334} << QList<qint64>{0, 0, 1};
        QTest::newRow("halves of odd")
            << qint64(2000001) << QList<int>{5000, 5000} << QList<qint64>{1000001, 1000000};
        QTest::newRow("one agent") << qint64(999) << QList<int>{10000} << QList<qint64>{999};
        QTest::newRow("zero") << qint64(0) << QList<int>{5000, 5000} << QList<qint64>{0, 0};
        QTest::newRow("largest remainder")
            << qint64(10) << QList<int>{1500, 1500, 7000} << QList<qint64>{2, 1, 7};
        QTest::newRow("huge") << Money::kMaxFen << QList<int>{1, 9999}
                              << QList<qint64>{1'000'000'000, 9'999'000'000'000};
    }
    void split()
    {
        QFETCH(qint64, total);
        QFETCH(QList<int>, shares);
        QFETCH(QList<qint64>, parts);
        QCOMPARE(Money::split(total, shares), parts);
    }

    // Each rule refuses with its message and stores nothing; the records stay valid.
    void refused_data()
    {
        QTest::addColumn<QString>("what");
        QTest::addColumn<QString>("message");
        QTest::newRow("future") << "future"
                                << "成交日期不能晚于今天";
        QTest::newRow("no date") << "nodate"
                                 << "请输入成交日期";
        QTest::newRow("zero price") << "zeroprice"
                                    << "成交价格必须大于零";
        QTest::newRow("negative price") << "negprice"
                                        << "成交价格必须大于零";
        QTest::newRow("negative commission") << "negcomm"
                                             << "客户佣金不能为负数";
        QTest::newRow("commission above price") << "commission"
                                                << "佣金合计不能高于成交价格";
        QTest::newRow("shares 99.99") << "shares"
                                      << "经纪人的分成比例合计必须是100%，现在是99.99%";
        QTest::newRow("no agent") << "noagent"
                                  << "请选择经纪人";
        QTest::newRow("agent twice") << "twice"
                                     << "经纪人“zs7”重复出现";
        QTest::newRow("zero share") << "zeroshare"
                                    << "经纪人“008”的分成比例必须大于零";
        QTest::newRow("unknown agent") << "unknown"
                                       << "人员档案中没有编号为“X9”的员工。";
        QTest::newRow("invalid listing") << "invalidlisting"
                                         << "房源“001261201004”是无效信息，不能登记成交。";
        QTest::newRow("invalid customer") << "invalidcustomer"
                                          << "客户“A01261201004”是无效信息，不能登记成交。";
        QTest::newRow("deleted listing") << "nolisting"
                                         << "房源“001261209999”已不存在（可能已被删除）。";
        QTest::newRow("modes") << "modes"
                               << "房源的供应方式（出租）与客户的需求方式（求购）不对应。";
    }
    void refused()
    {
        QFETCH(QString, what);
        QFETCH(QString, message);
        Deals::Deal d = deal("001261201001", "A01261201001");
        if (what == "future") d.date = kToday.addDays(1);
        if (what == "nodate") d.date = QDate();
        if (what == "zeroprice") d.price = 0;
        if (what == "negprice") d.price = -1;
        if (what == "negcomm") d.customerCommission = -1;
        if (what == "commission") d.ownerCommission = d.price - d.customerCommission + 1;
        if (what == "shares") d.agents[1].share = 3999;
        if (what == "noagent") d.agents.clear();
        if (what == "twice") d.agents[1].staff = "zs7";
        if (what == "zeroshare") d.agents = {{"ZS7", {}, 10000, 0}, {"008", {}, 0, 0}};
        if (what == "unknown") d.agents[1].staff = "X9";
        if (what == "invalidlisting") d.listing = "001261201004";
        if (what == "invalidcustomer") d.customer = "A01261201004";
        if (what == "nolisting") d.listing = "001261209999";
        if (what == "modes") d.listing = "001261201003";
        QCOMPARE(errorText([&] { Deals::add(*conn, d, kToday); }), message);
        QCOMPARE(db->scalar("select count(*) from 成交记录").toInt(), 0);
        QCOMPARE(db->scalar("select count(*) from 成交经纪人").toInt(), 0);
        QCOMPARE(validity(kListings, "001261201001"), QStringLiteral("有效"));
        QCOMPARE(validity(kCustomers, "A01261201001"), QStringLiteral("有效"));
    }

    // A deal on today's date with the commission equal to the price is accepted; both
    // records turn invalid with their history, the agents' commissions add up to the
    // fen, and a second deal on either record is refused until the first is cancelled.
    void registerAndCancel()
    {
        Deals::Deal d = deal("001261201001", "a01261201001"); // customer typed in lower case
        d.date = kToday;
        const qlonglong id = Deals::add(*conn, d, kToday);
        QCOMPARE(validity(kListings, "001261201001"), QStringLiteral("无效"));
        QCOMPARE(validity(kCustomers, "A01261201001"), QStringLiteral("无效"));
        QCOMPARE(events(*conn, kListings, "001261201001"), QStringList{"作废/类型/有效/无效"});
        QCOMPARE(events(*conn, kCustomers, "A01261201001"), QStringList{"作废/类型/有效/无效"});
        const auto stored = Deals::load(*conn, id);
        QVERIFY(stored);
        QCOMPARE(stored->customer, QStringLiteral("A01261201001"));
        QCOMPARE(stored->mode, QStringLiteral("出售"));
        QCOMPARE(stored->location, QStringLiteral("城东"));
        QCOMPARE(stored->agents.size(), 2);
        QCOMPARE(stored->agents[0].name, QStringLiteral("张三"));
        // 2,000,001 fen: 60 % is 1,200,000.6, 40 % is 800,000.4; the odd fen goes to the first.
        QCOMPARE(stored->agents[0].commission, qint64(1200001));
        QCOMPARE(stored->agents[1].commission, qint64(800000));
        QCOMPARE(db->scalar("select sum(佣金) from 成交经纪人").toLongLong(), qint64(2000001));

        // The listing again with another customer, the customer with another listing.
        const QString again =
            errorText([&] { Deals::add(*conn, deal("001261201001", "A01261201002"), kToday); });
        QVERIFY2(again.startsWith("房源“001261201001”已经成交"), qPrintable(again));
        QVERIFY(errorText([&] {
                    Deals::add(*conn, deal("001261201002", "A01261201001"), kToday);
                }).startsWith("客户“A01261201001”已经成交"));

        // Cancelling: only senior operators and administrators, only with a reason.
        QCOMPARE(errorText([&] { Deals::cancel(*conn, id, "客户反悔", Roles::Ordinary); }),
                 Deals::notAllowedText());
        QCOMPARE(errorText([&] { Deals::cancel(*conn, id, "  ", Roles::Senior); }),
                 QStringLiteral("请输入撤销原因"));
        // The customer was made valid again by hand meanwhile: only the listing turns back.
        db->exec("update 客户信息 set 类型='有效' where 档案号='A01261201001'");
        Deals::cancel(*conn, id, "客户反悔", Roles::Senior);
        QCOMPARE(validity(kListings, "001261201001"), QStringLiteral("有效"));
        QCOMPARE(events(*conn, kListings, "001261201001").first(),
                 QStringLiteral("重新生效/类型/无效/有效"));
        QCOMPARE(events(*conn, kCustomers, "A01261201001").size(), 1);
        QCOMPARE(Deals::load(*conn, id)->status, Deals::Cancelled);
        QCOMPARE(Deals::load(*conn, id)->reason, QStringLiteral("客户反悔"));
        QVERIFY(errorText([&] {
                    Deals::cancel(*conn, id, "again", Roles::Admin);
                }).contains("已经撤销"));
        // The deal keeps its history; the listing may be sold anew.
        QCOMPARE(events(*conn, Deals::Table, QString::number(id)),
                 (QStringList{"撤销///客户反悔", "登记///房源 001261201001，客户 A01261201001"}));
        Deals::add(*conn, deal("001261201001", "A01261201002"), kToday);
    }

    // Changes: by senior operators and administrators, each changed item in the deal's
    // history; an agent removed from the staff register keeps his name on the deal.
    void change()
    {
        const qlonglong id = Deals::add(*conn, deal("001261201001", "A01261201001"), kToday);
        db->exec("delete from 操作员档案 where 员工编号='008'");
        Deals::Deal d = *Deals::load(*conn, id);
        QCOMPARE(errorText([&] { Deals::change(*conn, d, Roles::Ordinary, kToday); }),
                 Deals::notAllowedText());
        d.price = 90'000'000;
        d.agents[0].share = 5000;
        d.agents[1].share = 5000;
        Deals::change(*conn, d, Roles::Admin, kToday);
        const Deals::Deal stored = *Deals::load(*conn, id);
        QCOMPARE(stored.agents[1].name, QStringLiteral("李四"));
        QCOMPARE(stored.agents[0].commission + stored.agents[1].commission, d.commission());
        QCOMPARE(events(*conn, Deals::Table, QString::number(id)).mid(0, 2),
                 (QStringList{"修改/经纪人/张三 60%，李四 40%/张三 50%，李四 50%",
                              "修改/成交价格/1000000.00元/900000.00元"}));
        // A removed staff member cannot join a deal anew.
        d.agents = {{"ZS7", {}, 5000, 0}, {"009", {}, 5000, 0}};
        QCOMPARE(errorText([&] { Deals::change(*conn, d, Roles::Admin, kToday); }),
                 QStringLiteral("人员档案中没有编号为“009”的员工。"));
    }

    // Two workstations register deals on the same listing at the same moment: one
    // wins, the other is refused with a message; nothing of the loser is stored.
    void race()
    {
        for (int round = 0; round < 3; ++round) {
            const QString listing =
                round == 2 ? "001261201003" : QStringLiteral("00126120100%1").arg(round + 1);
            if (round > 0) db->exec(QStringLiteral("update 客户信息 set 类型='有效'"));
            db->exec("delete from 成交经纪人");
            db->exec("delete from 成交记录");
            std::unique_ptr<Connection> other = openMain(db->mainPath());
            other->setActor({QStringLiteral("008"), QStringLiteral("pc-2")});
            QStringList outcome(2);
            std::atomic<int> ready{0};
            const auto run = [&](Connection* c, const QString& customer, int slot) {
                ++ready;
                while (ready < 2) {
                }
                try {
                    Deals::add(*c, deal(listing, customer), kToday);
                    outcome[slot] = QStringLiteral("ok");
                } catch (const DbError& e) {
                    outcome[slot] = e.text();
                }
            };
            const QString c1 = round == 2 ? "A01261201003" : "A01261201001";
            const QString c2 = round == 2 ? "A01261201003" : "A01261201002";
            std::thread a(run, conn.get(), c1, 0);
            std::thread b(run, other.get(), c2, 1);
            a.join();
            b.join();
            QCOMPARE(outcome.count(QStringLiteral("ok")), 1);
            const QString refusal = outcome[0] == "ok" ? outcome[1] : outcome[0];
            QVERIFY2(refusal.contains("已经成交"), qPrintable(refusal));
            QCOMPARE(db->scalar("select count(*) from 成交记录").toInt(), 1);
            QCOMPARE(db->scalar("select count(*) from 成交经纪人").toInt(), 2);
        }
    }
};

HALVORRA_TEST_MAIN(TestDeals)
#include "tst_deals.moc"
