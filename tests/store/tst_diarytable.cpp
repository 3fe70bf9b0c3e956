// The diary table engine: record order, cursors, fields, the password gate,
// damage detection and failed writes.
#include "storefixture.h"

#include <QtTest>
#include <csignal>
#include <sqlite3.h>
#include <sys/resource.h>

namespace {

const QStringList kFive = {"2004-3-1", "2004-3-2", "2004-3-5", "2004-4-1", "2005-1-1"};

QStringList contentOf(DiaryTable& t) {
    QStringList out;
    t.first();
    for (int i = 0; i < t.recordCount(); ++i) {
        out << QString::fromUtf8(t.blobField("myrtf"));
        t.next();
    }
    return out;
}

// Writes past `bytes` into any file fail while this is alive, as on a full disk.
struct FileSizeLimit {
    rlimit old{};
    explicit FileSizeLimit(rlim_t bytes) {
        std::signal(SIGXFSZ, SIG_IGN);
        getrlimit(RLIMIT_FSIZE, &old);
        rlimit lim = old;
        lim.rlim_cur = bytes;
        setrlimit(RLIMIT_FSIZE, &lim);
    }
    ~FileSizeLimit() { setrlimit(RLIMIT_FSIZE, &old); }
};

void sqlExec(const QString& path, const char* q) {
    sqlite3* db = nullptr;
    QCOMPARE(sqlite3_open(QFile::encodeName(path).constData(), &db), SQLITE_OK);
    char* err = nullptr;
    const int rc = sqlite3_exec(db, q, nullptr, nullptr, &err);
    sqlite3_free(err);
    sqlite3_close(db);
    QCOMPARE(rc, SQLITE_OK);
}

int rootPage(const QString& path, const char* table) {
    sqlite3* db = nullptr;
    sqlite3_open(QFile::encodeName(path).constData(), &db);
    sqlite3_stmt* st = nullptr;
    sqlite3_prepare_v2(db, "SELECT rootpage FROM sqlite_master WHERE name=?1", -1, &st, nullptr);
    sqlite3_bind_text(st, 1, table, -1, SQLITE_STATIC);
    int page = sqlite3_step(st) == SQLITE_ROW ? sqlite3_column_int(st, 0) : 0;
    sqlite3_finalize(st);
    sqlite3_close(db);
    return page;
}

void overwrite(const QString& path, qint64 at, const QByteArray& bytes) {
    QFile f(path);
    QVERIFY(f.open(QIODevice::ReadWrite));
    f.seek(at);
    f.write(bytes);
}

}  // namespace

class TestDiaryTable : public QObject {
    Q_OBJECT
private slots:
    void recordsStayInAppendOrder();
    void movesStopAtEitherEnd();
    void deletingMovesLaterRecordsUp();
    void fieldNamesIgnoreCase();
    void emptyTableReadsNull();
    void locateAndLookup();
    void cursorsSeeEachOthersPosts();
    void beforeDeleteCanCancel();
    void untouchedAppendLeavesNoRecord();
    void editChangesOnlyTheFieldsSet();
    void blobIsKeptByteForByte();
    void tableOpensOnlyWithItsPassword();
    void damageIsReported_data();
    void damageIsReported();
    void failedWriteLosesNothing();
};

void TestDiaryTable::recordsStayInAppendOrder() {
    StoreFixture fx;
    auto t = fx.table();
    // Dates out of calendar order: the table keeps the order of appending.
    const QStringList dates = {"2005-1-1", "2004-3-1", "2004-12-25", "2003-1-5"};
    StoreFixture::fill(*t, dates);
    QCOMPARE(t->recordCount(), 4);
    QCOMPARE(t->dates(), dates);
    QCOMPARE(t->recNo(), 4);  // the posted record is current
    t->first();
    QCOMPARE(t->recNo(), 1);
    QCOMPARE(t->stringField("mydate"), QString("2005-1-1"));
    // A reopened table reads the same order.
    t->close();
    DbSession::instance().resetForTesting();
    DbSession::instance().addPassword(daybook::kTablePassword);
    auto again = fx.table();
    QCOMPARE(again->dates(), dates);
    QCOMPARE(again->recNo(), 1);
}

