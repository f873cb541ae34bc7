#pragma once
// Pictures on their way into the database and back out for display. A file is
// checked before it is decoded (size, kind, pixel count), decoded with the camera's
// orientation applied, reduced to a sensible long side and encoded anew: nothing of
// the file's metadata (GPS position, camera owner, comments) survives. Beside the
// picture it gives a thumbnail and the small copy an exchange file carries.
#include "photos/core/PhotoStore.h"

#include <QImage>
#include <QString>
#include <stdexcept>

namespace PhotoImage
{

constexpr qint64 kMaxFileBytes = 50LL * 1024 * 1024;
// Pixels a picture may have (a 64-megapixel camera's fits); more are refused
// before decoding, so a crafted header cannot make us allocate gigabytes.
constexpr qint64 kMaxPixels = 64LL * 1000 * 1000;
constexpr int kMaxSide = 20000;
constexpr int kLongSide = 2048;
constexpr int kThumbSide = 240;
constexpr int kExchangeSide = 800;
constexpr int kExchangeBytes = 150 * 1024;
constexpr int kQuality = 85;

// A file refused, with a Chinese text naming it.
class Refused : public std::runtime_error
{
public:
    explicit Refused(const QString& text) : std::runtime_error(text.toStdString()), m_text(text) {}
    QString text() const { return m_text; }

private:
    QString m_text;
};

// The file as a photo ready to store (its caption empty); throws Refused.
Photos::NewPhoto fromFile(const QString& path);
// The same for bytes already read (`name` for the messages).
Photos::NewPhoto fromBytes(const QByteArray& bytes, const QString& name);

// A stored picture for display; a null image when it does not decode. With a
// box, decoded straight to fit it (a JPEG then decodes at a fraction of the cost).
QImage decode(const QByteArray& stored, const QSize& box = {});
// What stands in for a picture that does not decode.
QImage placeholder(const QSize& size);
// A stored picture, or the placeholder of that size when it does not decode.
QImage decodeOr(const QByteArray& stored, const QSize& placeholderSize);
// The picture fitted into `box`, or the placeholder of that size.
QImage fittedOr(const QByteArray& stored, const QSize& box);

// The file name filter of the open dialog for the formats this Qt can read.
QString fileFilter();
// Whether a file name looks like a picture we read (drag and drop).
bool looksLikePicture(const QString& path);

} // namespace PhotoImage
