#pragma once
// The owner record of a daybook: the user name, "?", and the daybook's data
// key wrapped under a key derived from the password (never the password
// itself). Unwrapping the key is the password check.
#include "store/datakey.h"

#include <QString>
#include <memory>
#include <optional>

namespace credentials {

// Argon2id limits. Each owner record keeps its own, so they can be raised
// later without locking out daybooks made before.
struct KdfLimits {
    quint64 ops = 0;
    quint64 mem = 0;  // bytes
    bool operator==(const KdfLimits&) const = default;
};
// What the program uses for new keys: about a third of a second per login
// on the machine it was tuned on.
KdfLimits programLimits();
// The limits new and re-wrapped keys get in this process.
KdfLimits newKeyLimits();
// Tests and benchmarks make their daybooks cheap to open with this; the
// program never calls it. Nothing (the default) means programLimits().
void setLimitsForTesting(std::optional<KdfLimits> limits);
KdfLimits cheapestLimits();

struct Owner {
    QString config;
    std::shared_ptr<DataKey> key;
};
// The owner record of a new daybook, with its fresh data key.
Owner makeConfig(const QString& user, const QString& password);
// The owner record that holds this key under a new password.
QString wrapConfig(const QString& user, const QString& password, const DataKey& key,
                   const KdfLimits& limits);

// The daybook's key when config holds exactly this user name (letter case
// significant) and password; null otherwise. An empty config never matches.
// Throws EngineError (Damaged) when the config is the user's but its secret
// part is not a wrapped key.
std::shared_ptr<DataKey> unwrapKey(const QString& config, const QString& user, const QString& password);
bool checkConfig(const QString& config, const QString& user, const QString& password);

// The limits an owner record was made with, or nothing when it holds no key.
std::optional<KdfLimits> limitsOf(const QString& config);

}  // namespace credentials
