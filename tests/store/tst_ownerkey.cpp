// The password as the key to the diaries: right and wrong passwords, what the
// files hold, damaged and misplaced content, the key's lifetime, the password
// change, backups, limits, and daybooks made before encryption.
#include "storefixture.h"

#include "store/sealedcontent.h"

#include <QDirIterator>
#include <QRandomGenerator>
#include <QtTest>
#include <sodium.h>
#include <sqlite3.h>

namespace {

// Runs one statement on a daybook file behind the program's back.
void sqlOn(const QString& path, const QString& query, const QList<QVariant>& args = {}) {
    sqlite3* db = nullptr;
    QCOMPARE(sqlite3_open(QFile::encodeName(path).constData(), &db), SQLITE_OK);
    sqlite3_stmt* st = nullptr;
    QCOMPARE(sqlite3_prepare_v2(db, query.toUtf8().constData(), -1, &st, nullptr), SQLITE_OK);
    for (int i = 0; i < args.size(); ++i) {
        if (args[i].typeId() == QMetaType::QByteArray) {
            const QByteArray b = args[i].toByteArray();
            sqlite3_bind_blob(st, i + 1, b.constData(), int(b.size()), SQLITE_TRANSIENT);
        } else {
            sqlite3_bind_text(st, i + 1, args[i].toString().toUtf8().constData(), -1, SQLITE_TRANSIENT);
        }
    }
    while (sqlite3_step(st) == SQLITE_ROW) {}
    sqlite3_finalize(st);
    sqlite3_close(db);
}

// The bytes stored for record id in a blob file.
QByteArray storedBlob(const QString& mbPath, qint64 id) {
    sqlite3* db = nullptr;
    sqlite3_open_v2(QFile::encodeName(mbPath).constData(), &db, SQLITE_OPEN_READONLY, nullptr);
    sqlite3_stmt* st = nullptr;
    sqlite3_prepare_v2(db, "SELECT data FROM blobs WHERE id=?1", -1, &st, nullptr);
    sqlite3_bind_int64(st, 1, id);
    QByteArray out;
    if (sqlite3_step(st) == SQLITE_ROW)
        out = QByteArray(static_cast<const char*>(sqlite3_column_blob(st, 0)), sqlite3_column_bytes(st, 0));
    sqlite3_finalize(st);
    sqlite3_close(db);
    return out;
}

QByteArray bytesOf(const QString& path) {
    QFile f(path);
    f.open(QIODevice::ReadOnly);
    return f.readAll();
}

QString ownerRecord(const CreatedDaybook& d) {
    auto t = d.reopen();
    return t->stringField("mycfg");
}

void setOwnerRecord(const CreatedDaybook& d, const QString& config) {
    sqlOn(d.files.db, "UPDATE diary SET mycfg=?1 WHERE id=1", {config});
}

bool contentLocked(DiaryTable& t) {
    try {
        t.blobField("myrtf");
        return false;
    } catch (const EngineError&) {
        return true;
    }
}

// Reads every diary in table order; an entry that fails to open reads as "!".
QList<QByteArray> readAll(DiaryTable& t) {
    QList<QByteArray> out;
    t.first();
    for (int i = 0; i < t.recordCount(); ++i, t.next()) {
        try {
            out << t.blobField("myrtf");
        } catch (const EngineError& e) {
            out << (e.kind() == EngineError::Kind::Damaged ? QByteArray("!") : QByteArray("?"));
        }
    }
    return out;
}

const QList<QByteArray> kThree = {"first diary", "second diary, with more words", "third diary"};

}  // namespace

class TestOwnerKey : public QObject {
    Q_OBJECT
private slots:
    void passwordOpensTheDiaries_data();
    void passwordOpensTheDiaries();
    void damagedOwnerRecordIsDamage_data();
    void damagedOwnerRecordIsDamage();
    void filesHoldNoDiaryBytes();
    void damagedEntryFailsAlone_data();
    void damagedEntryFailsAlone();
    void misplacedContentFailsToOpen_data();
    void misplacedContentFailsToOpen();
    void keyGoesWithTheLastTableObject();
    void passwordChangeChecksInOrder_data();
    void passwordChangeChecksInOrder();
    void backupFromBeforeAChangeKeepsTheOldPassword();
    void limitsAreKeptPerDaybook();
    void plainDaybookIsEncryptedByItsFirstLogin();
};

