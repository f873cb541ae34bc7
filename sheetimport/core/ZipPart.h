#pragma once
// One XML part of a zipped workbook (.xlsx, .ods), read as it is unpacked: the
// bytes actually unpacked are counted against the bound, whatever the zip's
// directory claims, so a small file that unpacks to gigabytes is refused early.
#include "sheetimport/core/SheetReader.h"

#include <QXmlStreamReader>

struct zip;

namespace SheetReader
{

class ZipArchive
{
public:
    explicit ZipArchive(const QString& path);
    ~ZipArchive();
    ZipArchive(const ZipArchive&) = delete;
    ZipArchive& operator=(const ZipArchive&) = delete;
    bool has(const QString& name) const;
    struct zip* handle() const { return m_zip; }

private:
    struct zip* m_zip = nullptr;
};

class XmlPart
{
public:
    // A missing part gives no tokens.
    XmlPart(ZipArchive& zip, const QString& name, const Options& o);
    ~XmlPart();
    XmlPart(const XmlPart&) = delete;
    XmlPart& operator=(const XmlPart&) = delete;
    // The next token; false at the end of the part.
    bool next();
    QXmlStreamReader xml;

private:
    void fill();
    const Options& m_o;
    QString m_name;
    void* m_file = nullptr;
    qint64 m_done = 0, m_declared = 0;
    bool m_eof = true;
    QByteArray m_buf;
};

} // namespace SheetReader
