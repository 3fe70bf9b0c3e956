#pragma once
// A daybook's 256-bit data key in libsodium's guarded memory: locked against
// swapping (and out of core dumps), fenced by guard pages, read-only once
// made, and wiped when the last holder lets go of it.
#include <cstddef>
#include <memory>

class DataKey {
public:
    static constexpr std::size_t kBytes = 32;

    // A fresh random key.
    static std::shared_ptr<DataKey> random();
    // An empty key for the caller to fill through Access (then it is sealed).
    static std::shared_ptr<DataKey> blank();
    ~DataKey();
    DataKey(const DataKey&) = delete;
    DataKey& operator=(const DataKey&) = delete;

    // The key's bytes; writable while a writable Access lives.
    class Access {
    public:
        explicit Access(const DataKey& key, bool writable = false);
        ~Access();
        Access(const Access&) = delete;
        Access& operator=(const Access&) = delete;
        unsigned char* bytes() const { return key_.bytes_; }

    private:
        const DataKey& key_;
        bool writable_;
    };

    // How many keys are held in this process (a closed daybook holds none).
    static int liveCount();

private:
    DataKey();
    unsigned char* bytes_;
};

// The same guarded memory for other short-lived secrets (a key derived from
// a password): wiped and freed when it goes.
class GuardedBytes {
public:
    explicit GuardedBytes(std::size_t n);
    ~GuardedBytes();
    GuardedBytes(const GuardedBytes&) = delete;
    GuardedBytes& operator=(const GuardedBytes&) = delete;
    unsigned char* data() const { return p_; }
    std::size_t size() const { return n_; }

private:
    unsigned char* p_;
    std::size_t n_;
};
