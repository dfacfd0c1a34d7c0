#include "app/Password.h"

#include <sodium.h>

#include <stdexcept>

namespace {

void ensureSodium()
{
    static const bool ok = sodium_init() >= 0;
    if (!ok) throw std::runtime_error("libsodium could not be initialised");
}

bool g_cheapHashes = false;

} // namespace

void useCheapPasswordHashesForTests() { g_cheapHashes = true; }

QString hashPassword(const QString &plain)
{
    ensureSodium();
    const QByteArray p = plain.toUtf8();
    char out[crypto_pwhash_STRBYTES];
    const auto ops = g_cheapHashes ? crypto_pwhash_OPSLIMIT_MIN : crypto_pwhash_OPSLIMIT_INTERACTIVE;
    const auto mem = g_cheapHashes ? crypto_pwhash_MEMLIMIT_MIN : crypto_pwhash_MEMLIMIT_INTERACTIVE;
    if (crypto_pwhash_str(out, p.constData(), p.size(), ops, mem) != 0)
        throw std::runtime_error("out of memory while hashing a password");
    return QString::fromLatin1(out);
}

bool isPasswordHash(const QString &stored) { return stored.startsWith(QStringLiteral("$argon2id$")); }

bool verifyPassword(const QString &stored, const QString &typed, bool *needsRehash)
{
    if (needsRehash) *needsRehash = false;
    if (isPasswordHash(stored)) {
        ensureSodium();
        const QByteArray h = stored.toLatin1();
        const QByteArray p = typed.toUtf8();
        return crypto_pwhash_str_verify(h.constData(), p.constData(), p.size()) == 0;
    }
    // A plain-text password of an older database: exact, case-sensitive comparison.
    const bool ok = stored == typed;
    if (ok && needsRehash) *needsRehash = true;
    return ok;
}
