#include "tools/lib/DemoData.h"

#include "admin/core/CompanyRules.h"
#include "data/BulkInsert.h"
#include "data/Connection.h"
#include "data/DbError.h"
#include "data/Schema.h"
#include "data/Text.h"

#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QHash>
#include <QVariant>
#include <random>

namespace DemoData
{

namespace
{

const char* kEstates[] = {"阳光花园", "翠湖小区", "金色家园", "碧水苑",   "东方明珠苑", "幸福里",
                          "锦绣江南", "书香门第", "世纪城",   "枫林绿洲", "桂花园",     "海棠湾",
                          "绿地新城", "龙湖花园", "万科城",   "紫荆苑",   "御景园",     "星河湾"};
const char* kStreets[] = {"人民路", "解放路", "中山路", "建设路", "和平街", "长江路",
                          "黄河路", "友谊路", "光明街", "新华路", "朝阳路", "文化路"};
const char* kFloors[] = {"底层", "低层", "中层", "高层", "顶层", "跃层"};
const char* kTypes[] = {"一室一厅", "两室一厅", "两室两厅", "三室一厅",
                        "三室两厅", "四室两厅", "复式"};
const char* kPlaces[] = {"市中心", "城东", "城西", "城南", "城北", "开发区", "郊区"};
const char* kOwnership[] = {"商品房", "房改房", "经济适用房", "私房"};
const char* kSurnames[] = {"王", "李", "张", "刘", "陈", "杨", "赵", "黄", "周", "吴", "徐", "孙"};
const char* kGiven[] = {"伟", "芳", "娜", "敏", "静", "强", "磊", "军", "洋", "勇", "艳", "杰"};
const char* kNoteKinds[] = {"电话", "带看", "面谈", "其他"};
const char* kNoteTexts[] = {"电话联系，对方有意向，约好周末再谈",
                            "带看一次，比较满意，还在比较",
                            "面谈价格，对方希望再降一些",
                            "暂时不考虑，下个月再联系",
                            "已发房源照片，等回复",
                            "对方出差，一周后再联系"};
const char* kFacilities[] = {"水电气齐全", "带车库", "精装修",  "简装修",
                             "有暖气",     "带阁楼", "家电齐全"};

template <size_t N> QString pick(const char* (&a)[N], std::mt19937& g)
{
    return QString::fromUtf8(a[std::uniform_int_distribution<size_t>(0, N - 1)(g)]);
}

int rnd(std::mt19937& g, int lo, int hi)
{
    return std::uniform_int_distribution<int>(lo, hi)(g);
}

QString phone(std::mt19937& g, bool mobile)
{
    QString s = mobile ? QStringLiteral("13") : QStringLiteral("0");
    const int n = mobile ? 9 : 10;
    for (int i = 0; i < n; ++i)
        s += QChar('0' + rnd(g, 0, 9));
    return s;
}

// Entry dates: spread over the months before today, never after today; each
// (company, date) gets its own daily sequence.
struct Numbering {
    QHash<QString, int> next;
    QString take(const QString& company, const QString& date)
    {
        int& n = next[date];
        for (;;) {
            ++n;
            if (n <= 999) return QStringLiteral("%1").arg(n, 3, 10, QLatin1Char('0'));
            throw DbError(QStringLiteral("演示数据：%1 %2 的流水号已用完").arg(company, date));
        }
    }
};

QString randomDate(std::mt19937& g, const Options& o)
{
    const QDate start = QDate(o.today.year(), o.today.month(), 1).addMonths(-o.monthsBack);
    const int span = int(start.daysTo(o.today));
    return start.addDays(rnd(g, 0, span)).toString(QStringLiteral("yyMMdd"));
}

} // namespace

namespace
{

// Rows into an open main database, inside the caller's transaction.
void fillOn(Connection& c, const Options& o);

QString mainFile(const QString& dir)
{
    return QDir(dir).filePath(QStringLiteral("fybase.mdb"));
}

QString exchangeFile(const QString& dir)
{
    return QDir(dir).filePath(QStringLiteral("fyExp.mdb"));
}

// Makes the main file with `makeMain`, then the exchange file; a failure removes
// what this call made. Neither file may exist before.
void makePair(const QString& dir, const std::function<void(const QString&)>& makeMain)
{
    for (const QString& f : {mainFile(dir), exchangeFile(dir)})
        if (QFile::exists(f)) throw DbError(QStringLiteral("文件已存在，不会覆盖：%1").arg(f));
    const bool madeDir = !QDir(dir).exists();
    if (madeDir && !QDir().mkpath(dir))
        throw DbError(QStringLiteral("无法建立文件夹：%1").arg(dir));
    try {
        makeMain(mainFile(dir));
        Schema::createExchangeDatabase(exchangeFile(dir));
    } catch (...) {
        QFile::remove(mainFile(dir));
        if (madeDir) QDir().rmdir(dir); // only when nothing else came into it
        throw;
    }
}

} // namespace

void check(const Options& o)
{
    const Company::Failure f = Company::check(o.companyCode, QStringLiteral("演示"));
    if (f != Company::Failure::None || o.companyCode != Text::trim(o.companyCode))
        throw DbError(
            QStringLiteral("公司代码“%1”不对：%2")
                .arg(o.companyCode, f != Company::Failure::None
                                        ? Company::message(f)
                                        : Company::message(Company::Failure::CodeLength)));
    if (o.listings < 0 || o.customers < 0 || o.notes < 0)
        throw DbError(QStringLiteral("记录条数不能是负数。"));
}

void createPair(const QString& dir)
{
    makePair(dir, [](const QString& main) { Schema::createMainDatabase(main); });
}

void createDemoPair(const QString& dir, const Options& o)
{
    check(o);
    makePair(dir, [&](const QString& main) { createDemo(main, o); });
}

void createDemo(const QString& location, const Options& o)
{
    check(o);
    Schema::createMainDatabase(location, true, [&](Connection& c) {
        Statement st(c, QStringLiteral("UPDATE 公司信息 SET 公司代码=?"));
        st.bind(1, o.companyCode);
        st.step();
        fillOn(c, o);
    });
}

void fill(const QString& mainLocation, const Options& o)
{
    check(o);
    Connection c(DbKind::Main);
    c.setDatabase(mainLocation, QString::fromLatin1(Schema::mainPassword()));
    c.open();
    Connection::Transaction tx(c);
    fillOn(c, o);
    tx.commit();
}

namespace
{

void fillOn(Connection& c, const Options& o)
{
    std::mt19937 g(o.seed);
    QStringList listings, customers; // archive numbers made here
    // Continue after sequences already present.
    Numbering listingNo, customerNo;
    {
        Statement st(
            c, QStringLiteral(
                   "SELECT 录入日期, max(序号) FROM 房屋信息 WHERE 公司编号=? GROUP BY 录入日期"));
        st.bind(1, o.companyCode);
        while (st.step())
            listingNo.next[st.value(0).toString()] = st.value(1).toString().toInt();
    }
    {
        Statement st(
            c, QStringLiteral(
                   "SELECT 录入日期, max(序号) FROM 客户信息 WHERE 公司编号=? GROUP BY 录入日期"));
        st.bind(1, o.companyCode);
        while (st.step())
            customerNo.next[st.value(0).toString()] = st.value(1).toString().toInt();
    }
    {
        BulkInsert ins(
            c, QStringLiteral("房屋信息"),
            QStringLiteral("档案号,小区名称,地址,楼层,户型,位置,方式,权属,房主姓名,电话,"
                           "手机,类型,期限,备注,公司编号,录入日期,序号,新旧程度,公交线路,"
                           "设施,房屋面积,信息价格,最低价格")
                .split(QLatin1Char(',')));
        for (int i = 0; i < o.listings; ++i) {
            QString date = randomDate(g, o);
            if (listingNo.next.value(date) >= 999)
                date = o.today.addDays(-rnd(g, 0, 3000)).toString(QStringLiteral("yyMMdd"));
            const QString seq = listingNo.take(o.companyCode, date);
            const bool sale = rnd(g, 0, 2) != 0;
            const double area = rnd(g, 35, 220) + rnd(g, 0, 9) / 10.0;
            const double price =
                sale ? double(rnd(g, 20, 300) * 10000) : double(rnd(g, 6, 60) * 100);
            listings << o.companyCode + date + seq;
            ins.add({
                o.companyCode + date + seq,
                pick(kEstates, g),
                pick(kStreets, g) + QString::number(rnd(g, 1, 399)) + QStringLiteral("号"),
                pick(kFloors, g),
                pick(kTypes, g),
                pick(kPlaces, g),
                sale ? QStringLiteral("出售") : QStringLiteral("出租"),
                sale ? QVariant(pick(kOwnership, g)) : QVariant(),
                pick(kSurnames, g) + pick(kGiven, g),
                phone(g, false),
                phone(g, true),
                rnd(g, 0, 9) == 0 ? QStringLiteral("无效") : QStringLiteral("有效"),
                QVariant(),
                QVariant(),
                o.companyCode,
                date,
                seq,
                QString::number(rnd(g, 1, 30)),
                QStringLiteral("%1、%2").arg(rnd(g, 1, 99)).arg(rnd(g, 100, 199)),
                pick(kFacilities, g),
                area,
                price,
                price * 0.9,
            });
        }
        ins.finish();
    }
    {
        BulkInsert ins(
            c, QStringLiteral("客户信息"),
            QStringLiteral("档案号,地址描述,需求方式,权属,需求设施,客户姓名,电话,手机,"
                           "公司编号,录入日期,序号,楼层,户型,位置,类型,面积1,面积2,价格1,"
                           "价格2")
                .split(QLatin1Char(',')));
        for (int i = 0; i < o.customers; ++i) {
            QString date = randomDate(g, o);
            if (customerNo.next.value(date) >= 999)
                date = o.today.addDays(-rnd(g, 0, 3000)).toString(QStringLiteral("yyMMdd"));
            const QString seq = customerNo.take(o.companyCode, date);
            const bool buy = rnd(g, 0, 1) == 0;
            const int a1 = rnd(g, 40, 120);
            const int p1 = buy ? rnd(g, 20, 200) * 10000 : rnd(g, 5, 40) * 100;
            customers << o.companyCode + date + seq;
            ins.add({
                o.companyCode + date + seq,
                rnd(g, 0, 3) == 0 ? QStringLiteral("不限")
                                  : pick(kPlaces, g) + pick(kEstates, g) + QStringLiteral("附近"),
                buy ? QStringLiteral("求购") : QStringLiteral("求租"),
                buy ? QVariant(pick(kOwnership, g)) : QVariant(),
                pick(kFacilities, g),
                pick(kSurnames, g) + pick(kGiven, g),
                phone(g, false),
                phone(g, true),
                o.companyCode,
                date,
                seq,
                rnd(g, 0, 2) == 0 ? QStringLiteral("不限") : pick(kFloors, g),
                rnd(g, 0, 2) == 0 ? QStringLiteral("不限") : pick(kTypes, g),
                rnd(g, 0, 2) == 0 ? QStringLiteral("不限") : pick(kPlaces, g),
                rnd(g, 0, 9) == 0 ? QStringLiteral("无效") : QStringLiteral("有效"),
                double(a1),
                double(a1 + rnd(g, 10, 60)),
                double(p1),
                double(p1 + p1 / 2),
            });
        }
        ins.finish();
    }
    if (o.notes == 0 || listings.size() + customers.size() == 0) return;
    // Follow-up notes of the last weeks, two in three on listings; a viewing of a
    // listing names a customer now and then.
    BulkInsert ins(
        c, QStringLiteral("跟进记录"),
        QStringLiteral("表名,档案号,时间,操作员,跟进方式,内容,客户档案号").split(QLatin1Char(',')));
    const QDateTime now(o.today, QTime(18, 0));
    for (int i = 0; i < o.notes; ++i) {
        const bool listing = customers.isEmpty() || (!listings.isEmpty() && rnd(g, 0, 2) != 0);
        const QStringList& of = listing ? listings : customers;
        const QString kind = pick(kNoteKinds, g);
        const bool names =
            listing && kind == QStringLiteral("带看") && !customers.isEmpty() && rnd(g, 0, 1) == 0;
        ins.add({listing ? QStringLiteral("房屋信息") : QStringLiteral("客户信息"),
                 of[rnd(g, 0, int(of.size()) - 1)],
                 now.addSecs(-qint64(rnd(g, 0, 60 * 24 * 60)) * 60)
                     .toString(QStringLiteral("yyyy-MM-dd HH:mm:ss")),
                 QStringLiteral("admin"), kind, pick(kNoteTexts, g),
                 names ? QVariant(customers[rnd(g, 0, int(customers.size()) - 1)]) : QVariant()});
    }
    ins.finish();
}

} // namespace

} // namespace DemoData
