// 导出 and 导入 of both query windows: what is exported and when, the counts the
// operator is told, rows imported once, stored rows never updated, and files or
// exchange databases that fail.
#include "exchange/ExchangeRun.h"
#include "tests/exchange/ExchangeFiles.h"
#include "tests/registers/RegisterTests.h"

class TestRegisterExchange : public QObject, private QueryTest
{
    Q_OBJECT

    // The register's query window over every date.
    void openAll(const QString& name, const QString& from = QStringLiteral("000101"))
    {
        open(name);
        w->edtRQ1->setText(from);
        w->edtRQ2->setText(QStringLiteral("991231"));
        ui::click(w->BitBtn5);
    }
    void add(const QString& dah) { r->add(*db, dah, QStringLiteral("261203"), "有效"); }
    QStringList exported() const { return exchangeKeys(db->exchangePath(), r->exchangeTable); }

private slots:
    void init() { start(Roles::Ordinary); }
    void cleanup() { stop(); }

    void exportEmptyResultDoesNothing_data() { perRegister(); }
    void exportEmptyResultDoesNothing()
    {
        QFETCH(QString, reg);
        r = &registerNamed(reg);
        plant(db->exchangePath(), {r->exchangeRow("X01261201001", "上次")});
        openAll(reg, "990101");
        QCOMPARE(w->rows().recordCount(), 0);
        ui::click(w->BitBtn3);
        Query closed(&dmbasic->adoCntnfybase);
        ExchangeRun::exportResult(w.get(), closed, w->config().exchange.layout,
                                  dmbasic->*w->config().exchange.query);
        QVERIFY(d->shown.isEmpty());
        QCOMPARE(exported(), QStringList{"X01261201001"});
    }

    void exportAnswerNoKeepsPrevious_data() { perRegister(); }
    void exportAnswerNoKeepsPrevious()
    {
        QFETCH(QString, reg);
        r = &registerNamed(reg);
        plant(db->exchangePath(), {r->exchangeRow("X01261201001", "上次")});
        add("001261203001");
        openAll(reg);
        d->answers = {false};
        ui::click(w->BitBtn3);
        QCOMPARE(d->questions(), QStringList{"是否导出当前的记录？"});
        QVERIFY(d->messages().isEmpty());
        QCOMPARE(exported(), QStringList{"X01261201001"});
    }

    // The exchange table holds exactly the result afterwards; the other register's
    // exchange table keeps its last export.
    void exportReplacesPreviousWithTheResult_data() { perRegister(); }
    void exportReplacesPreviousWithTheResult()
    {
        QFETCH(QString, reg);
        r = &registerNamed(reg);
        const Register& other = registerNamed(reg == "房源" ? "客户" : "房源");
        plant(db->exchangePath(),
              {r->exchangeRow("X01261201001", "上次"), r->exchangeRow("X01261201002", "上次"),
               other.exchangeRow("Y01261201001", "另一本")});
        for (const char* dah : {"001261203001", "001261203002", "001261203003"})
            add(dah);
        openAll(reg);
        w->rows().first();
        ui::click(w->BitBtn3);
        QCOMPARE(d->messages(), QStringList{"有3条信息成功导出。"});
        QCOMPARE(exported(), QStringList({"001261203001", "001261203002", "001261203003"}));
        QCOMPARE(w->rows().recNo(), 2); // the export walked the window's own rows
        QCOMPARE(exchangeKeys(db->exchangePath(), other.exchangeTable),
                 QStringList{"Y01261201001"});
    }