void TestOwnerKey::passwordOpensTheDiaries_data() {
    QTest::addColumn<QString>("user");
    QTest::addColumn<QString>("typed");
    QTest::addColumn<bool>("opens");
    QTest::newRow("right") << "anna" << "pa?ss  " << true;
    QTest::newRow("blanks trimmed") << "anna" << "pa?ss" << false;
    QTest::newRow("case of password") << "anna" << "PA?SS  " << false;
    QTest::newRow("case of name") << "Anna" << "pa?ss  " << false;
    QTest::newRow("prefix of name") << "ann" << "pa?ss  " << false;
}

void TestOwnerKey::passwordOpensTheDiaries() {
    QFETCH(QString, user);
    QFETCH(QString, typed);
    QFETCH(bool, opens);
    CreatedDaybook d("pa?ss  ");
    d.write("pa?ss  ", kThree);
    auto t = d.reopen();
    QVERIFY(contentLocked(*t));
    QCOMPARE(ownerkey::unlock(*t, user, typed), opens);
    QCOMPARE(contentLocked(*t), !opens);
    if (opens) {
        QCOMPARE(readAll(*t), kThree);
        QCOMPARE(readAll(*d.another()), kThree);  // every table object on the table
    }
}

void TestOwnerKey::damagedOwnerRecordIsDamage_data() {
    QTest::addColumn<QString>("damage");
    QTest::addColumn<int>("result");  // 0 wrong password, 1 opens, 2 damaged
    QTest::newRow("untouched") << "" << 1;
    QTest::newRow("empty record never matches") << "empty" << 0;
    QTest::newRow("another name") << "name" << 0;
    QTest::newRow("garbage secret") << "garbage" << 2;
    QTest::newRow("truncated") << "truncated" << 2;
    QTest::newRow("one character of the wrapped key changed") << "flip" << 2;
    QTest::newRow("limits changed") << "limits" << 2;
}

void TestOwnerKey::damagedOwnerRecordIsDamage() {
    QFETCH(QString, damage);
    QFETCH(int, result);
    CreatedDaybook d("pw");
    QString cfg = ownerRecord(d);
    if (damage == "empty") cfg.clear();
    else if (damage == "name") cfg.replace(0, 4, "bert");
    else if (damage == "garbage") cfg = "anna?not a key";
    else if (damage == "truncated") cfg.chop(5);
    else if (damage == "flip") {
        const int at = cfg.lastIndexOf('$') - 10;
        cfg[at] = cfg[at] == QLatin1Char('A') ? QLatin1Char('B') : QLatin1Char('A');
    } else if (damage == "limits") cfg.replace("xk1$1$", "xk1$2$");
    setOwnerRecord(d, cfg);
    auto t = d.reopen();
    int got = -1;
    try {
        got = ownerkey::unlock(*t, "anna", "pw") ? 1 : 0;
    } catch (const EngineError& e) {
        if (e.kind() == EngineError::Kind::Damaged) got = 2;
    }
    QCOMPARE(got, result);
    // A damaged record is never taken for a wrong password of an intact one.
    if (result != 2) QCOMPARE(ownerkey::unlock(*t, "anna", "wrong"), false);
}

