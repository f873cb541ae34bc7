// The matching rules on one pair at a time: what is shown, what is a near miss,
// the reason per criterion, every bad input, and what ranks above what.
#include "tests/matching/MatchPairs.h"
#include "tests/support/TestSupport.h"

using namespace Matching;

namespace
{

// The reasons of a pair that meets everything, with the given parts in place of
// the parts of the same criterion (a part about the budget is the price's).
QString reasonsWith(const QStringList& parts)
{
    QStringList all = {"面积 ✓", "价格 ✓", "户型 ✓", "楼层 ✓",
                       "位置 ✓", "权属 ✓", "地址 ✓", "设施 ✓"};
    for (const QString& p : parts) {
        const QString name = p.contains("预算") ? QString("价格") : p.left(2);
        for (QString& a : all)
            if (a.left(2) == name) a = p;
    }
    return all.join("  ");
}

Outcome judged(const QVariantHash& listing, const QVariantHash& customer)
{
    Listing l = baseListing();
    Customer c = baseCustomer();
    apply(l, listing);
    apply(c, customer);
    return judge(l, c);
}

} // namespace

class TestMatchRules : public QObject
{
    Q_OBJECT

private slots:
    void judgePair_data()
    {
        QTest::addColumn<QVariantHash>("listing");
        QTest::addColumn<QVariantHash>("customer");
        QTest::addColumn<QString>("result");    // "shown", "near miss" or "hidden"
        QTest::addColumn<QStringList>("parts"); // reasons that differ from "✓"

        auto row = [](const char* name, QVariantHash l, QVariantHash c, const char* result,
                      QStringList parts = {}) {
            QTest::newRow(name) << l << c << QString(result) << parts;
        };
        row("everything met", {}, {}, "shown");
        row("rent pairs with rent", {{"方式", "出租"}}, {{"需求方式", "求租"}}, "shown");
        // Validity and modes.
        row("listing invalid", {{"类型", "无效"}}, {}, "hidden");
        row("customer invalid", {}, {{"类型", "无效"}}, "hidden");
        row("validity with a blank is not 有效", {{"类型", "有效 "}}, {}, "hidden");
        row("sale with rent wanted", {}, {{"需求方式", "求租"}}, "hidden");
        row("rent with purchase wanted", {{"方式", "出租"}}, {}, "hidden");
        row("no modes at all", {{"方式", ""}}, {{"需求方式", ""}}, "hidden");
        row("unknown supply mode", {{"方式", "置换"}}, {}, "hidden");
        // Area and price: ranges, near, missed.
        row("area at the lower bound", {{"房屋面积", 60.0}}, {}, "shown");
        row("area at the upper bound", {{"房屋面积", 90.0}}, {}, "shown");
        row("area 5 % short", {{"房屋面积", 57.0}}, {}, "shown", {"面积小 5%"});
        row("price 8 % above", {{"信息价格", 129.6}}, {}, "shown", {"超出预算 8%"});
        row("price 5 % below", {{"信息价格", 76.0}}, {}, "shown", {"低于预算 5%"});
        row("area exactly 10 % above is near", {{"房屋面积", 99.0}}, {}, "shown", {"面积大 10%"});
        row("a hair above the bound reads 1 %", {{"房屋面积", 90.0001}}, {}, "shown",
            {"面积大 1%"});
        row("area beyond 10 %: near miss", {{"房屋面积", 99.1}}, {}, "near miss", {"面积大 11%"});
        // A near miss only within 20 % of the bound.
        row("price 20 % over budget: near miss", {{"信息价格", 144.0}}, {}, "near miss",
            {"超出预算 20%"});
        row("price a hair beyond 20 % over", {{"信息价格", 144.01}}, {}, "hidden",
            {"超出预算 21%"});
        row("price 175 % over budget", {{"信息价格", 330.0}}, {}, "hidden", {"超出预算 175%"});
        row("area 20 % under the wanted: near miss", {{"房屋面积", 48.0}}, {}, "near miss",
            {"面积小 20%"});
        row("area 21 % under the wanted", {{"房屋面积", 47.4}}, {}, "hidden", {"面积小 21%"});
        row("price far below", {{"信息价格", 20.0}}, {}, "hidden", {"低于预算 75%"});
        row("price missed, area near: near miss", {{"信息价格", 140.0}, {"房屋面积", 95.0}}, {},
            "near miss", {"超出预算 17%", "面积大 6%"});
        row("area and price both missed a little", {{"房屋面积", 100.0}, {"信息价格", 140.0}}, {},
            "hidden", {"面积大 12%", "超出预算 17%"});
        row("area and price both missed", {{"房屋面积", 200.0}, {"信息价格", 300.0}}, {}, "hidden",
            {"面积大 123%", "超出预算 150%"});
        // Bad bounds.
        row("zero bounds are open", {}, {{"面积1", 0.0}, {"面积2", 0.0}}, "shown", {"面积 不限"});
        row("negative bounds are open", {}, {{"价格1", -5.0}, {"价格2", -1.0}}, "shown",
            {"价格 不限"});
        row("NaN bounds are open", {}, {{"面积1", "NaN"}, {"面积2", "NaN"}}, "shown",
            {"面积 不限"});
        row("only a lower bound", {{"房屋面积", 500.0}}, {{"面积2", 0.0}}, "shown");
        row("only an upper bound, value above", {{"信息价格", 130.0}}, {{"价格1", -1.0}}, "shown",
            {"超出预算 9%"});
        row("lower bound, other one negative", {{"房屋面积", 50.0}}, {{"面积2", -3.0}}, "near miss",
            {"面积小 17%"});
        row("reversed range holds the value", {}, {{"面积1", 90.0}, {"面积2", 60.0}}, "shown",
            {"面积 ✓（上下限颠倒）"});
        row("reversed range, value above", {{"信息价格", 126.0}},
            {{"价格1", 120.0}, {"价格2", 80.0}}, "shown", {"超出预算 5%（上下限颠倒）"});
        row("reversed range, value below", {{"房屋面积", 50.0}}, {{"面积1", 90.0}, {"面积2", 60.0}},
            "near miss", {"面积小 17%（上下限颠倒）"});
        row("listing without area", {{"房屋面积", 0.0}}, {}, "shown", {"面积 未填"});
        row("listing with negative price", {{"信息价格", -10.0}}, {}, "shown", {"价格 未填"});
        row("listing without area or price", {{"房屋面积", "NaN"}, {"信息价格", 0.0}}, {}, "shown",
            {"面积 未填", "价格 未填"});
        row("no area, price missed: near miss", {{"房屋面积", 0.0}, {"信息价格", 140.0}}, {},
            "near miss", {"面积 未填", "超出预算 17%"});
        row("no area, price far over", {{"房屋面积", 0.0}, {"信息价格", 500.0}}, {}, "hidden",
            {"面积 未填", "超出预算 317%"});
        // Texts: equal, 不限 or empty, blanks and letter case.
        row("house type differs", {}, {{"户型", "三室一厅"}}, "hidden", {"户型 ✗"});
        row("floor differs", {{"楼层", "顶层"}}, {}, "hidden", {"楼层 ✗"});
        row("location differs", {}, {{"位置", "城西"}}, "hidden", {"位置 ✗"});
        row("ownership differs", {{"权属", "房改房"}}, {}, "hidden", {"权属 ✗"});
        row("不限 wanted", {}, {{"户型", "不限"}, {"楼层", " 不限 "}}, "shown",
            {"户型 不限", "楼层 不限"});
        row("nothing wanted", {}, {{"位置", ""}, {"权属", " \t"}}, "shown",
            {"位置 不限", "权属 不限"});
        row("listing does not say", {{"权属", ""}, {"楼层", "不限"}}, {}, "shown",
            {"权属 未填", "楼层 未填"});
        row("blanks and letter case", {{"户型", "3A室"}}, {{"户型", " 3a室 "}}, "shown");
        row("quote, % and _ are plain characters", {{"户型", "O\"B_%"}}, {{"户型", "O\"B_%"}},
            "shown");
        row("_ is no wildcard", {{"户型", "OAB"}}, {{"户型", "O_B"}}, "hidden", {"户型 ✗"});
        // Wanted area: words in the estate name or the address.
        row("word in the address", {}, {{"地址描述", "人民路"}}, "shown");
        row("second word found", {}, {{"地址描述", "城西 阳光"}}, "shown");
        row("Chinese punctuation separates", {}, {{"地址描述", "城西，人民路、翠湖"}}, "shown");
        row("full-width blank separates", {}, {{"地址描述", "城西　花园"}}, "shown");
        row("no word found", {}, {{"地址描述", "城西，翠湖"}}, "hidden", {"地址 ✗"});
        row("the whole text is not one word", {}, {{"地址描述", "阳光花园附近"}}, "hidden",
            {"地址 ✗"});
        row("不限 among the words", {}, {{"地址描述", "城西 不限"}}, "shown", {"地址 不限"});
        row("empty description", {}, {{"地址描述", ""}}, "shown", {"地址 不限"});
        row("listing without estate or address", {{"小区名称", ""}, {"地址", " "}}, {}, "shown",
            {"地址 未填"});
        row("quote in a word", {{"小区名称", "阳\"光'苑"}}, {{"地址描述", "光'苑"}}, "shown");
        row("% and _ in a word are plain", {{"地址", "人民路100%号"}}, {{"地址描述", "0%号 翠_"}},
            "shown");
        row("% in a word is no wildcard", {}, {{"地址描述", "阳%园"}}, "hidden", {"地址 ✗"});
        // Facilities: the share of the wanted ones present; never hides a pair.
        row("some facilities", {}, {{"需求设施", "煤气、暖气；空调"}}, "shown", {"设施 2/3"});
        row("no wanted facility present", {{"设施", ""}}, {}, "shown", {"设施 0/2"});
        row("empty memo", {}, {{"需求设施", ""}}, "shown", {"设施 不限"});
        row("facilities 不限", {}, {{"需求设施", "不限"}}, "shown", {"设施 不限"});
        row("a word twice counts once", {}, {{"需求设施", "煤气 煤气 空调"}}, "shown",
            {"设施 1/2"});
    }
    void judgePair()
    {
        QFETCH(QVariantHash, listing);
        QFETCH(QVariantHash, customer);
        QFETCH(QString, result);
        QFETCH(QStringList, parts);
        const Outcome o = judged(listing, customer);
        QCOMPARE(o.shown ? (o.nearMiss ? "near miss" : "shown") : "hidden", result);
        QCOMPARE(o.reasons(), reasonsWith(parts));
        QVERIFY(o.score >= 0 && o.score <= 100);
        // Judging only to decide gives the same decision.
        Listing l = baseListing();
        Customer c = baseCustomer();
        apply(l, listing);
        apply(c, customer);
        const Outcome quick = judge(l, c, Detail::Decision);
        QCOMPARE(quick.shown, o.shown);
        if (o.shown) QCOMPARE(quick.score, o.score);
    }

