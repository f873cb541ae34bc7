// What only the listing entry window does: opening with its lists and defaults,
// the saved row, the choices kept for the next listing, the last number of a day
// and the house-structure file. What both entry windows
// do is tested in tests/registers/tst_register_entry.cpp.
#include "listings/frm_Fylr.h"
#include "tests/registers/RegisterTests.h"

#include <QLabel>

class TestListingEntry : public QObject, private EntryTest
{
    Q_OBJECT
    void open() { EntryTest::open(QStringLiteral("房源")); }

    // A listing that passes every check.
    void fillValid()
    {
        set("DBEdit1", QStringLiteral("阳光花园"));
        set("DBEdit2", QStringLiteral("人民路 12 号"));
        set("DBEdit3", "86.5");
        set("cbLC", QStringLiteral("中层"));
        set("cbHX", QStringLiteral("两室一厅"));
        set("DBEdit4", "450000");
        set("DBEdit10", QStringLiteral("水电气齐全"));
        set("cbWZ", QStringLiteral("城东"));
        set("cbFS", QStringLiteral("出售"));
        set("cbQS", QStringLiteral("房改房"));
        set("DBEdit9", "12");
        set("DBEdit11", "3");
        set("DBEdit5", QStringLiteral("王伟"));
        set("DBEdit6", "0101234567");
        set("DBEdit7", "13800000000");
        set("DBEdit8", "430000");
        set("DBEdit14", "A-1");
        set("DBMemo2", QStringLiteral("急售"));
        set("DBMemo1", QStringLiteral("周末可看"));
    }
    int listings() const { return count(QStringLiteral("房屋信息")); }

private slots:
    void init() { start(); }
    void cleanup() { stop(); }

    void opensWithListsDefaultsAndFocus()
    {
        open();
        QCOMPARE(w->windowTitle(), QStringLiteral("房源输入"));
        // The panel's window, grown by the photo strip under its buttons.
        QCOMPARE(w->width(), 650);
        QVERIFY(w->height() > 450 && w->findChild<QWidget*>("PhotoStrip")->y() > 450 - 40);
        QVERIFY(w->findChild<QLabel*>("Label_Title")->text() == QStringLiteral("房源信息档案卡"));
        auto* lc = ui::find<QComboBox>(w.get(), "cbLC");
        QCOMPARE(lc->count(), 6);
        QCOMPARE(lc->currentIndex(), -1);
        QCOMPARE(ui::find<QComboBox>(w.get(), "cbHX")->count(), 8);
        QCOMPARE(ui::find<QComboBox>(w.get(), "cbWZ")->count(), 7);
        QCOMPARE(ui::find<QComboBox>(w.get(), "cbFS")->currentText(), QStringLiteral("出售"));
        // The first supply mode is "出售": the rule applied at opening offers 权属.
        auto* qs = ui::find<QComboBox>(w.get(), "cbQS");
        QVERIFY(qs->isEnabled());
        QCOMPARE(qs->currentText(), QStringLiteral("商品房"));

        Query& q = w->row();
        QCOMPARE(q.state(), Query::State::Insert);
        QCOMPARE(q.number("房屋面积"), 0.0);
        QCOMPARE(q.number("信息价格"), 0.0);
        QCOMPARE(q.number("最低价格"), 0.0);
        QVERIFY(!q.isNull("最低价格"));
        QCOMPARE(q.text("类型"), QStringLiteral("有效"));
        QCOMPARE(q.text("公司编号"), QString("001"));
        QCOMPARE(q.text("录入日期"), QString("261209"));
        QVERIFY(q.isNull("档案号"));
        QVERIFY(q.isNull("期限"));
        QCOMPARE(ui::find<QLineEdit>(w.get(), "DBEdit3")->text(), QStringLiteral("0.00"));
        QCOMPARE(ui::find<QLineEdit>(w.get(), "DBEdit8")->text(), QStringLiteral("0.00"));
        QCOMPARE(w->focusWidget(), c("DBEdit1"));
    }

