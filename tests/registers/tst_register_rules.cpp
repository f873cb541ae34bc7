// The statements and rules both registers share, without a window: the first and
// the condition-builder search, the print title, bounds that stand unquoted, the
// phone check and the 方式 rule.
#include "data/DbError.h"
#include "registers/core/RegisterRules.h"
#include "tests/support/TestSupport.h"

using namespace RegisterRules;

class TestRegisterRules : public QObject
{
    Q_OBJECT

private slots:
    void searches_data()
    {
        QTest::addColumn<QString>("table");
        QTest::newRow("房源") << "房屋信息";
        QTest::newRow("客户") << "客户信息";
    }
    void searches()
    {
        QFETCH(QString, table);
        const QStringList head{"select * from " + table + " ", "where 档案号<>\"\" "};
        QCOMPARE(firstSearch(table, "261201", "26\"09"),
                 head + QStringList({"and 录入日期>=\"261201\" ", "and 录入日期<=\"26\"\"09\" "}));
        QCOMPARE(builderSearch(table, "And ( 类型 = '有效' ) "),
                 head + QStringList{"And ( 类型 = '有效' ) "});
    }

    void printTitle_data()
    {
        QTest::addColumn<QString>("tail");
        QTest::addColumn<QString>("title");
        QTest::newRow("房源: a blank before 日") << " 日房源信息表"
                                                 << "26年12月09 日房源信息表";
        QTest::newRow("客户") << "日客户信息表"
                              << "26年12月09日客户信息表";
    }
    void printTitle()
    {
        QFETCH(QString, tail);
        QFETCH(QString, title);
        QCOMPARE(RegisterRules::printTitle("261209", tail), title);
        QCOMPARE(signatureLine("张三"), QString("填报人员签字：张三"));
    }

    void wholeNumber_data()
    {
        QTest::addColumn<QString>("typed");
        QTest::addColumn<bool>("refused");
        QTest::newRow("digits") << "0120" << false;
        QTest::newRow("an operator") << "1 or 1=1" << true;
        QTest::newRow("a decimal point") << "1.5" << true;
        QTest::newRow("a minus") << "-1" << true;
    }
    void wholeNumber()
    {
        QFETCH(QString, typed);
        QFETCH(bool, refused);
        if (refused)
            QVERIFY_THROWS_EXCEPTION(DbError, RegisterRules::wholeNumber(typed, "面积"));
        else
            QCOMPARE(RegisterRules::wholeNumber(typed, "面积"), typed);
    }

    void phonesAndModes()
    {
        QVERIFY(!phoneCheck(4, "1", "", "DBEdit10"));
        QVERIFY(!phoneCheck(4, " ", "139", "DBEdit10"));
        const auto f = phoneCheck(11, " \t", "\n", "DBEdit6");
        QVERIFY(f);
        QCOMPARE(f->number, 11);
        QCOMPARE(f->message, QString("请录入电话或手机其中的一项信息"));
        QCOMPARE(f->control, QString("DBEdit6"));
        const ModeRule rule{"求租", "求购"};
        QCOMPARE(rule(" 求租 "), OwnershipList::Clear);
        QCOMPARE(rule("求购"), OwnershipList::Select);
        QCOMPARE(rule("求租购"), OwnershipList::Keep);
        QCOMPARE(rule(""), OwnershipList::Keep);
    }
};

HALVORRA_TEST_MAIN(TestRegisterRules)
#include "tst_register_rules.moc"