    // What an operator phones first: the better pair scores higher.
    void ranking_data()
    {
        QTest::addColumn<QVariantHash>("better");
        QTest::addColumn<QVariantHash>("worse");
        auto row = [](const char* name, QVariantHash better, QVariantHash worse) {
            QTest::newRow(name) << better << worse;
        };
        row("met above near", {}, {{"房屋面积", 57.0}});
        row("near by 2 % above near by 9 %", {{"信息价格", 122.4}}, {{"信息价格", 130.8}});
        row("near above near miss", {{"房屋面积", 99.0}}, {{"房屋面积", 99.1}});
        row("unknown above missed", {{"信息价格", 0.0}}, {{"信息价格", 140.0}});
        row("all facilities above some", {}, {{"设施", "煤气"}});
        row("some facilities above none", {{"设施", "煤气"}}, {{"设施", ""}});
        row("known value above unknown", {}, {{"户型", ""}});
        row("price weighs more than area", {{"房屋面积", 99.1}}, {{"信息价格", 133.0}});
    }
    void ranking()
    {
        QFETCH(QVariantHash, better);
        QFETCH(QVariantHash, worse);
        const Outcome b = judged(better, {}), w = judged(worse, {});
        QVERIFY(b.shown && w.shown);
        QVERIFY2(b.score > w.score, qPrintable(QString("%1 <= %2").arg(b.score).arg(w.score)));
    }

