// 匹配客户 / 匹配房源 from both query tool bars and both record cards: the button
// after the fixed controls and only with a current row, the result, a double click
// to the other register's card where 保存 works and the result follows, personal
// data by role, unsaved changes on a card, and windows opened within each other;
// the other register's card works over rows of its own, no query window is built.
#include "matching/Frm_ppjg.h"
#include "tests/registers/RegisterTests.h"

#include <QTableView>

namespace
{

const QString kListing = QStringLiteral("001261203001");
const QString kCustomer = QStringLiteral("001261204001");

// The listing and the customer that match, and one of each that matches nothing.
void addRows(const TestDb& db)
{
    const auto listing = [&](const QString& dah, const QString& mode) {
        insertRow(db, "房屋信息",
                  {{"档案号", dah},
                   {"类型", "有效"},
                   {"方式", mode},
                   {"房屋面积", 80.0},
                   {"信息价格", 100.0},
                   {"户型", "两室"},
                   {"楼层", "中层"},
                   {"位置", "城东"},
                   {"权属", "商品房"},
                   {"小区名称", "阳光花园"},
                   {"地址", "人民路12号"},
                   {"设施", "煤气 暖气"},
                   {"房主姓名", "王房主"},
                   {"电话", "66668888"},
                   {"录入日期", dah.mid(3, 6)},
                   {"公司编号", "001"},
                   {"序号", dah.right(3)}});
    };
    const auto customer = [&](const QString& dah, const QString& mode) {
        insertRow(db, "客户信息",
                  {{"档案号", dah},
                   {"类型", "有效"},
                   {"需求方式", mode},
                   {"面积1", 60.0},
                   {"面积2", 90.0},
                   {"价格1", 80.0},
                   {"价格2", 120.0},
                   {"户型", "两室"},
                   {"楼层", "中层"},
                   {"位置", "城东"},
                   {"权属", "商品房"},
                   {"地址描述", "不限"},
                   {"需求设施", "煤气"},
                   {"客户姓名", "李客户"},
                   {"电话", "55557777"},
                   {"录入日期", dah.mid(3, 6)},
                   {"公司编号", "001"},
                   {"序号", dah.right(3)}});
    };
    listing(kListing, "出售");
    listing("001261203002", "出租");
    customer(kCustomer, "求购");
    customer("001261204002", "求租");
}

// The other register, its archive number here, and a text its card changes that
// the result shows and that leaves the pair matching.
struct Side {
    const Register* reg;
    QString archive, card, button, newText;
};

Side ownSide(const QString& name)
{
    return name == "房源"
               ? Side{&registerNamed("房源"), kListing, "FrmLLFZ", "匹配客户", "阳光新苑"}
               : Side{&registerNamed("客户"), kCustomer, "FrmLLKH", "匹配房源", "人民路"};
}

Side otherSide(const QString& name)
{
    return ownSide(name == "房源" ? "客户" : "房源");
}

QString cell(TFrmPPJG* w, const QString& field)
{
    const Query& q = w->qryPP;
    return q.valueAt(q.recNo(), q.fieldIndex(field)).toString();
}

void doubleClickFirstRow(TFrmPPJG* w)
{
    QTableView* v = w->gridPP->view();
    const QRect r = v->visualRect(v->model()->index(0, 3));
    QTest::mouseClick(v->viewport(), Qt::LeftButton, {}, r.center());
    QTest::mouseDClick(v->viewport(), Qt::LeftButton, {}, r.center());
}

// Queues a handler for the next modal window: f runs with it shown, then it closes.
template <typename T> void whenShown(TestDialogs* d, const std::function<void(T*)>& f)
{
    d->execs.push_back([f](QDialog* dlg) {
        auto* w = qobject_cast<T*>(dlg);
        if (!w) qWarning("unexpected window %s", dlg->metaObject()->className());
        if (w) {
            w->show();
            f(w);
        }
        dlg->close();
        return dlg->result();
    });
}

} // namespace

