// Printing a register's result grid: printed to a PDF file and read back as text,
// the title, columns, rows and signature for both registers; visible columns in
// grid order and a result over several pages.
#include "tests/registers/RegisterTests.h"

#include <QHeaderView>
#include <QProcess>

class TestGridPrint : public QObject, private QueryTest
{
    Q_OBJECT
    QString printed(const QString& name)
    {
        const QString pdf = QDir(db->dir()).filePath(name + ".pdf");
        GridPrinter p = QueryWindow::resultPrinter(
            w->DBGridEh1, RegisterRules::printTitle(CZRQ, w->config().texts.printTitleTail),
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
        WindowTest::start();
        loginAs(Roles::Ordinary, "李四");
        addListing(*db, {"001261203001", "阳光花园", "东街1号", 80.5, 50, "有效", "261203", "5"});
        addListing(*db, {"001261204001", "翠湖", "西路2号", 120, 90, "有效", "261204", "10"});
    }
    void cleanup() { stop(); }

    void printsTitleColumnsRowsAndSignature_data()
    {
        QTest::addColumn<QString>("reg");
        QTest::addColumn<QString>("title");
        QTest::addColumn<QStringList>("shown"); // column titles and values
        QTest::newRow("房源") << "房源"
                              << "26年12月09 日房源信息表"
                              << QStringList{"档案号", "类型",     "小区名称", "地址",   "房屋面积",
                                             "房龄",   "阳光花园", "80.50",    "东街1号"};
        QTest::newRow("客户") << "客户"
                              << "26年12月09日客户信息表"
                              << QStringList{"档案号",   "需求方式", "地址描述", "面积1",
                                             "录入日期", "城西",     "60.00",    "261203"};
    }
    void printsTitleColumnsRowsAndSignature()
    {
        QFETCH(QString, reg);
        QFETCH(QString, title);
        QFETCH(QStringList, shown);
        addCustomer(*db, {"001261203001", "城东人民路", "有效", "261203", "中层", "两室", "城东",
                          "求购", 60, 90, 50, 80});
        addCustomer(*db, {"001261204001", "城西", "有效", "261204"});
        open(reg);
        const QString text = printed("all");
        QVERIFY2(!text.isEmpty(), "pdftotext gave nothing");
        const QString flat = compact(text);
        QVERIFY2(flat.contains(compact(title)), qPrintable(text.left(400)));
        QVERIFY(flat.contains(compact("填报人员签字：李四")));
        for (const QString& s : shown)
            QVERIFY2(flat.contains(compact(s)), qPrintable(s));
        QVERIFY(flat.contains(compact("001261203001")));
        // The signature comes after the rows.
        QVERIFY(flat.indexOf(compact("填报人员签字")) > flat.indexOf(compact("001261204001")));
    }

    void printsOnlyVisibleColumnsInGridOrder()
    {
        open("房源");
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
        open("房源");
        for (int i = 2; i <= 150; ++i)
            addListing(*db, {QString("001261205%1").arg(i, 3, 10, QLatin1Char('0')), "花园", "路",
                             70, 40, "有效", "261205", "1"});
        ui::click(w->BitBtn5);
        QCOMPARE(w->rows().recordCount(), 151);
        const QString text = printed("long");
        const int pages = int(text.count(QLatin1Char('\f')));
        QVERIFY2(pages >= 2, qPrintable(QString::number(pages)));
        QCOMPARE(int(compact(text).count(compact("日房源信息表"))), pages);
        QVERIFY(compact(text).contains("001261205150"));
    }
};

HALVORRA_TEST_MAIN(TestGridPrint)
#include "tst_grid_print.moc"
