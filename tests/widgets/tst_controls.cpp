// Data-aware controls, grid and navigator over a real row set, and the default
// error display that keeps the program running after an uncaught error.
#include "data/DbError.h"
#include "data/Dmbasic.h"
#include "tests/support/TestSupport.h"
#include "widgets/CharLimit.h"
#include "widgets/DbControls.h"
#include "widgets/DbGrid.h"
#include "widgets/DbNavigator.h"

#include <QAbstractItemModelTester>
#include <QClipboard>
#include <QPushButton>

class TestControls : public QObject
{
    Q_OBJECT
    std::unique_ptr<TestDb> db;

private slots:
    void initTestCase()
    {
        db = std::make_unique<TestDb>();
        db->connectDmbasic();
        db->exec("insert into 房屋信息 (档案号,小区名称,房屋面积,类型) values "
                 "('001261209001','阳光',80,'有效')");
        db->exec("insert into 房屋信息 (档案号,小区名称,房屋面积,类型) values "
                 "('001261209002','翠湖',95.5,'无效')");
    }

    void editTypingPutsRowIntoEditing()
    {
        Query q(&dmbasic->adoCntnfybase);
        q.addSql("select * from 房屋信息");
        q.open();
        DataSource ds(&q);
        QWidget w;
        auto* name = new DbEdit(&w);
        auto* area = new DbEdit(&w);
        auto* valid = new DbCheckBox(&w);
        name->bind(&ds, "小区名称");
        area->bind(&ds, "房屋面积");
        valid->bind(&ds, "类型", "有效", "无效");
        w.show();
        QCOMPARE(charLimit(name), 30);
        QCOMPARE(area->text(), QStringLiteral("80.00"));
        QVERIFY(valid->isChecked());
        ui::type(name, "阳光新城");
        QCOMPARE(q.state(), Query::State::Edit);
        QCOMPARE(q.text("小区名称"), QStringLiteral("阳光新城"));
        ui::type(area, "81.5");
        QCOMPARE(q.number("房屋面积"), 81.5);
        QTest::keyClicks(area, "x"); // letters never reach a number box
        QCOMPARE(area->text(), QStringLiteral("81.5"));
        ui::click(valid);
        QCOMPARE(q.text("类型"), QStringLiteral("无效"));
        q.post();
        q.next();
        QCOMPARE(name->text(), QStringLiteral("翠湖"));
        QCOMPARE(area->text(), QStringLiteral("95.50"));
        QVERIFY(!valid->isChecked());
        QCOMPARE(db->scalar("select 小区名称 || 类型 from 房屋信息 where 档案号='001261209001'")
                     .toString(),
                 QStringLiteral("阳光新城无效"));
    }

    void widthInCharacters_data()
    {
        QTest::addColumn<QString>("character");
        QTest::newRow("Chinese") << QStringLiteral("楼");
        QTest::newRow("letter") << QStringLiteral("a");
        QTest::newRow("emoji") << QString::fromUcs4(U"\U0001F3E0");
        QTest::newRow("rare CJK of a supplementary plane") << QString::fromUcs4(U"\U00020BB7");
    }
    // A box bound to a text column takes as many characters as the column holds,
    // counted as the database counts them: typed one by one or pasted, never more,
    // never half of one.
    void widthInCharacters()
    {
        QFETCH(QString, character);
        Query q(&dmbasic->adoCntnfybase);
        q.addSql("select * from 房屋信息");
        q.open();
        DataSource ds(&q);
        DbEdit e;
        e.bind(&ds, "楼层"); // text(10)
        e.show();
        e.setFocus();
        QCOMPARE(charLimit(&e), 10);
        e.clear();
        for (int i = 0; i < 11; ++i)
            e.insert(character); // typed
        QCOMPARE(e.text(), character.repeated(10));
        e.clear();
        e.insert(QStringLiteral("一") + character.repeated(12)); // pasted
        QCOMPARE(e.text(), QStringLiteral("一") + character.repeated(9));
        q.post();
        QCOMPARE(q.text("楼层"), QStringLiteral("一") + character.repeated(9));
    }