    void everythingMetOrOpenScoresFull()
    {
        QCOMPARE(judged({}, {}).score, 100);
        QCOMPARE(
            judged({}, {{"面积1", 0.0}, {"面积2", 0.0}, {"户型", "不限"}, {"地址描述", ""}}).score,
            100);
    }

    void words_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QStringList>("words");
        QTest::newRow("blanks") << " 城东  阳光\t花园\n" << QStringList{"城东", "阳光", "花园"};
        QTest::newRow("Chinese punctuation")
            << "城东，阳光。花园、人民路；（翠湖）“锦绣”…桂花"
            << QStringList{"城东", "阳光", "花园", "人民路", "翠湖", "锦绣", "桂花"};
        QTest::newRow("full-width blank") << "城东　阳光" << QStringList{"城东", "阳光"};
        QTest::newRow("ASCII signs stay in the word")
            << "a\"b 100% x_y it's" << QStringList{"a\"b", "100%", "x_y", "it's"};
        QTest::newRow("each word once, letter case ignored")
            << "车库 CAR 车库 car" << QStringList{"车库", "CAR"};
        QTest::newRow("nothing") << " ，。 " << QStringList{};
    }
    void words()
    {
        QFETCH(QString, text);
        QFETCH(QStringList, words);
        QCOMPARE(Matching::words(text), words);
    }
};

HALVORRA_TEST_MAIN(TestMatchRules)
#include "tst_match_rules.moc"
