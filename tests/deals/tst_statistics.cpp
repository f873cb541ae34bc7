// The office's figures against values computed by hand on a small fixture, the
// same on a file and on a server: new records per month, supply against demand,
// unit prices with quartiles, deals per month and per agent (money only when asked
// for), notes per operator; a 位置 narrows each, one with no rows gives empty
// tables, and a backwards range is refused.
#include "data/Connection.h"
#include "deals/core/Statistics.h"
#include "tests/support/TestSupport.h"

namespace
{

QString text(const QVariant& v)
{
    return v.typeId() == QMetaType::Double ? QString::number(v.toDouble(), 'f', 2) : v.toString();
}

// The header and each row as "a|b|c".
QStringList lines(const Statistics::Table& t)
{
    QStringList out{t.columns.join('|')};
    for (const QVariantList& row : t.rows) {
        QStringList cells;
        for (const QVariant& v : row)
            cells << text(v);
        out << cells.join('|');
    }
    return out;
}

} // namespace

class TestStatistics : public QObject
{
    Q_OBJECT
    std::unique_ptr<TestDb> db;
    std::unique_ptr<Connection> conn;

private slots:
    void initTestCase()
    {
        db = std::make_unique<TestDb>();
        // 档案号, 录入日期, 方式, 类型, 位置, 户型, 房屋面积, 信息价格
        const char* listings[][8] = {
            {"001260105001", "260105", "出售", "有效", "城东", "两室", "100", "1000000"},
            {"001260120001", "260120", "出售", "有效", "城东", "三室", "50", "600000"},
            {"001260210001", "260210", "出售", "无效", "城东", "两室", "80", "640000"},
            {"001260215001", "260215", "出租", "有效", "城西", "两室", "50", "2500"},
            {"001260301001", "260301", "出售", "有效", "城西", "一室", "40", "480000"},
            {"001251231001", "251231", "出售", "有效", "城东", "两室", "100", "100"},
            {"001260310001", "260310", "出租", "有效", "城东", "两室", "0", "3000"},
            {"001260320001", "260320", "出售", "有效", "城东", "两室", "100", "1500000"}};
        for (const auto& l : listings)
            db->exec(
                QStringLiteral("insert into 房屋信息 (档案号, 录入日期, 方式, 类型, 位置, 户型, "
                               "房屋面积, 信息价格) values ('%1','%2','%3','%4','%5','%6',%7,%8)")
                    .arg(l[0], l[1], l[2], l[3], l[4], l[5], l[6], l[7]));
        const char* customers[][6] = {{"001260106101", "260106", "求购", "有效", "城东", "两室"},
                                      {"001260107101", "260107", "求租", "有效", "城西", "两室"},
                                      {"001260305101", "260305", "求购", "无效", "城东", "三室"},
                                      {"001260401101", "260401", "求购", "有效", "城东", "两室"}};
        for (const auto& k : customers)
            db->exec(QStringLiteral("insert into 客户信息 (档案号, 录入日期, 需求方式, 类型, 位置, "
                                    "户型) values ('%1','%2','%3','%4','%5','%6')")
                         .arg(k[0], k[1], k[2], k[3], k[4], k[5]));
        db->exec("insert into 操作员档案 (员工编号, 员工姓名) values ('001', '张三')");
        db->exec("insert into 操作员档案 (员工编号, 员工姓名) values ('002', '李四')");
        // 编号, 日期, 位置, 方式, 价格, 业主佣金, 客户佣金, 状态 (fen)
        const char* deals[][8] = {
            {"1", "2026-01-15", "城东", "出售", "100000000", "1000000", "1000001", "有效"},
            {"2", "2026-01-20", "城西", "出租", "250000", "25000", "0", "有效"},
            {"3", "2026-02-01", "城东", "出售", "50000000", "500000", "0", "撤销"},
            {"4", "2026-03-31", "城东", "出售", "1", "0", "1", "有效"},
            {"5", "2026-04-01", "城东", "出售", "900", "0", "0", "有效"}};
        for (const auto& d : deals)
            db->exec(QStringLiteral("insert into 成交记录 (编号, 房源档案号, 客户档案号, 成交日期, "
                                    "位置, 方式, 成交价格, 业主佣金, 客户佣金, 状态) values (%1, "
                                    "'L%1', 'C%1', '%2', '%3', '%4', %5, %6, %7, '%8')")
                         .arg(d[0], d[1], d[2], d[3], d[4], d[5], d[6], d[7]));
        // 成交编号, 员工编号, 员工姓名, 比例, 佣金
        const char* agents[][5] = {
            {"1", "001", "张三", "6000", "1200001"}, {"1", "002", "李四", "4000", "800000"},
            {"2", "002", "李四", "10000", "25000"},  {"3", "001", "张三", "10000", "500000"},
            {"4", "001", "张三", "10000", "1"},      {"5", "002", "李四", "10000", "0"}};
        for (const auto& a : agents)
            db->exec(QStringLiteral("insert into 成交经纪人 (成交编号, 员工编号, 员工姓名, 比例, "
                                    "佣金) values (%1, '%2', '%3', %4, %5)")
                         .arg(a[0], a[1], a[2], a[3], a[4]));
        // 时间, 操作员, 表名, 档案号
        const char* notes[][4] = {{"2026-01-03 10:00:00", "001", "房屋信息", "001260105001"},
                                  {"2026-01-31 23:59:59", "002", "客户信息", "001260107101"},
                                  {"2026-03-31 23:59:59", "001", "房屋信息", "001260215001"},
                                  {"2026-04-01 00:00:00", "001", "房屋信息", "001260105001"},
                                  {"2026-02-10 09:00:00", "003", "房屋信息", "001260105001"},
                                  {"2025-12-31 23:59:59", "002", "房屋信息", "001260105001"}};
        for (const auto& n : notes)
            db->exec(
                QStringLiteral("insert into 跟进记录 (时间, 操作员, 表名, 档案号, 跟进方式, 内容) "
                               "values ('%1', '%2', '%3', '%4', '电话', '记录')")
                    .arg(n[0], n[1], n[2], n[3]));
        conn = openMain(db->mainPath());
    }
    void cleanupTestCase()
    {
        conn.reset();
        db.reset();
    }

