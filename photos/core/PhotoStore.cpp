#include "photos/core/PhotoStore.h"

#include "data/DbError.h"
#include "data/Dialect.h"
#include "data/KeyLookup.h"
#include "data/RecordLog.h"
#include "data/Schema.h"
#include "data/Text.h"

#include <QFileInfo>
#include <QSet>
#include <algorithm>

namespace Photos
{

namespace
{

QString id(const char* name)
{
    return Dialect::identifier(QString::fromUtf8(name));
}

// The statements name the table and its columns through these.
const QString kT = Dialect::identifier(Table);

QString whereListing()
{
    return QStringLiteral(" WHERE %1=? AND %2 IS NULL").arg(id("档案号"), id("回收站编号"));
}

// The listing and the cover flag of a stored photo; refused when it is gone.
struct Owner {
    QString number;
    bool cover = false;
};
Owner ownerOf(Connection& c, qlonglong photo)
{
    Statement st(c, QStringLiteral("SELECT %1, %2 FROM %3 WHERE %4=? AND %5 IS NULL")
                        .arg(id("档案号"), id("封面"), kT, id("编号"), id("回收站编号")));
    st.bind(1, photo);
    if (!st.step()) throw DbError(QStringLiteral("这张照片已不存在（可能已被另一个工作站删除）。"));
    return {st.value(0).toString(), st.value(1).toLongLong() == 1};
}

// Makes the first photo of the listing its cover when none is.
void keepCover(Connection& c, const QString& number)
{
    Statement has(c, QStringLiteral("SELECT count(*) FROM %1").arg(kT) + whereListing() +
                         QStringLiteral(" AND %1=1").arg(id("封面")));
    has.bind(1, number);
    if (has.step() && has.value(0).toLongLong() > 0) return;
    Statement first(c, QStringLiteral("SELECT %1 FROM %2").arg(id("编号"), kT) + whereListing() +
                           QStringLiteral(" ORDER BY %1, %2").arg(id("顺序"), id("编号")));
    first.bind(1, number);
    if (!first.step()) return;
    Statement set(c,
                  QStringLiteral("UPDATE %1 SET %2=1 WHERE %3=?").arg(kT, id("封面"), id("编号")));
    set.bind(1, first.value(0));
    set.step();
}

QVariant captionValue(const QString& caption)
{
    const ColumnInfo column{QStringLiteral("说明"), ColumnInfo::Text, kCaptionChars};
    const QVariant v = Schema::storedText(column, Text::trim(caption));
    if (const auto why = Schema::tooLong(column, v)) throw DbError(*why);
    return v;
}

// A photo as the history names it: its caption, else the file it came from.
QString described(const QString& caption, const QString& source)
{
    if (!Text::trim(caption).isEmpty()) return Text::trim(caption);
    return QFileInfo(source).fileName();
}

} // namespace

QList<Photo> list(Connection& c, const QString& number)
{
    Statement st(c, QStringLiteral("SELECT %1, %2, %3, %4, %5, %6, %7 FROM %8")
                            .arg(id("编号"), id("顺序"), id("封面"), id("说明"), id("宽度"),
                                 id("高度"), id("缩略图"), kT) +
                        whereListing() +
                        QStringLiteral(" ORDER BY %1, %2").arg(id("顺序"), id("编号")));
    st.bind(1, number);
    QList<Photo> out;
    while (st.step())
        out << Photo{st.value(0).toLongLong(),      int(st.value(1).toLongLong()),
                     st.value(2).toLongLong() == 1, st.value(3).toString(),
                     int(st.value(4).toLongLong()), int(st.value(5).toLongLong()),
                     st.value(6).toByteArray()};
    return out;
}

int count(Connection& c, const QString& number)
{
    Statement st(c, QStringLiteral("SELECT count(*) FROM %1").arg(kT) + whereListing());
    st.bind(1, number);
    return st.step() ? int(st.value(0).toLongLong()) : 0;
}

QByteArray picture(Connection& c, qlonglong photo)
{
    Statement st(c, QStringLiteral("SELECT %1 FROM %2 WHERE %3=?").arg(id("照片"), kT, id("编号")));
    st.bind(1, photo);
    return st.step() ? st.value(0).toByteArray() : QByteArray();
}

std::optional<QByteArray> cover(Connection& c, const QString& number, Copy copy)
{
    const char* column = copy == Copy::Picture     ? "照片"
                         : copy == Copy::Thumbnail ? "缩略图"
                                                   : "交换图";
    Statement st(c, QStringLiteral("SELECT %1 FROM %2").arg(id(column), kT) + whereListing() +
                        QStringLiteral(" ORDER BY %1 DESC, %2, %3 LIMIT 1")
                            .arg(id("封面"), id("顺序"), id("编号")));
    st.bind(1, number);
    if (!st.step()) return std::nullopt;
    return st.value(0).toByteArray();
}

QList<QByteArray> pictures(Connection& c, const QString& number, int limit, bool withCover)
{
    // Ids first, then one picture at a time: a server hands a result over whole.
    QList<qlonglong> ids;
    {
        Statement st(c, QStringLiteral("SELECT %1, %2 FROM %3").arg(id("编号"), id("封面"), kT) +
                            whereListing() +
                            QStringLiteral(" ORDER BY %1 DESC, %2, %3")
                                .arg(id("封面"), id("顺序"), id("编号")));
        st.bind(1, number);
        bool first = true;
        while (st.step() && ids.size() < limit) {
            const bool isCover = first && st.value(1).toLongLong() == 1;
            first = false;
            if (isCover && !withCover) continue;
            ids << st.value(0).toLongLong();
        }
    }
    QList<QByteArray> out;
    for (qlonglong photo : ids)
        out << picture(c, photo);
    return out;
}

QString tooManyText(int stored, int adding)
{
    return QStringLiteral("一个房源最多只能有 %1 张照片：已有 %2 张，不能再加入 %3 张。")
        .arg(kMaxPerListing)
        .arg(stored)
        .arg(adding);
}

QList<qlonglong> add(Connection& c, const QString& number, const QList<NewPhoto>& photos)
{
    if (photos.isEmpty()) return {};
    QList<QVariant> captions;
    for (const NewPhoto& p : photos)
        captions << captionValue(p.caption);
    Connection::Transaction t(c, Connection::Transaction::Joined);
    // Two workstations adding to the same listing wait for each other, so the limit holds.
    c.lockWriters(Table);
    if (KeyLookup(c, Listings, QStringLiteral("档案号")).present({number}).isEmpty())
        throw DbError(QStringLiteral("房源“%1”不存在（可能已被删除），照片没有保存。").arg(number));
    const int stored = count(c, number);
    if (stored + photos.size() > kMaxPerListing)
        throw DbError(tooManyText(stored, int(photos.size())));
    Statement last(c,
                   QStringLiteral("SELECT max(%1) FROM %2").arg(id("顺序"), kT) + whereListing());
    last.bind(1, number);
    int order = last.step() && !last.value(0).isNull() ? int(last.value(0).toLongLong()) : 0;
    Statement ins(c,
                  Dialect::insertInto(Table, {QStringLiteral("档案号"), QStringLiteral("顺序"),
                                              QStringLiteral("封面"), QStringLiteral("说明"),
                                              QStringLiteral("宽度"), QStringLiteral("高度"),
                                              QStringLiteral("加入时间"), QStringLiteral("照片"),
                                              QStringLiteral("缩略图"), QStringLiteral("交换图")}));
    Statement newId(c,
                    QStringLiteral("SELECT max(%1) FROM %2").arg(id("编号"), kT) + whereListing());
    QList<qlonglong> ids;
    for (int i = 0; i < photos.size(); ++i) {
        const NewPhoto& p = photos[i];
        ins.bindAll({number, ++order, 0, captions[i], p.width, p.height, RecordLog::now(),
                     p.picture, p.thumbnail,
                     p.exchange.isEmpty() ? QVariant() : QVariant(p.exchange)});
        ins.step();
        ins.reset();
        newId.bind(1, number);
        ids << (newId.step() ? newId.value(0).toLongLong() : 0);
        newId.reset();
        if (RecordLog::keeps(c, Listings))
            RecordLog::event(c, Listings, number, Event::Added, described(p.caption, p.source));
    }
    keepCover(c, number);
    t.commit();
    return ids;
}

void remove(Connection& c, qlonglong photo)
{
    Connection::Transaction t(c);
    const Owner o = ownerOf(c, photo);
    Statement cap(c, QStringLiteral("SELECT %1, %2 FROM %3 WHERE %4=?")
                         .arg(id("说明"), id("顺序"), kT, id("编号")));
    cap.bind(1, photo);
    QString what;
    if (cap.step())
        what = cap.value(0).isNull() ? QStringLiteral("第 %1 张").arg(cap.value(1).toLongLong())
                                     : cap.value(0).toString();
    Statement del(c, QStringLiteral("DELETE FROM %1 WHERE %2=?").arg(kT, id("编号")));
    del.bind(1, photo);
    del.step();
    if (o.cover) keepCover(c, o.number);
    if (RecordLog::keeps(c, Listings))
        RecordLog::event(c, Listings, o.number, Event::Removed, what);
    t.commit();
}

void reorder(Connection& c, const QString& number, const QList<qlonglong>& ids)
{
    Connection::Transaction t(c);
    c.lockWriters(Table);
    QSet<qlonglong> stored;
    for (const Photo& p : list(c, number))
        stored.insert(p.id);
    if (stored != QSet<qlonglong>(ids.begin(), ids.end()) || stored.size() != ids.size())
        throw DbError(QStringLiteral("这个房源的照片已被另一个工作站改动，请重新打开后再排序。"));
    Statement set(c,
                  QStringLiteral("UPDATE %1 SET %2=? WHERE %3=?").arg(kT, id("顺序"), id("编号")));
    for (int i = 0; i < ids.size(); ++i) {
        set.bindAll({i + 1, ids[i]});
        set.step();
        set.reset();
    }
    if (RecordLog::keeps(c, Listings)) RecordLog::event(c, Listings, number, Event::Reordered);
    t.commit();
}

void setCover(Connection& c, qlonglong photo)
{
    Connection::Transaction t(c);
    const Owner o = ownerOf(c, photo);
    Statement clear(c, QStringLiteral("UPDATE %1 SET %2=CASE WHEN %3=? THEN 1 ELSE 0 END")
                               .arg(kT, id("封面"), id("编号")) +
                           whereListing());
    clear.bindAll({photo, o.number});
    clear.step();
    t.commit();
}

void setCaption(Connection& c, qlonglong photo, const QString& caption)
{
    const QVariant v = captionValue(caption);
    Connection::Transaction t(c);
    ownerOf(c, photo);
    Statement set(c,
                  QStringLiteral("UPDATE %1 SET %2=? WHERE %3=?").arg(kT, id("说明"), id("编号")));
    set.bindAll({v, photo});
    set.step();
    t.commit();
}

QHash<QString, int> counts(Connection& c)
{
    QHash<QString, int> out;
    if (!c.table(Table)) return out;
    // Counted from the index on (档案号, 回收站编号, 顺序) alone: a condition on the bin
    // column would lead the engine to its own index and to every photo's row, far
    // apart in a file full of pictures.
    Statement st(c, QStringLiteral("SELECT %1, count(*) - count(%3) FROM %2 GROUP BY %1")
                        .arg(id("档案号"), kT, id("回收站编号")));
    while (st.step())
        if (const int n = int(st.value(1).toLongLong()); n > 0)
            out.insert(KeyLookup::fold(st.value(0).toString()), n);
    return out;
}

QList<Query::ComputedColumn> countColumns(const Query& q)
{
    const int key = q.fieldIndex(QStringLiteral("档案号"));
    if (key < 0 || !q.connection() || q.tableName().compare(Listings, Qt::CaseInsensitive) != 0)
        return {};
    const QHash<QString, int> n = counts(*q.connection());
    return {{{CountColumn, ColumnInfo::Integer, 0}, [n, key](const QVector<QVariant>& row) {
                 if (n.isEmpty()) return QVariant();
                 // Most numbers have no capital letter: they are their own folded form,
                 // and a row is looked up without a new string.
                 const QString k = row[key].toString();
                 const bool upper = std::any_of(k.begin(), k.end(), [](QChar ch) {
                     return ch >= QLatin1Char('A') && ch <= QLatin1Char('Z');
                 });
                 const auto it = n.constFind(upper ? KeyLookup::fold(k) : k);
                 return it == n.constEnd() ? QVariant() : QVariant(qlonglong(it.value()));
             }}};
}

void addCountColumn(Query& q)
{
    for (const Query::ComputedColumn& c : countColumns(q))
        q.addComputedColumn(c);
}

} // namespace Photos
