#include "admin/core/Dictionaries.h"

#include "data/Query.h"
#include "data/Text.h"

namespace Dict
{

const QList<Info>& maintained()
{
    static const QList<Info> list = {
        {QStringLiteral("户型字典"), QStringLiteral("户型"), QStringLiteral("户型")},
        {QStringLiteral("楼层字典"), QStringLiteral("楼层"), QStringLiteral("楼层")},
        {QStringLiteral("权属字典"), QStringLiteral("权属"), QStringLiteral("权属")},
        {QStringLiteral("位置字典"), QStringLiteral("位置"), QStringLiteral("位置")},
    };
    return list;
}

Failure check(const QString& entry, const QString& before,
              const std::function<bool(const QString&)>& exists)
{
    const QString e = Text::trim(entry);
    if (e.isEmpty()) return Failure::Empty;
    if (e == before) return Failure::None;
    return exists(e) ? Failure::Duplicate : Failure::None;
}

QString message(const Info& d, Failure f)
{
    switch (f) {
    case Failure::Empty:
        return d.column + QStringLiteral("不能为空");
    case Failure::Duplicate:
        return QStringLiteral("存在重复的") + d.column;
    case Failure::None:
        break;
    }
    return {};
}

QStringList duplicateSql(const Info& d, const QString& trimmedEntry)
{
    return {QStringLiteral("select * from ") + d.table + QLatin1Char(' '),
            QStringLiteral("where ") + d.column + QStringLiteral("= \"") +
                Text::quoted(trimmedEntry, QLatin1Char('"')) + QLatin1Char('"')};
}

bool entryExists(Query& q, const Info& d, const QString& trimmedEntry)
{
    q.close();
    q.clearSql();
    q.setSql(duplicateSql(d, trimmedEntry));
    q.open();
    const bool found = !q.isEmpty();
    q.close();
    return found;
}

} // namespace Dict
