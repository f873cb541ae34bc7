#pragma once
// The filter the table picker sets while the operator types a search text.
#include <QString>

// The base filter when the trimmed text is empty; otherwise
// "field like '%text%'", joined to a non-empty base filter with " and ". The
// text is escaped, so a quote in it is searched for literally.
QString pickerFilter(const QString& baseFilter, const QString& field, const QString& typed);
