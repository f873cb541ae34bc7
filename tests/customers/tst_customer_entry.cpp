// What only the customer entry window does: its check rules, opening with "不限"
// chosen and its defaults, the saved row, a customer saved without preferences,
// the address stored as "不限", unchecked amounts, customers counted apart from
// listings, and the choices kept for the next customer. What both entry windows
// do is tested in tests/registers/tst_register_entry.cpp.
#include "customers/core/CustomerEntryChecks.h"
#include "tests/registers/RegisterTests.h"
#include "widgets/CharLimit.h"

#include <QLabel>

class TestCustomerEntry : public QObject, private EntryTest
{
    Q_OBJECT
    void open() { EntryTest::open(QStringLiteral("客户")); }
    QComboBox* list(const QString& name) const { return ui::find<QComboBox>(w.get(), name); }
    void apply(const QStringList& changes) { putAll(w.get(), changes); }

    // The least a customer needs: a name and one way to reach them.
    void fillMinimal()
    {
        set("DBEdit9", QStringLiteral("张敏"));
        set("DBEdit10", "0101234567");
    }
    int customers() const { return count(QStringLiteral("客户信息")); }
    void setDemandModes(const QStringList& modes)
    {
        db->exec("delete from 需求方式字典");
        for (const QString& m : modes)
            db->exec("insert into 需求方式字典 values ('" + m + "')");
    }

private slots:
    void init() { start(); }
    void cleanup() { stop(); }

    void checkRules_data()
    {
        QTest::addColumn<QStringList>("entry"); // mode, ownership, name, phone, mobile
        QTest::addColumn<int>("failing");       // 0 = passes
        QTest::newRow("all given") << QStringList{"求购", "私房", "王", "1", ""} << 0;
        QTest::newRow("mode blanks only") << QStringList{" \t", "私房", "王", "1", ""} << 1;
        QTest::newRow("buying without ownership") << QStringList{" 求购 ", "", "王", "1", ""} << 2;
        QTest::newRow("renting without ownership") << QStringList{"求租", "", "王", "1", ""} << 0;
        QTest::newRow("other mode without ownership")
            << QStringList{"租购", "", "王", "1", ""} << 0;
        QTest::newRow("name blanks only") << QStringList{"求租", "", "  ", "1", ""} << 3;
        QTest::newRow("mobile only") << QStringList{"求租", "", "王", "", "139"} << 0;
        QTest::newRow("both blank") << QStringList{"求租", "", "王", " ", "\n"} << 4;
        QTest::newRow("first failing wins") << QStringList{"", "", "", "", ""} << 1;
    }
    void checkRules()
    {
        QFETCH(QStringList, entry);
        QFETCH(int, failing);
        const auto f = firstFailedCustomerCheck({entry[0], entry[1], entry[2], entry[3], entry[4]});
        QCOMPARE(f ? f->number : 0, failing);
        QCOMPARE(storedAddress(QStringLiteral(" \t")), QStringLiteral("不限"));
        QCOMPARE(storedAddress(QStringLiteral(" 城东 ")), QStringLiteral(" 城东 "));
    }

    void opensWithListsDefaultsAndFocus()
    {
        open();
        QCOMPARE(w->windowTitle(), QStringLiteral("客户信息输入窗口"));
        QCOMPARE(w->findChild<QLabel*>("Label_Title")->text(), QStringLiteral("客户信息档案卡"));
        // "不限" in front of floor, house type and location, and chosen.
        for (const auto& [name, entries] :
             {std::pair{"cbLC", 6}, std::pair{"cbHX", 8}, std::pair{"cbWZ", 7}}) {
            QCOMPARE(list(name)->count(), entries + 1);
            QCOMPARE(list(name)->itemText(0), QStringLiteral("不限"));
            QCOMPARE(list(name)->currentText(), QStringLiteral("不限"));
        }
        QCOMPARE(list("cbFS")->count(), 2);
        QCOMPARE(list("cbFS")->currentText(), QStringLiteral("求购"));
        QCOMPARE(list("cbQS")->count(), 5);
        // The first demand mode is "求购": the rule applied at opening offers 权属.
        QVERIFY(list("cbQS")->isEnabled());
        QCOMPARE(list("cbQS")->currentText(), QStringLiteral("商品房"));

        Query& q = w->row();
        QCOMPARE(q.state(), Query::State::Insert);
        QCOMPARE(q.text("公司编号"), QString("001"));
        QCOMPARE(q.text("录入日期"), QString("261209"));
        QCOMPARE(q.text("地址描述"), QStringLiteral("不限"));
        QCOMPARE(q.text("类型"), QStringLiteral("有效"));
        for (const char* amount : {"面积1", "面积2", "价格1", "价格2"}) {
            QVERIFY(!q.isNull(amount));
            QCOMPARE(q.number(amount), 0.0);
        }
        QVERIFY(q.isNull("档案号"));
        QCOMPARE(ui::find<QLineEdit>(w.get(), "DBEdit5")->text(), QStringLiteral("0.00"));
        QCOMPARE(ui::find<QLineEdit>(w.get(), "DBEdit2")->text(), QStringLiteral("不限"));
        QCOMPARE(charLimit(ui::find<QLineEdit>(w.get(), "DBEdit9")), 10);
        QCOMPARE(w->focusWidget(), c("DBEdit2"));
        // Only the empty result is read: stored customers never show.
        QCOMPARE(w->row().sql(), QStringList({QStringLiteral("select * from 客户信息 "),
                                              QStringLiteral("where 档案号=''")}));
    }

