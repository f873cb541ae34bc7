// Listing exchange between offices: export into the exchange database, import
// from a chosen exchange file, and what happens to bad files and failures.
#include "data/Connection.h"
#include "data/DbError.h"
#include "data/Dmbasic.h"
#include "data/Query.h"
#include "data/Schema.h"
#include "data/Text.h"
#include "exchange/ExchangeRun.h"
#include "exchange/core/Exchange.h"
#include "listings/ListingExchange.h"
#include "pickers/U_Step.h"
#include "session/PubVars.h"
#include "tests/exchange/ExchangeFiles.h"
#include "tests/registers/RegisterTests.h"
#include "tools/lib/DemoData.h"

#include <QFile>
#include <QProcess>
#include <QProgressBar>
#include <QThread>
#include <QTimer>
#include <QtTest>
#include <cstdio>
#include <memory>

namespace
{

const QString kFailImport = QStringLiteral("导入操作失败！");
const QString kFailExport = QStringLiteral("导出操作失败！");

// One office: its database pair with its company code.
struct Office {
    TestDb db;
    QString code;
    explicit Office(const QString& c) : code(c)
    {
        db.exec(QStringLiteral("update 公司信息 set 公司代码='%1'").arg(c));
    }
    void login()
    {
        db.connectDmbasic();
        GSDM = code;
    }
    // A listing entered here, owner's data included.
    void add(const QString& date, const QString& seq,
             const QString& estate = QStringLiteral("阳光花园"),
             const QString& type = QStringLiteral("有效"))
    {
        db.exec(
            QStringLiteral(
                "insert into 房屋信息 (档案号,小区名称,地址,楼层,户型,位置,方式,权属,房主姓名,电话,"
                "手机,类型,期限,备注,公司编号,录入日期,序号,新旧程度,公交线路,房屋结构文件,"
                "产权证号,"
                "看房情况,设施,房屋面积,信息价格,最低价格) values ('%1','%2','人民路8号','中层',"
                "'两室一厅','城东','出售','商品房','张三','1234567','13800000000','%3','261231',"
                "'急售','%4','%5','%6','5','1路','/tmp/a.png','证123','周末可看','煤气',88.5,"
                "300000,280000)")
                .arg(code + date + seq, Text::quoted(estate), type, code, date, seq));
    }
    int count() const { return db.scalar(QStringLiteral("select count(*) from 房屋信息")).toInt(); }
};

// The query window's result: the first search over a date range.
std::unique_ptr<Query> search(const QString& from = QStringLiteral("000101"),
                              const QString& to = QStringLiteral("991231"))
{
    auto q = std::make_unique<Query>(&dmbasic->adoCntnfybase);
    q->addSql(QStringLiteral("select * from 房屋信息 "));
    q->addSql(QStringLiteral("where 档案号<>\"\" "));
    q->addSql(QStringLiteral("and 录入日期>=\"%1\" ").arg(from));
    q->addSql(QStringLiteral("and 录入日期<=\"%1\" ").arg(to));
    q->open();
    return q;
}

QStringList exchangeKeys(const QString& path)
{
    return exchangeKeys(path, QStringLiteral("房屋信息Exp"));
}

QString exchangeRow(const QString& key, const QString& estate = QStringLiteral("外来小区"))
{
    return registerNamed(QStringLiteral("房源")).exchangeRow(key, estate);
}

// 导出 and 导入 of the listing query window.
void listingExport(QWidget* parent, Query& result)
{
    ExchangeRun::exportResult(parent, result, listingExchangeLayout(), dmbasic->qryFWXX);
}

void listingImport(QWidget* parent)
{
    ExchangeRun::importFile(parent, listingExchangeLayout(), dmbasic->qryFWXX);
}

// The worker of the killed-import test: imports slowly and says when it is busy.
int runWorker(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    Connection main(DbKind::Main);
    main.setDatabase(QString::fromUtf8(argv[2]), QString::fromLatin1(Schema::mainPassword()));
    main.open();
    auto file = openExchange(QString::fromUtf8(argv[3]));
    int done = 0;
    ExchangeProgress p;
    p.step = [&] {
        if (++done == 100) {
            std::fputs("busy\n", stdout);
            std::fflush(stdout);
        }
        if (done >= 100) QThread::msleep(2);
    };
    Exchange::importRows(main, *file, listingExchangeLayout(), p);
    return 0;
}

} // namespace

