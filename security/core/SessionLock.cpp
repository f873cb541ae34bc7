#include "security/core/SessionLock.h"

#include "data/PasswordHash.h"
#include "data/SecurityTables.h"
#include "security/core/LoginGuard.h"

namespace SessionLock
{

Outcome tryOpen(Connection& c, const QString& number, const QString& password,
                const QString& knownHash, const QString& workstation, const QDateTime& now)
{
    QString hash = knownHash;
    bool reachable = true;
    try {
        const LoginGuard::Lock held = LoginGuard::lockOf(c, number, now);
        if (held.locked) return {Outcome::Locked, held.until};
        const OperatorPasswords::Stored s = OperatorPasswords::read(c, number);
        if (s.found) hash = s.hash;
    } catch (const std::exception&) {
        reachable = false;
    }
    if (PasswordHash::verify(hash, password) == PasswordHash::Check::Match)
        return {Outcome::Open, {}};
    if (!reachable) return {};
    try {
        const LoginGuard::Lock l = LoginGuard::failed(c, number, workstation, now);
        if (l.locked) return {Outcome::Locked, l.until};
    } catch (const std::exception&) {
    }
    return {};
}

} // namespace SessionLock
