// Importing rows of a sheet into the register, on both engines: headers found and
// mapped, values as offices write them, the save checks, dictionaries, widths,
// archive numbers kept or given by the daily rule, likely duplicates, all or
// nothing, the history; and the tool's dry run, strict run and counts.
#include "data/Connection.h"
#include "data/DbError.h"
#include "data/Query.h"
#include "data/Schema.h"
#include "duplicates/core/LikelyDuplicates.h"
#include "sheetimport/core/RegisterExport.h"
#include "sheetimport/core/SheetImport.h"
#include "tests/sheetimport/SheetFiles.h"
#include "tests/support/TestSupport.h"

#include <QCoreApplication>
#include <QDate>
#include <QProcess>
#include <QTest>

using namespace SheetImport;

namespace
{

const QString kToday = QStringLiteral("261210");

SheetReader::Table table(const QList<QStringList>& rows)
{
    SheetReader::Table t;
    t.sheet = QStringLiteral("表");
    for (int i = 0; i < rows.size(); ++i) {
        t.rows << rows[i];
        t.rowNumbers << i + 1;
    }
    return t;
}

Options options(Register r = Register::Listings)
{
    Options o;
    o.reg = r;
    o.company = QStringLiteral("001");
    o.today = kToday;
    o.source = QStringLiteral("/tmp/房源.xlsx");
    return o;
}

const QStringList kListingHeader{"档案编号", "楼盘",     "详细地址", "建筑面积", "楼层",
                                 "户型",     "售价",     "位置",     "方式",     "产权",
                                 "业主",     "联系电话", "手机",     "底价",     "登记日期"};

// A good listing row with one cell replaced.
QStringList listing(const QString& estate, const QString& address, const QString& area,
                    int replace = -1, const QString& with = QString())
{
    QStringList r{"",   estate,   address, area,       "中层", "两室一厅", "120万", "城东",
                  "卖", "商品房", "张三",  "88881234", "",     "110万",    ""};
    if (replace >= 0) r[replace] = with;
    return r;
}

QString plainLine(const Row& r)
{
    return QStringLiteral("%1|%2|%3|%4")
        .arg(r.sheetRow)
        .arg(actionText(r.action), r.column, r.reason);
}

} // namespace

class TestSheetImport : public QObject
{
    Q_OBJECT

private slots:
    void values_data()
    {
        QTest::addColumn<QString>("kind");
        QTest::addColumn<QString>("cell");
        QTest::addColumn<QString>("stored"); // "!" + words of the refusal when refused
        QTest::newRow("㎡") << "area"
                            << " 85㎡ "
                            << "85";
        QTest::newRow("平米") << "area"
                              << "85.5平米"
                              << "85.5";
        QTest::newRow("full-width") << "area"
                                    << "１２０　平方米"
                                    << "120";
        QTest::newRow("price in 万 to 元") << "price"
                                           << "120万"
                                           << "1200000";
        QTest::newRow("thousands") << "price"
                                   << "1,200"
                                   << "1200";
        QTest::newRow("万元 to 万元 register") << "price万"
                                               << "120万元"
                                               << "120";
        QTest::newRow("元 to 万元 register") << "price万"
                                             << "1,200,000元"
                                             << "120";
        QTest::newRow("rent per month") << "price"
                                        << "3500元/月"
                                        << "3500";
        QTest::newRow("not a number") << "price"
                                      << "面议"
                                      << "!不是数字";
        QTest::newRow("area with 万") << "area"
                                      << "3万"
                                      << "!不是面积";
        QTest::newRow("negative") << "area"
                                  << "-5"
                                  << "!负数";
        QTest::newRow("iso date") << "date"
                                  << "2026-12-01"
                                  << "261201";
        QTest::newRow("slashes") << "date"
                                 << "2026/12/1"
                                 << "261201";
        QTest::newRow("chinese date") << "date"
                                      << "2026年12月1日"
                                      << "261201";
        QTest::newRow("yyyymmdd") << "date"
                                  << "20261201"
                                  << "261201";
        QTest::newRow("yymmdd kept") << "date"
                                     << "261201"
                                     << "261201";
        QTest::newRow("serial") << "date"
                                << "46357"
                                << "261201";
        QTest::newRow("no such day") << "date"
                                     << "2026-02-30"
                                     << "!不是日期";
        QTest::newRow("age") << "digits"
                             << "15年"
                             << "15";
        QTest::newRow("age as number cell") << "digits"
                                            << "15.0"
                                            << "15";
        QTest::newRow("age words") << "digits"
                                   << "十五"
                                   << "!只能是数字";
        QTest::newRow("卖") << "mode"
                            << "卖"
                            << "出售";
        QTest::newRow("售") << "mode"
                            << " 售 "
                            << "出售";
        QTest::newRow("租") << "mode"
                            << "租"
                            << "出租";
        QTest::newRow("customer 买") << "cmode"
                                     << "买"
                                     << "求购";
        QTest::newRow("customer 租") << "cmode"
                                     << "租"
                                     << "求租";
        QTest::newRow("是") << "valid"
                            << "是"
                            << "有效";
        QTest::newRow("否") << "valid"
                            << "否"
                            << "无效";
        QTest::newRow("empty validity") << "valid"
                                        << ""
                                        << "有效";
        QTest::newRow("validity words") << "valid"
                                        << "也许"
                                        << "!有效";
    }
    void values()
    {
        QFETCH(QString, kind);
        QFETCH(QString, cell);
        QFETCH(QString, stored);
        Value v;
        if (kind == QLatin1String("area"))
            v = amount(cell, false, PriceUnit::Yuan);
        else if (kind == QLatin1String("price"))
            v = amount(cell, true, PriceUnit::Yuan);
        else if (kind == QStringLiteral("price万"))
            v = amount(cell, true, PriceUnit::TenThousand);
        else if (kind == QLatin1String("date"))
            v = date(cell);
        else if (kind == QLatin1String("digits"))
            v = digits(cell);
        else if (kind == QLatin1String("valid"))
            v = validity(cell);
        else
            v.value = mode(cell, kind == QLatin1String("cmode"));
        if (stored.startsWith(u'!')) {
            QVERIFY2(v.refusal.contains(stored.mid(1)), qPrintable(v.refusal));
        } else {
            QVERIFY2(v.refusal.isEmpty(), qPrintable(v.refusal));
            QCOMPARE(v.value.typeId() == QMetaType::Double
                         ? QString::number(v.value.toDouble(), 'g', 12)
                         : v.value.toString(),
                     stored);
        }
    }

