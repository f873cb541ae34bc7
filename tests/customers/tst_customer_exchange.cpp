// Customer exchange between offices: export of the query window's result into
// 客户信息Exp, import of a chosen exchange file into 客户信息, and bad files.
#include "common/ExchangeRun.h"
#include "customers/CustomerExchange.h"
#include "customers/Frm_khcx.h"
#include "data/Connection.h"
#include "data/Dmbasic.h"
#include "data/Schema.h"
#include "tests/common/RegisterTests.h"

namespace
{

std::unique_ptr<Connection> openExchange(const QString& path)
{
    auto c = std::make_unique<Connection>(DbKind::Exchange);
    c->setDatabase(path, QString::fromLatin1(Schema::exchangePassword()));
    c->open();
    return c;
}

QList<QVariantList> exchangeRows(const QString& path, const QString& sql)
{
    auto c = openExchange(path);
    QList<QVariantList> out;
    Statement st(*c, sql);
    while (st.step()) {
        QVariantList r;
        for (int i = 0; i < st.columnCount(); ++i)
            r << st.value(i);
        out << r;
    }
    return out;
}

QStringList exchangeKeys(const QString& path)
{
    QStringList keys;
    for (const QVariantList& r :
         exchangeRows(path, QStringLiteral("select 档案号 from 客户信息Exp order by 档案号")))
        keys << r.value(0).toString();
    return keys;
}

void plant(const QString& path, const QStringList& sql)
{
    auto c = openExchange(path);
    for (const QString& s : sql)
        c->executeNative(s);
}

QString exchangeRow(const QString& key, const QString& dzms = QStringLiteral("外来地址"))
{
    return QStringLiteral("insert into 客户信息Exp values ('%1','%2','求租','',10,20,30,40,'空调',"
                          "'%3','%4','%5','高层','三室','有效','城南')")
        .arg(key, dzms, key.left(3), key.mid(3, 6), key.mid(9));
}

void customerExport(QWidget* parent, Query& result)
{
    ExchangeRun::exportResult(parent, result, customerExchangeLayout(), dmbasic->qryKHXX);
}

void customerImport(QWidget* parent)
{
    ExchangeRun::importFile(parent, customerExchangeLayout(), dmbasic->qryKHXX);
}

} // namespace

class TestCustomerExchange : public QObject
{
    Q_OBJECT
    std::unique_ptr<DialogsScope> scope;
    TestDialogs* d = nullptr;
    std::unique_ptr<TestDb> db;

    int customers() const { return db->scalar("select count(*) from 客户信息").toInt(); }
    // The query window's result over every date.
    std::unique_ptr<TFrmKHCX> window(const QString& from = QStringLiteral("000101"))
    {
        auto w = std::make_unique<TFrmKHCX>();
        w->edtRQ1->setText(from);
        w->edtRQ2->setText(QStringLiteral("991231"));
        w->show();
        w->BitBtn5Click();
        return w;
    }

private slots:
    void init()
    {
        scope = std::make_unique<DialogsScope>();
        d = &**scope;
        db = std::make_unique<TestDb>();
        db->connectDmbasic();
        loginAs(Roles::Ordinary);
    }
    void cleanup()
    {
        db.reset();
        scope.reset();
    }

    void exportEmptyResultDoesNothing()
    {
        plant(db->exchangePath(), {exchangeRow("X01261201001")});
        auto w = window(QStringLiteral("990101"));
        QCOMPARE(w->qrykhxx.recordCount(), 0);
        ui::click(w->BitBtn3);
        Query closed(&dmbasic->adoCntnfybase);
        customerExport(nullptr, closed);
        QVERIFY(d->shown.isEmpty());
        QCOMPARE(exchangeKeys(db->exchangePath()), QStringList{"X01261201001"});
    }

    void exportAnswerNoKeepsPrevious()
    {
        plant(db->exchangePath(), {exchangeRow("X01261201001")});
        addCustomer(*db, {"001261203001"});
        auto w = window();
        d->answers = {false};
        ui::click(w->BitBtn3);
        QCOMPARE(d->questions(), QStringList{"是否导出当前的记录？"});
        QVERIFY(d->messages().isEmpty());
        QCOMPARE(exchangeKeys(db->exchangePath()), QStringList{"X01261201001"});
    }

