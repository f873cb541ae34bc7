#pragma once
// Reads a written .xlsx back with an independent reader (openpyxl under the
// system Python), so tests check the file, not what the writer meant to write.
#include <QHash>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QStringList>

struct XlsxCell {
    QString value;
    bool isNull = true;
    bool bold = false;
    QString font;
    double size = 0;
    bool border = false; // thin lines on all four edges
    QString hAlign, vAlign, numberFormat;
};

struct XlsxBook {
    bool ok = false;
    QString error;
    QStringList sheets;
    QStringList merged;
    QHash<QString, double> widths;  // column letter -> width
    QHash<QString, XlsxCell> cells; // "A1" -> cell (first sheet)
    int maxRow = 0, maxCol = 0;
    XlsxCell cell(const QString& ref) const { return cells.value(ref); }
    QString text(const QString& ref) const { return cells.value(ref).value; }
};

inline XlsxBook readXlsx(const QString& path)
{
    static const char* script = R"PY(
import sys, json, openpyxl
wb = openpyxl.load_workbook(sys.argv[1])
ws = wb.worksheets[0]
out = {"sheets": wb.sheetnames, "merged": sorted(str(r) for r in ws.merged_cells.ranges),
       "widths": {}, "cells": {}, "maxRow": ws.max_row, "maxCol": ws.max_column}
for k, d in ws.column_dimensions.items():
    for i in range(d.min or 0, (d.max or 0) + 1):
        if i > 0:
            out["widths"][openpyxl.utils.get_column_letter(i)] = d.width
for row in ws.iter_rows():
    for c in row:
        e = {"v": None if c.value is None else str(c.value)}
        try:
            b = c.border
            e["border"] = all(getattr(b, s).style == "thin" for s in ("left", "right", "top", "bottom"))
            e["bold"] = bool(c.font.b)
            e["font"] = c.font.name
            e["size"] = float(c.font.sz or 0)
            e["h"] = c.alignment.horizontal
            e["vert"] = c.alignment.vertical
            e["fmt"] = c.number_format
        except Exception:
            pass
        out["cells"][c.coordinate] = e
print(json.dumps(out, ensure_ascii=False))
)PY";
    XlsxBook book;
    QProcess p;
    p.start(QStringLiteral("/usr/bin/python3"),
            {QStringLiteral("-c"), QString::fromUtf8(script), path});
    if (!p.waitForFinished(120000) || p.exitCode() != 0) {
        book.error = QString::fromUtf8(p.readAllStandardError());
        return book;
    }
    const QJsonObject o = QJsonDocument::fromJson(p.readAllStandardOutput()).object();
    for (const auto& v : o.value(QStringLiteral("sheets")).toArray())
        book.sheets << v.toString();
    for (const auto& v : o.value(QStringLiteral("merged")).toArray())
        book.merged << v.toString();
    const QJsonObject widths = o.value(QStringLiteral("widths")).toObject();
    for (auto it = widths.begin(); it != widths.end(); ++it)
        book.widths.insert(it.key(), it.value().toDouble());
    const QJsonObject cells = o.value(QStringLiteral("cells")).toObject();
    for (auto it = cells.begin(); it != cells.end(); ++it) {
        const QJsonObject c = it.value().toObject();
        XlsxCell x;
        x.isNull = c.value(QStringLiteral("v")).isNull();
        x.value = c.value(QStringLiteral("v")).toString();
        x.bold = c.value(QStringLiteral("bold")).toBool();
        x.font = c.value(QStringLiteral("font")).toString();
        x.size = c.value(QStringLiteral("size")).toDouble();
        x.border = c.value(QStringLiteral("border")).toBool();
        x.hAlign = c.value(QStringLiteral("h")).toString();
        x.vAlign = c.value(QStringLiteral("vert")).toString();
        x.numberFormat = c.value(QStringLiteral("fmt")).toString();
        book.cells.insert(it.key(), x);
    }
    book.maxRow = o.value(QStringLiteral("maxRow")).toInt();
    book.maxCol = o.value(QStringLiteral("maxCol")).toInt();
    book.ok = true;
    return book;
}
