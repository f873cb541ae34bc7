// What only the listing query window does: the quick-search clauses as found
// rows, the 房龄 boxes' length and the columns kept out of the grid. What both
// query windows do is tested in tests/registers/tst_register_query.cpp.
#include "pickers/U_PubQuery.h"
#include "tests/registers/RegisterTests.h"

#include <QComboBox>

class TestListingQuery : public QObject, private QueryTest
{
    Q_OBJECT
private slots:
    void init()
    {
        start(Roles::Ordinary);
        // A and B this month, valid and invalid; C last month; D with no community name.
        addListing(*db, {"001261203001", "阳光花园", "东街1号", 80, 50, "有效", "261203", "5"});
        addListing(*db, {"001261205001", "翠湖", "西路2号", 120, 90, "无效", "261205", "10"});
        addListing(*db, {"001261101001", "阳光花园", "东街3号", 60, 30, "有效", "261101", "3"});
        addListing(*db,
                   {"001261208001", QVariant(), "阳光花园东街", 100, 70, "有效", "261208", "20"});
        addListing(*db, {"001261209001", "O\"Brien's", "南路", 150, 120, "有效", "261209", "8"});
    }
    void cleanup() { stop(); }

    void quickSearch_data()
    {
        QTest::addColumn<QString>("box");
        QTest::addColumn<QString>("value");
        QTest::addColumn<QString>("box2");
        QTest::addColumn<QString>("value2");
        QTest::addColumn<QStringList>("expected");
        // The two columns are searched as one joined text; a null name never matches.
        QTest::newRow("text spans name and address") << "edtXQDZ"
                                                     << "花园东"
                                                     << ""
                                                     << "" << QStringList{"001261203001"};
        QTest::newRow("text in address only") << "edtXQDZ"
                                              << "南路"
                                              << ""
                                              << "" << QStringList{"001261209001"};
        QTest::newRow("double quote found literally") << "edtXQDZ"
                                                      << "O\"B"
                                                      << ""
                                                      << "" << QStringList{"001261209001"};
        QTest::newRow("single quote found literally") << "edtXQDZ"
                                                      << "n's"
                                                      << ""
                                                      << "" << QStringList{"001261209001"};
        QTest::newRow("area lower bound only") << "edtMJ1"
                                               << "100"
                                               << ""
                                               << "" << QStringList{"001261208001", "001261209001"};
        QTest::newRow("area bounds inclusive")
            << "edtMJ1"
            << "80"
            << "edtMJ2"
            << "100" << QStringList{"001261203001", "001261208001"};
        QTest::newRow("area upper below lower") << "edtMJ1"
                                                << "100"
                                                << "edtMJ2"
                                                << "50" << QStringList{};
        QTest::newRow("price range") << "edtJG1"
                                     << "60"
                                     << "edtJG2"
                                     << "120" << QStringList{"001261208001", "001261209001"};
        QTest::newRow("age 5 to 10 compared as numbers")
            << "edtXJCD1"
            << "5"
            << "edtXJCD2"
            << "10" << QStringList{"001261203001", "001261209001"};
        QTest::newRow("age 10 to 5 finds nothing") << "edtXJCD1"
                                                   << "10"
                                                   << "edtXJCD2"
                                                   << "5" << QStringList{};
        QTest::newRow("dates reversed") << "edtRQ1"
                                        << "261209"
                                        << "edtRQ2"
                                        << "261201" << QStringList{};
        QTest::newRow("last month by date range") << "edtRQ1"
                                                  << "261101"
                                                  << "edtRQ2"
                                                  << "261130" << QStringList{"001261101001"};
        QTest::newRow("floor exact")
            << "cbLC"
            << "三楼"
            << ""
            << "" << QStringList{"001261203001", "001261208001", "001261209001"};
        QTest::newRow("floor not a prefix") << "cbLC"
                                            << "三"
                                            << ""
                                            << "" << QStringList{};
        QTest::newRow("mode with a quote") << "cbFS"
                                           << "出\"售"
                                           << ""
                                           << "" << QStringList{};
    }
    void quickSearch()
    {
        QFETCH(QString, box);
        QFETCH(QString, value);
        QFETCH(QString, box2);
        QFETCH(QString, value2);
        QFETCH(QStringList, expected);
        open("房源");
        auto set = [&](const QString& name, const QString& v) {
            if (auto* cb = w->findChild<QComboBox*>(name))
                cb->setEditText(v);
            else
                w->findChild<QLineEdit*>(name)->setText(v);
        };
        set(box, value);
        if (!box2.isEmpty()) set(box2, value2);
        ui::click(w->BitBtn5);
        QVERIFY2(d->messages().isEmpty(), qPrintable(d->messages().join('|')));
        expected.sort();
        QCOMPARE(shown(), expected);
    }

    // The condition builder of this window compares 房龄 as a number too.
    void builderComparesAgeAsNumber()
    {
        open("房源");
        d->execs.push_back([](QDialog* dlg) {
            auto* b = qobject_cast<TFrmPubQuery*>(dlg);
            b->cbZDM->setCurrentIndex(b->cbZDM->findText("房龄"));
            b->cbCZF->setCurrentIndex(b->cbCZF->findText(">="));
            b->cbZDZ->setEditText("8");
            ui::click(b->btnAnd);
            return int(QDialog::Accepted);
        });
        ui::click(w->BitBtn1);
        QCOMPARE(shown(), (QStringList{"001261205001", "001261208001", "001261209001"}));
    }

    void ageBoxesTakeFourDigits()
    {
        open("房源");
        for (QLineEdit* age :
             {ui::find<QLineEdit>(w.get(), "edtXJCD1"), ui::find<QLineEdit>(w.get(), "edtXJCD2")}) {
            age->setText("12");
            age->setFocus();
            QTest::keyClicks(age, "3456");
            QCOMPARE(age->text(), QString("1234"));
        }
    }

    void ownersDataNotInTheGrid()
    {
        open("房源");
        DbGrid* g = w->DBGridEh1;
        for (const char* hidden : {"房主姓名", "电话", "手机", "最低价格", "产权证号", "备注",
                                   "房屋结构文件", "看房情况", "公司编号", "录入日期", "序号"})
            for (int c = 0; c < g->columnCount(); ++c)
                QVERIFY2(g->column(c).field != QString::fromUtf8(hidden), hidden);
    }
};

HALVORRA_TEST_MAIN(TestListingQuery)
#include "tst_listing_query.moc"
