// The likely-duplicate rule as a table of cases: addresses written differently,
// areas just inside and outside the slack, telephones in other forms, and the
// groups the 查重 button shows.
#include "duplicates/core/LikelyDuplicates.h"
#include "tests/support/TestSupport.h"

#include <QTest>

using namespace LikelyDuplicates;

class TestLikelyDuplicates : public QObject
{
    Q_OBJECT

private slots:
    void listings_data()
    {
        QTest::addColumn<QString>("estateA");
        QTest::addColumn<QString>("addressA");
        QTest::addColumn<double>("areaA");
        QTest::addColumn<QString>("phoneA");
        QTest::addColumn<QString>("estateB");
        QTest::addColumn<QString>("addressB");
        QTest::addColumn<double>("areaB");
        QTest::addColumn<QString>("phoneB");
        QTest::addColumn<bool>("same");
        const QString e = QStringLiteral("阳光花园"), a = QStringLiteral("建设路12号3栋2单元301室");
        QTest::newRow("identical") << e << a << 85.0 << "" << e << a << 85.0 << "" << true;
        QTest::newRow("栋 幢 号楼 #")
            << e << a << 85.0 << "" << e << "建设路12号3幢2单元301" << 85.0 << "" << true;
        QTest::newRow("号楼, 单, -")
            << e << a << 85.0 << "" << e << "建设路12号 3号楼2单-301" << 85.0 << "" << true;
        QTest::newRow("# and dash")
            << e << a << 85.0 << "" << e << "建设路12号3#2-301" << 85.0 << "" << true;
        QTest::newRow("full-width, blanks, case") << "Ａ区 阳光花园"
                                                  << "建设路１２号A座301" << 85.0 << ""
                                                  << "a区阳光花园"
                                                  << "建设路 12号 a座 301室" << 85.0 << "" << true;
        QTest::newRow("area 1 m² apart") << e << a << 85.0 << "" << e << a << 86.0 << "" << true;
        QTest::newRow("area 1.01 m² apart")
            << e << a << 85.0 << "" << e << a << 86.01 << "" << false;
        QTest::newRow("other room")
            << e << a << 85.0 << "" << e << "建设路12号3栋2单元302室" << 85.0 << "" << false;
        QTest::newRow("other building, digits not joined")
            << e << "建设路12号3栋21单元" << 85.0 << "" << e << "建设路12号32栋1单元" << 85.0 << ""
            << false;
        QTest::newRow("other estate") << e << a << 85.0 << ""
                                      << "阳光新城" << a << 85.0 << "" << false;
        QTest::newRow("empty address is no match")
            << e << "" << 85.0 << "" << e << "" << 85.0 << "" << false;
        QTest::newRow("same mobile, +86 and dashes")
            << e << a << 85.0 << "13800138000"
            << "别处"
            << "别路" << 40.0 << "+86 138-0013-8000" << true;
        QTest::newRow("short numbers are no phone") << e << a << 85.0 << "110"
                                                    << "别处"
                                                    << "别路" << 40.0 << "110" << false;
        QTest::newRow("different phones") << e << a << 85.0 << "13800138000"
                                          << "别处"
                                          << "别路" << 40.0 << "13800138001" << false;
    }
    void listings()
    {
        QFETCH(QString, estateA);
        QFETCH(QString, addressA);
        QFETCH(double, areaA);
        QFETCH(QString, phoneA);
        QFETCH(QString, estateB);
        QFETCH(QString, addressB);
        QFETCH(double, areaB);
        QFETCH(QString, phoneB);
        QFETCH(bool, same);
        const Listing a{QString(), estateA, addressA, phoneA, QString(), areaA};
        // B's number is in the mobile column: the rule looks at both.
        const Listing b{QString(), estateB, addressB, QString(), phoneB, areaB};
        QCOMPARE(!reason(a, b).isEmpty(), same);
        QCOMPARE(!reason(b, a).isEmpty(), same);
        // The in-memory index finds exactly what the rule says.
        ListingSet set;
        set.add(a, 7);
        QCOMPARE(set.like(b).size(), same ? 1 : 0);
    }

    void customers_data()
    {
        QTest::addColumn<QString>("a");
        QTest::addColumn<QString>("b");
        QTest::addColumn<bool>("same");
        QTest::newRow("same telephone") << "0571-8888 1234"
                                        << "057188881234" << true;
        QTest::newRow("full-width digits") << "１３９００００００００"
                                           << "13900000000" << true;
        QTest::newRow("0086") << "008613900000000"
                              << "13900000000" << true;
        QTest::newRow("other") << "13900000000"
                               << "13900000001" << false;
        QTest::newRow("none") << ""
                              << "" << false;
    }
    void customers()
    {
        QFETCH(QString, a);
        QFETCH(QString, b);
        QFETCH(bool, same);
        QCOMPARE(!reason(Customer{{}, {}, a, {}}, Customer{{}, {}, {}, b}).isEmpty(), same);
    }

    void groupsJoin()
    {
        // 0 and 2 share an address, 2 and 3 a mobile: one group of three; 1 alone.
        const QList<Listing> items{
            {"A", "阳光花园", "1栋101", "", "", 80},
            {"B", "翠湖苑", "2栋", "", "", 60},
            {"C", "阳光花园", "1幢101室", "", "13800000000", 80.5},
            {"D", "别处", "别路", "13800000000", "", 50},
            {"E", "翠湖苑", "3栋", "", "", 60},
        };
        const QList<QList<int>> g = groups(items);
        QCOMPARE(g.size(), 1);
        QCOMPARE(g[0], (QList<int>{0, 2, 3}));
    }
};

HALVORRA_TEST_MAIN(TestLikelyDuplicates)
#include "tst_likely_duplicates.moc"
