#include "store/datakey.h"

#include "store/cryptobase.h"
#include "store/engineerror.h"

#include <atomic>
#include <sodium.h>

namespace {

std::atomic<int> g_live{0};

unsigned char* guardedAlloc(std::size_t n) {
    cryptobase::ensureReady();
    auto* p = static_cast<unsigned char*>(sodium_malloc(n));
    if (!p) throw EngineError(EngineError::Kind::Usage, QStringLiteral("Not enough memory to hold the daybook's key."));
    return p;
}

}  // namespace

DataKey::DataKey() : bytes_(guardedAlloc(kBytes)) {
    sodium_memzero(bytes_, kBytes);
    sodium_mprotect_readonly(bytes_);
    ++g_live;
}

DataKey::~DataKey() {
    // sodium_free wipes the bytes before it gives the pages back.
    sodium_free(bytes_);
    --g_live;
}

std::shared_ptr<DataKey> DataKey::blank() { return std::shared_ptr<DataKey>(new DataKey); }

std::shared_ptr<DataKey> DataKey::random() {
    auto k = blank();
    Access a(*k, true);
    randombytes_buf(a.bytes(), kBytes);
    return k;
}

int DataKey::liveCount() { return g_live.load(); }

// Read-only between uses, not no-access: switching the pages' protection at
// every diary read costs two system calls, as much as decrypting 5 KB.
DataKey::Access::Access(const DataKey& key, bool writable) : key_(key), writable_(writable) {
    if (writable_) sodium_mprotect_readwrite(key_.bytes_);
}

DataKey::Access::~Access() {
    if (writable_) sodium_mprotect_readonly(key_.bytes_);
}

GuardedBytes::GuardedBytes(std::size_t n) : p_(guardedAlloc(n)), n_(n) {}

GuardedBytes::~GuardedBytes() { sodium_free(p_); }
