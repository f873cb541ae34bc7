#pragma once
// The four lookup dictionaries maintained by the dictionary window: their tables,
// entry columns and messages, the save checks, and the duplicate statement.
#include <QList>
#include <QString>
#include <QStringList>
#include <functional>

class Query;

namespace Dict
{

struct Info {
    QString table;  // e.g. 户型字典
    QString column; // e.g. 户型
    QString tab;    // tab caption, e.g. 户型
};

// 户型, 楼层, 权属, 位置, in tab order.
const QList<Info>& maintained();

enum class Failure { None, Empty, Duplicate };

// Checks an entry before it is saved. before is the trimmed entry when editing
// began (empty for a new entry); exists is asked only when the trimmed entry differs.
Failure check(const QString& entry, const QString& before,
              const std::function<bool(const QString&)>& exists);
QString message(const Info& d, Failure f);

// "select * from T " / "where C= \"entry\"", the entry quoted literally.
QStringList duplicateSql(const Info& d, const QString& trimmedEntry);
// Runs the duplicate statement on q (closed again afterwards); true when a row exists.
bool entryExists(Query& q, const Info& d, const QString& trimmedEntry);

} // namespace Dict