    void importTwiceAddsOnce_data() { perRegister(); }
    void importTwiceAddsOnce()
    {
        QFETCH(QString, reg);
        r = &registerNamed(reg);
        TestDb office;
        plant(office.exchangePath(),
              {r->exchangeRow("B02261101001", "外来"), r->exchangeRow("B02261101002", "外来")});
        add("001261203001");
        openAll(reg);
        d->files = {office.exchangePath()};
        ui::click(w->BitBtn6);
        QVERIFY(d->questions().isEmpty());
        QCOMPARE(d->messages(), QStringList{"有2条信息成功导入。"});
        QCOMPARE(d->fileDialogs.last().filter, dmbasic->OpenDBPath.filter);
        QCOMPARE(w->rows().recordCount(), 1); // shown at the next search
        QCOMPARE(count(r->table), 3);
        // Imported rows keep the other office's company code, date and sequence.
        const auto got = db->rows(QString("select 公司编号, 录入日期, 序号 from %1 where "
                                          "档案号='B02261101002'")
                                      .arg(r->table));
        QCOMPARE(got.value(0), QVariantList({"B02", "261101", "002"}));
        d->clear();
        d->files = {office.exchangePath()};
        ui::click(w->BitBtn6);
        QCOMPARE(d->messages(), QStringList{"有0条信息成功导入。"});
        QCOMPARE(count(r->table), 3);
        ui::click(w->BitBtn5);
        QCOMPARE(w->rows().recordCount(), 3);
    }

    // A row whose archive number is stored already is skipped even when it differs;
    // a number twice in one file is imported once.
    void storedRowNotUpdatedAndDuplicatesOnce_data() { perRegister(); }
    void storedRowNotUpdatedAndDuplicatesOnce()
    {
        QFETCH(QString, reg);
        r = &registerNamed(reg);
        TestDb office;
        add("001261203001");
        plant(office.exchangePath(),
              {r->exchangeRow("001261203001", "别处改过"), r->exchangeRow("C03261101001", "第一行"),
               r->exchangeRow("C03261101001", "第二行")});
        openAll(reg);
        d->files = {office.exchangePath()};
        ui::click(w->BitBtn6);
        QCOMPARE(d->messages(), QStringList{"有1条信息成功导入。"});
        QCOMPARE(stored(r->table, "001261203001", r->textColumn).toString(), r->storedText);
        QCOMPARE(stored(r->table, "C03261101001", r->textColumn).toString(), QString("第一行"));
    }

    void cancelledFileDialogDoesNothing_data() { perRegister(); }
    void cancelledFileDialogDoesNothing()
    {
        QFETCH(QString, reg);
        openAll(reg);
        d->files = {""};
        ui::click(w->BitBtn6);
        QCOMPARE(d->fileDialogs.size(), 1);
        QVERIFY(d->shown.isEmpty());
        QCOMPARE(count(r->table), 0);
    }

    void badFileAddsNothing_data()
    {
        QTest::addColumn<QString>("reg");
        QTest::addColumn<QString>("kind");
        for (const QString& name : registerNames()) {
            QTest::newRow(qPrintable(name + " main database: not the exchange password"))
                << name << "password";
            QTest::newRow(qPrintable(name + " exchange table missing")) << name << "notable";
            QTest::newRow(qPrintable(name + " over-long text late in the file"))
                << name << "longlate";
        }
    }
    void badFileAddsNothing()
    {
        QFETCH(QString, reg);
        QFETCH(QString, kind);
        r = &registerNamed(reg);
        TestDb office;
        QString path = office.exchangePath();
        plant(path, {r->exchangeRow("C03261101001", "好"), r->exchangeRow("C03261101002", "好")});
        if (kind == "password")
            path = office.mainPath();
        else if (kind == "notable")
            plant(path, {"drop table " + r->exchangeTable});
        else
            plant(path, {r->exchangeRow("C03261101003", QString(61, QChar(u'长')))});
        openAll(reg);
        d->files = {path};
        ui::click(w->BitBtn6);
        QCOMPARE(d->messages(), QStringList{"导入操作失败！"});
        QCOMPARE(count(r->table), 0);
    }

    void exportFailureReported_data() { perRegister(); }
    void exportFailureReported()
    {
        QFETCH(QString, reg);
        r = &registerNamed(reg);
        add("001261203001");
        openAll(reg);
        dmbasic->adoCntnfyExp.run("drop table " + r->exchangeTable);
        ui::click(w->BitBtn3);
        // The cause follows on a second line, in the operator's words.
        QCOMPARE(d->messages(), QStringList{"导出操作失败！\n交换数据库文件缺少数据表“" +
                                            r->exchangeTable + "”。"});
    }
};

HALVORRA_TEST_MAIN(TestRegisterExchange)
#include "tst_register_exchange.moc"