    // 权属 is asked for only when buying and no ownership kind can be chosen.
    void emptyOwnershipDictionaryRefusesBuying()
    {
        db->exec("delete from 权属字典");
        open();
        fillMinimal();
        save(false);
        QCOMPARE(d->messages(), QStringList{QStringLiteral("请选择权属")});
        QCOMPARE(customers(), 0);
        set("cbFS", QStringLiteral("求租"));
        save(false);
        QCOMPARE(customers(), 1);
    }

    void savedRowHoldsEverything()
    {
        open();
        apply({"DBEdit2= 城东 O'Neil \"湖\" ", "cbQS=私房", "DBEdit5=80", "DBEdit6=60", "DBEdit7=0",
               "DBEdit8=350000.5", "cbLC=中层", "cbHX=两室一厅", "cbWZ=城东", "DBMemo1=有车位",
               "DBEdit9=O'Brien", "DBEdit11=13800000000"});
        save(false);
        QCOMPARE(d->questions(), QStringList{QStringLiteral("是否增加新的记录?")});
        QCOMPARE(d->messages(), QStringList());
        QVERIFY(!w->isVisible());
        const auto r = db->rows("select 档案号,序号,公司编号,录入日期,类型,需求方式,权属,楼层,"
                                "户型,位置,地址描述,面积1,面积2,价格1,价格2,需求设施,客户姓名,"
                                "电话,手机 from 客户信息");
        QCOMPARE(r.size(), 1);
        const QVariantList& v = r[0];
        const QVariantList expected = {"001261209001",
                                       "001",
                                       QString("001"),
                                       QString("261209"),
                                       QStringLiteral("有效"),
                                       QStringLiteral("求购"),
                                       QStringLiteral("私房"),
                                       QStringLiteral("中层"),
                                       QStringLiteral("两室一厅"),
                                       QStringLiteral("城东"),
                                       QStringLiteral(" 城东 O'Neil \"湖\" "),
                                       80.0,
                                       60.0,
                                       0.0,
                                       350000.5,
                                       QStringLiteral("有车位"),
                                       "O'Brien",
                                       QVariant(),
                                       "13800000000"};
        for (int i = 0; i < expected.size(); ++i) {
            if (expected[i].typeId() == QMetaType::Double)
                QCOMPARE(v[i].toDouble(), expected[i].toDouble());
            else if (expected[i].isNull())
                QVERIFY(v[i].isNull());
            else
                QCOMPARE(v[i].toString(), expected[i].toString());
        }
        // The day's count is read with single-quoted values.
        QCOMPARE(dmbasic->QryPUB.sql(),
                 QStringList({QStringLiteral("select max(序号) as xh from 客户信息 "),
                              QStringLiteral("where 公司编号='001' "),
                              QStringLiteral("and 录入日期='261209'")}));
    }

    // Nothing touched but the personal block, with "求租" first in the dictionary.
    void untouchedRenterIsStoredWithoutPreferences()
    {
        setDemandModes({QStringLiteral("求租"), QStringLiteral("求购")});
        open();
        QVERIFY(!list("cbQS")->isEnabled());
        fillMinimal();
        save(false);
        QCOMPARE(d->messages(), QStringList());
        const auto r = db->rows("select 楼层,户型,位置,地址描述,需求方式,权属 from 客户信息");
        QCOMPARE(r.size(), 1);
        QCOMPARE(r[0][0].toString(), QStringLiteral("不限"));
        QCOMPARE(r[0][1].toString(), QStringLiteral("不限"));
        QCOMPARE(r[0][2].toString(), QStringLiteral("不限"));
        QCOMPARE(r[0][3].toString(), QStringLiteral("不限"));
        QCOMPARE(r[0][4].toString(), QStringLiteral("求租"));
        // No ownership kind: stored empty (the row set writes empty text as null).
        QCOMPARE(r[0][5].toString(), QString());
    }

