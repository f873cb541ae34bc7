// The export window: its checks, and the workbook it writes for the visible
// grid columns and the rows of the data set, read back from the file.
#include "data/Dmbasic.h"
#include "export/U_PubExport.h"
#include "pickers/PubParams.h"
#include "session/PubVars.h"
#include "tests/support/TestSupport.h"
#include "tests/support/UserFolders.h"
#include "tests/support/XlsxRead.h"
#include "widgets/DbGrid.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QHeaderView>
#include <QLabel>
#include <QListWidget>
#include <QRegularExpression>
#include <QStatusBar>
#include <QToolButton>

class TestPubExport : public QObject
{
    Q_OBJECT
    std::unique_ptr<TestDb> db;
    std::unique_ptr<Query> data;
    std::unique_ptr<DataSource> ds;
    std::unique_ptr<DbGrid> grid;

    void openData(const QString& where = {})
    {
        data = std::make_unique<Query>(&dmbasic->adoCntnfybase);
        data->addSql(QStringLiteral("select * from 房屋信息 "));
        data->addSql(where.isEmpty() ? QStringLiteral("where 1=1 ") : where);
        data->addSql(QStringLiteral("order by 档案号"));
        data->open();
        ds = std::make_unique<DataSource>(data.get());
        grid = std::make_unique<DbGrid>();
        grid->setDataSource(ds.get());
        grid->setColumns({{"档案号", "档案号", -1, {}},
                          {"地址", "地址", -1, {}},
                          {"电话", "电话", -1, {}},
                          {"房屋面积", "面积", -1, {}}});
        PubGrid = grid.get();
        PubDataSet = data.get();
    }
    // Runs 导出 and reads the one file it opened.
    XlsxBook exportNow(TFrmPubExport& w, DialogsScope& d)
    {
        ui::click(w.SpeedButton4);
        if (d->opened.size() != 1) {
            qWarning() << "opened:" << d->opened << "messages:" << d->messages();
            return {};
        }
        return readXlsx(d->opened.first());
    }

private slots:
    void initTestCase()
    {
        db = std::make_unique<TestDb>();
        db->connectDmbasic();
        db->exec("delete * from 房屋信息");
        db->exec("insert into 房屋信息 (档案号, 地址, 电话, 房屋面积) values ('001260101001', "
                 "'花园路1号', '0123', 85.5)");
        db->exec("insert into 房屋信息 (档案号, 地址, 电话, 房屋面积) values ('001260101002', "
                 "'O''Neil路', '00012345678', 120)");
        db->exec("insert into 房屋信息 (档案号, 地址, 电话) values ('001260101003', null, '')");
        CurUser.YGXM = QStringLiteral("张三");
        CZRQ = QStringLiteral("261209");
    }
    void cleanup()
    {
        PubGrid = nullptr;
        PubDataSet = nullptr;
        grid.reset();
        ds.reset();
        data.reset();
    }

    void opensWithVisibleColumnsInGridOrder()
    {
        openData();
        grid->setColumnVisible(1, false);
        grid->view()->horizontalHeader()->moveSection(3, 0); // 面积 shown first
        TFrmPubExport w;
        QStringList shown;
        for (int i = 0; i < w.DstList->count(); ++i)
            shown << w.DstList->item(i)->text();
        QCOMPARE(shown, (QStringList{"面积", "档案号", "电话"}));
        QCOMPARE(w.edtZbry->text(), QStringLiteral("张三"));
        QCOMPARE(w.edtZbrq->text(), QStringLiteral("261209"));
        QCOMPARE(w.windowTitle(), QStringLiteral("公用导出"));
    }

