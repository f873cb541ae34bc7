// The result window on a real database, from both sides: the rows best first with
// score, mark and reasons, personal columns by role, the message when nothing
// fits, the double-click hook, printing, the column chooser and the Excel export.
#include "data/Dmbasic.h"
#include "export/U_PubExport.h"
#include "matching/Frm_ppjg.h"
#include "pickers/PubParams.h"
#include "pickers/U_SelectItem.h"
#include "registers/QueryWindow.h"
#include "tests/matching/MatchRows.h"
#include "tests/support/XlsxRead.h"

#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPrintPreviewDialog>
#include <QProcess>
#include <QPushButton>
#include <QSignalSpy>
#include <QToolButton>

using namespace Matching;
using Side = TFrmPPJG::Side;

namespace
{

const QVariant null;

template <typename T> T row(const QString& table, const QString& archive, T (*read)(const Query&))
{
    Query q(&dmbasic->adoCntnfybase);
    q.addSql(QStringLiteral("select * from %1 where 档案号='%2'").arg(table, archive));
    q.open();
    return read(q);
}

// The window for the listing or customer with this archive number.
std::unique_ptr<TFrmPPJG> windowFor(Side side, const QString& archive)
{
    auto w = side == Side::Customers
                 ? std::make_unique<TFrmPPJG>(row("房屋信息", archive, &listingFrom))
                 : std::make_unique<TFrmPPJG>(row("客户信息", archive, &customerFrom));
    w->show();
    return w;
}

QStringList fields(const DbGrid* g)
{
    QStringList out;
    for (int c = 0; c < g->columnCount(); ++c)
        out << g->column(c).field;
    return out;
}

QString cell(const DbGrid* g, int r, const QString& field)
{
    const int c = int(fields(g).indexOf(field));
    return g->model()->data(g->model()->index(r, c)).toString();
}

} // namespace

class TestMatchWindow : public QObject
{
    Q_OBJECT
    std::unique_ptr<DialogsScope> scope;
    TestDialogs* d = nullptr;
    std::unique_ptr<TestDb> db;

private slots:
    void init()
    {
        scope = std::make_unique<DialogsScope>();
        d = &**scope;
        db = std::make_unique<TestDb>();
        db->connectDmbasic();
        loginAs(Roles::Senior);
        Connection& c = dmbasic->adoCntnfybase;
        // 档案号 类型 方式 面积 价格 户型 楼层 位置 权属 小区名称 地址 设施
        addMatchListing(c, {"L01", "有效", "出售", 80, 100, "两室", "中层", "城东", "商品房",
                            "阳光花园", "人民路12号", "煤气 暖气"});
        addMatchListing(c, {"L02", "有效", "出售", 95, 100, "两室", "中层", "城东", "商品房",
                            "翠湖", "解放路1号", null});
        addMatchListing(c, {"L03", "有效", "出租", 50, 900, "一室", "低层", "城西", null, "桂花园",
                            "长江路8号", null});
        // 档案号 类型 需求方式 面积1 面积2 价格1 价格2 户型 楼层 位置 权属 地址描述 需求设施
        addMatchCustomer(c, {"C01", "有效", "求购", 60, 90, 80, 120, "两室", "中层", "城东",
                             "商品房", "不限", "煤气 暖气"});
        addMatchCustomer(c, {"C02", "有效", "求购", 100, 120, 90, 110, "不限", "不限", "不限",
                             "不限", "人民路", null});
        addMatchCustomer(
            c, {"C03", "有效", "求租", 0, 0, 0, 0, "两室", "不限", "不限", null, "不限", null});
    }
    void cleanup()
    {
        db.reset();
        scope.reset();
    }

