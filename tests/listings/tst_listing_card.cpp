// The listing record card: role-dependent owner's block, read-only boxes, lists,
// the save rule, delete moving on, closing cancelling, and a save refused when
// another workstation changed the listing meanwhile.
#include "common/U_SelectRQ.h"
#include "data/Schema.h"
#include "listings/Frm_LLFZ.h"
#include "listings/Frm_fycx.h"
#include "tests/listings/ListingRows.h"

class TestListingCard : public QObject
{
    Q_OBJECT
    std::unique_ptr<DialogsScope> scope;
    TestDialogs* d = nullptr;
    std::unique_ptr<TestDb> db;
    std::unique_ptr<TFrmFYCX> w;

    // Opens the card on the given listing and runs f with it shown.
    void withCard(const QString& dah, const std::function<void(TFrmLLFZ*)>& f)
    {
        if (!dah.isEmpty()) QVERIFY(w->qryFwxx.locate("档案号", dah));
        bool ran = false;
        d->execs.push_back([&](QDialog* dlg) {
            auto* card = qobject_cast<TFrmLLFZ*>(dlg);
            card->show();
            f(card);
            ran = true;
            card->reject();
            return int(QDialog::Rejected);
        });
        ui::click(w->btnLL);
        QVERIFY(ran);
    }
    QVariant stored(const QString& dah, const QString& col) const
    {
        return db->scalar(QString("select %1 from 房屋信息 where 档案号='%2'").arg(col, dah));
    }

private slots:
    void init()
    {
        scope = std::make_unique<DialogsScope>();
        d = &**scope;
        db = std::make_unique<TestDb>();
        db->connectDmbasic();
        loginAs(Roles::Senior);
        db->exec("delete from 楼层字典");
        db->exec("insert into 楼层字典 values ('一楼')");
        db->exec("insert into 楼层字典 values (' 二楼 ')");
        addListing(*db, {"001261203001", "阳光花园", "东街1号", 80, 50, "有效", "261203", "5"});
        addListing(*db, {"001261203002", "翠湖", "西路2号", 120, 90, "有效", "261203", "10"});
        addListing(*db, {"001261203003", "学府", "北路3号", 60, 30, "有效", "261203", "3"});
        db->exec("update 房屋信息 set 电话='88886666'");
        w = std::make_unique<TFrmFYCX>();
        w->show();
        w->qryFwxx.first();
    }
    void cleanup()
    {
        w.reset();
        db.reset();
        scope.reset();
    }

    void ownerBlockByRole_data()
    {
        QTest::addColumn<QString>("role");
        QTest::addColumn<bool>("visible");
        QTest::newRow("普通操作员") << Roles::Ordinary << false;
        QTest::newRow("高级操作员") << Roles::Senior << true;
        QTest::newRow("系统管理员") << Roles::Admin << true;
        QTest::newRow("not an operator") << Roles::None << false;
    }
    void ownerBlockByRole()
    {
        QFETCH(QString, role);
        QFETCH(bool, visible);
        CurUser.GNZ = role;
        withCard("001261203001", [&](TFrmLLFZ* c) {
            for (const char* name :
                 {"DBEdit5", "DBEdit6", "DBEdit7", "DBEdit8", "DBEdit20", "DBMemo2", "lblFZXM",
                  "lblDH", "lblSJ", "lblZDJG", "lblCQZH", "lblBZ"})
                QVERIFY2(ui::find(c, name)->isVisible() == visible, name);
            QVERIFY(c->DBEdit1->isVisible());
            QCOMPARE(c->DBEdit1->text(), QString("阳光花园"));
        });
    }

    void shownButNotChangeable()
    {
        withCard("001261203001", [&](TFrmLLFZ* c) {
            QVERIFY(c->DBEdit4->isReadOnly());
            QVERIFY(c->DBEdit11->isReadOnly());
            QVERIFY(c->DBEdit12->isReadOnly());
            QVERIFY(c->DBEdit10->isReadOnly());
            QVERIFY(c->DBEdit13->isReadOnly());
            QCOMPARE(c->DBEdit4->text(), QString("50.00"));
            QCOMPARE(c->DBEdit11->text(), QString("出售"));
            QCOMPARE(c->DBEdit13->width(), c->cbLC->width() - 16);
            QVERIFY(!c->Button1->isEnabled());
            QVERIFY(c->Button3->isEnabled());
        });
    }

