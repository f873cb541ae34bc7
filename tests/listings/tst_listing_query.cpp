// The listing query window: first search, quick search clauses, refused
// additions, the delete question, failed searches, the grid and its footer.
#include "data/DbError.h"
#include "listings/Frm_LLFZ.h"
#include "listings/Frm_fycx.h"
#include "tests/common/RegisterTests.h"

#include "common/PubParams.h"
#include "common/U_PubExport.h"
#include "common/U_PubQuery.h"
#include "common/U_SelectItem.h"
#include "common/U_SelectRQ.h"

#include <QCalendarWidget>
#include <QPrintPreviewDialog>

class TestListingQuery : public QObject
{
    Q_OBJECT
    std::unique_ptr<DialogsScope> scope;
    TestDialogs* d = nullptr;
    std::unique_ptr<TestDb> db;
    std::unique_ptr<TFrmFYCX> w;

    QStringList shown() const
    {
        QStringList out;
        Query& q = w->qryFwxx;
        if (!q.isActive()) return out;
        for (int r = 0; r < q.recordCount(); ++r)
            out << q.valueAt(r, q.fieldIndex("档案号")).toString();
        out.sort();
        return out;
    }
    void open()
    {
        w = std::make_unique<TFrmFYCX>();
        w->show(); // clicks then run through the application's default error display
    }

private slots:
    void init()
    {
        scope = std::make_unique<DialogsScope>();
        d = &**scope;
        db = std::make_unique<TestDb>();
        db->connectDmbasic();
        loginAs(Roles::Ordinary);
        // A and B this month, valid and invalid; C last month; D with no community name.
        addListing(*db, {"001261203001", "阳光花园", "东街1号", 80, 50, "有效", "261203", "5"});
        addListing(*db, {"001261205001", "翠湖", "西路2号", 120, 90, "无效", "261205", "10"});
        addListing(*db, {"001261101001", "阳光花园", "东街3号", 60, 30, "有效", "261101", "3"});
        addListing(*db,
                   {"001261208001", QVariant(), "阳光花园东街", 100, 70, "有效", "261208", "20"});
        addListing(*db, {"001261209001", "O\"Brien's", "南路", 150, 120, "有效", "261209", "8"});
    }
    void cleanup()
    {
        w.reset();
        db.reset();
        scope.reset();
    }

    void openingShowsThisMonthBothValidities()
    {
        open();
        QCOMPARE(FrmFYCX, w.get());
        QCOMPARE(shown(),
                 QStringList({"001261203001", "001261205001", "001261208001", "001261209001"}));
        QVERIFY(w->cbSFYX->isChecked());
        QCOMPARE(w->edtRQ1->text(), QString("261201"));
        QCOMPARE(w->edtRQ2->text(), QString("261209"));
        QVERIFY(w->edtRQ1->isReadOnly() && w->edtRQ2->isReadOnly());
        QCOMPARE(w->DBGridEh1->footerText(0), QString("4"));
        // Pressing 速查 unchanged shows only the valid ones.
        ui::click(w->BitBtn5);
        QCOMPARE(shown(), QStringList({"001261203001", "001261208001", "001261209001"}));
        QCOMPARE(w->DBGridEh1->footerText(0), QString("3"));
        // Unticked: only the invalid ones.
        w->cbSFYX->setChecked(false);
        ui::click(w->BitBtn5);
        QCOMPARE(shown(), QStringList({"001261205001"}));
        QVERIFY(d->messages().isEmpty());
        w.reset();
        QVERIFY(!FrmFYCX);
    }

    void dictionaryListsFilledWithoutSelection()
    {
        db->exec("delete from 楼层字典");
        db->exec("insert into 楼层字典 values ('一楼')");
        db->exec("insert into 楼层字典 values ('二楼')");
        open();
        QCOMPARE(w->cbLC->count(), 2);
        QCOMPARE(w->cbLC->itemText(0), QString("一楼"));
        QCOMPARE(w->cbLC->currentText(), QString());
        QVERIFY(w->cbFS->count() > 0);
        QCOMPARE(w->cbFS->currentText(), QString());
    }

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
        QTest::newRow("age 5 to 10 compared as text") << "edtXJCD1"
                                                      << "5"
                                                      << "edtXJCD2"
                                                      << "10" << QStringList{};
        QTest::newRow("age 10 to 5 as text") << "edtXJCD1"
                                             << "10"
                                             << "edtXJCD2"
                                             << "5" << QStringList{"001261208001", "001261203001"};
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
        open();
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

