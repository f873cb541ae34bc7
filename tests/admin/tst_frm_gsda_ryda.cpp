// The company record and the staff register, driven like a user: typing into the
// boxes, the navigator and the buttons, answers through the dialog double.
#include "admin/Frm_gsda.h"
#include "admin/Frm_ryda.h"
#include "data/Text.h"
#include "session/PubVars.h"
#include "tests/admin/AdminTestUtil.h"
#include "tests/support/TestSupport.h"
#include "widgets/DbGrid.h"
#include "widgets/DbNavigator.h"

#include <QPushButton>

class TestFrmGsdaRyda : public QObject
{
    Q_OBJECT
    std::unique_ptr<TestDb> db;

    QString company(const QString& col) const
    {
        return db->scalar("select " + col + " from 公司信息").toString();
    }
    void addStaff(const QString& no, const QString& name)
    {
        db->exec(QStringLiteral(
                     "INSERT INTO 操作员档案 (员工编号,员工姓名,员工职务,联系电话,操作人员,功能组) "
                     "VALUES ('%1','%2','职员','','否','#')")
                     .arg(no, name));
    }
    static void nav(QWidget* w, const char* button)
    {
        ui::click(ui::find<QToolButton>(w, QString::fromLatin1(button)));
    }

private slots:
    void init()
    {
        db = std::make_unique<TestDb>();
        db->connectDmbasic();
        GSDM = QStringLiteral("001");
    }
    void cleanup() { db.reset(); }

    void companySaveChecks_data()
    {
        QTest::addColumn<QString>("code");
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("message"); // empty: saved
        QTest::addColumn<QString>("focus");
        QTest::newRow("two letters") << "ab"
                                     << "新公司"
                                     << "公司代码必须为3位！"
                                     << "DBEdit1";
        QTest::newRow("blank before") << " ab"
                                      << "新公司"
                                      << "公司代码必须为3位！"
                                      << "DBEdit1";
        QTest::newRow("blank after") << "ab "
                                     << "新公司"
                                     << "公司代码必须为3位！"
                                     << "DBEdit1";
        QTest::newRow("one hanzi") << "中"
                                   << "新公司"
                                   << "公司代码必须为3位！"
                                   << "DBEdit1";
        QTest::newRow("blank name") << "xyz"
                                    << "   "
                                    << "公司名称不能为空"
                                    << "DBEdit2";
        QTest::newRow("letters") << "xyz"
                                 << "新公司"
                                 << ""
                                 << "";
        QTest::newRow("hanzi and letter") << "中a"
                                          << "新公司"
                                          << ""
                                          << "";
    }
    void companySaveChecks()
    {
        QFETCH(QString, code);
        QFETCH(QString, name);
        QFETCH(QString, message);
        QFETCH(QString, focus);
        DialogsScope d;
        TFrmgsda w;
        w.show();
        auto* save = ui::find<QPushButton>(&w, "Button1");
        QVERIFY(!save->isEnabled());
        admintest::typeText(ui::find(&w, "DBEdit1"), code);
        admintest::typeText(ui::find(&w, "DBEdit2"), name);
        QVERIFY(save->isEnabled());
        ui::click(save);
        if (message.isEmpty()) {
            QVERIFY(d->messages().isEmpty());
            QCOMPARE(company("公司代码"), code);
            QCOMPARE(GSDM, code);
            QVERIFY(!save->isEnabled());
        } else {
            QCOMPARE(d->messages(), QStringList{message});
            QCOMPARE(w.focusWidget()->objectName(), focus);
            QVERIFY(w.qryGSXX.isEditing());
            QVERIFY(save->isEnabled());
            QCOMPARE(company("公司代码"), QStringLiteral("001"));
            QCOMPARE(GSDM, QStringLiteral("001"));
        }
    }

    void companyCancelKeepsRowAndCode()
    {
        DialogsScope d;
        {
            TFrmgsda w;
            w.show();
            admintest::typeText(ui::find(&w, "DBEdit1"), "xyz");
            admintest::typeText(ui::find(&w, "DBEdit3"), "新地址");
            ui::click(ui::find(&w, "BitBtn2"));
            QVERIFY(!w.isVisible());
        }
        QCOMPARE(company("公司代码"), QStringLiteral("001"));
        QCOMPARE(company("公司地址"), QString());
        QCOMPARE(GSDM, QStringLiteral("001"));
        QVERIFY(d->shown.isEmpty());
    }

    void companyWithoutRowRefusesTyping()
    {
        db->exec("DELETE FROM 公司信息");
        DialogsScope d;
        TFrmgsda w;
        w.show();
        admintest::typeText(ui::find(&w, "DBEdit1"), "xyz");
        QVERIFY(!w.qryGSXX.isEditing());
        QVERIFY(d->shown.isEmpty());
        QCOMPARE(db->scalar("select count(*) from 公司信息").toInt(), 0);
    }

    void staffListHidesAdmin()
    {
        addStaff("007", "张三");
        DialogsScope d;
        TFrmryda w;
        QCOMPARE(w.ADOQryryda.recordCount(), 1);
        QCOMPARE(w.ADOQryryda.text("员工编号"), QStringLiteral("007"));
        for (auto b :
             {DbNavigator::First, DbNavigator::Insert, DbNavigator::Refresh, DbNavigator::Post})
            QVERIFY(ui::find<DbNavigator>(&w, "DBNavigator1")->button(b)->isVisibleTo(&w));
    }

