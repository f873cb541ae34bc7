#pragma once
// What the window tests of both registers share: stored listings and customers
// inserted through the test database, a test operator's login values, the fixture
// every window test starts from, and the two registers as the shared,
// data-driven tests drive them (a column "register" holding "房源" or "客户").
#include "customers/Frm_khcx.h"
#include "customers/Frm_khxx.h"
#include "data/Text.h"
#include "listings/Frm_fycx.h"
#include "listings/frm_Fylr.h"
#include "registers/EntryWindow.h"
#include "registers/QueryFrame.h"
#include "registers/RecordCard.h"
#include "session/PubVars.h"
#include "tests/support/TestSupport.h"

#include <QComboBox>
#include <QPlainTextEdit>
#include <functional>

inline QString sqlValue(const QVariant& v)
{
    if (v.isNull()) return QStringLiteral("null");
    if (v.typeId() == QMetaType::Double || v.typeId() == QMetaType::Int) return v.toString();
    return Text::literal(v.toString());
}

// Login values of a test operator.
inline void loginAs(const QString& role, const QString& name = QStringLiteral("张三"))
{
    CZRQ = QStringLiteral("261209");
    QSRQ = QStringLiteral("261201");
    GSDM = QStringLiteral("001");
    CurUser = GTMYhxx{QStringLiteral("001"), QString(), name, role, QString(), QString()};
}

struct ListingRow {
    QString dah;             // 档案号
    QVariant xqmc;           // 小区名称 (null allowed)
    QVariant dz;             // 地址 (null allowed)
    double mj = 80;          // 房屋面积
    double jg = 50;          // 信息价格
    QString lx = "有效";     // 类型
    QString lrrq = "261203"; // 录入日期
    QString xjcd = "5";      // 新旧程度
    QString fs = "出售";     // 方式
    QString lc = "三楼";     // 楼层
    QVariant zdjg = 40.0;    // 最低价格
    QString fzxm = "王房主"; // 房主姓名
};

// Inserts a row of these columns and values (written as sqlValue() writes them).
inline void insertRow(const TestDb& db, const QString& table,
                      const QList<std::pair<QString, QVariant>>& values)
{
    QStringList columns, literals;
    for (const auto& [column, value] : values) {
        columns << column;
        literals << sqlValue(value);
    }
    db.exec(
        QStringLiteral("insert into %1 (%2) values (%3)")
            .arg(table, columns.join(QStringLiteral(", ")), literals.join(QStringLiteral(", "))));
}

inline void addListing(const TestDb& db, const ListingRow& r)
{
    insertRow(db, QStringLiteral("房屋信息"),
              {{"档案号", r.dah},
               {"小区名称", r.xqmc},
               {"地址", r.dz},
               {"房屋面积", r.mj},
               {"信息价格", r.jg},
               {"类型", r.lx},
               {"录入日期", r.lrrq},
               {"新旧程度", r.xjcd},
               {"方式", r.fs},
               {"楼层", r.lc},
               {"最低价格", r.zdjg},
               {"房主姓名", r.fzxm},
               {"公司编号", r.dah.left(3)},
               {"序号", r.dah.right(3)},
               {"户型", "两室"},
               {"位置", "市中心"},
               {"设施", "空调"},
               {"电话", "88886666"}});
}

struct CustomerRow {
    QString dah;             // 档案号
    QVariant dzms = "城东";  // 地址描述 (null allowed)
    QString lx = "有效";     // 类型
    QString lrrq = "261203"; // 录入日期
    QString lc = "中层";     // 楼层
    QString hx = "两室";     // 户型
    QString wz = "城东";     // 位置
    QString fs = "求购";     // 需求方式
    double mj1 = 0, mj2 = 0; // 面积1, 面积2
    double jg1 = 0, jg2 = 0; // 价格1, 价格2
    QString khxm = "李客户"; // 客户姓名
};

inline void addCustomer(const TestDb& db, const CustomerRow& r)
{
    insertRow(db, QStringLiteral("客户信息"),
              {{"档案号", r.dah},
               {"地址描述", r.dzms},
               {"类型", r.lx},
               {"录入日期", r.lrrq},
               {"楼层", r.lc},
               {"户型", r.hx},
               {"位置", r.wz},
               {"需求方式", r.fs},
               {"面积1", r.mj1},
               {"面积2", r.mj2},
               {"价格1", r.jg1},
               {"价格2", r.jg2},
               {"客户姓名", r.khxm},
               {"电话", "66668888"},
               {"手机", "13900000000"},
               {"权属", "商品房"},
               {"需求设施", "煤气 暖气"},
               {"公司编号", r.dah.left(3)},
               {"序号", r.dah.right(3)}});
}

