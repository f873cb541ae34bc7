// A listing's photos in the main database, on both engines: adding several at once,
// order, cover, caption, removal and their history; the way in (orientation applied,
// metadata gone, reduced, thumbnail and exchange copy); every bad input refused
// with a message naming the file and nothing stored; the limit of 40; the recycle
// bin, the copy and the backup carrying them; a process killed while adding.
#include "data/DatabaseCopy.h"
#include "data/DbError.h"
#include "data/Query.h"
#include "data/RecycleBin.h"
#include "data/Schema.h"
#include "exchange/core/Exchange.h"
#include "listings/ListingExchange.h"
#include "photos/PhotoImage.h"
#include "photos/core/PhotoExchange.h"
#include "photos/core/PhotoStore.h"
#include "tests/exchange/ExchangeFiles.h"
#include "tests/photos/HeifFiles.h"
#include "tests/support/TestSupport.h"

namespace
{

const QString kListing = QStringLiteral("001261209001");

std::unique_ptr<Connection> openActing(const QString& location)
{
    auto c = openMain(location);
    c->setActor({QStringLiteral("007"), QStringLiteral("office-pc")});
    return c;
}

void addListing(Connection& c, const QString& number)
{
    Statement st(
        c, QStringLiteral("INSERT INTO 房屋信息 (档案号,小区名称,类型,公司编号,录入日期,序号) "
                          "VALUES (?,?,?,?,?,?)"));
    st.bindAll({number, QStringLiteral("阳光小区"), QStringLiteral("有效"), QStringLiteral("001"),
                number.mid(3, 6), number.right(3)});
    st.step();
}

// A photo of a w × h picture with a caption.
Photos::NewPhoto photo(int w, int h, const QString& caption = {})
{
    Photos::NewPhoto p = PhotoImage::fromBytes(photofiles::jpeg(photofiles::halves(w, h)),
                                               QStringLiteral("p%1x%2.jpg").arg(w).arg(h));
    p.caption = caption;
    return p;
}

QStringList captions(Connection& c)
{
    QStringList out;
    for (const Photos::Photo& p : Photos::list(c, kListing))
        out << (p.cover ? QStringLiteral("*") : QString()) + p.caption;
    return out;
}

QStringList photoEvents(const TestDb& db)
{
    QStringList out;
    for (const QVariantList& r : db.rows(QStringLiteral(
             "select 操作, 新值 from 修改记录 where 操作 like '%照片%' order by 编号")))
        out << r[0].toString() + QLatin1Char('/') + r[1].toString();
    return out;
}

int addLoop(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    auto c = openActing(qEnvironmentVariable("HALVORRA_PHOTO_LOOP"));
    QList<Photos::NewPhoto> five;
    for (int i = 0; i < 5; ++i)
        five << photo(64, 48);
    for (bool told = false;; told = true) {
        Connection::Transaction t(*c);
        if (Photos::count(*c, kListing) + 5 > Photos::kMaxPerListing) {
            Statement del(*c, QStringLiteral("DELETE FROM 房屋照片"));
            del.step();
        }
        Photos::add(*c, kListing, five);
        t.commit();
        if (!told) {
            fputs("adding\n", stdout);
            fflush(stdout);
        }
    }
}

} // namespace

class TestPhotos : public QObject
{
    Q_OBJECT
    std::unique_ptr<TestDb> db;
    std::unique_ptr<Connection> conn;

private slots:
    void init()
    {
        db = std::make_unique<TestDb>();
        conn = openActing(db->mainPath());
        addListing(*conn, kListing);
    }
    void cleanup()
    {
        conn.reset();
        db.reset();
    }

