#pragma once
// Save checks of the staff register and the statement that looks for a staff
// number already in use (over the whole table, the hidden "admin" row included).
#include <QString>
#include <QStringList>
#include <functional>

class Query;

namespace Staff
{

// The register's row set: every staff row but the administrator's own.
QStringList listSql();

enum class Failure { None, NumberEmpty, NameEmpty, Duplicate };

// Checks a row before it is saved. numberBefore is the trimmed number the row had
// when editing began (empty for a new row); numberTaken is asked only when the
// trimmed number differs from it.
Failure check(const QString& number, const QString& name, const QString& numberBefore,
              const std::function<bool(const QString&)>& numberTaken);
QString message(Failure f);

// "select * from 操作员档案 " / "where 员工编号='...'", the number quoted literally.
QStringList duplicateSql(const QString& trimmedNumber);
// Runs the duplicate statement on q (closed again afterwards); true when a row exists.
bool numberTaken(Query& q, const QString& trimmedNumber);

} // namespace Staff
