#pragma once
// The cover photos that travel with exported listings: a table of their own in
// the exchange file (房屋照片Exp: archive number, the reduced cover, its thumbnail)
// beside 房屋信息Exp, whose columns stay as they are. A file without the table
// imports as before; a program that does not know the table leaves it alone.
#include "data/Connection.h"

#include <QStringList>

namespace PhotoExchange
{

inline const QString Table = QStringLiteral("房屋照片Exp");
// The most a travelling cover may have; a larger one is not taken in.
constexpr int kMaxBytes = 1024 * 1024;

// Inside the export's transaction on `file`: the table made where it is missing
// and filled with the covers of the exported listings that have one.
void exportCovers(Connection& file, Connection& main, const QStringList& keys);
// Inside the import's transaction on `main`: each added listing gets the cover the
// file carries for it. A cover that is not a picture (by its first bytes) or is
// too large is passed over; the listing is imported all the same.
void importCovers(Connection& main, Connection& file, const QStringList& keys);

// Whether bytes begin like a JPEG, PNG or WebP picture.
bool looksLikePicture(const QByteArray& bytes);

} // namespace PhotoExchange
