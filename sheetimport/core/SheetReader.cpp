#include "sheetimport/core/SheetReader.h"

#include "data/DbError.h"
#include "sheetimport/core/SheetCollector.h"
#include "sheetimport/core/SheetFormats.h"

#include <QDate>
#include <QFile>
#include <QFileInfo>
#include <QStringDecoder>

#include <cerrno>
#include <cmath>
#include <iconv.h>

namespace SheetReader
{

namespace
{

QByteArray head(const QString& path, int n)
{
    QFile f(path);
    if (!f.open(QIODevice::ReadOnly)) return {};
    return f.read(n);
}

// Whether the bytes decode as GB18030 (which covers GBK and GB2312) without a fault;
// the text when they do.
bool fromGb18030(const QByteArray& bytes, QString& out)
{
    iconv_t cd = iconv_open("UTF-8", "GB18030");
    if (cd == reinterpret_cast<iconv_t>(-1)) return false;
    QByteArray utf8;
    utf8.resize(bytes.size() * 2 + 16);
    char* in = const_cast<char*>(bytes.constData());
    size_t inLeft = size_t(bytes.size());
    char* o = utf8.data();
    size_t outLeft = size_t(utf8.size());
    const size_t r = iconv(cd, &in, &inLeft, &o, &outLeft);
    iconv_close(cd);
    if (r == size_t(-1) || inLeft != 0) return false;
    utf8.resize(utf8.size() - int(outLeft));
    out = QString::fromUtf8(utf8);
    return true;
}

bool strictDecode(QStringDecoder& d, const QByteArray& bytes, QString& out)
{
    out = d.decode(bytes);
    return !d.hasError();
}

// Calls `cell` for every field of a decoded text table.
template <typename F> void parseText(const QString& text, QChar delim, F&& cell)
{
    int row = 0, col = 0, line = 1;
    QString field;
    bool quoted = false, wasQuoted = false;
    int quoteLine = 0;
    const int n = text.size();
    auto endField = [&] {
        cell(row, col, field);
        field.clear();
        wasQuoted = false;
        ++col;
    };
    for (int i = 0; i < n; ++i) {
        const QChar c = text[i];
        if (quoted) {
            if (c == u'"') {
                if (i + 1 < n && text[i + 1] == u'"') {
                    field += u'"';
                    ++i;
                } else {
                    quoted = false;
                }
            } else {
                if (c == u'\n') ++line;
                field += c;
            }
            continue;
        }
        if (c == u'"' && field.isEmpty() && !wasQuoted) {
            quoted = wasQuoted = true;
            quoteLine = line;
        } else if (c == delim) {
            endField();
        } else if (c == u'\r' || c == u'\n') {
            if (c == u'\r' && i + 1 < n && text[i + 1] == u'\n') ++i;
            endField();
            ++row;
            ++line;
            col = 0;
        } else {
            field += c;
        }
    }
    if (quoted)
        refuse(
            QStringLiteral("第 %1 行有一个没有配对的引号（\"），从那里到文件末尾都成了一个单元格。"
                           "请检查这一行后再导入。")
                .arg(quoteLine));
    if (!field.isEmpty() || col > 0) endField();
}

QChar delimiterOf(const QString& text)
{
    int counts[3] = {0, 0, 0};
    const QChar cands[3] = {u',', u';', u'\t'};
    bool quoted = false;
    int lines = 0;
    for (int i = 0; i < text.size() && lines < 20; ++i) {
        const QChar c = text[i];
        if (c == u'"') quoted = !quoted;
        if (quoted) continue;
        if (c == u'\n') ++lines;
        for (int k = 0; k < 3; ++k)
            if (c == cands[k]) ++counts[k];
    }
    int best = 0;
    for (int k = 1; k < 3; ++k)
        if (counts[k] > counts[best]) best = k;
    return cands[best];
}

Table readText(const QString& path, const Options& o)
{
    QFile f(path);
    if (!f.open(QIODevice::ReadOnly))
        refuse(QStringLiteral("无法打开文件：%1").arg(QFileInfo(path).fileName()));
    const QByteArray bytes = f.readAll();
    if (o.progress && !o.progress(0, 2)) throw Cancelled();
    const QString text = decodeText(bytes);
    if (o.progress && !o.progress(1, 2)) throw Cancelled();
    Table t;
    t.sheet = QFileInfo(path).completeBaseName();
    t.sheets << t.sheet;
    Collector rows(o.limits);
    int lastRow = -1;
    parseText(text, delimiterOf(text), [&](int r, int c, const QString& v) {
        if (r != lastRow && o.progress && r % 5000 == 0 && !o.progress(1, 2)) throw Cancelled();
        lastRow = r;
        rows.set(r, c, v);
    });
    rows.finish(t);
    return t;
}

} // namespace

Kind kindOf(const QString& path)
{
    const QByteArray h = head(path, 8);
    if (h.startsWith("PK\x03\x04")) {
        // An OpenDocument file names its kind in its first entry, uncompressed.
        const QByteArray more = head(path, 200);
        if (more.contains("application/vnd.oasis.opendocument")) return Kind::Ods;
        return Kind::Xlsx;
    }
    if (h.startsWith(QByteArray::fromHex("D0CF11E0A1B11AE1"))) {
        // A workbook saved with a password is a compound file that holds the
        // encrypted package instead of a workbook.
        QFile f(path);
        if (f.open(QIODevice::ReadOnly)) {
            const QByteArray all = f.read(1 << 20);
            const QString marker = QStringLiteral("EncryptedPackage");
            const QByteArray utf16(reinterpret_cast<const char*>(marker.utf16()),
                                   marker.size() * 2);
            if (all.contains(utf16)) return Kind::EncryptedOffice;
        }
        return Kind::Xls;
    }
    const QString suffix = QFileInfo(path).suffix().toLower();
    if (suffix == QLatin1String("csv") || suffix == QLatin1String("txt")) return Kind::Text;
    return Kind::Unknown;
}

Table read(const QString& path, const Options& o)
{
    const QFileInfo info(path);
    if (!info.exists() || !info.isFile())
        refuse(QStringLiteral("找不到文件：%1").arg(info.fileName()));
    if (info.size() > o.limits.fileBytes)
        refuse(QStringLiteral("文件太大（%1 MB），最多可导入 %2 MB 的表格。")
                   .arg(info.size() >> 20)
                   .arg(o.limits.fileBytes >> 20));
    if (info.size() == 0) refuse(QStringLiteral("文件是空的：%1").arg(info.fileName()));
    Table t;
    switch (kindOf(path)) {
    case Kind::Xlsx:
        t = readXlsx(path, o);
        break;
    case Kind::Ods:
        t = readOds(path, o);
        break;
    case Kind::Xls:
        t = readXls(path, o);
        break;
    case Kind::Text:
        t = readText(path, o);
        break;
    case Kind::EncryptedOffice:
        refuse(QStringLiteral(
            "这个工作簿设有打开密码，无法读取。请在表格程序中去掉密码另存后再导入。"));
    case Kind::Unknown:
        refuse(QStringLiteral("“%1”不是可以导入的表格文件。可以导入 .xlsx、.ods、.xls 工作簿"
                              "和 .csv、.txt 文本表格。")
                   .arg(info.fileName()));
    }
    if (t.rows.isEmpty()) refuse(QStringLiteral("工作表“%1”中没有数据。").arg(t.sheet));
    return t;
}

QString numberText(double v)
{
    if (!std::isfinite(v)) return {};
    if (v == std::floor(v) && std::fabs(v) < 1e15) return QString::number(qint64(v));
    return QString::number(v, 'g', 15);
}

QString serialDate(double serial, bool from1904)
{
    if (!std::isfinite(serial) || serial < 1 || serial > 2958465) return {};
    const QDate base = from1904 ? QDate(1904, 1, 1) : QDate(1899, 12, 30);
    return base.addDays(qint64(std::floor(serial))).toString(QStringLiteral("yyyy-MM-dd"));
}

QString decodeText(const QByteArray& bytes)
{
    QString out;
    if (bytes.startsWith("\xEF\xBB\xBF")) {
        QStringDecoder d(QStringDecoder::Utf8);
        if (strictDecode(d, bytes.mid(3), out)) return out;
        refuse(QStringLiteral("文件标明是 UTF-8 编码，但其中有不是 UTF-8 的字节，无法读取。"));
    }
    if (bytes.startsWith("\xFF\xFE") || bytes.startsWith("\xFE\xFF")) {
        QStringDecoder d(bytes.startsWith("\xFF\xFE") ? QStringDecoder::Utf16LE
                                                      : QStringDecoder::Utf16BE);
        if (strictDecode(d, bytes.mid(2), out)) return out;
        refuse(QStringLiteral("文件标明是 UTF-16 编码，但内容不完整，无法读取。"));
    }
    if (bytes.contains('\0'))
        refuse(QStringLiteral("文件不是文本表格（其中有二进制数据），无法导入。"));
    QStringDecoder utf8(QStringDecoder::Utf8);
    if (strictDecode(utf8, bytes, out)) return out;
    if (fromGb18030(bytes, out)) return out;
    refuse(QStringLiteral("无法识别文件的文字编码（既不是 UTF-8，也不是 GBK/GB18030）。"
                          "请在表格程序中把它另存为 UTF-8 编码的 CSV 文件后再导入。"));
}

QList<QStringList> splitText(const QString& text, const Limits& limits)
{
    Collector rows(limits);
    parseText(text, delimiterOf(text), [&](int r, int c, const QString& v) { rows.set(r, c, v); });
    Table t;
    rows.finish(t);
    return t.rows;
}

} // namespace SheetReader
