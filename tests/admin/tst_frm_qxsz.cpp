// Operator rights and passwords: the rights window with the table picker scripted
// through the dialog double, the password window, and the road from a new staff
// member to an operator who changes his own password.
#include "admin/Frm_QXSZ.h"
#include "admin/Frm_ryda.h"
#include "admin/U_MMXG.h"
#include "app/core/LoginCheck.h"
#include "data/PasswordHash.h"
#include "data/SecurityTables.h"
#include "data/Text.h"
#include "pickers/PubParams.h"
#include "session/PubVars.h"
#include "tests/admin/AdminTestUtil.h"
#include "tests/support/TestSupport.h"

#include <QComboBox>
#include <QPushButton>

class TestFrmQxsz : public QObject
{
    Q_OBJECT
    std::unique_ptr<TestDb> db;

    void addStaff(const QString& no, const QString& name)
    {
        db->exec(QStringLiteral("INSERT INTO 操作员档案 (员工编号,员工姓名,操作人员,功能组) "
                                "VALUES ('%1','%2','否','#')")
                     .arg(no, name));
    }
    // The login's own check on the main database; fills CurUser when it succeeds.
    static bool canLogin(const QString& no, const QString& pw)
    {
        return LoginCheck::run(dmbasic->QryPUB, Text::trim(no), Text::trim(pw), CurUser);
    }
    // Queues a picker run that picks the staff number (or nothing) and answers OK.
    static void pickNext(DialogsScope& d, const QString& no, int* offered = nullptr)
    {
        d->execs.push_back([no, offered](QDialog*) {
            if (offered) *offered = PubDataSet ? PubDataSet->recordCount() : -1;
            PubBh = no;
            return int(QDialog::Accepted);
        });
    }
    static QStringList listed(TFrmQXSZ& w)
    {
        QStringList out;
        for (int i = 0; i < w.qryYGZD.recordCount(); ++i)
            out << w.qryYGZD.valueAt(i, w.qryYGZD.fieldIndex("员工编号")).toString();
        return out;
    }

private slots:
    void init()
    {
        db = std::make_unique<TestDb>();
        db->connectDmbasic();
        CurUser = GTMYhxx();
    }
    void cleanup() { db.reset(); }

    void pickerEmptyWhenNobodyWaiting()
    {
        DialogsScope d;
        TFrmQXSZ w;
        w.show();
        int offered = -1;
        pickNext(d, QString(), &offered);
        ui::click(ui::find(&w, "Button1"));
        QCOMPARE(offered, 0);
        QVERIFY(d->execs.empty());
        QCOMPARE(db->scalar("select count(*) from 操作员档案 where 操作人员='是'").toInt(), 1);
        QCOMPARE(PubDataSet, nullptr);
    }

    void addedOperatorAppearsUnderHisRole()
    {
        addStaff("007", "张三");
        addStaff("008", "李四");
        DialogsScope d;
        TFrmQXSZ w;
        w.show();
        auto* role = ui::find<QComboBox>(&w, "cbGNZ");
        QCOMPARE(role->currentText(), QStringLiteral("普通操作员"));
        role->setCurrentIndex(1);
        int offered = -1;
        pickNext(d, " 007 ", &offered);
        ui::click(ui::find(&w, "Button1"));
        QCOMPARE(offered, 2);
        QCOMPARE(listed(w), QStringList{"007"});
        QCOMPARE(ui::find<QLineEdit>(&w, "DBEdit2")->text(), QStringLiteral("张三"));
        role->setCurrentIndex(0);
        QCOMPARE(listed(w), QStringList());
        QVERIFY(canLogin("007", "007"));
        QCOMPARE(CurUser.GNZ, QStringLiteral("高级操作员"));
        QVERIFY(!canLogin("008", "008"));

        // Cancelling the picker changes nothing.
        d->execs.push_back([](QDialog*) {
            PubBh = QStringLiteral("008");
            return int(QDialog::Rejected);
        });
        ui::click(ui::find(&w, "Button1"));
        QVERIFY(!canLogin("008", "008"));
    }

