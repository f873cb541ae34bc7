// The query window of both registers: the first search, the tool bar, the lists,
// the digits-only boxes, refused additions, the delete question, the grid and its
// column widths, failed searches, printing, the condition builder, the date
// pickers, the hand-overs to the column chooser and the Excel export, the record
// card from 查看 and a double click.
#include "data/Text.h"
#include "export/U_PubExport.h"
#include "pickers/PubParams.h"
#include "pickers/U_PubQuery.h"
#include "pickers/U_SelectItem.h"
#include "pickers/U_SelectRQ.h"
#include "tests/registers/RegisterTests.h"
#include "widgets/CharLimit.h"
#include "widgets/WidgetUtil.h"

#include <QHeaderView>
#include <QPrintPreviewDialog>
#include <QStyle>
#include <array>

class TestRegisterQuery : public QObject, private QueryTest
{
    Q_OBJECT

    // This month: A valid, B invalid, D valid; C of last month.
    void openWithRows(const QString& name)
    {
        const Register& reg = registerNamed(name);
        reg.add(*db, "001261203001", "261203", "有效");
        reg.add(*db, "001261205001", "261205", "无效");
        reg.add(*db, "001261101001", "261101", "有效");
        reg.add(*db, "001261208001", "261208", "有效");
        open(name);
    }
    // Runs f and checks that no modal window was opened meanwhile.
    void noDialogWhen(const std::function<void()>& f)
    {
        int execs = 0;
        d->execs.push_back([&](QDialog*) {
            ++execs;
            return int(QDialog::Rejected);
        });
        f();
        QCOMPARE(execs, 0);
        d->execs.clear();
    }
private slots:
    void init() { start(Roles::Ordinary); }
    void cleanup() { stop(); }

    void openingShowsThisMonthBothValidities_data() { perRegister(); }
    void openingShowsThisMonthBothValidities()
    {
        QFETCH(QString, reg);
        openWithRows(reg);
        QCOMPARE(r->current(), w.get());
        QCOMPARE(shown(), QStringList({"001261203001", "001261205001", "001261208001"}));
        QVERIFY(w->cbSFYX->isChecked());
        QCOMPARE(w->edtRQ1->text(), QString("261201"));
        QCOMPARE(w->edtRQ2->text(), QString("261209"));
        QVERIFY(w->edtRQ1->isReadOnly() && w->edtRQ2->isReadOnly());
        QCOMPARE(w->DBGridEh1->footerText(0), QString("3"));
        // 速查 unchanged shows only the valid ones; unticked only the invalid ones.
        ui::click(w->BitBtn5);
        QCOMPARE(shown(), QStringList({"001261203001", "001261208001"}));
        QCOMPARE(w->DBGridEh1->footerText(0), QString("2"));
        w->cbSFYX->setChecked(false);
        ui::click(w->BitBtn5);
        QCOMPARE(shown(), QStringList({"001261205001"}));
        QVERIFY(d->messages().isEmpty());
        w.reset();
        QVERIFY(!r->current());
    }

    // Left to right; the navigator moves through the result; 退出 closes the window
    // and its result.
    void toolBar_data() { perRegister(); }
    void toolBar()
    {
        QFETCH(QString, reg);
        openWithRows(reg);
        const QList<QPair<QWidget*, QString>> bar = {
            {w->DBNavigator1, ""},     {w->BitBtn1, "查询"}, {w->btnLL, "查看"},
            {w->BitBtn2, "项目"},      {w->BitBtn3, "导出"}, {w->BitBtn6, "导入"},
            {w->BitBtn8, "生成Excel"}, {w->Button1, "打印"}, {w->BitBtn4, "退出"}};
        for (int i = 1; i < bar.size(); ++i) {
            QCOMPARE(qobject_cast<QPushButton*>(bar[i].first)->text(), bar[i].second);
            QVERIFY(bar[i].first->x() > bar[i - 1].first->x());
        }
        int visible = 0;
        for (int b = 0; b < DbNavigator::ButtonCount; ++b)
            visible += w->DBNavigator1->button(DbNavigator::Button(b))->isVisible() ? 1 : 0;
        QCOMPARE(visible, 4);
        Query& q = w->rows();
        ui::click(w->DBNavigator1->button(DbNavigator::Last));
        QCOMPARE(q.recNo(), q.recordCount() - 1);
        ui::click(w->DBNavigator1->button(DbNavigator::Prior));
        QCOMPARE(q.recNo(), q.recordCount() - 2);
        ui::click(w->DBNavigator1->button(DbNavigator::First));
        QCOMPARE(q.recNo(), 0);
        ui::click(w->BitBtn4);
        QVERIFY(!w->isVisible());
        QVERIFY(!q.isActive());
    }

