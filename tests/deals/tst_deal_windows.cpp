// The deal windows on a real database: 成交登记 from both record cards and from a
// match result (numbers filled in, records invalid afterwards, the card showing it),
// its messages, a stored deal read-only for ordinary operators and cancelled by a
// senior one, and 成交记录 with its filters, footer totals and double click; the
// main window's 统计 menu.
#include "app/Frm_main.h"
#include "app/Windows.h"
#include "data/Dmbasic.h"
#include "deals/Frm_cjdj.h"
#include "deals/Frm_cjjl.h"
#include "deals/Frm_tjfx.h"
#include "deals/core/Deals.h"
#include "matching/Frm_ppjg.h"
#include "matching/core/MatchSearch.h"
#include "registers/RecordCard.h"
#include "tests/registers/RegisterTests.h"
#include "widgets/DbControls.h"

#include <QComboBox>
#include <QDateEdit>
#include <QFile>
#include <QImage>
#include <QLabel>
#include <QMenuBar>
#include <QPlainTextEdit>
#include <QPrinter>
#include <QProcess>
#include <QPushButton>
#include <QTabWidget>
#include <QTableWidget>
#include <QtCharts/QChartView>

namespace
{

const QString kListing = QStringLiteral("001261203001");
const QString kCustomer = QStringLiteral("001261203101");
const QString kOther = QStringLiteral("001261203102");

// Fills the deal window's money and presses 保存.
void fillAndSave(TFrmCJDJ* w, const QString& price, const QString& share = QStringLiteral("100"))
{
    ui::type(w->edtCJJG, price);
    ui::type(w->edtYZYJ, QStringLiteral("5000"));
    ui::type(w->edtKHYJ, QStringLiteral("5000.01"));
    w->gridJJR->item(0, 1)->setText(share);
    ui::click(w->btnOK);
}

} // namespace

class TestDealWindows : public QObject
{
    Q_OBJECT
    QueryTest t;

private slots:
    void initTestCase() { installFeatureHooks(); }
    void init()
    {
        t.start(Roles::Ordinary);
        addListing(*t.db, {kListing, "阳光花园", "东街1号", 80, 50});
        // Customers asking for anything, so the listing's match result holds both.
        addCustomer(*t.db, {kCustomer, "不限", "有效", "261203", "不限", "不限", "不限"});
        addCustomer(*t.db, {kOther, "不限", "有效", "261203", "不限", "不限", "不限"});
        t.db->exec("insert into 操作员档案 (员工编号, 员工姓名, 功能组) values ('001', '张三', "
                   "'普通操作员')");
        t.db->exec("insert into 操作员档案 (员工编号, 员工姓名, 功能组) values ('002', '李四', "
                   "'高级操作员')");
    }
    void cleanup() { t.stop(); }

    // From either card: the card's own record is filled in and fixed, the other typed;
    // after the deal the card shows its record invalid, and the deal is stored.
    void fromCard_data() { perRegister(); }
    void fromCard()
    {
        QFETCH(QString, reg);
        QueryFrame* w = t.open(reg);
        const bool listing = reg == QStringLiteral("房源");
        QVERIFY(w->rows().locate(QStringLiteral("档案号"), listing ? kListing : kCustomer));
        withCard(w, t.d, {}, [&](RecordCard* card) {
            QVERIFY(card->btnCJ->isEnabled());
            bool shown = false;
            t.d->execs.push_back([&](QDialog* dlg) {
                auto* deal = qobject_cast<TFrmCJDJ*>(dlg);
                shown = deal != nullptr;
                if (!deal) return int(QDialog::Rejected);
                QLineEdit* own = listing ? deal->edtFY : deal->edtKH;
                QLineEdit* other = listing ? deal->edtKH : deal->edtFY;
                if (own->text() != (listing ? kListing : kCustomer) || !own->isReadOnly() ||
                    other->isReadOnly())
                    return int(QDialog::Rejected);
                ui::type(other, listing ? kCustomer : kListing);
                fillAndSave(deal, QStringLiteral("500000"));
                return deal->result();
            });
            ui::click(card->btnCJ);
            QVERIFY(shown);
            QCOMPARE(t.d->last(), QStringLiteral("成交登记成功，房源和客户已改为无效。"));
            QCOMPARE(w->rows().text(QStringLiteral("档案号")), listing ? kListing : kCustomer);
            QCOMPARE(w->rows().text(QStringLiteral("类型")), QStringLiteral("无效"));
            QVERIFY(!card->DBCheckBox1->isChecked());
        });
        QCOMPARE(t.stored("房屋信息", kListing, "类型").toString(), QStringLiteral("无效"));
        QCOMPARE(t.stored("客户信息", kCustomer, "类型").toString(), QStringLiteral("无效"));
        QCOMPARE(t.db->scalar("select 成交价格 from 成交记录").toLongLong(), 50000000LL);
        QCOMPARE(t.db->scalar("select 佣金 from 成交经纪人").toLongLong(), 1000001LL);
    }

