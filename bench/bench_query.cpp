// Listing query on 100,000 listings, on a file and on a server: the quick search
// and a condition-builder search, each beside its engine's command line (sqlcipher,
// psql) running the same statement the row set sends, and the time until the
// query window's grid shows a 100,000-row result (with 50,000 follow-up notes:
// with and without the column of last-note dates, and sorted by it).
//   bench_query [N]
#include "bench/BenchSupport.h"
#include "data/DatabaseCopy.h"
#include "data/Dmbasic.h"
#include "listings/Frm_fycx.h"
#include "listings/core/ListingSearch.h"
#include "records/core/FollowUps.h"
#include "session/PubVars.h"
#include "shell/App.h"
#include "tools/lib/DemoData.h"

#include <QTemporaryDir>

namespace
{

// Milliseconds for the statement through the row set (all rows fetched).
void compare(Connection& c, const char* name, const QStringList& lines)
{
    int rows = 0;
    QString sent;
    const double ours = best(3, [&] {
        Query q(&c);
        q.setSql(lines);
        QElapsedTimer t;
        t.start();
        q.open();
        const double ms = t.nsecsElapsed() / 1e6;
        rows = q.recordCount();
        sent = q.engineText().simplified();
        return ms;
    });
    const double cli = best(3, [&] { return cliSeconds(c.path(), sent) * 1e3; });
    const double start =
        best(3, [&] { return cliSeconds(c.path(), QStringLiteral("select 1")) * 1e3; });
    std::printf("  %-28s rows %7d  ours %8.1f ms  %-9s %8.1f ms (start-up %6.1f ms, net %8.1f ms)  "
                "ratio %.2f\n",
                name, rows, ours, cliName(c.path()), cli, start, cli - start,
                ours / std::max(1.0, cli - start));
}

void searches(const QString& location)
{
    std::printf("%s:\n", cliName(location));
    Connection c(DbKind::Main);
    c.setDatabase(location, QString::fromLatin1(Schema::mainPassword()));
    c.open();
    ListingSearch::QuickSearch s;
    s.rq1 = QStringLiteral("000101");
    s.rq2 = QStringLiteral("991231");
    s.xqdz = QStringLiteral("花园");
    s.jg1 = QStringLiteral("500000");
    s.jg2 = QStringLiteral("2000000");
    compare(c, "quick search (text, price)", ListingSearch::quickSearch(s));
    compare(c, "condition builder",
            ListingSearch::builderSearch(
                QStringLiteral("And ( 方式 = '出售' ) And ( 户型 like '%室%' ) ")));
    compare(c, "all listings", ListingSearch::builderSearch(QString()));
    // The row set alone, with and without the column of last-note dates (taken in
    // turns, best of five each), and the dates' own statement.
    double plain = 1e300, withLast = 1e300;
    for (int run = 0; run < 5; ++run)
        for (const bool last : {false, true}) {
            Query q(&c);
            if (last) q.computedColumns = FollowUps::lastColumns;
            q.setSql(ListingSearch::builderSearch(QString()));
            QElapsedTimer t;
            t.start();
            q.open();
            double& b = last ? withLast : plain;
            b = std::min(b, t.nsecsElapsed() / 1e6);
        }
    const double dates = best(5, [&] {
        QElapsedTimer t;
        t.start();
        FollowUps::lastDates(c, QStringLiteral("房屋信息"));
        return t.nsecsElapsed() / 1e6;
    });
    std::printf("  all listings, row set alone: %8.1f ms, with the last-note column %8.1f ms "
                "(of which the last-note dates %6.1f ms)\n",
                plain, withLast, dates);
}

// The query window showing every listing.
void window(const QString& location)
{
    dmbasic = new Tdmbasic;
    dmbasic->adoCntnfybase.setDatabase(location, QString::fromLatin1(Schema::mainPassword()));
    dmbasic->adoCntnfybase.open();
    QSRQ = QStringLiteral("000101");
    CZRQ = QStringLiteral("991231");
    CurUser.YGXM = QStringLiteral("测试");
    for (int run = 0; run < 3; ++run) {
        QElapsedTimer t;
        t.start();
        auto* w = new TFrmFYCX;
        w->show();
        QApplication::processEvents();
        const int shown = w->DBGridEh1->model()->rowCount();
        const double opened = t.nsecsElapsed() / 1e6;
        t.restart();
        w->BitBtn1->setFocus();
        w->cbSFYX->setChecked(true);
        w->BitBtn5Click();
        QApplication::processEvents();
        const double quick = t.nsecsElapsed() / 1e6;
        const int quickRows = w->DBGridEh1->model()->rowCount();
        t.restart();
        w->qryFwxx.last();
        QApplication::processEvents();
        const double toLast = t.nsecsElapsed() / 1e6;
        // Sorting the result by the last-note dates, as a click on the title does.
        t.restart();
        w->DBGridEh1->sortByColumn(w->DBGridEh1->columnCount() - 1, Qt::AscendingOrder);
        QApplication::processEvents();
        const double sorted = t.nsecsElapsed() / 1e6;
        // The same search without the computed column of last-note dates.
        w->qryFwxx.computedColumns = {};
        t.restart();
        w->BitBtn5Click();
        QApplication::processEvents();
        const double plain = t.nsecsElapsed() / 1e6;
        std::printf("  window open, grid shows %d rows: %8.1f ms; 速查 to %d rows shown: %8.1f ms "
                    "(without the last-note column %8.1f ms); move to last row: %6.1f ms; sort "
                    "by last note: %6.1f ms\n",
                    shown, opened, quickRows, quick, plain, toLast, sorted);
        delete w;
    }
    delete dmbasic;
    dmbasic = nullptr;
}

} // namespace

int main(int argc, char** argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    HalvorraApp app(argc, argv);
    const int n = argc > 1 ? QString::fromLatin1(argv[1]).toInt() : 100000;
    try {
        QTemporaryDir dir;
        DemoData::Options o;
        o.listings = n;
        o.customers = 10;
        o.notes = n / 2; // half as many follow-up notes as listings
        QElapsedTimer t;
        t.start();
        DemoData::createDemoPair(dir.path(), o);
        const QString path = dir.filePath(QStringLiteral("fybase.mdb"));
        std::printf("demo pair with %d listings made in %.1f s\n", n, t.elapsed() / 1000.0);
        BenchServer server;
        const QString db = server.freshDatabase(QStringLiteral("halvorra_bench_query"));
        t.restart();
        DatabaseCopy::copy(path, db);
        std::printf("copied to the server in %.1f s\n", t.elapsed() / 1000.0);
        for (const QString& location : {path, db})
            searches(location);
        for (const QString& location : {path, db}) {
            std::printf("query window on %s:\n", cliName(location));
            window(location);
        }
    } catch (const DbError& e) {
        std::fprintf(stderr, "%s\n", qPrintable(e.text()));
        return 1;
    }
    return 0;
}
