// Each register end to end through its windows, on whichever database the run
// uses: a new entry saved, found by the query window, changed on the record card
// and deleted there. On a server, the session is cut before each write: that
// action shows the default error display, nothing is half-saved, the window stays,
// and the next try works.
#include "session/PubVars.h"
#include "tests/registers/RegisterTests.h"

#include <QPushButton>

class TestRegisterRoundTrip : public QObject
{
    Q_OBJECT
    std::unique_ptr<TestDb> db;

    int count(const QString& table) const
    {
        return db->scalar(QStringLiteral("select count(*) from ") + table).toInt();
    }
    // With the session cut first (on a server), `act` fails with the default error
    // display and changes nothing in `table`; then it works.
    void cutThenRetry(TestDialogs& d, const QString& table, const std::function<void()>& act)
    {
        const QList<QVariantList> before = db->rows(QStringLiteral("select * from ") + table);
        if (!db->dropSessions()) return;
        d.clear();
        act();
        QCOMPARE(d.messages().size(), 1);
        QCOMPARE(d.shown.last().kind, QStringLiteral("error"));
        QVERIFY2(d.shown.last().text.contains(QStringLiteral("连接已经断开")),
                 qPrintable(d.shown.last().text));
        QCOMPARE(db->rows(QStringLiteral("select * from ") + table), before);
        d.clear();
    }

private slots:
    void init()
    {
        db = std::make_unique<TestDb>();
        db->connectDmbasic();
        loginAs(Roles::Senior);
    }
    void cleanup() { db.reset(); }

    void entryQueryCardDelete_data() { perRegister(); }
    void entryQueryCardDelete()
    {
        QFETCH(QString, reg);
        const Register& r = registerNamed(reg);
        const QString table = r.table;
        DialogsScope d;
        const QString number = GSDM + CZRQ + QStringLiteral("001");

        // Entry: saved under the day's first number.
        std::unique_ptr<EntryWindow> entry = r.entryWindow();
        entry->show();
        putAll(entry.get(), r.validEntry);
        QWidget* save = ui::find<QWidget>(entry.get(), r.saveButton);
        cutThenRetry(*d, table, [&] { ui::click(save); });
        QVERIFY(entry->isVisible());
        d->answers = {false}; // no further entry
        ui::click(save);
        QCOMPARE(d->questions().size(), 1);
        QVERIFY(!entry->isVisible());
        QCOMPARE(count(table), 1);
        QCOMPARE(db->scalar(QStringLiteral("select 档案号 from ") + table).toString(), number);

        // Query: the first search shows it.
        std::unique_ptr<QueryFrame> search = r.queryWindow();
        Query* rows = &search->rows();
        search->show();
        QVERIFY(rows->locate(QStringLiteral("档案号"), number));
        cutThenRetry(*d, table, [&] { ui::click(search->BitBtn5); });
        QVERIFY(search->isVisible());
        ui::click(search->BitBtn5);
        QVERIFY(rows->locate(QStringLiteral("档案号"), number));

        // Card: a change saved, then the entry deleted.
        withCard(search.get(), &*d, number, [&](RecordCard* c) {
            auto* box = ui::find<QWidget>(c, r.textBox);
            auto* saveCard = ui::find<QPushButton>(c, QStringLiteral("Button1"));
            auto* remove = ui::find<QPushButton>(c, QStringLiteral("Button3"));
            ui::type(box, QStringLiteral("城北新区"));
            cutThenRetry(*d, table, [&] { ui::click(saveCard); });
            QVERIFY(rows->isEditing());
            ui::click(saveCard);
            QVERIFY(!rows->isEditing());
            QCOMPARE(
                db->scalar(QStringLiteral("select %1 from %2").arg(r.textColumn, table)).toString(),
                QStringLiteral("城北新区"));
            cutThenRetry(*d, table, [&] {
                d->answers = {true};
                ui::click(remove);
            });
            d->answers = {true};
            ui::click(remove);
        });
        QVERIFY(d->messages().isEmpty());
        QCOMPARE(count(table), 0);
        QCOMPARE(rows->recordCount(), 0);
    }
};

HALVORRA_TEST_MAIN(TestRegisterRoundTrip)
#include "tst_register_roundtrip.moc"