void TestDiaryTable::movesStopAtEitherEnd() {
    StoreFixture fx;
    auto t = fx.table();
    StoreFixture::fill(*t, kFive);
    t->first();
    t->prior();
    QCOMPARE(t->recNo(), 1);
    QVERIFY(t->bof());
    t->next();
    t->next();
    QCOMPARE(t->recNo(), 3);
    t->last();
    t->next();
    QCOMPARE(t->recNo(), 5);
    QVERIFY(t->eof());
    t->prior();
    QCOMPARE(t->recNo(), 4);
    QVERIFY(!t->eof());
}

void TestDiaryTable::deletingMovesLaterRecordsUp() {
    StoreFixture fx;
    auto t = fx.table();
    StoreFixture::fill(*t, kFive);
    t->moveToRecNo(3);
    QVERIFY(t->remove());
    QCOMPARE(t->recordCount(), 4);
    QCOMPARE(t->recNo(), 3);  // the following record is current
    QCOMPARE(t->stringField("mydate"), QString("2004-4-1"));
    QCOMPARE(t->dates(), (QStringList{"2004-3-1", "2004-3-2", "2004-4-1", "2005-1-1"}));
    t->last();
    QVERIFY(t->remove());
    QCOMPARE(t->recNo(), 3);  // the new last
    QCOMPARE(t->stringField("mydate"), QString("2004-4-1"));
    QCOMPARE(contentOf(*t), (QStringList{"2004-3-1-text", "2004-3-2-text", "2004-4-1-text"}));
}

void TestDiaryTable::fieldNamesIgnoreCase() {
    StoreFixture fx;
    auto t = fx.table();
    t->append();
    t->setFieldByName("MyCfg", "anna?secret");
    t->setFieldByName("MYDATE", "2004-5-17");
    t->post();
    QCOMPARE(t->stringField("mycfg"), QString("anna?secret"));
    QCOMPARE(t->stringField("Mydate"), QString("2004-5-17"));
    QVERIFY(t->fieldByName("mytime").isNull());
    QVERIFY_THROWS_EXCEPTION(EngineError, t->fieldByName("nosuchfield"));
}

void TestDiaryTable::emptyTableReadsNull() {
    StoreFixture fx;
    auto t = fx.table();
    QCOMPARE(t->recordCount(), 0);
    QCOMPARE(t->recNo(), 0);
    QVERIFY(t->fieldByName("mycfg").isNull());
    QVERIFY(t->fieldByName("myrtf").isNull());
    t->first();
    t->next();
    QVERIFY(!t->locate("mydate", "2004-1-1"));
}

void TestDiaryTable::locateAndLookup() {
    StoreFixture fx;
    auto t = fx.table();
    StoreFixture::fill(*t, {"2004-3-1", "abc-1-1", "2004-3-5"});
    t->first();
    QVERIFY(t->locate("mydate", "ABC-1-1"));  // without regard to case
    QCOMPARE(t->recNo(), 2);
    QVERIFY(!t->locate("mydate", "2004-3-4"));
    QCOMPARE(t->recNo(), 2);  // unchanged
    QCOMPARE(t->lookup("mydate", "2004-3-5", "mydate"), std::optional<QString>("2004-3-5"));
    QCOMPARE(t->lookup("mydate", "2004-3-4", "mydate"), std::nullopt);
    QCOMPARE(t->recNo(), 2);  // lookup never moves
    // "2004-1-1" must not match a record of 2004-1-12 or 2004-11-1.
    StoreFixture::fill(*t, {"2004-1-12", "2004-11-1"});
    QVERIFY(!t->locate("mydate", "2004-1-1"));
}

void TestDiaryTable::cursorsSeeEachOthersPosts() {
    StoreFixture fx;
    auto a = fx.table();
    auto b = fx.table();
    StoreFixture::fill(*a, {"2004-3-1", "2004-3-2", "2004-3-3"});
    QCOMPARE(b->recordCount(), 3);
    b->moveToRecNo(2);
    a->first();
    a->edit();
    a->setFieldByName("myrtf", QByteArray("changed"));
    a->post();
    QCOMPARE(b->recNo(), 2);  // b keeps its own record
    b->first();
    QCOMPARE(b->blobField("myrtf"), QByteArray("changed"));
    b->moveToRecNo(2);
    a->moveToRecNo(2);
    QVERIFY(a->remove());
    QCOMPARE(b->recordCount(), 2);
    QCOMPARE(b->stringField("mydate"), QString("2004-3-3"));  // its record went; it stands on the next
}

