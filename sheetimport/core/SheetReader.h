#pragma once
// Reading the rows of one sheet of a spreadsheet file an office brings along:
// .xlsx, .ods, .xls, and .csv/.txt text tables. The file is untrusted input: every
// read is bounded (file size, bytes actually unpacked, rows, columns, characters of
// a cell and of the whole sheet), and anything that is not a readable table is
// refused with a DbError whose text says why in words an operator understands.
#include <QList>
#include <QString>
#include <QStringList>
#include <functional>

namespace SheetReader
{

// Bounds of one read; past any of them the file is refused, not cut.
struct Limits {
    qint64 fileBytes = 256ll << 20;          // the file itself
    qint64 unpackedBytes = 1ll << 30;        // one part of a zipped workbook, as unpacked
    int rows = 200000;                       // rows holding anything
    int columns = 512;                       // the last column holding anything
    int cellChars = 32767;                   // one cell (the most a spreadsheet cell holds)
    qint64 sheetChars = 200ll * 1000 * 1000; // every cell of the sheet together
};

struct Options {
    QString sheet; // the sheet to read by name; empty: the first visible one
    Limits limits;
    // Called now and then with the work done and the whole (any unit); returning
    // false cancels the read, which then throws Cancelled.
    std::function<bool(qint64 done, qint64 total)> progress;
};

// Thrown when the progress callback asked to stop.
struct Cancelled {
};

struct Table {
    QStringList sheets;      // the visible sheets, in the workbook's order
    QString sheet;           // the sheet read
    QList<QStringList> rows; // the rows holding anything, trailing blank cells dropped
    QList<int> rowNumbers;   // each row's number in the sheet, from 1
};

// Reads one sheet. Cells are the text the cell shows in its simplest form: a
// number in full ("1200", "85.5"), a date cell as yyyy-MM-dd, a formula's stored
// result, a merged area's value in each of its cells. Throws DbError (refused) or
// Cancelled.
Table read(const QString& path, const Options& options = {});

// The kind of file by its first bytes (the name's ending only tells a text table).
enum class Kind { Xlsx, Ods, Xls, Text, EncryptedOffice, Unknown };
Kind kindOf(const QString& path);

// A number as a cell shows it in its simplest form: "1200", "85.5".
QString numberText(double v);
// A spreadsheet date serial (days since 1899-12-30, or since 1904-01-01 in a
// workbook counted that way) as yyyy-MM-dd; empty when out of range.
QString serialDate(double serial, bool from1904 = false);

// Decoding a text table: UTF-8 (with or without BOM), UTF-16 with BOM, else
// GB18030 (which covers GBK and GB2312) when that decodes cleanly. Throws DbError
// when neither fits.
QString decodeText(const QByteArray& bytes);
// Splits a decoded text table on the delimiter found in its first lines (comma,
// semicolon or tab); quotes as spreadsheets write them. Throws DbError for a quote
// left open.
QList<QStringList> splitText(const QString& text, const Limits& limits = {});

} // namespace SheetReader
