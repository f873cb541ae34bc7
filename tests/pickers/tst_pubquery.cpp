// The condition builder: the split helpers, the exact condition and display
// texts, the window's checks and buttons, the value list, and conditions that
// hold a quote finding it literally.
#include "data/Dmbasic.h"
#include "pickers/PubParams.h"
#include "pickers/U_PubQuery.h"
#include "pickers/core/ConditionText.h"
#include "pickers/core/FieldLines.h"
#include "pickers/core/PickerFilter.h"
#include "tests/support/TestSupport.h"
#include "widgets/CharLimit.h"

#include <QComboBox>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QToolButton>

class TestPubQuery : public QObject
{
    Q_OBJECT
    std::unique_ptr<TestDb> db;

    static QStringList listingFields()
    {
        return {"档案号;档案号", "楼层;楼层", "地址;地址", "新旧程度;房龄"};
    }
    static void add(TFrmPubQuery& w, const QString& caption, const QString& op,
                    const QString& value)
    {
        w.cbZDM->setCurrentIndex(w.cbZDM->findText(caption));
        w.cbCZF->setCurrentIndex(w.cbCZF->findText(op));
        w.cbZDZ->setEditText(value);
        ui::click(w.btnAnd);
    }
    static QStringList comboItems(QComboBox* c)
    {
        QStringList out;
        for (int i = 0; i < c->count(); ++i)
            out << c->itemText(i);
        return out;
    }
    int countWhere(const QString& where)
    {
        Query q(&dmbasic->adoCntnfybase);
        q.addSql(QStringLiteral("select * from 房屋信息 "));
        q.addSql(QStringLiteral("where 1=1 "));
        q.addSql(where);
        q.open();
        return q.recordCount();
    }

private slots:
    void initTestCase()
    {
        db = std::make_unique<TestDb>();
        db->connectDmbasic();
        db->exec("delete * from 房屋信息");
        db->exec("insert into 房屋信息 (档案号, 地址, 楼层, 新旧程度) values ('001260101001', "
                 "'O''Neil路1号', '3', '5')");
        db->exec("insert into 房屋信息 (档案号, 地址, 楼层, 新旧程度) values ('001260101002', "
                 "'花园路', '5', '9')");
        db->exec(
            "insert into 房屋信息 (档案号, 地址, 楼层) values ('001260101003', '花园小区', null)");
        db->exec(
            "insert into 房屋信息 (档案号, 地址, 楼层) values ('001260101004', 'ONeil路', '3')");
    }
    void init()
    {
        PubTable = QStringLiteral("房屋信息");
        PubFields = listingFields();
        PubWhere = QStringLiteral("left over");
    }

    // ---- helpers without a window ------------------------------------------

    void splitNames_data()
    {
        QTest::addColumn<QStringList>("lines");
        QTest::addColumn<bool>("ok");
        QTest::addColumn<QStringList>("names");
        QTest::newRow("two lines")
            << QStringList{"类型;类型", "档案号;档案号"} << true << QStringList{"类型", "档案号"};
        QTest::newRow("caption differs")
            << QStringList{"新旧程度;房龄"} << true << QStringList{"新旧程度"};
        QTest::newRow("second ; belongs to the caption")
            << QStringList{"a;b;c"} << true << QStringList{"a"};
        QTest::newRow("line begins with ;")
            << QStringList{"类型;类型", ";房龄", "楼层;楼层"} << false << QStringList{"类型"};
        QTest::newRow("line without ;")
            << QStringList{"类型;类型", "楼层"} << false << QStringList{"类型"};
        QTest::newRow("empty line") << QStringList{""} << false << QStringList{};
        QTest::newRow("no lines") << QStringList{} << true << QStringList{};
    }
    void splitNames()
    {
        QFETCH(QStringList, lines);
        QFETCH(bool, ok);
        QFETCH(QStringList, names);
        QStringList target{"kept"};
        QCOMPARE(SplitNames(lines, target), ok);
        QCOMPARE(target, QStringList{"kept"} + names);
    }

