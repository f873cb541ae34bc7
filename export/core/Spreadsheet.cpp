#include "export/core/Spreadsheet.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>
#include <xlsxwriter.h>

namespace Spreadsheet
{

QString columnLetters(int col)
{
    QString s;
    while (col > 0) {
        const int rem = (col - 1) % 26;
        s.prepend(QChar(QLatin1Char('A').unicode() + rem));
        col = (col - 1) / 26;
    }
    return s;
}

int columnNumber(const QString& letters)
{
    if (letters.isEmpty() || letters.size() > 3) return 0;
    int n = 0;
    for (QChar c : letters) {
        const QChar u = c.toUpper();
        if (u < QLatin1Char('A') || u > QLatin1Char('Z')) return 0;
        n = n * 26 + (u.unicode() - 'A' + 1);
    }
    return n;
}

QByteArray cellText(const QString& text)
{
    // Most texts are short and clean: convert them as they are.
    if (text.size() <= Xl::MaxCellChars) {
        bool clean = true;
        for (QChar c : text) {
            const char16_t u = c.unicode();
            if (u < 0x20 ? (u != 0x9 && u != 0xA && u != 0xD)
                         : (u >= 0xD800 && u != 0xFFFD && (u < 0xE000 || u > 0xFFFD))) {
                clean = false;
                break;
            }
        }
        if (clean) return text.toUtf8();
    }
    QString out;
    out.reserve(qMin<qsizetype>(text.size(), Xl::MaxCellChars + 1));
    int chars = 0;
    const qsizetype n = text.size();
    for (qsizetype i = 0; i < n && chars < Xl::MaxCellChars; ++i, ++chars) {
        const QChar c = text.at(i);
        if (c.isHighSurrogate() && i + 1 < n && text.at(i + 1).isLowSurrogate()) {
            out += c;
            out += text.at(++i);
            continue;
        }
        const char16_t u = c.unicode();
        const bool xmlOk = u == 0x9 || u == 0xA || u == 0xD || (u >= 0x20 && u < 0xD800) ||
                           (u >= 0xE000 && u <= 0xFFFD);
        out += xmlOk ? c : QChar(QChar::ReplacementCharacter);
    }
    return out.toUtf8();
}

} // namespace Spreadsheet

namespace
{

quint64 key(int row, int col)
{
    return (quint64(quint32(row)) << 32) | quint32(col);
}

} // namespace

// ---- proxies -------------------------------------------------------------

void SheetCell::setValue(const QString& v)
{
    Worksheet::Cell& c = m_s->at(m_row, m_col);
    if (v.startsWith(QLatin1Char('\''))) {
        c.value = v.mid(1);
        c.format.asText = true;
    } else {
        c.value = v;
    }
    c.hasValue = true;
}

void SheetCell::setBold(bool on)
{
    m_s->at(m_row, m_col).format.bold = on;
}

void SheetColumn::setColumnWidth(int chars)
{
    if (chars < 0 || chars > 255)
        throw DbError(QStringLiteral("列宽必须在 0 到 255 之间：%1").arg(chars));
    Worksheet::checkCell(1, m_col);
    m_s->m_columns[m_col].width = chars;
}

void SheetColumn::setHorizontalAlignment(int a)
{
    Worksheet::checkCell(1, m_col);
    m_s->m_columns[m_col].hAlign = a;
    // As in Excel, the cells already in the column take the alignment too.
    for (auto& [k, cell] : m_s->m_cells)
        if (int(k & 0xffffffffu) == m_col) cell.format.hAlign = 0;
}

template <typename F> void SheetRange::each(F f)
{
    for (int r = m_r1; r <= m_r2; ++r)
        for (int c = m_c1; c <= m_c2; ++c)
            f(m_s->at(r, c));
}

void SheetRange::setValue(const QString& v)
{
    for (int r = m_r1; r <= m_r2; ++r)
        for (int c = m_c1; c <= m_c2; ++c)
            SheetCell(m_s, r, c).setValue(v);
}

void SheetRange::setHorizontalAlignment(int a)
{
    each([a](Worksheet::Cell& c) { c.format.hAlign = a; });
}

