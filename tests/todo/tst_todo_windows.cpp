// The next follow-up in the notes window, the to-do window (roles, 完成, a double
// click opening the record's card where a new note closes the reminder), the
// window after login and the command in the main window's own menu.
#include "app/Frm_main.h"
#include "app/TodoWindows.h"
#include "data/Dmbasic.h"
#include "data/Reminders.h"
#include "records/FollowUpWindow.h"
#include "registers/RecordCard.h"
#include "tests/registers/RegisterTests.h"
#include "todo/Frm_jrdb.h"
#include "todo/core/TodoList.h"
#include "widgets/DbGrid.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDateTimeEdit>
#include <QLabel>
#include <QMenuBar>
#include <QPlainTextEdit>
#include <QPushButton>

namespace
{

const QString kListing = QStringLiteral("001261203001");
const QString kCustomer = QStringLiteral("001261203002");

Connection& mainDb()
{
    return dmbasic->adoCntnfybase;
}

void operatorIs(const QString& staff, const QString& name, const QString& role)
{
    loginAs(role, name);
    CurUser.YGBH = staff;
    handOverLogin(mainDb());
}

// A note on the record with a reminder due `days` from now, for `forWhom`.
void remind(const QString& table, const QString& number, const QString& text, int days,
            const QString& forWhom = {})
{
    FollowUps::Note n;
    n.table = table;
    n.number = number;
    n.kind = QStringLiteral("电话");
    n.text = text;
    FollowUps::add(mainDb(), n,
                   Reminders::Due{QDateTime::currentDateTime().addDays(days), forWhom});
}

QStringList column(Query& q, const QString& field)
{
    QStringList out;
    for (int i = 0; q.isActive() && i < q.recordCount(); ++i)
        out << q.valueAt(i, q.fieldIndex(field)).toString();
    return out;
}

} // namespace

class TestTodoWindows : public QObject, private WindowTest
{
    Q_OBJECT

    QString tableOf(const QString& reg) const { return registerNamed(reg).table; }

private slots:
    void init()
    {
        WindowTest::start();
        addTwoOperators(*db);
        operatorIs("ZS7", "张三", Roles::Ordinary);
    }
    void cleanup() { WindowTest::stop(); }

    // The notes window sets the next follow-up only when asked to, for the author
    // unless another operator is chosen, shows the record's open reminders, and a
    // later note closes them; a note without it works as before.
    void notesWindow_data() { perRegister(); }
    void notesWindow()
    {
        QFETCH(QString, reg);
        registerNamed(reg).add(*db, kListing, "261203", "有效");
        const QString table = tableOf(reg);
        TFrmGJJL n(table, kListing);
        n.show();
        QCOMPARE(n.cbNextFor->currentData().toString(), QStringLiteral("ZS7"));
        QVERIFY(!n.dtNext->isEnabled());
        QCOMPARE(n.lblNext->text(), QStringLiteral("待跟进：无"));

        put(n.memoNR, QStringLiteral("没有提醒"));
        ui::click(n.btnAdd);
        QCOMPARE(count("跟进记录"), 1);
        QCOMPARE(count("下次跟进"), 0);

        const QDateTime due(QDate(2026, 12, 1), QTime(9, 30));
        n.chkNext->setChecked(true);
        QVERIFY(n.dtNext->isEnabled());
        n.dtNext->setDateTime(due);
        put(n.cbNextFor, QStringLiteral("008 李四"));
        put(n.memoNR, QStringLiteral("请李四回电"));
        ui::click(n.btnAdd);
        QCOMPARE(d->messages(), QStringList{});
        const QList<Reminders::Open> open = Reminders::openFor(mainDb(), table, kListing);
        QCOMPARE(open.size(), 1);
        QCOMPARE(open[0].due, QStringLiteral("2026-12-01 09:30:00"));
        QCOMPARE(open[0].forWhom, QStringLiteral("008"));
        QCOMPARE(n.lblNext->text(), QStringLiteral("待跟进：2026-12-01 09:30 李四"));
        QVERIFY(!n.chkNext->isChecked());

        put(n.memoNR, QStringLiteral("李四已回电"));
        ui::click(n.btnAdd);
        QVERIFY(Reminders::openFor(mainDb(), table, kListing).isEmpty());
        QCOMPARE(n.lblNext->text(), QStringLiteral("待跟进：无"));
        QCOMPARE(n.notes().size(), 3);
    }