// Puts a value into a control the way the operator would: text typed into a box,
// an item chosen in a list ("" = nothing chosen).
inline void put(QWidget* w, const QString& value)
{
    if (auto* cb = qobject_cast<QComboBox*>(w)) {
        const int i = value.isEmpty() ? -1 : cb->findText(value);
        QVERIFY2(value.isEmpty() || i >= 0, qPrintable(value));
        cb->setCurrentIndex(i);
        if (i >= 0) emit cb->activated(i);
    } else if (auto* le = qobject_cast<QLineEdit*>(w)) {
        le->setFocus();
        le->selectAll();
        le->del();
        le->insert(value);
    } else if (auto* m = qobject_cast<QPlainTextEdit*>(w)) {
        m->selectAll();
        m->insertPlainText(value);
    }
}

// Puts "control=value" changes into a window, in order.
inline void putAll(QWidget* window, const QStringList& changes)
{
    for (const QString& ch : changes) {
        const int eq = ch.indexOf(QLatin1Char('='));
        put(ui::find(window, ch.left(eq)), ch.mid(eq + 1));
    }
}

// A fresh database pair and the dialog double for each test function.
struct WindowTest {
    std::unique_ptr<DialogsScope> scope;
    TestDialogs* d = nullptr;
    std::unique_ptr<TestDb> db;

    void start()
    {
        scope = std::make_unique<DialogsScope>();
        d = &**scope;
        db = std::make_unique<TestDb>();
        db->connectDmbasic();
    }
    void stop()
    {
        db.reset();
        scope.reset();
    }
    int count(const QString& table) const
    {
        return db->scalar(QStringLiteral("select count(*) from ") + table).toInt();
    }
    QVariant stored(const QString& table, const QString& dah, const QString& column) const
    {
        return db->scalar(QStringLiteral("select %1 from %2 where 档案号=%3")
                              .arg(column, table, Text::literal(dah)));
    }
};

// One register as the shared tests drive it.
struct Register {
    QString table;
    std::function<std::unique_ptr<QueryFrame>()> queryWindow;
    std::function<QueryFrame*()> current; // the application-wide reference
    std::function<std::unique_ptr<EntryWindow>()> entryWindow;
    // A stored row with this archive number, entry date and validity.
    std::function<void(const TestDb&, const QString&, const QString&, const QString&)> add;
    // A text column the card changes freely, its box, and a value stored in it by add().
    QString textColumn, textBox, storedText;
    // Changes that make the entry window's row pass every check.
    QStringList validEntry;
    QString saveButton, cancelButton;
    // The exchange table, and a row for it with this archive number and text
    // (in textColumn).
    QString exchangeTable;
    std::function<QString(const QString& key, const QString& text)> exchangeRow;
};

inline const Register& registerNamed(const QString& name)
{
    static const Register listings{
        QStringLiteral("房屋信息"),
        [] { return std::make_unique<TFrmFYCX>(); },
        []() -> QueryFrame* { return FrmFYCX.data(); },
        [] { return std::make_unique<TFrmfylr>(); },
        [](const TestDb& db, const QString& dah, const QString& lrrq, const QString& lx) {
            addListing(db, {dah, "阳光花园", "东街1号", 80, 50, lx, lrrq});
        },
        QStringLiteral("小区名称"),
        QStringLiteral("DBEdit1"),
        QStringLiteral("阳光花园"),
        {"DBEdit1=阳光花园", "DBEdit2=人民路 12 号", "DBEdit3=86.5", "cbLC=中层", "cbHX=两室一厅",
         "DBEdit4=450000", "cbWZ=城东", "cbFS=出售", "DBEdit5=王伟", "DBEdit6=0101234567",
         "DBEdit8=430000"},
        QStringLiteral("Button1"),
        QStringLiteral("Button2"),
        QStringLiteral("房屋信息Exp"),
        [](const QString& key, const QString& text) {
            return QStringLiteral("insert into 房屋信息Exp values ('%1','%2','地址',60,'中层',"
                                  "'两室一厅',1000,'','城西','出租','','有效','','%3','%4','%5',"
                                  "'3','')")
                .arg(key, text, Text::trim(key).left(3), Text::trim(key).mid(3, 6),
                     Text::trim(key).mid(9));
        }};
    static const Register customers{
        QStringLiteral("客户信息"),
        [] { return std::make_unique<TFrmKHCX>(); },
        []() -> QueryFrame* { return FrmKHCX.data(); },
        [] { return std::make_unique<TFrmkhxx>(); },
        [](const TestDb& db, const QString& dah, const QString& lrrq, const QString& lx) {
            addCustomer(db, {dah, "城东人民路", lx, lrrq});
        },
        QStringLiteral("地址描述"),
        QStringLiteral("DBEdit2"),
        QStringLiteral("城东人民路"),
        {"DBEdit9=张敏", "DBEdit10=0101234567"},
        QStringLiteral("BitBtn1"),
        QStringLiteral("BitBtn2"),
        QStringLiteral("客户信息Exp"),
        [](const QString& key, const QString& text) {
            return QStringLiteral("insert into 客户信息Exp values ('%1','%2','求租','',10,20,30,"
                                  "40,'空调','%3','%4','%5','高层','三室','有效','城南')")
                .arg(key, text, Text::trim(key).left(3), Text::trim(key).mid(3, 6),
                     Text::trim(key).mid(9));
        }};
    return name == QStringLiteral("房源") ? listings : customers;
}