    void choosingAFloorShowsItAndEnablesSave()
    {
        withCard("001261203001", [&](TFrmLLFZ* c) {
            QCOMPARE(c->cbLC->count(), 2);
            QCOMPARE(c->cbLC->currentIndex(), -1);
            c->cbLC->setCurrentIndex(1);
            emit c->cbLC->activated(1);
            QCOMPARE(c->DBEdit13->text(), QString("二楼"));
            QVERIFY(c->Button1->isEnabled());
            ui::click(c->Button1);
        });
        QCOMPARE(stored("001261203001", "楼层").toString(), QString("二楼"));
    }

    void closingWithoutSaveLeavesTheListing()
    {
        withCard("001261203001", [&](TFrmLLFZ* c) {
            ui::type(c->DBEdit1, "改过的名字");
            QVERIFY(w->qryFwxx.isEditing());
        });
        QVERIFY(!w->qryFwxx.isEditing());
        QCOMPARE(w->qryFwxx.text("小区名称"), QString("阳光花园"));
        QCOMPARE(stored("001261203001", "小区名称").toString(), QString("阳光花园"));
    }

    void saveRule_data()
    {
        QTest::addColumn<QString>("box");
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("message");
        QTest::newRow("empty community") << "DBEdit1"
                                         << "  "
                                         << "请录入小区名称";
        QTest::newRow("empty address") << "DBEdit2"
                                       << ""
                                       << "请录入地址";
        QTest::newRow("area 0") << "DBEdit3"
                                << "0"
                                << "请录入房屋面积";
        QTest::newRow("area empty") << "DBEdit3"
                                    << ""
                                    << "请录入房屋面积";
        QTest::newRow("owner's name may be empty") << "DBEdit5"
                                                   << ""
                                                   << "";
        QTest::newRow("phone may be empty") << "DBEdit6"
                                            << ""
                                            << "";
        QTest::newRow("age takes any characters") << "DBEdit9"
                                                  << "五年"
                                                  << "";
    }
    void saveRule()
    {
        QFETCH(QString, box);
        QFETCH(QString, text);
        QFETCH(QString, message);
        withCard("001261203002", [&](TFrmLLFZ* c) {
            auto* e = ui::find<DbEdit>(c, box);
            ui::type(e, text);
            QVERIFY(c->Button1->isEnabled());
            ui::click(c->Button1);
            if (message.isEmpty()) {
                QVERIFY2(d->messages().isEmpty(), qPrintable(d->messages().join('|')));
                QVERIFY(!w->qryFwxx.isEditing());
                QVERIFY(!c->Button1->isEnabled());
                QCOMPARE(w->qryFwxx.text("档案号"), QString("001261203002"));
            } else {
                QCOMPARE(d->messages(), QStringList{message});
                QVERIFY(w->qryFwxx.isEditing());
                QCOMPARE(c->focusWidget(), e);
            }
        });
        if (message.isEmpty() && box == "DBEdit9")
            QCOMPARE(stored("001261203002", "新旧程度").toString(), QString("五年"));
        if (!message.isEmpty()) QCOMPARE(stored("001261203002", "房屋面积").toDouble(), 120.0);
    }

    void emptyLowestPriceBecomesZero()
    {
        withCard("001261203001", [&](TFrmLLFZ* c) {
            ui::type(c->DBEdit8, "");
            ui::click(c->Button1);
            QCOMPARE(c->DBEdit8->text(), QString("0.00"));
        });
        QVERIFY(!stored("001261203001", "最低价格").isNull());
        QCOMPARE(stored("001261203001", "最低价格").toDouble(), 0.0);
    }

    void untickingValidityMarksInvalid()
    {
        withCard("001261203001", [&](TFrmLLFZ* c) {
            QVERIFY(c->DBCheckBox1->isChecked());
            ui::click(c->DBCheckBox1);
            QVERIFY(c->Button1->isEnabled());
            ui::click(c->Button1);
        });
        QCOMPARE(stored("001261203001", "类型").toString(), QString("无效"));
        ui::click(w->BitBtn5);
        QVERIFY(!w->qryFwxx.locate("档案号", "001261203001"));
    }

