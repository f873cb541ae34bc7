#pragma once
// The login values every window reads: the logged-in operator and workstation,
// the operation date, the first day of the operation month and the company code.
#include <QString>

struct GTMYhxx {
    QString YGBH; // operator number as stored
    QString YGMM; // password
    QString YGXM; // operator name
    QString GNZ;  // role
    QString JSJM; // computer name
    QString IPDZ; // first IPv4 address
};

class Connection;

extern GTMYhxx CurUser;
extern QString CZRQ; // operation date YYMMDD, fixed at login
extern QString QSRQ; // first day of the operation month, YYMM + "01"
extern QString GSDM; // company code

// Hands who is logged in (CurUser's number) on which workstation (computer name
// and address) to the main database's connection, which writes them with every
// change of a listing or customer it keeps.
void handOverLogin(Connection& main);

namespace Roles
{
inline const QString Ordinary = QStringLiteral("普通操作员");
inline const QString Senior = QStringLiteral("高级操作员");
inline const QString Admin = QStringLiteral("系统管理员");
inline const QString None = QStringLiteral("#");
} // namespace Roles