    void splitCaptions_data()
    {
        QTest::addColumn<QStringList>("lines");
        QTest::addColumn<bool>("ok");
        QTest::addColumn<QStringList>("captions");
        QTest::newRow("caption differs")
            << QStringList{"类型;类型", "新旧程度;房龄"} << true << QStringList{"类型", "房龄"};
        QTest::newRow("no ; gives the whole line")
            << QStringList{"楼层"} << true << QStringList{"楼层"};
        QTest::newRow("after the first ;") << QStringList{"a;b;c"} << true << QStringList{"b;c"};
        QTest::newRow("nothing after ;")
            << QStringList{"类型;类型", "楼层;"} << false << QStringList{"类型"};
        QTest::newRow("empty line") << QStringList{""} << false << QStringList{};
    }
    void splitCaptions()
    {
        QFETCH(QStringList, lines);
        QFETCH(bool, ok);
        QFETCH(QStringList, captions);
        QStringList target;
        QCOMPARE(SplitCaptions(lines, target), ok);
        QCOMPARE(target, captions);
    }

    void conditionTexts_data()
    {
        QTest::addColumn<QString>("column");
        QTest::addColumn<QString>("caption");
        QTest::addColumn<QString>("op");
        QTest::addColumn<QString>("value");
        QTest::addColumn<QString>("where");
        QTest::addColumn<QString>("display");
        QTest::newRow("equal") << "楼层"
                               << "楼层"
                               << "="
                               << "3"
                               << "And ( 楼层 = '3' )"
                               << "并且 ( 楼层 = '3' )";
        QTest::newRow("like") << "地址描述"
                              << "地址描述"
                              << "like"
                              << "花园"
                              << "And ( 地址描述 like '%花园%' )"
                              << "并且 ( 地址描述 like '%花园%' )";
        QTest::newRow("empty value") << "楼层"
                                     << "楼层"
                                     << "="
                                     << ""
                                     << "And ( 楼层 = '' )"
                                     << "并且 ( 楼层 = '' )";
        QTest::newRow("empty like") << "地址"
                                    << "地址"
                                    << "like"
                                    << ""
                                    << "And ( 地址 like '%%' )"
                                    << "并且 ( 地址 like '%%' )";
        QTest::newRow("caption differs") << "新旧程度"
                                         << "房龄"
                                         << ">"
                                         << "5"
                                         << "And ( 新旧程度 > '5' )"
                                         << "并且 ( 房龄 > '5' )";
        QTest::newRow("date from") << "录入日期"
                                   << "录入日期"
                                   << ">="
                                   << "260101"
                                   << "And ( 录入日期 >= '260101' )"
                                   << "并且 ( 录入日期 >= '260101' )";
        QTest::newRow("quote escaped, shown as typed") << "地址"
                                                       << "地址"
                                                       << "="
                                                       << "O'Neil"
                                                       << "And ( 地址 = 'O''Neil' )"
                                                       << "并且 ( 地址 = 'O'Neil' )";
        QTest::newRow("quote in like") << "地址"
                                       << "地址"
                                       << "like"
                                       << "'"
                                       << "And ( 地址 like '%''%' )"
                                       << "并且 ( 地址 like '%'%' )";
    }
    void conditionTexts()
    {
        QFETCH(QString, column);
        QFETCH(QString, caption);
        QFETCH(QString, op);
        QFETCH(QString, value);
        QFETCH(QString, where);
        QFETCH(QString, display);
        QCOMPARE(ConditionText::where(column, op, value), where);
        QCOMPARE(ConditionText::display(caption, op, value), display);
    }

    void valueSource_data()
    {
        QTest::addColumn<QString>("table");
        QTest::addColumn<QString>("column");
        QTest::addColumn<QStringList>("lines");
        QTest::newRow("table given")
            << "房屋信息"
            << "楼层" << QStringList{"select distinct 楼层 from 房屋信息", "where 楼层<>null"};
        QTest::newRow("table in the column")
            << ""
            << "客户信息.户型"
            << QStringList{"select distinct 户型 from 客户信息", "where 户型<>null"};
    }
    void valueSource()
    {
        QFETCH(QString, table);
        QFETCH(QString, column);
        QFETCH(QStringList, lines);
        QCOMPARE(ConditionText::valueListSql(ConditionText::valueSource(table, column)), lines);
    }

