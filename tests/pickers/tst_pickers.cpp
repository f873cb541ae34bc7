// The small shared windows: date picker, table picker (filter and locate),
// column chooser and progress window.
#include "data/Dmbasic.h"
#include "pickers/PubParams.h"
#include "pickers/U_SelectItem.h"
#include "pickers/U_SelectPub.h"
#include "pickers/U_SelectRQ.h"
#include "pickers/U_Step.h"
#include "tests/support/TestSupport.h"
#include "widgets/DbGrid.h"

#include <QCalendarWidget>
#include <QListWidget>
#include <QProgressBar>
#include <QPushButton>
#include <QRadioButton>
#include <QToolButton>

class TestPickers : public QObject
{
    Q_OBJECT
    std::unique_ptr<TestDb> db;
    std::unique_ptr<Query> staff;

    void openStaff(const QString& where = {})
    {
        staff = std::make_unique<Query>(&dmbasic->adoCntnfybase);
        staff->addSql(QStringLiteral("select 员工编号, 员工姓名 from 操作员档案 "));
        if (!where.isEmpty()) staff->addSql(where);
        staff->addSql(QStringLiteral("order by 员工编号"));
        staff->open();
        PubDataSet = staff.get();
        PubBhField = QStringLiteral("员工编号");
        PubMcField = QStringLiteral("员工姓名");
        PubFilter.clear();
    }
    QStringList codes() const
    {
        QStringList out;
        for (int r = 0; r < staff->recordCount(); ++r)
            out << staff->valueAt(r, 0).toString();
        return out;
    }

private slots:
    void initTestCase()
    {
        db = std::make_unique<TestDb>();
        db->connectDmbasic();
        db->exec(QStringLiteral("delete * from 操作员档案"));
        const char* rows[][2] = {{"A0101", "张三"},       {"ab123", "李四"},
                                 {"AB200", "王五"},       {"c0102", " 赵六 "},
                                 {"x9", "O'Brien"},       {"y1", "陈\U0001F3E0小明"},
                                 {"y2", "\U00020BB7野家"}};
        for (auto& r : rows)
            db->exec(
                QStringLiteral("insert into 操作员档案 (员工编号, 员工姓名) values ('%1', '%2')")
                    .arg(QString::fromUtf8(r[0]), QString::fromUtf8(r[1]).replace("'", "''")));
    }
    void cleanup()
    {
        PubDataSet = nullptr;
        PubGrid = nullptr;
        staff.reset();
    }

    // ---- date picker -------------------------------------------------------

    void datePickerReturnsYYMMDD()
    {
        DialogsScope d;
        QDate shownAtStart;
        d->execs.push_back([&](QDialog* dlg) {
            auto* cal = ui::find<QCalendarWidget>(dlg, "MonthCalendar1");
            shownAtStart = cal->selectedDate();
            cal->setSelectedDate(QDate(2026, 3, 5));
            ui::click(ui::find<QPushButton>(dlg, "btnOK"));
            return dlg->result();
        });
        QString field = QStringLiteral("250101"); // the calendar starts at today, not here
        QVERIFY(TdlgSelectRQ::pick(nullptr, field));
        QCOMPARE(shownAtStart, QDate::currentDate());
        QCOMPARE(field, QStringLiteral("260305"));
    }

    void datePickerCancelKeepsField()
    {
        DialogsScope d;
        d->execs.push_back([](QDialog* dlg) {
            ui::find<QCalendarWidget>(dlg, "MonthCalendar1")->setSelectedDate(QDate(2020, 1, 1));
            ui::key(dlg, Qt::Key_Escape);
            return dlg->result();
        });
        QString field = QStringLiteral("250101");
        QVERIFY(!TdlgSelectRQ::pick(nullptr, field));
        QCOMPARE(field, QStringLiteral("250101"));
    }

    // ---- table picker ------------------------------------------------------

    void tablePickerOverEmptyDataSet()
    {
        openStaff(QStringLiteral("where 员工编号='none'"));
        PubBh = QStringLiteral("old");
        PubMc = QStringLiteral("old");
        TdlgSelectPub dlg;
        ui::type(dlg.edtBh, QStringLiteral("01"));
        ui::click(dlg.btnOK);
        QCOMPARE(dlg.result(), int(QDialog::Accepted));
        QCOMPARE(PubBh, QString());
        QCOMPARE(PubMc, QString());
    }

    void tablePickerWithoutDataSet()
    {
        PubDataSet = nullptr;
        TdlgSelectPub dlg;
        ui::type(dlg.edtMc, QStringLiteral("x"));
        ui::click(dlg.btnOK);
        QCOMPARE(dlg.result(), int(QDialog::Accepted));
        QCOMPARE(PubBh, QString());
    }

