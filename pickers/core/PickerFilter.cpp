#include "pickers/core/PickerFilter.h"

#include "data/Text.h"

QString pickerFilter(const QString& baseFilter, const QString& field, const QString& typed)
{
    const QString t = Text::trim(typed);
    if (t.isEmpty()) return baseFilter;
    const QString term =
        field + QStringLiteral(" like '%") + Text::quoted(t) + QStringLiteral("%'");
    if (Text::trim(baseFilter).isEmpty()) return term;
    return baseFilter + QStringLiteral(" and ") + term;
}