class TestListingExchange : public QObject
{
    Q_OBJECT
private slots:
    void exportReplacesPreviousWithCopiedValues();
    void importOwnExportAddsOnlyDeleted();
    void importKeepsOtherOfficesData();
    void changedListingNotUpdated();
    void sameKeyTwiceInFileImportsOnce();
    void badFileAddsNothing_data();
    void badFileAddsNothing();
    void exportFailureKeepsPreviousExport();
    void killedImportLeavesMainIntact();
    void twoOfficesExchangeBothWays();
    void progressCountsSourceRows();
};

void TestListingExchange::exportReplacesPreviousWithCopiedValues()
{
    DialogsScope d;
    Office a(QStringLiteral("A01"));
    a.login();
    for (int i = 1; i <= 10; ++i)
        a.add(QStringLiteral("261201"), QStringLiteral("%1").arg(i, 3, 10, QLatin1Char('0')));
    a.add(QStringLiteral("261203"), QStringLiteral("001"), QStringLiteral("  O'Brien \"家园\" \t"));
    a.add(QStringLiteral("261203"), QStringLiteral("002"));
    a.add(QStringLiteral("261203"), QStringLiteral("003"));
    a.db.exec(
        QStringLiteral("update 房屋信息 set 信息价格=null, 楼层=' ' where 档案号='A01261203002'"));
    auto q = search();
    q->setRecNo(2);
    // The progress window is up while the rows are copied, sized to the result.
    int shownMax = -1;
    QTimer::singleShot(0, [&] {
        for (QWidget* w : QApplication::topLevelWidgets())
            if (auto* s = qobject_cast<TFrmStep*>(w); s && s->isVisible())
                shownMax = s->ProgressBar1->maximum();
    });
    listingExport(nullptr, *q);
    QCOMPARE(shownMax, 13);
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    for (QWidget* w : QApplication::topLevelWidgets())
        QVERIFY(!qobject_cast<TFrmStep*>(w));
    QCOMPARE(d->messages().last(), QStringLiteral("有13条信息成功导出。"));

    q = search(QStringLiteral("261203"));
    QCOMPARE(q->recordCount(), 3);
    listingExport(nullptr, *q);
    QCOMPARE(d->messages().last(), QStringLiteral("有3条信息成功导出。"));
    QCOMPARE(q->recNo(), 2); // the last row of the result
    QCOMPARE(exchangeKeys(a.db.exchangePath()),
             (QStringList{"A01261203001", "A01261203002", "A01261203003"}));

    auto c = openExchange(a.db.exchangePath());
    Statement st(*c,
                 QStringLiteral(
                     "select 小区名称, 信息价格, 楼层, 房屋面积, typeof(信息价格) from 房屋信息Exp "
                     "order by 档案号"));
    QVERIFY(st.step());
    QCOMPARE(st.value(0).toString(), QStringLiteral("O'Brien \"家园\""));
    QCOMPARE(st.value(3).toDouble(), 88.5);
    QVERIFY(st.step());
    QCOMPARE(st.value(1).toDouble(), 0.0); // a missing number travels as 0
    QCOMPARE(st.value(4).toString(), QStringLiteral("real"));
    QVERIFY(st.value(2).isNull()); // blank text trimmed to nothing
}

void TestListingExchange::importOwnExportAddsOnlyDeleted()
{
    DialogsScope d;
    Office a(QStringLiteral("A01"));
    a.login();
    for (int i = 1; i <= 5; ++i)
        a.add(QStringLiteral("261201"), QStringLiteral("%1").arg(i, 3, 10, QLatin1Char('0')));
    auto q = search();
    listingExport(nullptr, *q);

    d->files.push_back(a.db.exchangePath());
    listingImport(nullptr);
    QCOMPARE(d->messages().last(), QStringLiteral("有0条信息成功导入。"));
    QCOMPARE(d->fileDialogs.last().filter, dmbasic->OpenDBPath.filter);

    a.db.exec(QStringLiteral("delete from 房屋信息 where 序号 in ('002','004')"));
    d->files.push_back(a.db.exchangePath());
    listingImport(nullptr);
    QCOMPARE(d->messages().last(), QStringLiteral("有2条信息成功导入。"));
    QCOMPARE(a.count(), 5);

    d->files.push_back(a.db.exchangePath());
    listingImport(nullptr);
    QCOMPARE(d->messages().last(), QStringLiteral("有0条信息成功导入。"));
    QCOMPARE(a.count(), 5);
    // The import connection stays on the chosen file.
    QVERIFY(dmbasic->adoCntn.isOpen());
    QCOMPARE(dmbasic->adoCntn.path(), a.db.exchangePath());
    QCOMPARE(dmbasic->qryFWXX.connection(), &dmbasic->adoCntn);
}

