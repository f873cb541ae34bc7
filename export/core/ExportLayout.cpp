#include "export/core/ExportLayout.h"

#include "data/Query.h"

namespace ExportLayout
{

int displayWidth(const ColumnInfo& c)
{
    if (c.type == ColumnInfo::Text && c.maxLength > 0) return qMin(c.maxLength, 255);
    return 10;
}

void writeHeader(Worksheet& sheet, const QList<ExportField>& fields, const Query& data)
{
    for (int j = 1; j <= fields.size(); ++j) {
        const ExportField& f = fields[j - 1];
        sheet.cells(2, j).setValue(f.caption);
        sheet.cells(2, j).setBold(true);
        const int col = data.fieldIndex(f.name);
        if (col < 0) throw DbError(QStringLiteral("找不到字段“%1”。").arg(f.name));
        sheet.columns(j).setColumnWidth(displayWidth(data.column(col)));
        sheet.columns(j).setHorizontalAlignment(Xl::Center);
    }
}

int writeRows(Worksheet& sheet, const QList<ExportField>& fields, Query& data,
              const QString& preparer, const QString& date)
{
    int r = 3;
    try {
        QList<int> cols;
        for (const ExportField& f : fields) {
            const int c = data.fieldIndex(f.name);
            if (c < 0) throw DbError(QStringLiteral("找不到字段“%1”。").arg(f.name));
            cols << c;
        }
        const QLatin1Char apostrophe('\'');
        data.first();
        while (!data.eof()) {
            for (int j = 0; j < cols.size(); ++j) {
                const QVariant v = data.value(cols[j]);
                QString text;
                if (!v.isNull())
                    text = v.typeId() == QMetaType::Double ? QString::number(v.toDouble(), 'g', 15)
                                                           : v.toString();
                sheet.cells(r, j + 1).setValue(apostrophe + text);
            }
            data.next();
            ++r;
        }
        sheet.cells(r + 1, 2).setValue(QStringLiteral("制表人员: ") + preparer);
        sheet.cells(r + 1, 4).setValue(QStringLiteral("制表日期: ") + date);
    } catch (const DbError&) {
        // A failure while writing records or the footer keeps what was written.
    }
    return r;
}

void finish(Worksheet& sheet, int fieldCount, int r, const QString& title)
{
    const QString last = Spreadsheet::columnLetters(fieldCount);
    sheet.range(QStringLiteral("A2:") + last + QString::number(r - 1))
        .setBordersLineStyle(Xl::Continuous);
    SheetRange head = sheet.range(QStringLiteral("a1:") + last + QStringLiteral("1"));
    head.setHorizontalAlignment(Xl::Center);
    head.setVerticalAlignment(Xl::Center);
    head.setMergeCells(true);
    SheetRange titleCell = sheet.range(QStringLiteral("a1:a1"));
    titleCell.setValue(title);
    titleCell.setFontName(QStringLiteral("楷体"));
    titleCell.setFontSize(QStringLiteral("18"));
    titleCell.setFontStyle(QStringLiteral("bold"));
}

} // namespace ExportLayout
