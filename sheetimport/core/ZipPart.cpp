#include "sheetimport/core/ZipPart.h"

#include "sheetimport/core/SheetCollector.h"

#include <QFile>
#include <zip.h>

namespace SheetReader
{

namespace
{
constexpr int kChunk = 256 * 1024;
}

ZipArchive::ZipArchive(const QString& path)
{
    int err = 0;
    m_zip = zip_open(QFile::encodeName(path).constData(), ZIP_RDONLY, &err);
    if (!m_zip) refuse(QStringLiteral("文件已损坏或不是工作簿（无法按压缩包读取），没有导入。"));
}

ZipArchive::~ZipArchive()
{
    if (m_zip) zip_discard(m_zip);
}

bool ZipArchive::has(const QString& name) const
{
    return zip_name_locate(m_zip, name.toUtf8().constData(), 0) >= 0;
}

XmlPart::XmlPart(ZipArchive& zip, const QString& name, const Options& o) : m_o(o), m_name(name)
{
    const zip_int64_t index = zip_name_locate(zip.handle(), name.toUtf8().constData(), 0);
    if (index < 0) return;
    zip_stat_t st;
    zip_stat_init(&st);
    if (zip_stat_index(zip.handle(), zip_uint64_t(index), 0, &st) == 0 &&
        (st.valid & ZIP_STAT_SIZE))
        m_declared = qint64(st.size);
    if ((st.valid & ZIP_STAT_ENCRYPTION_METHOD) && st.encryption_method != ZIP_EM_NONE)
        refuse(
            QStringLiteral("这个工作簿设有密码，无法读取。请在表格程序中去掉密码另存后再导入。"));
    m_file = zip_fopen_index(zip.handle(), zip_uint64_t(index), 0);
    if (!m_file) {
        const int code = zip_error_code_zip(zip_get_error(zip.handle()));
        if (code == ZIP_ER_NOPASSWD || code == ZIP_ER_WRONGPASSWD)
            refuse(QStringLiteral(
                "这个工作簿设有密码，无法读取。请在表格程序中去掉密码另存后再导入。"));
        refuse(QStringLiteral("工作簿已损坏（无法读取其中的“%1”），没有导入。").arg(name));
    }
    m_eof = false;
    m_buf.resize(kChunk);
}

XmlPart::~XmlPart()
{
    if (m_file) zip_fclose(static_cast<zip_file_t*>(m_file));
}

void XmlPart::fill()
{
    const zip_int64_t n = zip_fread(static_cast<zip_file_t*>(m_file), m_buf.data(), kChunk);
    if (n < 0) refuse(QStringLiteral("工作簿已损坏（“%1”无法解压），没有导入。").arg(m_name));
    if (n == 0) {
        m_eof = true;
        return;
    }
    m_done += n;
    if (m_done > m_o.limits.unpackedBytes)
        refuse(
            QStringLiteral(
                "工作簿中的“%1”解压后超过 %2 MB，这不是正常的表格（文件可能已损坏或被恶意构造），"
                "没有导入。")
                .arg(m_name)
                .arg(m_o.limits.unpackedBytes >> 20));
    xml.addData(QByteArray(m_buf.constData(), int(n)));
    if (m_o.progress && !m_o.progress(m_done, std::max(m_declared, m_done))) throw Cancelled();
}

bool XmlPart::next()
{
    if (!m_file) return false;
    for (;;) {
        const QXmlStreamReader::TokenType t = xml.readNext();
        if (t == QXmlStreamReader::EndDocument) return false;
        if (t != QXmlStreamReader::Invalid) return true;
        if (xml.error() == QXmlStreamReader::PrematureEndOfDocumentError && !m_eof) {
            fill();
            continue;
        }
        refuse(
            QStringLiteral("工作簿已损坏（“%1”的内容不完整或格式错误），没有导入。").arg(m_name));
    }
}

} // namespace SheetReader
