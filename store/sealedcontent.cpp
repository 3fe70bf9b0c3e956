#include "store/sealedcontent.h"

#include "store/engineerror.h"

#include <QtEndian>
#include <sodium.h>

namespace {

// Stored layout: one format byte, the nonce, then the ciphertext with its tag.
constexpr char kFormat = 1;
constexpr int kNonce = crypto_aead_xchacha20poly1305_ietf_NPUBBYTES;
constexpr int kTag = crypto_aead_xchacha20poly1305_ietf_ABYTES;
constexpr int kHeader = 1 + kNonce;

QByteArray associatedData(const ContentPlace& place) {
    QByteArray ad("scrivlet-entry\0", 15);
    ad += kFormat;
    char id[8];
    qToBigEndian<qint64>(place.record, id);
    ad += QByteArray(id, 8);
    ad += place.daybook.toUtf8();
    return ad;
}

[[noreturn]] void unreadable(qint64 record) {
    throw EngineError(EngineError::Kind::Damaged,
                      QStringLiteral("The content of record %1 cannot be opened: it is damaged or does "
                                     "not belong to this diary.").arg(record));
}

}  // namespace

QByteArray SealedContent::seal(const ContentPlace& place, const QByteArray& plain) {
    const QByteArray ad = associatedData(place);
    QByteArray out(kHeader + plain.size() + kTag, Qt::Uninitialized);
    auto* o = reinterpret_cast<unsigned char*>(out.data());
    o[0] = kFormat;
    randombytes_buf(o + 1, kNonce);
    unsigned long long written = 0;
    DataKey::Access key(*key_);
    crypto_aead_xchacha20poly1305_ietf_encrypt(
        o + kHeader, &written, reinterpret_cast<const unsigned char*>(plain.constData()),
        static_cast<unsigned long long>(plain.size()), reinterpret_cast<const unsigned char*>(ad.constData()),
        static_cast<unsigned long long>(ad.size()), nullptr, o + 1, key.bytes());
    return out;
}

QByteArray SealedContent::open(const ContentPlace& place, QByteArrayView stored) {
    if (stored.size() < kHeader + kTag || stored[0] != kFormat) unreadable(place.record);
    const QByteArray ad = associatedData(place);
    const auto* s = reinterpret_cast<const unsigned char*>(stored.constData());
    QByteArray out(stored.size() - kHeader - kTag, Qt::Uninitialized);
    unsigned long long read = 0;
    DataKey::Access key(*key_);
    if (crypto_aead_xchacha20poly1305_ietf_decrypt(
            reinterpret_cast<unsigned char*>(out.data()), &read, nullptr, s + kHeader,
            static_cast<unsigned long long>(stored.size() - kHeader),
            reinterpret_cast<const unsigned char*>(ad.constData()), static_cast<unsigned long long>(ad.size()),
            s + 1, key.bytes()) != 0)
        unreadable(place.record);
    return out;
}