    void addOrderCoverCaptionRemove()
    {
        const QList<qlonglong> ids = Photos::add(
            *conn, kListing, {photo(300, 200, "客厅"), photo(200, 300, " 卧室 "), photo(120, 90)});
        QCOMPARE(ids.size(), 3);
        QCOMPARE(captions(*conn), (QStringList{"*客厅", "卧室", ""}));
        QCOMPARE(Photos::count(*conn, kListing), 3);
        const QList<Photos::Photo> stored = Photos::list(*conn, kListing);
        QCOMPARE(QSize(stored[1].width, stored[1].height), QSize(200, 300));
        QVERIFY(!PhotoImage::decode(stored[2].thumbnail).isNull());

        Photos::reorder(*conn, kListing, {ids[2], ids[0], ids[1]});
        QCOMPARE(captions(*conn), (QStringList{"", "*客厅", "卧室"}));
        // An order that does not name exactly the listing's photos changes nothing.
        QVERIFY(!errorText([&] { Photos::reorder(*conn, kListing, {ids[0], ids[1]}); }).isEmpty());
        QVERIFY(!errorText([&] {
                     Photos::reorder(*conn, kListing, {ids[0], ids[1], ids[1]});
                 }).isEmpty());
        QCOMPARE(captions(*conn), (QStringList{"", "*客厅", "卧室"}));

        Photos::setCover(*conn, ids[1]);
        Photos::setCaption(*conn, ids[2], QStringLiteral("户型图"));
        QCOMPARE(captions(*conn), (QStringList{"户型图", "客厅", "*卧室"}));
        QVERIFY(errorText([&] {
                    Photos::setCaption(*conn, ids[2], QString(21, QChar(0x5385)));
                }).contains(QStringLiteral("最多只能有 20 个字符")));
        QCOMPARE(*Photos::cover(*conn, kListing, Photos::Copy::Picture),
                 Photos::picture(*conn, ids[1]));

        // Removing the cover makes the first photo left the cover.
        Photos::remove(*conn, ids[1]);
        QCOMPARE(captions(*conn), (QStringList{"*户型图", "客厅"}));
        QVERIFY(!errorText([&] { Photos::remove(*conn, ids[1]); }).isEmpty());
        QCOMPARE(photoEvents(*db),
                 (QStringList{"添加照片/客厅", "添加照片/卧室", "添加照片/p120x90.jpg", "照片排序/",
                              "删除照片/卧室"}));
        QCOMPARE(Photos::counts(*conn).value(kListing), 2);
    }

    void orientationAppliedMetadataGone()
    {
        const QString path = db->dir() + QStringLiteral("/camera.jpg");
        const QByteArray file = photofiles::cameraJpeg(photofiles::halves(400, 200));
        QVERIFY(file.contains(photofiles::kOwner) && file.contains("Exif"));
        QVERIFY(photofiles::write(path, file));
        Photos::add(*conn, kListing, {PhotoImage::fromFile(path)});

        const qlonglong id = Photos::list(*conn, kListing).first().id;
        const QByteArray stored = Photos::picture(*conn, id);
        for (const QByteArray& copy :
             {stored, *Photos::cover(*conn, kListing, Photos::Copy::Thumbnail),
              *Photos::cover(*conn, kListing, Photos::Copy::Exchange)}) {
            QVERIFY(!copy.contains("Exif"));
            QVERIFY(!copy.contains(photofiles::kOwner));
            QVERIFY(!copy.contains(QByteArray::fromHex("88250004"))); // the GPS pointer tag
        }
        // Turned a quarter clockwise: the red left half is now on top.
        const QImage img = PhotoImage::decode(stored);
        QCOMPARE(img.size(), QSize(200, 400));
        QVERIFY(qRed(img.pixel(100, 100)) > 200 && qBlue(img.pixel(100, 100)) < 60);
        QVERIFY(qBlue(img.pixel(100, 300)) > 200 && qRed(img.pixel(100, 300)) < 60);
    }

