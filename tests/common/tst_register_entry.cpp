// The entry window of both registers: the divider, the 方式 rule, the question
// after a save, closing, archive numbers as the operator gets them, a refused
// number, and the keyboard (Tab order, Return, Esc).
#include "tests/common/RegisterTests.h"

#include <QFrame>

class TestRegisterEntry : public QObject
{
    Q_OBJECT
    WindowTest t;
    std::unique_ptr<EntryWindow> w;
    const Register* r = nullptr;

    EntryWindow* open(const QString& name)
    {
        r = &registerNamed(name);
        w = r->entryWindow();
        w->show();
        w->activateWindow();
        [&] { QVERIFY(QTest::qWaitForWindowActive(w.get())); }();
        return w.get();
    }
    QWidget* c(const QString& name) const { return ui::find(w.get(), name); }
    void fill() { putAll(w.get(), r->validEntry); }
    void save(bool another)
    {
        t.d->answers.push_back(another);
        ui::click(c(r->saveButton));
    }
    void storeRow(const QString& number)
    {
        t.db->exec(QString("insert into %1 (档案号,公司编号,录入日期,序号) values "
                           "('%2','%3','%4','%5')")
                       .arg(r->table, number, number.left(3), number.mid(3, 6), number.mid(9)));
    }
    static void perRegister()
    {
        QTest::addColumn<QString>("reg");
        for (const QString& name : registerNames())
            QTest::newRow(qPrintable(name)) << name;
    }

private slots:
    void init()
    {
        t.start();
        GSDM = QStringLiteral("001");
        CZRQ = QStringLiteral("261209");
    }
    void cleanup()
    {
        w.reset();
        t.stop();
    }

    // The confidential block lies below the divider, the rest above it.
    void dividerAboveTheConfidentialBlock_data()
    {
        QTest::addColumn<QString>("reg");
        QTest::addColumn<QStringList>("above");
        QTest::addColumn<QStringList>("below");
        QTest::newRow("房源") << "房源" << QStringList{"DBEdit1", "cbQS", "DBEdit13", "DBMemo1"}
                              << QStringList{"DBEdit5", "DBEdit6",  "DBEdit7",
                                             "DBEdit8", "DBEdit14", "DBMemo2"};
        QTest::newRow("客户") << "客户"
                              << QStringList{"DBEdit2", "cbQS", "DBEdit8", "cbWZ", "DBMemo1"}
                              << QStringList{"DBEdit9", "DBEdit10", "DBEdit11"};
    }
    void dividerAboveTheConfidentialBlock()
    {
        QFETCH(QString, reg);
        QFETCH(QStringList, above);
        QFETCH(QStringList, below);
        open(reg);
        auto* line = w->findChild<QFrame*>("Bevel1");
        QVERIFY(line && line->frameShape() == QFrame::HLine);
        for (const QString& name : above)
            QVERIFY2(c(name)->geometry().bottom() < line->geometry().top(), qPrintable(name));
        for (const QString& name : below)
            QVERIFY2(c(name)->geometry().top() > line->geometry().bottom(), qPrintable(name));
    }

    void modeRule_data()
    {
        QTest::addColumn<QString>("reg");
        QTest::addColumn<QString>("clearing");
        QTest::addColumn<QString>("selecting");
        QTest::newRow("房源") << "房源"
                              << "出租"
                              << "出售";
        QTest::newRow("客户") << "客户"
                              << "求租"
                              << "求购";
    }
    void modeRule()
    {
        QFETCH(QString, reg);
        QFETCH(QString, clearing);
        QFETCH(QString, selecting);
        open(reg);
        auto* qs = ui::find<QComboBox>(w.get(), "cbQS");
        put(qs, "私房");
        put(c("cbFS"), clearing);
        QVERIFY(!qs->isEnabled());
        QCOMPARE(qs->currentIndex(), -1);
        put(c("cbFS"), selecting);
        QVERIFY(qs->isEnabled());
        QCOMPARE(qs->currentText(), QString("商品房"));
    }