    void removedOperatorCannotLogIn()
    {
        addStaff("007", "张三");
        db->exec("UPDATE 操作员档案 SET 功能组='普通操作员',操作人员='是' WHERE 员工编号='007'");
        setOperatorPassword(db->mainPath(), "007", "pw");
        QVERIFY(canLogin("007", "pw"));
        DialogsScope d;
        TFrmQXSZ w;
        w.show();
        QCOMPARE(listed(w), QStringList{"007"});
        d->answers = {false};
        ui::click(ui::find(&w, "Button2"));
        QCOMPARE(d->questions(), QStringList{"是否删除该操作员？"});
        QVERIFY(canLogin("007", "pw"));
        d->answers = {true};
        ui::click(ui::find(&w, "Button2"));
        QCOMPARE(listed(w), QStringList());
        QCOMPARE(db->rows("select 功能组,登录密码,操作人员 from 操作员档案 where 员工编号='007'")
                     .value(0),
                 QVariantList({"#", "#", "否"}));
        for (const char* pw : {"pw", "#", "007", ""})
            QVERIFY(!canLogin("007", QString::fromUtf8(pw)));
        // With the list empty, removing does nothing and asks nothing.
        d->clear();
        ui::click(ui::find(&w, "Button2"));
        QVERIFY(d->shown.isEmpty());
    }

    void administratorsNeverListed()
    {
        db->exec("INSERT INTO 操作员档案 (员工编号,员工姓名,登录密码,操作人员,功能组) "
                 "VALUES ('boss','老板','x','是','系统管理员')");
        DialogsScope d;
        TFrmQXSZ w;
        auto* role = ui::find<QComboBox>(&w, "cbGNZ");
        QCOMPARE(role->count(), 2);
        for (int i = 0; i < role->count(); ++i) {
            role->setCurrentIndex(i);
            QCOMPARE(listed(w), QStringList());
        }
        QVERIFY(!w.qryYGZD.canModify());
    }

    void setPassword_data()
    {
        QTest::addColumn<QString>("typed");
        QTest::addColumn<QString>("message");
        QTest::addColumn<QString>("stored");
        QTest::newRow("empty") << "   "
                               << "修改的密码不能为空值！"
                               << "007";
        QTest::newRow("longer than kept")
            << QString(201, 'x') << "密码最多只能有200个字符，请重新输入。"
            << "007";
        QTest::newRow("200 characters")
            << QString(200, 'x') << "密码修改成功！" << QString(200, 'x');
        QTest::newRow("chinese and emoji") << "房源🔑密码"
                                           << "密码修改成功！"
                                           << "房源🔑密码";
        QTest::newRow("blanks trimmed") << "  ab  "
                                        << "密码修改成功！"
                                        << "ab";
        QTest::newRow("quote literal") << "a'b\"c"
                                       << "密码修改成功！"
                                       << "a'b\"c";
    }
    void setPassword()
    {
        QFETCH(QString, typed);
        QFETCH(QString, message);
        QFETCH(QString, stored);
        addStaff("007", "张三");
        db->exec("UPDATE 操作员档案 SET 功能组='普通操作员',登录密码='007',操作人员='是' WHERE "
                 "员工编号='007'");
        hashPasswords(db->mainPath());
        DialogsScope d;
        TFrmQXSZ w;
        w.show();
        auto* box = ui::find<QLineEdit>(&w, "edtMm");
        box->setText(typed);
        ui::click(ui::find(&w, "Button3"));
        QCOMPARE(d->messages(), QStringList{message});
        // The column keeps a mark; the password is kept as a hash, to be replaced
        // by the operator at his next login.
        QCOMPARE(db->scalar("select 登录密码 from 操作员档案 where 员工编号='007'").toString(),
                 QStringLiteral("******"));
        QCOMPARE(box->text(), typed);
        QCOMPARE(box->displayText(), QString(typed.size(), QLatin1Char('*')));
        QVERIFY(canLogin("007", stored));
        QVERIFY(!canLogin("007", stored.toUpper() + "x"));
        auto c = openMain(db->mainPath());
        QVERIFY(OperatorPasswords::read(*c, "007").mustChange);
    }