    void dictionaryLists_data()
    {
        QTest::addColumn<QString>("reg");
        QTest::addColumn<bool>("anyFirst");
        QTest::addColumn<QString>("firstMode");
        QTest::newRow("房源") << "房源" << false << "出售";
        QTest::newRow("客户: 不限 first") << "客户" << true << "求购";
    }
    void dictionaryLists()
    {
        QFETCH(QString, reg);
        QFETCH(bool, anyFirst);
        QFETCH(QString, firstMode);
        db->exec("delete from 楼层字典");
        db->exec("insert into 楼层字典 values ('一楼')");
        db->exec("insert into 楼层字典 values ('二楼')");
        openWithRows(reg);
        const QStringList floors =
            anyFirst ? QStringList{"不限", "一楼", "二楼"} : QStringList{"一楼", "二楼"};
        QCOMPARE(itemsOf(w->cbLC), floors);
        QCOMPARE(w->cbHX->itemText(0) == "不限", anyFirst);
        QCOMPARE(w->cbWZ->itemText(0) == "不限", anyFirst);
        QCOMPARE(w->cbFS->itemText(0), firstMode);
        for (QComboBox* cb : {w->cbLC, w->cbHX, w->cbFS, w->cbWZ}) {
            QVERIFY(cb->count() > 1);
            QCOMPARE(cb->currentIndex(), -1);
            QCOMPARE(cb->currentText(), QString());
        }
    }

    void digitsOnlyBoxes_data()
    {
        QTest::addColumn<QString>("reg");
        QTest::addColumn<QString>("box");
        for (const char* box : {"edtMJ1", "edtMJ2", "edtJG1", "edtJG2", "edtXJCD1", "edtXJCD2"})
            QTest::newRow(qPrintable(QString("房源 ") + box)) << "房源" << box;
        for (const char* box : {"edtMJ1", "edtJG1"})
            QTest::newRow(qPrintable(QString("客户 ") + box)) << "客户" << box;
    }
    void digitsOnlyBoxes()
    {
        QFETCH(QString, reg);
        QFETCH(QString, box);
        openWithRows(reg);
        auto* e = ui::find<QLineEdit>(w.get(), box);
        e->setFocus();
        QTest::keyClicks(e, "1a2.-3");
        QCOMPARE(e->text(), QString("123"));
        e->insert("4x"); // what a paste does
        QVERIFY2(QRegularExpression("^[0-9]*$").match(e->text()).hasMatch(), qPrintable(e->text()));
        e->setText("123");
        QTest::keyClick(e, Qt::Key_Backspace);
        QCOMPARE(e->text(), QString("12"));
    }

