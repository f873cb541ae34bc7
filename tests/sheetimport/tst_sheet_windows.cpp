// The windows: 从表格导入, 查重 and 导出全部 on both query windows' tool bars after
// their own buttons, the import window (mapping changed and remembered, rows
// checked and imported), and the entry windows' question about likely duplicates.
#include "sheetimport/ImportWindow.h"
#include "sheetimport/SheetWindows.h"
#include "sheetimport/core/SheetReader.h"
#include "tests/registers/RegisterTests.h"
#include "tests/sheetimport/SheetFiles.h"

#include <QComboBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QSettings>
#include <QTableWidget>

class TestSheetWindows : public QObject
{
    Q_OBJECT
    QueryTest t;

    QPushButton* button(const QString& name) { return ui::find<QPushButton>(t.w.get(), name); }

private slots:
    void initTestCase() { SheetWindows::install(); }
    void cleanupTestCase() { SheetWindows::install(); }
    void cleanup() { t.stop(); }

    void toolBar_data() { perRegister(); }
    void toolBar()
    {
        QFETCH(QString, reg);
        t.start(Roles::Senior);
        t.open(reg);
        QWidget* bar = t.w->btnPP->parentWidget();
        auto* layout = qobject_cast<QHBoxLayout*>(bar->layout());
        QVERIFY(layout);
        const int pp = layout->indexOf(t.w->btnPP);
        int at = pp;
        for (const char* name : {"btnDRBG", "btnCC", "btnDCQB"}) {
            QPushButton* b = button(QString::fromLatin1(name));
            QVERIFY(b);
            QVERIFY(layout->indexOf(b) > at);
            at = layout->indexOf(b);
        }
    }

    void importWindow()
    {
        t.start(Roles::Senior);
        t.open(QStringLiteral("房源"));
        QTemporaryDir dir;
        const QString file = dir.filePath(QStringLiteral("房源.csv"));
        sheetfiles::writeBytes(
            file, QStringLiteral(
                      "小区,地址,面积,楼层,户型,售价,位置,方式,权属,业主,电话,底价,备注\n"
                      "阳光花园,人民路1号,85㎡,中层,两室一厅,120万,城东,卖,商品房,王,88881234,"
                      "110万,南北通透\n"
                      "翠湖苑,湖滨路2号,90,中层,两室一厅,100万,城东,售,商品房,李,88881235,90万,\n"
                      "新村,,60,中层,两室一厅,50万,城东,售,商品房,赵,88881236,40万,\n")
                      .toUtf8());
        QSettings(QSettings::IniFormat, QSettings::UserScope, QStringLiteral("halvorra"),
                  QStringLiteral("sheetimport"))
            .clear();
        auto run = [&](bool changeMapping) {
            t.d->files.push_back(file);
            t.d->execs.push_back([&, changeMapping](QDialog* dlg) {
                auto* w = qobject_cast<SheetImportWindow*>(dlg);
                if (!w) return int(QDialog::Rejected);
                auto* remarks = w->findChild<QComboBox*>(QStringLiteral("cbMap12"));
                if (!remarks) return int(QDialog::Rejected);
                if (changeMapping) {
                    // The preview shows rows as stored: 120万 in 元, 卖 as 出售.
                    if (w->tblPreview->rowCount() != 3) return int(QDialog::Rejected);
                    bool seen = false;
                    for (int c = 0; c < w->tblPreview->columnCount(); ++c)
                        if (w->tblPreview->item(0, c) &&
                            w->tblPreview->item(0, c)->text() == QStringLiteral("1200000.00"))
                            seen = true;
                    if (!seen) return int(QDialog::Rejected);
                    remarks->setCurrentText(SheetImport::skipWord());
                } else if (remarks->currentText() != SheetImport::skipWord()) {
                    return int(QDialog::Rejected); // the mapping was not remembered
                }
                w->btnCheck->click();
                // The refused row goes out as a workbook to mend, with its reason.
                if (changeMapping) w->btnExportRefused->click();
                if (!w->lblResult->text().contains(
                        QStringLiteral("可导入 %1 行").arg(changeMapping ? 2 : 0)))
                    return int(QDialog::Rejected);
                w->btnImport->click();
                return w->result();
            });
            SheetWindows::importFromSheet(*t.w);
            QVERIFY(t.d->execs.empty());
        };
        t.d->answers = {true, true}; // prices in 元; import the good rows
        run(true);
        QCOMPARE(t.d->opened.size(), 1);
        const SheetReader::Table refused = SheetReader::read(t.d->opened.first());
        QCOMPARE(refused.rows.size(), 2);
        QCOMPARE(refused.rows[0].last(), QStringLiteral("导入问题"));
        QCOMPARE(refused.rows[1].first(), QStringLiteral("新村"));
        QCOMPARE(refused.rows[1].last(), QStringLiteral("拒绝：“地址”请录入地址"));
        QVERIFY2(
            t.d->messages().contains(QStringLiteral("已导入 2 条记录，查询结果按当前条件刷新。")),
            qPrintable(t.d->messages().join(u'\n')));
        QCOMPARE(t.count(QStringLiteral("房屋信息")), 2);
        QCOMPARE(t.w->rows().recordCount(), 2); // this month's search, read again
        QCOMPARE(
            t.db->scalar(QStringLiteral("select count(*) from 房屋信息 where 备注 is not null"))
                .toInt(),
            0);
        QCOMPARE(t.db->scalar(QStringLiteral("select max(信息价格) from 房屋信息")).toDouble(),
                 1200000.0);
        // The same file again: its rows are likely duplicates now, nothing is imported;
        // the mapping chosen before is offered again.
        t.d->clear();
        t.d->answers = {};
        run(false);
        QVERIFY(t.d->messages().contains(QStringLiteral("没有可以导入的行。")));
        QCOMPARE(t.count(QStringLiteral("房屋信息")), 2);
    }

