// The import of an exchange file while other workstations work on: reading,
// checking and the duplicate test hold no lock, the rows are written in one short
// transaction at the end; a damaged file is refused with its cause, and nothing
// changes.
#include "data/BulkInsert.h"
#include "data/DbError.h"
#include "data/Dmbasic.h"
#include "data/Query.h"
#include "data/Schema.h"
#include "exchange/ExchangeRun.h"
#include "exchange/core/Exchange.h"
#include "listings/ListingExchange.h"
#include "registers/core/ArchiveNumber.h"
#include "tests/support/TestSupport.h"

namespace
{

std::unique_ptr<Connection> open(DbKind kind, const QString& where)
{
    auto c = std::make_unique<Connection>(kind);
    c->setDatabase(where,
                   kind == DbKind::Main ? Schema::mainPassword() : Schema::exchangePassword());
    c->open();
    return c;
}

// The archive number of the exchange file's row `i` (office C03).
QString key(int i)
{
    return QStringLiteral("C03%1").arg(260000000 + i);
}

// An exchange file holding `n` listings of office C03.
void fillExchange(const QString& path, int n)
{
    auto c = open(DbKind::Exchange, path);
    Connection::Transaction t(*c);
    BulkInsert ins(*c, QStringLiteral("房屋信息Exp"),
                   {"档案号", "小区名称", "公司编号", "录入日期", "序号", "类型"});
    for (int i = 0; i < n; ++i)
        ins.add({key(i), QStringLiteral("外来小区%1").arg(i), "C03", key(i).mid(3, 6),
                 key(i).mid(9), QStringLiteral("有效")});
    ins.finish();
    t.commit();
}

int count(const TestDb& db, const QString& where = QStringLiteral("1=1"))
{
    return db.scalar("select count(*) from 房屋信息 where " + where).toInt();
}

} // namespace

class TestImportLock : public QObject
{
    Q_OBJECT

private slots:
    // Another workstation saves while the import reads the file: the save goes
    // through at once, and a listing it adds that the file also holds is skipped
    // by the import's write, not refused by the unique archive number.
    void saveDuringTheLongPart()
    {
        TestDb db;
        const int rows = 1200, before = count(db);
        fillExchange(db.exchangePath(), rows);
        auto main = open(DbKind::Main, db.mainPath());
        auto file = open(DbKind::Exchange, db.exchangePath());
        auto other = open(DbKind::Main, db.mainPath());
        // Held off for more than a second, the other workstation would give up.
        other->run(TestDb::onServer() ? "SET lock_timeout=1000" : "PRAGMA busy_timeout=1000");
        Query row(other.get()), lookup(other.get());
        row.addSql("select * from 房屋信息 where 档案号=''");
        row.open();
        QString failure;
        int steps = 0;
        ExchangeProgress p;
        p.step = [&] {
            if (++steps != 700) return;
            try {
                row.append();
                row.setValue("小区名称", QStringLiteral("同时保存"));
                ArchiveNumber::numberAndPost(row, lookup, "001", "261209");
                other->execute("insert into 房屋信息 (档案号, 小区名称) values ('" + key(10) +
                               "', '别的工作站先导入')");
            } catch (const DbError& e) {
                failure = e.text();
            }
        };
        QCOMPARE(Exchange::importRows(*main, *file, listingExchangeLayout(), p), rows - 1);
        QVERIFY2(failure.isEmpty(), qPrintable(failure));
        QCOMPARE(steps, rows);
        QCOMPARE(count(db), before + rows + 1);
        QCOMPARE(count(db, "小区名称='同时保存' and 档案号='001261209001'"), 1);
        QCOMPARE(count(db, "档案号='" + key(10) + "' and 小区名称='别的工作站先导入'"), 1);
        QCOMPARE(db.scalar("select count(distinct 档案号) from 房屋信息").toInt(), count(db));
    }

    // Another office's texts are stored as the row set would store them: without
    // control characters (the server could not even hold a NUL).
    void controlCharactersDropped()
    {
        TestDb db;
        {
            auto c = open(DbKind::Exchange, db.exchangePath());
            Statement ins(*c, "INSERT INTO \"房屋信息Exp\" (\"档案号\", \"小区名称\", \"地址\") "
                              "VALUES (?, ?, ?)");
            ins.bind(1, key(1));
            ins.bind(2, QStringLiteral("外来") + QChar(0) + QStringLiteral("小\t区"));
            ins.bind(3, QChar(0x1F) + QStringLiteral("路") + QChar(0x85));
            ins.step();
        }
        auto main = open(DbKind::Main, db.mainPath());
        auto file = open(DbKind::Exchange, db.exchangePath());
        QCOMPARE(Exchange::importRows(*main, *file, listingExchangeLayout()), 1);
        QCOMPARE(
            db.scalar("select 小区名称 || '/' || 地址 from 房屋信息 where 档案号='" + key(1) + "'")
                .toString(),
            QStringLiteral("外来小区/路"));
    }

    // A damaged exchange file is refused before any row is read: the message says
    // so, and neither the file nor the main database changes.
    void damagedFileRefused()
    {
        TestDb db;
        db.connectDmbasic();
        TestDb sender;
        fillExchange(sender.exchangePath(), 600);
        damagePage(sender.exchangePath(), Schema::exchangePassword(), "房屋信息Exp");
        const QByteArray file = fileHash(sender.exchangePath());
        const int before = count(db);
        DialogsScope d;
        d->files.push_back(sender.exchangePath());
        ExchangeRun::importFile(nullptr, listingExchangeLayout(), dmbasic->qryFWXX);
        QCOMPARE(d->messages(),
                 QStringList{"导入操作失败！\n交换数据库文件已损坏：" + sender.exchangePath()});
        QCOMPARE(count(db), before);
        QCOMPARE(fileHash(sender.exchangePath()), file);
    }
};

HALVORRA_TEST_MAIN(TestImportLock)
#include "tst_import_lock.moc"
