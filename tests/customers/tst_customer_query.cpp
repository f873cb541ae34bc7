// What only the customer query window does: its quick-search lines, area and
// price values against the customer's ranges, "不限" found as itself, the date
// range, and the save rule that fills an empty address. What both query windows
// do is tested in tests/registers/tst_register_query.cpp.
#include "customers/core/CustomerSearch.h"
#include "data/DbError.h"
#include "tests/registers/RegisterTests.h"

class TestCustomerQuery : public QObject, private QueryTest
{
    Q_OBJECT
private slots:
    void init()
    {
        start(Roles::Ordinary);
        // 60..90 square metres; a customer with no preferences and equal bounds; an
        // invalid one; one of last month; one with the entry defaults and quotes.
        const QList<CustomerRow> rows = {
            {"001261203001", "城东人民路", "有效", "261203", "中层", "两室", "城东", "求购", 60, 90,
             50, 80},
            {"001261204001", "不限", "有效", "261204", "不限", "不限", "不限", "求租", 80, 80, 100,
             100},
            {"001261205001", "城西", "无效", "261205", "中层"},
            {"001261101001", "城北", "有效", "261101", "中层"},
            {"001261206001", "O\"Brien's 街", "有效", "261206", "高层"}};
        for (const CustomerRow& row : rows)
            addCustomer(*db, row);
    }
    void cleanup() { stop(); }

    void statementLines_data()
    {
        QTest::addColumn<QStringList>("panel"); // dzms lc hx fs mj jg wz
        QTest::addColumn<bool>("valid");
        QTest::addColumn<QStringList>("tail"); // the lines after the four fixed ones
        QTest::newRow("nothing typed, ticked")
            << QStringList(7) << true << QStringList{"and 类型=\"有效\""};
        QTest::newRow("every box, validity before location")
            << QStringList{" 东 ", "中层", "两室", "求购", "80", "100", "城东"} << false
            << QStringList{"and 地址描述 like \"%东%\" ",
                           "and 楼层=\"中层\"",
                           "and 户型=\"两室\"",
                           "and 需求方式=\"求购\"",
                           "and 面积1>=80",
                           "and 面积2<=80",
                           "and 价格1>=100",
                           "and 价格2<=100",
                           "and 类型=\"无效\"",
                           "and 位置=\"城东\""};
        QTest::newRow("quote doubled, not ending the literal")
            << QStringList{"a\"b", "", "", "", "", "", ""} << true
            << QStringList{"and 地址描述 like \"%a\"\"b%\" ", "and 类型=\"有效\""};
    }
    void statementLines()
    {
        QFETCH(QStringList, panel);
        QFETCH(bool, valid);
        QFETCH(QStringList, tail);
        CustomerSearch::QuickSearch s;
        s.rq1 = "261201";
        s.rq2 = "261209";
        s.dzms = panel[0];
        s.lc = panel[1];
        s.hx = panel[2];
        s.fs = panel[3];
        s.mj = panel[4];
        s.jg = panel[5];
        s.wz = panel[6];
        s.valid = valid;
        const QStringList head{"select * from 客户信息 ", "where 档案号<>\"\" ",
                               "and 录入日期>=\"261201\" ", "and 录入日期<=\"261209\" "};
        QCOMPARE(CustomerSearch::quickSearch(s), head + tail);
    }

    // An area or a price stands unquoted in the statement: anything but digits is
    // refused before it reaches the engine.
    void nonDigitBoundRefused_data()
    {
        QTest::addColumn<QString>("mj");
        QTest::addColumn<QString>("jg");
        QTest::newRow("area with an operator") << "1 or 1=1"
                                               << "";
        QTest::newRow("decimal price") << ""
                                       << "1.5";
    }
    void nonDigitBoundRefused()
    {
        QFETCH(QString, mj);
        QFETCH(QString, jg);
        CustomerSearch::QuickSearch s;
        s.mj = mj;
        s.jg = jg;
        QVERIFY_THROWS_EXCEPTION(DbError, CustomerSearch::quickSearch(s));
    }

    void builderColumns()
    {
        // Every caption is its column's name; the amounts are not offered.
        const QStringList fields = CustomerSearch::builderFields();
        QCOMPARE(fields[8], QString("需求设施;需求设施"));
        for (const QString& f : fields)
            QVERIFY(!f.contains("面积") && !f.contains("价格") && !f.contains("电话"));
    }

