// The record card of both registers: laid out like the entry window, the
// confidential block by role, choosing from the lists, saving, closing, deleting,
// a save refused after a change elsewhere, the lists as loaded, and the keyboard
// (Tab through the card and out of every memo, Return on a button, Esc).
#include "tests/registers/RegisterTests.h"
#include "widgets/DbControls.h"
#include "widgets/DbListOverlay.h"

class TestRegisterCard : public QObject, private QueryTest
{
    Q_OBJECT

    // Three stored rows of this month and the query window over them.
    void openWithRows(const QString& name)
    {
        for (const char* dah : {"001261203001", "001261203002", "001261203003"})
            registerNamed(name).add(*db, QString::fromLatin1(dah), "261203", "有效");
        open(name)->rows().first();
    }
    QVariant stored(const QString& dah, const QString& column) const
    {
        return QueryTest::stored(r->table, dah, column);
    }
    static void addRegisterColumn() { QTest::addColumn<QString>("reg"); }

private slots:
    void init()
    {
        start(Roles::Senior);
        db->exec("delete from 楼层字典");
        db->exec("insert into 楼层字典 values ('一楼')");
        db->exec("insert into 楼层字典 values (' 二楼 ')");
    }
    void cleanup() { stop(); }

    // Each control of the card stands where its twin stands on the entry window.
    void laidOutLikeTheEntryWindow_data()
    {
        addRegisterColumn();
        QTest::addColumn<QStringList>("pairs"); // entry control/card control
        QTest::newRow("房源")
            << "房源"
            << QStringList{"DBEdit1/DBEdit1",   "DBEdit2/DBEdit2",   "DBEdit3/DBEdit3",
                           "cbLC/cbLCOverlay",  "cbHX/cbHXOverlay",  "DBEdit4/DBEdit4",
                           "DBEdit10/DBEdit16", "cbWZ/cbWZOverlay",  "cbFS/DBEdit11",
                           "cbQS/DBEdit12",     "DBEdit9/DBEdit9",   "DBEdit11/DBEdit17",
                           "Button3/Button5",   "DBEdit13/DBEdit19", "Button4/Button4",
                           "DBMemo1/DBMemo1",   "Bevel1/Bevel1",     "DBEdit5/DBEdit5",
                           "DBEdit6/DBEdit6",   "DBEdit7/DBEdit7",   "DBEdit8/DBEdit8",
                           "DBEdit14/DBEdit20", "DBMemo2/DBMemo2",   "Label_Title/Label_Title"};
        QTest::newRow("客户") << "客户"
                              << QStringList{"DBEdit2/DBEdit2",   "cbFS/DBEdit1",
                                             "cbQS/DBEdit3",      "DBEdit5/DBEdit5",
                                             "DBEdit6/DBEdit6",   "DBEdit7/DBEdit7",
                                             "DBEdit8/DBEdit8",   "cbLC/cbLCOverlay",
                                             "cbHX/cbHXOverlay",  "cbWZ/cbWZOverlay",
                                             "DBMemo1/DBMemo1",   "Bevel1/Bevel1",
                                             "DBEdit9/DBEdit9",   "DBEdit10/DBEdit10",
                                             "DBEdit11/DBEdit11", "Label_Title/Label_Title"};
    }
    void laidOutLikeTheEntryWindow()
    {
        QFETCH(QString, reg);
        QFETCH(QStringList, pairs);
        openWithRows(reg);
        auto entry = r->entryWindow();
        entry->show();
        const auto place = [](QWidget* window, const QString& name) {
            QWidget* c = ui::find(window, name);
            return c ? QRect(c->mapTo(window, QPoint(0, 0)), c->size()) : QRect();
        };
        withCard(w.get(), d, {}, [&](RecordCard* card) {
            // As wide; taller by the card's own row of buttons under the strip.
            const QWidget* more = ui::find(card, QStringLiteral("SecondRow"));
            QVERIFY(more);
            QCOMPARE(card->size(), entry->size() + QSize(0, more->height() + 4));
            QVERIFY(more->y() > place(card, QStringLiteral("BitBtn1")).bottom());
            for (const QString& pair : pairs) {
                const QStringList names = pair.split('/');
                QVERIFY2(place(card, names[1]) == place(entry.get(), names[0]), qPrintable(pair));
            }
        });
    }

