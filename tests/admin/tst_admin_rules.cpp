// Window-free rules of the administration: the GB2312 length of the company code,
// the save checks of staff rows and dictionary entries (and when they look for
// duplicates), the password checks, and operator statements with typed quotes.
#include "admin/core/CompanyRules.h"
#include "admin/core/Dictionaries.h"
#include "admin/core/Operators.h"
#include "admin/core/StaffRules.h"
#include "data/DbError.h"
#include "data/Query.h"
#include "data/Text.h"
#include "tests/support/TestSupport.h"

class TestAdminRules : public QObject
{
    Q_OBJECT

private slots:
    void gb2312Length_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<int>("bytes");
        QTest::newRow("latin") << "abc" << 3;
        QTest::newRow("empty") << "" << 0;
        QTest::newRow("one hanzi") << "中" << 2;
        QTest::newRow("hanzi and letter") << "中a" << 3;
        QTest::newRow("full-width letter") << "Ａb" << 3;
        QTest::newRow("euro sign has no GB2312 form") << "a€" << -1;
        QTest::newRow("emoji has no GB2312 form") << "a😀" << -1;
    }
    void gb2312Length()
    {
        QFETCH(QString, text);
        QFETCH(int, bytes);
        QCOMPARE(Company::gb2312Length(text), bytes);
    }

    void companyCheck_data()
    {
        QTest::addColumn<QString>("code");
        QTest::addColumn<QString>("name");
        QTest::addColumn<int>("failure");
        const int ok = int(Company::Failure::None), len = int(Company::Failure::CodeLength);
        QTest::newRow("three letters") << "abc"
                                       << "公司" << ok;
        QTest::newRow("two letters") << "ab"
                                     << "公司" << len;
        QTest::newRow("blank before two") << " ab"
                                          << "公司" << len;
        QTest::newRow("blank after two") << "ab "
                                         << "公司" << len;
        QTest::newRow("blanks around three") << " abc "
                                             << "公司" << ok;
        QTest::newRow("one hanzi is two bytes") << "中"
                                                << "公司" << len;
        QTest::newRow("two hanzi are four bytes") << "中国"
                                                  << "公司" << len;
        QTest::newRow("hanzi and letter") << "中a"
                                          << "公司" << ok;
        QTest::newRow("empty code") << ""
                                    << "公司" << len;
        QTest::newRow("no GB2312 form") << "a€"
                                        << "公司" << int(Company::Failure::CodeCharset);
        QTest::newRow("empty name") << "abc"
                                    << "" << int(Company::Failure::NameEmpty);
        QTest::newRow("blank name") << "abc"
                                    << " \t " << int(Company::Failure::NameEmpty);
        QTest::newRow("code checked first") << "ab"
                                            << "" << len;
    }
    void companyCheck()
    {
        QFETCH(QString, code);
        QFETCH(QString, name);
        QFETCH(int, failure);
        QCOMPARE(int(Company::check(code, name)), failure);
    }

    void staffCheck_data()
    {
        QTest::addColumn<QString>("number");
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("before");
        QTest::addColumn<bool>("taken");
        QTest::addColumn<int>("failure");
        QTest::addColumn<QString>("asked"); // number the duplicate query was run for, "-" = none
        const int ok = int(Staff::Failure::None);
        QTest::newRow("empty number") << " "
                                      << "张三"
                                      << "" << false << int(Staff::Failure::NumberEmpty) << "-";
        QTest::newRow("empty name") << "007"
                                    << "  "
                                    << "" << false << int(Staff::Failure::NameEmpty) << "-";
        QTest::newRow("unchanged number") << "007"
                                          << "张三"
                                          << "007" << true << ok << "-";
        QTest::newRow("only blanks added") << " 007 "
                                           << "张三"
                                           << "007" << true << ok << "-";
        QTest::newRow("new free number") << " 008 "
                                         << "张三"
                                         << "" << false << ok << "008";
        QTest::newRow("new taken number")
            << "admin"
            << "张三"
            << "" << true << int(Staff::Failure::Duplicate) << "admin";
        QTest::newRow("changed to taken")
            << "009"
            << "张三"
            << "007" << true << int(Staff::Failure::Duplicate) << "009";
    }
    void staffCheck()
    {
        QFETCH(QString, number);
        QFETCH(QString, name);
        QFETCH(QString, before);
        QFETCH(bool, taken);
        QFETCH(int, failure);
        QFETCH(QString, asked);
        QString seen = QStringLiteral("-");
        const auto f = Staff::check(number, name, before, [&](const QString& n) {
            seen = n;
            return taken;
        });
        QCOMPARE(int(f), failure);
        QCOMPARE(seen, asked);
    }

    void dictCheck_data()
    {
        QTest::addColumn<QString>("entry");
        QTest::addColumn<QString>("before");
        QTest::addColumn<int>("failure");
        QTest::addColumn<bool>("asked");
        QTest::newRow("blanks only") << "   "
                                     << "" << int(Dict::Failure::Empty) << false;
        QTest::newRow("unchanged") << "一室"
                                   << "一室" << int(Dict::Failure::None) << false;
        QTest::newRow("blanks around") << " 一室 "
                                       << "一室" << int(Dict::Failure::None) << false;
        QTest::newRow("new existing") << "一室"
                                      << "" << int(Dict::Failure::Duplicate) << true;
    }
    void dictCheck()
    {
        QFETCH(QString, entry);
        QFETCH(QString, before);
        QFETCH(int, failure);
        QFETCH(bool, asked);
        bool seen = false;
        const auto f = Dict::check(entry, before, [&](const QString&) { return seen = true; });
        QCOMPARE(int(f), failure);
        QCOMPARE(seen, asked);
    }

    void dictMessages()
    {
        const auto& d = Dict::maintained();
        QCOMPARE(d.size(), 4);
        QCOMPARE(Dict::message(d[1], Dict::Failure::Empty), QStringLiteral("楼层不能为空"));
        QCOMPARE(Dict::message(d[3], Dict::Failure::Duplicate), QStringLiteral("存在重复的位置"));
        QCOMPARE(Dict::duplicateSql(d[0], QStringLiteral("一室")),
                 QStringList({"select * from 户型字典 ", "where 户型= \"一室\""}));
    }

    void passwordInput_data()
    {
        QTest::addColumn<QString>("oldPw");
        QTest::addColumn<QString>("new1");
        QTest::addColumn<QString>("new2");
        QTest::addColumn<QString>("message");
        QTest::newRow("old empty") << ""
                                   << "a"
                                   << "a"
                                   << "请输入原密码。";
        QTest::newRow("new empty") << "x"
                                   << ""
                                   << "a"
                                   << "请完整输入新密码和确认新密码,不能为空";
        QTest::newRow("confirmation empty") << "x"
                                            << "a"
                                            << ""
                                            << "请完整输入新密码和确认新密码,不能为空";
        QTest::newRow("case differs") << "x"
                                      << "abc"
                                      << "ABC"
                                      << "新密码和确认密码不一致,请重新输入。";
        QTest::newRow("equal") << "x"
                               << "abcdef"
                               << "abcdef"
                               << "";
        QTest::newRow("too short") << "x"
                                   << "abcde"
                                   << "abcde"
                                   << "新密码至少要有6个字符。";
        QTest::newRow("the staff number, any case") << "x"
                                                    << "STAFF01"
                                                    << "STAFF01"
                                                    << "新密码不能与用户编号相同。";
        QTest::newRow("200 characters, emoji")
            << "x" << QString(100, QChar(0x5BC6)) + QStringLiteral("🔑").repeated(50)
            << QString(100, QChar(0x5BC6)) + QStringLiteral("🔑").repeated(50) << "";
        QTest::newRow("201 characters") << "x" << QString(201, 'a') << QString(201, 'a')
                                        << "密码最多只能有200个字符，请重新输入。";
    }
    void passwordInput()
    {
        QFETCH(QString, oldPw);
        QFETCH(QString, new1);
        QFETCH(QString, new2);
        QFETCH(QString, message);
        QCOMPARE(PasswordChange::message(PasswordChange::checkInput(oldPw, new1, new2, "staff01")),
                 message);
    }

    // Typed quote characters are stored and found literally, never as statement text.
    void quotesStoredLiterally()
    {
        TestDb db;
        Connection conn(DbKind::Main);
        conn.setConnectionString(Tdmbasic::mainConnectionString(db.mainPath()));
        conn.open();
        Query q(&conn);
        const QString odd = QStringLiteral("o'k");
        QVERIFY(!Staff::numberTaken(q, odd));
        db.exec("INSERT INTO 操作员档案 (员工编号,员工姓名,操作人员,功能组) VALUES "
                "('o''k','甲','否','#')");
        QVERIFY(Staff::numberTaken(q, odd));
        QVERIFY(!Staff::numberTaken(q, QStringLiteral("o' or '1'='1")));

        Operators::add(q, QStringLiteral("普通操作员"), odd);
        QCOMPARE(db.scalar("select 登录密码 from 操作员档案 where 员工编号='o''k'").toString(),
                 QStringLiteral("******"));
        QCOMPARE(Operators::verifyPassword(q, odd, odd), PasswordHash::Check::Match);
        Operators::setPassword(q, odd, QStringLiteral("p'w\""));
        QCOMPARE(Operators::verifyPassword(q, odd, QStringLiteral("p'w\"")),
                 PasswordHash::Check::Match);
        Operators::remove(q, odd);
        QCOMPARE(db.rows("select 功能组,登录密码,操作人员 from 操作员档案 where 员工编号='o''k'")
                     .value(0),
                 QVariantList({"#", "#", "否"}));

        const Dict::Info& d = Dict::maintained()[0];
        const QString entry = QStringLiteral("两\"室'");
        QVERIFY(!Dict::entryExists(q, d, entry));
        db.exec("INSERT INTO 户型字典 VALUES ('两\"室''')");
        QVERIFY(Dict::entryExists(q, d, entry));
    }

    void tooLongPasswordRunsNoStatement()
    {
        TestDb db;
        Connection conn(DbKind::Main);
        conn.setConnectionString(Tdmbasic::mainConnectionString(db.mainPath()));
        conn.open();
        Query q(&conn);
        QVERIFY(Operators::passwordFits(QString(200, QChar(0x5BC6))));
        QVERIFY_THROWS_EXCEPTION(
            DbError, Operators::setPassword(q, QStringLiteral("admin"), QString(201, 'a')));
        QCOMPARE(Operators::verifyPassword(q, "admin", "admin"), PasswordHash::Check::Match);
    }
};

HALVORRA_TEST_MAIN(TestAdminRules)
#include "tst_admin_rules.moc"
