#pragma once
// HEIC and AVIF photos (a phone's camera writes them) read through libheif, for a
// Qt whose image plugins do not read them: the size from the file's header first,
// then the pixels with the file's rotation and mirroring applied.
#include <QByteArray>
#include <QImage>
#include <QSize>
#include <functional>

namespace HeifImage
{

// Whether the bytes are a HEIF file (HEIC, AVIF) that libheif can decode.
bool isHeif(const QByteArray& bytes);

// The primary picture, turned as it is meant to be shown. `checkSize` sees its
// size before any pixel is decoded and may throw to refuse it; a file that does
// not decode gives a null image.
QImage read(const QByteArray& bytes, int maxSide, const std::function<void(QSize)>& checkSize);

// The file name endings of the formats read here.
QStringList suffixes();

} // namespace HeifImage