void TestListingExchange::importKeepsOtherOfficesData()
{
    DialogsScope d;
    Office a(QStringLiteral("A01")), b(QStringLiteral("B02"));
    a.login();
    a.add(QStringLiteral("261115"), QStringLiteral("007"), QStringLiteral("  湖景苑 "),
          QStringLiteral("无效"));
    listingExport(nullptr, *search());

    b.login();
    b.add(QStringLiteral("261115"), QStringLiteral("001"));
    d->files.push_back(a.db.exchangePath());
    listingImport(nullptr);
    QCOMPARE(d->messages().last(), QStringLiteral("有1条信息成功导入。"));
    const auto rows = b.db.rows(QStringLiteral(
        "select 公司编号, 录入日期, 序号, 类型, 期限, 小区名称, 房屋面积, 信息价格, 房主姓名, "
        "电话, 手机, 最低价格, "
        "产权证号, 备注, 房屋结构文件, 看房情况 from 房屋信息 where 档案号='A01261115007'"));
    QCOMPARE(rows.size(), 1);
    const QVariantList r = rows.first();
    QCOMPARE(r[0].toString(), QStringLiteral("A01"));
    QCOMPARE(r[1].toString(), QStringLiteral("261115"));
    QCOMPARE(r[2].toString(), QStringLiteral("007"));
    QCOMPARE(r[3].toString(), QStringLiteral("无效"));
    QCOMPARE(r[4].toString(), QStringLiteral("261231"));
    QCOMPARE(r[5].toString(), QStringLiteral("湖景苑"));
    QCOMPARE(r[6].toDouble(), 88.5);
    QCOMPARE(r[7].toDouble(), 300000.0);
    for (int i = 8; i < r.size(); ++i)
        QVERIFY2(r[i].isNull(), qPrintable(QString::number(i)));
    // This office's numbering counts only its own code.
    QCOMPARE(b.db
                 .scalar(QStringLiteral(
                     "select max(序号) from 房屋信息 where 公司编号='B02' and 录入日期='261115'"))
                 .toString(),
             QStringLiteral("001"));
}

void TestListingExchange::changedListingNotUpdated()
{
    DialogsScope d;
    Office a(QStringLiteral("A01")), b(QStringLiteral("B02"));
    a.login();
    a.add(QStringLiteral("261201"), QStringLiteral("001"), QStringLiteral("旧名"));
    listingExport(nullptr, *search());
    b.login();
    d->files.push_back(a.db.exchangePath());
    listingImport(nullptr);
    a.login();
    a.db.exec(QStringLiteral("update 房屋信息 set 小区名称='新名', 信息价格=1"));
    listingExport(nullptr, *search());
    b.login();
    d->files.push_back(a.db.exchangePath());
    listingImport(nullptr);
    QCOMPARE(d->messages().last(), QStringLiteral("有0条信息成功导入。"));
    QCOMPARE(b.db.scalar(QStringLiteral("select 小区名称 from 房屋信息")).toString(),
             QStringLiteral("旧名"));
}

void TestListingExchange::sameKeyTwiceInFileImportsOnce()
{
    DialogsScope d;
    Office b(QStringLiteral("B02"));
    b.login();
    TestDb other;
    plant(other.exchangePath(),
          {exchangeRow(QStringLiteral("C03261201001"), QStringLiteral("第一")),
           exchangeRow(QStringLiteral("C03261201001"), QStringLiteral("第二")),
           exchangeRow(QStringLiteral(" C03261201002 "), QStringLiteral("有空格")),
           exchangeRow(QStringLiteral("C03261201002"), QStringLiteral("无空格")),
           // Letters compare as the archive-number index does.
           exchangeRow(QStringLiteral("c03261201001"), QStringLiteral("小写"))});
    d->files.push_back(other.exchangePath());
    listingImport(nullptr);
    QCOMPARE(d->messages().last(), QStringLiteral("有2条信息成功导入。"));
    QCOMPARE(
        b.db.scalar(QStringLiteral("select 小区名称 from 房屋信息 where 档案号='C03261201001'"))
            .toString(),
        QStringLiteral("第一"));
    QCOMPARE(
        b.db.scalar(QStringLiteral("select 小区名称 from 房屋信息 where 档案号='C03261201002'"))
            .toString(),
        QStringLiteral("有空格"));
}

