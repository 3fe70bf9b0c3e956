#pragma once
// One open daybook table: the table file (dates, times, the config record)
// and its blob file (the diaries' content), attached in one SQLite connection
// so that every post commits atomically across both files. All table objects
// on the same table share one TableFile and so see each other's posts.
#include "store/entrycontent.h"
#include "store/sqlite.h"

#include <QHash>
#include <QString>
#include <QStringList>
#include <memory>
#include <optional>
#include <vector>

struct RecordChanges {
    std::optional<QString> mydate, mytime, mycfg;
    std::optional<QByteArray> myrtf;
    bool any() const { return mydate || mytime || mycfg || myrtf; }
};

class TableFile {
public:
    // Opens and checks both files; throws EngineError (Damaged) when either is
    // not a sound daybook file or they do not belong together, and
    // (NoPassword) when the table password was not among `passwords`.
    static std::shared_ptr<TableFile> open(const QString& dbPath, const QString& mbPath,
                                           const QStringList& passwords);
    ~TableFile();

    QString dbPath() const { return dbPath_; }
    QString mbPath() const { return mbPath_; }
    QString identity() const { return identity_; }

    // Records in table order: index 0 is record 1.
    int count() const { return int(rows_.size()); }
    qint64 idAt(int index) const { return rows_[size_t(index)].id; }
    const QString& dateAt(int index) const { return rows_[size_t(index)].mydate; }
    // Index of the record with this id or, when it is gone, of the one after it.
    int lowerBound(qint64 id) const;
    int indexOfId(qint64 id) const;  // -1 when gone
    // Index of the first record (table order) whose date equals key without
    // regard to case, or -1.
    int findDate(const QString& key) const;

    struct Texts {
        QString mydate, mytime, mycfg;
        bool mytimeNull = true, mycfgNull = true;
    };
    Texts readTexts(qint64 id);
    QByteArray readContent(qint64 id);

    qint64 insert(const RecordChanges& c);
    void update(qint64 id, const RecordChanges& c);
    void remove(qint64 id);

    // A full structural check of both files (the blob file's takes a while).
    bool filesAreSound();

    // Content is sealed and opened by the codec; a table starts locked (every
    // content access fails) until the owner's key is installed. The codec, and
    // with it the key, goes when the last table object on the table closes.
    void setContentCodec(std::shared_ptr<ContentCodec> codec);
    ContentCodec& contentCodec() { return *codec_; }
    bool unlocked() const { return codec_->unlocked(); }
    sql::Connection& connection() { return conn_; }

    // Runs fn inside one write transaction that also bumps both files'
    // generation stamps; rolled back (and rethrown) when anything fails.
    template <typename Fn>
    void writeTransaction(Fn&& fn);

private:
    TableFile() = default;
    void checkAndLoad(const QStringList& passwords);
    void loadIndex();
    bool quickCheck(const char* schema);
    void reindexDate(const QString& key);
    void begin();
    void commit();
    void rollback();
    void writeContent(qint64 id, const QByteArray& plain);

    struct Row {
        qint64 id;
        QString mydate;
    };
    QString dbPath_, mbPath_, identity_;
    sql::Connection conn_;
    std::vector<Row> rows_;
    QHash<QString, qint64> firstIdByDate_;  // case-folded date -> id of its first record
    bool claimIdentity_ = false;            // a fresh copy of the template gets its own identity
    std::shared_ptr<ContentCodec> codec_;
};

template <typename Fn>
void TableFile::writeTransaction(Fn&& fn) {
    begin();
    try {
        fn();
        commit();
    } catch (...) {
        rollback();
        throw;
    }
}