    void rowsBestFirstWithScoreMarkAndReasons()
    {
        auto w = windowFor(Side::Customers, "L01");
        QCOMPARE(w->windowTitle(), QString("匹配客户"));
        QCOMPARE(w->lblTitle->text(), QString("匹配客户"));
        QVERIFY(w->lblSubject->text().startsWith("房源 L01："));
        QVERIFY(!w->lblNone->isVisible());
        DbGrid* g = w->gridPP;
        QCOMPARE(fields(g).mid(0, 5), (QStringList{"分数", "匹配", "理由", "档案号", "需求方式"}));
        QCOMPARE(g->model()->rowCount(), 2);
        QCOMPARE(cell(g, 0, "档案号"), QString("C01"));
        QCOMPARE(cell(g, 0, "分数"), QString("100"));
        QCOMPARE(cell(g, 0, "匹配"), QString("符合"));
        QCOMPARE(cell(g, 0, "理由"),
                 QString("面积 ✓  价格 ✓  户型 ✓  楼层 ✓  位置 ✓  权属 ✓  地址 不限  设施 ✓"));
        QCOMPARE(cell(g, 0, "面积1"), QString("60.00"));
        QCOMPARE(cell(g, 1, "档案号"), QString("C02"));
        QCOMPARE(cell(g, 1, "匹配"), QString("接近"));
        QVERIFY(cell(g, 1, "理由").startsWith("面积小 20%  价格 ✓"));
        QVERIFY(!w->lblMore->isVisible());
        QCOMPARE(g->footerText(fields(g).indexOf("档案号")), QString("2"));

        auto back = windowFor(Side::Listings, "C01");
        QCOMPARE(back->windowTitle(), QString("匹配房源"));
        QVERIFY(back->lblSubject->text().startsWith("客户 C01："));
        QCOMPARE(fields(back->gridPP).mid(3, 3), (QStringList{"档案号", "方式", "权属"}));
        QCOMPARE(back->gridPP->model()->rowCount(), 2);
        QCOMPARE(cell(back->gridPP, 0, "档案号"), QString("L01"));
        QCOMPARE(cell(back->gridPP, 1, "档案号"), QString("L02"));
        QVERIFY(cell(back->gridPP, 1, "理由").startsWith("面积大 6%  价格"));
    }

    // More fit than are listed: the best are listed, a line says how many more.
    void manyFitBestListed()
    {
        Connection& c = dmbasic->adoCntnfybase;
        {
            Connection::Transaction t(c);
            for (int i = 0; i < Matching::kListedAtMost + 5; ++i)
                addMatchListing(c, {QString("M%1").arg(i, 4, 10, QChar('0')), "有效", "出售", 70,
                                    100, "两室", "中层", "城东", "商品房", "翠湖", "解放路", null});
            addMatchCustomer(c, {"C09", "有效", "求购", 0, 0, 0, 0, "不限", "不限", "不限", "不限",
                                 "不限", null});
            t.commit();
        }
        auto w = windowFor(Side::Listings, "C09");
        QCOMPARE(w->gridPP->model()->rowCount(), Matching::kListedAtMost);
        QVERIFY(w->lblMore->isVisible());
        QCOMPARE(w->lblMore->text(),
                 QString("只列出分数最高的500条，另有7套房源也符合条件，未列出。"));
    }

    void personalColumnsByRole_data()
    {
        QTest::addColumn<QString>("role");
        QTest::addColumn<bool>("personal");
        QTest::newRow("普通操作员") << Roles::Ordinary << false;
        QTest::newRow("高级操作员") << Roles::Senior << true;
        QTest::newRow("系统管理员") << Roles::Admin << true;
    }
    void personalColumnsByRole()
    {
        QFETCH(QString, role);
        QFETCH(bool, personal);
        CurUser.GNZ = role;
        auto customers = windowFor(Side::Customers, "L01");
        auto listings = windowFor(Side::Listings, "C01");
        QCOMPARE(customers->showsPersonalColumns(), personal);
        QCOMPARE(listings->showsPersonalColumns(), personal);
        for (const char* f : {"客户姓名", "电话", "手机"}) {
            QCOMPARE(fields(customers->gridPP).contains(f), personal);
            // Not even read for a role that does not see it.
            QCOMPARE(customers->qryPP.fieldIndex(f) >= 0, personal);
        }
        for (const char* f : {"房主姓名", "电话", "手机"}) {
            QCOMPARE(fields(listings->gridPP).contains(f), personal);
            QCOMPARE(listings->qryPP.fieldIndex(f) >= 0, personal);
        }
        if (personal) {
            QCOMPARE(cell(customers->gridPP, 0, "客户姓名"), QString("李客户"));
            QCOMPARE(cell(listings->gridPP, 0, "房主姓名"), QString("王房主"));
        }
    }

    void nothingFitsSaysSo_data()
    {
        QTest::addColumn<int>("side");
        QTest::addColumn<QString>("archive");
        QTest::addColumn<QString>("message");
        QTest::newRow("rent listing, no customer") << int(Side::Customers) << "L03"
                                                   << "没有符合条件的客户";
        QTest::newRow("rent customer, no listing") << int(Side::Listings) << "C03"
                                                   << "没有符合条件的房源";
    }
    void nothingFitsSaysSo()
    {
        QFETCH(int, side);
        QFETCH(QString, archive);
        QFETCH(QString, message);
        auto w = windowFor(Side(side), archive);
        QCOMPARE(w->gridPP->model()->rowCount(), 0);
        QVERIFY(w->lblNone->isVisible());
        QCOMPARE(w->lblNone->text(), message);
        QVERIFY(w->currentArchive().isEmpty());
        // A row that now fits shows after the window matches again.
        if (Side(side) == Side::Customers)
            addMatchCustomer(dmbasic->adoCntnfybase, {"C04", "有效", "求租", 0, 0, 0, 0, "不限",
                                                      "不限", "不限", null, "不限", null});
        else
            addMatchListing(dmbasic->adoCntnfybase,
                            {"L04", "有效", "出租", 60, 1000, "两室", "中层", "城东", null,
                             "海棠湾", "友谊路", null});
        w->refresh();
        QCOMPARE(w->gridPP->model()->rowCount(), 1);
        QVERIFY(!w->lblNone->isVisible());
    }