void TestListingExchange::badFileAddsNothing_data()
{
    QTest::addColumn<QString>("kind");
    QTest::newRow("main database of another office") << "main";
    QTest::newRow("not a database") << "text";
    QTest::newRow("plain unencrypted file") << "plain";
    QTest::newRow("other password") << "password";
    QTest::newRow("exchange table missing") << "notable";
    QTest::newRow("column missing") << "nocolumn";
    QTest::newRow("number column as text") << "coltype";
    QTest::newRow("over-long archive number") << "long";
    QTest::newRow("over-long estate name late in file") << "longlate";
    QTest::newRow("text in a number column") << "textnumber";
    QTest::newRow("binary data") << "blob";
    QTest::newRow("damaged page") << "damaged";
}

void TestListingExchange::badFileAddsNothing()
{
    QFETCH(QString, kind);
    DialogsScope d;
    Office b(QStringLiteral("B02"));
    b.add(QStringLiteral("261201"), QStringLiteral("001"));
    b.login();
    TestDb other;
    QString path = other.exchangePath();
    QStringList good;
    for (int i = 1; i <= 5; ++i)
        good << exchangeRow(QStringLiteral("C03261201%1").arg(i, 3, 10, QLatin1Char('0')));
    const auto makeRaw = [&](const QByteArray& key, const QStringList& sql) {
        path = other.dir() + QStringLiteral("/raw.mdb");
        Connection raw(DbKind::Exchange);
        raw.setDatabase(path, QString::fromLatin1(key));
        raw.openRaw();
        for (const QString& s : sql)
            raw.run(s);
    };
    QStringList exchangeTables;
    for (const auto& t : Schema::exchangeTables())
        exchangeTables << Schema::createTableSql(t);
    const QString appId = QStringLiteral("PRAGMA application_id=%1").arg(Schema::kExchangeAppId);

    if (kind == "main") {
        path = other.mainPath();
    } else if (kind == "text") {
        path = other.dir() + QStringLiteral("/notes.mdb");
        QFile f(path);
        QVERIFY(f.open(QIODevice::WriteOnly));
        f.write("这不是数据库文件，只是一些文字。\n");
    } else if (kind == "plain") {
        makeRaw({}, QStringList{appId} + exchangeTables + good);
    } else if (kind == "password") {
        makeRaw("another-password", QStringList{appId} + exchangeTables + good);
    } else if (kind == "notable") {
        plant(path, {QStringLiteral("drop table 房屋信息Exp")});
    } else if (kind == "nocolumn") {
        plant(path, {QStringLiteral("create table t as select 档案号, 小区名称, 地址, 房屋面积, "
                                    "楼层, 户型, 信息价格, 设施, "
                                    "位置, 方式, 权属, 类型, 期限, 公司编号, 录入日期, 序号, "
                                    "新旧程度 from 房屋信息Exp"),
                     QStringLiteral("drop table 房屋信息Exp"),
                     QStringLiteral("alter table t rename to 房屋信息Exp")});
    } else if (kind == "coltype") {
        QStringList sql{
            appId,
            QStringLiteral(
                "create table 房屋信息Exp (档案号 TEXT(12), 小区名称 TEXT(30), 地址 "
                "TEXT(50), 房屋面积 TEXT(10), 楼层 TEXT(10), 户型 TEXT(20), 信息价格 "
                "FLOAT, 设施 TEXT(40), 位置 TEXT(20), 方式 TEXT(10), 权属 TEXT(10), 类型 "
                "TEXT(4), 期限 TEXT(10), 公司编号 TEXT(3), 录入日期 TEXT(6), 序号 TEXT(3), "
                "新旧程度 TEXT(4), 公交线路 TEXT(60))"),
            Schema::createTableSql(Schema::exchangeTables()[1])};
        makeRaw(Schema::exchangePassword(), sql + good);
    } else if (kind == "long") {
        plant(path, {exchangeRow(QStringLiteral("C03261201001X"))});
    } else if (kind == "longlate") {
        plant(path, good + QStringList{exchangeRow(QStringLiteral("C03261201009"),
                                                   QString(31, QChar(0x623F)))});
    } else if (kind == "textnumber") {
        plant(path,
              good + QStringList{exchangeRow(QStringLiteral("C03261201009"), QStringLiteral("名"))
                                     .replace(QStringLiteral(",60,"), QStringLiteral(",'六十',"))});
    } else if (kind == "blob") {
        plant(path, good + QStringList{QStringLiteral(
                               "update 房屋信息Exp set 地址=x'00ff10' where 序号='004'")});
    } else if (kind == "damaged") {
        QStringList many = good;
        for (int i = 10; i < 900; ++i)
            many << exchangeRow(QStringLiteral("C03261202%1").arg(i, 3, 10, QLatin1Char('0')),
                                QString(28, QChar(0x56ED)));
        plant(path, many);
        QFile f(path);
        QVERIFY(f.open(QIODevice::ReadWrite));
        QVERIFY(f.size() > 64 * 1024);
        f.seek(f.size() / 2);
        f.write(QByteArray(300, '\x5a'));
    }
    const int before = b.count();
    d->files.push_back(path);
    listingImport(nullptr);
    // A damaged file is named as such in a second line.
    QCOMPARE(d->messages(),
             QStringList{kind == "damaged" ? kFailImport + "\n交换数据库文件已损坏：" + path
                                           : kFailImport});
    QCOMPARE(b.count(), before);
    QVERIFY(b.db.isSound());
}

