#include "session/PubVars.h"

#include "data/Connection.h"

GTMYhxx CurUser;
QString CZRQ;
QString QSRQ;
QString GSDM;

void handOverLogin(Connection& main)
{
    QString workstation = CurUser.JSJM;
    if (!CurUser.IPDZ.isEmpty())
        workstation += QStringLiteral("[") + CurUser.IPDZ + QStringLiteral("]");
    main.setActor({CurUser.YGBH, workstation});
}
