// The customer record card: personal fields by role, read-only boxes, the lists
// with "不限", the save rule, validity, delete moving on, closing cancelling.
#include "customers/Frm_LLKH.h"
#include "customers/Frm_khcx.h"
#include "tests/customers/QueriedCustomers.h"

class TestCustomerCard : public QObject
{
    Q_OBJECT
    std::unique_ptr<DialogsScope> scope;
    TestDialogs* d = nullptr;
    std::unique_ptr<TestDb> db;
    std::unique_ptr<TFrmKHCX> w;

    // Opens the card on the given customer and runs f with it shown.
    void withCard(const QString& dah, const std::function<void(TFrmLLKH*)>& f)
    {
        if (!dah.isEmpty()) QVERIFY(w->qrykhxx.locate("档案号", dah));
        bool ran = false;
        d->execs.push_back([&](QDialog* dlg) {
            auto* card = qobject_cast<TFrmLLKH*>(dlg);
            card->show();
            f(card);
            ran = true;
            ui::click(card->BitBtn1);
            return card->result();
        });
        ui::click(w->btnLL);
        QVERIFY(ran);
    }
    QVariant stored(const QString& dah, const QString& col) const
    {
        return db->scalar(QString("select %1 from 客户信息 where 档案号='%2'").arg(col, dah));
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
        addCustomer(*db, {"001261203001", "城东人民路", "有效", "261203", "中层", "两室", "城东",
                          "求购", 60, 90, 50, 80});
        addCustomer(*db, {"001261203002", "城西", "有效", "261203"});
        addCustomer(*db, {"001261203003", "城北", "有效", "261203"});
        w = std::make_unique<TFrmKHCX>();
        w->show();
        w->qrykhxx.first();
    }
    void cleanup()
    {
        w.reset();
        db.reset();
        scope.reset();
    }

    void personalFieldsByRole_data()
    {
        QTest::addColumn<QString>("role");
        QTest::addColumn<bool>("visible");
        QTest::newRow("普通操作员") << Roles::Ordinary << false;
        QTest::newRow("高级操作员") << Roles::Senior << true;
        QTest::newRow("系统管理员") << Roles::Admin << true;
        QTest::newRow("not an operator") << Roles::None << false;
    }
    void personalFieldsByRole()
    {
        QFETCH(QString, role);
        QFETCH(bool, visible);
        CurUser.GNZ = role;
        withCard("001261203001", [&](TFrmLLKH* c) {
            QCOMPARE(c->windowTitle(), QString("查看客户信息客户"));
            for (const char* name :
                 {"DBEdit9", "DBEdit10", "DBEdit11", "lblKHXM", "lblDH", "lblSJ"})
                QVERIFY2(ui::find(c, name)->isVisible() == visible, name);
            QCOMPARE(c->personalFieldsVisible(), visible);
            QCOMPARE(c->DBEdit2->text(), QString("城东人民路"));
            if (visible) {
                QCOMPARE(c->DBEdit9->text(), QString("李客户"));
                ui::type(c->DBEdit10, "12345");
                ui::click(c->Button1);
            }
        });
        if (visible) QCOMPARE(stored("001261203001", "电话").toString(), QString("12345"));
    }

    void shownButNotChangeable()
    {
        withCard("001261203001", [&](TFrmLLKH* c) {
            QVERIFY(c->DBEdit1->isReadOnly());
            QVERIFY(c->DBEdit3->isReadOnly());
            QVERIFY(c->DBEdit4->isReadOnly());
            QCOMPARE(c->DBEdit1->text(), QString("求购"));
            QCOMPARE(c->DBEdit3->text(), QString("商品房"));
            QCOMPARE(c->DBEdit5->text(), QString("60.00"));
            QCOMPARE(c->DBEdit8->text(), QString("80.00"));
            QCOMPARE(c->DBEdit4->width(), 89);
            QCOMPARE(c->cbLC->width(), 105);
            QCOMPARE(c->DBEdit13->width(), 153);
            QVERIFY(!c->Button1->isEnabled());
            QVERIFY(c->Button3->isEnabled());
            QCOMPARE(c->Button1->text(), QString("保存"));
            QCOMPARE(c->Button3->text(), QString("删除"));
        });
    }

