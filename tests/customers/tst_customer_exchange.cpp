// What only the customer exchange does: the sixteen columns that travel, without
// the customer's name and phones, in both directions. What both registers'
// exchanges do is tested in tests/exchange/tst_register_exchange.cpp.
#include "tests/exchange/ExchangeFiles.h"
#include "tests/registers/RegisterTests.h"

// The memo column of the exchange table declared as programs before this one did.
void declareMemoAsEarlier(const QString& path)
{
    auto file = openExchange(path);
    QString now;
    {
        Statement st(*file, "SELECT sql FROM sqlite_master WHERE name='客户信息Exp'");
        QVERIFY(st.step());
        now = st.value(0).toString();
    }
    QVERIFY(now.contains(" MEMO TEXT COLLATE "));
    file->run("DROP TABLE 客户信息Exp");
    file->run(QString(now).replace(" MEMO TEXT COLLATE ", " MEMO COLLATE "));
}

class TestCustomerExchange : public QObject
{
    Q_OBJECT
    WindowTest t;

private slots:
    void init()
    {
        t.start();
        loginAs(Roles::Ordinary);
    }
    void cleanup() { t.stop(); }

    void exportedColumns()
    {
        addCustomer(*t.db, {"001261203001", "  城东 \t", "有效", "261203", "中层", "两室", "城东",
                            "求购", 60, 90, 50.5, 80});
        TFrmKHCX w;
        w.show();
        ui::click(w.BitBtn3);
        QCOMPARE(t.d->messages(), QStringList{"有1条信息成功导出。"});
        const QVariantList r = exchangeRows(t.db->exchangePath(), "select * from 客户信息Exp")[0];
        QCOMPARE(
            r, QVariantList({"001261203001", "城东", "求购", "商品房", 60.0, 90.0, 50.5, 80.0,
                             "煤气 暖气", "001", "261203", "001", "中层", "两室", "有效", "城东"}));
    }

    // Wanted facilities typed as "0571888" travel as typed, also into an exchange
    // file made by an earlier program whose memo column turned such a text into a
    // number.
    void memoTravelsAsTyped()
    {
        declareMemoAsEarlier(t.db->exchangePath());
        addCustomer(*t.db, {"001261203001", "城东", "有效", "261203", "中层", "两室", "城东",
                            "求购", 60, 90, 50.5, 80});
        t.db->exec("update 客户信息 set 需求设施='0571888'");
        TFrmKHCX w;
        w.show();
        ui::click(w.BitBtn3);
        QCOMPARE(t.d->messages(), QStringList{"有1条信息成功导出。"});
        const QVariant v =
            exchangeRows(t.db->exchangePath(), "select 需求设施 from 客户信息Exp")[0][0];
        QCOMPARE(v.typeId(), QMetaType::QString);
        QCOMPARE(v.toString(), QString("0571888"));
    }

    // Such a file's number comes in as its text.
    void numberInEarlierFileImportsAsText()
    {
        TestDb office;
        declareMemoAsEarlier(office.exchangePath());
        plant(office.exchangePath(), {registerNamed("客户").exchangeRow("B02261101002", "外来地址"),
                                      "update 客户信息Exp set 需求设施='0571888'"});
        QCOMPARE(
            exchangeRows(office.exchangePath(), "select typeof(需求设施) from 客户信息Exp")[0][0],
            QVariant(QString("integer")));
        TFrmKHCX w;
        w.show();
        t.d->files = {office.exchangePath()};
        ui::click(w.BitBtn6);
        QCOMPARE(t.d->messages(), QStringList{"有1条信息成功导入。"});
        QCOMPARE(t.db->scalar("select 需求设施 from 客户信息"), QVariant(QString("571888")));
    }

    void importedCustomerHasNoNameOrPhones()
    {
        TestDb office;
        plant(office.exchangePath(),
              {registerNamed("客户").exchangeRow("B02261101002", "外来地址")});
        TFrmKHCX w;
        w.show();
        t.d->files = {office.exchangePath()};
        ui::click(w.BitBtn6);
        QCOMPARE(t.d->messages(), QStringList{"有1条信息成功导入。"});
        const QVariantList r =
            t.db->rows("select 客户姓名, 电话, 手机, 面积2, 需求设施, 地址描述 from 客户信息")
                .value(0);
        QVERIFY(r[0].isNull() && r[1].isNull() && r[2].isNull());
        QCOMPARE(r[3].toDouble(), 20.0);
        QCOMPARE(r[4].toString(), QString("空调"));
        QCOMPARE(r[5].toString(), QString("外来地址"));
    }
};

HALVORRA_TEST_MAIN(TestCustomerExchange)
#include "tst_customer_exchange.moc"
