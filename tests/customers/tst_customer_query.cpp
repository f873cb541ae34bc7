// The customer query window: the quick-search lines, first search, the "不限"
// items, area and price values against the customer's ranges, refused additions,
// the delete question, the save rule, failed searches and the hand-overs.
#include "common/PubParams.h"
#include "common/U_PubExport.h"
#include "common/U_PubQuery.h"
#include "common/U_SelectItem.h"
#include "common/U_SelectRQ.h"
#include "customers/Frm_LLKH.h"
#include "customers/Frm_khcx.h"
#include "customers/core/CustomerSearch.h"
#include "data/DbError.h"
#include "tests/common/RegisterTests.h"

#include <QPrintPreviewDialog>

class TestCustomerQuery : public QObject
{
    Q_OBJECT
    std::unique_ptr<DialogsScope> scope;
    TestDialogs* d = nullptr;
    std::unique_ptr<TestDb> db;
    std::unique_ptr<TFrmKHCX> w;

    QStringList shown() const
    {
        QStringList out;
        Query& q = w->qrykhxx;
        if (!q.isActive()) return out;
        for (int r = 0; r < q.recordCount(); ++r)
            out << q.valueAt(r, q.fieldIndex("档案号")).toString();
        out.sort();
        return out;
    }
    void open()
    {
        w = std::make_unique<TFrmKHCX>();
        w->show(); // clicks then run through the application's default error display
    }
    void noDialogWhen(const std::function<void()>& f)
    {
        int execs = 0;
        d->execs.push_back([&](QDialog*) {
            ++execs;
            return int(QDialog::Rejected);
        });
        f();
        QCOMPARE(execs, 0);
        d->execs.clear();
    }

private slots:
    void init()
    {
        scope = std::make_unique<DialogsScope>();
        d = &**scope;
        db = std::make_unique<TestDb>();
        db->connectDmbasic();
        loginAs(Roles::Ordinary);
        // 60..90 square metres; a customer with no preferences and equal bounds; an
        // invalid one; one of last month; one with the entry defaults and quotes.
        addCustomer(*db, {"001261203001", "城东人民路", "有效", "261203", "中层", "两室", "城东",
                          "求购", 60, 90, 50, 80});
        addCustomer(*db, {"001261204001", "不限", "有效", "261204", "不限", "不限", "不限", "求租",
                          80, 80, 100, 100});
        addCustomer(*db, {"001261205001", "城西", "无效", "261205", "中层"});
        addCustomer(*db, {"001261101001", "城北", "有效", "261101", "中层"});
        addCustomer(*db, {"001261206001", "O\"Brien's 街", "有效", "261206", "高层"});
    }
    void cleanup()
    {
        w.reset();
        db.reset();
        scope.reset();
    }

    void statementLines_data()
    {
        QTest::addColumn<QStringList>("panel"); // dzms lc hx fs mj jg wz
        QTest::addColumn<bool>("valid");
        QTest::addColumn<QStringList>("tail"); // the lines after the four fixed ones
        QTest::newRow("nothing typed, ticked")
            << QStringList(7) << true << QStringList{"and 类型=\"有效\""};
        QTest::newRow("every box, validity before location")
            << QStringList{" 东 ", "中层", "两室", "求购", "80", "100", "城东"} << false
            << QStringList{"and 地址描述 like \"%东%\" ",
                           "and 楼层=\"中层\"",
                           "and 户型=\"两室\"",
                           "and 需求方式=\"求购\"",
                           "and 面积1>=80",
                           "and 面积2<=80",
                           "and 价格1>=100",
                           "and 价格2<=100",
                           "and 类型=\"无效\"",
                           "and 位置=\"城东\""};
        QTest::newRow("quote doubled, not ending the literal")
            << QStringList{"a\"b", "", "", "", "", "", ""} << true
            << QStringList{"and 地址描述 like \"%a\"\"b%\" ", "and 类型=\"有效\""};
    }
    void statementLines()
    {
        QFETCH(QStringList, panel);
        QFETCH(bool, valid);
        QFETCH(QStringList, tail);
        CustomerSearch::QuickSearch s;
        s.rq1 = "261201";
        s.rq2 = "261209";
        s.dzms = panel[0];
        s.lc = panel[1];
        s.hx = panel[2];
        s.fs = panel[3];
        s.mj = panel[4];
        s.jg = panel[5];
        s.wz = panel[6];
        s.valid = valid;
        const QStringList head{"select * from 客户信息 ", "where 档案号<>\"\" ",
                               "and 录入日期>=\"261201\" ", "and 录入日期<=\"261209\" "};
        QCOMPARE(CustomerSearch::quickSearch(s), head + tail);
    }

