// Opening "select * from 房屋信息" into a row set on a demo pair of 100,000
// listings, beside the sqlcipher command line running the same query on the same file.
//   bench_open [DIR]   (DIR is made with 100,000 listings when it holds no pair)
#include "data/Connection.h"
#include "data/Query.h"
#include "data/Schema.h"
#include "tools/lib/DemoData.h"

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QProcess>
#include <cstdio>

static double cliSeconds(const QString& file, const QString& sql)
{
    QProcess p;
    p.setStandardOutputFile(QProcess::nullDevice());
    QElapsedTimer t;
    t.start();
    p.start(QStringLiteral("sqlcipher"), {file});
    p.waitForStarted();
    p.write(QStringLiteral("PRAGMA key='%1';\n%2;\n")
                .arg(QString::fromLatin1(Schema::mainPassword()), sql)
                .toUtf8());
    p.closeWriteChannel();
    p.waitForFinished(-1);
    return t.nsecsElapsed() / 1e9;
}

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    const QString dir = argc > 1 ? QString::fromLocal8Bit(argv[1])
                                 : QDir::tempPath() + QStringLiteral("/halvorra-bench-100k");
    const QString file = dir + QStringLiteral("/fybase.mdb");
    if (!QFile::exists(file)) {
        std::printf("making a demo pair of 100,000 listings in %s ...\n", qPrintable(dir));
        DemoData::Options o;
        o.listings = 100000;
        o.customers = 1000;
        DemoData::createDemoPair(dir, o);
    }
    const QString sql = QStringLiteral("select * from 房屋信息");
    double best = 1e9, bestCli = 1e9;
    int rows = 0;
    for (int run = 0; run < 3; ++run) {
        Connection c(DbKind::Main);
        c.setDatabase(file, QString::fromLatin1(Schema::mainPassword()));
        QElapsedTimer t;
        t.start();
        c.open();
        Query q(&c);
        q.addSql(sql);
        q.open();
        rows = q.recordCount();
        best = std::min(best, t.nsecsElapsed() / 1e9);
        bestCli = std::min(bestCli, cliSeconds(file, sql));
    }
    std::printf("rows: %d\n", rows);
    std::printf("row set (open connection + open query): %.3f s\n", best);
    std::printf("sqlcipher command line (same query):     %.3f s\n", bestCli);
    std::printf("ratio: %.2fx (target: within 2x)\n", best / bestCli);
    return 0;
}