    // A phone's HEIC (turned by its rotation box, EXIF saying the same) and an AVIF
    // come in turned once, as JPEGs without metadata; a cut-off one is refused.
    void heifFromPhones_data()
    {
        QTest::addColumn<int>("format");
        QTest::addColumn<int>("orientation");
        QTest::addColumn<QSize>("shown");
        QTest::newRow("HEIC turned a quarter")
            << int(heif_compression_HEVC) << 6 << QSize(200, 400);
        QTest::newRow("AVIF as taken") << int(heif_compression_AV1) << 1 << QSize(400, 200);
    }
    void heifFromPhones()
    {
        QFETCH(int, format);
        QFETCH(int, orientation);
        QFETCH(QSize, shown);
        const QByteArray file = photofiles::heif(photofiles::halves(400, 200),
                                                 heif_compression_format(format), orientation);
        QVERIFY(file.contains(photofiles::kOwner));
        const QString path = db->dir() + QStringLiteral("/phone.heic");
        QVERIFY(photofiles::write(path, file));
        QVERIFY(PhotoImage::looksLikePicture(path));
        Photos::add(*conn, kListing, {PhotoImage::fromFile(path)});
        const QByteArray stored = Photos::picture(*conn, Photos::list(*conn, kListing).first().id);
        QVERIFY(!stored.contains(photofiles::kOwner) && !stored.contains("Exif"));
        const QImage img = PhotoImage::decode(stored);
        QCOMPARE(img.size(), shown);
        // The red half is on top when turned, on the left otherwise.
        const QPoint red(100, 100);
        const QPoint blue = orientation == 6 ? QPoint(100, 300) : QPoint(300, 100);
        QVERIFY(qRed(img.pixel(red)) > 200 && qBlue(img.pixel(red)) < 60);
        QVERIFY(qBlue(img.pixel(blue)) > 200 && qRed(img.pixel(blue)) < 60);

        QString text;
        try {
            PhotoImage::fromBytes(file.left(file.size() * 6 / 10), QStringLiteral("cut.heic"));
        } catch (const PhotoImage::Refused& e) {
            text = e.text();
        }
        QVERIFY2(text.contains(QStringLiteral("cut.heic")), qPrintable(text));

        // A header claiming 30,000 × 30,000 pixels is refused by its size, undecoded.
        QByteArray huge = file;
        const qsizetype ispe = huge.indexOf("ispe");
        QVERIFY(ispe > 0);
        for (int k : {8, 12}) // after the box's version and flags: width, height
            for (int b = 0; b < 4; ++b)
                huge[ispe + k + b] = char((30000 >> (24 - 8 * b)) & 0xFF);
        text.clear();
        try {
            PhotoImage::fromBytes(huge, QStringLiteral("huge.heic"));
        } catch (const PhotoImage::Refused& e) {
            text = e.text();
        }
        QVERIFY2(text.contains(QStringLiteral("huge.heic")) &&
                     text.contains(QStringLiteral("30000 × 30000")),
                 qPrintable(text));
        QCOMPARE(Photos::count(*conn, kListing), 1);
    }

    void reducedWithSmallCopies()
    {
        const Photos::NewPhoto p = PhotoImage::fromBytes(
            photofiles::jpeg(photofiles::halves(4000, 3000, true), 95), QStringLiteral("big.jpg"));
        QCOMPARE(QSize(p.width, p.height), QSize(2048, 1536));
        QCOMPARE(PhotoImage::decode(p.picture).size(), QSize(2048, 1536));
        QCOMPARE(PhotoImage::decode(p.thumbnail).size(), QSize(240, 180));
        const QImage ex = PhotoImage::decode(p.exchange);
        QVERIFY(qMax(ex.width(), ex.height()) <= 800 && p.exchange.size() <= 150 * 1024);
        // A picture that no longer decodes shows the placeholder.
        QCOMPARE(PhotoImage::decodeOr("garbage", QSize(90, 60)).size(), QSize(90, 60));
        QVERIFY(PhotoImage::decode(p.picture.left(p.picture.size() / 3)).isNull());
    }

