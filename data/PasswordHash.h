#pragma once
// Operator passwords are kept only as Argon2id hashes. The encoded form carries
// the algorithm, its parameters and the salt ("$argon2id$v=19$m=…,t=…,p=…$salt$hash"),
// so the parameters can be raised later while older hashes still verify.
#include <QString>

namespace PasswordHash
{

// The cost of a new hash: memory in KiB, passes, lanes.
struct Params {
    unsigned memoryKiB;
    unsigned passes;
    unsigned lanes;
};
Params current();

// A new hash of `password` (its UTF-8 bytes) with a fresh random salt.
QString make(const QString& password);

enum class Check { Match, Mismatch, Damaged };

// Compares `password` with a stored hash. A hash that is not a well-formed
// Argon2id string, or one whose parameters would take absurd memory or time (a
// hash edited by hand), is Damaged and never run.
Check verify(const QString& encoded, const QString& password);

// Whether a (matching) hash was made with weaker parameters than current().
bool isOutdated(const QString& encoded);

} // namespace PasswordHash