class TestMatchOpen : public QObject, private QueryTest
{
    Q_OBJECT

    QueryFrame* openOn(const QString& name)
    {
        addRows(*db);
        QueryFrame* q = open(name);
        [&] { QVERIFY(q->rows().locate("档案号", ownSide(name).archive)); }();
        return q;
    }

    // Expects the other register's card over rows of its own holding only its
    // record, and no query window of that register; changes the text there, saves
    // and checks the stored row.
    void saveOnOtherCard(const Side& other, QueryFrame* under, bool senior, bool& seen)
    {
        whenShown<RecordCard>(d, [this, other, under, senior, &seen](RecordCard* card) {
            QCOMPARE(card->objectName(), other.card);
            QVERIFY(!other.reg->current() || other.reg->current() == under);
            QVERIFY(&card->records() != &under->records());
            const Query& holder = card->records().rows();
            QCOMPARE(holder.recordCount(), 1);
            QCOMPARE(holder.text("档案号"), other.archive);
            QCOMPARE(card->confidentialVisible(), senior);
            put(ui::find(card, other.reg->textBox), other.newText);
            ui::click(card->Button1);
            QVERIFY(!holder.isEditing());
            QCOMPARE(stored(other.reg->table, other.archive, other.reg->textColumn).toString(),
                     other.newText);
            seen = true;
        });
    }

private slots:
    void init() { start(Roles::Senior); }
    void cleanup()
    {
        d->execs.clear();
        stop();
    }

    // From each tool bar and each card; each register's result and card seen by a
    // role that sees personal data and by one that does not.
    void fromEachBarAndCard_data()
    {
        QTest::addColumn<QString>("reg");
        QTest::addColumn<bool>("fromCard");
        QTest::addColumn<QString>("role");
        QTest::newRow("房源 bar") << "房源" << false << Roles::Ordinary;
        QTest::newRow("房源 card") << "房源" << true << Roles::Senior;
        QTest::newRow("客户 bar") << "客户" << false << Roles::Senior;
        QTest::newRow("客户 card") << "客户" << true << Roles::Ordinary;
    }
    void fromEachBarAndCard()
    {
        QFETCH(QString, reg);
        QFETCH(bool, fromCard);
        QFETCH(QString, role);
        CurUser.GNZ = role;
        const bool senior = role != Roles::Ordinary;
        const Side own = ownSide(reg), other = otherSide(reg);
        QueryFrame* q = openOn(reg);
        QCOMPARE(q->btnPP->text(), own.button);

        bool fromCardSeen = false, resultSeen = false, otherCardSeen = false;
        if (fromCard)
            whenShown<RecordCard>(d, [&](RecordCard* card) {
                QCOMPARE(card->btnPP->text(), own.button);
                QVERIFY(card->btnPP->isEnabled());
                ui::click(card->btnPP);
                fromCardSeen = true;
            });
        whenShown<TFrmPPJG>(d, [&](TFrmPPJG* result) {
            QCOMPARE(result->windowTitle(), own.button);
            QCOMPARE(result->qryPP.recordCount(), 1);
            QCOMPARE(result->currentArchive(), other.archive);
            QCOMPARE(result->showsPersonalColumns(), senior);
            doubleClickFirstRow(result);
            QVERIFY(otherCardSeen);
            // Matched again: the saved text shows, the row still current.
            QCOMPARE(result->currentArchive(), other.archive);
            QCOMPARE(cell(result, other.reg->textColumn), other.newText);
            resultSeen = true;
        });
        saveOnOtherCard(other, q, senior, otherCardSeen);
        ui::click(fromCard ? q->btnLL : q->btnPP);
        QVERIFY(resultSeen);
        QCOMPARE(fromCardSeen, fromCard);
        QVERIFY(d->execs.empty());
        QVERIFY(d->messages().isEmpty());
        QCOMPARE(r->current(), q);
        QVERIFY(!other.reg->current());
    }