    // The window's own messages: no amount, shares not 100, a date in the future;
    // nothing is stored and the window stays open.
    void messages_data()
    {
        QTest::addColumn<QString>("price");
        QTest::addColumn<QString>("share");
        QTest::addColumn<int>("daysAhead");
        QTest::addColumn<QString>("message");
        QTest::newRow("three decimals") << "12.345"
                                        << "100" << 0 << "请输入正确的金额（元，最多两位小数）";
        QTest::newRow("zero") << "0"
                              << "100" << 0 << "成交价格必须大于零";
        QTest::newRow("commission above price") << "9000"
                                                << "100" << 0 << "佣金合计不能高于成交价格";
        QTest::newRow("shares 90") << "500000"
                                   << "90" << 0 << "经纪人的分成比例合计必须是100%，现在是90%";
        QTest::newRow("share text")
            << "500000"
            << "一百" << 0 << "分成比例“一百”不是0到100之间的数（最多两位小数）";
        QTest::newRow("tomorrow") << "500000"
                                  << "100" << 1 << "成交日期不能晚于今天";
    }
    void messages()
    {
        QFETCH(QString, price);
        QFETCH(QString, share);
        QFETCH(int, daysAhead);
        QFETCH(QString, message);
        TFrmCJDJ w(kListing, kCustomer);
        w.show();
        w.dtCJRQ->setDate(QDate::currentDate().addDays(daysAhead));
        fillAndSave(&w, price, share);
        QCOMPARE(t.d->last(), message);
        QVERIFY(w.isVisible());
        QCOMPARE(t.count("成交记录"), 0);
    }

    // From a match result: both numbers filled in; the customer of the deal leaves
    // the result.
    void fromMatch()
    {
        Query q(&dmbasic->adoCntnfybase);
        q.addSql(QStringLiteral("select * from 房屋信息 where 档案号='%1'").arg(kListing));
        q.open();
        TFrmPPJG w(Matching::listingFrom(q));
        w.show();
        QVERIFY(w.qryPP.locate(QStringLiteral("档案号"), kCustomer));
        t.d->execs.push_back([&](QDialog* dlg) {
            auto* deal = qobject_cast<TFrmCJDJ*>(dlg);
            if (!deal || deal->edtFY->text() != kListing || deal->edtKH->text() != kCustomer)
                return int(QDialog::Rejected);
            fillAndSave(deal, QStringLiteral("500000"));
            return deal->result();
        });
        const int before = w.qryPP.recordCount();
        QCOMPARE(before, 2);
        ui::click(w.btnCJ);
        QCOMPARE(t.count("成交记录"), 1);
        QCOMPARE(w.qryPP.recordCount(), before - 1);
        QVERIFY(!w.qryPP.locate(QStringLiteral("档案号"), kCustomer));
    }