    void pickerFilterText_data()
    {
        QTest::addColumn<QString>("base");
        QTest::addColumn<QString>("typed");
        QTest::addColumn<QString>("filter");
        QTest::newRow("empty text gives the base") << "类型='有效'"
                                                   << "  "
                                                   << "类型='有效'";
        QTest::newRow("no base") << ""
                                 << " 01 "
                                 << "员工编号 like '%01%'";
        QTest::newRow("blank base") << "  "
                                    << "01"
                                    << "员工编号 like '%01%'";
        QTest::newRow("with base") << "类型='有效'"
                                   << "01"
                                   << "类型='有效' and 员工编号 like '%01%'";
        QTest::newRow("quote escaped") << ""
                                       << "O'B"
                                       << "员工编号 like '%O''B%'";
    }
    void pickerFilterText()
    {
        QFETCH(QString, base);
        QFETCH(QString, typed);
        QFETCH(QString, filter);
        QCOMPARE(pickerFilter(base, QStringLiteral("员工编号"), typed), filter);
    }

    // ---- the window ----------------------------------------------------------

    void opensEmpty()
    {
        TFrmPubQuery w;
        QCOMPARE(PubWhere, QString());
        QCOMPARE(comboItems(w.cbZDM), (QStringList{"档案号", "楼层", "地址", "房龄"}));
        QCOMPARE(w.cbZDM->currentIndex(), -1);
        QCOMPARE(comboItems(w.cbCZF), (QStringList{"=", ">", ">=", "<", "<=", "<>", "like"}));
        QCOMPARE(w.cbCZF->currentText(), QStringLiteral("="));
        QVERIFY(w.MmAnd->toPlainText().isEmpty());
        QCOMPARE(w.SpeedButton1->toolTip(), QStringLiteral("列出所有可能值"));
    }

    void noColumnChosen()
    {
        DialogsScope d;
        TFrmPubQuery w;
        w.cbZDZ->setEditText(QStringLiteral("3"));
        ui::click(w.btnAnd);
        QCOMPARE(d->messages(), QStringList{"字段名不能为空"});
        QCOMPARE(PubWhere, QString());
        QVERIFY(w.MmAnd->toPlainText().isEmpty());
    }

    void twoConditionsWithoutBlankBetween()
    {
        TFrmPubQuery w;
        add(w, "楼层", "=", " 3 ");
        add(w, "地址", "like", "花园");
        QCOMPARE(PubWhere, QStringLiteral("And ( 楼层 = '3' )And ( 地址 like '%花园%' )"));
        QCOMPARE(w.MmAnd->toPlainText(),
                 QStringLiteral("并且 ( 楼层 = '3' )\n并且 ( 地址 like '%花园%' )"));
        // The drop-downs keep their choice; the same condition twice is added twice.
        QCOMPARE(w.cbZDM->currentText(), QStringLiteral("地址"));
        ui::click(w.btnAnd);
        QCOMPARE(PubWhere.count(QStringLiteral("花园")), 2);
        QCOMPARE(countWhere(PubWhere), 0);
    }

    void captionShownColumnSearched()
    {
        TFrmPubQuery w;
        add(w, "房龄", ">", "5");
        QCOMPARE(PubWhere, QStringLiteral("And ( 新旧程度 > '5' )"));
        QCOMPARE(w.MmAnd->toPlainText(), QStringLiteral("并且 ( 房龄 > '5' )"));
        QCOMPARE(countWhere(PubWhere), 1);
    }

    void clearEmptiesBoth()
    {
        DialogsScope d;
        TFrmPubQuery w;
        add(w, "楼层", "=", "3");
        ui::click(w.btnClear);
        QCOMPARE(PubWhere, QString());
        QVERIFY(w.MmAnd->toPlainText().isEmpty());
        ui::click(w.SpeedButton4);
        QCOMPARE(w.result(), int(QDialog::Accepted));
        QCOMPARE(countWhere(PubWhere), 4); // no condition finds every row
    }

    void cancelResult()
    {
        TFrmPubQuery w;
        ui::click(w.SpeedButton5);
        QCOMPARE(w.result(), int(QDialog::Rejected));
    }

