// The follow-up notes of both registers on the record card: a note added on the
// card is listed and dated in the query window's column at once, the column sorts
// records nobody has followed up first, and an operator who did not write a note
// can neither change nor remove it (a system administrator can).
#include "data/Dmbasic.h"
#include "records/FollowUpWindow.h"
#include "records/core/FollowUps.h"
#include "tests/registers/RegisterTests.h"
#include "widgets/DbGrid.h"

#include <QComboBox>
#include <QHeaderView>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTableView>
#include <QTableWidget>

class TestRegisterNotes : public QObject, private QueryTest
{
    Q_OBJECT

    // Logs this operator in, on the windows and on the main database.
    static void operatorIs(const QString& staff, const QString& name, const QString& role)
    {
        loginAs(role, name);
        CurUser.YGBH = staff;
        handOverLogin(dmbasic->adoCntnfybase);
    }
    // Opens the notes of `dah` from its card and runs f in the notes window.
    void withNotes(const QString& dah, const std::function<void(TFrmGJJL*)>& f)
    {
        withCard(w.get(), d, dah, [&](RecordCard* card) {
            bool ran = false;
            d->execs.push_back([&](QDialog* dlg) {
                auto* notes = qobject_cast<TFrmGJJL*>(dlg);
                notes->show();
                f(notes);
                ran = true;
                return int(QDialog::Accepted);
            });
            ui::click(card->btnGJJL);
            QVERIFY(ran);
        });
    }
    QString lastNote(const QString& dah) const
    {
        Query& q = w->rows();
        const int key = q.fieldIndex(QStringLiteral("档案号"));
        for (int i = 0; i < q.recordCount(); ++i)
            if (q.valueAt(i, key).toString() == dah)
                return q.valueAt(i, q.fieldIndex(FollowUps::LastColumn)).toString();
        return QStringLiteral("(not shown)");
    }

private slots:
    void init() { start(Roles::Ordinary); }
    void cleanup() { stop(); }

    void addSortAndGuard_data() { perRegister(); }
    void addSortAndGuard()
    {
        QFETCH(QString, reg);
        const QString followed = QStringLiteral("001261203001");
        const QString quiet = QStringLiteral("001261203002");
        for (const QString& dah : {followed, quiet})
            registerNamed(reg).add(*db, dah, "261203", "有效");
        db->exec("insert into 操作员档案 (员工编号, 员工姓名, 功能组) values ('101', '王五', "
                 "'普通操作员')");
        operatorIs("101", "王五", Roles::Ordinary);
        open(reg);
        DbGrid* grid = w->DBGridEh1;
        // The last column but for the listings' 照片 after it.
        int col = grid->columnCount() - 1;
        if (grid->column(col).field == QStringLiteral("照片")) --col;
        QCOMPARE(grid->column(col).title, FollowUps::LastColumn);
        QCOMPARE(lastNote(followed), QString());

        const QString text = QStringLiteral("房主 O'Brien 说：\"价格可以再谈\"\n下周再联系");
        withNotes(followed, [&](TFrmGJJL* n) {
            QCOMPARE(n->gridNotes->rowCount(), 0);
            put(n->memoNR, QStringLiteral("  "));
            ui::click(n->btnAdd);
            QCOMPARE(d->last(), QStringLiteral("请录入跟进内容"));
            QCOMPARE(n->focusWidget(), n->memoNR);
            QCOMPARE(n->gridNotes->rowCount(), 0);
            n->cbFS->setCurrentText(QStringLiteral("面谈"));
            put(n->memoNR, text);
            ui::click(n->btnAdd);
            QCOMPARE(n->gridNotes->rowCount(), 1);
            QCOMPARE(n->gridNotes->item(0, 1)->text(), QStringLiteral("王五"));
            QCOMPARE(n->gridNotes->item(0, 2)->text(), QStringLiteral("面谈"));
            QCOMPARE(n->gridNotes->item(0, 3)->text(), text);
            QCOMPARE(n->memoNR->toPlainText(), QString()); // ready for the next note
        });
        const QString today = QDate::currentDate().toString(QStringLiteral("yyyy-MM-dd"));
        QCOMPARE(lastNote(followed), today);
        QCOMPARE(lastNote(quiet), QString());
        QCOMPARE(db->scalar("select 内容 from 跟进记录").toString(), text);

        // A click on the column's title: the record nobody followed up comes first.
        QHeaderView* header = grid->view()->horizontalHeader();
        grid->view()->scrollTo(grid->view()->model()->index(0, col));
        QTest::mouseClick(header->viewport(), Qt::LeftButton, {},
                          QPoint(header->sectionViewportPosition(col) + 5, 5));
        QCOMPARE(header->sortIndicatorSection(), col);
        Query& q = w->rows();
        const int key = q.fieldIndex(QStringLiteral("档案号"));
        QCOMPARE(q.valueAt(0, key).toString(), quiet);
        QCOMPARE(q.valueAt(1, key).toString(), followed);

        // Another operator: the note is listed, but not his to change or remove.
        operatorIs("102", "赵六", Roles::Senior);
        withNotes(followed, [&](TFrmGJJL* n) {
            QCOMPARE(n->gridNotes->rowCount(), 1);
            n->gridNotes->selectRow(0);
            QCOMPARE(n->memoNR->toPlainText(), text);
            put(n->memoNR, QStringLiteral("改掉"));
            ui::click(n->btnChange);
            QCOMPARE(d->last(), FollowUps::notYoursText());
            ui::click(n->btnDelete);
            QCOMPARE(d->last(), FollowUps::notYoursText());
            QVERIFY(d->questions().isEmpty());
            QCOMPARE(n->gridNotes->item(0, 3)->text(), text);
        });
        QCOMPARE(db->scalar("select 内容 from 跟进记录").toString(), text);

        // The system administrator removes it, after the question.
        operatorIs("admin", "系统管理员", Roles::Admin);
        withNotes(followed, [&](TFrmGJJL* n) {
            n->gridNotes->selectRow(0);
            d->answers.push_back(true);
            ui::click(n->btnDelete);
            QCOMPARE(d->questions().last(), QStringLiteral("是否删除选择的跟进记录？"));
            QCOMPARE(n->gridNotes->rowCount(), 0);
        });
        QCOMPARE(db->scalar("select count(*) from 跟进记录").toInt(), 0);
        QCOMPARE(lastNote(followed), QString());
    }
};

HALVORRA_TEST_MAIN(TestRegisterNotes)
#include "tst_register_notes.moc"
