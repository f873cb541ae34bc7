#pragma once
// What the main database keeps of the changes of listings and customers: a row of
// 修改记录 for each insert, import, deletion, restore and erasure, and one for each
// column a save changed (its old and new value); a deleted row goes whole into the
// recycle bin (回收站). Every one of them is written inside the transaction of the
// change itself, by the row set's post and delete, the import and the bin, so a
// change whose record cannot be written is not made either.
//
// Who and where come from the connection's actor (handed over at login).
#include "data/Connection.h"

#include <QList>
#include <QVariant>
#include <QVector>
#include <memory>

class BulkInsert;

namespace RecordLog
{

// The events as 操作 holds them.
namespace Event
{
inline const QString Inserted = QStringLiteral("新增");
inline const QString Changed = QStringLiteral("修改");
inline const QString Invalidated = QStringLiteral("作废");     // 类型 有效 → 无效
inline const QString Revalidated = QStringLiteral("重新生效"); // 类型 无效 → 有效
inline const QString Deleted = QStringLiteral("删除");
inline const QString Restored = QStringLiteral("恢复");
inline const QString Erased = QStringLiteral("彻底删除");
inline const QString Imported = QStringLiteral("导入");
} // namespace Event

// The tables whose changes are kept: 房屋信息 and 客户信息.
bool isKept(const QString& table);
// The register a kept table holds, as windows name it: 房源 or 客户.
QString registerOf(const QString& table);
// Whether writes to `table` on `c` are kept: a kept table of a main database on a
// connection that keeps records.
bool keeps(const Connection& c, const QString& table);

// The time as the record tables hold it: "yyyy-MM-dd HH:mm:ss", the workstation's clock.
QString now();
// A value as the history holds it: a text as it is, a number in full, null as null.
QVariant historyText(const QVariant& v);

// The event one changed column stands for: 作废 or 重新生效 when the validity turns,
// 修改 otherwise.
QString eventOf(const QString& column, const QVariant& before, const QVariant& after);

struct ColumnChange {
    QString column;
    QVariant before, after;
};

// One event without a column (新增, 删除, 恢复, 彻底删除, or 导入 with the file in 新值).
void event(Connection& c, const QString& table, const QString& number, const QString& what,
           const QVariant& detail = {});
// The columns one save changed, one row each.
void changed(Connection& c, const QString& table, const QString& number,
             const QList<ColumnChange>& changes);
// The whole stored row into the bin, and its 删除 event.
void deleted(Connection& c, const QString& table, const QString& number,
             const QList<ColumnInfo>& columns, const QVector<QVariant>& values);

// One row of a record's history as it is shown: the operator's name where the
// staff register still has the number.
struct Line {
    QString time, operatorNumber, operatorName, workstation, event, column;
    QVariant before, after;
};
// The history of one listing or customer, the latest event first.
QList<Line> history(Connection& c, const QString& table, const QString& number);

// The 导入 events of one import, written in batches like the rows they stand for.
class Imports
{
public:
    Imports(Connection& c, const QString& table, const QString& sourceFile);
    ~Imports();
    void add(const QString& number);
    void finish();

private:
    Connection& m_c;
    QVector<QVariant> m_row;
    std::unique_ptr<BulkInsert> m_insert;
};

} // namespace RecordLog
