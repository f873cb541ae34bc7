// Listing query on a demo pair of 100,000 listings: the quick search and a
// condition-builder search, each beside the same statement run by the sqlcipher
// command line on the same file, and the time until the query window's grid shows
// a 100,000-row result.
#include "app/core/PubVars.h"
#include "common/App.h"
#include "data/Dmbasic.h"
#include "data/Schema.h"
#include "listings/Frm_fycx.h"
#include "listings/core/ListingSearch.h"
#include "tools/lib/DemoData.h"

#include <QElapsedTimer>
#include <QProcess>
#include <QTemporaryDir>
#include <cstdio>

namespace
{

// Milliseconds for the statement through our data layer (all rows fetched).
double viaQuery(Connection& c, const QStringList& lines, int& rows)
{
    Query q(&c);
    q.setSql(lines);
    QElapsedTimer t;
    t.start();
    q.open();
    rows = q.recordCount();
    const double ms = t.nsecsElapsed() / 1e6;
    q.close();
    return ms;
}

// Milliseconds for the command line to open the file with its key and run sql,
// writing the rows to /dev/null.
double viaCli(const QString& path, const QString& sql)
{
    QProcess p;
    QElapsedTimer t;
    t.start();
    p.start(QStringLiteral("sqlcipher"), {path});
    p.waitForStarted();
    p.write(QStringLiteral("PRAGMA key='%1';\n.output /dev/null\n%2;\n.quit\n")
                .arg(QString::fromLatin1(Schema::mainPassword()), sql)
                .toUtf8());
    p.closeWriteChannel();
    p.waitForFinished(-1);
    return t.nsecsElapsed() / 1e6;
}

double best(int runs, const std::function<double()>& f)
{
    double b = 1e300;
    for (int i = 0; i < runs; ++i)
        b = std::min(b, f());
    return b;
}

void compare(Connection& c, const QString& path, const char* name, const QStringList& lines)
{
    int rows = 0;
    const double ours = best(3, [&] { return viaQuery(c, lines, rows); });
    QString sql = c.translate(lines.join(QLatin1Char('\n')) + QLatin1Char('\n')).trimmed();
    const double cli = best(3, [&] { return viaCli(path, sql); });
    const double start = best(3, [&] { return viaCli(path, QStringLiteral("select 1")); });
    std::printf("%-28s rows %7d  ours %8.1f ms  sqlcipher %8.1f ms (startup %6.1f ms, net %8.1f "
                "ms)  ratio %.2f\n",
                name, rows, ours, cli, start, cli - start, ours / std::max(1.0, cli));
}

} // namespace

int main(int argc, char** argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    HalvorraApp app(argc, argv);
    const int n = argc > 1 ? QString::fromLatin1(argv[1]).toInt() : 100000;

    QTemporaryDir dir;
    DemoData::Options o;
    o.listings = n;
    o.customers = 10;
    QElapsedTimer t;
    t.start();
    DemoData::createDemoPair(dir.path(), o);
    const QString path = dir.filePath(QStringLiteral("fybase.mdb"));
    std::printf("demo pair with %d listings made in %.1f s\n", n, t.elapsed() / 1000.0);

    Connection c(DbKind::Main);
    c.setDatabase(path, QString::fromLatin1(Schema::mainPassword()));
    c.open();

    ListingSearch::QuickSearch s;
    s.rq1 = QStringLiteral("000101");
    s.rq2 = QStringLiteral("991231");
    s.xqdz = QStringLiteral("花园");
    s.jg1 = QStringLiteral("500000");
    s.jg2 = QStringLiteral("2000000");
    compare(c, path, "quick search (text, price)", ListingSearch::quickSearch(s));
    compare(c, path, "condition builder",
            ListingSearch::builderSearch(
                QStringLiteral("And ( 方式 = '出售' ) And ( 户型 like '%室%' ) ")));
    compare(c, path, "all listings", ListingSearch::builderSearch(QString()));

    // The query window showing every listing.
    dmbasic = new Tdmbasic;
    dmbasic->adoCntnfybase.setDatabase(path, QString::fromLatin1(Schema::mainPassword()));
    dmbasic->adoCntnfybase.open();
    QSRQ = QStringLiteral("000101");
    CZRQ = QStringLiteral("991231");
    CurUser.YGXM = QStringLiteral("测试");
    for (int run = 0; run < 3; ++run) {
        t.restart();
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
        std::printf("window open, grid shows %d rows: %8.1f ms; 速查 to %d rows shown: %8.1f ms; "
                    "move to last row: "
                    "%6.1f ms\n",
                    shown, opened, quickRows, quick, toLast);
        delete w;
    }
    delete dmbasic;
    dmbasic = nullptr;
    return 0;
}