    void deleteMovesToTheNextAndEmptiesAtTheEnd()
    {
        w->qryFwxx.first();
        const QString first = w->qryFwxx.text("档案号");
        w->qryFwxx.next();
        const QString second = w->qryFwxx.text("档案号");
        w->qryFwxx.first();
        withCard({}, [&](TFrmLLFZ* c) {
            d->answers = {false};
            ui::click(c->Button3);
            QCOMPARE(c->findChild<DbEdit*>("DBEdit1")->text(),
                     stored(first, "小区名称").toString());
            d->answers = {true};
            const QString secondName = stored(second, "小区名称").toString();
            ui::click(c->Button3);
            QCOMPARE(c->DBEdit1->text(), secondName);
            QCOMPARE(w->qryFwxx.text("档案号"), second);
            d->answers = {true, true};
            ui::click(c->Button3);
            ui::click(c->Button3);
            QCOMPARE(w->qryFwxx.recordCount(), 0);
            QVERIFY(c->DBEdit1->text().isEmpty());
            QVERIFY(c->DBEdit3->text().isEmpty());
            QVERIFY(!c->Button3->isEnabled());
            QVERIFY(!c->Button1->isEnabled());
        });
        QCOMPARE(db->scalar("select count(*) from 房屋信息").toInt(), 0);
        QCOMPARE(d->questions().size(), 4);
        QCOMPARE(w->DBGridEh1->footerText(0), QString("0"));
    }

    void deadlineThroughTheDatePicker()
    {
        withCard("001261203001", [&](TFrmLLFZ* c) {
            d->execs.push_back([](QDialog*) { return int(QDialog::Rejected); });
            ui::click(c->Button2);
            QVERIFY(!w->qryFwxx.isEditing());
            d->execs.push_back([](QDialog* dlg) {
                qobject_cast<TdlgSelectRQ*>(dlg)->setDate(QDate(2027, 1, 15));
                return int(QDialog::Accepted);
            });
            ui::click(c->Button2);
            QCOMPARE(c->DBEdit10->text(), QString("270115"));
            QVERIFY(c->Button1->isEnabled());
            ui::click(c->Button1);
        });
        QCOMPARE(stored("001261203001", "期限").toString(), QString("270115"));
    }

    void structureFileLinkedAndOpened()
    {
        withCard("001261203001", [&](TFrmLLFZ* c) {
            d->files = {""};
            ui::click(c->Button5);
            QVERIFY(!w->qryFwxx.isEditing());
            ui::click(c->Button4);
            QVERIFY(d->opened.isEmpty());
            d->files = {"/tmp/结构图.jpg"};
            ui::click(c->Button5);
            QVERIFY(d->fileDialogs.last().picture);
            QCOMPARE(c->DBEdit19->text(), QString("/tmp/结构图.jpg"));
            QVERIFY(c->Button1->isEnabled());
            ui::click(c->Button1);
            ui::click(c->Button4);
            QCOMPARE(d->opened, QStringList{"/tmp/结构图.jpg"});
        });
        QCOMPARE(stored("001261203001", "房屋结构文件").toString(), QString("/tmp/结构图.jpg"));
    }

    // Sound behaviour: the card never silently overwrites a listing another
    // workstation changed or deleted after the search.
    void saveRefusedWhenChangedElsewhere_data()
    {
        QTest::addColumn<QString>("meanwhile");
        QTest::newRow("changed")
            << "update 房屋信息 set 小区名称='别人改的' where 档案号='001261203001'";
        QTest::newRow("deleted") << "delete from 房屋信息 where 档案号='001261203001'";
    }
    void saveRefusedWhenChangedElsewhere()
    {
        QFETCH(QString, meanwhile);
        withCard("001261203001", [&](TFrmLLFZ* c) {
            ui::type(c->DBEdit2, "我改的地址");
            db->exec(meanwhile);
            ui::click(c->Button1);
            QCOMPARE(d->messages().size(), 1);
            QVERIFY(d->messages().first().contains("其他工作站"));
            QVERIFY(w->qryFwxx.isEditing());
            QCOMPARE(c->DBEdit2->text(), QString("我改的地址"));
        });
        QVERIFY(stored("001261203001", "地址").toString() != QString("我改的地址"));
    }
};

HALVORRA_TEST_MAIN(TestListingCard)
#include "tst_listing_card.moc"
