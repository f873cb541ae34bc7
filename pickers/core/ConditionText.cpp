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

bool isWholeNumber(const QString& value)
{
    if (value.isEmpty()) return false;
    for (const QChar c : value)
        if (c < QLatin1Char('0') || c > QLatin1Char('9')) return false;
    return true;
}

QString wholeNumberComparison(const QString& column, const QString& op, const QString& value)
{
    static const QStringList comparisons = {QStringLiteral("="), QStringLiteral("<>"),
                                            QStringLiteral("<"), QStringLiteral("<="),
                                            QStringLiteral(">"), QStringLiteral(">=")};
    if (!isWholeNumber(value) || !comparisons.contains(op)) return {};
    // Both engines have trim(text, characters) and cast(... as numeric); a stored
    // value is cast only after the case has found it to be digits only.
    const QString v = QLatin1Char('\'') + Text::quoted(value) + QLatin1Char('\'');
    return QStringLiteral("(case when %1<>'' and trim(%1,'0123456789')='' "
                          "then cast(%1 as numeric)%2cast(%3 as numeric) else %1%2%3 end)")
        .arg(column, op, v);
}

QString where(const QString& column, const QString& op, const QString& value, bool wholeNumbers)
{
    if (wholeNumbers) {
        const QString numeric = wholeNumberComparison(column, op, value);
        if (!numeric.isEmpty()) return QStringLiteral("And ( ") + numeric + QStringLiteral(" )");
    }
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
