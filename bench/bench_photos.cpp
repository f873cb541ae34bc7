// Photos of listings: 40 photos of 12 megapixels added to one listing (time per
// photo), a card's strip of 40 photos shown, the listing query window on 100,000
// listings of which 10,000 have photos beside the same window without photos, the
// listing sheet of 100 listings to PDF, and a backup of a database holding 20,000
// photos (time and peak memory; from a file, and from a server with --server).
//   bench_photos [--sheet FILE.pdf] [--photos N] [--server]
//   bench_photos --window PLAIN WITH_PHOTOS   (only the query window, on two given databases)
#include "bench/BenchSupport.h"
#include "data/DatabaseCopy.h"
#include "data/DbLocation.h"
#include "data/Dmbasic.h"
#include "listings/Frm_fycx.h"
#include "photos/ListingSheet.h"
#include "photos/PhotoImage.h"
#include "photos/PhotoStrip.h"
#include "photos/core/PhotoStore.h"
#include "records/core/FollowUps.h"
#include "session/PubVars.h"
#include "shell/App.h"
#include "tools/lib/DemoData.h"

#include <QBuffer>
#include <QFile>
#include <QImageWriter>
#include <QPainter>
#include <QRandomGenerator>
#include <QTemporaryDir>

namespace
{

// A camera-like picture: gradients and noise, so it compresses like a photo.
QByteArray cameraJpeg(int w, int h, int seed)
{
    QImage img(w, h, QImage::Format_RGB32);
    QRandomGenerator rng(seed);
    for (int y = 0; y < h; ++y) {
        auto* line = reinterpret_cast<QRgb*>(img.scanLine(y));
        for (int x = 0; x < w; ++x) {
            const int n = int(rng.bounded(24));
            line[x] = qRgb((x * 255 / w + n) & 255, (y * 255 / h + n) & 255,
                           ((x + y + seed) / 7 + n) & 255);
        }
    }
    QByteArray out;
    QBuffer b(&out);
    b.open(QIODevice::WriteOnly);
    QImageWriter wr(&b, "jpeg");
    wr.setQuality(92);
    wr.write(img);
    return out;
}

long peakKb()
{
    QFile f(QStringLiteral("/proc/self/status"));
    f.open(QIODevice::ReadOnly);
    for (const QByteArray& line : f.readAll().split('\n'))
        if (line.startsWith("VmHWM:")) return line.mid(6).trimmed().split(' ').first().toLong();
    return -1;
}
void resetPeak()
{
    QFile f(QStringLiteral("/proc/self/clear_refs"));
    if (f.open(QIODevice::WriteOnly)) f.write("5");
}

std::unique_ptr<Connection> open(const QString& location)
{
    auto c = std::make_unique<Connection>(DbKind::Main);
    c->setDatabase(location, QString::fromLatin1(Schema::mainPassword()));
    c->open();
    c->setActor({QStringLiteral("001"), QStringLiteral("bench")});
    return c;
}

QStringList numbers(Connection& c, int n)
{
    QStringList out;
    Statement st(c, QStringLiteral("SELECT 档案号 FROM 房屋信息 ORDER BY 档案号 LIMIT %1").arg(n));
    while (st.step())
        out << st.value(0).toString();
    return out;
}

// 速查 over every listing in the query window, best of three (ms).
double windowSearch(const QString& location, bool withPhotoColumn)
{
    dmbasic = new Tdmbasic;
    dmbasic->adoCntnfybase.setDatabase(location, QString::fromLatin1(Schema::mainPassword()));
    dmbasic->adoCntnfybase.open();
    QSRQ = QStringLiteral("000101");
    CZRQ = QStringLiteral("991231");
    double best = 1e300;
    for (int run = 0; run < 3; ++run) {
        auto* w = new TFrmFYCX;
        if (!withPhotoColumn) w->qryFwxx.computedColumns = FollowUps::lastColumns;
        w->show();
        QApplication::processEvents();
        QElapsedTimer t;
        t.start();
        w->BitBtn5Click();
        QApplication::processEvents();
        best = std::min(best, t.nsecsElapsed() / 1e6);
        delete w;
    }
    delete dmbasic;
    dmbasic = nullptr;
    return best;
}

void windowFigures(const QString& plain, const QString& withPhotos)
{
    const double without = windowSearch(plain, true);
    const double with = windowSearch(withPhotos, true);
    const double noColumn = windowSearch(withPhotos, false);
    std::printf("query window 速查 on 100,000 listings (%s): no photos %.1f ms; 10,000 with "
                "photos %.1f ms (%+.1f %%); the same without the 照片 column %.1f ms\n",
                DbLocation::isServer(plain) ? "server" : "file", without, with,
                (with / without - 1) * 100, noColumn);
}

} // namespace