    void rentalFirstModeLeavesOwnershipDisabled()
    {
        db->exec("delete from 供应方式字典");
        db->exec("insert into 供应方式字典 values ('出租')");
        db->exec("insert into 供应方式字典 values ('出售')");
        open();
        auto* qs = ui::find<QComboBox>(w.get(), "cbQS");
        QCOMPARE(ui::find<QComboBox>(w.get(), "cbFS")->currentText(), QStringLiteral("出租"));
        QVERIFY(!qs->isEnabled());
        QCOMPARE(qs->currentIndex(), -1);
    }

    void ageTakesDigitsOnly()
    {
        open();
        auto* age = ui::find<QLineEdit>(w.get(), "DBEdit9");
        age->setFocus();
        QTest::keyClicks(age, "1a2");
        QCOMPARE(age->text(), QStringLiteral("12"));
        QTest::keyClick(age, Qt::Key_Backspace);
        QCOMPARE(age->text(), QStringLiteral("1"));
        age->insert("3x"); // pasted text with a letter is refused whole
        QCOMPARE(age->text(), QStringLiteral("1"));
        QCOMPARE(w->row().text("新旧程度"), QStringLiteral("1"));
    }

    void savedRowHoldsEverything()
    {
        open();
        fillValid();
        set("cbQS", QStringLiteral("私房"));
        set("DBEdit1", QStringLiteral("  O'Neil \"花园\" "));
        save(false);
        QCOMPARE(d->questions(), QStringList{QStringLiteral("是否增加新的记录？")});
        QVERIFY(!w->isVisible());
        const auto r = db->rows(
            "select 档案号,序号,公司编号,录入日期,类型,楼层,户型,位置,方式,权属,"
            "房屋面积,信息价格,最低价格,小区名称,新旧程度,备注,看房情况,期限 from 房屋信息");
        QCOMPARE(r.size(), 1);
        const QVariantList& v = r[0];
        QCOMPARE(v[0].toString(), QStringLiteral("001261209001"));
        QCOMPARE(v[1].toString(), QStringLiteral("001"));
        QCOMPARE(v[2].toString(), QString("001"));
        QCOMPARE(v[3].toString(), QString("261209"));
        QCOMPARE(v[4].toString(), QStringLiteral("有效"));
        QCOMPARE(v[5].toString(), QStringLiteral("中层"));
        QCOMPARE(v[6].toString(), QStringLiteral("两室一厅"));
        QCOMPARE(v[7].toString(), QStringLiteral("城东"));
        QCOMPARE(v[8].toString(), QStringLiteral("出售"));
        QCOMPARE(v[9].toString(), QStringLiteral("私房"));
        QCOMPARE(v[10].toDouble(), 86.5);
        QCOMPARE(v[11].toDouble(), 450000.0);
        QCOMPARE(v[12].toDouble(), 430000.0);
        QCOMPARE(v[13].toString(), QStringLiteral("  O'Neil \"花园\" "));
        QCOMPARE(v[14].toString(), QStringLiteral("12"));
        QCOMPARE(v[15].toString(), QStringLiteral("急售"));
        QCOMPARE(v[16].toString(), QStringLiteral("周末可看"));
        QVERIFY(v[17].isNull());
    }

    void rentalSavesEmptyOwnership()
    {
        open();
        fillValid();
        set("cbFS", QStringLiteral("出租"));
        save(false);
        QCOMPARE(d->messages(), QStringList());
        QCOMPARE(db->scalar("select 方式 from 房屋信息").toString(), QStringLiteral("出租"));
        QCOMPARE(db->scalar("select coalesce(权属,'') from 房屋信息").toString(), QString());
    }

