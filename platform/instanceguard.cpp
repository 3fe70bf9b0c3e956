#include "platform/instanceguard.h"

#include <QDir>
#include <QStandardPaths>

#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

InstanceGuard::InstanceGuard(const QString& name) {
    QString dir = QStandardPaths::writableLocation(QStandardPaths::RuntimeLocation);
    if (dir.isEmpty()) dir = QDir::tempPath();
    path_ = QDir(dir).filePath(QStringLiteral("%1-%2.lock").arg(name).arg(getuid()));
}

InstanceGuard::~InstanceGuard() {
    if (fd_ >= 0) ::close(fd_);
}

bool InstanceGuard::acquire() {
    if (owned()) return true;
    if (fd_ < 0) {
        fd_ = ::open(QFile::encodeName(path_).constData(), O_RDWR | O_CREAT | O_CLOEXEC, 0600);
        // Without a lock file there is nothing to guard with; let the copy run.
        if (fd_ < 0) return owned_ = true;
    }
    owned_ = ::flock(fd_, LOCK_EX | LOCK_NB) == 0;
    return owned_;
}