    void searchTextsPasted_data()
    {
        QTest::addColumn<QString>("reg");
        QTest::addColumn<QString>("box");
        QTest::addColumn<QString>("pasted");
        QTest::addColumn<QString>("kept");
        const QString house = QString::fromUcs4(U"\U0001F3E0");
        const QList<std::array<QString, 3>> texts = {
            // Past the file engine's like limit: only a search box's worth is kept.
            {"too long", QString(16700, QChar(0x623F)), QString(kSearchChars, QChar(0x623F))},
            // The limit counts characters, and never keeps half of one.
            {"emoji at the limit", QString(kSearchChars - 1, QChar(0x623F)) + house + "x",
             QString(kSearchChars - 1, QChar(0x623F)) + house},
            // Dropped before the statement is built.
            {"NUL", QStringLiteral("阳") + QChar(0) + QStringLiteral("光"),
             QStringLiteral("阳") + QChar(0) + QStringLiteral("光")}};
        for (const QString& reg : registerNames()) {
            for (const auto& t : texts)
                QTest::newRow(qPrintable(reg + " edtXQDZ " + t[0]))
                    << reg << "edtXQDZ" << t[1] << t[2];
            for (const char* box : {"cbFS", "cbLC", "cbHX", "cbWZ"})
                QTest::newRow(qPrintable(reg + " " + box + " " + texts[0][0]))
                    << reg << box << texts[0][1] << texts[0][2];
        }
    }
    // Whatever is pasted into a search box, 速查 shows a result, never an engine
    // error: the rows the text finds without its control characters.
    void searchTextsPasted()
    {
        QFETCH(QString, reg);
        QFETCH(QString, box);
        QFETCH(QString, pasted);
        QFETCH(QString, kept);
        openWithRows(reg);
        auto* combo = qobject_cast<QComboBox*>(ui::find<QWidget>(w.get(), box));
        QLineEdit* e = combo ? combo->lineEdit() : ui::find<QLineEdit>(w.get(), box);
        e->setFocus();
        e->insert(pasted); // what a paste does
        QCOMPARE(e->text(), kept);
        ui::click(w->BitBtn5);
        QVERIFY2(d->messages().isEmpty(), qPrintable(d->messages().join('\n')));
        QVERIFY(w->rows().isActive());
        const QStringList found = shown();
        e->setText(Text::withoutControls(kept));
        ui::click(w->BitBtn5);
        QCOMPARE(found, shown());
    }

    void additionsRefusedSilently_data() { perRegister(); }
    void additionsRefusedSilently()
    {
        QFETCH(QString, reg);
        openWithRows(reg);
        const int n = w->rows().recordCount();
        QVERIFY_THROWS_EXCEPTION(SilentAbort, w->rows().append());
        QCOMPARE(w->rows().recordCount(), n);
        QVERIFY(!w->rows().isEditing());
        QVERIFY(d->shown.isEmpty());
    }

    void deleteAsksFirst_data()
    {
        QTest::addColumn<QString>("reg");
        QTest::addColumn<QString>("question");
        QTest::newRow("房源") << "房源"
                              << "是否删除选择的房源信息档案？";
        QTest::newRow("客户") << "客户"
                              << "是否删除选择的客户信息档案？";
    }
    void deleteAsksFirst()
    {
        QFETCH(QString, reg);
        QFETCH(QString, question);
        openWithRows(reg);
        w->rows().first();
        const QString first = w->rows().text("档案号");
        d->answers = {false};
        w->DataSetDelete1->trigger();
        QCOMPARE(d->questions(), QStringList{question});
        QCOMPARE(stored(r->table, first, "count(*)").toInt(), 1);
        QVERIFY(d->messages().isEmpty());
        d->answers = {true};
        w->DataSetDelete1->trigger();
        QCOMPARE(stored(r->table, first, "count(*)").toInt(), 0);
        QCOMPARE(w->DBGridEh1->footerText(0), QString("2"));
    }