void SheetRange::setVerticalAlignment(int a)
{
    each([a](Worksheet::Cell& c) { c.format.vAlign = a; });
}

void SheetRange::setMergeCells(bool on)
{
    auto& merges = m_s->m_merges;
    // Merging or unmerging replaces every merge the range touches.
    std::erase_if(merges, [this](const Worksheet::Merge& m) {
        return !(m.r2 < m_r1 || m.r1 > m_r2 || m.c2 < m_c1 || m.c1 > m_c2);
    });
    if (on && (m_r1 != m_r2 || m_c1 != m_c2)) merges.push_back({m_r1, m_c1, m_r2, m_c2});
}

void SheetRange::setBordersLineStyle(int style)
{
    if (style != 0 && style != Xl::Continuous)
        throw DbError(QStringLiteral("不支持的边框线型：%1").arg(style));
    each([style](Worksheet::Cell& c) { c.format.lineStyle = style; });
}

void SheetRange::setFontName(const QString& name)
{
    each([&name](Worksheet::Cell& c) { c.format.fontName = name; });
}

void SheetRange::setFontSize(const QString& size)
{
    bool ok = false;
    const double s = size.trimmed().toDouble(&ok);
    if (!ok || s < 1 || s > 409) throw DbError(QStringLiteral("无效的字号：%1").arg(size));
    each([s](Worksheet::Cell& c) { c.format.fontSize = s; });
}

void SheetRange::setFontStyle(const QString& style)
{
    const QStringList words = style.toLower().split(QLatin1Char(' '), Qt::SkipEmptyParts);
    bool bold = false, italic = false;
    for (const QString& w : words) {
        if (w == QLatin1String("bold"))
            bold = true;
        else if (w == QLatin1String("italic"))
            italic = true;
        else if (w != QLatin1String("regular"))
            throw DbError(QStringLiteral("无效的字形：%1").arg(style));
    }
    each([bold, italic](Worksheet::Cell& c) {
        c.format.bold = bold;
        c.format.italic = italic;
    });
}

// ---- worksheet -----------------------------------------------------------

void Worksheet::setName(const QString& name)
{
    static const QRegularExpression bad(QStringLiteral("[\\[\\]:*?/\\\\]"));
    if (name.isEmpty() || name.size() > 31 || name.contains(bad) ||
        name.startsWith(QLatin1Char('\'')) || name.endsWith(QLatin1Char('\'')))
        throw DbError(QStringLiteral("无效的工作表名称：%1").arg(name));
    m_name = name;
}

void Worksheet::checkCell(int row, int col)
{
    if (row < 1 || row > Xl::MaxRows || col < 1 || col > Xl::MaxColumns)
        throw DbError(QStringLiteral("单元格超出工作表范围：行 %1，列 %2").arg(row).arg(col));
}

Worksheet::Cell& Worksheet::at(int row, int col)
{
    checkCell(row, col);
    return m_cells[key(row, col)];
}

SheetCell Worksheet::cells(int row, int col)
{
    checkCell(row, col);
    return SheetCell(this, row, col);
}

SheetColumn Worksheet::columns(int col)
{
    checkCell(1, col);
    return SheetColumn(this, col);
}

SheetRange Worksheet::range(const QString& address)
{
    static const QRegularExpression re(
        QStringLiteral("^\\s*([A-Za-z]{1,3})([0-9]{1,7})(?::([A-Za-z]{1,3})([0-9]{1,7}))?\\s*$"));
    const auto m = re.match(address);
    auto fail = [&] { throw DbError(QStringLiteral("无效的单元格区域：%1").arg(address)); };
    if (!m.hasMatch()) fail();
    int c1 = Spreadsheet::columnNumber(m.captured(1));
    int r1 = m.captured(2).toInt();
    int c2 = m.captured(3).isEmpty() ? c1 : Spreadsheet::columnNumber(m.captured(3));
    int r2 = m.captured(4).isEmpty() ? r1 : m.captured(4).toInt();
    if (c1 < 1 || c2 < 1 || c1 > Xl::MaxColumns || c2 > Xl::MaxColumns || r1 < 1 || r2 < 1 ||
        r1 > Xl::MaxRows || r2 > Xl::MaxRows)
        fail();
    return SheetRange(this, qMin(r1, r2), qMin(c1, c2), qMax(r1, r2), qMax(c1, c2));
}

