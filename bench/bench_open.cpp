// Opening "select * from 房屋信息" into a row set on 100,000 listings, on a file
// and on a server, each beside its engine's command line (sqlcipher, psql) running
// the same statement the row set sends.
//   bench_open [DIR]   (DIR is made with 100,000 listings when it holds no pair;
//                       the server database is copied from it)
#include "bench/BenchSupport.h"
#include "data/DatabaseCopy.h"
#include "data/Query.h"
#include "tools/lib/DemoData.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>

namespace
{

void measure(const QString& location)
{
    const QString sql = QStringLiteral("select * from 房屋信息");
    double best = 1e9, bestCli = 1e9;
    int rows = 0;
    QString sent;
    for (int run = 0; run < 3; ++run) {
        Connection c(DbKind::Main);
        c.setDatabase(location, QString::fromLatin1(Schema::mainPassword()));
        QElapsedTimer t;
        t.start();
        c.open();
        Query q(&c);
        q.addSql(sql);
        q.open();
        rows = q.recordCount();
        best = std::min(best, t.nsecsElapsed() / 1e9);
        sent = q.engineText().simplified();
        bestCli = std::min(bestCli, cliSeconds(location, sent));
    }
    std::printf("%s: %d rows, statement sent: %s\n", cliName(location), rows, qPrintable(sent));
    std::printf("  row set (open connection + open query): %.3f s\n", best);
    std::printf("  %-9s command line (same statement):  %.3f s\n", cliName(location), bestCli);
    std::printf("  ratio: %.2fx (target: within 1.5x)\n", best / bestCli);
}

} // namespace

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    try {
        const QString file = demoFile100k(argc, argv);
        BenchServer server;
        const QString db = server.database(QStringLiteral("halvorra_bench_100k"));
        if (!BenchServer::hasTables(db)) {
            std::printf("copying it to the server ...\n");
            DatabaseCopy::copy(file, db);
        }
        measure(file);
        measure(db);
    } catch (const DbError& e) {
        std::fprintf(stderr, "%s\n", qPrintable(e.text()));
        return 1;
    }
    return 0;
}