    void gridColumns_data()
    {
        QTest::addColumn<QString>("reg");
        QTest::addColumn<QStringList>("columns"); // field/title/width (-1: default)
        QTest::addColumn<int>("amount");          // a column shown as "0.00"
        QTest::newRow("房源") << "房源"
                              << QStringList{"档案号/档案号/-1",     "类型/类型/-1",
                                             "期限/期限/-1",         "方式/方式/-1",
                                             "权属/权属/-1",         "小区名称/小区名称/136",
                                             "地址/地址/211",        "房屋面积/房屋面积/-1",
                                             "楼层/楼层/-1",         "户型/户型/98",
                                             "信息价格/信息价格/-1", "位置/位置/149",
                                             "设施/设施/239",        "公交线路/公交线路/137",
                                             "新旧程度/房龄/-1",     "最后跟进/最后跟进/-1",
                                             "照片/照片/50"}
                              << 7;
        QTest::newRow("客户") << "客户"
                              << QStringList{"档案号/档案号/-1",     "类型/类型/-1",
                                             "需求方式/需求方式/-1", "权属/权属/-1",
                                             "地址描述/地址描述/-1", "面积1/面积1/-1",
                                             "面积2/面积2/-1",       "价格1/价格1/-1",
                                             "价格2/价格2/-1",       "需求设施/需求设施/-1",
                                             "楼层/楼层/-1",         "户型/户型/-1",
                                             "录入日期/录入日期/73", "最后跟进/最后跟进/-1"}
                              << 8;
    }
    void gridColumns()
    {
        QFETCH(QString, reg);
        QFETCH(QStringList, columns);
        QFETCH(int, amount);
        openWithRows(reg);
        DbGrid* g = w->DBGridEh1;
        QCOMPARE(g->columnCount(), columns.size());
        for (int c = 0; c < columns.size(); ++c) {
            const QStringList col = columns[c].split('/');
            QCOMPARE(g->column(c).field, col[0]);
            QCOMPARE(g->column(c).title, col[1]);
            if (col[2] != "-1") QCOMPARE(g->columnWidth(c), col[2].toInt());
        }
        QVERIFY(g->view()->editTriggers() == QAbstractItemView::NoEditTriggers);
        QCOMPARE(g->view()->selectionBehavior(), QAbstractItemView::SelectRows);
        const QString text = g->model()->data(g->model()->index(0, amount)).toString();
        QVERIFY2(QRegularExpression("^[0-9]+\\.[0-9]{2}$").match(text).hasMatch(),
                 qPrintable(text));
    }

    // Columns of the default width are as wide as their values and titles, the
    // archive number first; a later search with wider values widens them.
    void defaultColumnsFitTheirValues_data() { perRegister(); }
    void defaultColumnsFitTheirValues()
    {
        QFETCH(QString, reg);
        openWithRows(reg);
        // An archive number of another office, with wide letters, entered last month.
        r->add(*db, "WMW261102001", "261102", "有效");
        w->edtRQ1->setText("261101");
        ui::click(w->BitBtn5);
        QVERIFY(shown().contains("WMW261102001"));
        DbGrid* g = w->DBGridEh1;
        QTableView* v = g->view();
        const QFontMetrics cells(v->font());
        const QFontMetrics titles(v->horizontalHeader()->font());
        // The text margins the style keeps inside a cell and inside a title.
        const int margin =
            2 * (v->style()->pixelMetric(QStyle::PM_FocusFrameHMargin, nullptr, v) + 1);
        const int titleMargin = 2 * v->style()->pixelMetric(QStyle::PM_HeaderMargin, nullptr, v);
        int checked = 0;
        for (int c = 0; c < g->columnCount(); ++c) {
            if (g->column(c).width > 0) continue;
            const int width = g->columnWidth(c);
            QVERIFY2(titles.horizontalAdvance(g->column(c).title) + titleMargin <= width,
                     qPrintable(g->column(c).title));
            for (int row = 0; row < g->model()->rowCount(); ++row) {
                const QString text = g->model()->data(g->model()->index(row, c)).toString();
                if (text.contains('\n')) continue;
                QVERIFY2(cells.horizontalAdvance(text) + margin <= width,
                         qPrintable(
                             QString("%1: %2 in %3 px").arg(g->column(c).title, text).arg(width)));
                ++checked;
            }
        }
        QVERIFY(checked > 0);
    }

    void failedSearchLeavesNothingToPrintOrExport_data() { perRegister(); }
    void failedSearchLeavesNothingToPrintOrExport()
    {
        QFETCH(QString, reg);
        openWithRows(reg);
        dmbasic->adoCntnfybase.execute(QString("alter table %1 rename to 改名").arg(r->table));
        ui::click(w->BitBtn5);
        QCOMPARE(d->messages().size(), 1); // the engine's own text, through the default display
        QVERIFY(!w->rows().isActive());
        QCOMPARE(w->DBGridEh1->model()->rowCount(), 0);
        noDialogWhen([&] {
            ui::click(w->Button1);
            ui::click(w->BitBtn8);
        });
        QCOMPARE(d->messages().size(), 1);
        dmbasic->adoCntnfybase.execute(QString("alter table 改名 rename to %1").arg(r->table));
        ui::click(w->BitBtn5);
        QVERIFY(w->rows().isActive());
    }