    void badInputRefused_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("kind");
        QTest::addColumn<QString>("words");
        QTest::newRow("not a picture") << "readme.jpg"
                                       << "text"
                                       << "不是能识别的图片";
        QTest::newRow("truncated") << "cut.jpg"
                                   << "truncated"
                                   << "损坏或不完整";
        QTest::newRow("empty") << "empty.jpg"
                               << "empty"
                               << "是空的";
        QTest::newRow("unreadable") << "locked.jpg"
                                    << "unreadable"
                                    << "无法读取";
        QTest::newRow("missing") << "gone.jpg"
                                 << "missing"
                                 << "不存在";
        QTest::newRow("30000 x 30000") << "huge.jpg"
                                       << "pixels"
                                       << "30000 × 30000";
        QTest::newRow("over 50 MB") << "big.jpg"
                                    << "bytes"
                                    << "50 MB";
    }
    void badInputRefused()
    {
        QFETCH(QString, name);
        QFETCH(QString, kind);
        QFETCH(QString, words);
        const QString path = db->dir() + QLatin1Char('/') + name;
        if (kind == "text") photofiles::write(path, "just some words, no picture at all\n");
        if (kind == "truncated") {
            const QByteArray j = photofiles::jpeg(photofiles::halves(400, 300, true));
            photofiles::write(path, j.left(j.size() * 6 / 10));
        }
        if (kind == "empty" || kind == "unreadable")
            photofiles::write(path,
                              kind == "empty" ? "" : photofiles::jpeg(photofiles::halves(8, 8)));
        if (kind == "pixels") photofiles::write(path, photofiles::claimedSize(30000, 30000));
        if (kind == "bytes") {
            QFile f(path);
            QVERIFY(f.open(QIODevice::WriteOnly) && f.resize(PhotoImage::kMaxFileBytes + 1));
        }
        std::unique_ptr<Unprivileged> asUser;
        if (kind == "unreadable") {
            QFile::setPermissions(path, QFileDevice::Permissions());
            Unprivileged::makeReachable(path);
            asUser = std::make_unique<Unprivileged>();
        }
        QString text;
        try {
            Photos::add(*conn, kListing, {PhotoImage::fromFile(path)});
        } catch (const PhotoImage::Refused& e) {
            text = e.text();
        }
        asUser.reset();
        QVERIFY2(text.contains(name) && text.contains(words), qPrintable(text));
        QCOMPARE(Photos::count(*conn, kListing), 0);
    }

    void fortyAtMost()
    {
        QList<Photos::NewPhoto> many;
        for (int i = 0; i < 39; ++i)
            many << photo(32, 24);
        Photos::add(*conn, kListing, many);
        const QString text = errorText([&] {
            Photos::add(*conn, kListing, {photo(32, 24), photo(32, 24)});
        });
        QCOMPARE(text, Photos::tooManyText(39, 2));
        QCOMPARE(Photos::count(*conn, kListing), 39);
        Photos::add(*conn, kListing, {photo(32, 24)});
        QCOMPARE(Photos::count(*conn, kListing), 40);
        // Not for a listing that is not stored.
        QVERIFY(errorText([&] {
                    Photos::add(*conn, QStringLiteral("001261209099"), {photo(8, 8)});
                }).contains(QStringLiteral("不存在")));
    }

    void binTakesPhotosAlong()
    {
        Photos::add(*conn, kListing, {photo(64, 48, "客厅"), photo(48, 64, "厨房")});
        const QByteArray before = *Photos::cover(*conn, kListing, Photos::Copy::Picture);
        const auto removeListing = [&] {
            Query q(conn.get());
            q.addSql(QStringLiteral("select * from 房屋信息 where 档案号='%1'").arg(kListing));
            q.open();
            q.remove();
            return RecycleBin::entries(*conn).first().id;
        };
        qlonglong entry = removeListing();
        QCOMPARE(Photos::count(*conn, kListing), 0);
        QCOMPARE(Photos::counts(*conn).size(), 0);
        // A listing imported under the number meanwhile has none of them.
        QCOMPARE(db->scalar("select count(*) from 房屋照片").toInt(), 2);
        RecycleBin::restore(*conn, entry);
        QCOMPARE(captions(*conn), (QStringList{"*客厅", "厨房"}));
        QCOMPARE(*Photos::cover(*conn, kListing, Photos::Copy::Picture), before);

        entry = removeListing();
        RecycleBin::erase(*conn, entry);
        QCOMPARE(db->scalar("select count(*) from 房屋照片").toInt(), 0);
    }

    void copyAndBackupCarryPhotos()
    {
        QList<Photos::NewPhoto> some;
        for (int i = 0; i < 20; ++i)
            some << PhotoImage::fromBytes(photofiles::jpeg(photofiles::halves(600, 400, true)),
                                          QStringLiteral("n%1.jpg").arg(i));
        Photos::add(*conn, kListing, some);
        const QList<QVariantList> want =
            db->rows("select 编号, 顺序, 封面, 照片, 缩略图, 交换图 from 房屋照片 order by 编号");
        const auto photosOf = [](const QString& location) {
            auto c = openMain(location);
            QList<QVariantList> out;
            Statement st(
                *c,
                QStringLiteral(
                    "select 编号, 顺序, 封面, 照片, 缩略图, 交换图 from 房屋照片 order by 编号"));
            while (st.step()) {
                QVariantList r;
                for (int i = 0; i < 6; ++i)
                    r << st.value(i);
                out << r;
            }
            return out;
        };
        QCOMPARE(photosOf(db->mainPath()), want);
        conn.reset();
        const QString file = db->dir() + QStringLiteral("/copy.mdb");
        DatabaseCopy::copy(db->mainPath(), file);
        QCOMPARE(photosOf(file), want);
        // The file ↔ server copy where a test server is given (./test.sh starts one).
        const QString server =
            qEnvironmentVariableIsSet("HALVORRA_TEST_SERVER") ? db->newServerDatabase() : QString();
        if (!server.isEmpty()) {
            DatabaseCopy::copy(file, server);
            QCOMPARE(photosOf(server), want);
            // New photos on the copy continue the numbering.
            auto c = openActing(server);
            const QList<qlonglong> ids = Photos::add(*c, kListing, {photo(8, 8)});
            QCOMPARE(ids.first(), want.last().first().toLongLong() + 1);
        }
        const QString backup = db->dir() + QStringLiteral("/backup.mdb");
        QString why;
        QVERIFY2(DatabaseCopy::backup(db->mainPath(), backup,
                                      QString::fromLatin1(Schema::mainPassword()), &why),
                 qPrintable(why));
        QCOMPARE(photosOf(backup), want);
    }

    // The cover, reduced, travels in a table of its own; 房屋信息Exp keeps its
    // columns, and a file without the table imports as before.
    void exchangeCarriesCover_data()
    {
        QTest::addColumn<QString>("file");
        QTest::addColumn<int>("covers");
        QTest::newRow("with covers") << "as exported" << 1;
        QTest::newRow("without the table") << "drop table" << 0;
        QTest::newRow("not a picture") << "garbage" << 0;
    }
    void exchangeCarriesCover()
    {
        QFETCH(QString, file);
        QFETCH(int, covers);
        const QString other = QStringLiteral("001261209002");
        addListing(*conn, other);
        Photos::add(*conn, kListing, {photo(1200, 900, "外观"), photo(300, 200)});
        const QByteArray cover = *Photos::cover(*conn, kListing, Photos::Copy::Exchange);
        QVERIFY(cover.size() <= PhotoImage::kExchangeBytes);
        QCOMPARE(PhotoImage::decode(cover).size(), QSize(800, 600));

        const QString path = db->exchangePath();
        {
            auto x = openExchange(path);
            QCOMPARE(Exchange::exportRows(*x, listingExchangeLayout(), *conn,
                                          QStringLiteral("SELECT * FROM 房屋信息")),
                     2);
            QCOMPARE(x->table(QStringLiteral("房屋信息Exp"))->columns.size(), 18);
        }
        const QList<QVariantList> carried =
            exchangeRows(path, QStringLiteral("select 档案号, 照片 from 房屋照片Exp"));
        QCOMPARE(carried.size(), 1);
        QCOMPARE(carried[0][0].toString(), kListing);
        QCOMPARE(carried[0][1].toByteArray(), cover);
        if (file == "drop table") plant(path, {QStringLiteral("drop table 房屋照片Exp")});
        if (file == "garbage")
            plant(path, {QStringLiteral("update 房屋照片Exp set 照片=X'3C68746D6C3E'")});

        TestDb office;
        auto main = openActing(office.mainPath());
        {
            auto x = openExchange(path);
            QCOMPARE(Exchange::importRows(*main, *x, listingExchangeLayout()), 2);
        }
        QCOMPARE(Photos::count(*main, kListing), covers);
        QCOMPARE(Photos::count(*main, other), 0);
        if (covers) {
            const QList<Photos::Photo> got = Photos::list(*main, kListing);
            QVERIFY(got.first().cover);
            QCOMPARE(*Photos::cover(*main, kListing, Photos::Copy::Picture), cover);
            QVERIFY(!PhotoImage::decode(got.first().thumbnail).isNull());
        }
    }

    // Killed while adding five photos at a time: always a multiple of five, and as
    // many 添加照片 rows as photos.
    void killedMidAddLeavesAllOrNone()
    {
        conn.reset();
        for (int round = 0; round < 3; ++round) {
            QVERIFY(killWriterMidway(QStringLiteral("HALVORRA_PHOTO_LOOP"), db->mainPath()));
            const int n = db->scalar("select count(*) from 房屋照片").toInt();
            QVERIFY(n > 0 && n % 5 == 0);
            QVERIFY(db->scalar("select count(*) from 房屋照片 where 封面=1").toInt() == 1);
        }
        QVERIFY(db->isSound());
    }
};

int main(int argc, char** argv)
{
    if (qEnvironmentVariableIsSet("HALVORRA_PHOTO_LOOP")) return addLoop(argc, argv);
    TestPhotos tc;
    return runTests(argc, argv, &tc);
}
#include "tst_photos.moc"