    void choosingFromAListStoresTheTrimmedEntry_data()
    {
        QTest::addColumn<QString>("list");
        QTest::addColumn<int>("index");
        QTest::addColumn<QString>("column");
        QTest::addColumn<QString>("value");
        QTest::newRow("不限 floor") << "cbLC" << 0 << "楼层"
                                    << "不限";
        QTest::newRow("floor trimmed") << "cbLC" << 2 << "楼层"
                                       << "二楼";
        QTest::newRow("不限 house type") << "cbHX" << 0 << "户型"
                                         << "不限";
        QTest::newRow("不限 location") << "cbWZ" << 0 << "位置"
                                       << "不限";
    }
    void choosingFromAListStoresTheTrimmedEntry()
    {
        QFETCH(QString, list);
        QFETCH(int, index);
        QFETCH(QString, column);
        QFETCH(QString, value);
        withCard("001261203001", [&](TFrmLLKH* c) {
            auto* cb = ui::find<QComboBox>(c, list);
            QCOMPARE(cb->currentIndex(), -1);
            QCOMPARE(cb->itemText(0), QString("不限"));
            cb->setCurrentIndex(index);
            emit cb->activated(index);
            QCOMPARE(w->qrykhxx.text(column), value);
            QVERIFY(c->Button1->isEnabled());
            ui::click(c->Button1);
            QVERIFY(!c->Button1->isEnabled());
        });
        QCOMPARE(stored("001261203001", column).toString(), value);
    }

    void clearedAddressIsSavedAsAny()
    {
        withCard("001261203001", [&](TFrmLLKH* c) {
            ui::type(c->DBEdit2, "");
            ui::click(c->Button1);
            QCOMPARE(c->DBEdit2->text(), QString("不限"));
            QVERIFY(d->messages().isEmpty());
        });
        QCOMPARE(stored("001261203001", "地址描述").toString(), QString("不限"));
    }

    void untickingValidityHidesFromAValidSearch()
    {
        withCard("001261203001", [&](TFrmLLKH* c) {
            QVERIFY(c->DBCheckBox1->isChecked());
            ui::click(c->DBCheckBox1);
            ui::click(c->Button1);
        });
        QCOMPARE(stored("001261203001", "类型").toString(), QString("无效"));
        ui::click(w->BitBtn5);
        QVERIFY(!w->qrykhxx.locate("档案号", "001261203001"));
    }

    void closingWithoutSaveLeavesTheCustomer()
    {
        withCard("001261203001", [&](TFrmLLKH* c) {
            ui::type(c->DBEdit5, "70");
            QVERIFY(w->qrykhxx.isEditing());
        });
        QVERIFY(d->shown.isEmpty());
        QVERIFY(!w->qrykhxx.isEditing());
        QCOMPARE(w->qrykhxx.number("面积1"), 60.0);
        QCOMPARE(stored("001261203001", "面积1").toDouble(), 60.0);
    }

    void deleteMovesOnAndEmptiesAtTheEnd()
    {
        w->qrykhxx.first();
        const QString first = w->qrykhxx.text("档案号");
        w->qrykhxx.next();
        const QString second = w->qrykhxx.text("档案号");
        w->qrykhxx.first();
        withCard({}, [&](TFrmLLKH* c) {
            d->answers = {false};
            ui::click(c->Button3);
            QCOMPARE(w->qrykhxx.text("档案号"), first);
            d->answers = {true};
            ui::click(c->Button3);
            QCOMPARE(w->qrykhxx.text("档案号"), second);
            QCOMPARE(c->DBEdit2->text(), stored(second, "地址描述").toString());
            // Deleting the last row shows the one before it.
            w->qrykhxx.last();
            d->answers = {true};
            ui::click(c->Button3);
            QCOMPARE(w->qrykhxx.text("档案号"), second);
            d->answers = {true};
            ui::click(c->Button3);
            QCOMPARE(w->qrykhxx.recordCount(), 0);
            QVERIFY(c->DBEdit2->text().isEmpty());
            QVERIFY(!c->Button3->isEnabled());
            QVERIFY(!c->Button1->isEnabled());
            // Choosing from a list on an empty card adds nothing.
            c->cbLC->setCurrentIndex(1);
            emit c->cbLC->activated(1);
            QVERIFY(!w->qrykhxx.isEditing());
        });
        QCOMPARE(db->scalar("select count(*) from 客户信息").toInt(), 0);
        QCOMPARE(d->questions().size(), 4);
        QVERIFY(d->messages().isEmpty());
    }

    void listsAsLoadedWhenTheQueryWindowOpened()
    {
        db->exec("insert into 楼层字典 values ('三楼')");
        withCard("001261203001", [&](TFrmLLKH* c) {
            QCOMPARE(c->cbLC->count(), 3); // 不限, 一楼, 二楼
            QCOMPARE(c->cbWZ->count(), w->cbWZ->count());
        });
        w = std::make_unique<TFrmKHCX>();
        w->show();
        w->qrykhxx.first();
        withCard({}, [&](TFrmLLKH* c) { QCOMPARE(c->cbLC->count(), 4); });
    }
};

HALVORRA_TEST_MAIN(TestCustomerCard)
#include "tst_customer_card.moc"
