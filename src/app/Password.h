#pragma once

#include <QString>

// Operator passwords are stored as argon2id hashes (libsodium's string form,
// "$argon2id$..."). Every window that stores a password uses hashPassword.
QString hashPassword(const QString &plain);
bool isPasswordHash(const QString &stored);

// Checks a typed password against the stored value. A stored value that is not a
// hash is a plain-text password of an older database: it is compared exactly and,
// when it matches, *needsRehash is set so the caller replaces it by its hash.
bool verifyPassword(const QString &stored, const QString &typed, bool *needsRehash = nullptr);

// Test programs only: hashes with libsodium's least cost (still argon2id, still
// verified the same way), so that each new test shop does not pay for a full-strength
// hash. The program itself never calls this.
void useCheapPasswordHashesForTests();
