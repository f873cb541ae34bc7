#pragma once
// The readers of each workbook format (used by SheetReader::read).
#include "sheetimport/core/SheetReader.h"

namespace SheetReader
{

Table readXlsx(const QString& path, const Options& o);
Table readOds(const QString& path, const Options& o);
Table readXls(const QString& path, const Options& o);

} // namespace SheetReader