    void checksBeforeExport_data()
    {
        QTest::addColumn<bool>("hideAll");
        QTest::addColumn<QString>("title");
        QTest::addColumn<QString>("preparer");
        QTest::addColumn<QString>("date");
        QTest::addColumn<QString>("message");
        QTest::newRow("every column hidden") << true << "房源信息查询"
                                             << "张三"
                                             << "261209"
                                             << "没有选择目标字段！";
        QTest::newRow("empty title") << false << ""
                                     << "张三"
                                     << "261209"
                                     << "请输入导出数据的标题！";
        QTest::newRow("blank title") << false << " \t "
                                     << "张三"
                                     << "261209"
                                     << "请输入导出数据的标题！";
        QTest::newRow("blank preparer") << false << "标题"
                                        << "  "
                                        << "261209"
                                        << "请输入导出数据的制表人员！";
        QTest::newRow("blank date") << false << "标题"
                                    << "张三"
                                    << " "
                                    << "请输入导出数据的制表日期！";
    }
    void checksBeforeExport()
    {
        QFETCH(bool, hideAll);
        QFETCH(QString, title);
        QFETCH(QString, preparer);
        QFETCH(QString, date);
        QFETCH(QString, message);
        openData();
        if (hideAll)
            for (int i = 0; i < grid->columnCount(); ++i)
                grid->setColumnVisible(i, false);
        DialogsScope d;
        TFrmPubExport w;
        w.edtTitle->setText(title);
        w.edtZbry->setText(preparer);
        w.edtZbrq->setText(date);
        ui::click(w.SpeedButton4);
        QCOMPARE(d->messages(), QStringList{message});
        QVERIFY(d->opened.isEmpty());
        QVERIFY(w.writtenFiles().isEmpty());
    }

    void nRows()
    {
        openData();
        DialogsScope d;
        TFrmPubExport w;
        w.edtTitle->setText(QStringLiteral("  房源信息查询 "));
        w.edtZbry->setText(QStringLiteral(" 李四"));
        const XlsxBook b = exportNow(w, d);
        QVERIFY2(b.ok, qPrintable(b.error));
        QVERIFY(d->messages().isEmpty());
        QCOMPARE(b.sheets.first(), QStringLiteral("数据库信息"));
        // Title: merged over the fields, as typed, 楷体 18 bold, centred.
        QCOMPARE(b.merged, QStringList{"A1:D1"});
        QCOMPARE(b.text("A1"), QStringLiteral("  房源信息查询 "));
        QCOMPARE(b.cell("A1").font, QStringLiteral("楷体"));
        QCOMPARE(b.cell("A1").size, 18.0);
        QVERIFY(b.cell("A1").bold);
        QCOMPARE(b.cell("A1").hAlign, QStringLiteral("center"));
        QCOMPARE(b.cell("A1").vAlign, QStringLiteral("center"));
        // Header.
        const QStringList header = {"档案号", "地址", "电话", "面积"};
        const QStringList cols = {"A", "B", "C", "D"};
        for (int j = 0; j < 4; ++j) {
            QCOMPARE(b.text(cols[j] + "2"), header[j]);
            QVERIFY(b.cell(cols[j] + "2").bold);
            QCOMPARE(b.cell(cols[j] + "2").hAlign, QStringLiteral("center"));
        }
        // Records as text: leading zeros and long digit strings survive.
        QCOMPARE(b.text("A3"), QStringLiteral("001260101001"));
        QCOMPARE(b.text("C3"), QStringLiteral("0123"));
        QCOMPARE(b.text("C4"), QStringLiteral("00012345678"));
        QCOMPARE(b.text("D3"), QStringLiteral("85.5"));
        QCOMPARE(b.text("B4"), QStringLiteral("O'Neil路"));
        QVERIFY(!b.cell("A3").bold);
        QCOMPARE(b.cell("A3").hAlign, QStringLiteral("center"));
        QCOMPARE(b.cell("A3").numberFormat, QStringLiteral("@"));
        // Borders over header and data only.
        for (int r = 2; r <= 5; ++r)
            for (const QString& c : cols)
                QVERIFY2(b.cell(c + QString::number(r)).border, qPrintable(c + QString::number(r)));
        QVERIFY(!b.cell("A6").border);
        QVERIFY(!b.cell("A1").border);
        // Footer in row n + 4, row n + 3 empty, texts as typed.
        for (const QString& c : cols)
            QVERIFY(b.cell(c + "6").isNull);
        QCOMPARE(b.text("B7"), QStringLiteral("制表人员:  李四"));
        QCOMPARE(b.text("D7"), QStringLiteral("制表日期: 261209"));
        QCOMPARE(b.maxRow, 7);
        // Widths: the text fields' declared sizes, 10 for a number.
        QVERIFY(qAbs(b.widths.value("A") - 12) < 1);
        QVERIFY(qAbs(b.widths.value("B") - 50) < 1);
        QVERIFY(qAbs(b.widths.value("C") - 12) < 1);
        QVERIFY(qAbs(b.widths.value("D") - 10) < 1);
        QVERIFY(w.StatusPanel0->text().isEmpty());
        QCOMPARE(w.writtenFiles(), d->opened);
    }

