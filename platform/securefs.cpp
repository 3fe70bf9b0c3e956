#include "platform/securefs.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace securefs {
namespace {

QByteArray enc(const QString& p) { return QFile::encodeName(p); }

QString errnoText() { return QString::fromLocal8Bit(std::strerror(errno)); }

}  // namespace

bool makePrivateDir(const QString& path) {
    return ::mkdir(enc(path).constData(), 0700) == 0;
}

void makePrivate(const QString& path) { ::chmod(enc(path).constData(), 0600); }

void syncDir(const QString& dir) {
    const int fd = ::open(enc(dir).constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd >= 0) {
        ::fsync(fd);
        ::close(fd);
    }
}

bool copyFile(const QString& from, const QString& to, QString* error) {
    auto fail = [&](const QString& what) {
        if (error) *error = what;
        return false;
    };
    const int in = ::open(enc(from).constData(), O_RDONLY | O_CLOEXEC);
    if (in < 0) return fail(QStringLiteral("Cannot open file %1: %2").arg(from, errnoText()));
    const QString tmp = to + QStringLiteral(".part");
    const int out = ::open(enc(tmp).constData(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0600);
    if (out < 0) {
        const QString msg = QStringLiteral("Cannot create file %1: %2").arg(to, errnoText());
        ::close(in);
        return fail(msg);
    }
    char buf[1 << 16];
    bool ok = true;
    QString msg;
    for (;;) {
        const ssize_t n = ::read(in, buf, sizeof buf);
        if (n == 0) break;
        if (n < 0) {
            if (errno == EINTR) continue;
            ok = false;
            msg = QStringLiteral("Cannot read file %1: %2").arg(from, errnoText());
            break;
        }
        for (ssize_t done = 0; done < n;) {
            const ssize_t w = ::write(out, buf + done, size_t(n - done));
            if (w < 0) {
                if (errno == EINTR) continue;
                ok = false;
                msg = QStringLiteral("Cannot write file %1: %2").arg(to, errnoText());
                break;
            }
            done += w;
        }
        if (!ok) break;
    }
    if (ok && ::fsync(out) != 0) {
        ok = false;
        msg = QStringLiteral("Cannot write file %1: %2").arg(to, errnoText());
    }
    ::close(in);
    if (::close(out) != 0 && ok) {
        ok = false;
        msg = QStringLiteral("Cannot write file %1: %2").arg(to, errnoText());
    }
    if (ok && ::rename(enc(tmp).constData(), enc(to).constData()) != 0) {
        ok = false;
        msg = QStringLiteral("Cannot create file %1: %2").arg(to, errnoText());
    }
    if (!ok) {
        ::unlink(enc(tmp).constData());
        return fail(msg);
    }
    ::chmod(enc(to).constData(), 0600);
    syncDir(QFileInfo(to).absolutePath());
    return true;
}

}  // namespace securefs