    void refusedFile()
    {
        t.start(Roles::Senior);
        t.open(QStringLiteral("客户"));
        QTemporaryDir dir;
        const QString file = dir.filePath(QStringLiteral("坏.csv"));
        sheetfiles::writeBytes(file, "a,\"b\nc,d\n");
        t.d->files.push_back(file);
        SheetWindows::importFromSheet(*t.w);
        QVERIFY2(t.d->last().contains(QStringLiteral("没有配对的引号")), qPrintable(t.d->last()));
        QCOMPARE(t.d->execs.size(), size_t(0));
    }

    // 查重 lists the groups of the result; 导出全部 writes what the role may see.
    void duplicatesAndExport_data()
    {
        QTest::addColumn<QString>("role");
        QTest::addColumn<bool>("personal");
        QTest::newRow("senior") << Roles::Senior << true;
        QTest::newRow("ordinary") << Roles::Ordinary << false;
    }
    void duplicatesAndExport()
    {
        QFETCH(QString, role);
        QFETCH(bool, personal);
        t.start(role);
        addListing(*t.db, {"001261203001", "阳光花园", "人民路1号3栋", 85});
        addListing(*t.db, {"001261203002", "阳光花园", "人民路1号3幢", 85.5});
        addListing(*t.db, {"001261203003", "翠湖苑", "湖滨路2号", 90});
        // The helper gives every listing one owner telephone: make the third its own.
        t.db->exec(
            QStringLiteral("update 房屋信息 set 电话 = '88887777' where 档案号 = '001261203003'"));
        t.open(QStringLiteral("房源"));
        t.w->BitBtn5Click();
        QCOMPARE(t.shown().size(), 3);
        int groupRows = -1;
        QString phone, opened;
        t.d->execs.push_back([&](QDialog* dlg) {
            if (auto* table = dlg->findChild<QTableWidget*>(QStringLiteral("tblGroups"))) {
                groupRows = table->rowCount();
                phone = table->item(0, 5) ? table->item(0, 5)->text() : QString();
                // A double click on the group's second row opens that listing's card.
                emit table->cellDoubleClicked(1, 2);
            }
            return int(QDialog::Accepted);
        });
        t.d->execs.push_back([&](QDialog* dlg) {
            if (auto* card = qobject_cast<RecordCard*>(dlg))
                opened = card->records().rows().text(QStringLiteral("档案号"));
            return int(QDialog::Rejected);
        });
        ui::click(button(QStringLiteral("btnCC")));
        QCOMPARE(groupRows, 2);
        QCOMPARE(phone == QStringLiteral("******"), !personal);
        QCOMPARE(opened, QStringLiteral("001261203002"));
        QVERIFY(t.d->execs.empty());

        ui::click(button(QStringLiteral("btnDCQB")));
        QCOMPARE(t.d->opened.size(), 1);
        const SheetReader::Table back = SheetReader::read(t.d->opened.first());
        QCOMPARE(back.rows.size(), 4);
        QCOMPARE(back.rows[0].contains(QStringLiteral("房主姓名")), personal);
        QVERIFY(back.rows[0].contains(QStringLiteral("看房情况")));
    }

    void saveQuestion_data() { perRegister(); }
    void saveQuestion()
    {
        QFETCH(QString, reg);
        EntryTest e;
        e.start();
        const QString table = registerNamed(reg).table;
        e.db->exec(
            QStringLiteral("insert into %1 (档案号, 手机) values ('002261201001', '010-1234567')")
                .arg(table));
        e.open(reg);
        putAll(e.w.get(), e.r->validEntry);
        e.d->answers = {false};
        ui::click(e.c(e.r->saveButton));
        QVERIFY2(e.d->questions().value(0).contains(QStringLiteral("002261201001")),
                 qPrintable(e.d->questions().join(u'\n')));
        QCOMPARE(e.count(table), 1);
        e.d->answers = {true};
        e.save(false); // Yes to the duplicate, No to another
        QCOMPARE(e.count(table), 2);
        e.stop();
    }
};

HALVORRA_TEST_MAIN(TestSheetWindows)
#include "tst_sheet_windows.moc"
