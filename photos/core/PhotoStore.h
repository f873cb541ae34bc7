#pragma once
// A listing's photos in the main database (table 房屋照片): added several at once in
// one transaction, removed, put in order, one of them the cover, each with an
// optional caption. Adding, removing and reordering are written into the listing's
// history (修改记录) in the same transaction. Pictures arrive ready to store (see
// photos/PhotoImage.h: oriented, without metadata, reduced, with a thumbnail and
// the exchange copy), so this part needs Qt Core only.
//
// Reading keeps memory small: the list holds thumbnails only; a picture is read
// one at a time.
#include "data/Connection.h"
#include "data/Query.h"

#include <QByteArray>
#include <QHash>
#include <QList>
#include <QString>
#include <optional>

namespace Photos
{

constexpr int kMaxPerListing = 40;
constexpr int kCaptionChars = 20;

inline const QString Table = QStringLiteral("房屋照片");
inline const QString Listings = QStringLiteral("房屋信息");
// The computed column of the listing query window.
inline const QString CountColumn = QStringLiteral("照片");

// History events (修改记录.操作).
namespace Event
{
inline const QString Added = QStringLiteral("添加照片");
inline const QString Removed = QStringLiteral("删除照片");
inline const QString Reordered = QStringLiteral("照片排序");
} // namespace Event

// A photo ready to be stored.
struct NewPhoto {
    QString source; // the file it came from (for the history and messages)
    QString caption;
    QByteArray picture, thumbnail, exchange;
    int width = 0, height = 0;
};

// A stored photo without its picture.
struct Photo {
    qlonglong id = 0;
    int order = 0;
    bool cover = false;
    QString caption;
    int width = 0, height = 0;
    QByteArray thumbnail;
};

// The listing's photos in their order (thumbnails only).
QList<Photo> list(Connection& c, const QString& number);
int count(Connection& c, const QString& number);
// The stored picture of one photo; empty when it is gone.
QByteArray picture(Connection& c, qlonglong id);

enum class Copy { Picture, Thumbnail, Exchange };
// One copy of the listing's cover; nothing when the listing has no photo.
std::optional<QByteArray> cover(Connection& c, const QString& number, Copy copy);
// Up to `limit` pictures after the cover, in order (the listing sheet's).
QList<QByteArray> pictures(Connection& c, const QString& number, int limit, bool withCover);

// The message refusing photos beyond kMaxPerListing.
QString tooManyText(int stored, int adding);

// Adds the photos after the listing's last one, all or none, inside the caller's
// transaction when one is open (a new listing's save) or one of their own. The
// first photo of a listing becomes its cover. Refused with a DbError when the
// listing is not stored, a caption is too long or the listing would hold more than
// kMaxPerListing photos. Returns the new photos' ids in order.
QList<qlonglong> add(Connection& c, const QString& number, const QList<NewPhoto>& photos);
// Removes one photo; when it was the cover, the first photo left becomes the cover.
void remove(Connection& c, qlonglong id);
// Puts the listing's photos into the order of `ids`, which must name exactly its
// photos (a refusal otherwise: someone changed them meanwhile).
void reorder(Connection& c, const QString& number, const QList<qlonglong>& ids);
void setCover(Connection& c, qlonglong id);
void setCaption(Connection& c, qlonglong id, const QString& caption);

// The number of photos of every listing that has any, by folded archive number.
QHash<QString, int> counts(Connection& c);
// The 照片 column for a result of listings (none for another result): each row
// gets its count as it is read, never written back.
QList<Query::ComputedColumn> countColumns(const Query& q);
// Brings the 照片 column of an open result up to date after photos changed.
void addCountColumn(Query& q);

} // namespace Photos