    // An ordinary operator sees his own reminders and cannot choose; a senior one
    // starts on his own and may choose everyone or another operator. 完成 closes
    // the chosen reminder after a question.
    void rolesAndDone()
    {
        registerNamed(QStringLiteral("房源")).add(*db, kListing, "261203", "有效");
        registerNamed(QStringLiteral("客户")).add(*db, kCustomer, "261203", "有效");
        remind(QStringLiteral("房屋信息"), kListing, QStringLiteral("张三的"), -2);
        remind(QStringLiteral("客户信息"), kCustomer, QStringLiteral("李四的"), 0,
               QStringLiteral("008"));
        {
            TFrmJRDB w;
            QVERIFY(!w.cbCZY->isEnabled());
            QCOMPARE(column(w.qryDue, "内容"), QStringList{"张三的"});
            QCOMPARE(column(w.qryDue, "逾期"), QStringList{"2天"});
            QCOMPARE(column(w.qryDue, "类别"), QStringList{"房源"});
        }
        operatorIs("008", "李四", Roles::Senior);
        TFrmJRDB w;
        w.show();
        QVERIFY(w.cbCZY->isEnabled());
        QCOMPARE(column(w.qryDue, "内容"), QStringList{"李四的"});
        put(w.cbCZY, QStringLiteral("全部"));
        QCOMPARE(column(w.qryDue, "内容"), (QStringList{"张三的", "李四的"}));
        put(w.cbCZY, QStringLiteral("ZS7 张三"));
        QCOMPARE(column(w.qryDue, "内容"), QStringList{"张三的"});

        d->answers.push_back(false);
        ui::click(w.btnDone);
        QCOMPARE(column(w.qryDue, "内容"), QStringList{"张三的"});
        d->answers.push_back(true);
        ui::click(w.btnDone);
        QVERIFY(column(w.qryDue, "内容").isEmpty());
        QVERIFY(!w.btnDone->isEnabled());
        QCOMPARE(db->scalar("select 完成人 from 下次跟进 where 完成时间 is not null").toString(),
                 QStringLiteral("008"));
    }

    // A double click opens the record on its register's card; a note added there
    // closes the reminder, and the list shows it when the card closes.
    void cardFromList_data() { perRegister(); }
    void cardFromList()
    {
        QFETCH(QString, reg);
        registerNamed(reg).add(*db, kListing, "261203", "有效");
        remind(tableOf(reg), kListing, QStringLiteral("回访"), -1);
        std::unique_ptr<QDialog> dlg(createTodoWindow(nullptr));
        auto* w = qobject_cast<TFrmJRDB*>(dlg.get());
        w->show();
        QCOMPARE(column(w->qryDue, "档案号"), QStringList{kListing});
        bool noted = false;
        d->execs.push_back([&](QDialog* shown) {
            auto* card = qobject_cast<RecordCard*>(shown);
            if (!card) return int(QDialog::Rejected);
            card->show();
            d->execs.push_back([&](QDialog* notes) {
                auto* n = qobject_cast<TFrmGJJL*>(notes);
                put(n->memoNR, QStringLiteral("已回访"));
                ui::click(n->btnAdd);
                noted = true;
                return int(QDialog::Accepted);
            });
            ui::click(card->btnGJJL);
            card->close();
            return card->result();
        });
        emit w->gridDue->rowDoubleClicked();
        QVERIFY(noted);
        QVERIFY(column(w->qryDue, "档案号").isEmpty());
    }

    // The window opens after login when something is due and the operator has not
    // turned it off in the window; otherwise it does not.
    void afterLogin()
    {
        registerNamed(QStringLiteral("房源")).add(*db, kListing, "261203", "有效");
        int shown = 0;
        const auto answer = [&] {
            d->execs.push_back([&](QDialog* w) {
                ++shown;
                auto* todo = qobject_cast<TFrmJRDB*>(w);
                if (todo && shown == 2) todo->chkLogin->setChecked(false);
                return int(QDialog::Accepted);
            });
        };
        answer();
        QVERIFY(!openTodoAfterLogin(nullptr)); // nothing due
        remind(QStringLiteral("房屋信息"), kListing, QStringLiteral("明天的"), 1);
        QVERIFY(!openTodoAfterLogin(nullptr)); // due tomorrow only
        remind(QStringLiteral("房屋信息"), kListing, QStringLiteral("昨天的"), -1);
        QVERIFY(openTodoAfterLogin(nullptr));
        QCOMPARE(shown, 1);
        answer();
        QVERIFY(openTodoAfterLogin(nullptr)); // turned off in the window this time
        QVERIFY(!openTodoAfterLogin(nullptr));
        QCOMPARE(shown, 2);
        QVERIFY(!Reminders::opensAtLogin(mainDb(), QStringLiteral("ZS7")));
    }

    // 今日待办 is in a menu of its own, the first after the main window's menus, and
    // opens the window.
    void mainMenu()
    {
        TFrmmain m;
        const QList<QAction*> menus = m.menuBar()->actions();
        QCOMPARE(menus[5]->text(), QStringLiteral("帮助"));
        QAction* own = menus.value(6);
        QVERIFY(own);
        QCOMPARE(own->text(), QStringLiteral("日常工作"));
        QAction* todo = m.command(QStringLiteral("F01JRDB"));
        QCOMPARE(own->menu()->actions(), QList<QAction*>{todo});
        QVERIFY(todo->isEnabled());
        bool opened = false;
        d->execs.push_back([&](QDialog* w) {
            opened = qobject_cast<TFrmJRDB*>(w) != nullptr;
            return int(QDialog::Accepted);
        });
        todo->trigger();
        QVERIFY(opened);
    }
};

HALVORRA_TEST_MAIN(TestTodoWindows)
#include "tst_todo_windows.moc"