// The two registers' names, for the rows of a data-driven test.
inline QStringList registerNames()
{
    return {QStringLiteral("房源"), QStringLiteral("客户")};
}

// A column "reg" with one row per register.
inline void perRegister()
{
    QTest::addColumn<QString>("reg");
    for (const QString& name : registerNames())
        QTest::newRow(qPrintable(name)) << name;
}

// A register's query window over a fresh database pair.
struct QueryTest : WindowTest {
    const Register* r = nullptr;
    std::unique_ptr<QueryFrame> w;

    // A fresh pair and an operator of this role logged in.
    void start(const QString& role)
    {
        WindowTest::start();
        loginAs(role);
    }

    QueryFrame* open(const QString& name)
    {
        r = &registerNamed(name);
        w = r->queryWindow();
        w->show(); // clicks then run through the application's default error display
        return w.get();
    }
    // The archive numbers of the result, sorted.
    QStringList shown() const
    {
        QStringList out;
        Query& q = w->rows();
        for (int i = 0; q.isActive() && i < q.recordCount(); ++i)
            out << q.valueAt(i, q.fieldIndex(QStringLiteral("档案号"))).toString();
        out.sort();
        return out;
    }
    void stop()
    {
        w.reset();
        WindowTest::stop();
    }
};

// A register's entry window over a fresh database pair, logged in as company 001
// on 261209.
struct EntryTest : WindowTest {
    const Register* r = nullptr;
    std::unique_ptr<EntryWindow> w;

    void start()
    {
        WindowTest::start();
        GSDM = QStringLiteral("001");
        CZRQ = QStringLiteral("261209");
    }
    EntryWindow* open(const QString& name)
    {
        r = &registerNamed(name);
        w = r->entryWindow();
        w->show();
        w->activateWindow();
        if (!QTest::qWaitForWindowActive(w.get())) qWarning("entry window not active");
        return w.get();
    }
    QWidget* c(const QString& name) const { return ui::find(w.get(), name); }
    void set(const QString& name, const QString& value) { put(c(name), value); }
    // 保存, answering the question after it.
    void save(bool another)
    {
        d->answers.push_back(another);
        ui::click(c(r->saveButton));
    }
    // A row of the register's table holding only its archive number's parts.
    void storeRow(const QString& table, const QString& number) const
    {
        db->exec(QStringLiteral("insert into %1 (档案号,公司编号,录入日期,序号) values "
                                "('%2','%3','%4','%5')")
                     .arg(table, number, number.left(3), number.mid(3, 6), number.mid(9)));
    }
    void stop()
    {
        w.reset();
        WindowTest::stop();
    }
};

// Opens the record card of the query window on its current row (after moving to
// `dah` when given) and runs f with the card shown; the card is then closed.
inline void withCard(QueryFrame* w, TestDialogs* d, const QString& dah,
                     const std::function<void(RecordCard*)>& f)
{
    if (!dah.isEmpty()) QVERIFY(w->rows().locate(QStringLiteral("档案号"), dah));
    bool ran = false;
    d->execs.push_back([&](QDialog* dlg) {
        auto* card = qobject_cast<RecordCard*>(dlg);
        card->show();
        f(card);
        ran = true;
        card->close();
        return card->result();
    });
    ui::click(w->btnLL);
    QVERIFY(ran);
}
