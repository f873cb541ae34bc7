// Row sets over a real database file: statement forms, navigation, locate,
// filters, row states and hooks, edits written back, two connections on one file.
#include "data/Connection.h"
#include "data/DbError.h"
#include "data/Query.h"
#include "data/Schema.h"
#include "data/Text.h"
#include "tests/support/TestSupport.h"

class TestQuery : public QObject
{
    Q_OBJECT
    std::unique_ptr<TestDb> db;
    std::unique_ptr<Connection> conn;

    void openConn() { conn = openMain(db->mainPath()); }
    void run(const QStringList& lines)
    {
        Query q(conn.get());
        q.setSql(lines);
        q.execSql();
    }

private slots:
    void init()
    {
        db = std::make_unique<TestDb>();
        openConn();
        run({"DELETE * FROM 户型字典 "});
        for (const char* v : {"一室", "两室", "三室", "Abc", "abd"})
            run({QStringLiteral("insert into 户型字典 values (\"%1\")").arg(QString::fromUtf8(v))});
    }
    void cleanup()
    {
        conn.reset();
        db.reset();
    }

    void navigationAndCount()
    {
        Query q(conn.get());
        q.addSql("select * from 户型字典 ");
        q.open();
        QCOMPARE(q.recordCount(), 5);
        QStringList seen;
        for (q.first(); !q.eof(); q.next())
            seen << q.text("户型");
        QCOMPARE(seen.size(), 5);
        QCOMPARE(seen.first(), QStringLiteral("一室"));
        q.close();
        QVERIFY(!q.isActive());
    }

    void editPostWrittenBack()
    {
        Query q(conn.get());
        q.addSql("select * from 户型字典 ");
        q.addSql("where 户型=\"两室\"");
        q.open();
        QCOMPARE(q.recordCount(), 1);
        q.edit();
        q.setValue("户型", "两室半");
        q.post();
        QCOMPARE(db->scalar("select count(*) from 户型字典 where 户型='两室半'").toInt(), 1);
        q.remove();
        QCOMPARE(db->scalar("select count(*) from 户型字典 where 户型='两室半'").toInt(), 0);
        QCOMPARE(q.recordCount(), 0);
    }

    void hookRefusesAndStateStays()
    {
        Query q(conn.get());
        q.addSql("select * from 户型字典");
        q.open();
        q.beforePost = [](Query&) { throw SilentAbort(); };
        q.edit();
        q.setValue("户型", "X");
        try {
            q.post();
            QFAIL("post should be refused");
        } catch (const SilentAbort&) {
        }
        QCOMPARE(q.state(), Query::State::Edit);
        QCOMPARE(q.text("户型"), QStringLiteral("X"));
        QCOMPARE(db->scalar("select count(*) from 户型字典 where 户型='X'").toInt(), 0);
    }
    void locateExactAndPrefix_data()
    {
        QTest::addColumn<QString>("value");
        QTest::addColumn<bool>("caseInsensitive");
        QTest::addColumn<bool>("prefix");
        QTest::addColumn<QString>("found"); // empty: not found
        QTest::newRow("exact") << "三室" << false << false << "三室";
        QTest::newRow("exact is not prefix") << "三" << false << false << "";
        QTest::newRow("exact respects case") << "abc" << false << false << "";
        QTest::newRow("prefix any case") << "AB" << true << true << "Abc";
        QTest::newRow("prefix lower") << "abd" << true << true << "abd";
        QTest::newRow("prefix none") << "zz" << true << true << "";
    }
    void locateExactAndPrefix()
    {
        QFETCH(QString, value);
        QFETCH(bool, caseInsensitive);
        QFETCH(bool, prefix);
        QFETCH(QString, found);
        Query q(conn.get());
        q.addSql("select * from 户型字典");
        q.open();
        q.last();
        const int before = q.recNo();
        Query::LocateOptions o;
        o.caseInsensitive = caseInsensitive;
        o.partialKey = prefix;
        QCOMPARE(q.locate("户型", value, o), !found.isEmpty());
        if (found.isEmpty())
            QCOMPARE(q.recNo(), before); // the position does not change
        else
            QCOMPARE(q.text("户型"), found);
    }

    void filterForms_data()
    {
        QTest::addColumn<QString>("filter");
        QTest::addColumn<int>("count");
        QTest::newRow("empty") << "" << 5;
        QTest::newRow("equal") << "户型='两室'" << 1;
        QTest::newRow("equal any case") << "户型='ABC'" << 1;
        QTest::newRow("like") << "户型 like '%室%'" << 3;
        QTest::newRow("like any case") << "户型 like '%B%'" << 2;
        QTest::newRow("and") << "户型 like '%室%' and 户型='一室'" << 1;
        QTest::newRow("quoted value") << "户型='it''s'" << 0;
    }
    void filterForms()
    {
        QFETCH(QString, filter);
        QFETCH(int, count);
        Query q(conn.get());
        q.addSql("select * from 户型字典");
        q.open();
        q.setFilter(filter);
        q.setFiltered(true);
        QCOMPARE(q.recordCount(), count);
        q.setFiltered(false);
        QCOMPARE(q.recordCount(), 5);
    }

    void badFilterIsAnErrorNotACrash()
    {
        Query q(conn.get());
        q.addSql("select * from 户型字典");
        q.open();
        q.setFiltered(true);
        QVERIFY_THROWS_EXCEPTION(DbError, q.setFilter("没有这列='x'"));
        QCOMPARE(q.recordCount(), 5);
    }

