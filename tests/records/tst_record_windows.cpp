// The history window of both record cards (修改记录) and the recycle bin (回收站):
// a change saved on the card shows with its old and new value, personal values
// hidden from the roles the card hides them from; a row deleted on the card comes
// back from the bin under its number and is found again, a taken number keeps it
// in the bin with a message, and erasing asks first.
#include "admin/Frm_hsz.h"
#include "app/Frm_main.h"
#include "records/Frm_xgjl.h"
#include "tests/registers/RegisterTests.h"
#include "widgets/DbControls.h"

#include <QAction>

namespace
{

const QString kNumber = QStringLiteral("001261203001");

// The cells of a rows window: one "column=value" list per row, in order.
QList<QStringList> cells(RowsWindow* w)
{
    QList<QStringList> out;
    Query& q = w->rows;
    for (int i = 0; q.isActive() && i < q.recordCount(); ++i) {
        QStringList row;
        for (int c = 0; c < w->grid->columnCount(); ++c)
            row << w->grid->column(c).field + QLatin1Char('=') +
                       q.valueAt(i, q.fieldIndex(w->grid->column(c).field)).toString();
        out << row;
    }
    return out;
}

} // namespace

class TestRecordWindows : public QObject, private QueryTest
{
    Q_OBJECT

    // The query window of a register over one stored row, its operator logged in
    // on the main database as the login does it.
    void openWithRow(const QString& reg, const QString& role)
    {
        start(role);
        CurUser.YGBH = QStringLiteral("001");
        CurUser.JSJM = QStringLiteral("office-pc");
        handOverLogin(dmbasic->adoCntnfybase);
        db->exec("insert into 操作员档案 (员工编号, 员工姓名) values ('001', '张三')");
        registerNamed(reg).add(*db, kNumber, "261203", "有效");
        open(reg);
    }
    QList<QStringList> historyOnCard()
    {
        QList<QStringList> shown;
        withCard(w.get(), d, kNumber, [&](RecordCard* c) {
            d->execs.push_back([&](QDialog* dlg) {
                auto* h = qobject_cast<TFrmXGJL*>(dlg);
                if (h) shown = cells(h);
                return 0;
            });
            // The button stands whole inside the card, beside 退出.
            const QRect button(c->btnXGJL->mapTo(c, QPoint(0, 0)), c->btnXGJL->size());
            QVERIFY(c->rect().contains(button));
            QVERIFY(
                !button.intersects(QRect(c->BitBtn1->mapTo(c, QPoint(0, 0)), c->BitBtn1->size())));
            ui::click(c->btnXGJL);
        });
        return shown;
    }
    // Opens the bin from the main window's 系统 menu and runs f in it.
    void inBin(const std::function<void(TFrmHSZ*)>& f)
    {
        TFrmmain main;
        QAction* bin = main.command("A03HSZ");
        QVERIFY(bin->isVisible() && bin->isEnabled());
        bool ran = false;
        d->execs.push_back([&](QDialog* dlg) {
            auto* w = qobject_cast<TFrmHSZ*>(dlg);
            if (w) {
                w->show();
                f(w);
                ran = true;
            }
            return 0;
        });
        bin->trigger();
        QVERIFY(ran);
    }

private slots:
    void cleanup() { stop(); }

    // A value changed on the card by a senior role, then the history opened on the
    // card by a viewer: the newest event first, the column's old and new value, or
    // "******" for both where the viewer's card hides the column.
    void changeShowsInHistory_data()
    {
        QTest::addColumn<QString>("reg");
        QTest::addColumn<QString>("box");
        QTest::addColumn<QString>("column");
        QTest::addColumn<QString>("typed");
        QTest::addColumn<QString>("before");
        QTest::addColumn<QString>("after");
        QTest::addColumn<QString>("viewer");
        QTest::addColumn<bool>("hidden");
        QTest::newRow("房源 lowest price, senior") << "房源"
                                                   << "DBEdit8"
                                                   << "最低价格"
                                                   << "45.5"
                                                   << "40"
                                                   << "45.5" << Roles::Senior << false;
        QTest::newRow("房源 area, ordinary") << "房源"
                                             << "DBEdit3"
                                             << "房屋面积"
                                             << "92"
                                             << "80"
                                             << "92" << Roles::Ordinary << false;
        QTest::newRow("房源 owner name, ordinary") << "房源"
                                                   << "DBEdit5"
                                                   << "房主姓名"
                                                   << "赵房主"
                                                   << "王房主"
                                                   << "赵房主" << Roles::Ordinary << true;
        QTest::newRow("房源 lowest price, not an operator") << "房源"
                                                            << "DBEdit8"
                                                            << "最低价格"
                                                            << "45.5"
                                                            << "40"
                                                            << "45.5" << Roles::None << true;
        QTest::newRow("房源 owner name, senior") << "房源"
                                                 << "DBEdit5"
                                                 << "房主姓名"
                                                 << "赵房主"
                                                 << "王房主"
                                                 << "赵房主" << Roles::Senior << false;
        QTest::newRow("客户 wanted area, ordinary") << "客户"
                                                    << "DBEdit2"
                                                    << "地址描述"
                                                    << "城西"
                                                    << "城东人民路"
                                                    << "城西" << Roles::Ordinary << false;
        QTest::newRow("客户 phone, ordinary") << "客户"
                                              << "DBEdit10"
                                              << "电话"
                                              << "12345"
                                              << "66668888"
                                              << "12345" << Roles::Ordinary << true;
        QTest::newRow("客户 name, administrator") << "客户"
                                                  << "DBEdit9"
                                                  << "客户姓名"
                                                  << "周客户"
                                                  << "李客户"
                                                  << "周客户" << Roles::Admin << false;
        QTest::newRow("客户 emptied name, ordinary") << "客户"
                                                     << "DBEdit9"
                                                     << "客户姓名"
                                                     << ""
                                                     << "李客户"
                                                     << "" << Roles::Ordinary << true;
    }
    void changeShowsInHistory()
    {
        QFETCH(QString, reg);
        QFETCH(QString, box);
        QFETCH(QString, column);
        QFETCH(QString, typed);
        QFETCH(QString, before);
        QFETCH(QString, after);
        QFETCH(QString, viewer);
        QFETCH(bool, hidden);
        openWithRow(reg, Roles::Senior);
        withCard(w.get(), d, kNumber, [&](RecordCard* c) {
            ui::type(ui::find(c, box), typed);
            ui::click(c->Button1);
        });
        QVERIFY(d->messages().isEmpty());
        // A second save, of another column, is the newest event.
        withCard(w.get(), d, kNumber, [&](RecordCard* c) {
            c->DBCheckBox1->click();
            ui::click(c->Button1);
        });
        CurUser.GNZ = viewer;
        const QList<QStringList> rows = historyOnCard();
        QCOMPARE(rows.size(), 2);
        QCOMPARE(rows[0].mid(3, 2), (QStringList{"操作=作废", "字段=类型"}));
        const QString mask = TFrmXGJL::hiddenValue();
        QCOMPARE(rows[1],
                 (QStringList{rows[1][0], "操作员=001 张三", "工作站=office-pc", "操作=修改",
                              "字段=" + column, "旧值=" + (hidden ? mask : before),
                              "新值=" + (hidden ? mask : after)}));
        QVERIFY(QDateTime::fromString(rows[1][0].mid(3), "yyyy-MM-dd HH:mm:ss").isValid());
        // Nowhere after the time (whose digits may hold the value by chance).
        if (hidden)
            for (const QStringList& row : rows)
                QVERIFY2(!row.mid(1).join('|').contains(before), qPrintable(row.join('|')));
    }

