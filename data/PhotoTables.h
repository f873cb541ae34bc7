#pragma once
// The table of the listings' photos (房屋照片) and what the rest of the data layer
// does with it: made with a new database and by the layout upgrade, copied with
// the rows, taken into the recycle bin with a deleted listing and back out of it.
//
// Each row is one photo of one listing: its place in the listing's order, whether
// it is the cover, a caption, the picture as stored (re-encoded, without any of the
// camera's metadata), a small thumbnail and the reduced copy an exchange file
// carries. A photo whose listing is in the bin holds the bin entry's number.
#include "data/Connection.h"
#include "data/Schema.h"

#include <QList>

namespace Schema
{

const QList<TableDef>& photoTables();
// The photo table with its indexes, inside the caller's transaction.
void createPhotoTables(Connection& c);

} // namespace Schema

namespace PhotoBin
{

// The photos of a listing just put into the bin entry `binId` go along with it.
void takeAlong(Connection& c, const QString& number, qlonglong binId);
// The photos of the bin entry belong to the listing again.
void giveBack(Connection& c, qlonglong binId);
// The photos of the bin entry are removed for good.
void erase(Connection& c, qlonglong binId);

} // namespace PhotoBin