int main(int argc, char** argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    HalvorraApp app(argc, argv);
    const QStringList args = app.arguments();
    const int sheetAt = int(args.indexOf(QStringLiteral("--sheet")));
    const int photosAt = int(args.indexOf(QStringLiteral("--photos")));
    const int backupPhotos =
        photosAt > 0 && photosAt + 1 < args.size() ? args[photosAt + 1].toInt() : 20000;
    try {
        // Only the query window, on two databases made by an earlier run.
        if (const int at = int(args.indexOf(QStringLiteral("--window")));
            at > 0 && at + 2 < args.size()) {
            windowFigures(args[at + 1], args[at + 2]);
            return 0;
        }
        QTemporaryDir dir;
        const QString sheetPath = sheetAt > 0 && sheetAt + 1 < args.size()
                                      ? args[sheetAt + 1]
                                      : dir.filePath(QStringLiteral("sheet.pdf"));
        DemoData::Options o;
        o.listings = 100000;
        o.customers = 10;
        std::printf("making 100,000 listings ...\n");
        DemoData::createDemoPair(dir.path(), o);
        const QString plain = dir.filePath(QStringLiteral("fybase.mdb"));
        const QString withPhotos = dir.filePath(QStringLiteral("photos.mdb"));
        QFile::copy(plain, withPhotos);
        auto c = open(withPhotos);
        const QStringList all = numbers(*c, 100000);

        // 1. 40 photos of 12 megapixels into one listing.
        QList<QByteArray> shots;
        for (int i = 0; i < 4; ++i)
            shots << cameraJpeg(4000, 3000, i);
        QElapsedTimer t;
        t.start();
        QList<Photos::NewPhoto> forty;
        for (int i = 0; i < 40; ++i)
            forty << PhotoImage::fromBytes(shots[i % 4], QStringLiteral("IMG_%1.jpg").arg(i));
        const double prepared = t.nsecsElapsed() / 1e6;
        t.restart();
        Photos::add(*c, all.first(), forty);
        const double stored = t.nsecsElapsed() / 1e6;
        qint64 bytes = 0;
        for (const Photos::NewPhoto& p : forty)
            bytes += p.picture.size() + p.thumbnail.size() + p.exchange.size();
        std::printf(
            "40 photos of 12 MP (%.1f MB a file): %.0f ms a photo to prepare, %.1f ms a photo to "
            "store; %.0f KB a photo stored\n",
            shots.first().size() / 1048576.0, prepared / 40, stored / 40, bytes / 40 / 1024.0);

        // 2. The strip of a card with 40 photos, until painted.
        {
            Query q(c.get());
            q.addSql(QStringLiteral("select * from 房屋信息 where 档案号='%1'").arg(all.first()));
            q.open();
            double bestMs = 1e300;
            for (int run = 0; run < 3; ++run) {
                t.restart();
                PhotoStrip strip(nullptr);
                strip.resize(900, 140);
                strip.follow(&q, {});
                strip.show();
                strip.repaint();
                QApplication::processEvents();
                bestMs = std::min(bestMs, t.nsecsElapsed() / 1e6);
            }
            std::printf("card strip with 40 photos painted: %.1f ms (goal 300 ms)\n", bestMs);
        }

        // 3. 10,000 listings with a photo; the query window beside the one without.
        t.restart();
        {
            const Photos::NewPhoto small =
                PhotoImage::fromBytes(cameraJpeg(1024, 768, 9), QStringLiteral("s.jpg"));
            Connection::BulkScope bulk(*c);
            Connection::Transaction tx(*c);
            for (int i = 1; i <= 10000; ++i)
                Photos::add(*c, all[i * 9], {small});
            tx.commit();
        }
        std::printf("10,000 listings given a photo in %.1f s\n", t.nsecsElapsed() / 1e9);
        c.reset();
        windowFigures(plain, withPhotos);

        // 4. The listing sheet of 100 listings (the first has 40 photos, 99 have one).
        c = open(withPhotos);
        QStringList hundred;
        hundred << all.first();
        for (int i = 1; i < 100; ++i)
            hundred << all[i * 9];
        t.restart();
        const int pages = ListingSheet::writePdf(
            sheetPath, *c, ListingSheet::office(*c, QStringLiteral("001")), hundred);
        std::printf("listing sheet of 100 listings: %.1f s, %d pages, %.1f MB (%s)\n",
                    t.nsecsElapsed() / 1e9, pages, QFileInfo(sheetPath).size() / 1048576.0,
                    qPrintable(sheetPath));

        // 5. A backup of a database holding this many photos.
        const QString big = dir.filePath(QStringLiteral("big.mdb"));
        Schema::createMainDatabase(big);
        {
            auto b = open(big);
            Statement ins(*b, QStringLiteral("INSERT INTO 房屋信息 (档案号) VALUES (?)"));
            const Photos::NewPhoto p =
                PhotoImage::fromBytes(cameraJpeg(1024, 768, 3), QStringLiteral("b.jpg"));
            Connection::BulkScope bulk(*b);
            Connection::Transaction tx(*b);
            for (int i = 0; i < backupPhotos / 20; ++i) {
                const QString n = QStringLiteral("001%1").arg(i, 9, 10, QLatin1Char('0'));
                ins.bind(1, n);
                ins.step();
                ins.reset();
                Photos::add(*b, n, QList<Photos::NewPhoto>(20, p));
            }
            tx.commit();
        }
        std::printf("database with %d photos: %.0f MB\n", backupPhotos,
                    QFileInfo(big).size() / 1048576.0);
        resetPeak();
        const long before = peakKb();
        t.restart();
        QString why;
        const bool ok = DatabaseCopy::backup(big, dir.filePath(QStringLiteral("backup.mdb")),
                                             QString::fromLatin1(Schema::mainPassword()), &why);
        std::printf("backup from the file: %s in %.1f s, peak memory %ld MB (%ld MB before)\n",
                    ok ? "done" : qPrintable(why), t.nsecsElapsed() / 1e9, peakKb() / 1024,
                    before / 1024);
        if (args.contains(QStringLiteral("--server"))) {
            BenchServer server;
            // The query window on the server: the same two databases copied there.
            const QString plainDb = server.freshDatabase(QStringLiteral("halvorra_bench_plain"));
            const QString photosDb =
                server.freshDatabase(QStringLiteral("halvorra_bench_with_photos"));
            t.restart();
            DatabaseCopy::copy(plain, plainDb);
            DatabaseCopy::copy(withPhotos, photosDb);
            std::printf("both query databases copied to the server in %.1f s\n",
                        t.nsecsElapsed() / 1e9);
            windowFigures(plainDb, photosDb);
            const QString db = server.freshDatabase(QStringLiteral("halvorra_bench_photos"));
            t.restart();
            DatabaseCopy::copy(big, db);
            std::printf("copied to the server in %.1f s\n", t.nsecsElapsed() / 1e9);
            resetPeak();
            t.restart();
            const bool ok2 =
                DatabaseCopy::backup(db, dir.filePath(QStringLiteral("backup2.mdb")),
                                     QString::fromLatin1(Schema::mainPassword()), &why);
            std::printf("backup from the server: %s in %.1f s, peak memory %ld MB\n",
                        ok2 ? "done" : qPrintable(why), t.nsecsElapsed() / 1e9, peakKb() / 1024);
        }
    } catch (const DbError& e) {
        std::fprintf(stderr, "%s\n", qPrintable(e.text()));
        return 1;
    } catch (const PhotoImage::Refused& e) {
        std::fprintf(stderr, "%s\n", qPrintable(e.text()));
        return 1;
    }
    return 0;
}
