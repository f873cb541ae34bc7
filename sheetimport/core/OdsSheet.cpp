// .ods (OpenDocument) workbooks: hidden sheets from the table styles, then the
// chosen table's rows and cells, repeated ones counted without being unfolded
// where they are blank.
#include "sheetimport/core/SheetCollector.h"
#include "sheetimport/core/SheetFormats.h"
#include "sheetimport/core/ZipPart.h"

#include <QSet>

namespace SheetReader
{

namespace
{

using Xml = QXmlStreamReader;

// An attribute by its local name, whatever prefix the file gives its namespace.
QString attr(const Xml& x, const char* name)
{
    const QLatin1String local(name);
    for (const QXmlStreamAttribute& a : x.attributes())
        if (a.name() == local) return a.value().toString();
    return {};
}

int count(const Xml& x, const char* name)
{
    const int n = attr(x, name).toInt();
    return n > 0 ? n : 1;
}

struct Cell {
    int col, repeat, rowSpan, colSpan;
    QString text;
};

} // namespace

Table readOds(const QString& path, const Options& o)
{
    ZipArchive zip(path);
    if (!zip.has(QStringLiteral("content.xml")))
        refuse(QStringLiteral("文件不是 OpenDocument 表格（.ods），或者文件已损坏，没有导入。"));
    XmlPart part(zip, QStringLiteral("content.xml"), o);
    Table t;
    Collector cells(o.limits);
    QSet<QString> hiddenStyles;
    QString styleName;
    bool chosenDone = false, inChosen = false, sawTable = false;
    qint64 row = 0;
    int col = 0, rowRepeat = 1;
    QList<Cell> rowCells;
    // The cell being read.
    bool inCell = false, valueFromAttr = false, inAnnotation = false;
    int paragraphs = 0, inP = 0;
    Cell cell{};
    const qint64 lastRow = 1 << 20;
    while (part.next()) {
        const Xml& x = part.xml;
        const QStringView n = x.name();
        if (x.isStartElement()) {
            if (n == u"style" && attr(x, "family") == u"table") {
                styleName = attr(x, "name");
            } else if (n == u"table-properties" && attr(x, "display") == u"false") {
                hiddenStyles.insert(styleName);
            } else if (n == u"table" && x.namespaceUri().contains(u"table")) {
                sawTable = true;
                const QString name = attr(x, "name");
                const bool hidden = hiddenStyles.contains(attr(x, "style-name"));
                if (!hidden) t.sheets << name;
                if (!chosenDone && (o.sheet.isEmpty() ? !hidden : name == o.sheet)) {
                    inChosen = true;
                    t.sheet = name;
                    row = 0;
                }
            } else if (!inChosen) {
                continue;
            } else if (n == u"table-row") {
                rowRepeat = count(x, "number-rows-repeated");
                col = 0;
                rowCells.clear();
            } else if (n == u"table-cell" || n == u"covered-table-cell") {
                inCell = true;
                paragraphs = 0;
                cell =
                    Cell{col, count(x, "number-columns-repeated"), count(x, "number-rows-spanned"),
                         count(x, "number-columns-spanned"), QString()};
                const QString type = attr(x, "value-type");
                valueFromAttr = true;
                if (type == u"float" || type == u"percentage" || type == u"currency")
                    cell.text = numberText(attr(x, "value").toDouble());
                else if (type == u"date")
                    cell.text = attr(x, "date-value").left(10);
                else if (type == u"boolean")
                    cell.text = attr(x, "boolean-value") == u"true" ? QStringLiteral("TRUE")
                                                                    : QStringLiteral("FALSE");
                else
                    valueFromAttr = false;
            } else if (inCell && n == u"annotation") {
                inAnnotation = true;
            } else if (inCell && !inAnnotation && !valueFromAttr) {
                if (n == u"p") {
                    ++inP;
                    if (paragraphs++ > 0) cell.text += u'\n';
                } else if (n == u"s")
                    cell.text += QString(count(x, "c"), u' ');
                else if (n == u"tab")
                    cell.text += u'\t';
                else if (n == u"line-break")
                    cell.text += u'\n';
            }
        } else if (x.isEndElement()) {
            if (n == u"table" && x.namespaceUri().contains(u"table")) {
                if (inChosen) chosenDone = true;
                inChosen = false;
            } else if (!inChosen) {
                continue;
            } else if (n == u"annotation") {
                inAnnotation = false;
            } else if (n == u"p" && inP > 0) {
                --inP;
            } else if (n == u"table-cell" || n == u"covered-table-cell") {
                inCell = false;
                if (!cell.text.isEmpty() || cell.rowSpan > 1 || cell.colSpan > 1)
                    rowCells.append(cell);
                col += cell.repeat;
            } else if (n == u"table-row") {
                if (!rowCells.isEmpty()) {
                    for (int r = 0; r < rowRepeat && row + r < lastRow; ++r)
                        for (const Cell& c : std::as_const(rowCells)) {
                            for (int k = 0; k < c.repeat && !c.text.isEmpty(); ++k)
                                cells.set(int(row + r), c.col + k, c.text);
                            if (c.rowSpan > 1 || c.colSpan > 1)
                                cells.merge(int(row + r), c.col, int(row + r) + c.rowSpan - 1,
                                            c.col + c.colSpan - 1);
                        }
                }
                row = std::min(row + rowRepeat, lastRow);
            }
        } else if (x.isCharacters() && inChosen && inCell && !inAnnotation && !valueFromAttr &&
                   inP > 0) {
            if (cell.text.size() > o.limits.cellChars)
                refuse(QStringLiteral(
                           "单元格 %1 的内容超过 %2 个字符，这不像房源或客户资料，没有导入。")
                           .arg(cellName(int(row), col))
                           .arg(o.limits.cellChars));
            cell.text += x.text();
        }
    }
    if (!sawTable)
        refuse(QStringLiteral(
            "文件不是 OpenDocument 表格，或者文件已损坏（找不到工作表），没有导入。"));
    if (t.sheet.isEmpty()) {
        if (o.sheet.isEmpty()) refuse(QStringLiteral("工作簿中没有可见的工作表。"));
        refuse(QStringLiteral("工作簿中没有名为“%1”的工作表。").arg(o.sheet));
    }
    cells.finish(t);
    return t;
}

} // namespace SheetReader