    // An area or a price stands unquoted in the statement: anything but digits is
    // refused before it reaches the engine.
    void nonDigitBoundRefused_data()
    {
        QTest::addColumn<QString>("mj");
        QTest::addColumn<QString>("jg");
        QTest::newRow("area with an operator") << "1 or 1=1"
                                               << "";
        QTest::newRow("decimal price") << ""
                                       << "1.5";
    }
    void nonDigitBoundRefused()
    {
        QFETCH(QString, mj);
        QFETCH(QString, jg);
        CustomerSearch::QuickSearch s;
        s.mj = mj;
        s.jg = jg;
        QVERIFY_THROWS_EXCEPTION(DbError, CustomerSearch::quickSearch(s));
    }

    void printTexts()
    {
        QCOMPARE(RegisterRules::printTitle("261209", TFrmKHCX::config().printTitleTail),
                 QString("26年12月09日客户信息表"));
    }

    void openingShowsThisMonthBothValidities()
    {
        open();
        QCOMPARE(FrmKHCX, w.get());
        QCOMPARE(w->windowTitle(), QString("客户信息查询"));
        QCOMPARE(shown(),
                 QStringList({"001261203001", "001261204001", "001261205001", "001261206001"}));
        QVERIFY(w->cbSFYX->isChecked());
        QCOMPARE(w->edtRQ1->text(), QString("261201"));
        QCOMPARE(w->edtRQ2->text(), QString("261209"));
        QVERIFY(w->edtRQ1->isReadOnly() && w->edtRQ2->isReadOnly());
        QCOMPARE(w->DBGridEh1->footerText(0), QString("4"));
        ui::click(w->BitBtn5);
        QCOMPARE(shown(), QStringList({"001261203001", "001261204001", "001261206001"}));
        w->cbSFYX->setChecked(false);
        ui::click(w->BitBtn5);
        QCOMPARE(shown(), QStringList({"001261205001"}));
        QCOMPARE(w->DBGridEh1->footerText(0), QString("1"));
        QVERIFY(d->messages().isEmpty());
        w.reset();
        QVERIFY(!FrmKHCX);
    }

    void listsStartWithAnyWhereTheyShould()
    {
        db->exec("delete from 楼层字典");
        db->exec("insert into 楼层字典 values ('一楼')");
        db->exec("insert into 楼层字典 values ('二楼')");
        open();
        QCOMPARE(w->cbLC->count(), 3);
        QCOMPARE(w->cbLC->itemText(0), QString("不限"));
        QCOMPARE(w->cbLC->itemText(2), QString("二楼"));
        QCOMPARE(w->cbHX->itemText(0), QString("不限"));
        QCOMPARE(w->cbWZ->itemText(0), QString("不限"));
        QCOMPARE(w->cbFS->count(), 2);
        QCOMPARE(w->cbFS->itemText(0), QString("求购"));
        for (QComboBox* cb : {w->cbLC, w->cbHX, w->cbFS, w->cbWZ}) {
            QCOMPARE(cb->currentText(), QString());
            QCOMPARE(cb->currentIndex(), -1);
        }
    }

