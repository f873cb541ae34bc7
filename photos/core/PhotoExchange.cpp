#include "photos/core/PhotoExchange.h"

#include "data/Dialect.h"
#include "data/KeyLookup.h"
#include "data/RecordLog.h"
#include "data/Schema.h"
#include "photos/core/PhotoStore.h"

#include <QHash>
#include <QSet>
#include <QVariant>

namespace PhotoExchange
{

namespace
{

using T = ColumnInfo;

QString id(const char* name)
{
    return Dialect::identifier(QString::fromUtf8(name));
}

const Schema::TableDef kTable{
    "房屋照片Exp", {{"档案号", T::Text, 12}, {"照片", T::Binary, 0}, {"缩略图", T::Binary, 0}}};

// The file's table, when it has the columns we read with the right kinds.
bool usable(const Connection& file)
{
    const TableInfo* t = file.table(Table);
    if (!t) return false;
    for (const Schema::ColumnDef& c : kTable.columns) {
        const int k = t->indexOf(QString::fromUtf8(c.name));
        if (k < 0) return false;
        const T::Type type = t->columns[k].type;
        if (c.type == T::Binary ? type != T::Binary && type != T::Other
                                : type != T::Text && type != T::Memo)
            return false;
    }
    return true;
}

} // namespace

bool looksLikePicture(const QByteArray& b)
{
    return b.startsWith("\xFF\xD8\xFF") || b.startsWith("\x89PNG\r\n\x1A\n") ||
           (b.startsWith("RIFF") && b.mid(8, 4) == "WEBP");
}

void exportCovers(Connection& file, Connection& main, const QStringList& keys)
{
    if (!main.table(Photos::Table)) return;
    if (!file.table(Table)) {
        Schema::createTable(file, kTable);
        file.reloadSchema();
    }
    file.run(QStringLiteral("DELETE FROM %1").arg(Dialect::identifier(Table)));
    if (keys.isEmpty()) return;
    QSet<QString> wanted;
    for (const QString& k : keys)
        wanted.insert(KeyLookup::fold(k));
    // The covers' ids first (small), then each wanted one's bytes on its own: a
    // server hands a statement's result over whole.
    QList<std::pair<qlonglong, QString>> covers;
    {
        Statement st(main, QStringLiteral("SELECT %1, %2 FROM %3 WHERE %4=1 AND %5 IS NULL")
                               .arg(id("编号"), id("档案号"), Dialect::identifier(Photos::Table),
                                    id("封面"), id("回收站编号")));
        while (st.step())
            if (wanted.contains(KeyLookup::fold(st.value(1).toString())))
                covers << std::pair{st.value(0).toLongLong(), st.value(1).toString()};
    }
    Statement rd(main, QStringLiteral("SELECT coalesce(%1, %2), %3 FROM %4 WHERE %5=?")
                           .arg(id("交换图"), id("照片"), id("缩略图"),
                                Dialect::identifier(Photos::Table), id("编号")));
    Statement ins(file,
                  Dialect::insertInto(Table, {QStringLiteral("档案号"), QStringLiteral("照片"),
                                              QStringLiteral("缩略图")}));
    for (const auto& [photo, number] : covers) {
        rd.bind(1, photo);
        if (rd.step()) {
            ins.bindAll({number, rd.value(0), rd.value(1)});
            ins.step();
            ins.reset();
        }
        rd.reset();
    }
}

void importCovers(Connection& main, Connection& file, const QStringList& keys)
{
    if (keys.isEmpty() || !usable(file) || !main.table(Photos::Table)) return;
    Statement rd(file,
                 QStringLiteral("SELECT %1, %2 FROM %3 WHERE %4=? LIMIT 1")
                     .arg(id("照片"), id("缩略图"), Dialect::identifier(Table), id("档案号")));
    Statement ins(main, Dialect::insertInto(Photos::Table,
                                            {QStringLiteral("档案号"), QStringLiteral("顺序"),
                                             QStringLiteral("封面"), QStringLiteral("宽度"),
                                             QStringLiteral("高度"), QStringLiteral("加入时间"),
                                             QStringLiteral("照片"), QStringLiteral("缩略图"),
                                             QStringLiteral("交换图")}));
    for (const QString& key : keys) {
        rd.bind(1, key);
        if (rd.step()) {
            const QVariant pic = rd.value(0), thumb = rd.value(1);
            const QByteArray bytes =
                pic.typeId() == QMetaType::QByteArray ? pic.toByteArray() : QByteArray();
            if (bytes.size() <= kMaxBytes && looksLikePicture(bytes)) {
                QByteArray small =
                    thumb.typeId() == QMetaType::QByteArray ? thumb.toByteArray() : QByteArray();
                if (small.size() > kMaxBytes || !looksLikePicture(small)) small.clear();
                ins.bindAll({key, 1, 1, 0, 0, RecordLog::now(), bytes,
                             small.isEmpty() ? QVariant() : QVariant(small), bytes});
                ins.step();
                ins.reset();
            }
        }
        rd.reset();
    }
}

} // namespace PhotoExchange
