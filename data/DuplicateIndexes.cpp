#include "data/DuplicateIndexes.h"

namespace Schema
{

namespace
{

const char* const kDuplicateIndexes[] = {
    "CREATE INDEX %1房屋信息_面积 ON 房屋信息(房屋面积)",
    "CREATE INDEX %1房屋信息_电话 ON 房屋信息(电话)",
    "CREATE INDEX %1房屋信息_手机 ON 房屋信息(手机)",
    "CREATE INDEX %1客户信息_电话 ON 客户信息(电话)",
    "CREATE INDEX %1客户信息_手机 ON 客户信息(手机)",
};

} // namespace

void createDuplicateIndexes(Connection& c, bool ifMissing)
{
    for (const char* s : kDuplicateIndexes)
        c.run(QString::fromUtf8(s).arg(ifMissing ? QStringLiteral("IF NOT EXISTS ") : QString()));
}

} // namespace Schema