    // The header row is found below a title, merged or not, and each header goes to
    // the column offices mean by it.
    void headers()
    {
        const SheetReader::Table t = table(
            {{"房源清单", "房源清单"},
             {"制表：张三"},
             {"序", "小区/楼盘", "面积（㎡）", "总价（万元）", "房东", "电话", "电话", "备用"},
             {"1", "阳光花园", "85", "120", "李四", "1", "2", "x"}});
        const Mapping m = guess(Register::Listings, t);
        QCOMPARE(m.headerRow, 2);
        QCOMPARE(m.columns,
                 (QStringList{"", "小区名称", "房屋面积", "信息价格", "房主姓名", "电话", "", ""}));
        QCOMPARE(m.inTenThousands,
                 (QList<bool>{false, false, false, true, false, false, false, false}));
        QVERIFY(errorText([] {
                    guess(Register::Listings, table({{"a", "b"}, {"c"}}));
                }).contains(QStringLiteral("找不到标题行")));
    }

    void listingRows()
    {
        TestDb db;
        auto c = openMain(db.mainPath());
        db.exec(QStringLiteral("INSERT INTO 房屋信息 (档案号, 小区名称, 地址, 房屋面积, 公司编号, "
                               "录入日期, 序号, 类型) "
                               "VALUES ('001261210004', '翠湖苑', '湖滨路1栋101', 90, '001', "
                               "'261210', '004', '有效')"));
        const QString longAddress(51, u'路');
        QList<QStringList> rows{kListingHeader};
        rows << listing("阳光花园", "建设路12号3栋301室", "85㎡"); // 2 imported, 005
        rows << listing("阳光花园", "建设路12号3幢301", "85.5平米", 11,
                        "13700000000");                                       // 3 like row 2
        rows << listing("翠湖苑", "湖滨路1幢101室", "90", 11, "13700000001"); // 4 like stored
        rows << listing("", "新路1号", "60", 11, "13700000002");              // 5 no estate
        rows << listing("新村", longAddress, "60", 11, "13700000003");        // 6 too long
        rows << listing("新村", "新路2号", "60", 4, "很高");                  // 7 dictionary
        rows << listing("新村", "新路3号", "面议", 11, "13700000004");        // 8 not a number
        rows << listing("新村", "新路4号", "60", 0, "002261201007");          // 9 keeps number
        rows << listing("新村", "新路5号", "61", 0, "001261210004");          // 10 stored number
        rows << listing("新村", "新路6号", "62", 0, "FY-0001");               // 11 renumbered
        rows << listing("新村", "新路7号", "63", 14, "2026/12/1");            // 12 its own date
        rows[9][11] = QStringLiteral("13700000006");
        rows[10][11] = QStringLiteral("13700000007");
        rows[11][11] = QStringLiteral("13700000008");
        rows[7][11] = QStringLiteral("13700000009");
        rows[8][11] = QStringLiteral("13700000010");
        const SheetReader::Table t = table(rows);
        const Mapping m = guess(Register::Listings, t);
        Plan plan = check(*c, t, m, options());
        QStringList lines;
        for (const Row& r : std::as_const(plan.rows))
            lines << plainLine(r);
        QCOMPARE(
            lines.join(u'\n'),
            QStringLiteral(
                "2|导入||\n"
                "3|可能重复，跳过||可能与表格第 2 行重复：小区名称和地址相同，面积相差 0.50 "
                "平方米\n"
                "4|可能重复，跳过||可能与已有房源 001261210004 重复：小区名称、地址和面积相同\n"
                "5|拒绝|小区名称|请录入小区名称\n"
                "6|拒绝|地址|%1\n"
                "7|拒绝|楼层|楼层“很高”不在楼层字典中\n"
                "8|拒绝|房屋面积|“面议”不是数字\n"
                "9|导入||\n"
                "10|档案号已存在，跳过||档案号 001261210004 已在房源中\n"
                "11|导入||原编号“FY-0001”不是档案号的格式，将重新编号\n"
                "12|导入||")
                .arg(errorText(
                    [&] { throw DbError(Schema::tooLongText(QStringLiteral("地址"), 50)); })));
        QCOMPARE(plan.unknown.value(QStringLiteral("楼层字典")).value(QStringLiteral("很高")), 1);

        QCOMPARE(write(*c, plan, options()), 4);
        // Numbered after the stored 004 of today; the row with its own date starts that day.
        QCOMPARE(db.rows(QStringLiteral(
                     "select 档案号, 小区名称, 房屋面积, 信息价格, 方式, 电话, 录入日期, "
                     "公司编号, 序号, 类型 from 房屋信息 where 小区名称 <> '翠湖苑' "
                     "order by 档案号")),
                 (QList<QVariantList>{
                     {"001261201001", "新村", 63.0, 1200000.0, "出售", "13700000008", "261201",
                      "001", "001", "有效"},
                     {"001261210005", "阳光花园", 85.0, 1200000.0, "出售", "88881234", "261210",
                      "001", "005", "有效"},
                     {"001261210006", "新村", 62.0, 1200000.0, "出售", "13700000007", "261210",
                      "001", "006", "有效"},
                     {"002261201007", "新村", 60.0, 1200000.0, "出售", "13700000010", "261201",
                      "002", "007", "有效"},
                 }));
        QCOMPARE(
            db.scalar(QStringLiteral("select count(*) from 修改记录 where 操作 = '导入' and 新值 = "
                                     "'/tmp/房源.xlsx'"))
                .toInt(),
            4);
    }

