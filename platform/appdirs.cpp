#include "platform/appdirs.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QStandardPaths>

#include <unistd.h>

namespace appdirs {
namespace {

QString withSlash(QString p) {
    if (!p.endsWith(QLatin1Char('/'))) p += QLatin1Char('/');
    return p;
}

QString testProgramDir, testDataDir;

}  // namespace

QString programDir() {
    if (!testProgramDir.isEmpty()) return testProgramDir;
    static const QString dir = withSlash(QCoreApplication::applicationDirPath());
    return dir;
}

QString dataDir() {
    if (!testDataDir.isEmpty()) return testDataDir;
    static const QString dir = [] {
        const QString prog = programDir();
        if (::access(QFile::encodeName(prog).constData(), W_OK) == 0) return prog;
        const QString data = QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation) +
                             QStringLiteral("/Scrivlet");
        QDir().mkpath(data);
        QFile::setPermissions(data, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
        return withSlash(data);
    }();
    return dir;
}

void setForTesting(const QString& program, const QString& data) {
    testProgramDir = withSlash(program);
    testDataDir = withSlash(data);
}

void resetForTesting() {
    testProgramDir.clear();
    testDataDir.clear();
}

}  // namespace appdirs
