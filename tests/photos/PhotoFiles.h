#pragma once
// Picture files made by the tests themselves: plain JPEGs, one with the camera's
// orientation, GPS position and owner in its EXIF block, and the bad inputs a
// user may pick.
#include <QBuffer>
#include <QByteArray>
#include <QColor>
#include <QFile>
#include <QImage>
#include <QImageWriter>
#include <QPainter>
#include <QRandomGenerator>

namespace photofiles
{

inline const QByteArray kOwner = "Zhang San Owner";

inline QByteArray jpeg(const QImage& img, int quality = 90)
{
    QByteArray out;
    QBuffer b(&out);
    b.open(QIODevice::WriteOnly);
    QImageWriter w(&b, "jpeg");
    w.setQuality(quality);
    w.write(img);
    return out;
}

// A picture of w × h: left half red, right half blue, with a little noise so the
// encoded file has some size.
inline QImage halves(int w, int h, bool noise = false)
{
    QImage img(w, h, QImage::Format_RGB32);
    QPainter p(&img);
    p.fillRect(0, 0, w / 2, h, Qt::red);
    p.fillRect(w / 2, 0, w - w / 2, h, Qt::blue);
    p.end();
    if (noise) {
        auto* rng = QRandomGenerator::global();
        for (int y = 0; y < h; y += 2)
            for (int x = 0; x < w; x += 2)
                img.setPixel(x, y, qRgb(rng->bounded(256), rng->bounded(256), rng->bounded(256)));
    }
    return img;
}

inline void put16(QByteArray& b, int v)
{
    b.append(char((v >> 8) & 0xFF)).append(char(v & 0xFF));
}
inline void put32(QByteArray& b, quint32 v)
{
    put16(b, int(v >> 16));
    put16(b, int(v & 0xFFFF));
}
inline void entry(QByteArray& b, int tag, int type, quint32 count, quint32 value, bool shortValue)
{
    put16(b, tag);
    put16(b, type);
    put32(b, count);
    if (shortValue) {
        put16(b, int(value));
        put16(b, 0);
    } else {
        put32(b, value);
    }
}

// An EXIF block (big-endian TIFF) with Orientation, Artist and a GPS latitude.
inline QByteArray exif(int orientation)
{
    QByteArray t("MM");
    put16(t, 42);
    put32(t, 8);
    // IFD0 at 8: three entries, ends at 50; the artist at 50, the GPS IFD after it.
    const QByteArray artist = kOwner + '\0';
    const quint32 gpsAt = 50 + quint32(artist.size());
    put16(t, 3);
    entry(t, 0x0112, 3, 1, quint32(orientation), true);
    entry(t, 0x013B, 2, quint32(artist.size()), 50, false);
    entry(t, 0x8825, 4, 1, gpsAt, false);
    put32(t, 0);
    t.append(artist);
    // GPS IFD: latitude ref "N" and latitude 39° 54' 12.34".
    put16(t, 2);
    t.append(QByteArray::fromHex("0001000200000002") + QByteArray("N\0\0\0", 4));
    entry(t, 0x0002, 5, 3, gpsAt + 2 + 24 + 4, false);
    put32(t, 0);
    for (auto [num, den] : {std::pair{39, 1}, std::pair{54, 1}, std::pair{1234, 100}}) {
        put32(t, quint32(num));
        put32(t, quint32(den));
    }
    QByteArray app1 = QByteArray::fromHex("FFE1");
    put16(app1, int(t.size() + 8));
    app1.append(QByteArray("Exif\0\0", 6)).append(t);
    return app1;
}

// A JPEG of `img` whose EXIF says the camera was turned (orientation 6: the picture
// is shown turned a quarter clockwise), with a GPS position and an owner.
inline QByteArray cameraJpeg(const QImage& img, int orientation = 6)
{
    QByteArray j = jpeg(img);
    j.insert(2, exif(orientation));
    return j;
}

// A small JPEG whose header claims w × h pixels.
inline QByteArray claimedSize(int w, int h)
{
    QByteArray j = jpeg(halves(16, 16));
    for (int i = 2; i + 9 < j.size(); ++i)
        if (uchar(j[i]) == 0xFF && (uchar(j[i + 1]) == 0xC0 || uchar(j[i + 1]) == 0xC2)) {
            j[i + 5] = char(h >> 8);
            j[i + 6] = char(h & 0xFF);
            j[i + 7] = char(w >> 8);
            j[i + 8] = char(w & 0xFF);
            break;
        }
    return j;
}

inline bool write(const QString& path, const QByteArray& bytes)
{
    QFile f(path);
    return f.open(QIODevice::WriteOnly) && f.write(bytes) == bytes.size();
}

} // namespace photofiles