    void staffNewRowChecks_data()
    {
        QTest::addColumn<QString>("number");
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("message");
        QTest::addColumn<QString>("stored"); // number as stored when saved
        QTest::newRow("admin number") << "admin"
                                      << "李四"
                                      << "存在重复的记录，请重新输入"
                                      << "";
        QTest::newRow("existing number") << "007"
                                         << "李四"
                                         << "存在重复的记录，请重新输入"
                                         << "";
        QTest::newRow("existing with blanks") << " 007"
                                              << "李四"
                                              << "存在重复的记录，请重新输入"
                                              << "";
        QTest::newRow("empty number") << ""
                                      << "李四"
                                      << "员工编号不能为空"
                                      << "";
        QTest::newRow("blank name") << "008"
                                    << "  "
                                    << "员工姓名不能为空"
                                    << "";
        QTest::newRow("free number") << "008"
                                     << "李四"
                                     << ""
                                     << "008";
        QTest::newRow("blanks trimmed") << " 008"
                                        << "李四"
                                        << ""
                                        << "008";
        QTest::newRow("quote literal") << "o'k"
                                       << "李四"
                                       << ""
                                       << "o'k";
    }
    void staffNewRowChecks()
    {
        QFETCH(QString, number);
        QFETCH(QString, name);
        QFETCH(QString, message);
        QFETCH(QString, stored);
        addStaff("007", "张三");
        DialogsScope d;
        TFrmryda w;
        w.show();
        nav(&w, "nbInsert");
        QCOMPARE(w.focusWidget()->objectName(), QStringLiteral("DBEdit1"));
        admintest::typeText(ui::find(&w, "DBEdit1"), number);
        admintest::typeText(ui::find(&w, "DBEdit2"), name);
        nav(&w, "nbPost");
        const int rows = db->scalar("select count(*) from 操作员档案").toInt();
        if (message.isEmpty()) {
            QVERIFY(d->messages().isEmpty());
            QCOMPARE(rows, 3);
            const auto r = db->rows(
                "select 员工姓名,操作人员,功能组,登录密码 from 操作员档案 where 员工编号='" +
                Text::quoted(stored) + "'");
            QCOMPARE(r.size(), 1);
            QCOMPARE(r[0][0].toString(), name);
            QCOMPARE(r[0][1].toString(), QStringLiteral("否"));
            QCOMPARE(r[0][2].toString(), QStringLiteral("#"));
            QVERIFY(r[0][3].isNull());
        } else {
            QCOMPARE(d->messages(), QStringList{message});
            QCOMPARE(rows, 2);
            QCOMPARE(w.ADOQryryda.state(), Query::State::Insert);
            QCOMPARE(w.focusWidget()->objectName(),
                     QString::fromLatin1(message == "员工姓名不能为空" ? "DBEdit2" : "DBEdit1"));
        }
    }

    // The duplicate query would find the row itself: saving a name-only change
    // proves it does not run when the number is unchanged.
    void staffEditNameOnlySkipsDuplicateQuery()
    {
        addStaff("007", "张三");
        addStaff("009", "王五");
        DialogsScope d;
        TFrmryda w;
        w.show();
        QVERIFY(w.ADOQryryda.locate("员工编号", "007"));
        admintest::typeText(ui::find(&w, "DBEdit2"), "张三丰");
        admintest::typeText(ui::find(&w, "DBEdit4"), "123");
        nav(&w, "nbPost");
        QVERIFY(d->messages().isEmpty());
        QCOMPARE(db->scalar("select 员工姓名 from 操作员档案 where 员工编号='007'").toString(),
                 QStringLiteral("张三丰"));

        // Changing the number to another row's is refused; moving away keeps the check.
        admintest::typeText(ui::find(&w, "DBEdit1"), "009");
        nav(&w, "nbNext");
        QCOMPARE(d->messages(), QStringList{"存在重复的记录，请重新输入"});
        QVERIFY(w.ADOQryryda.isEditing());
        QCOMPARE(db->scalar("select count(*) from 操作员档案 where 员工编号='009'").toInt(), 1);
        nav(&w, "nbCancel");
        QCOMPARE(w.ADOQryryda.text("员工编号"), QStringLiteral("007"));
    }

    void staffDeleteAsks()
    {
        addStaff("007", "张三");
        DialogsScope d;
        TFrmryda w;
        w.show();
        d->answers = {false};
        nav(&w, "nbDelete");
        QCOMPARE(d->questions(), QStringList{"是否删除该记录？"});
        QCOMPARE(w.ADOQryryda.recordCount(), 1);
        d->answers = {true};
        nav(&w, "nbDelete");
        QCOMPARE(w.ADOQryryda.recordCount(), 0);
        QCOMPARE(db->scalar("select count(*) from 操作员档案 where 员工编号='007'").toInt(), 0);
    }

    void staffCloseDropsUnsavedChange()
    {
        addStaff("007", "张三");
        DialogsScope d;
        {
            TFrmryda w;
            w.show();
            admintest::typeText(ui::find(&w, "DBEdit2"), "改名");
            ui::click(ui::find(&w, "BitBtn1"));
        }
        QCOMPARE(db->scalar("select 员工姓名 from 操作员档案 where 员工编号='007'").toString(),
                 QStringLiteral("张三"));
    }
};

HALVORRA_TEST_MAIN(TestFrmGsdaRyda)
#include "tst_frm_gsda_ryda.moc"
