#pragma once
// The workbook the export produces from a row set: the captions in row 2, one
// row of text cells per record from row 3, the footer two rows below the last
// record, borders over header and data, and the merged title row in 楷体 18 bold.
#include "export/core/Spreadsheet.h"

#include <QList>
#include <QString>

class Query;
struct ColumnInfo;

struct ExportField {
    QString name;    // field name in the row set
    QString caption; // column title
};

namespace ExportLayout
{

// Width of a field in characters: a text field's declared size, 10 otherwise.
int displayWidth(const ColumnInfo& c);

// Header: captions in row 2, bold; widths and centring of the columns.
void writeHeader(Worksheet& sheet, const QList<ExportField>& fields, const Query& data);

// Records from row 3 (each value entered as text), then the footer line.
// Returns r, the row after the last record. The row set is left past its last row.
int writeRows(Worksheet& sheet, const QList<ExportField>& fields, Query& data,
              const QString& preparer, const QString& date);

// Borders over "A2:" + L + (r - 1) and the merged, centred title over row 1.
void finish(Worksheet& sheet, int fieldCount, int r, const QString& title);

} // namespace ExportLayout