void TestListingExchange::exportFailureKeepsPreviousExport()
{
    DialogsScope d;
    Office a(QStringLiteral("A01"));
    a.login();
    for (int i = 1; i <= 4; ++i)
        a.add(QStringLiteral("261201"), QStringLiteral("%1").arg(i, 3, 10, QLatin1Char('0')));
    listingExport(nullptr, *search());
    const QStringList previous = exchangeKeys(a.db.exchangePath());
    a.add(QStringLiteral("261202"), QStringLiteral("001"));
    auto q = search();
    {
        // Another workstation holds the exchange file for writing.
        auto holder = openExchange(a.db.exchangePath());
        holder->run(QStringLiteral("BEGIN IMMEDIATE"));
        d->clear();
        listingExport(nullptr, *q);
        // The fixed message, then its cause on a second line.
        QCOMPARE(d->messages().size(), 1);
        QVERIFY2(d->messages()[0].startsWith(kFailExport + "\n数据库正被其他工作站写入"),
                 qPrintable(d->messages()[0]));
        holder->run(QStringLiteral("ROLLBACK"));
    }
    QCOMPARE(exchangeKeys(a.db.exchangePath()), previous);

    // A value the exchange table cannot hold, met part-way through.
    dmbasic->adoCntnfyExp.run(
        QStringLiteral("CREATE TRIGGER refuse BEFORE INSERT ON 房屋信息Exp WHEN "
                       "NEW.档案号='A01261202001' BEGIN SELECT RAISE(ABORT, 'refused'); END"));
    q = search();
    d->clear();
    listingExport(nullptr, *q);
    QCOMPARE(d->messages(), QStringList{kFailExport + "\nrefused"});
    QCOMPARE(exchangeKeys(a.db.exchangePath()), previous);

    // The exchange file gone.
    QFile::rename(a.db.exchangePath(), a.db.exchangePath() + QStringLiteral(".moved"));
    d->clear();
    listingExport(nullptr, *q);
    QCOMPARE(d->messages(),
             QStringList{kFailExport + "\n交换数据库文件不存在：" + a.db.exchangePath()});
}

void TestListingExchange::killedImportLeavesMainIntact()
{
    Office a(QStringLiteral("A01")), b(QStringLiteral("B02"));
    DemoData::Options o;
    o.listings = 3000;
    o.customers = 0;
    o.companyCode = QStringLiteral("A01");
    DemoData::fill(a.db.mainPath(), o);
    {
        Connection main(DbKind::Main);
        main.setDatabase(a.db.mainPath(), QString::fromLatin1(Schema::mainPassword()));
        main.open();
        auto ex = openExchange(a.db.exchangePath());
        QCOMPARE(Exchange::exportRows(*ex, listingExchangeLayout(), main,
                                      QStringLiteral("select * from 房屋信息")),
                 3000);
    }
    b.add(QStringLiteral("261201"), QStringLiteral("001"));
    const int before = b.count();
    QProcess worker;
    worker.start(QCoreApplication::applicationFilePath(),
                 {QStringLiteral("--worker"), b.db.mainPath(), a.db.exchangePath()});
    QVERIFY(worker.waitForStarted());
    QByteArray out;
    while (!out.contains("busy") && worker.state() == QProcess::Running) {
        worker.waitForReadyRead(1000);
        out += worker.readAllStandardOutput();
    }
    QVERIFY2(out.contains("busy"), worker.readAllStandardError().constData());
    worker.kill();
    QVERIFY(worker.waitForFinished());
    QVERIFY(b.db.isSound());
    QCOMPARE(b.count(), before);

    // Run to the end it adds all of them.
    worker.start(QCoreApplication::applicationFilePath(),
                 {QStringLiteral("--worker"), b.db.mainPath(), a.db.exchangePath()});
    QVERIFY(worker.waitForFinished(120000));
    QCOMPARE(worker.exitCode(), 0);
    QCOMPARE(b.count(), before + 3000);
}

