// .xlsx (Office Open XML) workbooks: the sheet list and relations, shared strings,
// the date formats of the cell styles, then the chosen sheet's cells and merges.
#include "sheetimport/core/SheetCollector.h"
#include "sheetimport/core/SheetFormats.h"
#include "sheetimport/core/ZipPart.h"

#include <QHash>
#include <QSet>
#include <QVector>

namespace SheetReader
{

namespace
{

using Xml = QXmlStreamReader;

struct SheetEntry {
    QString name, relId;
    bool hidden = false;
};

QString attr(const Xml& x, const char* name)
{
    return x.attributes().value(QLatin1String(name)).toString();
}

// r:id, whatever prefix the relationships namespace has.
QString relationId(const Xml& x)
{
    for (const QXmlStreamAttribute& a : x.attributes())
        if (a.name() == u"id" && a.namespaceUri().contains(u"relationships"))
            return a.value().toString();
    return {};
}

// Built-in number formats that show a date.
bool builtinDate(int id)
{
    return (id >= 14 && id <= 22) || (id >= 27 && id <= 36) || (id >= 45 && id <= 47) ||
           (id >= 50 && id <= 58);
}

// A custom format shows a date when, outside quoted text and [..] parts, it has
// a day or year placeholder.
bool formatIsDate(const QString& code)
{
    bool quoted = false, bracket = false;
    for (int i = 0; i < code.size(); ++i) {
        const QChar c = code[i];
        if (c == u'\\') {
            ++i;
            continue;
        }
        if (c == u'"') quoted = !quoted;
        if (quoted) continue;
        if (c == u'[') bracket = true;
        if (c == u']') bracket = false;
        if (bracket) continue;
        const QChar l = c.toLower();
        if (l == u'y' || l == u'd') return true;
    }
    return false;
}

// Column (from 0) of a cell reference such as "AB12"; -1 when it has none.
int columnOf(QStringView ref)
{
    int col = 0, n = 0;
    for (QChar c : ref) {
        if (c >= u'A' && c <= u'Z')
            col = col * 26 + (c.unicode() - u'A' + 1);
        else if (c >= u'a' && c <= u'z')
            col = col * 26 + (c.unicode() - u'a' + 1);
        else
            break;
        if (++n > 4) return -1;
    }
    return n == 0 ? -1 : col - 1;
}

int rowOf(QStringView ref)
{
    int i = 0;
    while (i < ref.size() && ref[i].isLetter())
        ++i;
    bool ok = false;
    const int r = ref.mid(i).toInt(&ok);
    return ok && r > 0 ? r - 1 : -1;
}

QString resolveTarget(QString target)
{
    if (target.startsWith(u'/')) return target.mid(1);
    QStringList parts = QStringLiteral("xl").split(u'/');
    for (const QString& p : target.split(u'/')) {
        if (p == QLatin1String("..")) {
            if (!parts.isEmpty()) parts.removeLast();
        } else if (p != QLatin1String(".")) {
            parts << p;
        }
    }
    return parts.join(u'/');
}

struct Workbook {
    QList<SheetEntry> sheets;
    bool from1904 = false;
    QHash<QString, QString> targets; // relation id → part
    QStringList shared;
    QVector<bool> dateStyle; // by style index
};

void readWorkbook(ZipArchive& zip, const Options& o, Workbook& wb)
{
    XmlPart part(zip, QStringLiteral("xl/workbook.xml"), o);
    while (part.next()) {
        if (!part.xml.isStartElement()) continue;
        if (part.xml.name() == u"sheet") {
            const QString state = attr(part.xml, "state");
            wb.sheets.append({attr(part.xml, "name"), relationId(part.xml),
                              state == u"hidden" || state == u"veryHidden"});
        } else if (part.xml.name() == u"workbookPr") {
            const QString d = attr(part.xml, "date1904");
            wb.from1904 = d == u"1" || d == u"true";
        }
    }
    if (wb.sheets.isEmpty())
        refuse(
            QStringLiteral("文件不是 Excel 工作簿，或者工作簿已损坏（找不到工作表），没有导入。"));
    XmlPart rels(zip, QStringLiteral("xl/_rels/workbook.xml.rels"), o);
    while (rels.next())
        if (rels.xml.isStartElement() && rels.xml.name() == u"Relationship")
            wb.targets.insert(attr(rels.xml, "Id"), resolveTarget(attr(rels.xml, "Target")));
}

void readShared(ZipArchive& zip, const Options& o, Workbook& wb)
{
    XmlPart part(zip, QStringLiteral("xl/sharedStrings.xml"), o);
    QString current;
    bool inT = false;
    int phonetic = 0;
    qint64 chars = 0;
    while (part.next()) {
        const Xml& x = part.xml;
        if (x.isStartElement()) {
            if (x.name() == u"si")
                current.clear();
            else if (x.name() == u"rPh")
                ++phonetic;
            else if (x.name() == u"t")
                inT = true;
        } else if (x.isEndElement()) {
            if (x.name() == u"si") {
                wb.shared.append(current);
                chars += current.size();
                if (chars > o.limits.sheetChars)
                    refuse(QStringLiteral("表格的内容太多（超过 %1 个字符），请分成几个文件导入。")
                               .arg(o.limits.sheetChars));
            } else if (x.name() == u"rPh")
                --phonetic;
            else if (x.name() == u"t")
                inT = false;
        } else if (x.isCharacters() && inT && phonetic == 0) {
            if (current.size() > o.limits.cellChars)
                refuse(QStringLiteral(
                           "工作簿中有一个超过 %1 个字符的单元格，这不像房源或客户资料，没有导入。")
                           .arg(o.limits.cellChars));
            current += x.text();
        }
    }
}

void readStyles(ZipArchive& zip, const Options& o, Workbook& wb)
{
    XmlPart part(zip, QStringLiteral("xl/styles.xml"), o);
    QSet<int> customDates;
    bool inCellXfs = false;
    while (part.next()) {
        const Xml& x = part.xml;
        if (x.isStartElement()) {
            if (x.name() == u"numFmt" && formatIsDate(attr(x, "formatCode")))
                customDates.insert(attr(x, "numFmtId").toInt());
            else if (x.name() == u"cellXfs")
                inCellXfs = true;
            else if (inCellXfs && x.name() == u"xf") {
                const int id = attr(x, "numFmtId").toInt();
                wb.dateStyle.append(builtinDate(id) || customDates.contains(id));
            }
        } else if (x.isEndElement() && x.name() == u"cellXfs") {
            inCellXfs = false;
        }
    }
}

QString cellText(const Workbook& wb, const QString& type, int style, const QString& v,
                 const QString& inlineText)
{
    if (type == u"s") {
        bool ok = false;
        const int i = v.toInt(&ok);
        return ok && i >= 0 && i < wb.shared.size() ? wb.shared[i] : QString();
    }
    if (type == u"inlineStr") return inlineText;
    if (type == u"str" || type == u"e") return v;
    if (type == u"b") return v == u"1" ? QStringLiteral("TRUE") : QStringLiteral("FALSE");
    if (type == u"d") return v.left(10);
    bool ok = false;
    const double d = v.toDouble(&ok);
    if (!ok) return v;
    if (style >= 0 && style < wb.dateStyle.size() && wb.dateStyle[style]) {
        const QString date = serialDate(d, wb.from1904);
        if (!date.isEmpty()) return date;
    }
    return numberText(d);
}

void readCells(ZipArchive& zip, const QString& partName, const Options& o, const Workbook& wb,
               Collector& cells)
{
    XmlPart part(zip, partName, o);
    int row = -1, col = -1;
    QString type, v, inlineText;
    int style = -1;
    bool inV = false, inIs = false, inT = false;
    int phonetic = 0;
    while (part.next()) {
        const Xml& x = part.xml;
        if (x.isStartElement()) {
            const QStringView n = x.name();
            if (n == u"row") {
                const int r = attr(x, "r").toInt();
                row = r > 0 ? r - 1 : row + 1;
                col = -1;
            } else if (n == u"c") {
                // Read once per cell: a workbook has millions of them.
                const QXmlStreamAttributes a = x.attributes();
                const QStringView ref = a.value(QLatin1String("r"));
                const int c = columnOf(ref);
                col = c >= 0 ? c : col + 1;
                if (row < 0) row = std::max(0, rowOf(ref));
                type = a.value(QLatin1String("t")).toString();
                const QStringView s = a.value(QLatin1String("s"));
                style = s.isEmpty() ? -1 : s.toInt();
                v.clear();
                inlineText.clear();
            } else if (n == u"v") {
                inV = true;
            } else if (n == u"is") {
                inIs = true;
            } else if (n == u"rPh") {
                ++phonetic;
            } else if (n == u"t") {
                inT = true;
            } else if (n == u"mergeCell") {
                const QStringList ends = attr(x, "ref").split(u':');
                if (ends.size() == 2)
                    cells.merge(rowOf(ends[0]), columnOf(ends[0]), rowOf(ends[1]),
                                columnOf(ends[1]));
            }
        } else if (x.isEndElement()) {
            const QStringView n = x.name();
            if (n == u"c") {
                if (row >= 0 && col >= 0)
                    cells.set(row, col, cellText(wb, type, style, v, inlineText));
            } else if (n == u"v") {
                inV = false;
            } else if (n == u"is") {
                inIs = false;
            } else if (n == u"rPh") {
                --phonetic;
            } else if (n == u"t") {
                inT = false;
            }
        } else if (x.isCharacters()) {
            QString& into = inV ? v : inlineText;
            if (!inV && !(inIs && inT && phonetic == 0)) continue;
            if (into.size() > o.limits.cellChars)
                refuse(QStringLiteral(
                           "单元格 %1 的内容超过 %2 个字符，这不像房源或客户资料，没有导入。")
                           .arg(cellName(std::max(row, 0), std::max(col, 0)))
                           .arg(o.limits.cellChars));
            into += x.text();
        }
    }
}

} // namespace

Table readXlsx(const QString& path, const Options& o)
{
    ZipArchive zip(path);
    if (!zip.has(QStringLiteral("xl/workbook.xml")))
        refuse(QStringLiteral("文件不是 Excel 工作簿（.xlsx），或者工作簿已损坏，没有导入。"));
    Workbook wb;
    readWorkbook(zip, o, wb);
    Table t;
    const SheetEntry* chosen = nullptr;
    for (const SheetEntry& s : std::as_const(wb.sheets)) {
        if (!s.hidden) t.sheets << s.name;
        if (!chosen && (o.sheet.isEmpty() ? !s.hidden : s.name == o.sheet)) chosen = &s;
    }
    if (!chosen) {
        if (o.sheet.isEmpty()) refuse(QStringLiteral("工作簿中没有可见的工作表。"));
        refuse(QStringLiteral("工作簿中没有名为“%1”的工作表。").arg(o.sheet));
    }
    const QString partName = wb.targets.value(chosen->relId);
    if (partName.isEmpty() || !zip.has(partName))
        refuse(
            QStringLiteral("工作簿已损坏（找不到工作表“%1”的内容），没有导入。").arg(chosen->name));
    readShared(zip, o, wb);
    readStyles(zip, o, wb);
    Collector cells(o.limits);
    readCells(zip, partName, o, wb, cells);
    t.sheet = chosen->name;
    cells.finish(t);
    return t;
}

} // namespace SheetReader
