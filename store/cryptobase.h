#pragma once
// The few uses of libsodium that the store shares.
#include <QString>

namespace cryptobase {
// Starts libsodium once; throws EngineError when it cannot.
void ensureReady();
// n random bytes as lower-case hex.
QString randomHex(int n);
// The table password is kept only as a digest: it is a gate, not a secret.
QString tablePasswordDigest(const QString& password);
}  // namespace cryptobase
