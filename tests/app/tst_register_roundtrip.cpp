// Each register end to end through its windows, on whichever database the run
// uses: a new entry saved, found by the query window, changed on the record card
// and deleted there. On a server, the session is cut before each write: that
// action shows the default error display, nothing is half-saved, the window stays,
// and the next try works.
#include "app/core/PubVars.h"
#include "customers/Frm_LLKH.h"
#include "customers/Frm_khcx.h"
#include "customers/Frm_khxx.h"
#include "listings/Frm_LLFZ.h"
#include "listings/Frm_fycx.h"
#include "listings/frm_Fylr.h"
#include "tests/listings/ListingRows.h"

#include <QComboBox>
#include <QPlainTextEdit>
#include <QPushButton>

namespace
{

// A value put into a control the way the operator would.
void put(QWidget* root, const QString& name, const QString& value)
{
    QWidget* w = ui::find<QWidget>(root, name);
    QVERIFY2(w, qPrintable(name));
    if (auto* cb = qobject_cast<QComboBox*>(w)) {
        const int i = cb->findText(value);
        QVERIFY2(i >= 0, qPrintable(value));
        cb->setCurrentIndex(i);
        emit cb->activated(i);
    } else {
        ui::type(w, value);
    }
}

struct Register {
    QString table;
    QStringList entry;  // name=value for the entry window, enough for a save
    QString entrySave;  // the entry window's save button
    QString cardBox;    // a box of the record card ...
    QString cardColumn; // ... and its column
};

Register registerOf(const QString& table)
{
    if (table == QStringLiteral("房屋信息"))
        return {table,
                {"DBEdit1=阳光花园", "DBEdit2=人民路 12 号", "DBEdit3=86.5", "cbLC=中层",
                 "cbHX=两室一厅", "DBEdit4=450000", "DBEdit10=水电气齐全", "cbWZ=城东", "cbFS=出售",
                 "cbQS=房改房", "DBEdit9=12", "DBEdit11=3", "DBEdit5=王伟", "DBEdit6=0101234567",
                 "DBEdit7=13800000000", "DBEdit8=430000"},
                "Button1",
                "DBEdit1",
                "小区名称"};
    return {table, {"DBEdit9=张敏", "DBEdit10=0101234567"}, "BitBtn1", "DBEdit2", "地址描述"};
}

} // namespace

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

    void entryQueryCardDelete_data()
    {
        QTest::addColumn<QString>("table");
        QTest::newRow("listings") << "房屋信息";
        QTest::newRow("customers") << "客户信息";
    }
    void entryQueryCardDelete()
    {
        QFETCH(QString, table);
        const Register r = registerOf(table);
        const bool listings = table == QStringLiteral("房屋信息");
        DialogsScope d;
        const QString number = GSDM + CZRQ + QStringLiteral("001");

        // Entry: saved under the day's first number.
        std::unique_ptr<QDialog> entry;
        if (listings)
            entry = std::make_unique<TFrmfylr>();
        else
            entry = std::make_unique<TFrmkhxx>();
        entry->show();
        for (const QString& f : r.entry)
            put(entry.get(), f.section('=', 0, 0), f.section('=', 1));
        QWidget* save = ui::find<QWidget>(entry.get(), r.entrySave);
        cutThenRetry(*d, table, [&] { ui::click(save); });
        QVERIFY(entry->isVisible());
        d->answers = {false}; // no further entry
        ui::click(save);
        QCOMPARE(d->questions().size(), 1);
        QVERIFY(!entry->isVisible());
        QCOMPARE(count(table), 1);
        QCOMPARE(db->scalar(QStringLiteral("select 档案号 from ") + table).toString(), number);

        // Query: the first search shows it.
        std::unique_ptr<QWidget> search;
        Query* rows;
        QPushButton *quick, *card;
        if (listings) {
            auto* w = new TFrmFYCX;
            rows = &w->qryFwxx;
            quick = w->BitBtn5;
            card = w->btnLL;
            search.reset(w);
        } else {
            auto* w = new TFrmKHCX;
            rows = &w->qrykhxx;
            quick = w->BitBtn5;
            card = w->btnLL;
            search.reset(w);
        }
        search->show();
        QVERIFY(rows->locate(QStringLiteral("档案号"), number));
        cutThenRetry(*d, table, [&] { ui::click(quick); });
        QVERIFY(search->isVisible());
        ui::click(quick);
        QVERIFY(rows->locate(QStringLiteral("档案号"), number));

        // Card: a change saved, then the entry deleted.
        bool ran = false;
        const auto onCard = [&](QDialog* c) {
            auto* box = ui::find<QWidget>(c, r.cardBox);
            auto* saveCard = ui::find<QPushButton>(c, QStringLiteral("Button1"));
            auto* remove = ui::find<QPushButton>(c, QStringLiteral("Button3"));
            ui::type(box, QStringLiteral("城北新区"));
            cutThenRetry(*d, table, [&] { ui::click(saveCard); });
            QVERIFY(rows->isEditing());
            ui::click(saveCard);
            QVERIFY(!rows->isEditing());
            QCOMPARE(
                db->scalar(QStringLiteral("select %1 from %2").arg(r.cardColumn, table)).toString(),
                QStringLiteral("城北新区"));
            cutThenRetry(*d, table, [&] {
                d->answers = {true};
                ui::click(remove);
            });
            d->answers = {true};
            ui::click(remove);
            ran = true;
        };
        d->execs.push_back([&](QDialog* c) {
            c->show();
            onCard(c);
            c->reject();
            return int(QDialog::Rejected);
        });
        ui::click(card);
        QVERIFY(ran);
        QVERIFY(d->messages().isEmpty());
        QCOMPARE(count(table), 0);
        QCOMPARE(rows->recordCount(), 0);
    }
};

HALVORRA_TEST_MAIN(TestRegisterRoundTrip)
#include "tst_register_roundtrip.moc"
