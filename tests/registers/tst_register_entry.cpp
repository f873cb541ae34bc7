// The entry window of both registers: the divider, the 方式 rule, the save checks
// in their order, the question after a save, closing, archive numbers as the
// operator gets them, a refused number, and the keyboard (Tab order, Return, Esc).
#include "tests/registers/RegisterTests.h"

#include <QFrame>

class TestRegisterEntry : public QObject, private EntryTest
{
    Q_OBJECT
    void fill() { putAll(w.get(), r->validEntry); }

private slots:
    void init() { start(); }
    void cleanup() { stop(); }

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

    // Each check refuses with its message and moves the focus to its control; the
    // row stays unsaved in the window.
    void saveChecks_data()
    {
        QTest::addColumn<QString>("reg");
        QTest::addColumn<QStringList>("changes"); // control=value, after a valid row
        QTest::addColumn<QString>("message");
        QTest::addColumn<QString>("focus");
        const auto row = [](const char* tag, const QString& reg, const QStringList& changes,
                            const QString& message, const QString& focus) {
            QTest::newRow(qPrintable(reg + " " + tag)) << reg << changes << message << focus;
        };
        const QString l = "房源", c = "客户";
        row("1 estate blank", l, {"DBEdit1=  "}, "请录入小区名称", "DBEdit1");
        row("2 address empty", l, {"DBEdit2="}, "请录入地址", "DBEdit2");
        row("3 area 0", l, {"DBEdit3=0"}, "请录入房屋面积", "DBEdit3");
        row("3 area negative", l, {"DBEdit3=-5"}, "请录入房屋面积", "DBEdit3");
        row("3 area empty", l, {"DBEdit3="}, "请录入房屋面积", "DBEdit3");
        row("4 floor", l, {"cbLC="}, "请选择楼层", "cbLC");
        row("5 house type", l, {"cbHX="}, "请选择户型", "cbHX");
        row("6 price 0", l, {"DBEdit4=0"}, "请录入价格", "DBEdit4");
        row("6 price negative", l, {"DBEdit4=-1"}, "请录入价格", "DBEdit4");
        row("7 location", l, {"cbWZ="}, "请选择位置", "cbWZ");
        row("8 mode", l, {"cbFS="}, "请选择方式", "cbFS");
        row("9 sale without ownership", l, {"cbFS=出售", "cbQS="}, "请选择权属", "cbQS");
        row("10 owner", l, {"DBEdit5= "}, "请录入房主姓名", "DBEdit5");
        row("11 no phone at all", l, {"DBEdit6=", "DBEdit7= "}, "请录入电话或手机其中的一项信息",
            "DBEdit6");
        row("12 lowest 0", l, {"DBEdit8=0"}, "请录入最低价格", "DBEdit8");
        row("12 lowest empty", l, {"DBEdit8="}, "请录入最低价格", "DBEdit8");
        row("first failing check wins", l, {"DBEdit8=0", "cbHX=", "DBEdit2="}, "请录入地址",
            "DBEdit2");
        row("1 mode", c, {"cbFS="}, "请选择方式", "cbFS");
        row("2 buying without ownership", c, {"cbQS="}, "请选择权属", "cbQS");
        row("3 name blank", c, {"DBEdit9=  "}, "请录入客户姓名", "DBEdit9");
        row("4 no phone at all", c, {"DBEdit10= ", "DBEdit11="}, "请录入电话或手机其中的一项信息",
            "DBEdit10");
        row("first failing check wins", c, {"DBEdit10=", "DBEdit9="}, "请录入客户姓名", "DBEdit9");
    }
    void saveChecks()
    {
        QFETCH(QString, reg);
        QFETCH(QStringList, changes);
        QFETCH(QString, message);
        QFETCH(QString, focus);
        open(reg);
        fill();
        putAll(w.get(), changes);
        ui::click(c(r->saveButton));
        QCOMPARE(d->shown.size(), 1);
        QCOMPARE(d->shown[0].kind, QString("message"));
        QCOMPARE(d->shown[0].text, message);
        QCOMPARE(w->focusWidget(), c(focus));
        QCOMPARE(count(r->table), 0);
        QCOMPARE(w->row().state(), Query::State::Insert);
        QVERIFY(w->isVisible());
        QVERIFY(w->row().isNull("档案号"));
    }

