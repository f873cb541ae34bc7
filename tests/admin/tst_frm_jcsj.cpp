// The dictionary window: entries edited in place in the lists, checks per
// dictionary, the navigator following the tab, and the keys that start an entry.
#include "admin/Frm_jcsj.h"
#include "data/Text.h"
#include "tests/support/TestSupport.h"
#include "widgets/DbGrid.h"
#include "widgets/DbNavigator.h"

#include <QTabWidget>
#include <QTableView>

class TestFrmJcsj : public QObject
{
    Q_OBJECT
    std::unique_ptr<TestDb> db;

    int count(const QString& table, const QString& col, const QString& v) const
    {
        return db
            ->scalar("select count(*) from " + table + " where " + col + "='" + Text::quoted(v) +
                     "'")
            .toInt();
    }
    static DbGrid* grid(TFrmJCSJ& w, int tab)
    {
        return ui::find<DbGrid>(&w, QStringLiteral("DBGrid%1").arg(tab + 1));
    }
    // Types into the current row's cell as the in-place editor does.
    static void setCell(TFrmJCSJ& w, int tab, const QString& text)
    {
        DbGrid* g = grid(w, tab);
        Query* q = g->dataSource()->dataSet();
        QVERIFY(g->model()->setData(g->model()->index(q->recNo(), 0), text));
    }
    static void nav(TFrmJCSJ& w, const char* button)
    {
        ui::click(ui::find<QToolButton>(&w, QString::fromLatin1(button)));
    }
    // Shows the tab and starts a new entry holding the text.
    static void newEntry(TFrmJCSJ& w, int tab, const QString& text)
    {
        ui::find<QTabWidget>(&w, "PageControl1")->setCurrentIndex(tab);
        nav(w, "nbInsert");
        setCell(w, tab, text);
    }

private slots:
    void init()
    {
        db = std::make_unique<TestDb>();
        db->connectDmbasic();
    }
    void cleanup() { db.reset(); }

    void navigatorFollowsTab()
    {
        DialogsScope d;
        TFrmJCSJ w;
        auto* tabs = ui::find<QTabWidget>(&w, "PageControl1");
        auto* navigator = ui::find<DbNavigator>(&w, "DBNavigator1");
        QCOMPARE(tabs->count(), 4);
        QCOMPARE(tabs->tabText(0), QStringLiteral("户型"));
        QCOMPARE(tabs->tabText(3), QStringLiteral("位置"));
        QCOMPARE(navigator->dataSource(), &w.dsHXZD);
        DataSource* expected[4] = {&w.dsHXZD, &w.dsLCZD, &w.dsQSZD, &w.dsWZZD};
        for (int i : {2, 1, 3, 0}) {
            tabs->setCurrentIndex(i);
            QCOMPARE(navigator->dataSource(), expected[i]);
        }
    }

    void newEntryChecks_data()
    {
        QTest::addColumn<int>("tab");
        QTest::addColumn<QString>("entry");
        QTest::addColumn<QString>("message"); // empty: saved
        QTest::newRow("house type duplicate") << 0 << "两室一厅"
                                              << "存在重复的户型";
        QTest::newRow("duplicate with blanks") << 0 << " 两室一厅 "
                                               << "存在重复的户型";
        QTest::newRow("floor blanks only") << 1 << "   "
                                           << "楼层不能为空";
        QTest::newRow("ownership empty") << 2 << ""
                                         << "权属不能为空";
        QTest::newRow("location duplicate") << 3 << "城东"
                                            << "存在重复的位置";
        QTest::newRow("floor text as a house type") << 0 << "中层"
                                                    << "";
        QTest::newRow("floor text again as a floor") << 1 << "中层"
                                                     << "存在重复的楼层";
        QTest::newRow("quotes literal") << 3 << "东\"门'外"
                                        << "";
        QTest::newRow("new ownership") << 2 << " 小产权 "
                                       << "";
    }
    void newEntryChecks()
    {
        QFETCH(int, tab);
        QFETCH(QString, entry);
        QFETCH(QString, message);
        const auto& info = Dict::maintained()[tab];
        const int before = db->scalar("select count(*) from " + info.table).toInt();
        DialogsScope d;
        TFrmJCSJ w;
        w.show();
        newEntry(w, tab, entry);
        nav(w, "nbPost");
        Query* q = grid(w, tab)->dataSource()->dataSet();
        if (message.isEmpty()) {
            QVERIFY(d->messages().isEmpty());
            QCOMPARE(count(info.table, info.column, Text::trim(entry)), 1);
            QCOMPARE(q->state(), Query::State::Browse);
        } else {
            QCOMPARE(d->messages(), QStringList{message});
            QCOMPARE(db->scalar("select count(*) from " + info.table).toInt(), before);
            QCOMPARE(q->state(), Query::State::Insert);
            QCOMPARE(q->text(info.column), entry.isEmpty() ? QString() : entry);
            QCOMPARE(w.focusWidget(), grid(w, tab)->view());
        }
    }

