#include "sheetimport/core/RegisterExport.h"

#include "data/Connection.h"
#include "data/DbError.h"
#include "data/Query.h"

#include <QFile>
#include <QFileInfo>
#include <xlsxwriter.h>

namespace RegisterExport
{

namespace
{

// One workbook being written; closed (and so written) by finish(), removed again
// when it fails.
class Book
{
public:
    explicit Book(const QString& path) : m_path(path)
    {
        m_book = workbook_new(QFile::encodeName(path).constData());
        if (!m_book) throw DbError(QStringLiteral("无法建立文件：%1").arg(path));
        m_sheet = workbook_add_worksheet(m_book, nullptr);
        m_text = workbook_add_format(m_book);
        format_set_num_format(m_text, "@");
        m_bold = workbook_add_format(m_book);
        format_set_bold(m_bold);
    }
    ~Book()
    {
        if (m_book) {
            workbook_close(m_book);
            QFile::remove(m_path);
        }
    }
    void text(int r, int c, const QString& v, bool bold = false)
    {
        worksheet_write_string(m_sheet, lxw_row_t(r), lxw_col_t(c), v.toUtf8().constData(),
                               bold ? m_bold : m_text);
    }
    void number(int r, int c, double v)
    {
        worksheet_write_number(m_sheet, lxw_row_t(r), lxw_col_t(c), v, nullptr);
    }
    void finish()
    {
        const lxw_error e = workbook_close(m_book);
        m_book = nullptr;
        if (e != LXW_NO_ERROR) {
            QFile::remove(m_path);
            throw DbError(QStringLiteral("无法写入文件 %1：%2")
                              .arg(m_path, QString::fromUtf8(lxw_strerror(e))));
        }
    }

private:
    QString m_path;
    lxw_workbook* m_book = nullptr;
    lxw_worksheet* m_sheet = nullptr;
    lxw_format* m_text = nullptr;
    lxw_format* m_bold = nullptr;
};

} // namespace

QStringList confidentialColumns(SheetImport::Register r)
{
    if (r == SheetImport::Register::Listings)
        return {QStringLiteral("房主姓名"), QStringLiteral("电话"),     QStringLiteral("手机"),
                QStringLiteral("最低价格"), QStringLiteral("产权证号"), QStringLiteral("备注")};
    return {QStringLiteral("客户姓名"), QStringLiteral("电话"), QStringLiteral("手机")};
}

QStringList columns(Connection& c, SheetImport::Register r, bool seesConfidential)
{
    const TableInfo* t = c.table(SheetImport::tableOf(r));
    if (!t) throw DbError(QStringLiteral("数据库中没有数据表“%1”。").arg(SheetImport::tableOf(r)));
    const QStringList hidden = seesConfidential ? QStringList() : confidentialColumns(r);
    QStringList out;
    for (const ColumnInfo& col : t->columns)
        if (!hidden.contains(col.name)) out << col.name;
    return out;
}

int write(const QString& path, const QStringList& columns, const Query& source,
          const std::function<void(int, int)>& progress)
{
    QVector<int> at;
    for (const QString& c : columns) {
        const int k = source.fieldIndex(c);
        if (k < 0) throw DbError(QStringLiteral("结果中没有字段“%1”。").arg(c));
        at << k;
    }
    Book book(path);
    for (int i = 0; i < columns.size(); ++i)
        book.text(0, i, columns[i], true);
    const int total = source.recordCount();
    for (int r = 0; r < total; ++r) {
        for (int i = 0; i < at.size(); ++i) {
            const QVariant v = source.valueAt(r, at[i]);
            if (v.isNull() || !v.isValid()) continue;
            if (v.typeId() == QMetaType::Double || v.typeId() == QMetaType::Int ||
                v.typeId() == QMetaType::LongLong)
                book.number(r + 1, i, v.toDouble());
            else
                book.text(r + 1, i, v.toString());
        }
        if (progress && r % 200 == 0) progress(r, total);
    }
    book.finish();
    return total;
}

void writeRows(const QString& path, const QStringList& header, const QList<QStringList>& rows)
{
    Book book(path);
    for (int i = 0; i < header.size(); ++i)
        book.text(0, i, header[i], true);
    for (int r = 0; r < rows.size(); ++r)
        for (int i = 0; i < rows[r].size(); ++i)
            if (!rows[r][i].isEmpty()) book.text(r + 1, i, rows[r][i]);
    book.finish();
}

} // namespace RegisterExport