    void filterMode_data()
    {
        QTest::addColumn<QString>("base");
        QTest::addColumn<QString>("box");
        QTest::addColumn<QString>("typed");
        QTest::addColumn<QStringList>("shown");
        QTest::addColumn<QStringList>("afterDelete");
        const QStringList all = {"A0101", "ab123", "AB200", "c0102", "x9", "y1", "y2"};
        QTest::newRow("code contains 01") << ""
                                          << "edtBh"
                                          << "01" << QStringList{"A0101", "c0102"} << all;
        QTest::newRow("blanks around are trimmed")
            << ""
            << "edtBh"
            << " 01 " << QStringList{"A0101", "c0102"} << all;
        QTest::newRow("letter case ignored") << ""
                                             << "edtBh"
                                             << "AB1" << QStringList{"ab123"} << all;
        QTest::newRow("name with a quote") << ""
                                           << "edtMc"
                                           << "'b" << QStringList{"x9"} << all;
        QTest::newRow("within the base filter")
            << "员工编号 like 'a%'"
            << "edtBh"
            << "01" << QStringList{"A0101"} << QStringList{"A0101", "ab123", "AB200"};
        // Characters beyond the basic plane are one character each, never split.
        QTest::newRow("emoji") << ""
                               << "edtMc" << QString::fromUcs4(U"\U0001F3E0小") << QStringList{"y1"}
                               << all;
        QTest::newRow("emoji as _") << ""
                                    << "edtMc"
                                    << "陈_小" << QStringList{"y1"} << all;
        QTest::newRow("rare CJK of a supplementary plane")
            << ""
            << "edtMc" << QString::fromUcs4(U"\U00020BB7") << QStringList{"y2"} << all;
        QTest::newRow("pasted NUL")
            << ""
            << "edtMc" << QStringLiteral("张") + QChar(0) + "三" << QStringList{"A0101"} << all;
        QTest::newRow("nothing found") << ""
                                       << "edtMc"
                                       << "无此人" << QStringList{} << all;
    }
    void filterMode()
    {
        QFETCH(QString, base);
        QFETCH(QString, box);
        QFETCH(QString, typed);
        QFETCH(QStringList, shown);
        QFETCH(QStringList, afterDelete);
        openStaff();
        PubFilter = base;
        TdlgSelectPub dlg;
        QCOMPARE(codes(), afterDelete);
        auto* edit = ui::find<QLineEdit>(&dlg, box);
        edit->setText(typed); // keystrokes cannot carry Chinese text
        QCOMPARE(codes(), shown);
        ui::type(edit, QString());
        QCOMPARE(codes(), afterDelete);
    }

    void locateMode()
    {
        openStaff();
        TdlgSelectPub dlg;
        ui::click(dlg.rdbtnLocate);
        ui::type(dlg.edtBh, QStringLiteral("AB"));
        QCOMPARE(staff->recordCount(), 7);
        QCOMPARE(staff->text("员工编号"), QStringLiteral("ab123"));
        ui::type(dlg.edtBh, QStringLiteral("ab2"));
        QCOMPARE(staff->text("员工编号"), QStringLiteral("AB200"));
        // No match: the position stays.
        QTest::keyClicks(dlg.edtBh, QStringLiteral("zz"));
        QCOMPARE(staff->text("员工编号"), QStringLiteral("AB200"));
        ui::type(dlg.edtMc, QStringLiteral("o'b"));
        QCOMPARE(staff->text("员工编号"), QStringLiteral("x9"));
        QCOMPARE(staff->recordCount(), 7);
    }

    void switchingToLocateDropsTheSearchFilter()
    {
        openStaff();
        PubFilter = QStringLiteral("员工编号 like '%0%'");
        TdlgSelectPub dlg;
        QCOMPARE(codes(), (QStringList{"A0101", "AB200", "c0102"}));
        ui::type(dlg.edtBh, QStringLiteral("01"));
        QCOMPARE(codes(), (QStringList{"A0101", "c0102"}));
        ui::click(dlg.rdbtnLocate);
        QCOMPARE(codes(), (QStringList{"A0101", "AB200", "c0102"}));
        QCOMPARE(dlg.edtBh->text(), QStringLiteral("01"));
        // Back to filtering: nothing happens until a search text changes.
        ui::click(dlg.rdbtnFilter);
        QCOMPARE(staff->recordCount(), 3);
        dlg.edtMc->setText(QStringLiteral("赵"));
        QCOMPARE(codes(), QStringList{"c0102"});
    }