    // Unknown dictionary values added on request; cancel and a failure leave nothing.
    void allOrNothing()
    {
        TestDb db;
        auto c = openMain(db.mainPath());
        const SheetReader::Table t =
            table({kListingHeader, listing("甲", "一路1号", "50", 4, "很高"),
                   listing("乙", "二路2号", "60", 11, "13800000000")});
        const Mapping m = guess(Register::Listings, t);
        Options o = options();
        Plan plan = check(*c, t, m, o);
        o.progress = [](int done, int) { return done == 0; };
        QVERIFY_THROWS_EXCEPTION(SheetReader::Cancelled, write(*c, plan, o));
        QCOMPARE(db.scalar(QStringLiteral("select count(*) from 房屋信息")).toInt(), 0);

        // The day's sequence is used up: nothing of the import is written.
        db.exec(QStringLiteral("INSERT INTO 房屋信息 (档案号, 公司编号, 录入日期, 序号) VALUES "
                               "('001261210999', '001', '261210', '999')"));
        o = options();
        o.addDictionaryValues = true;
        plan = check(*c, t, m, o);
        QCOMPARE(plan.count(Action::Import), 2);
        QVERIFY(errorText([&] { write(*c, plan, o); }).contains(QStringLiteral("档案号已用完")));
        QCOMPARE(db.scalar(QStringLiteral("select count(*) from 房屋信息")).toInt(), 1);
        QCOMPARE(
            db.scalar(QStringLiteral("select count(*) from 楼层字典 where 楼层 = '很高'")).toInt(),
            0);

        db.exec(QStringLiteral("DELETE FROM 房屋信息"));
        plan = check(*c, t, m, o);
        QCOMPARE(write(*c, plan, o), 2);
        QCOMPARE(
            db.scalar(QStringLiteral("select count(*) from 楼层字典 where 楼层 = '很高'")).toInt(),
            1);
    }

