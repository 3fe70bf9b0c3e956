#pragma once
// Diary content encrypted with the daybook's data key (XChaCha20-Poly1305,
// a fresh random nonce per write). The associated data names the daybook and
// the record, so content copied into another record or daybook fails to open.
#include "store/datakey.h"
#include "store/entrycontent.h"

#include <memory>

class SealedContent final : public ContentCodec {
public:
    explicit SealedContent(std::shared_ptr<const DataKey> key) : key_(std::move(key)) {}
    bool unlocked() const override { return true; }
    QByteArray seal(const ContentPlace& place, const QByteArray& plain) override;
    QByteArray open(const ContentPlace& place, QByteArrayView stored) override;

private:
    std::shared_ptr<const DataKey> key_;
};
