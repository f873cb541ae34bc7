// Matching on a demo pair of 100,000 listings and 100,000 customers: one listing
// against the customers and one customer against the listings, each beside its
// candidate statement alone (through our data layer, and in the sqlcipher command
// line with the key already derived, so only the statement is timed). Rows: a
// typical listing and customer, the same without area/price or bounds (open: the
// bounds filter nothing), and a customer who asks for nothing at all (every valid
// listing for sale fits: the largest result there is, of which the best 500 are
// listed). The statement timed beside each is the candidate statement over the
// columns a result shows.
#include "bench/BenchSupport.h"
#include "data/DbError.h"
#include "data/Query.h"
#include "data/Schema.h"
#include "matching/core/MatchSearch.h"
#include "tools/lib/DemoData.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QProcess>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <cstdio>

namespace
{

// The statement's own time in the command line: the key is derived by a first
// statement, then the timer reports the statement (rows written to /dev/null).
double viaCli(const QString& path, const QString& sql)
{
    QProcess p;
    p.start(QStringLiteral("sqlcipher"), {path});
    p.waitForStarted();
    p.write(QStringLiteral("PRAGMA key='%1';\nselect count(*) from 公司信息;\n.output "
                           "/dev/null\n.timer on\n%2;\n.quit\n")
                .arg(QString::fromLatin1(Schema::mainPassword()), sql)
                .toUtf8());
    p.closeWriteChannel();
    p.waitForFinished(-1);
    const QString out = QString::fromUtf8(p.readAllStandardOutput() + p.readAllStandardError());
    const auto m = QRegularExpression(QStringLiteral("Run Time: real ([0-9.]+)")).match(out);
    return m.hasMatch() ? m.captured(1).toDouble() * 1000 : -1;
}

// The first row of a statement, as the matching reads a query window's current row.
template <typename T> T firstRow(Connection& c, const QString& sql, T (*read)(const Query&))
{
    Query q(&c);
    q.addSql(sql);
    q.open();
    if (q.isEmpty()) throw DbError(QStringLiteral("演示数据里没有这样的行：%1").arg(sql));
    return read(q);
}

void report(Connection& c, const QString& path, const char* name, const QStringList& lines,
            const std::function<Matching::MatchTable()>& match)
{
    int candidates = 0, shown = 0, listed = 0;
    const double statement = best(3, [&] {
        Query q(&c);
        q.setSql(lines);
        const double t = ms([&] { q.open(); });
        candidates = q.recordCount();
        return t;
    });
    const double first = ms([&] {
        const Matching::MatchTable t = match();
        listed = int(t.rows.size());
        shown = listed + t.more;
    });
    const double total = best(3, [&] { return ms([&] { match(); }); });
    const QString sql = c.translate(lines.join(QLatin1Char('\n')) + QLatin1Char('\n')).trimmed();
    const double cli = best(3, [&] { return viaCli(path, sql); });
    std::printf("%-34s candidates %6d fit %6d listed %4d  match %7.1f ms (first %7.1f)  "
                "statement: ours %7.1f ms, sqlcipher %7.1f ms  %s\n",
                name, candidates, shown, listed, total, first, statement, cli,
                total < 200 ? "under 0.2 s" : "OVER 0.2 s");
}

} // namespace

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    const int n = argc > 1 ? QString::fromLatin1(argv[1]).toInt() : 100000;

    QTemporaryDir dir;
    DemoData::Options o;
    o.listings = n;
    o.customers = n;
    QElapsedTimer t;
    t.start();
    DemoData::createDemoPair(dir.path(), o);
    const QString path = dir.filePath(QStringLiteral("fybase.mdb"));
    std::printf("demo pair with %d listings and %d customers made in %.1f s\n", n, n,
                t.elapsed() / 1000.0);

    Connection c(DbKind::Main);
    c.setDatabase(path, QString::fromLatin1(Schema::mainPassword()));
    c.open();

    using namespace Matching;
    const Listing typical =
        firstRow(c,
                 QStringLiteral("select * from 房屋信息 where 类型=\"有效\" and 方式=\"出售\" and "
                                "房屋面积>=80 and 房屋面积<=100 and 信息价格>=800000 and "
                                "信息价格<=1200000 order by 档案号"),
                 &listingFrom);
    Listing noArea = typical;
    noArea.area = 0;
    noArea.price = 0;
    const Customer buyer = firstRow(
        c,
        QStringLiteral("select * from 客户信息 where 类型=\"有效\" and 需求方式=\"求购\" and "
                       "地址描述=\"不限\" and 面积1>=60 and 面积1<=80 order by 档案号"),
        &customerFrom);
    Customer openBounds = buyer;
    openBounds.area1 = openBounds.area2 = openBounds.price1 = openBounds.price2 = 0;

    report(c, path, "listing -> customers", customerCandidates(typical, true),
           [&] { return customersFor(c, typical, true); });
    report(c, path, "listing without area/price", customerCandidates(noArea, true),
           [&] { return customersFor(c, noArea, true); });
    report(c, path, "customer -> listings", listingCandidates(buyer, true),
           [&] { return listingsFor(c, buyer, true); });
    report(c, path, "customer with open bounds", listingCandidates(openBounds, true),
           [&] { return listingsFor(c, openBounds, true); });
    // A customer saved with the entry's defaults: every valid listing for sale fits.
    Customer nothingAsked;
    nothingAsked.archive = buyer.archive;
    nothingAsked.validity = buyer.validity;
    nothingAsked.mode = buyer.mode;
    nothingAsked.floor = nothingAsked.houseType = nothingAsked.location = nothingAsked.wantedArea =
        QStringLiteral("不限");
    report(c, path, "customer asking nothing", listingCandidates(nothingAsked, true),
           [&] { return listingsFor(c, nothingAsked, true); });
    return 0;
}