    void printOpensThePreviewOnlyWhenReady_data() { perRegister(); }
    void printOpensThePreviewOnlyWhenReady()
    {
        QFETCH(QString, reg);
        openWithRows(reg);
        bool preview = false;
        d->execs.push_back([&](QDialog* dlg) {
            preview = qobject_cast<QPrintPreviewDialog*>(dlg) != nullptr;
            return int(QDialog::Rejected);
        });
        ui::click(w->Button1);
        QVERIFY(preview);
        // While a row is being edited nothing happens.
        w->rows().edit();
        noDialogWhen([&] {
            ui::click(w->Button1);
            ui::click(w->BitBtn8);
        });
        w->rows().cancel();
    }

    void builderSearch_data()
    {
        QTest::addColumn<QString>("reg");
        QTest::addColumn<int>("listed"); // entries the builder's list shows at a time
        QTest::addColumn<int>("fields");
        QTest::addColumn<int>("result");
        QTest::addColumn<QString>("where");
        QTest::addColumn<int>("rows"); // -1: the result is closed
        QTest::addColumn<QString>("message");
        for (const QString& name : registerNames()) {
            const int listed = name == "房源" ? 14 : 11;
            const int fields = name == "房源" ? 15 : 11;
            QTest::newRow(qPrintable(name + " no condition: every date and validity"))
                << name << listed << fields << int(QDialog::Accepted) << "" << 4 << "";
            QTest::newRow(qPrintable(name + " one condition"))
                << name << listed << fields << int(QDialog::Accepted) << "And ( 类型 = '无效' ) "
                << 1 << "";
            QTest::newRow(qPrintable(name + " cancelled: previous result stays"))
                << name << listed << fields << int(QDialog::Rejected) << "" << 3 << "";
            QTest::newRow(qPrintable(name + " failing condition"))
                << name << listed << fields << int(QDialog::Accepted) << "And ( 没有此列 = '1' ) "
                << -1 << "您所选择的查询条件出错！";
        }
    }
    void builderSearch()
    {
        QFETCH(QString, reg);
        QFETCH(int, listed);
        QFETCH(int, fields);
        QFETCH(int, result);
        QFETCH(QString, where);
        QFETCH(int, rows);
        QFETCH(QString, message);
        openWithRows(reg);
        bool seen = false;
        d->execs.push_back([&](QDialog* dlg) {
            auto* b = qobject_cast<TFrmPubQuery*>(dlg);
            seen = b && b->cbZDM->maxVisibleItems() == listed && PubTable == r->table &&
                   PubFields.size() == fields;
            PubWhere = where;
            return result;
        });
        ui::click(w->BitBtn1);
        QVERIFY(seen);
        QCOMPARE(w->rows().isActive(), rows >= 0);
        if (rows >= 0) QCOMPARE(w->rows().recordCount(), rows);
        QCOMPARE(d->messages().join('|'), message);
        if (message.isEmpty()) return;
        QCOMPARE(d->shown.last().kind, QString("okCancel"));
        noDialogWhen([&] {
            ui::click(w->Button1);
            ui::click(w->BitBtn8);
        });
    }

    void datePickers_data()
    {
        QTest::addColumn<QString>("reg");
        QTest::addColumn<bool>("ok");
        QTest::addColumn<QString>("rq1");
        QTest::addColumn<QStringList>("found"); // up to the end date 261204
        for (const QString& name : registerNames()) {
            QTest::newRow(qPrintable(name + " chosen"))
                << name << true << "261205" << QStringList();
            QTest::newRow(qPrintable(name + " cancelled"))
                << name << false << "261201" << QStringList{"001261203001"};
        }
    }
    void datePickers()
    {
        QFETCH(QString, reg);
        QFETCH(bool, ok);
        QFETCH(QString, rq1);
        QFETCH(QStringList, found);
        openWithRows(reg);
        QDate started;
        d->execs.push_back([&](QDialog* dlg) {
            auto* p = qobject_cast<TdlgSelectRQ*>(dlg);
            started = p->date();
            p->setDate(QDate(2026, 12, 5));
            return int(ok ? QDialog::Accepted : QDialog::Rejected);
        });
        ui::click(w->Button2);
        QCOMPARE(started, QDate::currentDate()); // today, not the box's date
        QCOMPARE(w->edtRQ1->text(), rq1);
        d->execs.push_back([&](QDialog* dlg) {
            qobject_cast<TdlgSelectRQ*>(dlg)->setDate(QDate(2026, 12, 4));
            return int(QDialog::Accepted);
        });
        ui::click(w->Button3);
        QCOMPARE(w->edtRQ2->text(), QString("261204"));
        ui::click(w->BitBtn5);
        QCOMPARE(shown(), found);
    }