void TestDiaryTable::beforeDeleteCanCancel() {
    StoreFixture fx;
    auto t = fx.table();
    StoreFixture::fill(*t, {"2004-3-1", "2004-3-2"});
    int asked = 0;
    t->beforeDelete = [&] { return ++asked > 1; };
    QVERIFY(!t->remove());
    QCOMPARE(t->recordCount(), 2);
    QCOMPARE(t->recNo(), 2);
    QVERIFY(t->remove());
    QCOMPARE(t->recordCount(), 1);
    QCOMPARE(asked, 2);
}

void TestDiaryTable::untouchedAppendLeavesNoRecord() {
    StoreFixture fx;
    auto t = fx.table();
    StoreFixture::fill(*t, {"2004-3-1", "2004-3-2", "2004-3-3"});
    t->moveToRecNo(1);
    t->last();
    t->append();
    t->prior();  // nothing was set: the started record is dropped
    QCOMPARE(t->recordCount(), 3);
    QCOMPARE(t->recNo(), 2);
    t->last();
    t->append();
    t->setFieldByName("mydate", "2004-3-4");
    t->first();  // a set field is posted by the move
    QCOMPARE(t->recordCount(), 4);
}

void TestDiaryTable::editChangesOnlyTheFieldsSet() {
    StoreFixture fx;
    auto t = fx.table();
    StoreFixture::fill(*t, {"2004-3-1", "2004-3-2"});
    t->first();
    t->edit();
    t->setFieldByName("myrtf", QByteArray("new text"));
    t->post();
    QCOMPARE(t->recordCount(), 2);
    QCOMPARE(t->recNo(), 1);
    QCOMPARE(t->stringField("mytime"), QString("10:00:00"));
    QCOMPARE(t->stringField("mydate"), QString("2004-3-1"));
    QCOMPARE(t->blobField("myrtf"), QByteArray("new text"));
    // Changing the date moves the record's key, not its place.
    t->edit();
    t->setFieldByName("mydate", "2004-9-9");
    t->post();
    QVERIFY(!t->locate("mydate", "2004-3-1"));
    QVERIFY(t->locate("mydate", "2004-9-9"));
    QCOMPARE(t->recNo(), 1);
}

void TestDiaryTable::blobIsKeptByteForByte() {
    StoreFixture fx;
    auto t = fx.table();
    QByteArray bytes;
    for (int i = 0; i < (1 << 20); ++i) bytes.append(char((i * 7919) & 0xff));
    t->append();
    t->setFieldByName("mydate", "2004-1-1");
    t->setFieldByName("myrtf", bytes);
    t->post();
    t->close();
    auto again = fx.table();
    QCOMPARE(again->blobField("myrtf"), bytes);
    // Emptying the field empties it.
    again->edit();
    again->setFieldByName("myrtf", QByteArray());
    again->post();
    QCOMPARE(again->blobField("myrtf"), QByteArray());
}

void TestDiaryTable::tableOpensOnlyWithItsPassword() {
    StoreFixture fx;
    DbSession::instance().resetForTesting();
    DiaryTable t;
    t.setDatabaseName(fx.files.folder);
    t.setTableName("anna.db");
    try {
        t.open();
        QFAIL("opened without the table password");
    } catch (const EngineError& e) {
        QCOMPARE(e.kind(), EngineError::Kind::NoPassword);
    }
    DbSession::instance().addPassword("wrong");
    QVERIFY_THROWS_EXCEPTION(EngineError, t.open());
    DbSession::instance().addPassword(daybook::kTablePassword);
    t.open();
    QVERIFY(t.active());
}

void TestDiaryTable::damageIsReported_data() {
    QTest::addColumn<QString>("damage");
    for (const char* d : {"zero-byte table", "zero-byte blob file", "truncated table", "truncated blob file",
                          "garbage table", "garbage blob file", "missing blob file", "not a daybook file",
                          "missing table", "failed check", "blob file of another daybook",
                          "blob file of another day"})
        QTest::newRow(d) << QString::fromLatin1(d);
}

