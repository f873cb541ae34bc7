#pragma once
// 导出全部: the whole of a result, every column the operator may see, as an .xlsx
// workbook whose header row holds the register's own column names, so the file
// imports back with its own mapping. Also the refused rows of an import, with
// their reasons, as a workbook to mend and import again.
#include "sheetimport/core/ImportColumns.h"

#include <QList>
#include <QString>
#include <QStringList>
#include <QVariant>
#include <functional>

class Query;
class Connection;

namespace RegisterExport
{

// The columns of the owner's (or customer's) own block, shown only to the roles
// that see a record card's confidential block.
QStringList confidentialColumns(SheetImport::Register r);
// The register table's columns in their order, the confidential ones left out
// unless `seesConfidential`.
QStringList columns(Connection& c, SheetImport::Register r, bool seesConfidential);

// Writes every row of `source` (by position, whatever its current row) into a new
// workbook at `path`: the column names, then one row per record, numbers as
// numbers and texts as texts. Throws DbError when the file cannot be written.
// Returns the number of rows written.
int write(const QString& path, const QStringList& columns, const Query& source,
          const std::function<void(int done, int total)>& progress = {});

// A workbook of plain rows under a header row (texts as texts).
void writeRows(const QString& path, const QStringList& header, const QList<QStringList>& rows);

} // namespace RegisterExport