void TestOwnerKey::filesHoldNoDiaryBytes() {
    // a password long enough that it cannot turn up in the record by chance
    const QString password = QStringLiteral("tide tables of 1897");
    CreatedDaybook d(password);
    QByteArray picture(300, Qt::Uninitialized);
    for (char& c : picture) c = char(QRandomGenerator::global()->bounded(256));
    const QByteArray text = "Meet Clara at the old lighthouse at dawn";
    const QByteArray hex = picture.toHex();
    // The picture as the editor writes it (hex) and in its binary form.
    const QByteArray rtf = "{\\rtf1\\ansi " + text + "\\par{\\pict\\pngblip\\picw16\\pich16 " + hex +
                           "}{\\pict\\pngblip\\bin" + QByteArray::number(picture.size()) + " " + picture + "}}";
    d.write(password, {rtf, "an older version: " + text});
    {
        auto t = d.reopen();
        QVERIFY(ownerkey::unlock(*t, "anna", password));
        t->last();
        t->edit();
        t->setFieldByName("myrtf", rtf + " the newer version");
        t->post();
        QCOMPARE(readAll(*t), (QList<QByteArray>{rtf, rtf + " the newer version"}));
    }
    DbSession::instance().resetForTesting();
    // Nothing else was left in the folder: no temporary or journal file.
    QCOMPARE(QDir(d.files.folder).entryList(QDir::Files | QDir::Hidden), (QStringList{"anna.db", "anna.mb"}));
    for (const QString& path : {d.files.db, d.files.mb}) {
        const QByteArray file = bytesOf(path);
        QVERIFY2(!file.contains("lighthouse"), qPrintable(path));
        QVERIFY2(!file.contains("rtf1"), qPrintable(path));
        for (int i = 0; i + 16 <= picture.size(); i += 8) {
            QVERIFY2(!file.contains(picture.mid(i, 16)), qPrintable(path + ": picture bytes"));
            QVERIFY2(!file.contains(hex.mid(2 * i, 32)), qPrintable(path + ": picture hex"));
        }
    }
    QVERIFY(!ownerRecord(d).contains(password, Qt::CaseInsensitive));
}

void TestOwnerKey::damagedEntryFailsAlone_data() {
    QTest::addColumn<int>("offset");  // into the stored bytes; negative counts from the end
    QTest::newRow("format byte") << 0;
    QTest::newRow("nonce") << 10;
    QTest::newRow("ciphertext") << 40;
    QTest::newRow("tag") << -1;
}

void TestOwnerKey::damagedEntryFailsAlone() {
    QFETCH(int, offset);
    CreatedDaybook d("pw");
    d.write("pw", kThree);
    DbSession::instance().resetForTesting();
    // A flipped byte in the blob file itself, inside the second diary.
    const QByteArray stored = storedBlob(d.files.mb, 2);
    QByteArray file = bytesOf(d.files.mb);
    const qint64 at = file.indexOf(stored);
    QVERIFY(at > 0);
    file[at + (offset < 0 ? stored.size() + offset : offset)] ^= 0x20;
    QFile f(d.files.mb);
    QVERIFY(f.open(QIODevice::WriteOnly));
    f.write(file);
    f.close();
    auto t = d.reopen();  // the table opens: the damage is in one entry only
    QVERIFY(ownerkey::unlock(*t, "anna", "pw"));
    QCOMPARE(readAll(*t), (QList<QByteArray>{kThree[0], "!", kThree[2]}));
}

void TestOwnerKey::misplacedContentFailsToOpen_data() {
    QTest::addColumn<QString>("how");
    QTest::addColumn<QList<QByteArray>>("reads");
    QTest::newRow("two swapped between records") << "swap" << QList<QByteArray>{kThree[0], "!", "!"};
    QTest::newRow("one copied over another") << "copy" << QList<QByteArray>{kThree[0], kThree[1], "!"};
    QTest::newRow("from another daybook") << "other daybook" << QList<QByteArray>{kThree[0], "!", kThree[2]};
    QTest::newRow("same key, another daybook's identity") << "identity" << QList<QByteArray>{"!", "!", "!"};
}

void TestOwnerKey::misplacedContentFailsToOpen() {
    QFETCH(QString, how);
    QFETCH(QList<QByteArray>, reads);
    CreatedDaybook d("pw");
    d.write("pw", kThree);
    DbSession::instance().resetForTesting();
    const QByteArray two = storedBlob(d.files.mb, 2), three = storedBlob(d.files.mb, 3);
    auto put = [&](qint64 id, const QByteArray& data) {
        sqlOn(d.files.mb, "UPDATE blobs SET data=?1 WHERE id=" + QString::number(id), {data});
    };
    if (how == "swap") {
        put(2, three);
        put(3, two);
    } else if (how == "copy") {
        put(3, two);
    } else if (how == "other daybook") {
        CreatedDaybook other("pw", "bert");
        other.write("pw", {"bert's first", "bert's second"});
        DbSession::instance().resetForTesting();
        put(2, storedBlob(other.files.mb, 2));
    } else if (how == "identity") {
        for (const QString& path : {d.files.db, d.files.mb})
            sqlOn(path, "UPDATE meta SET value='another' WHERE key='identity'");
    }
    auto t = d.reopen();
    QVERIFY(ownerkey::unlock(*t, "anna", "pw"));
    QCOMPARE(readAll(*t), reads);
}

