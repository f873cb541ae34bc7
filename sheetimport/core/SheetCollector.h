#pragma once
// What the readers of every format share: collecting the cells of one sheet within
// the bounds, filling merged areas, and the refusal texts.
#include "sheetimport/core/SheetReader.h"

#include <QHash>
#include <QVector>

namespace SheetReader
{

[[noreturn]] void refuse(const QString& text);

// The cells of one sheet as they are read, by row and column (both from 0).
class Collector
{
public:
    explicit Collector(const Limits& limits) : m_limits(limits) {}
    // A cell; empty texts are dropped. Throws DbError past a bound.
    void set(int row, int col, const QString& text);
    // A merged area (inclusive bounds): its other cells show the first cell's value.
    void merge(int row1, int col1, int row2, int col2);
    // The rows holding anything, in sheet order.
    void finish(Table& into);

private:
    const Limits& m_limits;
    QHash<int, QStringList> m_rows;
    qint64 m_chars = 0;
    struct Merge {
        int r1, c1, r2, c2;
    };
    QVector<Merge> m_merges;
};

QString columnName(int col); // 0 → A, 26 → AA
QString cellName(int row, int col);

} // namespace SheetReader
