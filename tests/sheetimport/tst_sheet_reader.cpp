// Reading spreadsheets: each format as programs write it (shared and inline strings,
// numbers stored as text, serial dates, merged headers, blank rows, hidden sheets,
// formulas with stored results), text tables in their encodings and delimiters, and
// the inputs that must be refused with a reason instead of freezing or filling memory.
#include "data/DbError.h"
#include "sheetimport/core/SheetReader.h"
#include "tests/sheetimport/ReaderScripts.h"
#include "tests/sheetimport/SheetFiles.h"
#include "tests/support/TestSupport.h"

#include <QElapsedTimer>
#include <QTemporaryDir>
#include <QTest>

using namespace SheetReader;

namespace
{

QString refusal(const QString& path, const Options& o = {})
{
    try {
        read(path, o);
    } catch (const DbError& e) {
        return e.text();
    }
    return {};
}

QString joined(const Table& t)
{
    QStringList lines;
    for (int i = 0; i < t.rows.size(); ++i)
        lines << QString::number(t.rowNumbers[i]) + QLatin1Char(':') + t.rows[i].join(u'|');
    return lines.join(u'\n');
}

} // namespace

class TestSheetReader : public QObject
{
    Q_OBJECT
    QTemporaryDir m_dir;
    QString path(const QString& name) const { return m_dir.filePath(name); }

private slots:
    void workbooks_data()
    {
        QTest::addColumn<QString>("script");
        QTest::addColumn<QString>("module");
        QTest::addColumn<QString>("file");
        QTest::addColumn<QString>("sheet");
        QTest::addColumn<QString>("sheets");
        QTest::addColumn<QString>("rows");
        QTest::newRow("openpyxl") << kOpenpyxl << "openpyxl"
                                  << "a.xlsx"
                                  << "房源"
                                  << "房源|其他"
                                  << "1:房源清单|房源清单|房源清单|房源清单\n"
                                     "2:小区|面积|价格|登记日期\n"
                                     "3:  阳光花园 |85.5|1200|2026-12-01\n"
                                     "5:翠湖苑|120|1200000|2025-01-31";
        // Counted from 1904-01-01 (day 0), day 44895 is 2026-12-01.
        QTest::newRow("hand xlsx") << kHandXlsx << "zipfile"
                                   << "b.xlsx"
                                   << "数据"
                                   << "数据"
                                   << "3:|小区名称|面积\n4:|东湖苑|80|2026-12-01|TRUE";
        QTest::newRow("ods") << kOds << "zipfile"
                             << "c.ods"
                             << "客户"
                             << "客户"
                             << "1:联系  方式|联系  方式\n5:1200|2026-12-01|第一行\n第二行";
        QTest::newRow("xls") << kXls << "xlwt"
                             << "d.xls"
                             << "房源"
                             << "房源"
                             << "2:小区名称|面积|日期\n3:阳光花园|85.5|2026-12-01\n4:|1200";
    }
    void workbooks()
    {
        QFETCH(QString, script);
        QFETCH(QString, module);
        QFETCH(QString, file);
        QFETCH(QString, sheet);
        QFETCH(QString, sheets);
        QFETCH(QString, rows);
        MAKE_WITH_PYTHON("zipfile", QString(), QStringLiteral("-"));
        if (!sheetfiles::hasModule(module))
            QSKIP(qPrintable(QStringLiteral("python3 module %1 is not installed").arg(module)));
        const QString why = sheetfiles::runPython(script, path(file));
        QVERIFY2(why.isEmpty(), qPrintable(why));
        QElapsedTimer timer;
        timer.start();
        const Table t = read(path(file));
        QVERIFY(timer.elapsed() < 5000); // the ods repeats a million blank rows
        QCOMPARE(t.sheet, sheet);
        QCOMPARE(t.sheets.join(u'|'), sheets);
        QCOMPARE(joined(t), rows);
    }

    void chosenSheet()
    {
        MAKE_WITH_PYTHON("openpyxl", kOpenpyxl, path(QStringLiteral("s.xlsx")));
        Options o;
        o.sheet = QStringLiteral("说明"); // hidden sheets can still be named
        QCOMPARE(joined(read(path(QStringLiteral("s.xlsx")), o)), QStringLiteral("1:内部"));
        o.sheet = QStringLiteral("没有");
        QVERIFY(
            refusal(path(QStringLiteral("s.xlsx")), o).contains(QStringLiteral("没有名为“没有”")));
    }