    // A stored deal: read-only for an ordinary operator; a senior operator cancels it
    // with a reason and both records are valid again. A staff member removed since
    // keeps his name on the deal.
    void storedDeal()
    {
        Deals::Deal d;
        d.listing = kListing;
        d.customer = kCustomer;
        d.date = QDate::currentDate();
        d.price = 100000;
        d.agents = {{"001", {}, 5000, 0}, {"002", {}, 5000, 0}};
        const qlonglong id = Deals::add(dmbasic->adoCntnfybase, d);
        t.db->exec("delete from 操作员档案 where 员工编号='002'");
        {
            TFrmCJDJ w(id);
            QVERIFY(w.btnOK->isHidden());
            QVERIFY(w.btnCX->isHidden());
            QVERIFY(w.edtCJJG->isReadOnly());
            auto* cb = qobject_cast<QComboBox*>(w.gridJJR->cellWidget(1, 0));
            QCOMPARE(cb->currentText(), QStringLiteral("002 李四（已不在人员档案）"));
        }
        loginAs(Roles::Senior);
        TFrmCJDJ w(id);
        w.show();
        QVERIFY(!w.btnCX->isHidden());
        t.d->execs.push_back([](QDialog* dlg) {
            ui::type(ui::find<QLineEdit>(dlg, "edtYY"), QStringLiteral("客户贷款未批"));
            return int(QDialog::Accepted);
        });
        ui::click(w.btnCX);
        QCOMPARE(t.d->last(), QStringLiteral("成交已撤销。"));
        QCOMPARE(t.stored("房屋信息", kListing, "类型").toString(), QStringLiteral("有效"));
        QCOMPARE(t.stored("客户信息", kCustomer, "类型").toString(), QStringLiteral("有效"));
        QCOMPARE(t.db->scalar("select 撤销原因 from 成交记录").toString(),
                 QStringLiteral("客户贷款未批"));
    }

    // 成交记录: the range, the agent and the mode select the deals; the footer sums
    // the standing ones to the fen; a double click opens the deal; a range that runs
    // backwards is refused.
    void dealList()
    {
        const QDate today = QDate::currentDate();
        addListing(*t.db, {"001261203002", "花园", "西街", 60, 30, "有效", "261203", "5", "出租"});
        addCustomer(*t.db,
                    {"001261203103", "城东", "有效", "261203", "中层", "两室", "城东", "求租"});
        const auto add = [&](const QString& l, const QString& c, qint64 price, qint64 commission,
                             const QString& staff) {
            Deals::Deal d;
            d.listing = l;
            d.customer = c;
            d.date = today;
            d.price = price;
            d.ownerCommission = commission;
            d.agents = {{staff, {}, 10000, 0}};
            return Deals::add(dmbasic->adoCntnfybase, d);
        };
        add(kListing, kCustomer, 33333333, 100001, "001");
        add("001261203002", "001261203103", 300000, 3001, "002");
        TFrmCJJL w;
        w.show();
        QCOMPARE(w.qryCJ.recordCount(), 2);
        const auto footer = [&](const QString& column) {
            for (int i = 0; i < w.qryCJ.fieldCount(); ++i)
                if (w.qryCJ.column(i).name == column) return w.gridCJ->footerText(i);
            return QString();
        };
        QCOMPARE(footer("编号"), QStringLiteral("2"));
        QCOMPARE(footer("成交价格"), QStringLiteral("336333.33"));
        QCOMPARE(footer("佣金合计"), QStringLiteral("1030.02"));
        w.cbJJR->setCurrentIndex(w.cbJJR->findData(QStringLiteral("002")));
        ui::click(w.btnCX);
        QCOMPARE(w.qryCJ.recordCount(), 1);
        QCOMPARE(footer("本人佣金"), QStringLiteral("30.01"));
        w.cbJJR->setCurrentIndex(0);
        w.cbFS->setCurrentIndex(w.cbFS->findText(QStringLiteral("出售")));
        ui::click(w.btnCX);
        QCOMPARE(w.qryCJ.recordCount(), 1);
        QCOMPARE(w.qryCJ.text(QStringLiteral("房源档案号")), kListing);
        bool opened = false;
        t.d->execs.push_back([&](QDialog* dlg) {
            auto* deal = qobject_cast<TFrmCJDJ*>(dlg);
            opened = deal && deal->edtFY->text() == kListing;
            return int(QDialog::Rejected);
        });
        emit w.gridCJ->rowDoubleClicked();
        QVERIFY(opened);
        w.dtFrom->setDate(today.addDays(1));
        w.dtTo->setDate(today);
        ui::click(w.btnCX);
        QCOMPARE(t.d->last(), QStringLiteral("开始日期不能晚于结束日期"));
    }

