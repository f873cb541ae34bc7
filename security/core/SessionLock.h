#pragma once
// Opening the idle lock: only the current operator's password opens it. Wrong
// passwords count towards the lock of his number as at the login, so a
// workstation left alone cannot be tried without limit either.
#include <QDateTime>
#include <QString>

class Connection;

namespace SessionLock
{

struct Outcome {
    enum Result { Open, Wrong, Locked } result = Wrong;
    QDateTime until; // Locked
};

// `knownHash` is the hash the login read; it decides when the database cannot
// be reached (nothing is recorded then).
Outcome tryOpen(Connection& c, const QString& number, const QString& password,
                const QString& knownHash, const QString& workstation, const QDateTime& now);

} // namespace SessionLock
