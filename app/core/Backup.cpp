#include "app/core/Backup.h"

#include "data/DatabaseCopy.h"

namespace Backup
{

QString targetName(const QString& chosen)
{
    return chosen + QStringLiteral(".mdb");
}

bool copyDatabase(const QString& source, const QString& target, const QString& password,
                  QString* why)
{
    return DatabaseCopy::backup(source, target, password, why);
}

} // namespace Backup
