#include "data/engine/Engine.h"

#include "data/DbLocation.h"
#include "data/engine/PgEngine.h"
#include "data/engine/SqlCipherEngine.h"

namespace engine
{

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