void TestOwnerKey::keyGoesWithTheLastTableObject() {
    CreatedDaybook d("pw");
    d.write("pw", kThree);
    DbSession::instance().resetForTesting();
    const int before = DataKey::liveCount();
    auto a = d.reopen();
    QVERIFY(ownerkey::unlock(*a, "anna", "pw"));
    QCOMPARE(DataKey::liveCount(), before + 1);
    auto b = d.another();
    QCOMPARE(DataKey::liveCount(), before + 1);
    a->close();
    QCOMPARE(readAll(*b), kThree);  // the daybook is still open through b
    b->close();
    QCOMPARE(DataKey::liveCount(), before);
    // A later session starts locked again.
    QVERIFY(contentLocked(*d.another()));
    // A failed attempt leaves no key behind either.
    auto c = d.another();
    QVERIFY(!ownerkey::unlock(*c, "anna", "wrong"));
    QCOMPARE(DataKey::liveCount(), before);
}

void TestOwnerKey::passwordChangeChecksInOrder_data() {
    QTest::addColumn<QString>("old");
    QTest::addColumn<QString>("fresh");
    QTest::addColumn<QString>("verify");
    QTest::addColumn<int>("outcome");
    QTest::addColumn<QString>("message");
    using R = ownerkey::PasswordChange;
    QTest::newRow("old wrong first") << "Old" << "" << "" << int(R::OldWrong) << "Old password is wrong!";
    QTest::newRow("nothing new") << "old" << "" << "" << int(R::NewEmpty) << "You need enter your new password";
    QTest::newRow("only verify") << "old" << "" << "n" << int(R::NewDiffers) << "The new password and verify must match!";
    QTest::newRow("differ in case") << "old" << "New" << "new" << int(R::NewDiffers)
                                    << "The new password and verify must match!";
    QTest::newRow("changed") << "old" << "n3w? " << "n3w? " << int(R::Changed) << "anna,your password is n3w?  now!";
}

void TestOwnerKey::passwordChangeChecksInOrder() {
    QFETCH(QString, old);
    QFETCH(QString, fresh);
    QFETCH(QString, verify);
    QFETCH(int, outcome);
    QFETCH(QString, message);
    CreatedDaybook d("old");
    d.write("old", kThree);
    const QString before = ownerRecord(d);
    // The main window's table object, on the second diary.
    auto main = d.reopen();
    QVERIFY(ownerkey::unlock(*main, "anna", "old"));
    main->moveToRecNo(2);
    DiaryTable own;  // the change window's own table object
    own.setDatabaseName(d.files.folder);
    own.setTableName("anna.db");
    const auto r = ownerkey::changePassword(own, "anna", old, fresh, verify);
    QCOMPARE(int(r.outcome), outcome);
    QCOMPARE(r.message, message);
    QCOMPARE(main->recNo(), 2);
    QCOMPARE(main->blobField("myrtf"), kThree[1]);
    own.close();
    main->close();
    const bool changed = outcome == ownerkey::PasswordChange::Changed;
    if (!changed) QCOMPARE(ownerRecord(d), before);  // nothing written
    auto t = d.reopen();
    QCOMPARE(ownerkey::unlock(*t, "anna", "old"), !changed);
    QCOMPARE(ownerkey::unlock(*t, "anna", fresh), changed);
    QCOMPARE(readAll(*t), kThree);
}

void TestOwnerKey::backupFromBeforeAChangeKeepsTheOldPassword() {
    CreatedDaybook d("old");
    d.write("old", kThree);
    DbSession::instance().resetForTesting();
    QVERIFY(daybook::backup(d.files));
    {
        auto t = d.reopen();
        QVERIFY(ownerkey::unlock(*t, "anna", "old"));
        QCOMPARE(ownerkey::changePassword(*t, "anna", "old", "new", "new").outcome, ownerkey::PasswordChange::Changed);
        t->append();
        t->setFieldByName("mydate", "2002-2-2");
        t->setFieldByName("myrtf", QByteArray("written after the change"));
        t->post();
    }
    QCOMPARE(readAll(*[&] { auto t = d.reopen(); ownerkey::unlock(*t, "anna", "new"); return t; }()).size(), 4);
    DbSession::instance().resetForTesting();
    QCOMPARE(daybook::restore(d.files), daybook::RestoreResult::Restored);
    auto t = d.reopen();
    QVERIFY(!ownerkey::unlock(*t, "anna", "new"));
    QVERIFY(ownerkey::unlock(*t, "anna", "old"));
    QCOMPARE(readAll(*t), kThree);
}