    // Yes starts the next row at the first control and continues the day's count;
    // No closes the window.
    void questionAfterSave_data()
    {
        QTest::addColumn<QString>("reg");
        QTest::addColumn<QString>("question");
        QTest::newRow("房源") << "房源"
                              << "是否增加新的记录？";
        QTest::newRow("客户") << "客户"
                              << "是否增加新的记录?";
    }
    void questionAfterSave()
    {
        QFETCH(QString, reg);
        QFETCH(QString, question);
        open(reg);
        fill();
        save(true);
        QCOMPARE(t.d->questions(), QStringList{question});
        QVERIFY(t.d->messages().isEmpty());
        QVERIFY(w->isVisible());
        QCOMPARE(w->row().state(), Query::State::Insert);
        QVERIFY(w->row().isNull("档案号"));
        QCOMPARE(w->row().text("公司编号"), QString("001"));
        QCOMPARE(w->row().text("类型"), QString("有效"));
        QVERIFY(w->row().isNull("电话"));
        QCOMPARE(w->focusWidget(), c(w->config().controls.first));
        fill();
        save(false);
        QVERIFY(!w->isVisible());
        const auto numbers =
            t.db->rows(QString("select 档案号, 序号 from %1 order by 档案号").arg(r->table));
        QCOMPARE(numbers.size(), 2);
        QCOMPARE(numbers[0][0].toString(), QString("001261209001"));
        QCOMPARE(numbers[1][0].toString(), QString("001261209002"));
        QCOMPARE(numbers[1][1].toString(), QString("002"));
    }

    void closingDiscardsTheUnsavedRow_data()
    {
        QTest::addColumn<QString>("reg");
        QTest::addColumn<QString>("how");
        for (const QString& name : registerNames())
            for (const char* how : {"取消", "close box", "取消 after a save"})
                QTest::newRow(qPrintable(name + " " + how)) << name << how;
    }
    void closingDiscardsTheUnsavedRow()
    {
        QFETCH(QString, reg);
        QFETCH(QString, how);
        open(reg);
        fill();
        if (how == "取消 after a save") {
            save(true);
            fill();
            t.d->clear();
        }
        if (how == "close box")
            w->close();
        else
            ui::click(c(r->cancelButton));
        QVERIFY(!w->isVisible());
        QVERIFY(!w->row().isActive());
        QVERIFY(t.d->shown.isEmpty());
        QCOMPARE(t.count(r->table), how == "取消 after a save" ? 1 : 0);
    }

    void sequences_data()
    {
        QTest::addColumn<QString>("reg");
        QTest::addColumn<QStringList>("stored"); // archive numbers already in the table
        QTest::addColumn<QString>("number");
        for (const QString& name : registerNames()) {
            QTest::newRow(qPrintable(name + " first of the day"))
                << name << QStringList() << "001261209001";
            QTest::newRow(qPrintable(name + " 001 -> 002"))
                << name << QStringList{"001261209001"} << "001261209002";
            QTest::newRow(qPrintable(name + " 009 -> 010"))
                << name << QStringList{"001261209009"} << "001261209010";
            QTest::newRow(qPrintable(name + " 099 -> 100"))
                << name << QStringList{"001261209099"} << "001261209100";
            QTest::newRow(qPrintable(name + " other companies ignored"))
                << name << QStringList{"002261209041", "009261209998"} << "001261209001";
            QTest::newRow(qPrintable(name + " yesterday does not count"))
                << name << QStringList{"001261208017"} << "001261209001";
        }
    }
    void sequences()
    {
        QFETCH(QString, reg);
        QFETCH(QStringList, stored);
        QFETCH(QString, number);
        r = &registerNamed(reg);
        for (const QString& s : stored)
            storeRow(s);
        open(reg);
        fill();
        save(false);
        QVERIFY(t.d->messages().isEmpty());
        QCOMPARE(t.stored(r->table, number, "序号").toString(), number.right(3));
    }

    void newDayRestartsAtOne_data() { perRegister(); }
    void newDayRestartsAtOne()
    {
        QFETCH(QString, reg);
        open(reg);
        fill();
        save(true);
        fill();
        save(false);
        CZRQ = QStringLiteral("261210");
        open(reg);
        fill();
        save(false);
        const QString table = r->table;
        QCOMPARE(
            t.db->scalar("select 档案号 from " + table + " where 录入日期='261210'").toString(),
            QString("001261210001"));
        QCOMPARE(t.db->scalar("select max(档案号) from " + table + " where 录入日期='261209'")
                     .toString(),
                 QString("001261209002"));
    }

