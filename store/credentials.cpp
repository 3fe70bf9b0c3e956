#include "store/credentials.h"

#include "store/cryptobase.h"
#include "store/engineerror.h"

#include <QByteArray>
#include <QStringList>
#include <sodium.h>

namespace credentials {

namespace {

// The secret part: "xk1$" ops "$" mem "$" salt "$" nonce+wrapped key "$"
// check, the last three in unpadded base64url. The check (a plain hash of
// all before it) tells a damaged record from a wrong password, which a
// failed unwrap alone cannot.
const QString kScheme = QStringLiteral("xk1");
constexpr int kSalt = crypto_pwhash_SALTBYTES;
constexpr int kNonce = crypto_aead_xchacha20poly1305_ietf_NPUBBYTES;
constexpr int kWrapped = int(DataKey::kBytes) + crypto_aead_xchacha20poly1305_ietf_ABYTES;
constexpr quint64 kMaxOps = 256;
constexpr quint64 kMaxMem = quint64(16) << 30;
constexpr int kCheck = 8;

std::optional<KdfLimits> g_testLimits;

constexpr auto kB64 = QByteArray::Base64UrlEncoding | QByteArray::OmitTrailingEquals;

struct Parsed {
    KdfLimits limits;
    QByteArray salt, box;  // box: nonce + wrapped key
    QString head;          // everything before the box: bound to the key
};

[[noreturn]] void damagedOwner() {
    throw EngineError(EngineError::Kind::Damaged, QStringLiteral("The owner record of this daybook is damaged."));
}

QByteArray checkOf(const QString& body) {
    const QByteArray in = body.toUtf8();
    unsigned char out[kCheck];
    crypto_generichash(out, kCheck, reinterpret_cast<const unsigned char*>(in.constData()), quint64(in.size()),
                       nullptr, 0);
    return QByteArray(reinterpret_cast<const char*>(out), kCheck).toBase64(kB64);
}

std::optional<Parsed> parse(const QString& secret) {
    cryptobase::ensureReady();
    const int last = secret.lastIndexOf(QLatin1Char('$'));
    if (last < 0 || secret.mid(last + 1).toLatin1() != checkOf(secret.left(last))) return std::nullopt;
    const QStringList p = secret.left(last).split(QLatin1Char('$'));
    if (p.size() != 5 || p[0] != kScheme) return std::nullopt;
    Parsed r;
    bool okOps = false, okMem = false;
    r.limits = {p[1].toULongLong(&okOps), p[2].toULongLong(&okMem)};
    const auto salt = QByteArray::fromBase64Encoding(p[3].toLatin1(), kB64 | QByteArray::AbortOnBase64DecodingErrors);
    const auto box = QByteArray::fromBase64Encoding(p[4].toLatin1(), kB64 | QByteArray::AbortOnBase64DecodingErrors);
    if (!okOps || !okMem || !salt || !box) return std::nullopt;
    if (r.limits.ops < crypto_pwhash_OPSLIMIT_MIN || r.limits.ops > kMaxOps ||
        r.limits.mem < crypto_pwhash_MEMLIMIT_MIN || r.limits.mem > kMaxMem)
        return std::nullopt;
    r.salt = *salt;
    r.box = *box;
    if (r.salt.size() != kSalt || r.box.size() != kNonce + kWrapped) return std::nullopt;
    r.head = QStringList(p.mid(0, 4)).join(QLatin1Char('$'));
    return r;
}

// The key that wraps the data key, derived from the password.
std::unique_ptr<GuardedBytes> derive(const QString& password, const QByteArray& salt, const KdfLimits& l) {
    cryptobase::ensureReady();
    auto out = std::make_unique<GuardedBytes>(crypto_aead_xchacha20poly1305_ietf_KEYBYTES);
    QByteArray pw = password.toUtf8();
    const int rc = crypto_pwhash(out->data(), out->size(), pw.constData(), quint64(pw.size()),
                                 reinterpret_cast<const unsigned char*>(salt.constData()), l.ops,
                                 size_t(l.mem), crypto_pwhash_ALG_ARGON2ID13);
    sodium_memzero(pw.data(), size_t(pw.size()));
    if (rc != 0)
        throw EngineError(EngineError::Kind::Usage, QStringLiteral("Not enough memory to check the password."));
    return out;
}

// Binds the wrapped key to the user name and to the limits and salt beside it.
QByteArray wrapAd(const QString& user, const QString& head) {
    return QByteArray("scrivlet-key\0", 13) + head.toUtf8() + '\0' + user.toUtf8();
}

}  // namespace

KdfLimits programLimits() { return {3, quint64(128) << 20}; }

KdfLimits newKeyLimits() { return g_testLimits.value_or(programLimits()); }

void setLimitsForTesting(std::optional<KdfLimits> limits) { g_testLimits = limits; }

KdfLimits cheapestLimits() { return {crypto_pwhash_OPSLIMIT_MIN, crypto_pwhash_MEMLIMIT_MIN}; }

Owner makeConfig(const QString& user, const QString& password) {
    auto key = DataKey::random();
    return {wrapConfig(user, password, *key, newKeyLimits()), key};
}

QString wrapConfig(const QString& user, const QString& password, const DataKey& key, const KdfLimits& limits) {
    cryptobase::ensureReady();
    QByteArray salt(kSalt, Qt::Uninitialized);
    randombytes_buf(salt.data(), size_t(salt.size()));
    const QString head = QStringLiteral("%1$%2$%3$%4")
                             .arg(kScheme).arg(limits.ops).arg(limits.mem)
                             .arg(QString::fromLatin1(salt.toBase64(kB64)));
    const auto kek = derive(password, salt, limits);
    const QByteArray ad = wrapAd(user, head);
    QByteArray box(kNonce + kWrapped, Qt::Uninitialized);
    auto* b = reinterpret_cast<unsigned char*>(box.data());
    randombytes_buf(b, kNonce);
    DataKey::Access k(key);
    crypto_aead_xchacha20poly1305_ietf_encrypt(b + kNonce, nullptr, k.bytes(), DataKey::kBytes,
                                               reinterpret_cast<const unsigned char*>(ad.constData()),
                                               quint64(ad.size()), nullptr, b, kek->data());
    const QString body = head + QLatin1Char('$') + QString::fromLatin1(box.toBase64(kB64));
    return user + QLatin1Char('?') + body + QLatin1Char('$') + QString::fromLatin1(checkOf(body));
}

std::shared_ptr<DataKey> unwrapKey(const QString& config, const QString& user, const QString& password) {
    const QString prefix = user + QLatin1Char('?');
    if (config.isEmpty() || !config.startsWith(prefix, Qt::CaseSensitive)) return nullptr;
    const auto parsed = parse(config.mid(prefix.size()));
    if (!parsed) damagedOwner();
    const auto kek = derive(password, parsed->salt, parsed->limits);
    const QByteArray ad = wrapAd(user, parsed->head);
    const auto* b = reinterpret_cast<const unsigned char*>(parsed->box.constData());
    auto key = DataKey::blank();
    DataKey::Access k(*key, true);
    if (crypto_aead_xchacha20poly1305_ietf_decrypt(k.bytes(), nullptr, nullptr, b + kNonce, kWrapped,
                                                   reinterpret_cast<const unsigned char*>(ad.constData()),
                                                   quint64(ad.size()), b, kek->data()) != 0)
        return nullptr;
    return key;
}

bool checkConfig(const QString& config, const QString& user, const QString& password) {
    return unwrapKey(config, user, password) != nullptr;
}

std::optional<KdfLimits> limitsOf(const QString& config) {
    const int q = config.indexOf(QLatin1Char('?'));
    if (q < 0) return std::nullopt;
    const auto parsed = parse(config.mid(q + 1));
    if (!parsed) return std::nullopt;
    return parsed->limits;
}

}  // namespace credentials
