#pragma once
// Lets one copy of the program run per user: a kernel file lock that the
// system releases when the owning process ends, however it ends.
#include <QString>

class InstanceGuard {
public:
    // name: the guard's name; the lock file lives in the user's runtime folder.
    explicit InstanceGuard(const QString& name);
    ~InstanceGuard();
    InstanceGuard(const InstanceGuard&) = delete;
    InstanceGuard& operator=(const InstanceGuard&) = delete;

    // True when this copy now owns the guard; false when another copy does.
    bool acquire();
    bool owned() const { return fd_ >= 0 && owned_; }
    QString lockPath() const { return path_; }

private:
    QString path_;
    int fd_ = -1;
    bool owned_ = false;
};