    // 统计分析: a chart and a table per figure, a page without rows says so; the
    // money columns only for senior roles; the page saved as a picture, printed with
    // its table and exported.
    void statisticsWindow()
    {
        t.db->exec(QStringLiteral("update 房屋信息 set 录入日期='%1', 位置='城东'")
                       .arg(QDate::currentDate().toString("yyMMdd")));
        Deals::Deal d;
        d.listing = kListing;
        d.customer = kCustomer;
        d.date = QDate::currentDate();
        d.price = 100000;
        d.ownerCommission = 1000;
        d.agents = {{"001", {}, 10000, 0}};
        Deals::add(dmbasic->adoCntnfybase, d);
        for (const QString& role : {Roles::Ordinary, Roles::Admin}) {
            loginAs(role);
            TFrmTJFX w;
            w.show();
            QCOMPARE(w.pageCount(), 7);
            QCOMPARE(w.tabs->tabText(4), QStringLiteral("每月成交"));
            QCOMPARE(w.table(4).columns.contains(QStringLiteral("佣金(元)")), role == Roles::Admin);
            QCOMPARE(w.table(4).rows.size(), 1);
            QCOMPARE(w.chartViews(4).size(), 1);
            QCOMPARE(w.grid(4)->columnCount(), int(w.table(4).columns.size()));
            // Only the listing of the deal is priced: one box plot, for sales.
            QCOMPARE(w.chartViews(3).size(), 1);
            // Notes: none at all, so the page says there is nothing to show.
            QVERIFY(w.table(6).rows.isEmpty());
            QVERIFY(w.chartViews(6).isEmpty());
            QVERIFY(!ui::find<QLabel>(w.tabs->widget(6), "lblEmpty")->isHidden());
        }
        TFrmTJFX w;
        w.show();
        w.tabs->setCurrentIndex(4);
        const QString png = t.db->dir() + QStringLiteral("/deals");
        t.d->files.push_back(png);
        ui::click(w.btnPNG);
        QImage saved(png + QStringLiteral(".png"));
        QVERIFY(!saved.isNull());
        QCOMPARE(saved.size(), QSize(800, 480));
        QPrinter printer(QPrinter::HighResolution);
        printer.setOutputFormat(QPrinter::PdfFormat);
        const QString pdf = t.db->dir() + QStringLiteral("/deals.pdf");
        printer.setOutputFileName(pdf);
        w.printPage(&printer);
        QProcess text;
        text.start(QStringLiteral("pdftotext"), {pdf, QStringLiteral("-")});
        QVERIFY(text.waitForFinished());
        const QString printed = QString::fromUtf8(text.readAllStandardOutput());
        QVERIFY2(printed.contains(QStringLiteral("每月成交")) &&
                     printed.contains(QStringLiteral("1000.00")),
                 qPrintable(printed));
        bool exported = false;
        t.d->execs.push_back([&](QDialog* dlg) {
            exported = dlg->objectName() == QStringLiteral("FrmPubExport") ||
                       dlg->inherits("TFrmPubExport");
            return int(QDialog::Rejected);
        });
        ui::click(w.btnExcel);
        QVERIFY(exported);
        // A range that runs backwards computes nothing.
        w.dtFrom->setDate(QDate::currentDate().addDays(1));
        ui::click(w.btnTJ);
        QCOMPARE(t.d->last(), QStringLiteral("开始日期不能晚于结束日期"));
    }

    // The menu 统计 comes after the main window's menus and ours before it, with
    // its two commands.
    void menu()
    {
        loginAs(Roles::Ordinary);
        TFrmmain m;
        const QList<QAction*> menus = m.menuBar()->actions();
        QCOMPARE(menus.last()->text(), QStringLiteral("统计"));
        QCOMPARE(menus[5]->text(), QStringLiteral("帮助"));
        const QList<QAction*> items = menus.last()->menu()->actions();
        QCOMPARE(items.size(), 2);
        QCOMPARE(items[0]->text(), QStringLiteral("成交记录"));
        QCOMPARE(items[1]->text(), QStringLiteral("统计分析"));
        QVERIFY(items[0]->isEnabled() && items[1]->isEnabled());
    }
};

HALVORRA_TEST_MAIN(TestDealWindows)
#include "tst_deal_windows.moc"