    void digitsOnlyBoxesRefuseTypedAndPastedText()
    {
        open();
        for (const char* name : {"edtMJ1", "edtMJ2", "edtJG1", "edtJG2", "edtXJCD1", "edtXJCD2"}) {
            auto* e = ui::find<QLineEdit>(w.get(), name);
            e->setFocus();
            QTest::keyClicks(e, "1a2.-3");
            QCOMPARE(e->text(), QString("123"));
            e->insert("4x"); // what a paste does
            QVERIFY2(QRegularExpression("^[0-9]*$").match(e->text()).hasMatch(),
                     qPrintable(e->text()));
            e->setText("123");
            QTest::keyClick(e, Qt::Key_Backspace);
            QCOMPARE(e->text(), QString("12"));
        }
        auto* age = w->edtXJCD1;
        age->setText("12");
        QTest::keyClicks(age, "3456");
        QCOMPARE(age->text(), QString("1234"));
    }

    void additionsRefusedSilently()
    {
        open();
        const int n = w->qryFwxx.recordCount();
        bool aborted = false;
        try {
            w->qryFwxx.append();
        } catch (const SilentAbort&) {
            aborted = true;
        }
        QVERIFY(aborted);
        QCOMPARE(w->qryFwxx.recordCount(), n);
        QVERIFY(!w->qryFwxx.isEditing());
        QVERIFY(d->shown.isEmpty());
    }

    void deleteAsksFirst()
    {
        open();
        w->qryFwxx.first();
        const QString first = w->qryFwxx.text("档案号");
        d->answers = {false};
        w->DataSetDelete1->trigger();
        QCOMPARE(d->questions(), QStringList({"是否删除选择的房源信息档案？"}));
        QCOMPARE(db->scalar(QString("select count(*) from 房屋信息 where 档案号='%1'").arg(first))
                     .toInt(),
                 1);
        QVERIFY(d->messages().isEmpty());
        d->answers = {true};
        w->DataSetDelete1->trigger();
        QCOMPARE(db->scalar(QString("select count(*) from 房屋信息 where 档案号='%1'").arg(first))
                     .toInt(),
                 0);
        QCOMPARE(w->DBGridEh1->footerText(0), QString("3"));
    }

    void failedSearchLeavesNothingToPrintOrExport()
    {
        open();
        dmbasic->adoCntnfybase.execute("alter table 房屋信息 rename to 房屋信息旧");
        ui::click(w->BitBtn5);
        QCOMPARE(d->messages().size(), 1); // the engine's own text, through the default display
        QVERIFY(!w->qryFwxx.isActive());
        QCOMPARE(w->DBGridEh1->model()->rowCount(), 0);
        int execs = 0;
        d->execs.push_back([&](QDialog*) {
            ++execs;
            return int(QDialog::Rejected);
        });
        ui::click(w->Button1);
        ui::click(w->BitBtn8);
        QCOMPARE(execs, 0);
        QCOMPARE(d->messages().size(), 1);
        dmbasic->adoCntnfybase.execute("alter table 房屋信息旧 rename to 房屋信息");
        ui::click(w->BitBtn5);
        QVERIFY(w->qryFwxx.isActive());
    }