    void columnChooserAndExportHandOver_data()
    {
        QTest::addColumn<QString>("reg");
        QTest::addColumn<QString>("title");
        QTest::newRow("房源") << "房源"
                              << "房源信息查询";
        QTest::newRow("客户") << "客户"
                              << "客户信息查询";
    }
    void columnChooserAndExportHandOver()
    {
        QFETCH(QString, reg);
        QFETCH(QString, title);
        openWithRows(reg);
        bool chooser = false, exported = false;
        d->execs.push_back([&](QDialog* dlg) {
            chooser = qobject_cast<TdlgSelectItem*>(dlg) && PubGrid == w->DBGridEh1;
            return int(QDialog::Rejected);
        });
        ui::click(w->BitBtn2);
        QVERIFY(chooser);
        w->rows().last();
        d->execs.push_back([&](QDialog* dlg) {
            auto* e = qobject_cast<TFrmPubExport*>(dlg);
            exported = e && e->edtTitle->text() == title && PubGrid == w->DBGridEh1 && PubDataSet &&
                       PubDataSet != &w->rows() && PubDataSet->isActive() &&
                       PubDataSet->recordCount() == 3;
            return int(QDialog::Rejected);
        });
        ui::click(w->BitBtn8);
        QVERIFY(exported);
        QCOMPARE(w->rows().recNo(), 2);
        QVERIFY(!PubDataSet);
    }

    void viewOnEmptyResult_data() { perRegister(); }
    void viewOnEmptyResult()
    {
        QFETCH(QString, reg);
        openWithRows(reg);
        w->edtRQ1->setText("990101");
        ui::click(w->BitBtn5);
        QCOMPARE(w->rows().recordCount(), 0);
        bool checked = false;
        d->execs.push_back([&](QDialog* dlg) {
            auto* card = qobject_cast<RecordCard*>(dlg);
            auto* box = ui::find<QLineEdit>(card, r->textBox);
            checked =
                box->text().isEmpty() && !card->Button1->isEnabled() && !card->Button3->isEnabled();
            // Typing into the empty card adds nothing.
            ui::type(box, "新的");
            return int(QDialog::Rejected);
        });
        ui::click(w->btnLL);
        QVERIFY(checked);
        QVERIFY(d->messages().isEmpty());
        QCOMPARE(w->rows().recordCount(), 0);
    }

    void viewAndDoubleClickOpenTheCard_data() { perRegister(); }
    void viewAndDoubleClickOpenTheCard()
    {
        QFETCH(QString, reg);
        openWithRows(reg);
        int cards = 0;
        for (int i = 0; i < 2; ++i)
            d->execs.push_back([&](QDialog* dlg) {
                cards += qobject_cast<RecordCard*>(dlg) && w->card() == dlg ? 1 : 0;
                return int(QDialog::Rejected);
            });
        ui::click(w->btnLL);
        emit w->DBGridEh1->rowDoubleClicked();
        QCOMPARE(cards, 2);
        QVERIFY(!w->card());
    }

    void newRowsShowAfterTheNextSearch_data() { perRegister(); }
    void newRowsShowAfterTheNextSearch()
    {
        QFETCH(QString, reg);
        openWithRows(reg);
        r->add(*db, "001261209001", "261209", "有效");
        QCOMPARE(w->rows().recordCount(), 3);
        ui::click(w->BitBtn5);
        QVERIFY(shown().contains("001261209001"));
    }
};

HALVORRA_TEST_MAIN(TestRegisterQuery)
#include "tst_register_query.moc"
