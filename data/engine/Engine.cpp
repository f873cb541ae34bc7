#include "data/engine/Engine.h"

#include "data/DbLocation.h"
#include "data/engine/PgEngine.h"
#include "data/engine/SqlCipherEngine.h"

namespace engine
{

QString busyText()
{
    return QStringLiteral("数据库正被其他工作站写入（另一个工作站正在导入或保存），等了 %1 秒"
                          "仍未完成，这一步没有完成，请稍后再试。")
        .arg(kBusyTimeoutMs / 1000);
}

Flavor flavorOf(const QString& location)
{
    return DbLocation::isServer(location) ? Flavor::Postgres : Flavor::SqlCipher;
}

std::unique_ptr<Engine> makeEngine(const QString& location)
{
    if (flavorOf(location) == Flavor::Postgres) return std::make_unique<PgEngine>();
    return std::make_unique<SqlCipherEngine>();
}

} // namespace engine