    void quickSearch_data()
    {
        QTest::addColumn<QString>("box");
        QTest::addColumn<QString>("value");
        QTest::addColumn<QStringList>("expected");
        QTest::newRow("address anywhere") << "edtXQDZ"
                                          << "人民" << QStringList{"001261203001"};
        QTest::newRow("address with a double quote") << "edtXQDZ"
                                                     << "O\"B" << QStringList{"001261206001"};
        QTest::newRow("address with a single quote") << "edtXQDZ"
                                                     << "n's" << QStringList{"001261206001"};
        QTest::newRow("不限 finds only 不限 floors") << "cbLC"
                                                     << "不限" << QStringList{"001261204001"};
        QTest::newRow("floor exact") << "cbLC"
                                     << "中层" << QStringList{"001261203001"};
        QTest::newRow("floor not a prefix") << "cbLC"
                                            << "中" << QStringList{};
        QTest::newRow("house type") << "cbHX"
                                    << "两室" << QStringList{"001261203001", "001261206001"};
        QTest::newRow("demand mode") << "cbFS"
                                     << "求租" << QStringList{"001261204001"};
        QTest::newRow("demand mode with a quote") << "cbFS"
                                                  << "求\"购" << QStringList{};
        QTest::newRow("location 不限") << "cbWZ"
                                       << "不限" << QStringList{"001261204001"};
        QTest::newRow("area 80 inside 60..90 not found") << "edtMJ1"
                                                         << "80" << QStringList{"001261204001"};
        QTest::newRow("area 60, the lower bound") << "edtMJ1"
                                                  << "60" << QStringList{};
        QTest::newRow("area 90, the upper bound") << "edtMJ1"
                                                  << "90" << QStringList{};
        QTest::newRow("area 0 finds entry defaults") << "edtMJ1"
                                                     << "0" << QStringList{"001261206001"};
        QTest::newRow("price 100 equal bounds") << "edtJG1"
                                                << "100" << QStringList{"001261204001"};
        QTest::newRow("price 60 inside 50..80") << "edtJG1"
                                                << "60" << QStringList{};
        QTest::newRow("price 0 finds entry defaults") << "edtJG1"
                                                      << "0" << QStringList{"001261206001"};
    }
    void quickSearch()
    {
        QFETCH(QString, box);
        QFETCH(QString, value);
        QFETCH(QStringList, expected);
        open();
        if (auto* cb = w->findChild<QComboBox*>(box))
            cb->setEditText(value);
        else
            w->findChild<QLineEdit*>(box)->setText(value);
        ui::click(w->BitBtn5);
        QVERIFY2(d->messages().isEmpty(), qPrintable(d->messages().join('|')));
        QCOMPARE(shown(), expected);
    }

    void dateRange_data()
    {
        QTest::addColumn<QString>("rq1");
        QTest::addColumn<QString>("rq2");
        QTest::addColumn<QStringList>("expected");
        QTest::newRow("reversed yields nothing") << "261209"
                                                 << "261201" << QStringList{};
        QTest::newRow("both ends inclusive")
            << "261203"
            << "261204" << QStringList{"001261203001", "001261204001"};
        QTest::newRow("last month") << "261101"
                                    << "261130" << QStringList{"001261101001"};
    }
    void dateRange()
    {
        QFETCH(QString, rq1);
        QFETCH(QString, rq2);
        QFETCH(QStringList, expected);
        open();
        int picked = 0;
        for (const QString& date : {rq1, rq2})
            d->execs.push_back([&picked, date](QDialog* dlg) {
                auto* p = qobject_cast<TdlgSelectRQ*>(dlg);
                if (p->date() == QDate::currentDate()) ++picked;
                p->setDate(QDate::fromString("20" + date, "yyyyMMdd"));
                return int(QDialog::Accepted);
            });
        ui::click(w->Button2);
        ui::click(w->Button3);
        QCOMPARE(picked, 2); // the calendar starts at today, not at the box's date
        QCOMPARE(w->edtRQ1->text(), rq1);
        QCOMPARE(w->edtRQ2->text(), rq2);
        ui::click(w->BitBtn5);
        QCOMPARE(shown(), expected);
        // A cancelled picker keeps the box.
        d->execs.push_back([](QDialog*) { return int(QDialog::Rejected); });
        ui::click(w->Button2);
        QCOMPARE(w->edtRQ1->text(), rq1);
    }