    void zeroRows()
    {
        openData(QStringLiteral("where 档案号='none' "));
        DialogsScope d;
        TFrmPubExport w;
        w.edtTitle->setText(QStringLiteral("房源信息查询"));
        const XlsxBook b = exportNow(w, d);
        QVERIFY2(b.ok, qPrintable(b.error));
        QCOMPARE(b.text("A1"), QStringLiteral("房源信息查询"));
        QCOMPARE(b.text("D2"), QStringLiteral("面积"));
        QVERIFY(b.cell("D2").border);
        QVERIFY(!b.cell("A3").border);
        QVERIFY(b.cell("A3").isNull);
        QCOMPARE(b.text("B4"), QStringLiteral("制表人员: 张三"));
        QCOMPARE(b.text("D4"), QStringLiteral("制表日期: 261209"));
        QCOMPARE(b.maxRow, 4);
    }

    void oneColumn()
    {
        openData();
        for (int i = 1; i < grid->columnCount(); ++i)
            grid->setColumnVisible(i, false);
        DialogsScope d;
        TFrmPubExport w;
        w.edtTitle->setText(QStringLiteral("房源"));
        const XlsxBook b = exportNow(w, d);
        QVERIFY2(b.ok, qPrintable(b.error));
        QVERIFY(b.merged.isEmpty()); // a single cell has nothing to merge with
        QCOMPARE(b.text("A1"), QStringLiteral("房源"));
        QVERIFY(b.cell("A1").bold);
        QVERIFY(b.cell("A5").border);
        QVERIFY(!b.cell("B2").border);
        QCOMPARE(b.text("A5"), QStringLiteral("001260101003"));
        QCOMPARE(b.text("B7"), QStringLiteral("制表人员: 张三"));
    }

    // More than 26 fields are addressed with two letters instead of failing.
    void moreThan26Columns()
    {
        openData();
        QList<GridColumn> cols;
        for (int i = 0; i < 28; ++i)
            cols << GridColumn{
                i == 27 ? "电话" : "档案号", QStringLiteral("列%1").arg(i + 1), -1, {}};
        grid->setColumns(cols);
        DialogsScope d;
        TFrmPubExport w;
        w.edtTitle->setText(QStringLiteral("宽表"));
        const XlsxBook b = exportNow(w, d);
        QVERIFY2(b.ok, qPrintable(b.error));
        QCOMPARE(b.merged, QStringList{"A1:AB1"});
        QCOMPARE(b.text("AB2"), QStringLiteral("列28"));
        QCOMPARE(b.text("AB3"), QStringLiteral("0123"));
        QVERIFY(b.cell("AB5").border);
        QVERIFY(!b.cell("AC5").border);
    }

    // Text the engine hands over that is not valid UTF-8, or longer than a cell
    // holds, still gives a file that opens.
    void awkwardStoredText()
    {
        db->exec("insert into 房屋信息 (档案号, 地址, 备注) values ('009000000001', cast(x'41ff42' "
                 "as text), '" +
                 QString(40000, QLatin1Char('y')) + "')");
        openData(QStringLiteral("where 档案号='009000000001' "));
        grid->setColumns({{"地址", "地址", -1, {}}, {"备注", "备注", -1, {}}});
        DialogsScope d;
        TFrmPubExport w;
        w.edtTitle->setText(QStringLiteral("备注"));
        const XlsxBook b = exportNow(w, d);
        db->exec("delete * from 房屋信息 where 档案号='009000000001'");
        QVERIFY2(b.ok, qPrintable(b.error));
        QVERIFY(b.text("A3").startsWith(QLatin1Char('A')));
        QVERIFY(b.text("A3").endsWith(QLatin1Char('B')));
        QCOMPARE(b.text("B3").size(), 32767);
        QVERIFY(qAbs(b.widths.value("B") - 10) < 1);
    }

