// Listing exchange timings: importing an exchange file of 10,000 listings into a
// main table of 100,000 (on a file and on a server), and exporting a 10,000-row
// result into the exchange table.
#include "bench/BenchSupport.h"
#include "data/Connection.h"
#include "data/DatabaseCopy.h"
#include "data/Query.h"
#include "data/Schema.h"
#include "exchange/core/Exchange.h"
#include "listings/ListingExchange.h"
#include "tools/lib/DemoData.h"

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QTemporaryDir>
#include <cstdio>

namespace
{

void open(Connection& c, const QString& path, const char* password)
{
    c.setDatabase(path, QString::fromLatin1(password));
    c.open();
}

} // namespace

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    QTemporaryDir tmp;
    const QString here = tmp.path() + QStringLiteral("/here"),
                  other = tmp.path() + QStringLiteral("/other");
    QDir().mkpath(here);
    QDir().mkpath(other);

    QElapsedTimer t;
    t.start();
    DemoData::Options o;
    o.customers = 0;
    o.listings = 100000;
    o.companyCode = QStringLiteral("B02");
    o.monthsBack = 60;
    DemoData::createDemoPair(here, o);
    o.listings = 10000;
    o.companyCode = QStringLiteral("A01");
    o.seed = 7;
    DemoData::createDemoPair(other, o);
    std::printf("setup: two offices with 100,000 and 10,000 listings in %lld ms\n",
                (long long)t.elapsed());

    // Export: the other office's whole register as its query result.
    Connection otherMain(DbKind::Main), otherExp(DbKind::Exchange);
    open(otherMain, other + QStringLiteral("/fybase.mdb"), Schema::mainPassword());
    open(otherExp, other + QStringLiteral("/fyExp.mdb"), Schema::exchangePassword());
    Query result(&otherMain);
    result.addSql(QStringLiteral("select * from 房屋信息 "));
    t.restart();
    result.open();
    const qint64 openMs = t.elapsed();
    int steps = 0;
    const ExchangeProgress count{[](int) {}, [&] { ++steps; }};
    t.restart();
    const int exported = Exchange::exportRows(otherExp, listingExchangeLayout(), result, count);
    const qint64 exportMs = t.elapsed();
    std::printf("export: %d rows (result opened in %lld ms) in %lld ms (target < 2000 ms)\n",
                exported, (long long)openMs, (long long)exportMs);

    // Import the file into the office with 100,000 listings, kept on a file and
    // on a server.
    BenchServer server;
    const QString onServer = server.freshDatabase(QStringLiteral("halvorra_bench_exchange"));
    DatabaseCopy::copy(here + QStringLiteral("/fybase.mdb"), onServer);
    for (const QString& location : {here + QStringLiteral("/fybase.mdb"), onServer}) {
        Connection hereMain(DbKind::Main), file(DbKind::Exchange);
        open(hereMain, location, Schema::mainPassword());
        open(file, other + QStringLiteral("/fyExp.mdb"), Schema::exchangePassword());
        t.restart();
        const int imported = Exchange::importRows(hereMain, file, listingExchangeLayout(), count);
        const qint64 importMs = t.elapsed();
        std::printf("import (%s): %d of 10,000 rows into 100,000 in %lld ms (target < 2000 ms)\n",
                    cliName(location), imported, (long long)importMs);
        t.restart();
        const int again = Exchange::importRows(hereMain, file, listingExchangeLayout(), count);
        std::printf("import again (%s): %d rows added, all 10,000 found present, in %lld ms\n",
                    cliName(location), again, (long long)t.elapsed());
    }
    std::printf("progress steps: %d\n", steps);
    return 0;
}
