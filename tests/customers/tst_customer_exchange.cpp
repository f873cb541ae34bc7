// What only the customer exchange does: the sixteen columns that travel, without
// the customer's name and phones, in both directions. What both registers'
// exchanges do is tested in tests/exchange/tst_register_exchange.cpp.
#include "tests/exchange/ExchangeFiles.h"
#include "tests/registers/RegisterTests.h"

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
