#include "sheetimport/core/SheetCollector.h"

#include "data/DbError.h"

#include <algorithm>

namespace SheetReader
{

void refuse(const QString& text)
{
    throw DbError(text);
}

QString columnName(int col)
{
    QString s;
    for (int n = col + 1; n > 0; n = (n - 1) / 26)
        s.prepend(QChar(u'A' + (n - 1) % 26));
    return s;
}

QString cellName(int row, int col)
{
    return columnName(col) + QString::number(row + 1);
}

void Collector::set(int row, int col, const QString& text)
{
    if (text.isEmpty()) return;
    if (text.size() > m_limits.cellChars)
        refuse(QStringLiteral("单元格 %1 的内容超过 %2 个字符，这不像房源或客户资料，没有导入。")
                   .arg(cellName(row, col))
                   .arg(m_limits.cellChars));
    if (col >= m_limits.columns)
        refuse(QStringLiteral("表格在第 %1 列（%2）还有内容，超过了最多 %3 列，没有导入。")
                   .arg(col + 1)
                   .arg(columnName(col))
                   .arg(m_limits.columns));
    auto it = m_rows.find(row);
    if (it == m_rows.end()) {
        if (m_rows.size() >= m_limits.rows)
            refuse(QStringLiteral("表格超过 %1 行，请分成几个文件导入。").arg(m_limits.rows));
        it = m_rows.insert(row, {});
    }
    m_chars += text.size();
    if (m_chars > m_limits.sheetChars)
        refuse(QStringLiteral("表格的内容太多（超过 %1 个字符），请分成几个文件导入。")
                   .arg(m_limits.sheetChars));
    QStringList& cells = *it;
    while (cells.size() <= col)
        cells.append(QString());
    cells[col] = text;
}

void Collector::merge(int row1, int col1, int row2, int col2)
{
    if (row2 < row1 || col2 < col1 || (row1 == row2 && col1 == col2)) return;
    m_merges.append({row1, col1, row2, col2});
}

void Collector::finish(Table& into)
{
    for (const Merge& m : std::as_const(m_merges)) {
        const auto first = m_rows.constFind(m.r1);
        if (first == m_rows.constEnd() || first->size() <= m.c1) continue;
        const QString value = first->at(m.c1);
        if (value.isEmpty()) continue;
        // A merge over a whole column or row would ask for a million cells.
        const int lastRow = std::min(m.r2, m.r1 + m_limits.rows);
        const int lastCol = std::min(m.c2, m_limits.columns - 1);
        for (int r = m.r1; r <= lastRow; ++r) {
            if (!m_rows.contains(r) && r != m.r1) {
                // Only rows that hold something else get the merged value: a title
                // merged down over blank rows does not make rows of its own.
                continue;
            }
            for (int c = m.c1; c <= lastCol; ++c) {
                if (r == m.r1 && c == m.c1) continue;
                QStringList& cells = m_rows[r];
                if (cells.size() > c && !cells[c].isEmpty()) continue;
                set(r, c, value);
            }
        }
    }
    QList<int> keys = m_rows.keys();
    std::sort(keys.begin(), keys.end());
    into.rows.reserve(keys.size());
    for (int r : keys) {
        QStringList cells = m_rows.take(r);
        while (!cells.isEmpty() && cells.last().trimmed().isEmpty())
            cells.removeLast();
        if (cells.isEmpty()) continue;
        into.rows.append(cells);
        into.rowNumbers.append(r + 1);
    }
}

} // namespace SheetReader