    void confidentialBlockByRole_data()
    {
        addRegisterColumn();
        QTest::addColumn<QString>("role");
        QTest::addColumn<bool>("visible");
        QTest::addColumn<QStringList>("block");
        const QStringList owner{"DBEdit5", "DBEdit6", "DBEdit7", "DBEdit8", "DBEdit20", "DBMemo2",
                                "lblFZXM", "lblDH",   "lblSJ",   "lblZDJG", "lblCQZH",  "lblBZ"};
        const QStringList personal{"DBEdit9", "DBEdit10", "DBEdit11", "lblKHXM", "lblDH", "lblSJ"};
        for (const QString& name : registerNames()) {
            const QStringList block = name == "房源" ? owner : personal;
            QTest::newRow(qPrintable(name + " 普通操作员"))
                << name << Roles::Ordinary << false << block;
            QTest::newRow(qPrintable(name + " 高级操作员"))
                << name << Roles::Senior << true << block;
            QTest::newRow(qPrintable(name + " 系统管理员"))
                << name << Roles::Admin << true << block;
            QTest::newRow(qPrintable(name + " not an operator"))
                << name << Roles::None << false << block;
        }
    }
    void confidentialBlockByRole()
    {
        QFETCH(QString, reg);
        QFETCH(QString, role);
        QFETCH(bool, visible);
        QFETCH(QStringList, block);
        CurUser.GNZ = role;
        openWithRows(reg);
        withCard(w.get(), d, "001261203001", [&](RecordCard* c) {
            for (const QString& name : block)
                QVERIFY2(ui::find(c, name)->isVisible() == visible, qPrintable(name));
            QCOMPARE(c->confidentialVisible(), visible);
            QCOMPARE(ui::find<QLineEdit>(c, r->textBox)->text(), r->storedText);
            if (!visible) return;
            // A senior role changes them like any other field.
            ui::type(ui::find(c, block[1]), "12345");
            ui::click(c->Button1);
        });
        const QString phone = stored("001261203001", "电话").toString();
        QCOMPARE(phone, QString(visible ? "12345" : reg == "房源" ? "88886666" : "66668888"));
    }

    void choosingFromAListWritesTheTrimmedEntry_data()
    {
        addRegisterColumn();
        QTest::addColumn<QString>("list");
        QTest::addColumn<int>("index");
        QTest::addColumn<QString>("value");
        QTest::newRow("房源 floor trimmed") << "房源"
                                            << "cbLC" << 1 << "二楼";
        QTest::newRow("客户 floor trimmed") << "客户"
                                            << "cbLC" << 2 << "二楼";
        QTest::newRow("客户 不限 floor") << "客户"
                                         << "cbLC" << 0 << "不限";
        QTest::newRow("客户 不限 house type") << "客户"
                                              << "cbHX" << 0 << "不限";
        QTest::newRow("客户 不限 location") << "客户"
                                            << "cbWZ" << 0 << "不限";
    }
    void choosingFromAListWritesTheTrimmedEntry()
    {
        QFETCH(QString, reg);
        QFETCH(QString, list);
        QFETCH(int, index);
        QFETCH(QString, value);
        openWithRows(reg);
        const QString column = list == "cbLC" ? "楼层" : list == "cbHX" ? "户型" : "位置";
        withCard(w.get(), d, "001261203001", [&](RecordCard* c) {
            auto* o = ui::find<DbListOverlay>(c, list + "Overlay");
            QCOMPARE(o->edit()->width(), o->list()->width() - 16);
            QVERIFY(o->edit()->isReadOnly());
            QCOMPARE(o->list()->currentIndex(), -1);
            QVERIFY(!c->Button1->isEnabled());
            o->list()->setCurrentIndex(index);
            emit o->list()->activated(index);
            QCOMPARE(o->edit()->text(), value);
            QVERIFY(c->Button1->isEnabled());
            ui::click(c->Button1);
            QVERIFY(!c->Button1->isEnabled());
        });
        QCOMPARE(stored("001261203001", column).toString(), value);
    }

    void closingWithoutSaveLeavesTheRow_data() { perRegister(); }
    void closingWithoutSaveLeavesTheRow()
    {
        QFETCH(QString, reg);
        openWithRows(reg);
        withCard(w.get(), d, "001261203001", [&](RecordCard* c) {
            ui::type(ui::find(c, r->textBox), "改过的");
            QVERIFY(w->rows().isEditing());
        });
        QVERIFY(d->shown.isEmpty());
        QVERIFY(!w->rows().isEditing());
        QCOMPARE(w->rows().text(r->textColumn), r->storedText);
        QCOMPARE(stored("001261203001", r->textColumn).toString(), r->storedText);
    }

    void untickingValidityMarksInvalid_data() { perRegister(); }
    void untickingValidityMarksInvalid()
    {
        QFETCH(QString, reg);
        openWithRows(reg);
        withCard(w.get(), d, "001261203001", [&](RecordCard* c) {
            QVERIFY(c->DBCheckBox1->isChecked());
            ui::click(c->DBCheckBox1);
            QVERIFY(c->Button1->isEnabled());
            ui::click(c->Button1);
        });
        QCOMPARE(stored("001261203001", "类型").toString(), QString("无效"));
        ui::click(w->BitBtn5);
        QVERIFY(!w->rows().locate("档案号", "001261203001"));
    }

