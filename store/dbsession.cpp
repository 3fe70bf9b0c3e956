#include "store/dbsession.h"

#include <QDir>
#include <QFileInfo>

DbSession& DbSession::instance() {
    static DbSession s;
    return s;
}

void DbSession::addPassword(const QString& password) {
    if (!passwords_.contains(password)) passwords_ << password;
}

QString blobPathFor(const QString& dbPath) {
    QString p = dbPath;
    if (p.endsWith(QLatin1String(".db"), Qt::CaseInsensitive)) p.chop(3);
    return p + QStringLiteral(".mb");
}

std::shared_ptr<TableFile> DbSession::acquire(const QString& folder, const QString& tableName) {
    const QString path = QDir(folder).filePath(tableName);
    const QFileInfo info(path);
    const QString key = info.exists() ? info.canonicalFilePath() : info.absoluteFilePath();
    if (auto existing = open_.value(key).lock()) return existing;
    auto table = TableFile::open(path, blobPathFor(path), passwords_);
    open_.insert(key, table);
    return table;
}

void DbSession::resetForTesting() {
    passwords_.clear();
    open_.clear();
}
