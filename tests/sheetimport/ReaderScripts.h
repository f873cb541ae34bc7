#pragma once
// The scripts that make the reader tests' workbooks.

// An .xlsx as openpyxl writes it: a hidden first sheet, a merged title, shared
// strings, a number stored as text, a date cell, a blank row.
inline const char* kOpenpyxl = R"PY(
import sys, datetime, openpyxl
wb = openpyxl.Workbook()
note = wb.active; note.title = "说明"; note["A1"] = "内部"; note.sheet_state = "hidden"
ws = wb.create_sheet("房源")
ws["A1"] = "房源清单"; ws.merge_cells("A1:D1")
ws.append(["小区", "面积", "价格", "登记日期"])
ws.append(["  阳光花园 ", 85.5, "1200", datetime.date(2026, 12, 1)])
ws.append([])
ws.append(["翠湖苑", 120, 1200000, datetime.date(2025, 1, 31)])
wb.create_sheet("其他")
wb.save(sys.argv[1])
)PY";

// An .xlsx laid out part by part: inline strings, formulas with their stored
// results, a custom date format, counting from 1904.
inline const char* kHandXlsx = R"PY(
import sys, zipfile
parts = {
"[Content_Types].xml": '<?xml version="1.0"?><Types xmlns="http://schemas.openxmlformats.org/package/2006/content-types"/>',
"xl/workbook.xml": '<?xml version="1.0"?><workbook xmlns="http://schemas.openxmlformats.org/spreadsheetml/2006/main" xmlns:r="http://schemas.openxmlformats.org/officeDocument/2006/relationships"><workbookPr date1904="1"/><sheets><sheet name="数据" sheetId="1" r:id="rId7"/></sheets></workbook>',
"xl/_rels/workbook.xml.rels": '<?xml version="1.0"?><Relationships xmlns="http://schemas.openxmlformats.org/package/2006/relationships"><Relationship Id="rId7" Type="x" Target="/xl/worksheets/data.xml"/></Relationships>',
"xl/styles.xml": '<?xml version="1.0"?><styleSheet xmlns="http://schemas.openxmlformats.org/spreadsheetml/2006/main"><numFmts count="1"><numFmt numFmtId="170" formatCode="yyyy&quot;年&quot;m&quot;月&quot;d&quot;日&quot;"/></numFmts><cellStyleXfs count="1"><xf numFmtId="170"/></cellStyleXfs><cellXfs count="2"><xf numFmtId="0"/><xf numFmtId="170"/></cellXfs></styleSheet>',
"xl/worksheets/data.xml": '<?xml version="1.0"?><worksheet xmlns="http://schemas.openxmlformats.org/spreadsheetml/2006/main"><sheetData>'
  '<row r="3"><c r="B3" t="inlineStr"><is><r><t>小区</t></r><r><t>名称</t></r><rPh><t>ショウ</t></rPh></is></c><c r="C3" t="inlineStr"><is><t>面积</t></is></c></row>'
  '<row r="4"><c r="B4" t="str"><f>A9&amp;"苑"</f><v>东湖苑</v></c><c r="C4"><f>40*2</f><v>80</v></c><c r="D4" s="1"><v>44895</v></c><c r="E4" t="b"><v>1</v></c></row>'
  '</sheetData></worksheet>',
}
with zipfile.ZipFile(sys.argv[1], "w", zipfile.ZIP_DEFLATED) as z:
    for name, text in parts.items():
        z.writestr(name, text)
)PY";

// An .ods: a hidden first table, repeated blank rows and columns, a spanned header,
// a date and a number shown with a thousands separator.
inline const char* kOds = R"PY(
import sys, zipfile
content = '''<?xml version="1.0" encoding="UTF-8"?>
<office:document-content xmlns:office="urn:oasis:names:tc:opendocument:xmlns:office:1.0" xmlns:table="urn:oasis:names:tc:opendocument:xmlns:table:1.0" xmlns:text="urn:oasis:names:tc:opendocument:xmlns:text:1.0" xmlns:style="urn:oasis:names:tc:opendocument:xmlns:style:1.0">
<office:automatic-styles><style:style style:name="ta2" style:family="table"><style:table-properties table:display="false"/></style:style></office:automatic-styles>
<office:body><office:spreadsheet>
<table:table table:name="隐藏" table:style-name="ta2"><table:table-row><table:table-cell office:value-type="string"><text:p>不要</text:p></table:table-cell></table:table-row></table:table>
<table:table table:name="客户">
<table:table-row><table:table-cell table:number-columns-spanned="2" office:value-type="string"><text:p>联系<text:s text:c="2"/>方式</text:p></table:table-cell><table:covered-table-cell/><table:table-cell table:number-columns-repeated="16382"/></table:table-row>
<table:table-row table:number-rows-repeated="3"><table:table-cell table:number-columns-repeated="1024"/></table:table-row>
<table:table-row><table:table-cell office:value-type="float" office:value="1200"><text:p>1,200</text:p></table:table-cell><table:table-cell office:value-type="date" office:date-value="2026-12-01T00:00:00"><text:p>01/12/26</text:p></table:table-cell><table:table-cell office:value-type="string"><text:p>第一行</text:p><text:p>第二行</text:p><office:annotation><text:p>批注</text:p></office:annotation></table:table-cell></table:table-row>
<table:table-row table:number-rows-repeated="1048570"><table:table-cell table:number-columns-repeated="16384"/></table:table-row>
</table:table></office:spreadsheet></office:body></office:document-content>'''
with zipfile.ZipFile(sys.argv[1], "w") as z:
    z.writestr(zipfile.ZipInfo("mimetype"), "application/vnd.oasis.opendocument.spreadsheet")
    z.writestr("content.xml", content, zipfile.ZIP_DEFLATED)
)PY";

inline const char* kXls = R"PY(
import sys, datetime, xlwt
wb = xlwt.Workbook(encoding="utf-8")
ws = wb.add_sheet("房源")
ws.write(1, 0, "小区名称"); ws.write(1, 1, "面积"); ws.write(1, 2, "日期")
ws.write(2, 0, "阳光花园"); ws.write(2, 1, 85.5)
ws.write(2, 2, datetime.date(2026, 12, 1), xlwt.easyxf(num_format_str="YYYY-MM-DD"))
ws.write(3, 1, 1200)
wb.save(sys.argv[1])
)PY";

// A part that unpacks to far more than the bound while the file stays small.
inline const char* kBomb = R"PY(
import sys, zipfile
with zipfile.ZipFile(sys.argv[1], "w", zipfile.ZIP_DEFLATED) as z:
    z.writestr("xl/workbook.xml", '<workbook xmlns:r="http://schemas.openxmlformats.org/officeDocument/2006/relationships"><sheets><sheet name="a" r:id="r1"/></sheets></workbook>')
    z.writestr("xl/_rels/workbook.xml.rels", '<Relationships><Relationship Id="r1" Target="worksheets/s.xml"/></Relationships>')
    with z.open("xl/worksheets/s.xml", "w") as f:
        f.write(b"<worksheet><sheetData>")
        block = b" " * (1 << 20)
        for i in range(64):
            f.write(block)
        f.write(b"</sheetData></worksheet>")
)PY";
