#include "photos/PhotoImage.h"

#include "photos/HeifImage.h"

#include <QBuffer>
#include <QFile>
#include <QFileInfo>
#include <QImageReader>
#include <QImageWriter>
#include <QPainter>

namespace PhotoImage
{

namespace
{

// Bytes a decode may allocate: the largest picture we accept, four bytes a pixel,
// with room for the orientation's copy.
constexpr int kAllocationMb = int(kMaxPixels * 4 * 2 / (1024 * 1024)) + 1;

QString named(const QString& name)
{
    return QFileInfo(name).fileName().isEmpty() ? name : QFileInfo(name).fileName();
}

// Whether a JPEG's compressed data reaches its end marker: a truncated file
// decodes "successfully" into a picture greyed from where it breaks off. The
// segments before the first scan are skipped by their lengths (an embedded
// thumbnail holds end markers of its own); in the scan data an FF D9 is the end.
bool jpegComplete(const QByteArray& b)
{
    const auto* p = reinterpret_cast<const unsigned char*>(b.constData());
    const qsizetype n = b.size();
    qsizetype i = 2;
    while (i + 4 <= n) {
        if (p[i] != 0xFF) return false;
        const unsigned char m = p[i + 1];
        if (m == 0xFF) {
            ++i; // fill byte
            continue;
        }
        if (m == 0xD8 || (m >= 0xD0 && m <= 0xD7) || m == 0x01) {
            i += 2;
            continue;
        }
        if (m == 0xD9) return false; // ends before any picture data
        const qsizetype len = (qsizetype(p[i + 2]) << 8) | p[i + 3];
        if (m == 0xDA) {
            for (qsizetype k = i + 2 + len; k + 1 < n; ++k)
                if (p[k] == 0xFF && p[k + 1] == 0xD9) return true;
            return false;
        }
        i += 2 + len;
    }
    return false;
}

QByteArray encoded(const QImage& image, int quality)
{
    QByteArray out;
    QBuffer buf(&out);
    buf.open(QIODevice::WriteOnly);
    QImageWriter w(&buf, "jpeg");
    w.setQuality(quality);
    w.setOptimizedWrite(true);
    if (!w.write(image)) return {};
    return out;
}

QImage reduced(const QImage& image, int longSide)
{
    if (qMax(image.width(), image.height()) <= longSide) return image;
    return image.scaled(longSide, longSide, Qt::KeepAspectRatio, Qt::SmoothTransformation);
}

// The pixels alone, on white where the picture is transparent: a new image made
// from the bits carries none of the source's texts or other metadata.
QImage bare(const QImage& decoded)
{
    QImage opaque(decoded.size(), QImage::Format_RGB32);
    opaque.fill(Qt::white);
    {
        QPainter p(&opaque);
        p.drawImage(0, 0, decoded);
    }
    return QImage(opaque.constBits(), opaque.width(), opaque.height(), opaque.bytesPerLine(),
                  QImage::Format_RGB32)
        .copy();
}

} // namespace

Photos::NewPhoto fromBytes(const QByteArray& bytes, const QString& name)
{
    const QString file = named(name);
    if (bytes.isEmpty()) throw Refused(QStringLiteral("文件“%1”是空的，不是图片。").arg(file));
    if (bytes.size() > kMaxFileBytes)
        throw Refused(QStringLiteral("文件“%1”有 %2 MB，照片文件最大只能是 %3 MB。")
                          .arg(file)
                          .arg(double(bytes.size()) / (1024 * 1024), 0, 'f', 1)
                          .arg(kMaxFileBytes / (1024 * 1024)));
    // The size from the header, before any pixel is decoded.
    const auto checkSize = [&](const QSize& size) {
        if (size.isValid() && (size.width() > kMaxSide || size.height() > kMaxSide ||
                               qint64(size.width()) * size.height() > kMaxPixels))
            throw Refused(
                QStringLiteral(
                    "图片“%1”有 %2 × %3 像素，太大了（最多 %4 万像素，每边最多 %5 像素）。")
                    .arg(file)
                    .arg(size.width())
                    .arg(size.height())
                    .arg(kMaxPixels / 10000)
                    .arg(kMaxSide));
    };
    const QString broken = QStringLiteral("图片“%1”已损坏或不完整，无法读取。").arg(file);
    QImage decoded;
    if (HeifImage::isHeif(bytes)) {
        decoded = HeifImage::read(bytes, kMaxSide, checkSize);
    } else {
        QBuffer buf;
        buf.setData(bytes);
        buf.open(QIODevice::ReadOnly);
        QImageReader r(&buf);
        r.setAutoTransform(true);
        r.setAllocationLimit(kAllocationMb);
        if (!r.canRead())
            throw Refused(QStringLiteral("文件“%1”不是能识别的图片（可以加入 JPEG、PNG、WebP、"
                                         "HEIC 等格式的照片）。")
                              .arg(file));
        checkSize(r.size());
        if (r.format() == "jpeg" && !jpegComplete(bytes)) throw Refused(broken);
        decoded = r.read();
    }
    if (decoded.isNull() || decoded.width() * qint64(decoded.height()) > kMaxPixels)
        throw Refused(broken);

    const QImage picture = bare(reduced(decoded, kLongSide));
    Photos::NewPhoto out;
    out.source = name;
    out.width = picture.width();
    out.height = picture.height();
    out.picture = encoded(picture, kQuality);
    out.thumbnail = encoded(reduced(picture, kThumbSide), 80);
    const QImage small = reduced(picture, kExchangeSide);
    for (int q = 80; q >= 30; q -= 10) {
        out.exchange = encoded(small, q);
        if (out.exchange.size() <= kExchangeBytes) break;
    }
    if (out.exchange.size() > kExchangeBytes)
        out.exchange = encoded(reduced(picture, kExchangeSide / 2), 50);
    if (out.picture.isEmpty() || out.thumbnail.isEmpty())
        throw Refused(QStringLiteral("图片“%1”无法重新编码。").arg(file));
    return out;
}

Photos::NewPhoto fromFile(const QString& path)
{
    const QString file = named(path);
    QFileInfo info(path);
    if (!info.exists()) throw Refused(QStringLiteral("文件“%1”不存在。").arg(file));
    if (!info.isFile()) throw Refused(QStringLiteral("“%1”不是文件。").arg(file));
    // Refused by its size before a byte of it is read.
    if (info.size() > kMaxFileBytes)
        throw Refused(QStringLiteral("文件“%1”有 %2 MB，照片文件最大只能是 %3 MB。")
                          .arg(file)
                          .arg(double(info.size()) / (1024 * 1024), 0, 'f', 1)
                          .arg(kMaxFileBytes / (1024 * 1024)));
    QFile f(path);
    if (!f.open(QIODevice::ReadOnly))
        throw Refused(QStringLiteral("无法读取文件“%1”：%2").arg(file, f.errorString()));
    const QByteArray bytes = f.read(kMaxFileBytes + 1);
    if (f.error() != QFileDevice::NoError)
        throw Refused(QStringLiteral("无法读取文件“%1”：%2").arg(file, f.errorString()));
    return fromBytes(bytes, path);
}

QImage decode(const QByteArray& stored, const QSize& box)
{
    if (stored.isEmpty()) return {};
    QBuffer buf;
    buf.setData(stored);
    buf.open(QIODevice::ReadOnly);
    QImageReader r(&buf);
    r.setAllocationLimit(kAllocationMb);
    const QSize size = r.size();
    if (size.isValid() && qint64(size.width()) * size.height() > kMaxPixels) return {};
    // A cut-off picture shows as the placeholder, not half grey.
    if (r.format() == "jpeg" && !jpegComplete(stored)) return {};
    if (box.isValid() && size.isValid() &&
        (size.width() > box.width() || size.height() > box.height()))
        r.setScaledSize(size.scaled(box, Qt::KeepAspectRatio));
    return r.read();
}

QImage placeholder(const QSize& size)
{
    QImage img(size.isValid() && !size.isEmpty() ? size : QSize(160, 120), QImage::Format_RGB32);
    img.fill(QColor(0xE0, 0xE0, 0xE0));
    QPainter p(&img);
    p.setPen(QColor(0x80, 0x80, 0x80));
    p.drawRect(img.rect().adjusted(0, 0, -1, -1));
    p.drawLine(img.rect().topLeft(), img.rect().bottomRight());
    p.drawLine(img.rect().topRight(), img.rect().bottomLeft());
    p.drawText(img.rect(), Qt::AlignCenter, QStringLiteral("无法显示"));
    return img;
}

QImage decodeOr(const QByteArray& stored, const QSize& placeholderSize)
{
    const QImage img = decode(stored);
    return img.isNull() ? placeholder(placeholderSize) : img;
}

QImage fittedOr(const QByteArray& stored, const QSize& box)
{
    const QImage img = decode(stored, box);
    if (img.isNull()) return placeholder(box);
    if (img.width() <= box.width() && img.height() <= box.height()) return img;
    return img.scaled(box, Qt::KeepAspectRatio, Qt::SmoothTransformation);
}

QString fileFilter()
{
    QStringList patterns;
    for (const QByteArray& f : QImageReader::supportedImageFormats()) {
        const QString s = QString::fromLatin1(f).toLower();
        if (s == QLatin1String("jpeg") || s == QLatin1String("jpg") || s == QLatin1String("png") ||
            s == QLatin1String("webp") || s == QLatin1String("heic") ||
            s == QLatin1String("heif") || s == QLatin1String("avif") || s == QLatin1String("bmp") ||
            s == QLatin1String("tif") || s == QLatin1String("tiff") || s == QLatin1String("gif"))
            patterns << QStringLiteral("*.") + s;
    }
    for (const QString& s : HeifImage::suffixes())
        patterns << QStringLiteral("*.") + s;
    patterns.removeDuplicates();
    return QStringLiteral("图片文件|%1|所有文件|*").arg(patterns.join(QLatin1Char(';')));
}

bool looksLikePicture(const QString& path)
{
    const QString suffix = QFileInfo(path).suffix().toLower();
    if (HeifImage::suffixes().contains(suffix)) return true;
    for (const QByteArray& f : QImageReader::supportedImageFormats())
        if (suffix == QString::fromLatin1(f).toLower()) return true;
    return false;
}

} // namespace PhotoImage