    void areaAndPriceTakeDigitsOnly()
    {
        open();
        for (QLineEdit* e : {w->edtMJ1, w->edtJG1}) {
            e->setFocus();
            QTest::keyClicks(e, "8.5a0");
            QCOMPARE(e->text(), QString("850"));
            QTest::keyClick(e, Qt::Key_Backspace);
            QCOMPARE(e->text(), QString("85"));
            e->insert("-1"); // what a paste does
            QCOMPARE(e->text(), QString("85"));
        }
    }

    void additionsRefusedSilently()
    {
        open();
        const int n = w->qrykhxx.recordCount();
        QVERIFY_THROWS_EXCEPTION(SilentAbort, w->qrykhxx.append());
        QCOMPARE(w->qrykhxx.recordCount(), n);
        QVERIFY(!w->qrykhxx.isEditing());
        QVERIFY(d->shown.isEmpty());
    }

    void deleteAsksFirst()
    {
        open();
        w->qrykhxx.first();
        const QString first = w->qrykhxx.text("档案号");
        const QString count = QString("select count(*) from 客户信息 where 档案号='%1'").arg(first);
        d->answers = {false};
        w->DataSetDelete1->trigger();
        QCOMPARE(d->questions(), QStringList({"是否删除选择的客户信息档案？"}));
        QCOMPARE(db->scalar(count).toInt(), 1);
        QVERIFY(d->messages().isEmpty());
        d->answers = {true};
        w->DataSetDelete1->trigger();
        QCOMPARE(db->scalar(count).toInt(), 0);
        QCOMPARE(w->DBGridEh1->footerText(0), QString("3"));
    }

    void saveFillsAnEmptyAddress_data()
    {
        QTest::addColumn<QVariant>("typed");
        QTest::addColumn<QString>("stored");
        QTest::newRow("empty") << QVariant("") << "不限";
        QTest::newRow("blanks and tab") << QVariant(" \t ") << "不限";
        QTest::newRow("kept when given") << QVariant("城南") << "城南";
    }
    void saveFillsAnEmptyAddress()
    {
        QFETCH(QVariant, typed);
        QFETCH(QString, stored);
        open();
        QVERIFY(w->qrykhxx.locate("档案号", "001261203001"));
        w->qrykhxx.edit();
        w->qrykhxx.setValue("地址描述", typed);
        w->DataSetPost1->trigger();
        QVERIFY(!w->qrykhxx.isEditing());
        QVERIFY(d->shown.isEmpty());
        QCOMPARE(db->scalar("select 地址描述 from 客户信息 where 档案号='001261203001'").toString(),
                 stored);
    }

    void failedSearchLeavesNothingToPrintOrExport()
    {
        open();
        dmbasic->adoCntnfybase.execute("alter table 客户信息 rename to 客户信息旧");
        ui::click(w->BitBtn5);
        QCOMPARE(d->messages().size(), 1); // the engine's own text, through the default display
        QVERIFY(!w->qrykhxx.isActive());
        QCOMPARE(w->DBGridEh1->model()->rowCount(), 0);
        noDialogWhen([&] {
            ui::click(w->Button1);
            ui::click(w->BitBtn8);
        });
        QCOMPARE(d->messages().size(), 1);
        dmbasic->adoCntnfybase.execute("alter table 客户信息旧 rename to 客户信息");
        ui::click(w->BitBtn5);
        QVERIFY(w->qrykhxx.isActive());
    }

    void printOpensThePreviewOnlyWhenReady()
    {
        open();
        bool preview = false;
        d->execs.push_back([&](QDialog* dlg) {
            preview = qobject_cast<QPrintPreviewDialog*>(dlg) != nullptr;
            return int(QDialog::Rejected);
        });
        ui::click(w->Button1);
        QVERIFY(preview);
        w->qrykhxx.edit();
        noDialogWhen([&] {
            ui::click(w->Button1);
            ui::click(w->BitBtn8);
        });
        w->qrykhxx.cancel();
    }

