#include "data/PasswordHash.h"

#include "data/DbError.h"

#include <QRandomGenerator>
#include <QRegularExpression>
#include <argon2.h>

namespace PasswordHash
{

namespace
{

constexpr unsigned kSaltBytes = 16;
constexpr unsigned kHashBytes = 32;
// What a stored hash may ask for before it is taken as damaged: far above the
// cost ever chosen, far below what would exhaust a workstation.
constexpr unsigned kMaxMemoryKiB = 1u << 20; // 1 GiB
constexpr unsigned kMaxPasses = 64;
constexpr unsigned kMaxLanes = 16;

struct Parsed {
    bool ok = false;
    Params p{};
};

Parsed parse(const QString& encoded)
{
    static const QRegularExpression re(QStringLiteral(
        "^\\$argon2id\\$v=19\\$m=(\\d{1,10}),t=(\\d{1,10}),p=(\\d{1,3})\\$[A-Za-z0-9+/]{11,}"
        "\\$[A-Za-z0-9+/]{22,}$"));
    const auto m = re.match(encoded);
    if (!m.hasMatch()) return {};
    const qulonglong mem = m.captured(1).toULongLong(), t = m.captured(2).toULongLong(),
                     lanes = m.captured(3).toULongLong();
    if (mem > kMaxMemoryKiB || t < 1 || t > kMaxPasses || lanes < 1 || lanes > kMaxLanes ||
        mem < 8 * lanes)
        return {};
    return {true, {unsigned(mem), unsigned(t), unsigned(lanes)}};
}

} // namespace

Params current()
{
    // 32 MiB and two passes on one lane (above the usual minimum of 19 MiB):
    // bench_login measures a whole login attempt at about 0.22 s on a two-core
    // machine busy with other work, inside the 0.3 s a login may add; 64 MiB took
    // 0.4 s there. Each guess costs an attacker as much.
    return {32 * 1024, 2, 1};
}

QString make(const QString& password)
{
    const QByteArray pw = password.toUtf8();
    quint32 salt[kSaltBytes / 4];
    QRandomGenerator::system()->fillRange(salt);
    const Params p = current();
    const size_t len =
        argon2_encodedlen(p.passes, p.memoryKiB, p.lanes, kSaltBytes, kHashBytes, Argon2_id);
    QByteArray out(int(len), '\0');
    const int rc =
        argon2id_hash_encoded(p.passes, p.memoryKiB, p.lanes, pw.constData(), size_t(pw.size()),
                              salt, kSaltBytes, kHashBytes, out.data(), len);
    if (rc != ARGON2_OK)
        throw DbError(QStringLiteral("无法计算密码的散列值：%1")
                          .arg(QString::fromLatin1(argon2_error_message(rc))));
    return QString::fromLatin1(out.constData());
}

Check verify(const QString& encoded, const QString& password)
{
    if (!parse(encoded).ok) return Check::Damaged;
    const QByteArray enc = encoded.toLatin1(), pw = password.toUtf8();
    switch (argon2id_verify(enc.constData(), pw.constData(), size_t(pw.size()))) {
    case ARGON2_OK:
        return Check::Match;
    case ARGON2_VERIFY_MISMATCH:
        return Check::Mismatch;
    default:
        return Check::Damaged;
    }
}

bool isOutdated(const QString& encoded)
{
    const Parsed s = parse(encoded);
    const Params c = current();
    return s.ok && (s.p.memoryKiB < c.memoryKiB || s.p.passes < c.passes);
}

} // namespace PasswordHash
