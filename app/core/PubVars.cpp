#include "app/core/PubVars.h"

GTMYhxx CurUser;
QString CZRQ;
QString QSRQ;
QString GSDM;