    void quotedEntryFoundLiterally()
    {
        DialogsScope d;
        TFrmJCSJ w;
        w.show();
        newEntry(w, 0, "A\"B");
        nav(w, "nbPost");
        newEntry(w, 0, "a\"b");
        nav(w, "nbPost");
        QCOMPARE(d->messages(), QStringList{"存在重复的户型"});
    }

    // The duplicate query would find the entry itself: a save that passes proves
    // it did not run for an unchanged (or blank-padded) entry.
    void renameChecks()
    {
        DialogsScope d;
        TFrmJCSJ w;
        w.show();
        QVERIFY(w.QryHXZD.locate("户型", "一室一厅"));
        setCell(w, 0, " 一室一厅 ");
        nav(w, "nbPost");
        QVERIFY(d->messages().isEmpty());
        QCOMPARE(count("户型字典", "户型", "一室一厅"), 1);

        setCell(w, 0, "两室一厅");
        nav(w, "nbPost");
        QCOMPARE(d->messages(), QStringList{"存在重复的户型"});
        QVERIFY(w.QryHXZD.isEditing());
        nav(w, "nbCancel");
        QCOMPARE(count("户型字典", "户型", "一室一厅"), 1);

        setCell(w, 0, "一室半");
        nav(w, "nbPost");
        QCOMPARE(count("户型字典", "户型", "一室半"), 1);
        QCOMPARE(count("户型字典", "户型", "一室一厅"), 0);
    }

    void deleteAsks()
    {
        DialogsScope d;
        TFrmJCSJ w;
        w.show();
        ui::find<QTabWidget>(&w, "PageControl1")->setCurrentIndex(1);
        const QString first = w.QryLCZD.text("楼层");
        const int n = w.QryLCZD.recordCount();
        d->answers = {false};
        nav(w, "nbDelete");
        QCOMPARE(d->questions(), QStringList{"是否删除该记录"});
        QCOMPARE(count("楼层字典", "楼层", first), 1);
        d->answers = {true};
        nav(w, "nbDelete");
        QCOMPARE(count("楼层字典", "楼层", first), 0);
        QCOMPARE(w.QryLCZD.recordCount(), n - 1);
        QCOMPARE(w.QryHXZD.recordCount(), db->scalar("select count(*) from 户型字典").toInt());
    }

    void keysStartNewEntry()
    {
        DialogsScope d;
        TFrmJCSJ w;
        w.show();
        QTableView* view = grid(w, 0)->view();
        const int n = w.QryHXZD.recordCount();
        w.QryHXZD.last();
        ui::key(view, Qt::Key_Down);
        QCOMPARE(w.QryHXZD.state(), Query::State::Insert);
        QCOMPARE(w.QryHXZD.recNo(), n);
        nav(w, "nbCancel");
        w.QryHXZD.first();
        ui::key(view, Qt::Key_Down);
        QCOMPARE(w.QryHXZD.state(), Query::State::Browse);
        QCOMPARE(w.QryHXZD.recNo(), 1);
        ui::key(view, Qt::Key_Insert);
        QCOMPARE(w.QryHXZD.state(), Query::State::Insert);
        QCOMPARE(w.QryHXZD.recordCount(), n + 1);
    }

    // Cancelling a new entry drops it; the list must not save it on the way.
    void cancelDropsNewEntry()
    {
        DialogsScope d;
        TFrmJCSJ w;
        w.show();
        const int n = w.QryWZZD.recordCount();
        newEntry(w, 3, "作废");
        nav(w, "nbCancel");
        QCOMPARE(count("位置字典", "位置", "作废"), 0);
        QCOMPARE(w.QryWZZD.recordCount(), n);
        QCOMPARE(w.QryWZZD.state(), Query::State::Browse);
        QVERIFY(d->shown.isEmpty());
    }

    void closeDropsUnsavedEntry()
    {
        DialogsScope d;
        {
            TFrmJCSJ w;
            w.show();
            newEntry(w, 2, "未保存");
            ui::click(ui::find(&w, "BitBtn1"));
        }
        QCOMPARE(count("权属字典", "权属", "未保存"), 0);
        QVERIFY(d->shown.isEmpty());
    }
};

HALVORRA_TEST_MAIN(TestFrmJcsj)
#include "tst_frm_jcsj.moc"