const Worksheet::Cell* Worksheet::cell(int row, int col) const
{
    const auto it = m_cells.find(key(row, col));
    return it == m_cells.end() ? nullptr : &it->second;
}

Worksheet::Column Worksheet::column(int col) const
{
    const auto it = m_columns.find(col);
    return it == m_columns.end() ? Column() : it->second;
}

// ---- workbook ------------------------------------------------------------

Workbook::Workbook()
{
    m_sheets.push_back(std::make_unique<Worksheet>(QStringLiteral("Sheet1")));
}

Workbook::~Workbook() = default;

Worksheet& Workbook::worksheets(int index)
{
    if (index < 1 || index > int(m_sheets.size()))
        throw DbError(QStringLiteral("没有第 %1 个工作表。").arg(index));
    return *m_sheets[size_t(index - 1)];
}

namespace
{

// One libxlsxwriter format per distinct cell format.
class FormatCache
{
public:
    explicit FormatCache(lxw_workbook* wb) : m_wb(wb) {}
    lxw_format* get(const CellFormat& f)
    {
        if (f == CellFormat()) return nullptr;
        // A sheet uses a handful of distinct formats: a short list beats hashing.
        for (const auto& [known, x] : m_cache)
            if (known == f) return x;
        lxw_format* x = workbook_add_format(m_wb);
        if (f.bold) format_set_bold(x);
        if (f.italic) format_set_italic(x);
        if (!f.fontName.isEmpty()) format_set_font_name(x, f.fontName.toUtf8().constData());
        if (f.fontSize > 0) format_set_font_size(x, f.fontSize);
        if (f.hAlign == Xl::Center) format_set_align(x, LXW_ALIGN_CENTER);
        if (f.vAlign == Xl::Center) format_set_align(x, LXW_ALIGN_VERTICAL_CENTER);
        if (f.lineStyle == Xl::Continuous) format_set_border(x, LXW_BORDER_THIN);
        if (f.asText) format_set_num_format(x, "@");
        m_cache.emplace_back(f, x);
        return x;
    }

private:
    lxw_workbook* m_wb;
    std::vector<std::pair<CellFormat, lxw_format*>> m_cache;
};

} // namespace

void Workbook::saveAs(const QString& path) const
{
    const QByteArray file = QFile::encodeName(path);
    lxw_workbook* wb = workbook_new(file.constData());
    if (!wb) throw SpreadsheetUnavailable(QStringLiteral("无法创建电子表格文件：%1").arg(path));
    FormatCache formats(wb);
    lxw_error err = LXW_NO_ERROR;
    auto check = [&err](lxw_error e) {
        if (e != LXW_NO_ERROR && err == LXW_NO_ERROR) err = e;
    };
    for (const auto& sheet : m_sheets) {
        lxw_worksheet* ws = workbook_add_worksheet(wb, sheet->m_name.toUtf8().constData());
        if (!ws) {
            workbook_close(wb);
            QFile::remove(path);
            throw SpreadsheetUnavailable(QStringLiteral("无法创建工作表：%1").arg(sheet->m_name));
        }
        for (const auto& [col, c] : sheet->m_columns) {
            CellFormat cf;
            cf.hAlign = c.hAlign;
            const double width = c.width < 0 ? LXW_DEF_COL_WIDTH : double(c.width);
            check(worksheet_set_column(ws, lxw_col_t(col - 1), lxw_col_t(col - 1), width,
                                       formats.get(cf)));
        }
        auto effective = [&](int row, int col, const Worksheet::Cell& c) {
            CellFormat f = c.format;
            if (f.hAlign == 0) f.hAlign = sheet->column(col).hAlign;
            (void)row;
            return f;
        };
        for (const Worksheet::Merge& m : sheet->m_merges) {
            const Worksheet::Cell* first = sheet->cell(m.r1, m.c1);
            const Worksheet::Cell none;
            const Worksheet::Cell& c = first ? *first : none;
            check(worksheet_merge_range(ws, lxw_row_t(m.r1 - 1), lxw_col_t(m.c1 - 1),
                                        lxw_row_t(m.r2 - 1), lxw_col_t(m.c2 - 1),
                                        Spreadsheet::cellText(c.value).constData(),
                                        formats.get(effective(m.r1, m.c1, c))));
        }
        auto inMergeHead = [&](int row, int col) {
            for (const Worksheet::Merge& m : sheet->m_merges)
                if (m.r1 == row && m.c1 == col) return true;
            return false;
        };
        for (const auto& [k, c] : sheet->m_cells) {
            const int row = int(k >> 32);
            const int col = int(k & 0xffffffffu);
            if (!sheet->m_merges.empty() && inMergeHead(row, col)) continue;
            lxw_format* fmt = formats.get(effective(row, col, c));
            if (c.hasValue && !c.value.isEmpty())
                check(worksheet_write_string(ws, lxw_row_t(row - 1), lxw_col_t(col - 1),
                                             Spreadsheet::cellText(c.value).constData(), fmt));
            else if (fmt)
                check(worksheet_write_blank(ws, lxw_row_t(row - 1), lxw_col_t(col - 1), fmt));
        }
    }
    const lxw_error closed = workbook_close(wb);
    if (closed != LXW_NO_ERROR || err != LXW_NO_ERROR) {
        QFile::remove(path);
        throw SpreadsheetUnavailable(
            QStringLiteral("无法写入电子表格文件 %1：%2")
                .arg(path, QString::fromUtf8(lxw_strerror(closed != LXW_NO_ERROR ? closed : err))));
    }
}