void TestDiaryTable::damageIsReported() {
    QFETCH(QString, damage);
    StoreFixture fx;
    {
        auto t = fx.table();
        QByteArray big(20000, 'x');
        for (int i = 0; i < 30; ++i) {
            t->append();
            t->setFieldByName("mydate", daybook::crealdate(QDate(2004, 1, 1).addDays(i)));
            t->setFieldByName("myrtf", big);
            t->post();
        }
    }
    DbSession::instance().resetForTesting();
    DbSession::instance().addPassword(daybook::kTablePassword);
    const auto& f = fx.files;
    auto truncate = [](const QString& p) { QFile q(p); q.open(QIODevice::ReadWrite); q.resize(q.size() / 2 + 100); };
    auto garbage = [](const QString& p) { QFile q(p); q.open(QIODevice::WriteOnly | QIODevice::Truncate); q.write(QByteArray(8192, '\x5a')); };
    if (damage == "zero-byte table") QFile(f.db).resize(0);
    else if (damage == "zero-byte blob file") QFile(f.mb).resize(0);
    else if (damage == "truncated table") truncate(f.db);
    else if (damage == "truncated blob file") truncate(f.mb);
    else if (damage == "garbage table") garbage(f.db);
    else if (damage == "garbage blob file") garbage(f.mb);
    else if (damage == "missing blob file") QFile::remove(f.mb);
    else if (damage == "not a daybook file") {
        QFile::remove(f.db);
        sqlExec(f.db, "CREATE TABLE other(x)");
    } else if (damage == "missing table") sqlExec(f.db, "DROP TABLE diary");
    else if (damage == "failed check") {
        const int page = rootPage(f.db, "diary");
        QVERIFY(page > 1);
        // An interior b-tree page with a broken cell pointer array.
        overwrite(f.db, qint64(page - 1) * 4096 + 3, QByteArray("\x7f\x7f\x00\x01\xff\xff\xff", 7));
    } else if (damage == "blob file of another daybook") {
        StoreFixture other("bert");
        auto t = other.table();
        StoreFixture::fill(*t, {"2004-1-1"});
        t->close();
        QFile::remove(f.mb);
        QVERIFY(QFile::copy(other.files.mb, f.mb));
        DbSession::instance().addPassword(daybook::kTablePassword);
    } else if (damage == "blob file of another day") {
        QVERIFY(QFile::copy(f.mb, f.mb + ".old"));
        {
            auto t = fx.table();
            StoreFixture::fill(*t, {"2006-1-1"});
        }
        QFile::remove(f.mb);
        QVERIFY(QFile::rename(f.mb + ".old", f.mb));
    }
    DbSession::instance().resetForTesting();
    DbSession::instance().addPassword(daybook::kTablePassword);
    DiaryTable t;
    t.setDatabaseName(f.folder);
    t.setTableName("anna.db");
    try {
        t.open();
        QFAIL("a damaged daybook opened");
    } catch (const EngineError& e) {
        QCOMPARE(e.kind(), EngineError::Kind::Damaged);
        QVERIFY(!e.message().isEmpty());
    }
}

void TestDiaryTable::failedWriteLosesNothing() {
    StoreFixture fx;
    auto t = fx.table();
    StoreFixture::fill(*t, {"2004-3-1", "2004-3-2"});
    const QByteArray before = QByteArray(300000, 'a');
    t->first();
    t->edit();
    t->setFieldByName("myrtf", before);
    t->post();
    {
        FileSizeLimit full(1024);
        t->edit();
        t->setFieldByName("myrtf", QByteArray(400000, 'b'));
        try {
            t->post();
            QFAIL("a post on a full disk reported success");
        } catch (const EngineError& e) {
            QCOMPARE(e.kind(), EngineError::Kind::WriteFailed);
            QVERIFY2(e.message().contains("disk is full") || e.message().contains("error"),
                     qPrintable(e.message()));
        }
        t->cancel();
        t->append();
        t->setFieldByName("mydate", "2004-3-3");
        QVERIFY_THROWS_EXCEPTION(EngineError, t->post());
        QCOMPARE(t->state(), DiaryTable::State::Insert);  // the values wait for the next try
    }
    t->post();  // room again: the same post succeeds
    QCOMPARE(t->recordCount(), 3);
    t->first();
    QCOMPARE(t->blobField("myrtf"), before);
    t->close();
    DbSession::instance().resetForTesting();
    DbSession::instance().addPassword(daybook::kTablePassword);
    auto again = fx.table();
    QCOMPARE(again->blobField("myrtf"), before);
    QCOMPARE(again->dates(), (QStringList{"2004-3-1", "2004-3-2", "2004-3-3"}));
}

QTEST_GUILESS_MAIN(TestDiaryTable)
#include "tst_diarytable.moc"
