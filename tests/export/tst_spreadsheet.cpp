// The spreadsheet component: column letters and addresses, text a cell can hold,
// and files that an independent reader opens with the layout that was asked for.
#include "export/core/Spreadsheet.h"
#include "tests/support/TestSupport.h"
#include "tests/support/XlsxRead.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>

class TestSpreadsheet : public QObject
{
    Q_OBJECT
    QTemporaryDir out;

    static QString writeOne(SpreadsheetApp& app)
    {
        app.setVisible(true);
        return app.files().value(0);
    }

private slots:
    void columnLetters_data()
    {
        QTest::addColumn<int>("col");
        QTest::addColumn<QString>("letters");
        QTest::newRow("first") << 1 << "A";
        QTest::newRow("last single") << 26 << "Z";
        QTest::newRow("first double") << 27 << "AA";
        QTest::newRow("AB") << 28 << "AB";
        QTest::newRow("AZ") << 52 << "AZ";
        QTest::newRow("BA") << 53 << "BA";
        QTest::newRow("ZZ") << 702 << "ZZ";
        QTest::newRow("AAA") << 703 << "AAA";
        QTest::newRow("sheet end") << 16384 << "XFD";
    }
    void columnLetters()
    {
        QFETCH(int, col);
        QFETCH(QString, letters);
        QCOMPARE(Spreadsheet::columnLetters(col), letters);
        QCOMPARE(Spreadsheet::columnNumber(letters), col);
        QCOMPARE(Spreadsheet::columnNumber(letters.toLower()), col);
    }

    void badAddressesRefused_data()
    {
        QTest::addColumn<QString>("address");
        QTest::newRow("empty") << "";
        QTest::newRow("row 0") << "A0:B2";
        QTest::newRow("no row") << "A:B";
        QTest::newRow("past last column") << "A1:XFE1";
        QTest::newRow("past last row") << "A1:A1048577";
        QTest::newRow("garbage") << "1A";
    }
    void badAddressesRefused()
    {
        QFETCH(QString, address);
        Worksheet s(QStringLiteral("Sheet1"));
        QVERIFY_THROWS_EXCEPTION(DbError, s.range(address));
    }