void TestListingExchange::twoOfficesExchangeBothWays()
{
    DialogsScope d;
    Office a(QStringLiteral("A01")), b(QStringLiteral("B02"));
    QSRQ = QStringLiteral("261201");
    CZRQ = QStringLiteral("261209");
    a.add(QStringLiteral("261203"), QStringLiteral("001"), QStringLiteral("甲小区"));
    a.add(QStringLiteral("261205"), QStringLiteral("001"), QStringLiteral("乙小区"));
    b.add(QStringLiteral("261204"), QStringLiteral("001"), QStringLiteral("丙小区"));
    b.add(QStringLiteral("261101"), QStringLiteral("001"), QStringLiteral("上月小区"));

    a.login();
    auto qa = search(QSRQ, CZRQ);
    listingExport(nullptr, *qa);
    b.login();
    auto qb = search(QSRQ, CZRQ);
    listingExport(nullptr, *qb);

    // The files travel: each office imports the other's copy.
    const QString toB = b.db.dir() + QStringLiteral("/from-a.mdb");
    const QString toA = a.db.dir() + QStringLiteral("/from-b.mdb");
    QVERIFY(QFile::copy(a.db.exchangePath(), toB));
    QVERIFY(QFile::copy(b.db.exchangePath(), toA));
    d->files.push_back(toB);
    listingImport(nullptr);
    QCOMPARE(qb->recordCount(), 1); // the grid shows the last search until the next
    a.login();
    d->files.push_back(toA);
    listingImport(nullptr);
    QCOMPARE(d->messages(), (QStringList{"有2条信息成功导出。", "有1条信息成功导出。",
                                         "有2条信息成功导入。", "有1条信息成功导入。"}));

    const auto estates = [](Query& q) {
        QStringList s;
        for (q.first(); !q.eof(); q.next())
            s << q.text(QStringLiteral("小区名称"));
        s.sort();
        return s;
    };
    auto q = search(QSRQ, CZRQ);
    QCOMPARE(estates(*q), (QStringList{"丙小区", "乙小区", "甲小区"}));
    b.login();
    q = search(QSRQ, CZRQ);
    QCOMPARE(estates(*q), (QStringList{"丙小区", "乙小区", "甲小区"}));
}

void TestListingExchange::progressCountsSourceRows()
{
    Office a(QStringLiteral("A01"));
    for (int i = 1; i <= 7; ++i)
        a.add(QStringLiteral("261201"), QStringLiteral("%1").arg(i, 3, 10, QLatin1Char('0')));
    a.login();
    int total = -1, steps = 0;
    ExchangeProgress p{[&](int t) { total = t; }, [&] { ++steps; }};
    auto q = search();
    QCOMPARE(Exchange::exportRows(dmbasic->adoCntnfyExp, listingExchangeLayout(), *q, p), 7);
    QCOMPARE(total, 7);
    QCOMPARE(steps, 7);
    total = -1;
    steps = 0;
    // Every exchange row is a step, also those skipped as present already.
    auto file = openExchange(a.db.exchangePath());
    QCOMPARE(Exchange::importRows(dmbasic->adoCntnfybase, *file, listingExchangeLayout(), p), 0);
    QCOMPARE(total, 7);
    QCOMPARE(steps, 7);
}

int main(int argc, char** argv)
{
    if (argc >= 4 && qstrcmp(argv[1], "--worker") == 0) return runWorker(argc, argv);
    TestListingExchange tc;
    return runTests(argc, argv, &tc);
}

#include "tst_listingexchange.moc"