    // Each refusing hook leaves the row set in the state it was in and writes nothing.
    void refusingHooks()
    {
        Query q(conn.get());
        q.addSql("select * from 户型字典");
        q.open();
        q.beforeInsert = [](Query&) { throw SilentAbort(); };
        QVERIFY_THROWS_EXCEPTION(SilentAbort, q.append());
        QCOMPARE(q.state(), Query::State::Browse);
        QCOMPARE(q.recordCount(), 5);
        q.beforeDelete = [](Query&) { throw SilentAbort(); };
        QVERIFY_THROWS_EXCEPTION(SilentAbort, q.remove());
        QCOMPARE(db->scalar("select count(*) from 户型字典").toInt(), 5);
        q.beforeEdit = [](Query&) { throw SilentAbort(); };
        QVERIFY_THROWS_EXCEPTION(SilentAbort, q.edit());
        QCOMPARE(q.state(), Query::State::Browse);
    }

    void insertWithDefaultsThenCancel()
    {
        Query q(conn.get());
        q.addSql("select * from 户型字典");
        q.open();
        q.afterInsert = [](Query& qq) { qq.setValue("户型", "默认"); };
        q.append();
        QCOMPARE(q.state(), Query::State::Insert);
        QCOMPARE(q.text("户型"), QStringLiteral("默认"));
        QCOMPARE(q.recordCount(), 6);
        q.cancel();
        QCOMPARE(q.recordCount(), 5);
        QCOMPARE(db->scalar("select count(*) from 户型字典 where 户型='默认'").toInt(), 0);
        q.append();
        q.post();
        QCOMPARE(db->scalar("select count(*) from 户型字典 where 户型='默认'").toInt(), 1);
        // The stored row can be changed at once (it knows its identity).
        q.edit();
        q.setValue("户型", "默认2");
        q.post();
        QCOMPARE(db->scalar("select count(*) from 户型字典 where 户型='默认2'").toInt(), 1);
    }

    void movingPostsTheEdit()
    {
        Query q(conn.get());
        q.addSql("select * from 户型字典");
        q.open();
        q.edit();
        q.setValue("户型", "改过");
        q.next();
        QCOMPARE(q.state(), Query::State::Browse);
        QCOMPARE(db->scalar("select count(*) from 户型字典 where 户型='改过'").toInt(), 1);
    }

    void floatsAndOverLongValues()
    {
        Query q(conn.get());
        q.addSql("select * from 房屋信息");
        q.open();
        q.append();
        q.setValue("档案号", "001261209001");
        q.setValue("房屋面积", "85.5");
        QCOMPARE(q.value("房屋面积").toDouble(), 85.5);
        QVERIFY_THROWS_EXCEPTION(DbError, q.setValue("信息价格", "八十"));
        q.setValue("地址", QString(51, QChar(0x8DEF)));
        QVERIFY_THROWS_EXCEPTION(DbError, q.post());
        QCOMPARE(q.state(), Query::State::Insert); // nothing cut, nothing written
        QCOMPARE(db->scalar("select count(*) from 房屋信息").toInt(), 0);
        q.setValue("地址", QString(50, QChar(0x8DEF)));
        q.post();
        QCOMPARE(db->scalar("select length(地址) from 房屋信息").toInt(), 50);
        QCOMPARE(db->scalar("select 房屋面积 from 房屋信息").toDouble(), 85.5);
    }

    // A row changed or deleted by another workstation since it was read is not overwritten.
    void changedElsewhereIsNotOverwritten()
    {
        Query q(conn.get());
        q.addSql("select * from 户型字典 where 户型='两室'");
        q.open();
        db->exec("update 户型字典 set 户型='两室大' where 户型='两室'");
        q.edit();
        q.setValue("户型", "两室小");
        QVERIFY_THROWS_EXCEPTION(DbError, q.post());
        QCOMPARE(q.state(), Query::State::Edit);
        QCOMPARE(db->scalar("select count(*) from 户型字典 where 户型='两室大'").toInt(), 1);
        q.cancel();
        db->exec("delete from 户型字典 where 户型='两室大'");
        q.edit();
        q.setValue("户型", "两室小");
        QVERIFY_THROWS_EXCEPTION(DbError, q.post());
        QCOMPARE(db->scalar("select count(*) from 户型字典 where 户型='两室小'").toInt(), 0);
    }

    // A row deleted elsewhere leaves its identity free for the next new row: deleting
    // the row shown must not take that one with it.
    void deleteNeverTakesAnotherRow()
    {
        Query q(conn.get());
        q.addSql("select * from 户型字典");
        q.open();
        q.last();
        const QString shown = q.text("户型");
        db->exec("delete from 户型字典 where 户型='" + shown + "'");
        db->exec("insert into 户型字典 values ('新来的')");
        QVERIFY_THROWS_EXCEPTION(DbError, q.remove());
        QCOMPARE(db->scalar("select count(*) from 户型字典 where 户型='新来的'").toInt(), 1);
        QCOMPARE(db->scalar("select count(*) from 户型字典").toInt(), 5);
    }

    void readOnlyResults()
    {
        Query q(conn.get());
        q.addSql("select distinct 户型 from 户型字典");
        q.open();
        QVERIFY(!q.canModify());
        QVERIFY_THROWS_EXCEPTION(DbError, q.edit());
        q.close();
        q.clearSql();
        q.addSql("select max(户型) as m from 户型字典");
        q.open();
        QCOMPARE(q.recordCount(), 1);
        QVERIFY(!q.canModify());
    }

    void emptyResultEditStartsARow()
    {
        Query q(conn.get());
        q.addSql("select * from 户型字典 where 户型='不存在'");
        q.open();
        QVERIFY(q.eof() && q.bof());
        q.edit();
        QCOMPARE(q.state(), Query::State::Insert);
    }
};

HALVORRA_TEST_MAIN(TestQuery)
#include "tst_query.moc"