    void customerRows()
    {
        TestDb db;
        auto c = openMain(db.mainPath());
        const SheetReader::Table t = table({
            {"客户姓名", "需求", "产权", "面积下限", "面积上限", "预算", "联系电话", "手机",
             "楼层"},
            {"赵一", "买", "商品房", "80", "100", "150万", "", "13900000000", ""},
            {"钱二", "租", "", "", "", "3000", "139-00000000", "", "不限"},
            {"孙三", "买", "", "", "", "", "13900000001", "", ""},
            {"李四", "租", "", "", "", "", "", "", ""},
        });
        Options o = options(Register::Customers);
        Plan plan = check(*c, t, guess(Register::Customers, t), o);
        QStringList lines;
        for (const Row& r : std::as_const(plan.rows))
            lines << plainLine(r);
        QCOMPARE(lines.join(u'\n'),
                 QStringLiteral(
                     "2|导入||\n"
                     "3|可能重复，跳过||可能与表格第 2 行重复：电话或手机相同（13900000000）\n"
                     "4|拒绝|权属|请选择权属\n"
                     "5|拒绝|电话|请录入电话或手机其中的一项信息"));
        QCOMPARE(write(*c, plan, o), 1);
        QCOMPARE(db.rows(QStringLiteral(
                     "select 档案号, 需求方式, 地址描述, 楼层, 户型, 位置, 面积1, 面积2, "
                     "价格2, 类型 from 客户信息")),
                 (QList<QVariantList>{{"001261210001", "求购", "不限", "不限", "不限", "不限", 80.0,
                                       100.0, 1500000.0, "有效"}}));
        // The save of an entry window finds the stored customer by the other form of
        // the number.
        const auto found = LikelyDuplicates::customersLike(
            *c, LikelyDuplicates::Customer{
                    {}, QStringLiteral("新"), QStringLiteral("139 00000000"), {}});
        QCOMPARE(found.size(), 1); // typed with a blank, stored as digits
        const auto same = LikelyDuplicates::customersLike(
            *c, LikelyDuplicates::Customer{
                    {}, QStringLiteral("新"), QStringLiteral("13900000000"), {}});
        QCOMPARE(same.size(), 1);
        QCOMPARE(same[0].number, QStringLiteral("001261210001"));
        // A record is not a duplicate of itself.
        QVERIFY(LikelyDuplicates::customersLike(
                    *c,
                    LikelyDuplicates::Customer{
                        QStringLiteral("001261210001"), {}, QStringLiteral("13900000000"), {}})
                    .isEmpty());
    }

    void listingsLikeOnSave()
    {
        TestDb db;
        auto c = openMain(db.mainPath());
        db.exec(
            QStringLiteral("INSERT INTO 房屋信息 (档案号, 小区名称, 地址, 房屋面积, 手机) VALUES "
                           "('001261210001', '阳光花园', '建设路12号3栋301', 85, '13800000000'), "
                           "('001261210002', '阳光花园', '建设路12号3栋301', 88, NULL), "
                           "('001261210003', '别处', '别路', 40, '13811111111')"));
        const auto found = LikelyDuplicates::listingsLike(
            *c, {QString(), QStringLiteral("阳光花园"), QStringLiteral("建设路12号3幢301室"),
                 QStringLiteral("13811111111"), QString(), 85.8});
        QStringList numbers;
        for (const auto& f : found)
            numbers << f.number;
        numbers.sort();
        QCOMPARE(numbers, (QStringList{"001261210001", "001261210003"}));
    }

