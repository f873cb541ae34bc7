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

    void openConn()
    {
        conn = std::make_unique<Connection>(DbKind::Main);
        conn->setDatabase(db->mainPath(), QString::fromLatin1(Schema::mainPassword()));
        conn->open();
    }
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
};

HALVORRA_TEST_MAIN(TestQuery)
#include "tst_query.moc"