    void deleteMovesOnAndEmptiesAtTheEnd_data() { perRegister(); }
    void deleteMovesOnAndEmptiesAtTheEnd()
    {
        QFETCH(QString, reg);
        openWithRows(reg);
        Query& q = w->rows();
        const QString first = q.text("档案号");
        q.next();
        const QString second = q.text("档案号");
        q.first();
        withCard(w.get(), d, {}, [&](RecordCard* c) {
            auto* box = ui::find<QLineEdit>(c, r->textBox);
            QCOMPARE(c->Button3->text(), QString("删除"));
            d->answers = {false};
            ui::click(c->Button3);
            QCOMPARE(q.text("档案号"), first);
            d->answers = {true};
            ui::click(c->Button3);
            QCOMPARE(q.text("档案号"), second);
            QCOMPARE(box->text(), stored(second, r->textColumn).toString());
            // Deleting the last row shows the one before it.
            q.last();
            ui::click(c->Button3);
            QCOMPARE(q.text("档案号"), second);
            ui::click(c->Button3);
            QCOMPARE(q.recordCount(), 0);
            QVERIFY(box->text().isEmpty());
            QVERIFY(!c->Button3->isEnabled());
            QVERIFY(!c->Button1->isEnabled());
            // Choosing from a list on an empty card adds nothing.
            auto* floors = ui::find<QComboBox>(c, "cbLC");
            floors->setCurrentIndex(1);
            emit floors->activated(1);
            QVERIFY(!q.isEditing());
        });
        QCOMPARE(count(r->table), 0);
        QCOMPARE(d->questions().size(), 4);
        QVERIFY(d->messages().isEmpty());
        QCOMPARE(w->DBGridEh1->footerText(0), QString("0"));
    }

    // The card never silently overwrites a row another workstation changed or
    // deleted after the search.
    void saveRefusedWhenChangedElsewhere_data()
    {
        addRegisterColumn();
        QTest::addColumn<QString>("meanwhile");
        for (const QString& name : registerNames()) {
            const QString table = registerNamed(name).table;
            QTest::newRow(qPrintable(name + " changed"))
                << name
                << QString("update %1 set 类型='无效' where 档案号='001261203001'").arg(table);
            QTest::newRow(qPrintable(name + " deleted"))
                << name << QString("delete from %1 where 档案号='001261203001'").arg(table);
        }
    }
    void saveRefusedWhenChangedElsewhere()
    {
        QFETCH(QString, reg);
        QFETCH(QString, meanwhile);
        openWithRows(reg);
        withCard(w.get(), d, "001261203001", [&](RecordCard* c) {
            ui::type(ui::find(c, r->textBox), "我改的");
            db->exec(meanwhile);
            ui::click(c->Button1);
            QCOMPARE(d->messages().size(), 1);
            QVERIFY(d->messages().first().contains("其他工作站"));
            QVERIFY(w->rows().isEditing());
            QCOMPARE(ui::find<QLineEdit>(c, r->textBox)->text(), QString("我改的"));
        });
        QVERIFY(stored("001261203001", r->textColumn).toString() != QString("我改的"));
    }

    void listsAsLoadedWhenTheQueryWindowOpened_data() { perRegister(); }
    void listsAsLoadedWhenTheQueryWindowOpened()
    {
        QFETCH(QString, reg);
        openWithRows(reg);
        const int floors = w->cbLC->count();
        db->exec("insert into 楼层字典 values ('三楼')");
        withCard(w.get(), d, {}, [&](RecordCard* c) {
            QCOMPARE(ui::find<QComboBox>(c, "cbLC")->count(), floors);
            QCOMPARE(ui::find<QComboBox>(c, "cbWZ")->count(), w->cbWZ->count());
        });
        open(reg);
        withCard(w.get(), d, {}, [&](RecordCard* c) {
            QCOMPARE(ui::find<QComboBox>(c, "cbLC")->count(), floors + 1);
        });
    }