    void gridColumnsTitlesAndFormats()
    {
        open();
        DbGrid* g = w->DBGridEh1;
        const QStringList fields{"档案号", "类型",  "需求方式", "权属",  "地址描述",
                                 "面积1",  "面积2", "价格1",    "价格2", "需求设施",
                                 "楼层",   "户型",  "录入日期"};
        QCOMPARE(g->columnCount(), fields.size());
        for (int c = 0; c < fields.size(); ++c) {
            QCOMPARE(g->column(c).field, fields[c]);
            QCOMPARE(g->column(c).title, fields[c]);
        }
        QCOMPARE(g->columnWidth(12), 73);
        QVERIFY(g->view()->editTriggers() == QAbstractItemView::NoEditTriggers);
        QVERIFY(w->qrykhxx.locate("档案号", "001261203001"));
        const int r = w->qrykhxx.recNo();
        QCOMPARE(g->model()->data(g->model()->index(r, 5)).toString(), QString("60.00"));
        QCOMPARE(g->model()->data(g->model()->index(r, 8)).toString(), QString("80.00"));
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
            seen = b && b->cbZDM->maxVisibleItems() == 11 && PubTable == "客户信息" &&
                   PubFields.size() == 11 && PubFields[8] == "需求设施;需求设施";
            PubWhere = where;
            return result;
        });
        ui::click(w->BitBtn1);
        QVERIFY(seen);
        QCOMPARE(w->qrykhxx.isActive(), rows >= 0);
        if (rows >= 0) QCOMPARE(w->qrykhxx.recordCount(), rows);
        QCOMPARE(d->messages().join('|'), message);
        if (!message.isEmpty()) {
            QCOMPARE(d->shown.last().kind, QString("okCancel"));
            noDialogWhen([&] {
                ui::click(w->Button1);
                ui::click(w->BitBtn8);
            });
        }
    }

    void columnChooserAndExportGetTheGrid()
    {
        open();
        bool chooser = false, exported = false;
        d->execs.push_back([&](QDialog* dlg) {
            chooser = qobject_cast<TdlgSelectItem*>(dlg) && PubGrid == w->DBGridEh1;
            return int(QDialog::Rejected);
        });
        ui::click(w->BitBtn2);
        QVERIFY(chooser);
        w->qrykhxx.last();
        d->execs.push_back([&](QDialog* dlg) {
            auto* e = qobject_cast<TFrmPubExport*>(dlg);
            exported = e && e->edtTitle->text() == "客户信息查询" && PubGrid == w->DBGridEh1 &&
                       PubDataSet && PubDataSet != &w->qrykhxx && PubDataSet->recordCount() == 4;
            return int(QDialog::Rejected);
        });
        ui::click(w->BitBtn8);
        QVERIFY(exported);
        QCOMPARE(w->qrykhxx.recNo(), 3);
    }

    void viewAndDoubleClickOpenTheCard()
    {
        open();
        int cards = 0;
        for (int i = 0; i < 2; ++i)
            d->execs.push_back([&](QDialog* dlg) {
                cards += qobject_cast<TFrmLLKH*>(dlg) ? 1 : 0;
                return int(QDialog::Rejected);
            });
        ui::click(w->btnLL);
        emit w->DBGridEh1->rowDoubleClicked();
        QCOMPARE(cards, 2);
    }

    void newCustomersShowAfterTheNextSearch()
    {
        open();
        addCustomer(*db, {"001261209001", "新区", "有效", "261209"});
        QCOMPARE(w->qrykhxx.recordCount(), 4);
        ui::click(w->BitBtn5);
        QVERIFY(shown().contains("001261209001"));
    }
};

HALVORRA_TEST_MAIN(TestCustomerQuery)
#include "tst_customer_query.moc"