    void printOpensThePreviewOnlyWhenReady()
    {
        open();
        QString seen;
        d->execs.push_back([&](QDialog* dlg) {
            seen = qobject_cast<QPrintPreviewDialog*>(dlg) ? "preview"
                                                           : dlg->metaObject()->className();
            return int(QDialog::Rejected);
        });
        ui::click(w->Button1);
        QCOMPARE(seen, QString("preview"));
        // While a row is being edited nothing happens.
        w->qryFwxx.edit();
        int execs = 0;
        d->execs.push_back([&](QDialog*) {
            ++execs;
            return int(QDialog::Rejected);
        });
        ui::click(w->Button1);
        ui::click(w->BitBtn8);
        QCOMPARE(execs, 0);
        w->qryFwxx.cancel();
        d->execs.clear();
    }

    void gridColumnsTitlesAndFormats()
    {
        open();
        DbGrid* g = w->DBGridEh1;
        QCOMPARE(g->columnCount(), 15);
        QCOMPARE(g->column(0).field, QString("档案号"));
        QCOMPARE(g->column(14).title, QString("房龄"));
        QCOMPARE(g->columnWidth(5), 136);
        QCOMPARE(g->columnWidth(12), 239);
        QVERIFY(g->view()->editTriggers() == QAbstractItemView::NoEditTriggers);
        QCOMPARE(g->view()->selectionBehavior(), QAbstractItemView::SelectRows);
        w->qryFwxx.locate("档案号", "001261203001");
        const int r = w->qryFwxx.recNo();
        QCOMPARE(g->model()->data(g->model()->index(r, 7)).toString(), QString("80.00"));
        QCOMPARE(g->model()->data(g->model()->index(r, 10)).toString(), QString("50.00"));
        for (const char* hidden : {"房主姓名", "电话", "最低价格", "看房情况", "录入日期", "序号"})
            for (int c = 0; c < g->columnCount(); ++c)
                QVERIFY(g->column(c).field != QString::fromUtf8(hidden));
    }

    void builderSearch_data()
    {
        QTest::addColumn<int>("result");
        QTest::addColumn<QString>("where");
        QTest::addColumn<int>("rows"); // -1: the result is closed
        QTest::addColumn<QString>("message");
        QTest::newRow("no condition: every date and validity")
            << int(QDialog::Accepted) << "" << 5 << "";
        QTest::newRow("one condition")
            << int(QDialog::Accepted) << "And ( 类型 = '无效' ) " << 1 << "";
        QTest::newRow("cancelled: previous result stays")
            << int(QDialog::Rejected) << "" << 4 << "";
        QTest::newRow("failing condition") << int(QDialog::Accepted) << "And ( 没有此列 = '1' ) "
                                           << -1 << "您所选择的查询条件出错！";
    }
    void builderSearch()
    {
        QFETCH(int, result);
        QFETCH(QString, where);
        QFETCH(int, rows);
        QFETCH(QString, message);
        open();
        bool seen = false;
        d->execs.push_back([&](QDialog* dlg) {
            auto* b = qobject_cast<TFrmPubQuery*>(dlg);
            seen = b && b->cbZDM->maxVisibleItems() == 14 && PubTable == "房屋信息" &&
                   PubFields.size() == 15;
            PubWhere = where;
            return result;
        });
        ui::click(w->BitBtn1);
        QVERIFY(seen);
        QCOMPARE(w->qryFwxx.isActive(), rows >= 0);
        if (rows >= 0) QCOMPARE(w->qryFwxx.recordCount(), rows);
        QCOMPARE(d->messages().join('|'), message);
        if (!message.isEmpty()) {
            QCOMPARE(d->shown.last().kind, QString("okCancel"));
            // Printing and exporting after the failed search do nothing.
            int execs = 0;
            d->execs.push_back([&](QDialog*) {
                ++execs;
                return int(QDialog::Rejected);
            });
            ui::click(w->Button1);
            ui::click(w->BitBtn8);
            QCOMPARE(execs, 0);
            d->execs.clear();
        }
    }