    // Tab leaves a memo for the next control (and Shift+Tab for the one before);
    // it never types a tab character nor starts editing the row.
    void tabLeavesEveryMemo_data()
    {
        addRegisterColumn();
        QTest::addColumn<QString>("memo");
        QTest::addColumn<QString>("next");
        QTest::addColumn<QString>("previous");
        QTest::newRow("房源 remarks") << "房源"
                                      << "DBMemo2"
                                      << "Button4"
                                      << "DBEdit20";
        QTest::newRow("房源 viewing notes") << "房源"
                                            << "DBMemo1"
                                            << "DBCheckBox1"
                                            << "Button5";
        QTest::newRow("客户 facilities") << "客户"
                                         << "DBMemo1"
                                         << "DBEdit9"
                                         << "cbWZ";
    }
    void tabLeavesEveryMemo()
    {
        QFETCH(QString, reg);
        QFETCH(QString, memo);
        QFETCH(QString, next);
        QFETCH(QString, previous);
        openWithRows(reg);
        withCard(w.get(), d, "001261203001", [&](RecordCard* c) {
            auto* m = ui::find<QPlainTextEdit>(c, memo);
            const QString before = m->toPlainText();
            m->setFocus();
            QTest::keyClick(m, Qt::Key_Tab);
            QCOMPARE(c->focusWidget()->objectName(), next);
            m->setFocus();
            QTest::keyClick(m, Qt::Key_Backtab, Qt::ShiftModifier);
            QCOMPARE(c->focusWidget()->objectName(), previous);
            QCOMPARE(m->toPlainText(), before);
            QVERIFY(!w->rows().isEditing());
        });
    }

    // Keyboard only: Tab through the whole card in its order, Return in a text box
    // presses nothing, Return on 保存 saves, Esc closes the card.
    void keyboardOnly_data()
    {
        addRegisterColumn();
        QTest::addColumn<QStringList>("order");
        QTest::newRow("房源") << "房源"
                              << QStringList{"DBEdit1",  "DBEdit2",  "DBEdit3",     "cbLC",
                                             "cbHX",     "DBEdit4",  "DBEdit16",    "cbWZ",
                                             "DBEdit11", "DBEdit12", "DBEdit9",     "DBEdit17",
                                             "DBEdit19", "DBEdit5",  "DBEdit6",     "DBEdit7",
                                             "DBEdit8",  "DBEdit20", "DBMemo2",     "Button4",
                                             "Button5",  "DBMemo1",  "DBCheckBox1", "DBEdit10",
                                             "Button2",  "Button1",  "Button3",     "BitBtn1"};
        QTest::newRow("客户") << "客户"
                              << QStringList{"DBEdit2",  "DBEdit1",     "DBEdit3", "DBEdit5",
                                             "DBEdit6",  "DBEdit7",     "DBEdit8", "DBEdit4",
                                             "cbLC",     "DBEdit12",    "cbHX",    "DBEdit13",
                                             "cbWZ",     "DBMemo1",     "DBEdit9", "DBEdit10",
                                             "DBEdit11", "DBCheckBox1", "Button1", "Button3",
                                             "BitBtn1"};
    }
    void keyboardOnly()
    {
        QFETCH(QString, reg);
        QFETCH(QStringList, order);
        openWithRows(reg);
        QString typed;
        bool closed = false;
        d->execs.push_back([&](QDialog* dlg) {
            dlg->show();
            dlg->activateWindow();
            [&] {
                QVERIFY(QTest::qWaitForWindowActive(dlg));
                auto* first = qobject_cast<QLineEdit*>(dlg->focusWidget());
                QVERIFY(first);
                QCOMPARE(first->objectName(), order[0]);
                QTest::keyClicks(first, "X");
                typed = first->text();
                QTest::keyClick(first, Qt::Key_Return); // presses no button
                QVERIFY(w->rows().isEditing());
                QVERIFY(d->shown.isEmpty());
                for (int i = 1; i < order.size(); ++i) {
                    QTest::keyClick(dlg->focusWidget(), Qt::Key_Tab);
                    QCOMPARE(dlg->focusWidget()->objectName(), order[i]);
                }
                // Back to 保存 and press it with Return.
                QTest::keyClick(dlg->focusWidget(), Qt::Key_Backtab, Qt::ShiftModifier);
                QTest::keyClick(dlg->focusWidget(), Qt::Key_Backtab, Qt::ShiftModifier);
                QCOMPARE(dlg->focusWidget()->objectName(), QString("Button1"));
                QTest::keyClick(dlg->focusWidget(), Qt::Key_Return);
                QVERIFY(!w->rows().isEditing());
                QTest::keyClick(dlg->focusWidget(), Qt::Key_Escape);
                closed = !dlg->isVisible();
            }();
            if (dlg->isVisible()) dlg->close();
            return dlg->result();
        });
        ui::click(w->btnLL);
        QVERIFY(closed);
        QVERIFY(typed.contains('X'));
        QCOMPARE(stored("001261203001", r->textColumn).toString(), typed);
    }
};

HALVORRA_TEST_MAIN(TestRegisterCard)
#include "tst_register_card.moc"