    void figures_data()
    {
        QTest::addColumn<QString>("figure");
        QTest::addColumn<QString>("location");
        QTest::addColumn<bool>("money");
        QTest::addColumn<QStringList>("expected");
        QTest::newRow("new per month")
            << "new"
            << "" << false
            << QStringList{"月份|房源出售|房源出租|客户求购|客户求租", "2026-01|2|0|1|1",
                           "2026-02|1|1|0|0", "2026-03|2|1|1|0"};
        QTest::newRow("new per month 城西")
            << "new"
            << "城西" << false
            << QStringList{"月份|房源出售|房源出租|客户求购|客户求租", "2026-01|0|0|0|1",
                           "2026-02|0|1|0|0", "2026-03|1|0|0|0"};
        QTest::newRow("supply by 位置")
            << "supply位置"
            << "" << false << QStringList{"位置|有效房源|有效客户", "城东|5|2", "城西|2|1"};
        QTest::newRow("supply by 户型")
            << "supply户型"
            << "" << false
            << QStringList{"户型|有效房源|有效客户", "一室|1|0", "三室|1|0", "两室|5|3"};
        QTest::newRow("supply by 户型 城西")
            << "supply户型"
            << "城西" << false << QStringList{"户型|有效房源|有效客户", "一室|1|0", "两室|1|1"};
        QTest::newRow("unit prices")
            << "prices"
            << "" << false
            << QStringList{"位置|方式|套数|最低|下四分位|中位数|上四分位|最高",
                           "城东|出售|4|8000.00|9500.00|11000.00|12750.00|15000.00",
                           "城西|出售|1|12000.00|12000.00|12000.00|12000.00|12000.00",
                           "城西|出租|1|50.00|50.00|50.00|50.00|50.00"};
        QTest::newRow("deals per month")
            << "dealsMonth"
            << "" << false << QStringList{"月份|成交笔数", "2026-01|2", "2026-03|1"};
        QTest::newRow("deals per month, money")
            << "dealsMonth"
            << "" << true
            << QStringList{"月份|成交笔数|成交金额(元)|佣金(元)", "2026-01|2|1002500.00|20250.01",
                           "2026-03|1|0.01|0.01"};
        QTest::newRow("deals per agent, money")
            << "dealsAgent"
            << "" << true
            << QStringList{"经纪人|成交笔数|成交金额(元)|佣金(元)",
                           "001 张三|2|1000000.01|12000.02", "002 李四|2|1002500.00|8250.00"};
        QTest::newRow("deals per agent 城西")
            << "dealsAgent"
            << "城西" << true
            << QStringList{"经纪人|成交笔数|成交金额(元)|佣金(元)", "002 李四|1|2500.00|250.00"};
        QTest::newRow("notes") << "notes"
                               << "" << false
                               << QStringList{"月份|张三|李四|003|合计", "2026-01|1|1|0|2",
                                              "2026-02|0|0|1|1", "2026-03|1|0|0|1"};
        QTest::newRow("notes 城西")
            << "notes"
            << "城西" << false
            << QStringList{"月份|张三|李四|合计", "2026-01|0|1|1", "2026-03|1|0|1"};
        for (const char* figure :
             {"new", "supply位置", "supply户型", "prices", "dealsMonth", "dealsAgent", "notes"})
            QTest::newRow(qPrintable(QStringLiteral("empty %1").arg(figure)))
                << figure << "郊区" << true << QStringList();
    }
    void figures()
    {
        QFETCH(QString, figure);
        QFETCH(QString, location);
        QFETCH(bool, money);
        QFETCH(QStringList, expected);
        const Statistics::Filter f{QDate(2026, 1, 1), QDate(2026, 3, 31), location, money};
        Statistics::Table t;
        if (figure == "new") t = Statistics::newPerMonth(*conn, f);
        if (figure.startsWith("supply"))
            t = Statistics::supplyDemand(*conn, f, figure.mid(QStringLiteral("supply").size()));
        if (figure == "prices") t = Statistics::unitPrices(*conn, f);
        if (figure == "dealsMonth") t = Statistics::dealsPerMonth(*conn, f);
        if (figure == "dealsAgent") t = Statistics::dealsPerAgent(*conn, f);
        if (figure == "notes") t = Statistics::notesPerOperator(*conn, f);
        if (expected.isEmpty())
            QVERIFY2(t.rows.isEmpty(), qPrintable(lines(t).join('\n')));
        else
            QCOMPARE(lines(t), expected);
    }

    void range()
    {
        QCOMPARE(Statistics::refusal({QDate(2026, 2, 1), QDate(2026, 1, 31), {}, false})
                     .value_or(QString()),
                 QStringLiteral("开始日期不能晚于结束日期"));
        QVERIFY(!Statistics::refusal({QDate(2026, 2, 1), QDate(2026, 2, 1), {}, false}));
        QCOMPARE(Statistics::refusal({QDate(), QDate(2026, 1, 31), {}, false}).value_or(QString()),
                 QStringLiteral("请选择统计的日期范围"));
    }
};

HALVORRA_TEST_MAIN(TestStatistics)
#include "tst_statistics.moc"