    void yesKeepsChoicesAndStartsAfresh()
    {
        open();
        fillValid();
        set("cbLC", QStringLiteral("顶层"));
        set("cbQS", QStringLiteral("私房"));
        save(true);
        QVERIFY(w->isVisible());
        Query& q = w->row();
        QCOMPARE(q.state(), Query::State::Insert);
        QVERIFY(q.isNull("小区名称"));
        QVERIFY(q.isNull("房主姓名"));
        QVERIFY(q.isNull("备注"));
        QCOMPARE(q.number("房屋面积"), 0.0);
        QCOMPARE(q.text("类型"), QStringLiteral("有效"));
        QCOMPARE(q.text("公司编号"), QString("001"));
        QCOMPARE(ui::find<QLineEdit>(w.get(), "DBEdit1")->text(), QString());
        QCOMPARE(ui::find<QPlainTextEdit>(w.get(), "DBMemo1")->toPlainText(), QString());
        QCOMPARE(ui::find<QComboBox>(w.get(), "cbLC")->currentText(), QStringLiteral("顶层"));
        QCOMPARE(ui::find<QComboBox>(w.get(), "cbHX")->currentText(), QStringLiteral("两室一厅"));
        QCOMPARE(ui::find<QComboBox>(w.get(), "cbWZ")->currentText(), QStringLiteral("城东"));
        QCOMPARE(ui::find<QComboBox>(w.get(), "cbFS")->currentText(), QStringLiteral("出售"));
        QCOMPARE(ui::find<QComboBox>(w.get(), "cbQS")->currentText(), QStringLiteral("私房"));
        QCOMPARE(w->focusWidget(), c("DBEdit1"));
        // The next listing continues the day's count.
        set("DBEdit1", QStringLiteral("翠湖小区"));
        set("DBEdit2", QStringLiteral("解放路"));
        set("DBEdit3", "60");
        set("DBEdit4", "2000");
        set("DBEdit5", QStringLiteral("李娜"));
        set("DBEdit7", "13900000000");
        set("DBEdit8", "1800");
        save(false);
        QCOMPARE(db->scalar("select 小区名称 from 房屋信息 where 档案号='001261209002'").toString(),
                 QStringLiteral("翠湖小区"));
        QCOMPARE(db->scalar("select 楼层 from 房屋信息 where 档案号='001261209002'").toString(),
                 QStringLiteral("顶层"));
    }

    void nineHundredNinetyNinthIsTheLast()
    {
        db->exec("insert into 房屋信息 (档案号,公司编号,录入日期,序号) values "
                 "('001261209998','001','261209','998')");
        open();
        fillValid();
        save(true);
        QCOMPARE(d->messages(), QStringList());
        QCOMPARE(db->scalar("select max(档案号) from 房屋信息").toString(),
                 QStringLiteral("001261209999"));
        fillValid();
        save(false);
        QCOMPARE(d->messages().size(), 1);
        QCOMPARE(listings(), 2);
        QCOMPARE(db->scalar("select count(*) from 房屋信息 where length(序号)<>3").toInt(), 0);
    }

    void structureFile()
    {
        open();
        d->files.push_back(QString()); // cancelled
        ui::click(c("Button3"));
        QVERIFY(w->row().isNull("房屋结构文件"));
        QCOMPARE(d->fileDialogs.size(), 1);
        QVERIFY(d->fileDialogs[0].picture);
        ui::click(c("Button4")); // nothing linked: nothing opened
        QCOMPARE(d->opened, QStringList());

        d->files.push_back(QStringLiteral("/srv/pics/户型 1.jpg"));
        ui::click(c("Button3"));
        QCOMPARE(w->row().text("房屋结构文件"), QStringLiteral("/srv/pics/户型 1.jpg"));
        QCOMPARE(ui::find<QLineEdit>(w.get(), "DBEdit13")->text(),
                 QStringLiteral("/srv/pics/户型 1.jpg"));
        // A path longer than the column holds is refused at once, the link kept.
        d->files.push_back(QStringLiteral("/srv/") + QString(120, QLatin1Char('x')) + ".jpg");
        ui::click(c("Button3"));
        QCOMPARE(d->messages().size(), 1);
        QVERIFY(d->messages()[0].contains("100"));
        QCOMPARE(w->row().text("房屋结构文件"), QStringLiteral("/srv/pics/户型 1.jpg"));
        set("DBEdit13", QStringLiteral("  /srv/pics/b.bmp  "));
        ui::click(c("Button4"));
        QCOMPARE(d->opened, QStringList{QStringLiteral("/srv/pics/b.bmp")});
    }
};

HALVORRA_TEST_MAIN(TestListingEntry)
#include "tst_listing_entry.moc"
