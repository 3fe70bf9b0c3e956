#include "store/tablefile.h"

#include <QFile>
#include <QFileInfo>
#include <QtEndian>
#include <algorithm>

#include "store/cryptobase.h"

namespace {

constexpr const char* kTableKind = "scrivlet-daybook-table";
constexpr const char* kBlobKind = "scrivlet-daybook-blobs";
constexpr int kFormat = 1;

[[noreturn]] void damaged(const QString& path, const QString& why) {
    throw EngineError(EngineError::Kind::Damaged,
                      QStringLiteral("%1 is not a sound daybook file: %2.").arg(path, why));
}

// Catches what SQLite would otherwise take for an empty or short database:
// a zero-byte, truncated or foreign file.
void checkFileHeader(const QString& path) {
    QFile f(path);
    if (!f.exists()) damaged(path, QStringLiteral("the file is missing"));
    if (!f.open(QIODevice::ReadOnly)) damaged(path, QStringLiteral("the file cannot be read"));
    const qint64 size = f.size();
    if (size == 0) damaged(path, QStringLiteral("the file is empty"));
    const QByteArray h = f.read(100);
    if (h.size() < 100 || !h.startsWith(QByteArrayLiteral("SQLite format 3\0")))
        damaged(path, QStringLiteral("the file is not a daybook table"));
    const auto* p = reinterpret_cast<const uchar*>(h.constData());
    qint64 pageSize = qFromBigEndian<quint16>(p + 16);
    if (pageSize == 1) pageSize = 65536;
    if (pageSize < 512 || (pageSize & (pageSize - 1)))
        damaged(path, QStringLiteral("the file header is damaged"));
    const quint32 changeCounter = qFromBigEndian<quint32>(p + 24);
    const quint32 pages = qFromBigEndian<quint32>(p + 28);
    const quint32 validFor = qFromBigEndian<quint32>(p + 92);
    if (size % pageSize != 0) damaged(path, QStringLiteral("the file is truncated"));
    if (changeCounter == validFor && pages != 0 && qint64(pages) * pageSize > size)
        damaged(path, QStringLiteral("the file is truncated"));
}

QString metaValue(sql::Connection& c, const char* query, const char* key) {
    auto st = c.prepare(query);
    st.bind(1, QString::fromLatin1(key));
    return st.step() ? st.text(0) : QString();
}

}  // namespace

std::shared_ptr<TableFile> TableFile::open(const QString& dbPath, const QString& mbPath,
                                           const QStringList& passwords) {
    std::shared_ptr<TableFile> t(new TableFile);
    t->dbPath_ = dbPath;
    t->mbPath_ = mbPath;
    t->codec_ = std::make_shared<LockedContent>();
    checkFileHeader(dbPath);
    checkFileHeader(mbPath);
    t->conn_.openExisting(dbPath);
    try {
        t->conn_.attachExisting(mbPath, "mb");
        // Rollback journals (not WAL) with full syncs: a commit that spans both
        // files is atomic through SQLite's super-journal.
        t->conn_.exec("PRAGMA main.journal_mode=DELETE; PRAGMA mb.journal_mode=DELETE;"
                      "PRAGMA main.synchronous=FULL; PRAGMA mb.synchronous=FULL;");
        t->checkAndLoad(passwords);
    } catch (const EngineError& e) {
        if (e.kind() == EngineError::Kind::Usage) damaged(dbPath, e.message());
        throw;
    }
    return t;
}

TableFile::~TableFile() = default;

