// Printing the listing result grid: printed to a PDF file and read back as text.
#include "listings/Frm_fycx.h"
#include "listings/core/ListingSearch.h"
#include "tests/common/RegisterTests.h"

#include <QHeaderView>
#include <QProcess>

class TestGridPrint : public QObject
{
    Q_OBJECT
    std::unique_ptr<DialogsScope> scope;
    std::unique_ptr<TestDb> db;
    std::unique_ptr<TFrmFYCX> w;

    QString printed(const QString& name)
    {
        const QString pdf = QDir(db->dir()).filePath(name + ".pdf");
        GridPrinter p = QueryWindow::resultPrinter(
            w->DBGridEh1, RegisterRules::printTitle(CZRQ, TFrmFYCX::config().printTitleTail),
            RegisterRules::signatureLine(CurUser.YGXM));
        if (!p.printToPdf(pdf)) return {};
        QProcess pt;
        pt.start("pdftotext", {"-layout", pdf, "-"});
        if (!pt.waitForFinished(60000)) return {};
        const QString out = QString::fromUtf8(pt.readAllStandardOutput());
        if (qEnvironmentVariableIsSet("SHOW_PDF_TEXT")) qDebug().noquote() << out;
        return out;
    }
    static QString compact(QString s)
    {
        // pdftotext may give compatibility forms (Kangxi radicals) of some characters.
        s = s.normalized(QString::NormalizationForm_KC);
        s.remove(QRegularExpression("\\s"));
        return s;
    }

private slots:
    void init()
    {
        scope = std::make_unique<DialogsScope>();
        db = std::make_unique<TestDb>();
        db->connectDmbasic();
        loginAs(Roles::Ordinary, "李四");
        addListing(*db, {"001261203001", "阳光花园", "东街1号", 80.5, 50, "有效", "261203", "5"});
        addListing(*db, {"001261204001", "翠湖", "西路2号", 120, 90, "有效", "261204", "10"});
        w = std::make_unique<TFrmFYCX>();
        w->show();
    }
    void cleanup()
    {
        w.reset();
        db.reset();
        scope.reset();
    }

    void printsTitleColumnsRowsAndSignature()
    {
        const QString text = printed("all");
        QVERIFY2(!text.isEmpty(), "pdftotext gave nothing");
        const QString flat = compact(text);
        QVERIFY2(flat.contains(compact("26年12月09日房源信息表")), qPrintable(text.left(400)));
        QVERIFY(flat.contains(compact("填报人员签字：李四")));
        for (const char* title : {"档案号", "类型", "小区名称", "地址", "房屋面积"})
            QVERIFY2(flat.contains(compact(QString::fromUtf8(title))), title);
        QVERIFY(flat.contains(compact("001261203001")));
        QVERIFY(flat.contains(compact("阳光花园")));
        QVERIFY(flat.contains(compact("80.50")));
        QVERIFY(flat.contains(compact("东街1号")));
        // The signature comes after the rows.
        QVERIFY(flat.indexOf(compact("填报人员签字")) > flat.indexOf(compact("001261204001")));
    }

    void printsOnlyVisibleColumnsInGridOrder()
    {
        DbGrid* g = w->DBGridEh1;
        for (int c = 0; c < g->columnCount(); ++c)
            g->setColumnVisible(c, c == 0 || c == 5 || c == 6);
        // Move 地址 in front of 档案号.
        g->view()->horizontalHeader()->moveSection(6, 0);
        const QString flat = compact(printed("some"));
        QVERIFY(flat.contains(compact("小区名称")));
        QVERIFY(!flat.contains(compact("房屋面积")));
        QVERIFY(!flat.contains(compact("80.50")));
        QVERIFY(flat.indexOf(compact("地址")) < flat.indexOf(compact("档案号")));
        QVERIFY(flat.indexOf(compact("东街1号")) < flat.indexOf(compact("001261203001")));
    }

    void longResultRunsOverPagesWithTitleOnEach()
    {
        for (int i = 2; i <= 150; ++i)
            addListing(*db, {QString("001261205%1").arg(i, 3, 10, QLatin1Char('0')), "花园", "路",
                             70, 40, "有效", "261205", "1"});
        ui::click(w->BitBtn5);
        QCOMPARE(w->qryFwxx.recordCount(), 151);
        const QString text = printed("long");
        const int pages = int(text.count(QLatin1Char('\f')));
        QVERIFY2(pages >= 2, qPrintable(QString::number(pages)));
        QCOMPARE(int(compact(text).count(compact("日房源信息表"))), pages);
        QVERIFY(compact(text).contains("001261205150"));
    }
};

HALVORRA_TEST_MAIN(TestGridPrint)
#include "tst_grid_print.moc"
