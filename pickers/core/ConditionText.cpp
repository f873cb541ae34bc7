#include "pickers/core/ConditionText.h"

#include "data/Text.h"

namespace ConditionText
{

namespace
{
const QString kLike = QStringLiteral("like");
}

const QStringList& operators()
{
    static const QStringList ops = {
        QStringLiteral("="),  QStringLiteral(">"),  QStringLiteral(">="),  QStringLiteral("<"),
        QStringLiteral("<="), QStringLiteral("<>"), QStringLiteral("like")};
    return ops;
}

QString where(const QString& column, const QString& op, const QString& value)
{
    const QString v = Text::quoted(value);
    if (op == kLike)
        return QStringLiteral("And ( ") + column + QStringLiteral(" like '%") + v +
               QStringLiteral("%' )");
    return QStringLiteral("And ( ") + column + QLatin1Char(' ') + op + QStringLiteral(" '") + v +
           QStringLiteral("' )");
}

QString display(const QString& caption, const QString& op, const QString& value)
{
    if (op == kLike)
        return QStringLiteral("并且 ( ") + caption + QStringLiteral(" like '%") + value +
               QStringLiteral("%' )");
    return QStringLiteral("并且 ( ") + caption + QLatin1Char(' ') + op + QStringLiteral(" '") +
           value + QStringLiteral("' )");
}

Source valueSource(const QString& pubTable, const QString& column)
{
    if (!pubTable.isEmpty()) return {pubTable, column};
    const int dot = column.indexOf(QLatin1Char('.'));
    if (dot < 0) return {QString(), column};
    return {column.left(dot), column.mid(dot + 1)};
}

QStringList valueListSql(const Source& s)
{
    // "<>null" reaches the engine as IS NOT NULL: every stored value except nulls.
    return {QStringLiteral("select distinct ") + s.column + QStringLiteral(" from ") + s.table,
            QStringLiteral("where ") + s.column + QStringLiteral("<>null")};
}

} // namespace ConditionText