void TableFile::checkAndLoad(const QStringList& passwords) {
    // The table file is checked in full at every open; the blob file (large)
    // is checked before a backup is taken, and a damaged entry fails alone.
    if (!quickCheck("main")) damaged(dbPath_, QStringLiteral("its check failed"));
    QString tableKind, blobKind;
    try {
        tableKind = metaValue(conn_, "SELECT value FROM main.meta WHERE key=?1", "kind");
        blobKind = metaValue(conn_, "SELECT value FROM mb.meta WHERE key=?1", "kind");
        conn_.prepare("SELECT id, mydate, mytime, mycfg FROM main.diary LIMIT 0").run();
        conn_.prepare("SELECT id, data FROM mb.blobs LIMIT 0").run();
    } catch (const EngineError&) {
        damaged(dbPath_, QStringLiteral("a table is missing"));
    }
    if (tableKind != QLatin1String(kTableKind)) damaged(dbPath_, QStringLiteral("it is not a diary table"));
    if (blobKind != QLatin1String(kBlobKind)) damaged(mbPath_, QStringLiteral("it is not a diary blob file"));
    const QString format = metaValue(conn_, "SELECT value FROM main.meta WHERE key=?1", "format");
    if (format.toInt() != kFormat) damaged(dbPath_, QStringLiteral("it was written in an unknown format"));

    identity_ = metaValue(conn_, "SELECT value FROM main.meta WHERE key=?1", "identity");
    const QString blobIdentity = metaValue(conn_, "SELECT value FROM mb.meta WHERE key=?1", "identity");
    const QString gen = metaValue(conn_, "SELECT value FROM main.meta WHERE key=?1", "generation");
    const QString blobGen = metaValue(conn_, "SELECT value FROM mb.meta WHERE key=?1", "generation");
    if (identity_.isEmpty() || identity_ != blobIdentity)
        damaged(mbPath_, QStringLiteral("it belongs to another daybook"));
    if (gen.isEmpty() || gen != blobGen)
        damaged(mbPath_, QStringLiteral("it does not match the table file (one of them is from another day)"));
    claimIdentity_ = !metaValue(conn_, "SELECT value FROM main.meta WHERE key=?1", "template").isEmpty();

    const QString gate = metaValue(conn_, "SELECT value FROM main.meta WHERE key=?1", "tablepw");
    if (!gate.isEmpty()) {
        const bool given = std::any_of(passwords.begin(), passwords.end(),
                                       [&](const QString& pw) { return cryptobase::tablePasswordDigest(pw) == gate; });
        if (!given)
            throw EngineError(EngineError::Kind::NoPassword,
                              QStringLiteral("%1 is protected by a table password that was not given.")
                                  .arg(dbPath_));
    }
    loadIndex();
}

bool TableFile::quickCheck(const char* schema) {
    const QByteArray q = QByteArrayLiteral("PRAGMA ") + schema + ".quick_check";
    QString result;
    try {
        auto st = conn_.prepare(q.constData());
        while (st.step()) result += st.text(0);
    } catch (const EngineError&) {
        return false;
    }
    return result == QLatin1String("ok");
}

bool TableFile::filesAreSound() { return quickCheck("main") && quickCheck("mb"); }

void TableFile::loadIndex() {
    rows_.clear();
    firstIdByDate_.clear();
    auto st = conn_.prepare("SELECT id, mydate FROM main.diary ORDER BY id");
    while (st.step()) {
        Row r{st.int64(0), st.text(1)};
        const QString folded = r.mydate.toCaseFolded();
        if (!firstIdByDate_.contains(folded)) firstIdByDate_.insert(folded, r.id);
        rows_.push_back(std::move(r));
    }
}

int TableFile::lowerBound(qint64 id) const {
    auto it = std::lower_bound(rows_.begin(), rows_.end(), id,
                               [](const Row& r, qint64 v) { return r.id < v; });
    return int(it - rows_.begin());
}

int TableFile::indexOfId(qint64 id) const {
    const int i = lowerBound(id);
    return i < count() && rows_[size_t(i)].id == id ? i : -1;
}

int TableFile::findDate(const QString& key) const {
    const auto it = firstIdByDate_.constFind(key.toCaseFolded());
    return it == firstIdByDate_.constEnd() ? -1 : indexOfId(*it);
}

void TableFile::reindexDate(const QString& key) {
    const QString folded = key.toCaseFolded();
    firstIdByDate_.remove(folded);
    for (const Row& r : rows_) {
        if (r.mydate.toCaseFolded() == folded) {
            firstIdByDate_.insert(folded, r.id);
            break;
        }
    }
}

TableFile::Texts TableFile::readTexts(qint64 id) {
    auto st = conn_.prepare("SELECT mydate, mytime, mycfg FROM main.diary WHERE id=?1");
    st.bind(1, id);
    Texts t;
    if (st.step()) {
        t.mydate = st.text(0);
        t.mytime = st.text(1);
        t.mytimeNull = st.isNull(1);
        t.mycfg = st.text(2);
        t.mycfgNull = st.isNull(2);
    }
    return t;
}

QByteArray TableFile::readContent(qint64 id) {
    auto st = conn_.prepare("SELECT data FROM mb.blobs WHERE id=?1");
    st.bind(1, id);
    if (!st.step()) return QByteArray();
    // Opened straight from SQLite's buffer: a large diary is not copied twice.
    const QByteArrayView stored = st.blobView(0);
    return stored.isEmpty() ? QByteArray() : codec_->open({identity_, id}, stored);
}