    // The day is full, or its stored count unreadable: a clear error, nothing saved,
    // the row still in the window as typed.
    void refusedNumberKeepsTheRow_data()
    {
        QTest::addColumn<QString>("reg");
        QTest::addColumn<QString>("lastStored");
        for (const QString& name : registerNames()) {
            QTest::newRow(qPrintable(name + " the 1000th of the day")) << name << "999";
            QTest::newRow(qPrintable(name + " sequence not a number")) << name << "12b";
        }
    }
    void refusedNumberKeepsTheRow()
    {
        QFETCH(QString, reg);
        QFETCH(QString, lastStored);
        r = &registerNamed(reg);
        storeRow("001261209" + lastStored);
        open(reg);
        fill();
        save(true);
        QCOMPARE(t.d->shown.size(), 1);
        QCOMPARE(t.d->shown[0].kind, QString("error"));
        QVERIFY2(t.d->shown[0].text.contains(lastStored), qPrintable(t.d->shown[0].text));
        QCOMPARE(t.count(r->table), 1);
        QVERIFY(w->isVisible());
        QCOMPARE(w->row().state(), Query::State::Insert);
        QCOMPARE(w->row().text("电话"), QString("0101234567"));
        QVERIFY(w->row().isNull("档案号"));
    }

    // Keyboard only: Tab through the window in its order; Return in a box or list
    // presses nothing; Esc keeps the window and its row; Return on 保存 saves and
    // on 取消 closes.
    void keyboardOnly_data()
    {
        QTest::addColumn<QString>("reg");
        QTest::addColumn<QStringList>("order");
        QTest::newRow("房源") << "房源"
                              << QStringList{"DBEdit1",  "DBEdit2",  "DBEdit3",  "cbLC",
                                             "cbHX",     "DBEdit4",  "DBEdit10", "cbWZ",
                                             "cbFS",     "cbQS",     "DBEdit9",  "DBEdit11",
                                             "DBEdit13", "DBEdit5",  "DBEdit6",  "DBEdit7",
                                             "DBEdit8",  "DBEdit14", "DBMemo2",  "Button3",
                                             "Button4",  "DBMemo1",  "Button1",  "Button2"};
        QTest::newRow("客户") << "客户"
                              << QStringList{"DBEdit2",  "cbFS",     "cbQS",    "DBEdit5",
                                             "DBEdit6",  "DBEdit7",  "DBEdit8", "cbLC",
                                             "cbHX",     "cbWZ",     "DBMemo1", "DBEdit9",
                                             "DBEdit10", "DBEdit11", "BitBtn1", "BitBtn2"};
    }
    void keyboardOnly()
    {
        QFETCH(QString, reg);
        QFETCH(QStringList, order);
        open(reg);
        fill();
        c(order[0])->setFocus();
        for (int i = 0; i < order.size(); ++i) {
            QWidget* f = w->focusWidget();
            QCOMPARE(f->objectName(), order[i]);
            if (qobject_cast<QLineEdit*>(f) || qobject_cast<QComboBox*>(f)) {
                QTest::keyClick(f, Qt::Key_Return);
                QTest::keyClick(f, Qt::Key_Escape);
            }
            if (order[i] == r->saveButton) break;
            QTest::keyClick(f, Qt::Key_Tab);
        }
        QVERIFY2(t.d->shown.isEmpty() && t.d->fileDialogs.isEmpty(),
                 qPrintable(t.d->last())); // nothing pressed, nothing closed
        QVERIFY(w->isVisible());
        QCOMPARE(w->row().state(), Query::State::Insert);
        t.d->answers = {true};
        QTest::keyClick(w->focusWidget(), Qt::Key_Return); // 保存
        QCOMPARE(t.count(r->table), 1);
        QCOMPARE(w->focusWidget(), c(order[0]));
        QTest::keyClick(w->focusWidget(), Qt::Key_Backtab, Qt::ShiftModifier);
        QCOMPARE(w->focusWidget(), c(r->cancelButton));
        QTest::keyClick(w->focusWidget(), Qt::Key_Return); // 取消
        QVERIFY(!w->isVisible());
        QCOMPARE(t.count(r->table), 1);
    }
};

HALVORRA_TEST_MAIN(TestRegisterEntry)
#include "tst_register_entry.moc"
