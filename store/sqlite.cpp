#include "store/sqlite.h"

#include <QFileInfo>
#include <QUrl>

namespace sql {

namespace {

EngineError::Kind kindOf(int rc) {
    switch (rc & 0xff) {
    case SQLITE_FULL:
    case SQLITE_IOERR:
    case SQLITE_READONLY:
    case SQLITE_CANTOPEN:
    case SQLITE_PERM:
    case SQLITE_BUSY:
    case SQLITE_LOCKED:
        return EngineError::Kind::WriteFailed;
    case SQLITE_CORRUPT:
    case SQLITE_NOTADB:
    case SQLITE_SCHEMA:
    case SQLITE_FORMAT:
        return EngineError::Kind::Damaged;
    default:
        return EngineError::Kind::Usage;
    }
}

QString reasonOf(int rc, sqlite3* db) {
    switch (rc & 0xff) {
    case SQLITE_FULL: return QStringLiteral("the disk is full");
    case SQLITE_READONLY: return QStringLiteral("the file or its folder is read-only");
    case SQLITE_PERM:
    case SQLITE_CANTOPEN: return QStringLiteral("the file cannot be opened (permission denied or missing)");
    case SQLITE_IOERR: return QStringLiteral("the disk reported an input/output error");
    case SQLITE_CORRUPT:
    case SQLITE_NOTADB: return QStringLiteral("the file is damaged");
    case SQLITE_BUSY:
    case SQLITE_LOCKED: return QStringLiteral("the file is in use by another program");
    default: break;
    }
    return QString::fromUtf8(db ? sqlite3_errmsg(db) : sqlite3_errstr(rc));
}

}  // namespace

QByteArray existingFileUri(const QString& path) {
    QUrl url = QUrl::fromLocalFile(QFileInfo(path).absoluteFilePath());
    return url.toEncoded() + "?mode=rw";
}

Connection::~Connection() { close(); }

void Connection::fail(int rc, const QString& what) const {
    throw EngineError(kindOf(rc), QStringLiteral("%1: %2.").arg(what, reasonOf(rc, db_)));
}

void Connection::openExisting(const QString& path) {
    close();
    path_ = path;
    const int rc = sqlite3_open_v2(existingFileUri(path).constData(), &db_,
                                   SQLITE_OPEN_READWRITE | SQLITE_OPEN_URI | SQLITE_OPEN_NOMUTEX,
                                   nullptr);
    if (rc != SQLITE_OK) {
        const QString msg = QStringLiteral("Cannot open %1").arg(path);
        EngineError err(kindOf(rc) == EngineError::Kind::Usage ? EngineError::Kind::Damaged : kindOf(rc),
                        QStringLiteral("%1: %2.").arg(msg, reasonOf(rc, db_)));
        close();
        throw err;
    }
    sqlite3_extended_result_codes(db_, 1);
}

void Connection::openOrCreate(const QString& path) {
    close();
    path_ = path;
    const int rc = sqlite3_open_v2(QFile::encodeName(path).constData(), &db_,
                                   SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE | SQLITE_OPEN_NOMUTEX,
                                   nullptr);
    if (rc != SQLITE_OK) {
        EngineError err(EngineError::Kind::WriteFailed,
                        QStringLiteral("Cannot create %1: %2.").arg(path, reasonOf(rc, db_)));
        close();
        throw err;
    }
    sqlite3_extended_result_codes(db_, 1);
}

void Connection::attachExisting(const QString& path, const char* schema) {
    auto st = prepare("ATTACH DATABASE ?1 AS ?2");
    st.bind(1, QString::fromUtf8(existingFileUri(path)));
    st.bind(2, QString::fromLatin1(schema));
    st.run();
}

void Connection::close() {
    if (db_) {
        sqlite3_close_v2(db_);
        db_ = nullptr;
    }
}

void Connection::exec(const char* sqlText) {
    char* err = nullptr;
    const int rc = sqlite3_exec(db_, sqlText, nullptr, nullptr, &err);
    sqlite3_free(err);
    if (rc != SQLITE_OK) fail(rc, QStringLiteral("Cannot use %1").arg(path_));
}

Statement Connection::prepare(const char* sqlText) {
    sqlite3_stmt* st = nullptr;
    const int rc = sqlite3_prepare_v2(db_, sqlText, -1, &st, nullptr);
    if (rc != SQLITE_OK) fail(rc, QStringLiteral("Cannot read %1").arg(path_));
    return Statement(*this, st);
}

Statement& Statement::bind(int i, qint64 v) {
    sqlite3_bind_int64(st_, i, v);
    return *this;
}

Statement& Statement::bind(int i, const QString& v) {
    const QByteArray u = v.toUtf8();
    sqlite3_bind_text(st_, i, u.constData(), int(u.size()), SQLITE_TRANSIENT);
    return *this;
}

Statement& Statement::bindNull(int i) {
    sqlite3_bind_null(st_, i);
    return *this;
}

Statement& Statement::bindBlob(int i, const QByteArray& v) {
    sqlite3_bind_blob64(st_, i, v.constData(), sqlite3_uint64(v.size()), SQLITE_TRANSIENT);
    return *this;
}

bool Statement::step() {
    const int rc = sqlite3_step(st_);
    if (rc == SQLITE_ROW) return true;
    if (rc == SQLITE_DONE) {
        sqlite3_reset(st_);
        return false;
    }
    sqlite3_reset(st_);
    conn_->fail(rc, QStringLiteral("Cannot use %1")
                        .arg(QString::fromUtf8(sqlite3_db_filename(conn_->handle(), "main"))));
}

QString Statement::text(int col) const {
    const auto* p = reinterpret_cast<const char*>(sqlite3_column_text(st_, col));
    return p ? QString::fromUtf8(p, sqlite3_column_bytes(st_, col)) : QString();
}

QByteArray Statement::blob(int col) const {
    const void* p = sqlite3_column_blob(st_, col);
    const int n = sqlite3_column_bytes(st_, col);
    return p ? QByteArray(static_cast<const char*>(p), n) : QByteArray();
}

QByteArrayView Statement::blobView(int col) const {
    const void* p = sqlite3_column_blob(st_, col);
    const int n = sqlite3_column_bytes(st_, col);
    return p ? QByteArrayView(static_cast<const char*>(p), n) : QByteArrayView();
}

}  // namespace sql