    void setPasswordWithEmptyListDoesNothing()
    {
        DialogsScope d;
        TFrmQXSZ w;
        w.show();
        ui::find<QLineEdit>(&w, "edtMm")->setText("x");
        ui::click(ui::find(&w, "Button3"));
        QVERIFY(d->shown.isEmpty());
    }

    void passwordWindowChecks_data()
    {
        QTest::addColumn<QString>("oldPw");
        QTest::addColumn<QString>("new1");
        QTest::addColumn<QString>("new2");
        QTest::addColumn<QString>("message");
        QTest::addColumn<QString>("focus");
        QTest::newRow("old empty") << " "
                                   << "n"
                                   << "n"
                                   << "请输入原密码。"
                                   << "edtOld";
        QTest::newRow("new empty") << "admin"
                                   << ""
                                   << "n"
                                   << "请完整输入新密码和确认新密码,不能为空"
                                   << "edtNew1";
        QTest::newRow("mismatch") << "admin"
                                  << "new"
                                  << "New"
                                  << "新密码和确认密码不一致,请重新输入。"
                                  << "edtNew2";
        QTest::newRow("wrong old") << "Admin"
                                   << "newpass"
                                   << "newpass"
                                   << "输入的原密码与系统中的密码不匹配。"
                                   << "edtOld";
    }
    void passwordWindowChecks()
    {
        QFETCH(QString, oldPw);
        QFETCH(QString, new1);
        QFETCH(QString, new2);
        QFETCH(QString, message);
        QFETCH(QString, focus);
        QVERIFY(canLogin("admin", "admin"));
        DialogsScope d;
        TFrmMMXG w;
        w.show();
        admintest::typeText(ui::find(&w, "edtOld"), oldPw);
        admintest::typeText(ui::find(&w, "edtNew1"), new1);
        admintest::typeText(ui::find(&w, "edtNew2"), new2);
        ui::click(ui::find(&w, "btnModify"));
        QCOMPARE(d->messages(), QStringList{message});
        QCOMPARE(w.focusWidget()->objectName(), focus);
        QVERIFY(w.isVisible());
        QCOMPARE(PasswordHash::verify(CurUser.YGMM, "admin"), PasswordHash::Check::Match);
        QVERIFY(canLogin("admin", "admin"));
    }

    void passwordWindowLimitsAndKeys()
    {
        QVERIFY(canLogin("admin", "admin"));
        DialogsScope d;
        TFrmMMXG w;
        w.show();
        for (const char* name : {"edtOld", "edtNew1", "edtNew2"}) {
            auto* e = ui::find<QLineEdit>(&w, name);
            QCOMPARE(e->echoMode(), QLineEdit::Password);
            // Longer passwords than the old 8 characters can be typed.
            admintest::typeText(e, "1234567890");
            QCOMPARE(e->text(), QStringLiteral("1234567890"));
            QCOMPARE(e->displayText(), QStringLiteral("**********"));
        }
        // Enter walks through the boxes and confirms in the last one.
        admintest::typeText(ui::find(&w, "edtOld"), "admin");
        ui::key(ui::find(&w, "edtOld"), Qt::Key_Return);
        QCOMPARE(w.focusWidget()->objectName(), QStringLiteral("edtNew1"));
        admintest::typeText(ui::find(&w, "edtNew1"), "abcdef");
        ui::key(ui::find(&w, "edtNew1"), Qt::Key_Enter);
        QCOMPARE(w.focusWidget()->objectName(), QStringLiteral("edtNew2"));
        admintest::typeText(ui::find(&w, "edtNew2"), "abcdef");
        ui::key(ui::find(&w, "edtNew2"), Qt::Key_Return);
        QCOMPARE(d->messages(), QStringList{"密码已成功修改。"});
        QCOMPARE(w.result(), int(QDialog::Accepted));
        QCOMPARE(PasswordHash::verify(CurUser.YGMM, "abcdef"), PasswordHash::Check::Match);
        QVERIFY(canLogin("admin", "abcdef"));
        // His own choice: no change asked at the next login.
        auto c = openMain(db->mainPath());
        QVERIFY(!OperatorPasswords::read(*c, "admin").mustChange);
    }