    // A value that holds a quote is searched for literally instead of breaking the statement.
    void quoteFoundLiterally_data()
    {
        QTest::addColumn<QString>("op");
        QTest::addColumn<QString>("value");
        QTest::addColumn<int>("found");
        QTest::newRow("equal") << "="
                               << "O'Neil路1号" << 1;
        QTest::newRow("like") << "like"
                              << "'" << 1;
        QTest::newRow("injection attempt") << "="
                                           << "x' or '1'='1" << 0;
    }
    void quoteFoundLiterally()
    {
        QFETCH(QString, op);
        QFETCH(QString, value);
        QFETCH(int, found);
        TFrmPubQuery w;
        add(w, "地址", op, value);
        QCOMPARE(countWhere(PubWhere), found);
    }

    void pastedValues_data()
    {
        QTest::addColumn<QString>("pasted");
        QTest::addColumn<int>("kept"); // characters left in the box
        QTest::addColumn<int>("found");
        QTest::newRow("past the file engine's like limit")
            << QString(16700, QChar(0x8DEF)) << kSearchChars << 0;
        QTest::newRow("NUL") << QStringLiteral("花园") + QChar(0) + QStringLiteral("路") << 4 << 1;
    }
    // A value pasted into the value box gives a condition the engine runs.
    void pastedValues()
    {
        QFETCH(QString, pasted);
        QFETCH(int, kept);
        QFETCH(int, found);
        TFrmPubQuery w;
        w.cbZDZ->lineEdit()->insert(pasted);
        QCOMPARE(w.cbZDZ->currentText().size(), kept);
        add(w, "地址", "like", w.cbZDZ->currentText());
        QCOMPARE(countWhere(PubWhere), found);
    }

    void emptyLikeMatchesEveryNonNull()
    {
        TFrmPubQuery w;
        add(w, "楼层", "like", "");
        QCOMPARE(PubWhere, QStringLiteral("And ( 楼层 like '%%' )"));
        QCOMPARE(countWhere(PubWhere), 3);
    }

    void valueListLeavesOutNulls_data()
    {
        QTest::addColumn<QString>("table");
        QTest::addColumn<QStringList>("fields");
        QTest::addColumn<QString>("caption");
        QTest::addColumn<QStringList>("values");
        QTest::newRow("floor") << "房屋信息" << listingFields() << "楼层" << QStringList{"3", "5"};
        QTest::newRow("caption differs")
            << "房屋信息" << listingFields() << "房龄" << QStringList{"5", "9"};
        QTest::newRow("table in the column name")
            << "" << QStringList{"房屋信息.楼层;楼层"} << "楼层" << QStringList{"3", "5"};
    }
    void valueListLeavesOutNulls()
    {
        QFETCH(QString, table);
        QFETCH(QStringList, fields);
        QFETCH(QString, caption);
        QFETCH(QStringList, values);
        PubTable = table;
        PubFields = fields;
        DialogsScope d;
        TFrmPubQuery w;
        w.cbZDM->setCurrentIndex(w.cbZDM->findText(caption));
        w.cbZDZ->setEditText(QStringLiteral("typed"));
        ui::click(w.SpeedButton1);
        QStringList got = comboItems(w.cbZDZ);
        got.sort();
        QCOMPARE(got, values);
        QCOMPARE(w.cbZDZ->currentText(), QStringLiteral("typed"));
        QVERIFY(d->messages().isEmpty());
        QVERIFY(!dmbasic->QryPUB.isActive());
    }

    void valueListWithoutColumnOnlyEmpties()
    {
        DialogsScope d;
        TFrmPubQuery w;
        w.cbZDZ->addItems({"a", "b"});
        ui::click(w.SpeedButton1);
        QCOMPARE(w.cbZDZ->count(), 0);
        QVERIFY(d->messages().isEmpty());
    }

    void valueListFailure()
    {
        PubFields = QStringList{"无此列;无此列"};
        DialogsScope d;
        TFrmPubQuery w;
        w.cbZDM->setCurrentIndex(0);
        ui::click(w.SpeedButton1);
        QCOMPARE(d->messages(), QStringList{"列举出错！"});
        QCOMPARE(w.cbZDZ->count(), 0);
    }
};

HALVORRA_TEST_MAIN(TestPubQuery)
#include "tst_pubquery.moc"
