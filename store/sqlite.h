#pragma once
// Small RAII wrappers over the SQLite C API, turning its errors into EngineError.
#include "store/engineerror.h"

#include <QByteArray>
#include <QByteArrayView>
#include <QString>
#include <QVariant>
#include <sqlite3.h>

namespace sql {

class Statement;

class Connection {
public:
    Connection() = default;
    ~Connection();
    Connection(const Connection&) = delete;
    Connection& operator=(const Connection&) = delete;

    // Opens an existing file for reading and writing; never creates one.
    void openExisting(const QString& path);
    // Opens or creates a file.
    void openOrCreate(const QString& path);
    void attachExisting(const QString& path, const char* schema);
    void close();
    bool isOpen() const { return db_ != nullptr; }

    void exec(const char* sqlText);
    Statement prepare(const char* sqlText);
    sqlite3* handle() const { return db_; }
    bool inTransaction() const { return db_ && !sqlite3_get_autocommit(db_); }

    // The error for the last failed call, worded for the user.
    [[noreturn]] void fail(int rc, const QString& what) const;

private:
    sqlite3* db_ = nullptr;
    QString path_;
};

class Statement {
public:
    Statement(Connection& c, sqlite3_stmt* st) : conn_(&c), st_(st) {}
    Statement(Statement&& o) noexcept : conn_(o.conn_), st_(o.st_) { o.st_ = nullptr; }
    Statement& operator=(Statement&&) = delete;
    ~Statement() { sqlite3_finalize(st_); }

    Statement& bind(int i, qint64 v);
    Statement& bind(int i, const QString& v);
    Statement& bindNull(int i);
    Statement& bindBlob(int i, const QByteArray& v);
    // True while a row is there to read.
    bool step();
    void run() { while (step()) {} }
    void reset() { sqlite3_reset(st_); sqlite3_clear_bindings(st_); }

    qint64 int64(int col) const { return sqlite3_column_int64(st_, col); }
    bool isNull(int col) const { return sqlite3_column_type(st_, col) == SQLITE_NULL; }
    QString text(int col) const;
    QByteArray blob(int col) const;
    // The column's bytes without a copy, valid until the next step or reset.
    QByteArrayView blobView(int col) const;

private:
    Connection* conn_;
    sqlite3_stmt* st_;
};

// Quotes a file path as an SQLite URI that never creates the file.
QByteArray existingFileUri(const QString& path);

}  // namespace sql