    // The button follows the fixed controls in place and in tab order.
    void afterTheFixedControls_data() { perRegister(); }
    void afterTheFixedControls()
    {
        QFETCH(QString, reg);
        QueryFrame* q = openOn(reg);
        const auto tabFrom = [](QWidget* window, QWidget* from) {
            window->activateWindow();
            QVERIFY(QTest::qWaitForWindowActive(window));
            from->setFocus();
            QTest::keyClick(from, Qt::Key_Tab);
        };
        QVERIFY(q->btnPP->x() > q->BitBtn4->x());
        tabFrom(q, q->BitBtn4);
        QCOMPARE(q->focusWidget(), q->btnPP);
        bool seen = false;
        whenShown<RecordCard>(d, [&](RecordCard* card) {
            // On the card: in the row under the fixed strip.
            const auto top = [card](QWidget* b) { return b->mapTo(card, QPoint(0, 0)).y(); };
            QVERIFY(top(card->btnPP) >= top(card->BitBtn1) + card->BitBtn1->height());
            tabFrom(card, card->BitBtn1);
            QCOMPARE(card->focusWidget(), card->btnPP);
            seen = true;
        });
        ui::click(q->btnLL);
        QVERIFY(seen);
    }

    // No current row: unavailable on the tool bar and on the card, also once the
    // card deleted the last row; a press matches nothing.
    void onlyWithACurrentRow_data() { perRegister(); }
    void onlyWithACurrentRow()
    {
        QFETCH(QString, reg);
        QueryFrame* q = openOn(reg);
        // A result window asked for would take this handler.
        bool unexpected = false;
        const auto expectNoWindow = [&] {
            d->execs.push_back([&](QDialog*) {
                unexpected = true;
                return int(QDialog::Rejected);
            });
        };
        q->cbSFYX->setChecked(false); // no invalid rows: an empty result
        ui::click(q->BitBtn5);
        QVERIFY(q->rows().isEmpty());
        QVERIFY(!q->btnPP->isEnabled());
        expectNoWindow();
        q->btnPPClick();
        QVERIFY(!unexpected);
        d->execs.clear();
        // The valid row, then deleted on the card.
        q->cbSFYX->setChecked(true);
        ui::click(q->BitBtn5);
        QVERIFY(q->rows().locate("档案号", ownSide(reg).archive));
        QVERIFY(q->btnPP->isEnabled());
        bool seen = false;
        whenShown<RecordCard>(d, [&](RecordCard* card) {
            QVERIFY(card->btnPP->isEnabled());
            d->answers.push_back(true);
            while (!q->rows().isEmpty())
                ui::click(card->Button3); // 删除
            QVERIFY(!card->btnPP->isEnabled());
            expectNoWindow();
            card->btnPPClick();
            QVERIFY(!unexpected);
            d->execs.clear();
            seen = true;
        });
        ui::click(q->btnLL);
        QVERIFY(seen);
        QVERIFY(!q->btnPP->isEnabled());
    }