void TestOwnerKey::limitsAreKeptPerDaybook() {
    const credentials::KdfLimits older{2, quint64(16) << 20};
    credentials::setLimitsForTesting(older);
    TempAppDir app;
    DbSession::instance().resetForTesting();
    QCOMPARE(createDaybook(app.path(), app.path(), "anna", "pw", "pw").outcome, NewDaybookResult::Created);
    const auto f = daybook::filesFor(app.path(), "anna");
    DbSession::instance().addPassword(daybook::kTablePassword);
    DiaryTable t;
    t.setDatabaseName(f.folder);
    t.setTableName("anna.db");
    t.open();
    QCOMPARE(credentials::limitsOf(t.stringField("mycfg")), older);
    // Later limits do not lock out a daybook made with earlier ones; a change
    // of password moves it to the limits of its time.
    credentials::setLimitsForTesting(credentials::cheapestLimits());
    QVERIFY(ownerkey::unlock(t, "anna", "pw"));
    QCOMPARE(ownerkey::changePassword(t, "anna", "pw", "pw2", "pw2").outcome, ownerkey::PasswordChange::Changed);
    t.first();
    QCOMPARE(credentials::limitsOf(t.stringField("mycfg")), credentials::cheapestLimits());
    QVERIFY(credentials::checkConfig(t.stringField("mycfg"), "anna", "pw2"));
}

void TestOwnerKey::plainDaybookIsEncryptedByItsFirstLogin() {
    // A daybook as the program kept it before its diaries were encrypted: a
    // password hash in the owner record, the diaries as they were written.
    StoreFixture fx;
    char hash[crypto_pwhash_STRBYTES];
    QCOMPARE(crypto_pwhash_str(hash, "pw", 2, crypto_pwhash_OPSLIMIT_MIN, crypto_pwhash_MEMLIMIT_MIN), 0);
    const QList<QByteArray> plain = {"plain words of the first day", "plain words of the second day"};
    {
        auto t = fx.table();
        t->tableFile()->setContentCodec(std::make_shared<PlainContent>());
        t->append();
        t->setFieldByName("mycfg", "anna?" + QString::fromLatin1(hash));
        t->setFieldByName("mydate", "2003-1-1");
        t->setFieldByName("myrtf", plain[0]);
        t->post();
        StoreFixture::fill(*t, {"2003-1-2"});
        t->edit();
        t->setFieldByName("myrtf", plain[1]);
        t->post();
    }
    DbSession::instance().resetForTesting();
    DbSession::instance().addPassword(daybook::kTablePassword);
    QVERIFY(bytesOf(fx.files.mb).contains("plain words"));
    const QByteArray mbBefore = bytesOf(fx.files.mb);
    {
        DiaryTable t;
        t.setDatabaseName(fx.files.folder);
        t.setTableName("anna.db");
        t.open();
        QVERIFY(!ownerkey::unlock(t, "anna", "wrong"));
        QVERIFY(contentLocked(t));
    }
    QCOMPARE(bytesOf(fx.files.mb), mbBefore);  // a wrong password changes nothing
    for (int login = 0; login < 2; ++login) {
        DiaryTable t;
        t.setDatabaseName(fx.files.folder);
        t.setTableName("anna.db");
        t.open();
        QVERIFY(ownerkey::unlock(t, "anna", "pw"));
        QCOMPARE(readAll(t), plain);
        t.first();
        QVERIFY(credentials::limitsOf(t.stringField("mycfg")).has_value());
        t.close();
        DbSession::instance().resetForTesting();
        DbSession::instance().addPassword(daybook::kTablePassword);
        QVERIFY(!bytesOf(fx.files.mb).contains("plain words"));
        QVERIFY(!bytesOf(fx.files.db).contains("$argon2id$"));
    }
}

QTEST_GUILESS_MAIN(TestOwnerKey)
#include "tst_ownerkey.moc"