// ---- application ---------------------------------------------------------

SpreadsheetApp::SpreadsheetApp(const QString& folder) : m_folder(folder)
{
    if (!QDir().mkpath(folder) || !QFileInfo(folder).isWritable())
        throw SpreadsheetUnavailable(
            QStringLiteral("无法使用文件夹：%1").arg(QDir::toNativeSeparators(folder)));
}

SpreadsheetApp::~SpreadsheetApp() = default;

Workbook& SpreadsheetApp::addWorkbook()
{
    m_books.push_back(std::make_unique<Workbook>());
    return *m_books.back();
}

Workbook& SpreadsheetApp::workbooks(int index)
{
    if (index < 1 || index > int(m_books.size()))
        throw DbError(QStringLiteral("没有第 %1 个工作簿。").arg(index));
    return *m_books[size_t(index - 1)];
}

QString SpreadsheetApp::reserveFile() const
{
    QString base = m_baseName;
    static const QRegularExpression bad(QStringLiteral("[\\x00-\\x1f<>:\"/\\\\|?*]"));
    base.replace(bad, QStringLiteral("_"));
    base = base.trimmed();
    if (base.isEmpty() || base.startsWith(QLatin1Char('.'))) base = QStringLiteral("Book");
    base = base.left(100);
    // The name is claimed by creating the file exclusively, so a file another
    // export or program made meanwhile is never written over.
    for (int n = 1; n < 10000; ++n) {
        const QString suffix = n == 1 ? QString() : QStringLiteral("_%1").arg(n);
        const QString path = QDir(m_folder).filePath(base + suffix + QStringLiteral(".xlsx"));
        QFile f(path);
        if (f.open(QIODevice::WriteOnly | QIODevice::NewOnly)) return path;
        if (!QFileInfo::exists(path))
            throw SpreadsheetUnavailable(QStringLiteral("无法创建电子表格文件 %1：%2")
                                             .arg(QDir::toNativeSeparators(path), f.errorString()));
    }
    throw SpreadsheetUnavailable(
        QStringLiteral("文件夹 %1 中同名的文件太多。").arg(QDir::toNativeSeparators(m_folder)));
}

void SpreadsheetApp::setVisible(bool on)
{
    m_visible = on;
    if (!on) return;
    while (m_written < int(m_books.size())) {
        const QString path = reserveFile();
        try {
            m_books[size_t(m_written)]->saveAs(path);
        } catch (...) {
            QFile::remove(path); // the name claimed, nothing written
            throw;
        }
        ++m_written;
        m_files << path;
        if (opener) opener(path);
    }
}