    // A telephone number alone or a mobile number alone is enough.
    void onePhoneIsEnough_data()
    {
        QTest::addColumn<QString>("reg");
        QTest::addColumn<QString>("given");
        QTest::addColumn<QString>("emptied");
        QTest::newRow("房源 phone only") << "房源"
                                         << "DBEdit6"
                                         << "DBEdit7";
        QTest::newRow("房源 mobile only") << "房源"
                                          << "DBEdit7"
                                          << "DBEdit6";
        QTest::newRow("客户 phone only") << "客户"
                                         << "DBEdit10"
                                         << "DBEdit11";
        QTest::newRow("客户 mobile only") << "客户"
                                          << "DBEdit11"
                                          << "DBEdit10";
    }
    void onePhoneIsEnough()
    {
        QFETCH(QString, reg);
        QFETCH(QString, given);
        QFETCH(QString, emptied);
        open(reg);
        fill();
        putAll(w.get(), {given + "=13800000000", emptied + "= "});
        save(false);
        QVERIFY(d->messages().isEmpty());
        QCOMPARE(count(r->table), 1);
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
        QCOMPARE(d->questions(), QStringList{question});
        QVERIFY(d->messages().isEmpty());
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
            db->rows(QString("select 档案号, 序号 from %1 order by 档案号").arg(r->table));
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
            d->clear();
        }
        if (how == "close box")
            w->close();
        else
            ui::click(c(r->cancelButton));
        QVERIFY(!w->isVisible());
        QVERIFY(!w->row().isActive());
        QVERIFY(d->shown.isEmpty());
        QCOMPARE(count(r->table), how == "取消 after a save" ? 1 : 0);
    }

    void sequences_data()
    {
        QTest::addColumn<QString>("reg");
        QTest::addColumn<QStringList>("existing"); // archive numbers already in the table
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
        QFETCH(QStringList, existing);
        QFETCH(QString, number);
        r = &registerNamed(reg);
        for (const QString& s : existing)
            storeRow(r->table, s);
        open(reg);
        fill();
        save(false);
        QVERIFY(d->messages().isEmpty());
        QCOMPARE(stored(r->table, number, "序号").toString(), number.right(3));
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
        QCOMPARE(db->scalar("select 档案号 from " + table + " where 录入日期='261210'").toString(),
                 QString("001261210001"));
        QCOMPARE(
            db->scalar("select max(档案号) from " + table + " where 录入日期='261209'").toString(),
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
        storeRow(r->table, "001261209" + lastStored);
        open(reg);
        fill();
        save(true);
        QCOMPARE(d->shown.size(), 1);
        QCOMPARE(d->shown[0].kind, QString("error"));
        QVERIFY2(d->shown[0].text.contains(lastStored), qPrintable(d->shown[0].text));
        QCOMPARE(count(r->table), 1);
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
        QVERIFY2(d->shown.isEmpty() && d->fileDialogs.isEmpty(),
                 qPrintable(d->last())); // nothing pressed, nothing closed
        QVERIFY(w->isVisible());
        QCOMPARE(w->row().state(), Query::State::Insert);
        d->answers = {true};
        QTest::keyClick(w->focusWidget(), Qt::Key_Return); // 保存
        QCOMPARE(count(r->table), 1);
        QCOMPARE(w->focusWidget(), c(order[0]));
        QTest::keyClick(w->focusWidget(), Qt::Key_Backtab, Qt::ShiftModifier);
        QCOMPARE(w->focusWidget(), c(r->cancelButton));
        QTest::keyClick(w->focusWidget(), Qt::Key_Return); // 取消
        QVERIFY(!w->isVisible());
        QCOMPARE(count(r->table), 1);
    }
};

HALVORRA_TEST_MAIN(TestRegisterEntry)
#include "tst_register_entry.moc"