    void sheetNames_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<bool>("ok");
        QTest::newRow("chinese") << "数据库信息" << true;
        QTest::newRow("empty") << "" << false;
        QTest::newRow("slash") << "a/b" << false;
        QTest::newRow("32 chars") << QString(32, QLatin1Char('x')) << false;
        QTest::newRow("31 chars") << QString(31, QLatin1Char('x')) << true;
    }
    void sheetNames()
    {
        QFETCH(QString, name);
        QFETCH(bool, ok);
        Worksheet s(QStringLiteral("Sheet1"));
        if (ok) {
            s.setName(name);
            QCOMPARE(s.name(), name);
        } else {
            QVERIFY_THROWS_EXCEPTION(DbError, s.setName(name));
        }
    }

    void cellText_data()
    {
        QTest::addColumn<QString>("in");
        QTest::addColumn<QString>("out");
        QTest::newRow("plain") << "花园 12"
                               << "花园 12";
        QTest::newRow("lone high surrogate")
            << QString(QChar(0xD800)) + "x" << QString(QChar(0xFFFD)) + "x";
        QTest::newRow("lone low surrogate")
            << "x" + QString(QChar(0xDC00)) << "x" + QString(QChar(0xFFFD));
        QTest::newRow("control character")
            << QString("a") + QChar(1) + "b" << QString("a") + QChar(0xFFFD) + "b";
        QTest::newRow("tab and newline kept") << "a\tb\nc"
                                              << "a\tb\nc";
        QTest::newRow("astral pair kept") << QString::fromUcs4(U"𠀋") << QString::fromUcs4(U"𠀋");
    }
    void cellText()
    {
        QFETCH(QString, in);
        QFETCH(QString, out);
        QCOMPARE(QString::fromUtf8(Spreadsheet::cellText(in)), out);
    }

    void cellTextCutAtCellLimit()
    {
        const QString longText = QString(40000, QChar(0x4E2D));
        QCOMPARE(QString::fromUtf8(Spreadsheet::cellText(longText)).size(), Xl::MaxCellChars);
        // Characters outside the BMP count once, though they take two UTF-16 units.
        QString astral;
        for (int i = 0; i < 33000; ++i)
            astral += QString::fromUcs4(U"𠀋");
        QCOMPARE(QString::fromUtf8(Spreadsheet::cellText(astral)).toUcs4().size(),
                 Xl::MaxCellChars);
    }

    // Awkward texts still give a file a reader opens, with the text as far as a cell holds it.
    void awkwardTextGivesReadableFile()
    {
        SpreadsheetApp app(out.path());
        Worksheet& s = app.addWorkbook().worksheets(1);
        s.cells(1, 1).setValue(QString(40000, QLatin1Char('x')));
        s.cells(2, 1).setValue(QString("a") + QChar(0xD800) + QChar(2) + "b");
        s.cells(3, 1).setValue(QStringLiteral("'007"));
        s.cells(4, 1).setValue(QStringLiteral("<&>\""));
        const QString file = writeOne(app);
        const XlsxBook b = readXlsx(file);
        QVERIFY2(b.ok, qPrintable(b.error));
        QCOMPARE(b.text("A1").size(), Xl::MaxCellChars);
        QCOMPARE(b.text("A2"), QString("a") + QChar(0xFFFD) + QChar(0xFFFD) + "b");
        QCOMPARE(b.text("A3"), QStringLiteral("007"));
        QCOMPARE(b.cell("A3").numberFormat, QStringLiteral("@"));
        QCOMPARE(b.text("A4"), QStringLiteral("<&>\""));
    }

    void rangeFormatsAndColumns()
    {
        SpreadsheetApp app(out.path());
        QStringList opened;
        app.opener = [&](const QString& p) { opened << p; };
        Worksheet& s = app.addWorkbook().worksheets(1);
        s.setName(QStringLiteral("数据库信息"));
        s.cells(2, 28).setValue(QStringLiteral("二十八"));
        s.cells(2, 28).setBold(true);
        s.columns(28).setColumnWidth(12);
        s.columns(28).setHorizontalAlignment(Xl::Center);
        s.range(QStringLiteral("A2:AB3")).setBordersLineStyle(Xl::Continuous);
        SheetRange head = s.range(QStringLiteral("a1:AB1"));
        head.setHorizontalAlignment(Xl::Center);
        head.setVerticalAlignment(Xl::Center);
        head.setMergeCells(true);
        SheetRange t = s.range(QStringLiteral("a1:a1"));
        t.setValue(QStringLiteral(" 标题 "));
        t.setFontName(QStringLiteral("楷体"));
        t.setFontSize(QStringLiteral("18"));
        t.setFontStyle(QStringLiteral("bold"));
        const QString file = writeOne(app);
        QCOMPARE(opened, QStringList{file});
        QVERIFY(file.startsWith(app.folder()));

        const XlsxBook b = readXlsx(file);
        QVERIFY2(b.ok, qPrintable(b.error));
        QCOMPARE(b.sheets, QStringList{QStringLiteral("数据库信息")});
        QCOMPARE(b.merged, QStringList{QStringLiteral("A1:AB1")});
        QCOMPARE(b.text("A1"), QStringLiteral(" 标题 "));
        QCOMPARE(b.cell("A1").font, QStringLiteral("楷体"));
        QCOMPARE(b.cell("A1").size, 18.0);
        QVERIFY(b.cell("A1").bold);
        QCOMPARE(b.cell("A1").hAlign, QStringLiteral("center"));
        QCOMPARE(b.cell("A1").vAlign, QStringLiteral("center"));
        QCOMPARE(b.text("AB2"), QStringLiteral("二十八"));
        QVERIFY(b.cell("AB2").bold);
        QCOMPARE(b.cell("AB2").hAlign, QStringLiteral("center"));
        QVERIFY(b.cell("AB3").border);
        QVERIFY(b.cell("A3").border);
        QVERIFY(!b.cell("A4").border);
        QVERIFY(qAbs(b.widths.value(QStringLiteral("AB")) - 12) < 1);
    }

    void operationsExcelRefuses()
    {
        Worksheet s(QStringLiteral("Sheet1"));
        QVERIFY_THROWS_EXCEPTION(DbError, s.range("A1").setFontSize(QStringLiteral("large")));
        QVERIFY_THROWS_EXCEPTION(DbError, s.range("A1").setFontStyle(QStringLiteral("wavy")));
        QVERIFY_THROWS_EXCEPTION(DbError, s.columns(1).setColumnWidth(300));
        QVERIFY_THROWS_EXCEPTION(DbError, s.cells(0, 1));
    }

    // When the file cannot be written the failure is reported, not a broken file left behind.
    void unwritableFolderReported()
    {
        QTemporaryDir d;
        const QString folder = d.filePath(QStringLiteral("sub"));
        SpreadsheetApp app(folder);
        bool opened = false;
        app.opener = [&](const QString&) { opened = true; };
        app.addWorkbook().worksheets(1).cells(1, 1).setValue(QStringLiteral("x"));
        QVERIFY(QDir(folder).removeRecursively());
        QVERIFY_THROWS_EXCEPTION(SpreadsheetUnavailable, app.setVisible(true));
        QVERIFY(!opened);
        QVERIFY(app.files().isEmpty());
        QVERIFY(!QFileInfo::exists(folder));
    }

    // The folder is made when missing; one that cannot be made (a file is in the
    // way) is reported at once.
    void folderMadeOrReported()
    {
        QTemporaryDir d;
        const QString deep = d.filePath(QStringLiteral("a/b"));
        SpreadsheetApp made(deep);
        QVERIFY(QFileInfo(deep).isDir());
        QFile f(d.filePath(QStringLiteral("file")));
        QVERIFY(f.open(QIODevice::WriteOnly));
        f.close();
        QVERIFY_THROWS_EXCEPTION(SpreadsheetUnavailable,
                                 SpreadsheetApp(d.filePath(QStringLiteral("file/sub"))));
    }

    // Names come from the base name; a taken name gets the next number and the
    // file that had it keeps its contents.
    void takenNamesAreNeverOverwritten_data()
    {
        QTest::addColumn<QString>("base");
        QTest::addColumn<QStringList>("existing");
        QTest::addColumn<QStringList>("expected");
        QTest::newRow("free") << "房源信息查询_20260105_093000" << QStringList{}
                              << QStringList{"房源信息查询_20260105_093000.xlsx",
                                             "房源信息查询_20260105_093000_2.xlsx"};
        QTest::newRow("taken") << "客户" << QStringList{"客户.xlsx", "客户_2.xlsx"}
                               << QStringList{"客户_3.xlsx", "客户_4.xlsx"};
        QTest::newRow("characters a file name cannot hold")
            << " a/b:c*? " << QStringList{} << QStringList{"a_b_c__.xlsx", "a_b_c___2.xlsx"};
        QTest::newRow("nothing left")
            << "  " << QStringList{"Book.xlsx"} << QStringList{"Book_2.xlsx", "Book_3.xlsx"};
    }
    void takenNamesAreNeverOverwritten()
    {
        QFETCH(QString, base);
        QFETCH(QStringList, existing);
        QFETCH(QStringList, expected);
        QTemporaryDir d;
        for (const QString& e : existing) {
            QFile f(d.filePath(e));
            QVERIFY(f.open(QIODevice::WriteOnly));
            f.write("keep");
        }
        SpreadsheetApp app(d.path());
        app.setFileBaseName(base);
        app.addWorkbook().worksheets(1).cells(1, 1).setValue(QStringLiteral("one"));
        app.addWorkbook().worksheets(1).cells(1, 1).setValue(QStringLiteral("two"));
        app.setVisible(true);
        QCOMPARE(app.files(), (QStringList{d.filePath(expected[0]), d.filePath(expected[1])}));
        QCOMPARE(readXlsx(app.files()[1]).text("A1"), QStringLiteral("two"));
        for (const QString& e : existing) {
            QFile f(d.filePath(e));
            QVERIFY(f.open(QIODevice::ReadOnly));
            QCOMPARE(f.readAll(), QByteArray("keep"));
        }
    }
};

HALVORRA_TEST_MAIN(TestSpreadsheet)
#include "tst_spreadsheet.moc"