    void quickSearch_data()
    {
        QTest::addColumn<QString>("box");
        QTest::addColumn<QString>("value");
        QTest::addColumn<QStringList>("expected");
        QTest::newRow("address anywhere") << "edtXQDZ"
                                          << "人民" << QStringList{"001261203001"};
        QTest::newRow("address with a double quote") << "edtXQDZ"
                                                     << "O\"B" << QStringList{"001261206001"};
        QTest::newRow("address with a single quote") << "edtXQDZ"
                                                     << "n's" << QStringList{"001261206001"};
        QTest::newRow("不限 finds only 不限 floors") << "cbLC"
                                                     << "不限" << QStringList{"001261204001"};
        QTest::newRow("floor exact") << "cbLC"
                                     << "中层" << QStringList{"001261203001"};
        QTest::newRow("floor not a prefix") << "cbLC"
                                            << "中" << QStringList{};
        QTest::newRow("house type") << "cbHX"
                                    << "两室" << QStringList{"001261203001", "001261206001"};
        QTest::newRow("demand mode") << "cbFS"
                                     << "求租" << QStringList{"001261204001"};
        QTest::newRow("demand mode with a quote") << "cbFS"
                                                  << "求\"购" << QStringList{};
        QTest::newRow("location 不限") << "cbWZ"
                                       << "不限" << QStringList{"001261204001"};
        QTest::newRow("area 80 inside 60..90 not found") << "edtMJ1"
                                                         << "80" << QStringList{"001261204001"};
        QTest::newRow("area 60, the lower bound") << "edtMJ1"
                                                  << "60" << QStringList{};
        QTest::newRow("area 90, the upper bound") << "edtMJ1"
                                                  << "90" << QStringList{};
        QTest::newRow("area 0 finds entry defaults") << "edtMJ1"
                                                     << "0" << QStringList{"001261206001"};
        QTest::newRow("price 100 equal bounds") << "edtJG1"
                                                << "100" << QStringList{"001261204001"};
        QTest::newRow("price 60 inside 50..80") << "edtJG1"
                                                << "60" << QStringList{};
        QTest::newRow("price 0 finds entry defaults") << "edtJG1"
                                                      << "0" << QStringList{"001261206001"};
    }
    void quickSearch()
    {
        QFETCH(QString, box);
        QFETCH(QString, value);
        QFETCH(QStringList, expected);
        open("客户");
        if (auto* cb = w->findChild<QComboBox*>(box))
            cb->setEditText(value);
        else
            w->findChild<QLineEdit*>(box)->setText(value);
        ui::click(w->BitBtn5);
        QVERIFY2(d->messages().isEmpty(), qPrintable(d->messages().join('|')));
        QCOMPARE(shown(), expected);
    }

    void dateRange_data()
    {
        QTest::addColumn<QString>("rq1");
        QTest::addColumn<QString>("rq2");
        QTest::addColumn<QStringList>("expected");
        QTest::newRow("reversed yields nothing") << "261209"
                                                 << "261201" << QStringList{};
        QTest::newRow("both ends inclusive")
            << "261203"
            << "261204" << QStringList{"001261203001", "001261204001"};
        QTest::newRow("last month") << "261101"
                                    << "261130" << QStringList{"001261101001"};
    }
    void dateRange()
    {
        QFETCH(QString, rq1);
        QFETCH(QString, rq2);
        QFETCH(QStringList, expected);
        open("客户");
        w->edtRQ1->setText(rq1);
        w->edtRQ2->setText(rq2);
        ui::click(w->BitBtn5);
        QCOMPARE(shown(), expected);
    }

    void saveFillsAnEmptyAddress_data()
    {
        QTest::addColumn<QVariant>("typed");
        QTest::addColumn<QString>("stored");
        QTest::newRow("empty") << QVariant("") << "不限";
        QTest::newRow("blanks and tab") << QVariant(" \t ") << "不限";
        QTest::newRow("kept when given") << QVariant("城南") << "城南";
    }
    void saveFillsAnEmptyAddress()
    {
        QFETCH(QVariant, typed);
        QFETCH(QString, stored);
        open("客户");
        QVERIFY(w->rows().locate("档案号", "001261203001"));
        w->rows().edit();
        w->rows().setValue("地址描述", typed);
        w->DataSetPost1->trigger();
        QVERIFY(!w->rows().isEditing());
        QVERIFY(d->shown.isEmpty());
        QCOMPARE(db->scalar("select 地址描述 from 客户信息 where 档案号='001261203001'").toString(),
                 stored);
    }
};

HALVORRA_TEST_MAIN(TestCustomerQuery)
#include "tst_customer_query.moc"
