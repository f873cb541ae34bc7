// What only the listing record card does: the boxes it shows but does not let
// change, the save rule, the lowest price stored as 0, 期限 through the date
// picker and the house-structure file. What both cards do is tested in
// tests/registers/tst_register_card.cpp.
#include "listings/Frm_LLFZ.h"
#include "pickers/U_SelectRQ.h"
#include "tests/registers/RegisterTests.h"
#include "widgets/DbControls.h"

class TestListingCard : public QObject, private QueryTest
{
    Q_OBJECT

    void withListingCard(const QString& dah, const std::function<void(RecordCard*)>& f)
    {
        withCard(w.get(), d, dah, f);
    }
    QVariant stored(const QString& dah, const QString& col) const
    {
        return QueryTest::stored("房屋信息", dah, col);
    }
    static DbEdit* box(QWidget* card, const QString& name) { return ui::find<DbEdit>(card, name); }

private slots:
    void init()
    {
        start(Roles::Senior);
        addListing(*db, {"001261203001", "阳光花园", "东街1号", 80, 50, "有效", "261203", "5"});
        addListing(*db, {"001261203002", "翠湖", "西路2号", 120, 90, "有效", "261203", "10"});
        open("房源")->rows().first();
    }
    void cleanup() { stop(); }

    void shownButNotChangeable()
    {
        withListingCard("001261203001", [&](RecordCard* c) {
            QCOMPARE(c->windowTitle(), QString("查看房源信息"));
            for (const char* name : {"DBEdit4", "DBEdit11", "DBEdit12", "DBEdit10", "DBEdit13"})
                QVERIFY2(box(c, name)->isReadOnly(), name);
            QCOMPARE(box(c, "DBEdit4")->text(), QString("50.00"));
            QCOMPARE(box(c, "DBEdit11")->text(), QString("出售"));
            QCOMPARE(box(c, "DBEdit13")->text(), QString("三楼"));
        });
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
        withListingCard("001261203002", [&](RecordCard* c) {
            DbEdit* e = TestListingCard::box(c, box);
            ui::type(e, text);
            QVERIFY(c->Button1->isEnabled());
            ui::click(c->Button1);
            if (message.isEmpty()) {
                QVERIFY2(d->messages().isEmpty(), qPrintable(d->messages().join('|')));
                QVERIFY(!w->rows().isEditing());
                QVERIFY(!c->Button1->isEnabled());
                QCOMPARE(w->rows().text("档案号"), QString("001261203002"));
            } else {
                QCOMPARE(d->messages(), QStringList{message});
                QVERIFY(w->rows().isEditing());
                QCOMPARE(c->focusWidget(), e);
            }
        });
        if (message.isEmpty() && box == "DBEdit9")
            QCOMPARE(stored("001261203002", "新旧程度").toString(), QString("五年"));
        if (!message.isEmpty()) QCOMPARE(stored("001261203002", "房屋面积").toDouble(), 120.0);
    }

    void emptyLowestPriceBecomesZero()
    {
        withListingCard("001261203001", [&](RecordCard* c) {
            ui::type(box(c, "DBEdit8"), "");
            ui::click(c->Button1);
            QCOMPARE(box(c, "DBEdit8")->text(), QString("0.00"));
        });
        QVERIFY(!stored("001261203001", "最低价格").isNull());
        QCOMPARE(stored("001261203001", "最低价格").toDouble(), 0.0);
    }

    void deadlineThroughTheDatePicker()
    {
        withListingCard("001261203001", [&](RecordCard* c) {
            d->execs.push_back([](QDialog*) { return int(QDialog::Rejected); });
            ui::click(ui::find(c, "Button2"));
            QVERIFY(!w->rows().isEditing());
            d->execs.push_back([](QDialog* dlg) {
                qobject_cast<TdlgSelectRQ*>(dlg)->setDate(QDate(2027, 1, 15));
                return int(QDialog::Accepted);
            });
            ui::click(ui::find(c, "Button2"));
            QCOMPARE(box(c, "DBEdit10")->text(), QString("270115"));
            QVERIFY(c->Button1->isEnabled());
            ui::click(c->Button1);
        });
        QCOMPARE(stored("001261203001", "期限").toString(), QString("270115"));
    }

    void structureFileLinkedAndOpened()
    {
        withListingCard("001261203001", [&](RecordCard* c) {
            QWidget* link = ui::find(c, "Button5");
            QWidget* open = ui::find(c, "Button4");
            d->files = {""};
            ui::click(link);
            QVERIFY(!w->rows().isEditing());
            ui::click(open);
            QVERIFY(d->opened.isEmpty());
            d->files = {"/tmp/结构图.jpg"};
            ui::click(link);
            QVERIFY(d->fileDialogs.last().picture);
            QCOMPARE(box(c, "DBEdit19")->text(), QString("/tmp/结构图.jpg"));
            ui::click(c->Button1);
            // A path longer than the column holds is refused at once, as on the entry
            // window; the linked file stays.
            d->files = {"/srv/" + QString(120, 'x') + ".jpg"};
            ui::click(link);
            QCOMPARE(d->messages().size(), 1);
            QVERIFY(d->messages()[0].contains("100"));
            QVERIFY(!w->rows().isEditing());
            QCOMPARE(box(c, "DBEdit19")->text(), QString("/tmp/结构图.jpg"));
            ui::click(open);
            QCOMPARE(d->opened, QStringList{"/tmp/结构图.jpg"});
        });
        QCOMPARE(stored("001261203001", "房屋结构文件").toString(), QString("/tmp/结构图.jpg"));
    }
};

HALVORRA_TEST_MAIN(TestListingCard)
#include "tst_listing_card.moc"