    void textTables_data()
    {
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<QString>("rows");
        const QByteArray gbk = QByteArray::fromHex("d0a1c7f8c3fbb3c62cc3e6bbfd0a"
                                                   "d1f4b9e2bba8d4b02c3835");
        QTest::newRow("utf-8 bom, comma")
            << QByteArray("\xEF\xBB\xBF小区,面积\r\n阳光,85\r\n") << "1:小区|面积\n2:阳光|85";
        QTest::newRow("utf-8, semicolon, blank line")
            << QByteArray("小区;面积\n\n阳光;\"1,200\"\n") << "1:小区|面积\n3:阳光|1,200";
        QTest::newRow("tab, quotes over lines")
            << QByteArray("小区\t备注\n阳光\t\"两行\n\"\"好\"\"\"\n")
            << "1:小区|备注\n2:阳光|两行\n\"好\"";
        QTest::newRow("gbk") << gbk << "1:小区名称|面积\n2:阳光花园|85";
        QTest::newRow("utf-16 bom")
            << (QByteArray("\xFF\xFE") +
                QByteArray(reinterpret_cast<const char*>(u"小区,面积\n阳光,85"), 2 * 11))
            << "1:小区|面积\n2:阳光|85";
    }
    void textTables()
    {
        QFETCH(QByteArray, bytes);
        QFETCH(QString, rows);
        sheetfiles::writeBytes(path(QStringLiteral("t.csv")), bytes);
        QCOMPARE(joined(read(path(QStringLiteral("t.csv")))), rows);
    }

    void refused_data()
    {
        QTest::addColumn<QString>("file");
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<QString>("says");
        QTest::newRow("picture named .xlsx")
            << "p.xlsx" << QByteArray("\x89PNG\r\n\x1a\n....") << "不是可以导入的表格文件";
        QTest::newRow("zip that is no workbook") << "z.xlsx" << QByteArray() << "不是 Excel 工作簿";
        QTest::newRow("broken xls")
            << "x.xls" << QByteArray::fromHex("D0CF11E0A1B11AE1") + QByteArray(600, 'x')
            << "不是 Excel 97-2003 工作簿";
        QByteArray encrypted = QByteArray::fromHex("D0CF11E0A1B11AE1") + QByteArray(1000, '\0');
        const QString name = QStringLiteral("EncryptedPackage");
        encrypted += QByteArray(reinterpret_cast<const char*>(name.utf16()), name.size() * 2);
        QTest::newRow("password") << "e.xlsx" << encrypted << "设有打开密码";
        QTest::newRow("unbalanced quote")
            << "q.csv" << QByteArray("a,b\n\"c,d\n1,2\n") << "第 2 行有一个没有配对的引号";
        QTest::newRow("latin-1") << "l.csv" << QByteArray("caf\xe9,\xe9t\xe9\n")
                                 << "无法识别文件的文字编码";
        QTest::newRow("binary csv") << "b.csv" << QByteArray("a\0b", 3) << "二进制数据";
        QTest::newRow("empty") << "n.csv" << QByteArray() << "文件是空的";
        QTest::newRow("blank") << "w.csv" << QByteArray(" , \n") << "没有数据";
        QByteArray rows;
        rows.reserve(1048576 * 4);
        for (int i = 0; i < 1048576; ++i)
            rows += "a,1\n";
        QTest::newRow("1,048,576 rows") << "r.csv" << rows << "超过 200000 行";
        QByteArray cols;
        for (int i = 0; i < 16384; ++i)
            cols += "x,";
        QTest::newRow("16,384 columns") << "c.csv" << cols << "超过了最多 512 列";
        QTest::newRow("1 MB cell") << "m.csv"
                                   << "a," + QByteArray(1 << 20, 'y') << "超过 32767 个字符";
    }
    void refused()
    {
        QFETCH(QString, file);
        QFETCH(QByteArray, bytes);
        QFETCH(QString, says);
        if (QTest::currentDataTag() == QLatin1String("zip that is no workbook")) {
            MAKE_WITH_PYTHON("zipfile",
                             "import sys, zipfile\nwith zipfile.ZipFile(sys.argv[1], 'w') as z: "
                             "z.writestr('readme.txt', 'hello')",
                             path(file));
        } else {
            sheetfiles::writeBytes(path(file), bytes);
        }
        QElapsedTimer timer;
        timer.start();
        const QString why = refusal(path(file));
        QVERIFY2(why.contains(says), qPrintable(why));
        QVERIFY(timer.elapsed() < 10000);
    }

    // The bound counts what is actually unpacked: 64 MB of blanks in a file of a
    // few kilobytes is refused at the bound, long before it is all unpacked.
    void zipBomb()
    {
        MAKE_WITH_PYTHON("zipfile", kBomb, path(QStringLiteral("bomb.xlsx")));
        QVERIFY(QFileInfo(path(QStringLiteral("bomb.xlsx"))).size() < 200 * 1024);
        Options o;
        o.limits.unpackedBytes = 16 << 20;
        qint64 seen = 0;
        o.progress = [&](qint64 done, qint64) {
            seen = std::max(seen, done);
            return true;
        };
        const QString why = refusal(path(QStringLiteral("bomb.xlsx")), o);
        QVERIFY2(why.contains(QStringLiteral("解压后超过 16 MB")), qPrintable(why));
        QVERIFY(seen <= (16 << 20) + (256 << 10));
    }

    void cancel()
    {
        QByteArray rows;
        for (int i = 0; i < 50000; ++i)
            rows += "a,1\n";
        sheetfiles::writeBytes(path(QStringLiteral("big.csv")), rows);
        Options o;
        o.progress = [](qint64, qint64) { return false; };
        QVERIFY_THROWS_EXCEPTION(Cancelled, read(path(QStringLiteral("big.csv")), o));
    }
};

HALVORRA_TEST_MAIN(TestSheetReader)
#include "tst_sheet_reader.moc"
