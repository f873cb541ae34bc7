#include "admin/core/StaffRules.h"

#include "data/Query.h"
#include "data/Text.h"

namespace Staff
{

QStringList listSql()
{
    return {QStringLiteral("select * from 操作员档案"), QStringLiteral("where 员工编号<>'admin'")};
}

Failure check(const QString& number, const QString& name, const QString& numberBefore,
              const std::function<bool(const QString&)>& numberTaken)
{
    const QString no = Text::trim(number);
    if (no.isEmpty()) return Failure::NumberEmpty;
    if (Text::trim(name).isEmpty()) return Failure::NameEmpty;
    if (no == numberBefore) return Failure::None;
    return numberTaken(no) ? Failure::Duplicate : Failure::None;
}

QString message(Failure f)
{
    switch (f) {
    case Failure::NumberEmpty:
        return QStringLiteral("员工编号不能为空");
    case Failure::NameEmpty:
        return QStringLiteral("员工姓名不能为空");
    case Failure::Duplicate:
        return QStringLiteral("存在重复的记录，请重新输入");
    case Failure::None:
        break;
    }
    return {};
}

QStringList duplicateSql(const QString& trimmedNumber)
{
    return {QStringLiteral("select * from 操作员档案 "),
            QStringLiteral("where 员工编号='") + Text::quoted(trimmedNumber) + QLatin1Char('\'')};
}

bool numberTaken(Query& q, const QString& trimmedNumber)
{
    q.close();
    q.clearSql();
    q.setSql(duplicateSql(trimmedNumber));
    q.open();
    const bool found = !q.isEmpty();
    q.close();
    return found;
}

} // namespace Staff