    // A password set longer than 8 characters in the rights window can be typed
    // into 原密码, so its owner can change it himself.
    void longStoredPasswordCanBeTyped()
    {
        setOperatorPassword(db->mainPath(), "admin", "1234567890");
        QVERIFY(canLogin("admin", "1234567890"));
        DialogsScope d;
        TFrmMMXG w;
        w.show();
        admintest::typeText(ui::find(&w, "edtOld"), "1234567890");
        admintest::typeText(ui::find(&w, "edtNew1"), "n23456");
        admintest::typeText(ui::find(&w, "edtNew2"), "n23456");
        ui::click(ui::find(&w, "btnModify"));
        QCOMPARE(d->messages(), QStringList{"密码已成功修改。"});
        QVERIFY(canLogin("admin", "n23456"));
    }

    void passwordWindowCancelChangesNothing()
    {
        QVERIFY(canLogin("admin", "admin"));
        DialogsScope d;
        TFrmMMXG w;
        w.show();
        admintest::typeText(ui::find(&w, "edtOld"), "admin");
        admintest::typeText(ui::find(&w, "edtNew1"), "x");
        admintest::typeText(ui::find(&w, "edtNew2"), "x");
        ui::click(ui::find(&w, "btnCancel"));
        QCOMPARE(w.result(), int(QDialog::Rejected));
        QVERIFY(d->shown.isEmpty());
        QVERIFY(canLogin("admin", "admin"));
    }

    void staffBecomesOperatorAndChangesPassword()
    {
        DialogsScope d;
        QVERIFY(canLogin("admin", "admin"));
        {
            TFrmryda staff;
            staff.show();
            ui::click(ui::find(&staff, "nbInsert"));
            admintest::typeText(ui::find(&staff, "DBEdit1"), "012");
            admintest::typeText(ui::find(&staff, "DBEdit2"), "赵六");
            admintest::typeText(ui::find(&staff, "DBEdit3"), "经纪人");
            ui::click(ui::find(&staff, "nbPost"));
            QVERIFY(d->messages().isEmpty());
        }
        QVERIFY(!canLogin("012", "012"));
        {
            TFrmQXSZ rights;
            rights.show();
            pickNext(d, "012");
            ui::click(ui::find(&rights, "Button1"));
            QCOMPARE(listed(rights), QStringList{"012"});
        }
        QVERIFY(canLogin("012", "012"));
        QCOMPARE(CurUser.GNZ, QStringLiteral("普通操作员"));
        {
            TFrmMMXG pw;
            pw.show();
            admintest::typeText(ui::find(&pw, "edtOld"), "012");
            admintest::typeText(ui::find(&pw, "edtNew1"), "s3cret");
            admintest::typeText(ui::find(&pw, "edtNew2"), "s3cret");
            ui::click(ui::find(&pw, "btnModify"));
            QCOMPARE(d->messages(), QStringList{"密码已成功修改。"});
        }
        QCOMPARE(PasswordHash::verify(CurUser.YGMM, "s3cret"), PasswordHash::Check::Match);
        QVERIFY(!canLogin("012", "012"));
        QVERIFY(canLogin("012", "s3cret"));
    }
};

HALVORRA_TEST_MAIN(TestFrmQxsz)
#include "tst_frm_qxsz.moc"