    void eachPressWritesAnotherWorkbook()
    {
        openData();
        DialogsScope d;
        TFrmPubExport w;
        w.edtTitle->setText(QStringLiteral("房源信息查询"));
        ui::click(w.SpeedButton4);
        ui::click(w.SpeedButton4);
        QCOMPARE(d->opened.size(), 2);
        QVERIFY(d->opened[0] != d->opened[1]);
        QVERIFY(QFile::exists(d->opened[0]) && QFile::exists(d->opened[1]));
    }

    // The workbook lands in the folder Halvorra of the documents folder, named
    // after the title and the time, and nothing is left in the temporary folder.
    // When the desktop has no program for it, a message names the saved file.
    void savedInDocumentsFolder_data()
    {
        QTest::addColumn<bool>("programFound");
        QTest::newRow("opened") << true;
        QTest::newRow("no program") << false;
    }
    void savedInDocumentsFolder()
    {
        QFETCH(bool, programFound);
        openData();
        QTemporaryDir tmp;
        ScopedEnv tmpdir("TMPDIR", tmp.path());
        DialogsScope d;
        d->openSucceeds = programFound;
        TFrmPubExport w;
        w.edtTitle->setText(QStringLiteral(" 房源信息查询 "));
        const QDateTime before = QDateTime::currentDateTime().addMSecs(-1000);
        ui::click(w.SpeedButton4);
        const QDateTime after = QDateTime::currentDateTime();

        QCOMPARE(d->opened.size(), 1);
        const QFileInfo file(d->opened.first());
        const QString folder = QDir(testDocumentsFolder()).filePath(QStringLiteral("Halvorra"));
        QCOMPARE(file.absolutePath(), folder);
        QCOMPARE(TFrmPubExport::exportFolder(), folder);
        const QRegularExpressionMatch m =
            QRegularExpression(QStringLiteral("^房源信息查询_(\\d{8}_\\d{6})(_\\d+)?\\.xlsx$"))
                .match(file.fileName());
        QVERIFY2(m.hasMatch(), qPrintable(file.fileName()));
        const QDateTime stamp =
            QDateTime::fromString(m.captured(1), QStringLiteral("yyyyMMdd_HHmmss"));
        QVERIFY2(stamp >= before && stamp <= after, qPrintable(m.captured(1)));
        QVERIFY(readXlsx(file.filePath()).ok);
        QCOMPARE(w.writtenFiles(), QStringList{file.filePath()});
        QCOMPARE(QDir(tmp.path()).entryList(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden),
                 QStringList());
        if (programFound)
            QVERIFY(d->shown.isEmpty());
        else
            QCOMPARE(d->messages(),
                     QStringList{QStringLiteral("工作簿已保存为：\n%1\n本机没有可以打开它的程序。")
                                     .arg(QDir::toNativeSeparators(file.filePath()))});
    }

    // A documents folder where the folder Halvorra cannot be made: the message
    // for a missing spreadsheet program, and nothing opened.
    void noSpreadsheetFile()
    {
        openData();
        QTemporaryDir tmp;
        QFile blocker(tmp.filePath(QStringLiteral("Documents")));
        QVERIFY(blocker.open(QIODevice::WriteOnly));
        blocker.close();
        writeUserDirs(tmp.path(), blocker.fileName());
        ScopedEnv config("XDG_CONFIG_HOME", tmp.path());
        DialogsScope d;
        TFrmPubExport w;
        w.edtTitle->setText(QStringLiteral("房源信息查询"));
        ui::click(w.SpeedButton4);
        QCOMPARE(d->messages(), QStringList{"请确认是否安装Excel?"});
        QVERIFY(d->opened.isEmpty());
        QVERIFY(w.StatusPanel0->text().isEmpty());
        QVERIFY(!QApplication::overrideCursor());
    }
};

HALVORRA_TEST_MAIN(TestPubExport)
#include "tst_pubexport.moc"
