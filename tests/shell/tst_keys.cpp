// The keys every window shares, over every window of the program: Tab leaves every
// memo; Return in a text box, list or memo presses no button (but for a press the
// window's own rule names, as 确定 after the login password); Return on a focused
// button presses exactly that button.
#include "app/Frm_Log.h"
#include "app/Frm_main.h"
#include "app/Windows.h"
#include "customers/Frm_LLKH.h"
#include "export/U_PubExport.h"
#include "listings/Frm_LLFZ.h"
#include "pickers/PubParams.h"
#include "pickers/U_PubQuery.h"
#include "pickers/U_SelectPub.h"
#include "pickers/U_SelectRQ.h"
#include "records/Frm_xgjl.h"
#include "tests/registers/RegisterTests.h"

#include <QAbstractSpinBox>
#include <QSignalSpy>
#include <QTextEdit>
#include <QToolButton>

namespace
{

bool takesText(const QWidget* w)
{
    return qobject_cast<const QLineEdit*>(w) || qobject_cast<const QComboBox*>(w) ||
           qobject_cast<const QAbstractSpinBox*>(w) || qobject_cast<const QPlainTextEdit*>(w) ||
           qobject_cast<const QTextEdit*>(w);
}

bool reachable(const QWidget* w)
{
    return w->isVisible() && w->isEnabled() && (w->focusPolicy() & Qt::TabFocus);
}

} // namespace

class TestKeys : public QObject
{
    Q_OBJECT
    WindowTest t;
    std::unique_ptr<QueryFrame> owner; // the query window under a card, the grid of the pickers
    std::unique_ptr<Query> staff;

    std::unique_ptr<QWidget> make(const QString& name)
    {
        if (hasFunctionWindow(name))
            return std::unique_ptr<QWidget>(createFunctionWindow(name, nullptr));
        if (name == "FrmLLFZ" || name == "FrmLLKH" || name == "TFrmPubExport") {
            owner = registerNamed(name == "FrmLLKH" ? "客户" : "房源").queryWindow();
            owner->show();
            PubGrid = owner->DBGridEh1;
            PubDataSet = &owner->rows();
        }
        if (name == "FrmLLFZ")
            return std::make_unique<TFrmLLFZ>(static_cast<TFrmFYCX*>(owner.get()));
        if (name == "FrmLLKH")
            return std::make_unique<TFrmLLKH>(static_cast<TFrmKHCX*>(owner.get()));
        if (name == "FrmLog") return std::make_unique<TFrmLog>();
        if (name == "FrmXGJL")
            return std::make_unique<TFrmXGJL>("房屋信息", "001261203001", QStringList());
        if (name == "FrmMain") return std::make_unique<TFrmmain>();
        if (name == "TdlgSelectRQ") return std::make_unique<TdlgSelectRQ>();
        if (name == "TFrmPubExport") return std::make_unique<TFrmPubExport>();
        if (name == "TFrmPubQuery") {
            PubTable = "房屋信息";
            PubFields = {"档案号;档案号", "楼层;楼层"};
            return std::make_unique<TFrmPubQuery>();
        }
        staff = std::make_unique<Query>(&dmbasic->adoCntnfybase);
        staff->addSql("select 员工编号, 员工姓名 from 操作员档案 ");
        staff->open();
        PubDataSet = staff.get();
        PubBhField = "员工编号";
        PubMcField = "员工姓名";
        PubFilter.clear();
        return std::make_unique<TdlgSelectPub>();
    }

private slots:
    void init()
    {
        t.start();
        loginAs(Roles::Admin);
        CurUser.YGBH = "00001";
        addListing(*t.db, {"001261203001", "阳光花园", "东街1号"});
        addCustomer(*t.db, {"001261203001"});
    }
    void cleanup()
    {
        owner.reset();
        PubDataSet = nullptr;
        PubGrid = nullptr;
        staff.reset();
        t.stop();
    }

    std::unique_ptr<QWidget> show(const QString& name)
    {
        std::unique_ptr<QWidget> w = make(name);
        w->show();
        w->activateWindow();
        if (!QTest::qWaitForWindowActive(w.get())) qWarning("window not active");
        return w;
    }