    // Unsaved changes on the card are never matched or saved unasked: No keeps them
    // and matches nothing; Yes saves under the save rule, then matches the saved row;
    // a refused save shows its message and matches nothing.
    void unsavedChangesOnTheCard_data()
    {
        QTest::addColumn<QString>("reg");
        QTest::addColumn<QString>("change");  // control=value on the card
        QTest::addColumn<QString>("column");  // the column it changes
        QTest::addColumn<bool>("answer");     // to the question
        QTest::addColumn<QString>("message"); // of a refused save
        QTest::addColumn<QString>("mark");    // of the one row matched; empty: no result
        // A larger area (a smaller upper bound) misses the other side's by less than
        // 20 %: a near miss.
        QTest::newRow("房源 no") << "房源"
                                 << "DBEdit3=105"
                                 << "房屋面积" << false << ""
                                 << "";
        QTest::newRow("房源 yes") << "房源"
                                  << "DBEdit3=105"
                                  << "房屋面积" << true << ""
                                  << "接近";
        QTest::newRow("房源 yes, refused") << "房源"
                                           << "DBEdit1="
                                           << "小区名称" << true << "请录入小区名称"
                                           << "";
        QTest::newRow("客户 no") << "客户"
                                 << "DBEdit6=70"
                                 << "面积2" << false << ""
                                 << "";
        QTest::newRow("客户 yes") << "客户"
                                  << "DBEdit6=70"
                                  << "面积2" << true << ""
                                  << "接近";
    }
    void unsavedChangesOnTheCard()
    {
        QFETCH(QString, reg);
        QFETCH(QString, change);
        QFETCH(QString, column);
        QFETCH(bool, answer);
        QFETCH(QString, message);
        QFETCH(QString, mark);
        QueryFrame* q = openOn(reg);
        const QVariant before = stored(r->table, ownSide(reg).archive, column);
        const bool saved = answer && message.isEmpty();
        QString matched;
        whenShown<RecordCard>(d, [&](RecordCard* card) {
            putAll(card, {change});
            QVERIFY(q->rows().isEditing());
            d->answers.push_back(answer);
            whenShown<TFrmPPJG>(d, [&](TFrmPPJG* result) {
                QCOMPARE(result->qryPP.recordCount(), 1);
                matched = cell(result, "匹配");
            });
            ui::click(card->btnPP);
            d->execs.clear(); // the result window's handler, when none opened
            QCOMPARE(d->questions(), QStringList{"修改尚未保存，是否保存后再匹配？"});
            QCOMPARE(q->rows().isEditing(), !saved);
        });
        ui::click(q->btnLL);
        QCOMPARE(d->messages(), message.isEmpty() ? QStringList() : QStringList{message});
        QCOMPARE(matched, mark);
        const QVariant after = stored(r->table, ownSide(reg).archive, column);
        QCOMPARE(after == before, !saved);
    }

    // listing query → 匹配客户 → customer card → 匹配房源 → listing card (and the
    // other way round): each card saves its record; the query window stays the
    // register's reference throughout and no other query window is built.
    void nested_data() { perRegister(); }
    void nested()
    {
        QFETCH(QString, reg);
        const Side own = ownSide(reg), other = otherSide(reg);
        QueryFrame* q = openOn(reg);
        bool outerCard = false, innerCard = false, innerResult = false, outerResult = false;
        whenShown<TFrmPPJG>(d, [&](TFrmPPJG* result) {
            doubleClickFirstRow(result);
            QVERIFY(outerCard);
            QCOMPARE(r->current(), q);
            QVERIFY(!other.reg->current());
            outerResult = true;
        });
        whenShown<RecordCard>(d, [&](RecordCard* card) {
            QVERIFY(!other.reg->current());
            QCOMPARE(r->current(), q);
            ui::click(card->btnPP);
            QVERIFY(innerResult);
            QCOMPARE(r->current(), q);
            QVERIFY(!other.reg->current());
            outerCard = true;
        });
        whenShown<TFrmPPJG>(d, [&](TFrmPPJG* result) {
            QCOMPARE(result->currentArchive(), own.archive);
            doubleClickFirstRow(result);
            QVERIFY(innerCard);
            QCOMPARE(cell(result, own.reg->textColumn), own.newText);
            innerResult = true;
        });
        saveOnOtherCard(own, q, true, innerCard);
        ui::click(q->btnPP);
        QVERIFY(outerResult);
        QVERIFY(d->execs.empty());
        QCOMPARE(r->current(), q);
        QVERIFY(!other.reg->current());
        w.reset();
        QVERIFY(!r->current());
    }
};

HALVORRA_TEST_MAIN(TestMatchOpen)
#include "tst_match_open.moc"