    void datePickers_data()
    {
        QTest::addColumn<bool>("ok");
        QTest::addColumn<QString>("rq1");
        QTest::newRow("chosen") << true << "261205";
        QTest::newRow("cancelled") << false << "261201";
    }
    void datePickers()
    {
        QFETCH(bool, ok);
        QFETCH(QString, rq1);
        open();
        QDate started;
        d->execs.push_back([&](QDialog* dlg) {
            auto* p = qobject_cast<TdlgSelectRQ*>(dlg);
            started = p->date();
            p->setDate(QDate(2026, 12, 5));
            return int(ok ? QDialog::Accepted : QDialog::Rejected);
        });
        ui::click(w->Button2);
        QCOMPARE(started, QDate::currentDate());
        QCOMPARE(w->edtRQ1->text(), rq1);
        d->execs.push_back([&](QDialog* dlg) {
            qobject_cast<TdlgSelectRQ*>(dlg)->setDate(QDate(2026, 12, 4));
            return int(QDialog::Accepted);
        });
        ui::click(w->Button3);
        QCOMPARE(w->edtRQ2->text(), QString("261204"));
        ui::click(w->BitBtn5);
        for (int r = 0; r < w->qryFwxx.recordCount(); ++r) {
            const QString date =
                w->qryFwxx.valueAt(r, w->qryFwxx.fieldIndex("录入日期")).toString();
            QVERIFY(date >= rq1 && date <= "261204");
        }
    }

    void columnChooserGetsTheGrid()
    {
        open();
        bool seen = false;
        d->execs.push_back([&](QDialog* dlg) {
            seen = qobject_cast<TdlgSelectItem*>(dlg) && PubGrid == w->DBGridEh1;
            return int(QDialog::Rejected);
        });
        ui::click(w->BitBtn2);
        QVERIFY(seen);
    }

    void exportGetsAFreshCopyAndTheTitle()
    {
        open();
        w->qryFwxx.last();
        bool seen = false;
        d->execs.push_back([&](QDialog* dlg) {
            auto* e = qobject_cast<TFrmPubExport*>(dlg);
            seen = e && e->edtTitle->text() == "房源信息查询" && PubGrid == w->DBGridEh1 &&
                   PubDataSet && PubDataSet != &w->qryFwxx && PubDataSet->isActive() &&
                   PubDataSet->recordCount() == 4;
            return int(QDialog::Rejected);
        });
        ui::click(w->BitBtn8);
        QVERIFY(seen);
        QCOMPARE(w->qryFwxx.recNo(), 3);
    }

    void viewOnEmptyResult()
    {
        open();
        w->edtXQDZ->setText("没有这个小区");
        ui::click(w->BitBtn5);
        QCOMPARE(w->qryFwxx.recordCount(), 0);
        bool checked = false;
        d->execs.push_back([&](QDialog* dlg) {
            auto* card = qobject_cast<TFrmLLFZ*>(dlg);
            auto* name = ui::find<QLineEdit>(card, "DBEdit1");
            checked = card && name->text().isEmpty() &&
                      ui::find<QLineEdit>(card, "DBEdit3")->text().isEmpty() &&
                      !card->Button1->isEnabled() && !card->Button3->isEnabled();
            // Typing into the empty card adds nothing.
            ui::type(name, "新小区");
            return int(QDialog::Rejected);
        });
        ui::click(w->btnLL);
        QVERIFY(checked);
        QVERIFY(d->messages().isEmpty());
        QCOMPARE(w->qryFwxx.recordCount(), 0);
    }

    void doubleClickOpensTheCard()
    {
        open();
        int execs = 0;
        d->execs.push_back([&](QDialog* dlg) {
            execs += qobject_cast<TFrmLLFZ*>(dlg) ? 1 : 0;
            return int(QDialog::Rejected);
        });
        emit w->DBGridEh1->rowDoubleClicked();
        QCOMPARE(execs, 1);
    }

    void newListingsShowAfterTheNextSearch()
    {
        open();
        QCOMPARE(w->qryFwxx.recordCount(), 4);
        addListing(*db, {"001261209002", "新城", "北路", 90, 60, "有效", "261209", "1"});
        QCOMPARE(w->qryFwxx.recordCount(), 4);
        ui::click(w->BitBtn5);
        QVERIFY(shown().contains("001261209002"));
    }
};

HALVORRA_TEST_MAIN(TestListingQuery)
#include "tst_listing_query.moc"
