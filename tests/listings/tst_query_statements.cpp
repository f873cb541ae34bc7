// The statements of the listing query and the card's save rule, without a window;
// the 房龄 comparisons also on a database.
#include "data/DbError.h"
#include "data/Dmbasic.h"
#include "data/Query.h"
#include "listings/core/ListingSearch.h"
#include "pickers/core/ConditionText.h"
#include "tests/support/TestSupport.h"

using namespace ListingSearch;

class TestQueryStatements : public QObject
{
    Q_OBJECT
    std::unique_ptr<TestDb> ages; // listings of every kind of 房龄, made at first use

private slots:
    void quickSearchLines_data()
    {
        QTest::addColumn<QString>("field");
        QTest::addColumn<QString>("value");
        QTest::addColumn<QString>("line"); // the line added after the validity line; empty: none

        QTest::newRow("nothing typed") << ""
                                       << ""
                                       << "";
        QTest::newRow("blanks only") << "fs"
                                     << " \t "
                                     << "";
        QTest::newRow("方式") << "fs"
                              << " 出售 "
                              << "and 方式=\"出售\"";
        QTest::newRow("community or address") << "xqdz"
                                              << "花园"
                                              << "and ((小区名称+地址) like \"%花园%\") ";
        QTest::newRow("area from") << "mj1"
                                   << "80"
                                   << "and 房屋面积>=80";
        QTest::newRow("area to") << "mj2"
                                 << "120"
                                 << "and 房屋面积<=120";
        QTest::newRow("楼层") << "lc"
                              << "三楼"
                              << "and 楼层=\"三楼\"";
        QTest::newRow("户型") << "hx"
                              << "两室"
                              << "and 户型=\"两室\"";
        QTest::newRow("price from") << "jg1"
                                    << "30"
                                    << "and 信息价格>=30";
        QTest::newRow("price to") << "jg2"
                                  << "90"
                                  << "and 信息价格<=90";
        QTest::newRow("位置") << "wz"
                              << "市中心"
                              << "and 位置=\"市中心\"";
        QTest::newRow("age from, a whole number")
            << "xjcd1"
            << "5"
            << "and (case when 新旧程度<>'' and trim(新旧程度,'0123456789')='' then "
               "cast(新旧程度 as numeric)>=cast('5' as numeric) else 新旧程度>='5' end)";
        QTest::newRow("double quote doubled") << "xqdz"
                                              << "O\"B"
                                              << "and ((小区名称+地址) like \"%O\"\"B%\") ";
        QTest::newRow("single quote kept in double-quoted literal") << "lc"
                                                                    << "a'b"
                                                                    << "and 楼层=\"a'b\"";
        QTest::newRow("single quote doubled in age") << "xjcd1"
                                                     << "1'"
                                                     << "and 新旧程度>='1'''";
    }
    void quickSearchLines()
    {
        QFETCH(QString, field);
        QFETCH(QString, value);
        QFETCH(QString, line);
        QuickSearch s;
        s.rq1 = " 261201";
        s.rq2 = "261209 ";
        QHash<QString, QString*> f{{"fs", &s.fs},       {"xqdz", &s.xqdz},  {"mj1", &s.mj1},
                                   {"mj2", &s.mj2},     {"lc", &s.lc},      {"hx", &s.hx},
                                   {"jg1", &s.jg1},     {"jg2", &s.jg2},    {"wz", &s.wz},
                                   {"xjcd1", &s.xjcd1}, {"xjcd2", &s.xjcd2}};
        if (!field.isEmpty()) *f[field] = value;
        QStringList expected = {"select * from 房屋信息 ", "where 档案号<>\"\" ",
                                "and 录入日期>=\"261201\" ", "and 录入日期<=\"261209\" ",
                                "and 类型=\"有效\""};
        if (!line.isEmpty()) expected << line;
        QCOMPARE(quickSearch(s), expected);
    }

    void allSixteenInOrder()
    {
        QuickSearch s;
        s.rq1 = "261201";
        s.rq2 = "261209";
        s.valid = false;
        s.fs = "出租";
        s.xqdz = "花园";
        s.mj1 = "1";
        s.mj2 = "2";
        s.lc = "三楼";
        s.hx = "两室";
        s.jg1 = "3";
        s.jg2 = "4";
        s.wz = "东区";
        s.xjcd1 = "5";
        s.xjcd2 = "6";
        const QStringList lines = quickSearch(s);
        QCOMPARE(lines.size(), 16);
        QCOMPARE(lines[4], QString("and 类型=\"无效\""));
        const char* order[] = {
            "方式",       "小区名称+地址", "房屋面积>=", "房屋面积<=", "楼层",      "户型",
            "信息价格>=", "信息价格<=",    "位置",       "新旧程度>=", "新旧程度<="};
        for (int i = 0; i < 11; ++i)
            QVERIFY2(lines[5 + i].contains(QString::fromUtf8(order[i])), qPrintable(lines[5 + i]));
    }