    // Deleted on the card, the row is in the bin; then 恢复 (the number free or
    // taken meanwhile) or 彻底删除 (answered No, then Yes).
    void binRestoresAndErases_data()
    {
        QTest::addColumn<QString>("reg");
        QTest::addColumn<QString>("action");
        QTest::addColumn<QString>("message"); // after the action
        QTest::addColumn<bool>("inRegister"); // the row is found in the query window after
        QTest::addColumn<int>("leftInBin");   // rows
        for (const QString& reg : registerNames()) {
            const QString what = reg + "“" + kNumber + "”";
            QTest::newRow(qPrintable(reg + " restore"))
                << reg << "restore" << what + "已恢复。" << true << 0;
            QTest::newRow(qPrintable(reg + " restore over a taken number"))
                << reg << "taken"
                << "档案号“" + kNumber + "”已被另一条记录占用" << true << 1;
            QTest::newRow(qPrintable(reg + " erase, answered No")) << reg << "keep"
                                                                   << "" << false << 1;
            QTest::newRow(qPrintable(reg + " erase")) << reg << "erase"
                                                      << "" << false << 0;
        }
    }
    void binRestoresAndErases()
    {
        QFETCH(QString, reg);
        QFETCH(QString, action);
        QFETCH(QString, message);
        QFETCH(bool, inRegister);
        QFETCH(int, leftInBin);
        openWithRow(reg, Roles::Admin);
        const QString row = "select * from " + r->table + " where 档案号='" + kNumber + "'";
        const QList<QVariantList> original = db->rows(row);
        withCard(w.get(), d, kNumber, [&](RecordCard* c) {
            d->answers = {true};
            ui::click(c->Button3);
        });
        QCOMPARE(count(r->table), 0);
        if (action == "taken") {
            r->add(*db, kNumber, "261203", "有效");
            db->exec("update " + r->table + " set " + r->textColumn + "='后来的' where 档案号='" +
                     kNumber + "'");
        }
        inBin([&](TFrmHSZ* bin) {
            const QList<QStringList> rows = cells(bin);
            QCOMPARE(rows.size(), 1);
            QCOMPARE(rows[0].mid(1, 3),
                     (QStringList{"登记=" + reg, "档案号=" + kNumber,
                                  "名称=" + (reg == "房源" ? QString("阳光花园") : "李客户")}));
            QCOMPARE(rows[0][6], QStringLiteral("删除人=001 张三"));
            const int questions = d->questions().size();
            if (action == "restore" || action == "taken") {
                ui::click(bin->btnHF);
                QCOMPARE(d->questions().size(), questions);
            } else {
                d->answers = {action == "erase"};
                ui::click(bin->btnCD);
                QCOMPARE(d->questions().size(), questions + 1);
                QCOMPARE(d->questions().last(),
                         "确定彻底删除" + reg + "“" + kNumber + "”吗？彻底删除后无法恢复。");
            }
            QCOMPARE(cells(bin).size(), leftInBin);
            QCOMPARE(bin->btnHF->isEnabled(), leftInBin > 0);
        });
        if (message.isEmpty())
            QVERIFY(d->messages().isEmpty());
        else
            QVERIFY2(d->messages().last().contains(message), qPrintable(d->messages().join('|')));
        QCOMPARE(db->scalar("select count(*) from 回收站").toInt(), leftInBin);
        ui::click(w->BitBtn5);
        QCOMPARE(shown().contains(kNumber), inRegister);
        if (action == "restore") QCOMPARE(db->rows(row), original);
        if (action == "taken")
            QCOMPARE(stored(r->table, kNumber, r->textColumn).toString(), QString("后来的"));
    }
};

HALVORRA_TEST_MAIN(TestRecordWindows)
#include "tst_record_windows.moc"