    void clearedAddressIsStoredAsAny_data()
    {
        QTest::addColumn<QString>("typed");
        QTest::newRow("emptied") << "";
        QTest::newRow("blanks") << "   ";
    }
    void clearedAddressIsStoredAsAny()
    {
        QFETCH(QString, typed);
        open();
        fillMinimal();
        set("DBEdit2", typed);
        save(false);
        QCOMPARE(db->scalar("select 地址描述 from 客户信息").toString(), QStringLiteral("不限"));
    }

    // No checks on the amounts: zero and reversed ranges are stored as typed.
    void amountsAreNotChecked()
    {
        open();
        fillMinimal();
        apply({"DBEdit5=120", "DBEdit6=90", "DBEdit7=0", "DBEdit8=0"});
        save(false);
        QCOMPARE(d->messages(), QStringList());
        const auto r = db->rows("select 面积1,面积2,价格1,价格2 from 客户信息");
        QCOMPARE(r.size(), 1);
        QCOMPARE(r[0][0].toDouble(), 120.0);
        QCOMPARE(r[0][1].toDouble(), 90.0);
        QCOMPARE(r[0][2].toDouble(), 0.0);
        QCOMPARE(r[0][3].toDouble(), 0.0);
    }

    // Listings do not count: the day's first customer is 001 beside listing 005.
    void listingsAreCountedApart()
    {
        db->exec("insert into 房屋信息 (档案号,公司编号,录入日期,序号) values "
                 "('001261209005','001','261209','005')");
        open();
        fillMinimal();
        save(false);
        QCOMPARE(db->scalar("select 档案号 from 客户信息").toString(),
                 QStringLiteral("001261209001"));
    }

    void yesKeepsChoicesAndStartsAfresh()
    {
        open();
        apply({"DBEdit2=城西", "cbQS=私房", "cbLC=顶层", "cbHX=复式", "cbWZ=郊区", "DBEdit5=70",
               "DBMemo1=电梯"});
        fillMinimal();
        set("DBEdit11", "13900000000");
        save(true);
        QVERIFY(w->isVisible());
        Query& q = w->row();
        QCOMPARE(q.state(), Query::State::Insert);
        QCOMPARE(q.text("地址描述"), QStringLiteral("不限"));
        QCOMPARE(q.number("面积1"), 0.0);
        QVERIFY(q.isNull("客户姓名"));
        QVERIFY(q.isNull("电话"));
        QVERIFY(q.isNull("手机"));
        QVERIFY(q.isNull("需求设施"));
        QCOMPARE(q.text("公司编号"), QString("001"));
        QCOMPARE(q.text("类型"), QStringLiteral("有效"));
        QCOMPARE(ui::find<QLineEdit>(w.get(), "DBEdit9")->text(), QString());
        QCOMPARE(ui::find<QPlainTextEdit>(w.get(), "DBMemo1")->toPlainText(), QString());
        QCOMPARE(list("cbFS")->currentText(), QStringLiteral("求购"));
        QCOMPARE(list("cbQS")->currentText(), QStringLiteral("私房"));
        QCOMPARE(list("cbLC")->currentText(), QStringLiteral("顶层"));
        QCOMPARE(list("cbHX")->currentText(), QStringLiteral("复式"));
        QCOMPARE(list("cbWZ")->currentText(), QStringLiteral("郊区"));
        QCOMPARE(w->focusWidget(), c("DBEdit2"));
        // The next customer continues the day's count with the kept choices.
        set("DBEdit9", QStringLiteral("李娜"));
        set("DBEdit11", "13700000000");
        save(false);
        const auto r = db->rows("select 客户姓名,楼层,户型,位置,权属,地址描述 from 客户信息 "
                                "where 档案号='001261209002'");
        QCOMPARE(r.size(), 1);
        QCOMPARE(r[0][0].toString(), QStringLiteral("李娜"));
        QCOMPARE(r[0][1].toString(), QStringLiteral("顶层"));
        QCOMPARE(r[0][2].toString(), QStringLiteral("复式"));
        QCOMPARE(r[0][3].toString(), QStringLiteral("郊区"));
        QCOMPARE(r[0][4].toString(), QStringLiteral("私房"));
        QCOMPARE(r[0][5].toString(), QStringLiteral("不限"));
    }
};

HALVORRA_TEST_MAIN(TestCustomerEntry)
#include "tst_customer_entry.moc"