    void digitsOnlyRefusesTypedAndPasted()
    {
        Query q(&dmbasic->adoCntnfybase);
        q.addSql("select * from 房屋信息");
        q.open();
        DataSource ds(&q);
        DbEdit e;
        e.bind(&ds, "新旧程度");
        e.setDigitsOnly(true);
        e.show();
        ui::type(&e, "1a2");
        QCOMPARE(e.text(), QStringLiteral("12"));
        QGuiApplication::clipboard()->setText("x9");
        e.selectAll();
        e.paste();
        QCOMPARE(e.text(), QStringLiteral("12"));
        QCOMPARE(e.maxLength(), 4);
    }

    void gridFollowsRowSet()
    {
        Query q(&dmbasic->adoCntnfybase);
        q.addSql("select * from 房屋信息");
        q.open();
        DataSource ds(&q);
        DbGrid g;
        QAbstractItemModelTester tester(g.model(),
                                        QAbstractItemModelTester::FailureReportingMode::QtTest);
        g.setDataSource(&ds);
        g.setColumns({{"档案号", "档案号", -1, ""},
                      {"房屋面积", "房屋面积", 90, "0.00"},
                      {"新旧程度", "房龄", -1, ""}});
        g.setFooterCountColumn(0);
        g.show();
        QCOMPARE(g.model()->rowCount(), 2);
        QCOMPARE(g.footerText(0), QStringLiteral("2"));
        QCOMPARE(g.model()->headerData(2, Qt::Horizontal).toString(), QStringLiteral("房龄"));
        QCOMPARE(g.model()->index(1, 1).data().toString(), QStringLiteral("95.50"));
        g.view()->selectRow(1);
        QCOMPARE(q.recNo(), 1);
        q.first();
        QCOMPARE(g.view()->currentIndex().row(), 0);
        g.setColumnVisible(1, false);
        QCOMPARE(g.visibleColumns(), QList<int>({0, 2}));
        q.close();
        QCOMPARE(g.model()->rowCount(), 0);
    }

    void navigatorButtonsFollowState()
    {
        Query q(&dmbasic->adoCntnfybase);
        q.addSql("select * from 楼层字典");
        q.open();
        DataSource ds(&q);
        DbNavigator nav;
        nav.setDataSource(&ds);
        QVERIFY(!nav.button(DbNavigator::Prior)->isEnabled());
        QVERIFY(nav.button(DbNavigator::Next)->isEnabled());
        QVERIFY(!nav.button(DbNavigator::Post)->isEnabled());
        nav.click(DbNavigator::Insert);
        QCOMPARE(q.state(), Query::State::Insert);
        QVERIFY(nav.button(DbNavigator::Post)->isEnabled());
        QVERIFY(nav.button(DbNavigator::Cancel)->isEnabled());
        nav.click(DbNavigator::Cancel);
        QCOMPARE(q.state(), Query::State::Browse);
        nav.click(DbNavigator::Last);
        QVERIFY(!nav.button(DbNavigator::Next)->isEnabled());
    }

    void fileFilters_data()
    {
        QTest::addColumn<QString>("filter");
        QTest::addColumn<QString>("qt");
        QTest::newRow("database") << "数据库文件|*.mdb"
                                  << "数据库文件 (*.mdb)";
        QTest::newRow("two patterns") << "图片|*.jpg;*.bmp|位图|*.bmp"
                                      << "图片 (*.jpg *.bmp);;位图 (*.bmp)";
        QTest::newRow("already qt") << "文本 (*.txt)"
                                    << "文本 (*.txt)";
    }
    void fileFilters()
    {
        QFETCH(QString, filter);
        QFETCH(QString, qt);
        QCOMPARE(qtFileFilter(filter), qt);
    }

    // An uncaught error ends its handler and shows its own text; the program goes on.
    // A silent abort shows nothing.
    void defaultErrorDisplay()
    {
        DialogsScope d;
        QPushButton fails("x"), aborts("y");
        int after = 0;
        QObject::connect(&fails, &QPushButton::clicked, [&] {
            throw DbError("数据库出错了");
            ++after;
        });
        QObject::connect(&aborts, &QPushButton::clicked, [&] { throw SilentAbort(); });
        fails.show();
        aborts.show();
        ui::click(&fails);
        QCOMPARE(d->messages(), QStringList{"数据库出错了"});
        QCOMPARE(after, 0);
        ui::click(&aborts);
        QCOMPARE(d->shown.size(), 1);
        ui::click(&fails);
        QCOMPARE(d->shown.size(), 2);
    }
};

HALVORRA_TEST_MAIN(TestControls)
#include "tst_controls.moc"