    void exportReplacesPreviousWithTheResult()
    {
        plant(db->exchangePath(),
              {exchangeRow("X01261201001"), exchangeRow("X01261201002"),
               QStringLiteral("insert into 房屋信息Exp (档案号) values ('F01261201001')")});
        addCustomer(*db, {"001261203001", "  城东 \t", "有效", "261203", "中层", "两室", "城东",
                          "求购", 60, 90, 50.5, 80});
        addCustomer(*db, {"001261203002", "城西", "有效", "261203"});
        addCustomer(*db, {"001261203003", "城北", "有效", "261203"});
        auto w = window();
        w->qrykhxx.first();
        ui::click(w->BitBtn3);
        QCOMPARE(d->messages(), QStringList{"有3条信息成功导出。"});
        QCOMPARE(exchangeKeys(db->exchangePath()),
                 QStringList({"001261203001", "001261203002", "001261203003"}));
        QCOMPARE(w->qrykhxx.recNo(), 2); // the export walked the window's own rows
        // The listings of the last listing export stay beside the customers.
        QCOMPARE(exchangeRows(db->exchangePath(), "select count(*) from 房屋信息Exp")[0][0].toInt(),
                 1);
        const QVariantList r = exchangeRows(
            db->exchangePath(), "select * from 客户信息Exp where 档案号='001261203001'")[0];
        QCOMPARE(
            r, QVariantList({"001261203001", "城东", "求购", "商品房", 60.0, 90.0, 50.5, 80.0,
                             "煤气 暖气", "001", "261203", "001", "中层", "两室", "有效", "城东"}));
        QCOMPARE(r.size(), 16); // no name, no phones
    }

    void importTwiceAddsOnce()
    {
        TestDb other;
        plant(other.exchangePath(), {exchangeRow("B02261101001"), exchangeRow("B02261101002")});
        addCustomer(*db, {"001261203001"});
        auto w = window();
        const int before = w->qrykhxx.recordCount();
        d->files = {other.exchangePath()};
        ui::click(w->BitBtn6);
        QCOMPARE(d->questions(), QStringList{});
        QCOMPARE(d->messages(), QStringList{"有2条信息成功导入。"});
        QCOMPARE(d->fileDialogs.last().filter, dmbasic->OpenDBPath.filter);
        QCOMPARE(w->qrykhxx.recordCount(), before); // shown at the next search
        QCOMPARE(customers(), 3);
        const QList<QVariantList> got =
            db->rows("select 公司编号, 录入日期, 序号, 客户姓名, 电话, 手机, 面积2, 需求设施 "
                     "from 客户信息 where 档案号='B02261101002'");
        const QVariantList& r = got.value(0);
        QCOMPARE(r.mid(0, 3), QVariantList({"B02", "261101", "002"}));
        QVERIFY(r[3].isNull() && r[4].isNull() && r[5].isNull()); // name and phones never travel
        QCOMPARE(r[6].toDouble(), 20.0);
        QCOMPARE(r[7].toString(), QString("空调"));
        d->clear();
        d->files = {other.exchangePath()};
        ui::click(w->BitBtn6);
        QCOMPARE(d->messages(), QStringList{"有0条信息成功导入。"});
        QCOMPARE(customers(), 3);
    }

    void storedCustomerNotUpdatedAndDuplicatesOnce()
    {
        TestDb other;
        addCustomer(*db, {"001261203001", "原来的地址"});
        plant(other.exchangePath(),
              {exchangeRow("001261203001", "别处改过"), exchangeRow("C03261101001", "第一行"),
               exchangeRow("C03261101001", "第二行")});
        d->files = {other.exchangePath()};
        customerImport(nullptr);
        QCOMPARE(d->messages(), QStringList{"有1条信息成功导入。"});
        QCOMPARE(db->scalar("select 地址描述 from 客户信息 where 档案号='001261203001'").toString(),
                 QString("原来的地址"));
        QCOMPARE(db->scalar("select 地址描述 from 客户信息 where 档案号='C03261101001'").toString(),
                 QString("第一行"));
    }

    void cancelledFileDialogDoesNothing()
    {
        d->files = {""};
        customerImport(nullptr);
        QVERIFY(d->shown.isEmpty());
        QCOMPARE(customers(), 0);
    }

    void badFileAddsNothing_data()
    {
        QTest::addColumn<QString>("kind");
        QTest::newRow("main database: not the exchange password") << "password";
        QTest::newRow("exchange table missing") << "notable";
        QTest::newRow("over-long address late in the file") << "longlate";
    }
    void badFileAddsNothing()
    {
        QFETCH(QString, kind);
        TestDb other;
        QString path = other.exchangePath();
        plant(path, {exchangeRow("C03261101001"), exchangeRow("C03261101002")});
        if (kind == "password")
            path = other.mainPath();
        else if (kind == "notable")
            plant(path, {"drop table 客户信息Exp"});
        else
            plant(path, {"PRAGMA ignore_check_constraints=ON",
                         exchangeRow("C03261101003", QString(41, QChar(u'长')))});
        d->files = {path};
        customerImport(nullptr);
        QCOMPARE(d->messages(), QStringList{"导入操作失败！"});
        QCOMPARE(customers(), 0);
    }

    void exportFailureReported()
    {
        addCustomer(*db, {"001261203001"});
        auto w = window();
        dmbasic->adoCntnfyExp.executeNative("drop table 客户信息Exp");
        ui::click(w->BitBtn3);
        QCOMPARE(d->messages(), QStringList{"导出操作失败！"});
    }
};

HALVORRA_TEST_MAIN(TestCustomerExchange)
#include "tst_customer_exchange.moc"
