// 统计分析 on 100,000 listings, 100,000 customers, 20,000 deals and 200,000 follow-up
// notes over a year, on a file and on a server: each page's figures through our
// code (statements, reading, pivoting, quartiles), beside its aggregate statements
// alone in the engine's command line (sqlcipher with the key already derived, psql
// with \timing: only the statements are timed).
#include "bench/BenchSupport.h"
#include "data/BulkInsert.h"
#include "data/DatabaseCopy.h"
#include "deals/core/Statistics.h"

#include <QCoreApplication>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <random>

namespace
{

// Milliseconds the statements take in the engine's command line (the sum of the
// timings it reports, rows written nowhere).
double viaCli(const QString& location, const QStringList& sqls)
{
    QProcess p;
    QString timings;
    if (DbLocation::isServer(location)) {
        QStringList args{QStringLiteral("-X"), QStringLiteral("-q"),
                         QStringLiteral("-d"), location,
                         QStringLiteral("-o"), QStringLiteral("/dev/null"),
                         QStringLiteral("-c"), QStringLiteral("\\timing on")};
        for (const QString& s : sqls)
            args << QStringLiteral("-c") << s;
        p.start(QStringLiteral("psql"), args);
        p.waitForFinished(-1);
        timings = QString::fromUtf8(p.readAllStandardOutput() + p.readAllStandardError());
    } else {
        p.start(QStringLiteral("sqlcipher"), {location});
        p.waitForStarted();
        p.write(
            QStringLiteral("PRAGMA key='%1';\nselect count(*) from 公司信息;\n.output "
                           "/dev/null\n.timer on\n%2;\n.quit\n")
                .arg(QString::fromLatin1(Schema::mainPassword()), sqls.join(QStringLiteral(";\n")))
                .toUtf8());
        p.closeWriteChannel();
        p.waitForFinished(-1);
        timings = QString::fromUtf8(p.readAllStandardOutput() + p.readAllStandardError());
    }
    double total = 0;
    int found = 0;
    const QRegularExpression re(
        QStringLiteral("(?:Run Time: real ([0-9.]+))|(?:Time: ([0-9.]+) ms)"));
    for (auto it = re.globalMatch(timings); it.hasNext();) {
        const auto m = it.next();
        total +=
            m.captured(1).isEmpty() ? m.captured(2).toDouble() : m.captured(1).toDouble() * 1000;
        ++found;
    }
    return found == sqls.size() ? total : -1;
}

// Staff, deals with their agents and notes over the last year, added to a demo file.
void addYear(const QString& path, const QDate& today)
{
    Connection c(DbKind::Main);
    c.setDatabase(path, QString::fromLatin1(Schema::mainPassword()));
    c.open();
    std::mt19937 g(20261210);
    const auto rnd = [&](int lo, int hi) { return std::uniform_int_distribution<int>(lo, hi)(g); };
    Connection::Transaction t(c);
    QStringList staff;
    for (int i = 1; i <= 12; ++i) {
        staff << QStringLiteral("J%1").arg(i, 2, 10, QLatin1Char('0'));
        c.run(
            QStringLiteral("INSERT INTO 操作员档案 (员工编号, 员工姓名) VALUES ('%1', '经纪人%2')")
                .arg(staff.last())
                .arg(i));
    }
    QList<QStringList> listings; // 档案号, 方式, 位置
    {
        Statement st(c, QStringLiteral("SELECT 档案号, 方式, 位置 FROM 房屋信息 ORDER BY 档案号"));
        while (st.step() && listings.size() < 20000)
            listings << QStringList{st.value(0).toString(), st.value(1).toString(),
                                    st.value(2).toString()};
    }
    QStringList customers;
    {
        Statement st(c, QStringLiteral("SELECT 档案号 FROM 客户信息 ORDER BY 档案号"));
        while (st.step() && customers.size() < 20000)
            customers << st.value(0).toString();
    }
    BulkInsert deals(
        c, QStringLiteral("成交记录"),
        QStringLiteral("编号,房源档案号,客户档案号,方式,位置,成交日期,成交价格,业主佣金,"
                       "客户佣金,状态,房源作废,客户作废")
            .split(QLatin1Char(',')));
    BulkInsert agents(
        c, QStringLiteral("成交经纪人"),
        QStringLiteral("成交编号,员工编号,员工姓名,比例,佣金").split(QLatin1Char(',')));
    for (int i = 0; i < 20000; ++i) {
        const QStringList& l = listings[i];
        const qint64 price = qint64(rnd(5000, 300000)) * 10000;
        const qint64 owner = price / 100, customer = price / 200;
        // One in twenty deals cancelled; the others standing (unique per record).
        deals.add({i + 1, l[0], customers[i], l[1], l[2],
                   today.addDays(-rnd(0, 364)).toString(Qt::ISODate), price, owner, customer,
                   rnd(0, 19) == 0 ? QStringLiteral("撤销") : QStringLiteral("有效"), 1, 1});
        const int first = rnd(0, 11), second = (first + rnd(1, 11)) % 12;
        agents.add({i + 1, staff[first], QStringLiteral("经纪人%1").arg(first + 1), 6000,
                    (owner + customer) * 6 / 10});
        agents.add({i + 1, staff[second], QStringLiteral("经纪人%1").arg(second + 1), 4000,
                    (owner + customer) - (owner + customer) * 6 / 10});
    }
    deals.finish();
    agents.finish();
    BulkInsert notes(
        c, QStringLiteral("跟进记录"),
        QStringLiteral("表名,档案号,时间,操作员,跟进方式,内容").split(QLatin1Char(',')));
    const QDateTime end(today, QTime(18, 0));
    for (int i = 0; i < 200000; ++i) {
        const bool listing = rnd(0, 2) != 0;
        notes.add({listing ? QStringLiteral("房屋信息") : QStringLiteral("客户信息"),
                   listing ? listings[rnd(0, int(listings.size()) - 1)][0]
                           : customers[rnd(0, int(customers.size()) - 1)],
                   end.addSecs(-qint64(rnd(0, 365 * 24 * 60)) * 60)
                       .toString(QStringLiteral("yyyy-MM-dd HH:mm:ss")),
                   staff[rnd(0, 11)], QStringLiteral("电话"), QStringLiteral("回访")});
    }
    notes.finish();
    t.commit();
}

struct Figure {
    const char* name;
    std::function<Statistics::Table(Connection&, const Statistics::Filter&)> compute;
    QStringList statements;
};

} // namespace

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    const QDate today = QDate::currentDate();
    const Statistics::Filter f{today.addYears(-1).addDays(1), today, QString(), true};
    const QString from6 = f.from.toString(QStringLiteral("yyMMdd")),
                  to6 = f.to.toString(QStringLiteral("yyMMdd"));
    const QString from = f.from.toString(Qt::ISODate), to = f.to.toString(Qt::ISODate),
                  after = f.to.addDays(1).toString(Qt::ISODate);

    // The data in the folder given as the first argument (made there once, reused
    // by later runs), or in a temporary one.
    QTemporaryDir temp;
    const QString dir = argc > 1 ? QString::fromLocal8Bit(argv[1]) : temp.path();
    const QString path = QDir(dir).filePath(QStringLiteral("fybase.mdb"));
    BenchServer server;
    const QString pg = server.database(QStringLiteral("halvorra_bench_stats"));
    if (!QFile::exists(path) || !BenchServer::hasTables(pg)) {
        QFile::remove(path);
        QFile::remove(QDir(dir).filePath(QStringLiteral("fyExp.mdb")));
        DemoData::Options o;
        o.listings = 100000;
        o.customers = 100000;
        o.notes = 0;
        o.monthsBack = 11;
        QElapsedTimer made;
        made.start();
        DemoData::createDemoPair(dir, o);
        addYear(path, today);
        std::printf("file: 100,000 listings, 100,000 customers, 20,000 deals, 200,000 notes made "
                    "in %.1f s\n",
                    made.elapsed() / 1000.0);
        made.restart();
        DatabaseCopy::copy(path, server.freshDatabase(QStringLiteral("halvorra_bench_stats")));
        std::printf("server: the same rows copied in %.1f s\n", made.elapsed() / 1000.0);
    }

    const QString newOf = QStringLiteral("SELECT substr(录入日期, 1, 4), %1, count(*) FROM %2 "
                                         "WHERE 录入日期>='%3' AND 录入日期<='%4' "
                                         "GROUP BY substr(录入日期, 1, 4), %1");
    const QString supplyOf =
        QStringLiteral("SELECT %1, '%2', count(*) FROM %2 WHERE 类型='有效' GROUP BY %1");
    const QList<Figure> figures = {
        {"new listings/customers per month",
         Statistics::newPerMonth,
         {newOf.arg("方式", "房屋信息", from6, to6),
          newOf.arg("需求方式", "客户信息", from6, to6)}},
        {"supply/demand by 位置",
         [](Connection& c, const Statistics::Filter& f) {
             return Statistics::supplyDemand(c, f, QStringLiteral("位置"));
         },
         {supplyOf.arg("位置", "房屋信息"), supplyOf.arg("位置", "客户信息")}},
        {"supply/demand by 户型",
         [](Connection& c, const Statistics::Filter& f) {
             return Statistics::supplyDemand(c, f, QStringLiteral("户型"));
         },
         {supplyOf.arg("户型", "房屋信息"), supplyOf.arg("户型", "客户信息")}},
        {"price per m2 (quartiles)",
         Statistics::unitPrices,
         {QStringLiteral(
              "SELECT 位置, 方式, 信息价格/房屋面积 FROM 房屋信息 WHERE 录入日期>='%1' AND "
              "录入日期<='%2' AND 房屋面积>0 AND 信息价格>0")
              .arg(from6, to6)}},
        {"deals per month",
         Statistics::dealsPerMonth,
         {QStringLiteral(
              "SELECT substr(成交日期, 1, 7), count(*), CAST(sum(成交价格) AS BIGINT), "
              "CAST(sum(业主佣金+客户佣金) AS BIGINT) FROM 成交记录 WHERE 状态='有效' AND "
              "成交日期>='%1' AND 成交日期<='%2' GROUP BY substr(成交日期, 1, 7) ORDER BY 1")
              .arg(from, to)}},
        {"deals per agent",
         Statistics::dealsPerAgent,
         {QStringLiteral(
              "SELECT a.员工编号, max(a.员工姓名), count(*), CAST(sum(d.成交价格) AS "
              "BIGINT), CAST(sum(a.佣金) AS BIGINT) FROM 成交经纪人 a JOIN 成交记录 d ON "
              "d.编号=a.成交编号 WHERE d.状态='有效' AND d.成交日期>='%1' AND d.成交日期<='%2' "
              "GROUP BY a.员工编号 ORDER BY 1")
              .arg(from, to)}},
        {"notes per operator per month",
         Statistics::notesPerOperator,
         {QStringLiteral("SELECT substr(n.时间, 1, 7), n.操作员, count(*) FROM 跟进记录 n WHERE "
                         "n.时间>='%1' AND n.时间<'%2' GROUP BY substr(n.时间, 1, 7), n.操作员")
              .arg(from, after)}},
    };

    for (const QString& location : {path, pg}) {
        Connection c(DbKind::Main);
        c.setDatabase(location, DbLocation::isServer(location)
                                    ? QString()
                                    : QString::fromLatin1(Schema::mainPassword()));
        c.open();
        std::printf("\n%s\n",
                    DbLocation::isServer(location) ? "server (PostgreSQL)" : "file (SQLCipher)");
        double all = 0;
        for (const Figure& fig : figures) {
            int rows = 0;
            const double ours =
                best(3, [&] { return ms([&] { rows = int(fig.compute(c, f).rows.size()); }); });
            const double cli = best(3, [&] { return viaCli(location, fig.statements); });
            all += ours;
            std::printf("%-34s rows %4d  ours %7.1f ms  statements in %-9s %7.1f ms  %s\n",
                        fig.name, rows, ours, cliName(location), cli,
                        ours < 500 ? "under 0.5 s" : "OVER 0.5 s");
        }
        Statistics::Filter one = f;
        one.location = QStringLiteral("城东");
        const double located = best(3, [&] {
            return ms([&] {
                for (const Figure& fig : figures)
                    fig.compute(c, one);
            });
        });
        std::printf("%-34s %7.1f ms (every page)\n%-34s %7.1f ms (every page)\n", "whole window",
                    all, "whole window, 位置 城东", located);
    }
    return 0;
}
