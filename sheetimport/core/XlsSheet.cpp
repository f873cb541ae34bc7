// .xls (the binary format of older spreadsheet programs), through FreeXL.
#include "sheetimport/core/SheetCollector.h"
#include "sheetimport/core/SheetFormats.h"

#include <QFile>
#include <freexl.h>

namespace SheetReader
{

namespace
{

class XlsHandle
{
public:
    explicit XlsHandle(const QString& path)
    {
        const int rc = freexl_open(QFile::encodeName(path).constData(), &h);
        if (rc != FREEXL_OK) {
            h = nullptr;
            refuse(QStringLiteral(
                "文件不是 Excel 97-2003 工作簿（.xls），或者工作簿已损坏，没有导入。"));
        }
    }
    ~XlsHandle()
    {
        if (h) freexl_close(h);
    }
    const void* h = nullptr;
};

} // namespace

Table readXls(const QString& path, const Options& o)
{
    XlsHandle x(path);
    unsigned int info = 0;
    if (freexl_get_info(x.h, FREEXL_BIFF_PASSWORD, &info) == FREEXL_OK &&
        info == FREEXL_BIFF_OBFUSCATED)
        refuse(
            QStringLiteral("这个工作簿设有密码，无法读取。请在表格程序中去掉密码另存后再导入。"));
    unsigned int sheets = 0;
    freexl_get_info(x.h, FREEXL_BIFF_SHEET_COUNT, &sheets);
    Table t;
    int chosen = -1;
    for (unsigned int i = 0; i < sheets && i < 0xFFFF; ++i) {
        const char* name = nullptr;
        if (freexl_get_worksheet_name(x.h, (unsigned short)i, &name) != FREEXL_OK) continue;
        const QString n = QString::fromUtf8(name);
        t.sheets << n;
        if (chosen < 0 && (o.sheet.isEmpty() || n == o.sheet)) chosen = int(i);
    }
    if (chosen < 0) {
        if (o.sheet.isEmpty()) refuse(QStringLiteral("工作簿中没有工作表。"));
        refuse(QStringLiteral("工作簿中没有名为“%1”的工作表。").arg(o.sheet));
    }
    t.sheet = t.sheets[chosen];
    if (freexl_select_active_worksheet(x.h, (unsigned short)chosen) != FREEXL_OK)
        refuse(QStringLiteral("工作簿已损坏（无法读取工作表“%1”），没有导入。").arg(t.sheet));
    unsigned int rows = 0;
    unsigned short cols = 0;
    freexl_worksheet_dimensions(x.h, &rows, &cols);
    Collector cells(o.limits);
    for (unsigned int r = 0; r < rows; ++r) {
        if (o.progress && r % 2000 == 0 && !o.progress(r, rows)) throw Cancelled();
        for (unsigned short c = 0; c < cols; ++c) {
            FreeXL_CellValue v;
            if (freexl_get_cell_value(x.h, r, c, &v) != FREEXL_OK) continue;
            QString text;
            switch (v.type) {
            case FREEXL_CELL_INT:
                text = QString::number(v.value.int_value);
                break;
            case FREEXL_CELL_DOUBLE:
                text = numberText(v.value.double_value);
                break;
            case FREEXL_CELL_TEXT:
            case FREEXL_CELL_SST_TEXT:
            case FREEXL_CELL_TIME:
                text = QString::fromUtf8(v.value.text_value);
                break;
            case FREEXL_CELL_DATE:
            case FREEXL_CELL_DATETIME:
                text = QString::fromUtf8(v.value.text_value).left(10);
                break;
            default:
                break;
            }
            cells.set(int(r), c, text);
        }
    }
    cells.finish(t);
    return t;
}

} // namespace SheetReader