void TableFile::writeContent(qint64 id, const QByteArray& plain) {
    if (plain.isEmpty()) {
        auto st = conn_.prepare("DELETE FROM mb.blobs WHERE id=?1");
        st.bind(1, id).run();
        return;
    }
    auto st = conn_.prepare("INSERT OR REPLACE INTO mb.blobs(id, data) VALUES(?1, ?2)");
    st.bind(1, id).bindBlob(2, codec_->seal({identity_, id}, plain)).run();
}

void TableFile::setContentCodec(std::shared_ptr<ContentCodec> codec) {
    codec_ = codec ? std::move(codec) : std::make_shared<LockedContent>();
}

void TableFile::begin() {
    conn_.exec("BEGIN IMMEDIATE");
    try {
        if (claimIdentity_) {
            const QString fresh = cryptobase::randomHex(16);
            for (const char* q : {"UPDATE main.meta SET value=?1 WHERE key='identity'",
                                  "UPDATE mb.meta SET value=?1 WHERE key='identity'"}) {
                auto st = conn_.prepare(q);
                st.bind(1, fresh).run();
            }
            conn_.exec("DELETE FROM main.meta WHERE key='template'; DELETE FROM mb.meta WHERE key='template';");
            identity_ = fresh;
        }
        conn_.exec("UPDATE main.meta SET value=value+1 WHERE key='generation';"
                   "UPDATE mb.meta SET value=value+1 WHERE key='generation';");
    } catch (...) {
        rollback();
        throw;
    }
}

void TableFile::commit() {
    conn_.exec("COMMIT");
    claimIdentity_ = false;
}

void TableFile::rollback() {
    if (conn_.inTransaction()) sqlite3_exec(conn_.handle(), "ROLLBACK", nullptr, nullptr, nullptr);
    // The identity claimed in the failed transaction was rolled back with it.
    if (claimIdentity_) {
        try {
            identity_ = metaValue(conn_, "SELECT value FROM main.meta WHERE key=?1", "identity");
        } catch (const EngineError&) {
            // The next open reads it again.
        }
    }
}

qint64 TableFile::insert(const RecordChanges& c) {
    qint64 id = 0;
    writeTransaction([&] {
        auto st = conn_.prepare("INSERT INTO main.diary(mydate, mytime, mycfg) VALUES(?1, ?2, ?3)");
        auto bindOpt = [&](int i, const std::optional<QString>& v) {
            if (v) st.bind(i, *v); else st.bindNull(i);
        };
        bindOpt(1, c.mydate);
        bindOpt(2, c.mytime);
        bindOpt(3, c.mycfg);
        st.run();
        id = sqlite3_last_insert_rowid(conn_.handle());
        if (c.myrtf) writeContent(id, *c.myrtf);
    });
    const QString date = c.mydate.value_or(QString());
    rows_.push_back({id, date});
    const QString folded = date.toCaseFolded();
    if (!firstIdByDate_.contains(folded)) firstIdByDate_.insert(folded, id);
    return id;
}

void TableFile::update(qint64 id, const RecordChanges& c) {
    const int index = indexOfId(id);
    if (index < 0) throw EngineError(EngineError::Kind::Usage, QStringLiteral("The record was deleted."));
    writeTransaction([&] {
        auto set = [&](const char* q, const std::optional<QString>& v) {
            if (!v) return;
            auto st = conn_.prepare(q);
            st.bind(1, *v).bind(2, id).run();
        };
        set("UPDATE main.diary SET mydate=?1 WHERE id=?2", c.mydate);
        set("UPDATE main.diary SET mytime=?1 WHERE id=?2", c.mytime);
        set("UPDATE main.diary SET mycfg=?1 WHERE id=?2", c.mycfg);
        if (c.myrtf) writeContent(id, *c.myrtf);
    });
    if (c.mydate && *c.mydate != rows_[size_t(index)].mydate) {
        const QString old = rows_[size_t(index)].mydate;
        rows_[size_t(index)].mydate = *c.mydate;
        reindexDate(old);
        reindexDate(*c.mydate);
    }
}

void TableFile::remove(qint64 id) {
    const int index = indexOfId(id);
    if (index < 0) return;
    writeTransaction([&] {
        auto a = conn_.prepare("DELETE FROM main.diary WHERE id=?1");
        a.bind(1, id).run();
        auto b = conn_.prepare("DELETE FROM mb.blobs WHERE id=?1");
        b.bind(1, id).run();
    });
    const QString date = rows_[size_t(index)].mydate;
    rows_.erase(rows_.begin() + index);
    reindexDate(date);
}