    // 房龄 is text(4): whole numbers on both sides compare as numbers, in the quick
    // search and in the condition builder; anything else compares as text.
    void ageComparedAsNumber_data()
    {
        QTest::addColumn<QString>("from"); // quick search: from/to; builder: operator/value
        QTest::addColumn<QString>("to");
        QTest::addColumn<bool>("builder");
        QTest::addColumn<QStringList>("found");
        QTest::newRow("5 to 10 finds 7") << "5"
                                         << "10" << false << QStringList{"05", "10", "5", "7"};
        QTest::newRow("from 10: non-numbers as text")
            << "10"
            << "" << false << QStringList{"10", "12", "5年", "新"};
        QTest::newRow("to 9") << ""
                              << "9" << false << QStringList{"", "05", "3", "5", "5年", "7"};
        QTest::newRow("leading zeros typed") << "007"
                                             << "0010" << false << QStringList{"10", "7"};
        QTest::newRow("reversed range finds nothing") << "10"
                                                      << "5" << false << QStringList{};
        QTest::newRow("bound that is no number, as text")
            << "5'"
            << "" << false << QStringList{"5年", "7", "新"};
        QTest::newRow("builder =") << "="
                                   << "5" << true << QStringList{"05", "5"};
        QTest::newRow("builder >") << ">"
                                   << "9" << true << QStringList{"10", "12", "新"};
        QTest::newRow("builder <=") << "<="
                                    << "10" << true << QStringList{"", "05", "10", "3", "5", "7"};
        QTest::newRow("builder <>")
            << "<>"
            << "5" << true << QStringList{"", "10", "12", "3", "5年", "7", "新"};
        QTest::newRow("builder like stays text") << "like"
                                                 << "1" << true << QStringList{"10", "12"};
        QTest::newRow("builder text value") << "="
                                            << "5年" << true << QStringList{"5年"};
        QTest::newRow("builder empty value") << "="
                                             << "" << true << QStringList{""};
    }
    void ageComparedAsNumber()
    {
        QFETCH(QString, from);
        QFETCH(QString, to);
        QFETCH(bool, builder);
        QFETCH(QStringList, found);
        if (!ages) {
            // One database for every row.
            ages = std::make_unique<TestDb>();
            ages->connectDmbasic();
            int n = 0;
            const std::initializer_list<const char*> stored = {"3",  "5",  "05",  "7", "10",
                                                               "12", "新", "5年", "",  nullptr};
            for (const char* age : stored)
                ages->exec(QStringLiteral("insert into 房屋信息 (档案号, 类型, 录入日期, 新旧程度) "
                                          "values ('0012612010%1', '有效', '261201', %2)")
                               .arg(++n, 2, 10, QLatin1Char('0'))
                               .arg(age ? QStringLiteral("'%1'").arg(QString::fromUtf8(age))
                                        : QStringLiteral("null")));
        }
        QStringList sql;
        if (builder) {
            sql = builderSearch(ConditionText::where("新旧程度", from, to, true));
        } else {
            QuickSearch s;
            s.rq1 = "261201";
            s.rq2 = "261201";
            s.xjcd1 = from;
            s.xjcd2 = to;
            sql = quickSearch(s);
        }
        Query q(&dmbasic->adoCntnfybase);
        q.setSql(sql);
        q.open();
        QStringList got;
        for (q.first(); !q.eof(); q.next())
            got << q.text("新旧程度");
        got.sort();
        QCOMPARE(got, found);
    }

    void boundThatIsNotANumberIsRefused()
    {
        QuickSearch s;
        s.mj1 = "1 or 1=1";
        QVERIFY_THROWS_EXCEPTION(DbError, quickSearch(s));
    }

    void builderColumns()
    {
        QCOMPARE(builderSearch("And ( 类型 = '有效' ) ").first(),
                 QString("select * from 房屋信息 "));
        QCOMPARE(builderFields().size(), 15);
        QCOMPARE(builderFields()[12], QString("新旧程度;房龄"));
    }

    void saveRule_data()
    {
        QTest::addColumn<QVariant>("xqmc");
        QTest::addColumn<QVariant>("dz");
        QTest::addColumn<QVariant>("mj");
        QTest::addColumn<QString>("message");
        QTest::addColumn<QString>("control");
        QTest::newRow("all there") << QVariant("花园") << QVariant("东街") << QVariant(80.0) << ""
                                   << "";
        QTest::newRow("name blank")
            << QVariant(" \t") << QVariant("东街") << QVariant(80.0) << "请录入小区名称"
            << "DBEdit1";
        QTest::newRow("name null, address null: first check wins")
            << QVariant() << QVariant() << QVariant() << "请录入小区名称"
            << "DBEdit1";
        QTest::newRow("address null")
            << QVariant("花园") << QVariant() << QVariant(80.0) << "请录入地址"
            << "DBEdit2";
        QTest::newRow("area null")
            << QVariant("花园") << QVariant("东街") << QVariant() << "请录入房屋面积"
            << "DBEdit3";
        QTest::newRow("area 0") << QVariant("花园") << QVariant("东街") << QVariant(0.0)
                                << "请录入房屋面积"
                                << "DBEdit3";
        QTest::newRow("area negative")
            << QVariant("花园") << QVariant("东街") << QVariant(-1.0) << "请录入房屋面积"
            << "DBEdit3";
        QTest::newRow("area tiny") << QVariant("花园") << QVariant("东街") << QVariant(0.01) << ""
                                   << "";
    }
    void saveRule()
    {
        QFETCH(QVariant, xqmc);
        QFETCH(QVariant, dz);
        QFETCH(QVariant, mj);
        QFETCH(QString, message);
        QFETCH(QString, control);
        const auto f = checkCard(xqmc, dz, mj);
        QCOMPARE(f.has_value(), !message.isEmpty());
        if (f) {
            QCOMPARE(f->message, message);
            QCOMPARE(f->control, control);
        }
    }

    void lowestPrice()
    {
        QVERIFY(lowestPriceDefaultsToZero(QVariant()));
        QVERIFY(lowestPriceDefaultsToZero(QVariant(" ")));
        QVERIFY(!lowestPriceDefaultsToZero(QVariant(0.0)));
        QVERIFY(!lowestPriceDefaultsToZero(QVariant(35.5)));
    }
};

HALVORRA_TEST_MAIN(TestQueryStatements)
#include "tst_query_statements.moc"