    // Every window, but the column chooser (its flat buttons take no focus and it has
    // no text box), the splash and the progress window (neither has either).
    static void perWindow()
    {
        QTest::addColumn<QString>("window");
        QTest::addColumn<QString>("allowed"); // box>button: a press the window's own rule makes
        for (const char* id : {"B01FYLR", "B02FYCX", "C01KHLR", "C02KHCX", "D01GSDA", "D02RYDA",
                               "D03QXSZ", "D04JCSJ", "A02MMXG", "A03HSZ", "A04DLAQ"})
            QTest::newRow(id) << id << "";
        for (const char* name : {"FrmLLFZ", "FrmLLKH", "FrmMain", "TdlgSelectRQ", "TdlgSelectPub",
                                 "TFrmPubQuery", "TFrmPubExport", "FrmXGJL"})
            QTest::newRow(name) << name << "";
        QTest::newRow("FrmLog") << "FrmLog"
                                << "edtYGMM>btnOK";
    }

    void tabLeavesEveryMemo_data() { perWindow(); }
    void tabLeavesEveryMemo()
    {
        QFETCH(QString, window);
        std::unique_ptr<QWidget> w = show(window);
        for (QPlainTextEdit* m : w->findChildren<QPlainTextEdit*>()) {
            if (!m->isVisible() || !m->isEnabled()) continue;
            const QString before = m->toPlainText();
            m->setFocus();
            QTest::keyClick(m, Qt::Key_Tab);
            QVERIFY2(!m->hasFocus(), qPrintable(m->objectName()));
            QCOMPARE(m->toPlainText(), before);
        }
    }

    void returnKey_data() { perWindow(); }
    void returnKey()
    {
        QFETCH(QString, window);
        QFETCH(QString, allowed);
        std::unique_ptr<QWidget> w = show(window);
        // Every press is counted and goes no further.
        QList<QAbstractButton*> buttons;
        QList<std::shared_ptr<QSignalSpy>> spies;
        for (QAbstractButton* b : w->findChildren<QAbstractButton*>()) {
            if (!qobject_cast<QPushButton*>(b) && !qobject_cast<QToolButton*>(b)) continue;
            QObject::disconnect(b, &QAbstractButton::clicked, nullptr, nullptr);
            QObject::disconnect(b, &QAbstractButton::pressed, nullptr, nullptr);
            QObject::disconnect(b, &QAbstractButton::released, nullptr, nullptr);
            if (auto* tb = qobject_cast<QToolButton*>(b); tb && tb->defaultAction())
                tb->defaultAction()->blockSignals(true);
            buttons << b;
            spies << std::make_shared<QSignalSpy>(b, &QAbstractButton::clicked);
        }
        const auto id = [&](int i) {
            const QString name = buttons[i]->objectName();
            return name.isEmpty() ? QString("#%1").arg(i) : name;
        };
        const auto presses = [&] {
            QStringList out;
            for (int i = 0; i < buttons.size(); ++i)
                for (int n = 0; n < spies[i]->count(); ++n)
                    out << id(i);
            for (auto& s : spies)
                s->clear();
            return out.join(',');
        };
        int boxes = 0;
        for (QWidget* box : w->findChildren<QWidget*>()) {
            if (!takesText(box) || !reachable(box)) continue;
            box->setFocus();
            QWidget* f = QApplication::focusWidget();
            QTest::keyClick(f, Qt::Key_Return);
            const QString expected =
                allowed.startsWith(box->objectName() + ">") ? allowed.section('>', 1) : QString();
            QCOMPARE(presses(), expected);
            QVERIFY2(w->isVisible(), qPrintable(box->objectName()));
            ++boxes;
        }
        int pressed = 0;
        for (int i = 0; i < buttons.size(); ++i) {
            if (!reachable(buttons[i])) continue;
            buttons[i]->setFocus();
            QTest::keyClick(buttons[i], Qt::Key_Return);
            QCOMPARE(presses(), id(i));
            ++pressed;
        }
        QVERIFY(boxes + pressed > 0);
    }
};

HALVORRA_TEST_MAIN(TestKeys)
#include "tst_keys.moc"