    void doubleClickAsksForTheOtherRecord()
    {
        for (Side side : {Side::Customers, Side::Listings}) {
            auto w = windowFor(side, side == Side::Customers ? "L01" : "C01");
            QSignalSpy spy(w.get(), &TFrmPPJG::recordRequested);
            QTableView* v = w->gridPP->view();
            const QRect r = v->visualRect(v->model()->index(1, 3));
            QTest::mouseClick(v->viewport(), Qt::LeftButton, {}, r.center());
            QTest::mouseDClick(v->viewport(), Qt::LeftButton, {}, r.center());
            QCOMPARE(spy.size(), 1);
            QCOMPARE(spy[0][0].toString(), QString(side == Side::Customers ? "C02" : "L02"));
            QCOMPARE(w->currentArchive(), spy[0][0].toString());
            QVERIFY(d->execs.empty() && d->shown.isEmpty()); // nothing opened by the window
        }
    }

    void printColumnChooserAndExport()
    {
        auto w = windowFor(Side::Customers, "L01");
        QCOMPARE(w->reportTitle(), QString("匹配客户（房源 L01）"));
        QString seen;
        d->execs.push_back([&](QDialog* dlg) {
            seen = qobject_cast<QPrintPreviewDialog*>(dlg) ? "preview" : "other";
            return int(QDialog::Rejected);
        });
        ui::click(w->btnDY);
        QCOMPARE(seen, QString("preview"));

        const QString pdf = QDir(db->dir()).filePath("match.pdf");
        QVERIFY(QueryWindow::resultPrinter(w->gridPP, w->reportTitle(), "").printToPdf(pdf));
        QProcess pt;
        pt.start("pdftotext", {"-layout", pdf, "-"});
        QVERIFY(pt.waitForFinished(60000));
        // pdftotext may give compatibility forms (Kangxi radicals) of some characters.
        QString text = QString::fromUtf8(pt.readAllStandardOutput())
                           .normalized(QString::NormalizationForm_KC)
                           .remove(QRegularExpression("\\s"));
        for (const char* printed :
             {"匹配客户(房源L01)", "100符合面积✓价格✓", "80接近面积小20%价格✓"})
            QVERIFY2(text.contains(printed), qPrintable(text));

        bool chooser = false;
        d->execs.push_back([&](QDialog* dlg) {
            chooser = qobject_cast<TdlgSelectItem*>(dlg) && PubGrid == w->gridPP;
            return int(QDialog::Rejected);
        });
        ui::click(w->btnXM);
        QVERIFY(chooser);

        w->gridPP->setColumnVisible(int(fields(w->gridPP).indexOf("需求方式")), false);
        w->qryPP.setRecNo(1);
        QStringList listed;
        QString title;
        d->execs.push_back([&](QDialog* dlg) {
            auto* e = qobject_cast<TFrmPubExport*>(dlg);
            if (!e) return int(QDialog::Rejected);
            title = e->edtTitle->text();
            for (int i = 0; i < e->DstList->count(); ++i)
                listed << e->DstList->item(i)->text();
            ui::click(e->SpeedButton4);
            return int(QDialog::Rejected);
        });
        ui::click(w->btnExcel);
        QCOMPARE(title, w->reportTitle());
        QCOMPARE(listed.mid(0, 5), (QStringList{"分数", "匹配", "理由", "档案号", "权属"}));
        QCOMPARE(w->qryPP.recNo(), 1); // the export walked a copy
        QCOMPARE(d->opened.size(), 1);
        const XlsxBook book = readXlsx(d->opened.first());
        QVERIFY2(book.ok, qPrintable(book.error));
        QCOMPARE(book.text("A2"), QString("分数"));
        QCOMPARE(book.text("A3"), QString("100"));
        QCOMPARE(book.text("B4"), QString("接近"));
        QVERIFY(book.text("C3").startsWith("面积 ✓  价格 ✓"));
        QCOMPARE(book.text("D3"), QString("C01"));
        QCOMPARE(book.text("D4"), QString("C02"));
    }
};

HALVORRA_TEST_MAIN(TestMatchWindow)
#include "tst_match_window.moc"