    void okReturnsTrimmedRow_data()
    {
        QTest::addColumn<bool>("doubleClick");
        QTest::newRow("确定") << false;
        QTest::newRow("double-click") << true;
    }
    void okReturnsTrimmedRow()
    {
        QFETCH(bool, doubleClick);
        openStaff();
        TdlgSelectPub dlg;
        ui::type(dlg.edtBh, QStringLiteral("c01"));
        if (doubleClick)
            emit dlg.DBGrid1->rowDoubleClicked();
        else
            ui::click(dlg.btnOK);
        QCOMPARE(dlg.result(), int(QDialog::Accepted));
        QCOMPARE(PubBh, QStringLiteral("c0102"));
        QCOMPARE(PubMc, QStringLiteral("赵六"));
    }

    void cancelKeepsOldResult()
    {
        openStaff();
        PubBh = QStringLiteral("old");
        PubMc = QStringLiteral("老");
        TdlgSelectPub dlg;
        ui::click(dlg.btnCancel);
        QCOMPARE(dlg.result(), int(QDialog::Rejected));
        QCOMPARE(PubBh, QStringLiteral("old"));
        QCOMPARE(PubMc, QStringLiteral("老"));
    }

    // ---- column chooser ----------------------------------------------------

    void columnChooser_data()
    {
        QTest::addColumn<QString>("clicks"); // buttons pressed in order
        QTest::addColumn<QList<bool>>("visible");
        QTest::newRow("opened as the grid is, 确定") << "btnOK" << QList<bool>{true, false, true};
        QTest::newRow("全消 then 确定")
            << "btnSelectNone,btnOK" << QList<bool>{false, false, false};
        QTest::newRow("全选 then 确定") << "btnSelectAll,btnOK" << QList<bool>{true, true, true};
        QTest::newRow("全消 then 取消")
            << "btnSelectNone,btnCancel" << QList<bool>{true, false, true};
        QTest::newRow("全选 全消 取消")
            << "btnSelectAll,btnSelectNone,btnCancel" << QList<bool>{true, false, true};
    }
    void columnChooser()
    {
        QFETCH(QString, clicks);
        QFETCH(QList<bool>, visible);
        DbGrid grid;
        grid.setColumns(
            {{"档案号", "档案号", -1, {}}, {"地址", "地址", -1, {}}, {"楼层", "楼层", -1, {}}});
        grid.setColumnVisible(1, false);
        PubGrid = &grid;
        TdlgSelectItem dlg;
        QCOMPARE(dlg.clbItem->count(), 3);
        QCOMPARE(dlg.clbItem->item(1)->text(), QStringLiteral("地址"));
        QCOMPARE(dlg.clbItem->item(0)->checkState(), Qt::Checked);
        QCOMPARE(dlg.clbItem->item(1)->checkState(), Qt::Unchecked);
        for (const QString& b : clicks.split(','))
            ui::click(ui::find<QToolButton>(&dlg, b));
        for (int i = 0; i < 3; ++i)
            QCOMPARE(grid.isColumnVisible(i), visible[i]);
    }

    void columnChooserSingleLineUnchecked()
    {
        DbGrid grid;
        grid.setColumns({{"档案号", "档案号", -1, {}}, {"地址", "地址", -1, {}}});
        PubGrid = &grid;
        TdlgSelectItem dlg;
        dlg.clbItem->item(0)->setCheckState(Qt::Unchecked);
        ui::click(dlg.btnOK);
        QCOMPARE(dlg.result(), int(QDialog::Accepted));
        QVERIFY(!grid.isColumnVisible(0));
        QVERIFY(grid.isColumnVisible(1));
    }

    // ---- progress window ---------------------------------------------------

    void progressRun_data()
    {
        QTest::addColumn<int>("rows");
        QTest::newRow("no rows") << 0;
        QTest::newRow("some rows") << 5;
    }
    void progressRun()
    {
        QFETCH(int, rows);
        TFrmStep step;
        step.setMax(rows);
        step.show();
        QVERIFY(step.isVisible());
        QVERIFY(step.windowFlags() & Qt::WindowStaysOnTopHint);
        QCOMPARE(step.ProgressBar1->maximum(), rows);
        for (int i = 0; i < rows; ++i)
            step.stepIt();
        QCOMPARE(step.ProgressBar1->value(), rows);
        step.stepIt(); // one more than counted does not overrun the bar
        QCOMPARE(step.ProgressBar1->value(), rows);
        step.close();
        QVERIFY(!step.isVisible());
    }
};

HALVORRA_TEST_MAIN(TestPickers)
#include "tst_pickers.moc"
