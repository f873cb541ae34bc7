// What only the customer record card does: the boxes it shows but does not let
// change, the sizes of the boxes over the lists, and an address description
// cleared and saved as "不限". What both cards do is tested in
// tests/registers/tst_register_card.cpp.
#include "customers/Frm_LLKH.h"
#include "tests/registers/RegisterTests.h"

class TestCustomerCard : public QObject, private QueryTest
{
    Q_OBJECT

private slots:
    void init()
    {
        start(Roles::Ordinary);
        addCustomer(*db, {"001261203001", "城东人民路", "有效", "261203", "中层", "两室", "城东",
                          "求购", 60, 90, 50, 80});
        open("客户")->rows().first();
    }
    void cleanup() { stop(); }

    void shownButNotChangeable()
    {
        withCard(w.get(), d, "001261203001", [&](RecordCard* c) {
            QCOMPARE(c->windowTitle(), QString("查看客户信息客户"));
            const auto box = [c](const char* name) { return ui::find<QLineEdit>(c, name); };
            for (const char* name : {"DBEdit1", "DBEdit3", "DBEdit4", "DBEdit12", "DBEdit13"})
                QVERIFY2(box(name)->isReadOnly(), name);
            QCOMPARE(box("DBEdit1")->text(), QString("求购"));
            QCOMPARE(box("DBEdit3")->text(), QString("商品房"));
            QCOMPARE(box("DBEdit5")->text(), QString("60.00"));
            QCOMPARE(box("DBEdit8")->text(), QString("80.00"));
            QCOMPARE(box("DBEdit4")->width(), 89);
            QCOMPARE(ui::find(c, "cbHX")->width(), 105);
            QCOMPARE(box("DBEdit13")->width(), 153);
            QCOMPARE(c->Button1->text(), QString("保存"));
        });
    }

    void clearedAddressIsSavedAsAny()
    {
        withCard(w.get(), d, "001261203001", [&](RecordCard* c) {
            ui::type(ui::find(c, "DBEdit2"), "");
            ui::click(c->Button1);
            QCOMPARE(ui::find<QLineEdit>(c, "DBEdit2")->text(), QString("不限"));
            QVERIFY(d->messages().isEmpty());
        });
        QCOMPARE(QueryTest::stored("客户信息", "001261203001", "地址描述").toString(),
                 QString("不限"));
    }
};

HALVORRA_TEST_MAIN(TestCustomerCard)
#include "tst_customer_card.moc"