    // 导出全部 → import into another register gives the same rows; without the right
    // to see the owner's block, those columns stay out of the file.
    void roundTrip()
    {
        TestDb from, to;
        auto a = openMain(from.mainPath());
        QList<QStringList> rows{kListingHeader + QStringList{"期限", "备注", "房龄", "是否有效"}};
        rows << listing("阳光花园", "建设路1号", "85.25") +
                    QStringList{"2026-12-31", "两行\n备注", "15", "是"};
        rows << listing("翠湖苑", "湖滨路2号", "90", 8, "租") + QStringList{"", "", "", "否"};
        rows.last()[9].clear();
        rows.last()[11] = QStringLiteral("13700000001");
        const SheetReader::Table t = table(rows);
        Plan plan = check(*a, t, guess(Register::Listings, t), options());
        QCOMPARE(write(*a, plan, options()), 2);
        Query all(a.get());
        all.addSql(QStringLiteral("select * from 房屋信息"));
        all.open();
        QTemporaryDir dir;
        const QString file = dir.filePath(QStringLiteral("全部.xlsx"));
        const QStringList cols = RegisterExport::columns(*a, Register::Listings, true);
        QCOMPARE(cols.size(), 26);
        QCOMPARE(RegisterExport::write(file, cols, all), 2);

        auto b = openMain(to.mainPath());
        const SheetReader::Table back = SheetReader::read(file);
        const Mapping m = guess(Register::Listings, back);
        QCOMPARE(m.headerRow, 0);
        Plan again = check(*b, back, m, options());
        QCOMPARE(write(*b, again, options()), 2);
        const QString select = QStringLiteral("select * from 房屋信息 order by 档案号");
        QCOMPARE(to.rows(select), from.rows(select));

        const QStringList seen = RegisterExport::columns(*a, Register::Listings, false);
        QVERIFY(!seen.contains(QStringLiteral("房主姓名")) &&
                !seen.contains(QStringLiteral("手机")));
        QCOMPARE(seen.size(), 20);
    }

    // The tool: a dry run prints each row and writes nothing; --strict imports
    // nothing when a row is refused; a plain run imports the good rows.
    void tool()
    {
        TestDb db;
        QTemporaryDir dir;
        const QString file = dir.filePath(QStringLiteral("房源.xlsx"));
        MAKE_WITH_PYTHON(
            "openpyxl",
            "import sys, openpyxl\n"
            "wb = openpyxl.Workbook(); ws = wb.active\n"
            "ws.append(['小区', '地址', '面积', '楼层', '户型', '价格', '位置', '方式', "
            "'权属', '业主', '手机', '最低价'])\n"
            "ws.append(['阳光花园', '建设路1号', 85, '中层', '两室一厅', 120, '城东', '售', "
            "'商品房', '张三', '13800000000', 110])\n"
            "ws.append(['翠湖苑', '', 85, '中层', '两室一厅', 120, '城东', '售', '商品房', "
            "'李四', '13800000001', 110])\n"
            "wb.save(sys.argv[1])\n",
            file);
        auto run = [&](const QStringList& extra, int expectRc) {
            QProcess p;
            p.start(QCoreApplication::applicationDirPath() + QStringLiteral("/halvorra-db"),
                    QStringList{QStringLiteral("import"), db.mainPath(),
                                QStringLiteral("--listings"), file, QStringLiteral("--price-unit"),
                                QStringLiteral("万元")} +
                        extra);
            p.waitForFinished(60000);
            const QString out = QString::fromUtf8(p.readAllStandardOutput());
            if (p.exitCode() != expectRc)
                qWarning() << out << QString::fromUtf8(p.readAllStandardError());
            return p.exitCode() == expectRc ? out : QString();
        };
        QString out = run({QStringLiteral("--dry-run")}, 0);
        QVERIFY2(out.contains(QStringLiteral("第 2 行\t导入\t001") +
                              QDate::currentDate().toString(QStringLiteral("yyMMdd")) +
                              QStringLiteral("001")),
                 qPrintable(out));
        QVERIFY(out.contains(QStringLiteral("第 3 行\t拒绝\t“地址”\t请录入地址")));
        QVERIFY(out.contains(QStringLiteral("试运行：将导入 1 条，拒绝 1 条")));
        QCOMPARE(db.scalar(QStringLiteral("select count(*) from 房屋信息")).toInt(), 0);
        out = run({QStringLiteral("--strict")}, 1);
        QVERIFY2(out.contains(QStringLiteral("没有导入任何记录")), qPrintable(out));
        QCOMPARE(db.scalar(QStringLiteral("select count(*) from 房屋信息")).toInt(), 0);
        out = run({}, 0);
        QVERIFY2(out.contains(QStringLiteral("已导入 1 条，拒绝 1 条")), qPrintable(out));
        QCOMPARE(db.scalar(QStringLiteral("select 信息价格 from 房屋信息")).toDouble(), 120.0);
        // The same file again: the row is a likely duplicate of the one imported.
        out = run({}, 0);
        QVERIFY2(out.contains(QStringLiteral("已导入 0 条，拒绝 1 条，可能重复跳过 1 条")),
                 qPrintable(out));
    }
};

HALVORRA_TEST_MAIN(TestSheetImport)
#include "tst_sheet_import.moc"
