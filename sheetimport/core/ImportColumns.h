#pragma once
// Which register column each column of a spreadsheet goes to: the register's
// columns with the captions the program shows and the words offices head their
// columns with, the header row found among the first rows, and the choice of the
// operator remembered for the next file with the same headers.
#include "sheetimport/core/SheetReader.h"

#include <QList>
#include <QString>
#include <QStringList>

namespace SheetImport
{

enum class Register { Listings, Customers };

// How a column's values are read and checked.
enum class ValueKind {
    Text,
    Area,       // a number of square metres ("85㎡", "85平米")
    Price,      // an amount ("1,200", "120万")
    Number,     // another amount (customer bounds)
    Date,       // stored as YYMMDD
    Digits,     // digits only (房龄)
    Mode,       // 出售/出租 or 求购/求租, as offices write them
    Validity,   // 有效/无效, 是/否
    Dictionary, // a value of a dictionary
    Archive     // the archive number
};

struct Target {
    QString column;  // the register's column
    QString caption; // what the program calls it
    ValueKind kind = ValueKind::Text;
    QString dictionary, dictionaryColumn; // for Dictionary and Mode
    QStringList words;                    // headers offices use for it
};

QString tableOf(Register r);
QString registerName(Register r); // 房源 / 客户
const QList<Target>& targets(Register r);
const Target* target(Register r, const QString& column);

// What "不导入" is called in a mapping.
inline QString skipWord()
{
    return QStringLiteral("不导入");
}

// A header cell as headers are compared: blanks, full-width forms and a unit in
// brackets dropped ("面积（㎡）" → "面积").
QString headerKey(const QString& header);
// The column a header names, or empty.
QString columnForHeader(Register r, const QString& header);

struct Mapping {
    int headerRow = -1;  // index into the table's rows
    QStringList headers; // the header row's cells
    QStringList columns; // per sheet column: the register column, or empty (不导入)
    // Per sheet column: its header gives prices in 万 ("总价（万元）"), so a plain
    // number there counts in 万.
    QList<bool> inTenThousands;
};

// The header row (the one among the first 30 rows naming the most columns, at
// least two) and the columns its headers name; each register column taken once.
// Throws DbError when no row looks like a header.
Mapping guess(Register r, const SheetReader::Table& t);
// `m` with its columns replaced by those remembered for these headers, if any.
bool recall(Register r, Mapping& m);
void remember(Register r, const Mapping& m);

// A mapping file for the tool: one line per header, "header=column" or
// "header=不导入"; the headers it names override the guess. Throws DbError for a
// line naming no column of the register.
void applyMappingFile(Register r, const QString& path, Mapping& m);
// The same lines for a mapping (what the tool can be given back).
QString mappingText(const Mapping& m);

} // namespace SheetImport
