#pragma once
// A spreadsheet application of our own that takes the operations the export
// uses on Excel's object model (workbooks, a sheet's name, cells, columns and
// ranges with values, fonts, widths, alignments, merges and borders) and, when
// it is made visible, writes each workbook as an .xlsx file into the folder it
// was given, under a name no other file has, and hands the file to an opener
// (the shell's "open").
//
// Failures throw: SpreadsheetUnavailable when no file can be made at all (no
// folder, the file cannot be written), DbError for an operation Excel would
// refuse (a bad sheet name, a bad address, a bad font size).
#include "data/DbError.h"

#include <QString>
#include <QStringList>
#include <functional>
#include <memory>
#include <unordered_map>
#include <vector>

namespace Xl
{
constexpr int Center = -4108;    // xlCenter
constexpr int Continuous = 1;    // xlContinuous
constexpr int MaxRows = 1048576; // rows of a sheet
constexpr int MaxColumns = 16384;
constexpr int MaxCellChars = 32767; // characters a cell holds
} // namespace Xl

class SpreadsheetUnavailable : public DbError
{
public:
    using DbError::DbError;
};

struct CellFormat {
    bool bold = false;
    bool italic = false;
    QString fontName;    // empty: the workbook's default font
    double fontSize = 0; // 0: default size
    int hAlign = 0;      // 0: general (the column's alignment applies)
    int vAlign = 0;
    int lineStyle = 0;   // borders on every edge (1 = continuous)
    bool asText = false; // entered with a leading apostrophe: kept as text
    bool operator==(const CellFormat&) const = default;
};

class Worksheet;

// Proxies in the shape of Excel's objects.
class SheetCell
{
public:
    SheetCell(Worksheet* s, int row, int col) : m_s(s), m_row(row), m_col(col) {}
    // A leading apostrophe keeps the rest as exact text and is not part of the value.
    void setValue(const QString& v);
    void setBold(bool on);

private:
    Worksheet* m_s;
    int m_row, m_col;
};

class SheetColumn
{
public:
    SheetColumn(Worksheet* s, int col) : m_s(s), m_col(col) {}
    void setColumnWidth(int chars);
    void setHorizontalAlignment(int a);

private:
    Worksheet* m_s;
    int m_col;
};

class SheetRange
{
public:
    SheetRange(Worksheet* s, int r1, int c1, int r2, int c2)
        : m_s(s), m_r1(r1), m_c1(c1), m_r2(r2), m_c2(c2)
    {
    }
    // The default value: every cell of the range (a merged range shows the first).
    void setValue(const QString& v);
    void setHorizontalAlignment(int a);
    void setVerticalAlignment(int a);
    void setMergeCells(bool on);
    void setBordersLineStyle(int style);
    void setFontName(const QString& name);
    void setFontSize(const QString& size);
    void setFontStyle(const QString& style); // "bold", "italic", "bold italic", "regular"

    int firstRow() const { return m_r1; }
    int firstColumn() const { return m_c1; }
    int lastRow() const { return m_r2; }
    int lastColumn() const { return m_c2; }

private:
    template <typename F> void each(F f);
    Worksheet* m_s;
    int m_r1, m_c1, m_r2, m_c2;
};

class Worksheet
{
public:
    explicit Worksheet(const QString& name) : m_name(name) {}

    QString name() const { return m_name; }
    void
    setName(const QString& name); // Excel's rules: 1-31 characters, no [ ] : * ? / or backslash

    // Rows and columns count from 1.
    SheetCell cells(int row, int col);
    SheetColumn columns(int col);
    // "A1:L1", "a2:AB10" or "C3".
    SheetRange range(const QString& address);

    struct Cell {
        QString value;
        bool hasValue = false;
        CellFormat format;
    };
    struct Column {
        int width = -1; // characters; -1: default
        int hAlign = 0;
    };
    struct Merge {
        int r1, c1, r2, c2;
    };
    const Cell* cell(int row, int col) const;
    Column column(int col) const;
    const std::vector<Merge>& merges() const { return m_merges; }

private:
    friend class SheetCell;
    friend class SheetColumn;
    friend class SheetRange;
    friend class Workbook;
    Cell& at(int row, int col);
    static void checkCell(int row, int col);

    QString m_name;
    std::unordered_map<quint64, Cell> m_cells;
    std::unordered_map<int, Column> m_columns;
    std::vector<Merge> m_merges;
};

class Workbook
{
public:
    Workbook();
    ~Workbook();
    Worksheet& worksheets(int index); // from 1
    int worksheetCount() const { return int(m_sheets.size()); }
    // Writes the workbook as .xlsx; throws SpreadsheetUnavailable when it cannot.
    void saveAs(const QString& path) const;

private:
    std::vector<std::unique_ptr<Worksheet>> m_sheets;
};

class SpreadsheetApp
{
public:
    // The files go into this folder, which is made when it does not exist;
    // throws SpreadsheetUnavailable when it cannot be made.
    explicit SpreadsheetApp(const QString& folder);
    ~SpreadsheetApp();

    Workbook& addWorkbook();
    Workbook& workbooks(int index); // from 1
    // Base name of the files ("Book" when empty). A name that is taken gets
    // "_2", "_3" … before the extension: an existing file is never replaced.
    void setFileBaseName(const QString& name) { m_baseName = name; }

    // Visible: every workbook not written yet is written and handed to the opener.
    void setVisible(bool on);
    bool visible() const { return m_visible; }
    std::function<void(const QString& path)> opener;

    QString folder() const { return m_folder; }
    QStringList files() const { return m_files; }

private:
    QString reserveFile() const;

    QString m_folder;
    QString m_baseName;
    std::vector<std::unique_ptr<Workbook>> m_books;
    QStringList m_files;
    int m_written = 0;
    bool m_visible = false;
};

namespace Spreadsheet
{
// Column letters: 1 -> "A", 26 -> "Z", 27 -> "AA", 28 -> "AB".
QString columnLetters(int col);
// "AB" -> 28; 0 when the text is not a column name.
int columnNumber(const QString& letters);
// The text as a cell can hold it, in UTF-8: at most 32767 characters, unpaired
// surrogates and characters XML cannot carry replaced by U+FFFD.
QByteArray cellText(const QString& text);
} // namespace Spreadsheet
