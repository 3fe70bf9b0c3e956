// Daybook files and names, the date key, new daybooks, backups and restore.
#include "storefixture.h"

#include "store/credentials.h"
#include "platform/localeformat.h"
#include "store/daybookcreation.h"
#include "tests/support/fakeclock.h"

#include <QtTest>
#include <sys/stat.h>

class TestDaybook : public QObject {
    Q_OBJECT
private slots:
    void initTestCase() { credentials::setLimitsForTesting(credentials::cheapestLimits()); }
    void dateKey_data();
    void dateKey();
    void unusableNames_data();
    void unusableNames();
    void newDaybookChecksInOrder_data();
    void newDaybookChecksInOrder();
    void newDaybookHoldsItsOwnerRecord();
    void newDaybooksGetTheirOwnIdentity();
    void templatesMissingLeavesTheFolder();
    void backupAndRestore();
    void restoreNeedsBothBackups();
};

void TestDaybook::dateKey_data() {
    QTest::addColumn<QDate>("date");
    QTest::addColumn<QString>("key");
    QTest::newRow("no leading zeros") << QDate(2003, 1, 5) << "2003-1-5";
    QTest::newRow("two digits") << QDate(2003, 12, 25) << "2003-12-25";
    QTest::newRow("leap day") << QDate(2004, 2, 29) << "2004-2-29";
}

void TestDaybook::dateKey() {
    QFETCH(QDate, date);
    QFETCH(QString, key);
    QCOMPARE(daybook::crealdate(date), key);
    QCOMPARE(daybook::dateOfKey(key), date);
}

void TestDaybook::unusableNames_data() {
    QTest::addColumn<QString>("name");
    QTest::addColumn<bool>("usable");
    QTest::newRow("plain") << "anna" << true;
    QTest::newRow("blank inside") << "anna maria" << true;
    QTest::newRow("non-latin") << QString::fromUtf8("Łucja 日記") << true;
    QTest::newRow("slash") << "an/na" << false;
    QTest::newRow("backslash") << "an\\na" << false;
    QTest::newRow("dot dot") << ".." << false;
    QTest::newRow("leading dot") << ".anna" << false;
    QTest::newRow("control") << QString("an\nna") << false;
    QTest::newRow("tab") << QString("an\tna") << false;
    QTest::newRow("colon") << "a:b" << false;
    QTest::newRow("star") << "a*b" << false;
    QTest::newRow("question") << "a?b" << false;
}

void TestDaybook::unusableNames() {
    QFETCH(QString, name);
    QFETCH(bool, usable);
    QCOMPARE(!daybook::nameProblem(name).has_value(), usable);
}

void TestDaybook::newDaybookChecksInOrder_data() {
    QTest::addColumn<QString>("user");
    QTest::addColumn<QString>("password");
    QTest::addColumn<QString>("verify");
    QTest::addColumn<int>("outcome");
    QTest::addColumn<QString>("message");
    using R = NewDaybookResult;
    QTest::newRow("empty name first") << "" << "" << "x" << int(R::EmptyName) << "You must enter the user name!";
    QTest::newRow("unusable name") << "../x" << "a" << "a" << int(R::UnusableName) << "";
    QTest::newRow("taken before passwords") << "taken" << "" << "" << int(R::NameTaken)
                                            << "The user name has existed,please change to another one!";
    QTest::newRow("no password") << "new" << "" << "" << int(R::EmptyPassword) << "You must enter the password!";
    QTest::newRow("only verify") << "new" << "" << "x" << int(R::PasswordsDiffer)
                                 << "The new password and verify must match!";
    QTest::newRow("case differs") << "new" << "Pass" << "pass" << int(R::PasswordsDiffer)
                                  << "The new password and verify must match!";
    QTest::newRow("created") << "new" << "pass" << "pass" << int(R::Created) << "";
}

void TestDaybook::newDaybookChecksInOrder() {
    QFETCH(QString, user);
    QFETCH(QString, password);
    QFETCH(QString, verify);
    QFETCH(int, outcome);
    QFETCH(QString, message);
    TempAppDir app;
    DbSession::instance().resetForTesting();
    QDir().mkpath(app.path() + "taken");  // a folder without daybook files still takes the name
    const auto r = createDaybook(app.path(), app.path(), user, password, verify);
    QCOMPARE(int(r.outcome), outcome);
    if (!message.isEmpty()) QCOMPARE(r.message, message);
    // Nothing is made for a refused name.
    if (outcome != NewDaybookResult::Created && outcome != NewDaybookResult::NameTaken && !user.isEmpty())
        QVERIFY(!QFileInfo::exists(app.path() + user));
    QVERIFY(!QFileInfo::exists(app.path() + "x"));
}

void TestDaybook::newDaybookHoldsItsOwnerRecord() {
    TempAppDir app;
    DbSession::instance().resetForTesting();
    FakeClock clock(QDateTime(QDate(2004, 5, 17), QTime(7, 30, 0)));
    QCOMPARE(createDaybook(app.path(), app.path(), "anna", "pa?ss  ", "pa?ss  ").outcome, NewDaybookResult::Created);
    const auto f = daybook::filesFor(app.path(), "anna");
    QVERIFY(daybook::exists(f));
    // Owner-only folder and files.
    struct stat st{};
    QCOMPARE(::stat(QFile::encodeName(f.folder).constData(), &st), 0);
    QCOMPARE(st.st_mode & 0777, 0700u);
    QCOMPARE(::stat(QFile::encodeName(f.db).constData(), &st), 0);
    QCOMPARE(st.st_mode & 0777, 0600u);
    DiaryTable t;
    t.setDatabaseName(f.folder);
    t.setTableName("anna.db");
    t.open();
    QCOMPARE(t.recordCount(), 1);
    QCOMPARE(t.stringField("mydate"), QString("2004-5-17"));
    QCOMPARE(t.stringField("mytime"), localefmt::longTime(QTime(7, 30, 0)));
    QVERIFY(t.blobField("myrtf").isEmpty());
    const QString cfg = t.stringField("mycfg");
    QVERIFY(cfg.startsWith("anna?"));
    QVERIFY2(!cfg.contains("pa?ss"), "the password is stored in plain text");
    QVERIFY(credentials::checkConfig(cfg, "anna", "pa?ss  "));
    QCOMPARE(credentials::limitsOf(cfg), credentials::cheapestLimits());
}

void TestDaybook::newDaybooksGetTheirOwnIdentity() {
    TempAppDir app;
    DbSession::instance().resetForTesting();
    createDaybook(app.path(), app.path(), "anna", "a", "a");
    createDaybook(app.path(), app.path(), "bert", "b", "b");
    auto idOf = [&](const QString& u) {
        DiaryTable t;
        t.setDatabaseName(app.path() + u);
        t.setTableName(u + ".db");
        t.open();
        return t.tableFile()->identity();
    };
    QVERIFY(idOf("anna") != idOf("bert"));
}

void TestDaybook::templatesMissingLeavesTheFolder() {
    TempAppDir app(false);
    DbSession::instance().resetForTesting();
    auto r = createDaybook(app.path(), app.path(), "anna", "a", "a");
    QCOMPARE(r.outcome, NewDaybookResult::TemplatesMissing);
    QCOMPARE(r.message, QString("Can't find diary.db,diary.mb files"));
    QVERIFY(QFileInfo(app.path() + "anna").isDir());
    QCOMPARE(createDaybook(app.path(), app.path(), "anna", "a", "a").outcome, NewDaybookResult::NameTaken);
}

void TestDaybook::backupAndRestore() {
    StoreFixture fx;
    {
        auto t = fx.table();
        StoreFixture::fill(*t, {"2004-1-1", "2004-1-2"});
        QVERIFY(daybook::backup(fx.files));  // with the table still open
        StoreFixture::fill(*t, {"2004-1-3"});
    }
    auto bytes = [](const QString& p) { QFile f(p); f.open(QIODevice::ReadOnly); return f.readAll(); };
    QVERIFY(bytes(fx.files.dbbak) != bytes(fx.files.db));
    // A journal left by a crash must not be replayed into the restored copy.
    QFile j(fx.files.db + "-journal");
    j.open(QIODevice::WriteOnly);
    j.write(QByteArray(4096, 'j'));
    j.close();
    QCOMPARE(daybook::restore(fx.files), daybook::RestoreResult::Restored);
    QVERIFY(!QFileInfo::exists(fx.files.db + "-journal"));
    QCOMPARE(bytes(fx.files.db), bytes(fx.files.dbbak));
    QCOMPARE(bytes(fx.files.mb), bytes(fx.files.mbbak));
    DbSession::instance().resetForTesting();
    DbSession::instance().addPassword(daybook::kTablePassword);
    auto t = fx.table();
    QCOMPARE(t->dates(), (QStringList{"2004-1-1", "2004-1-2"}));
    QVERIFY(QFileInfo::exists(fx.files.dbbak));  // the backups stay
}

void TestDaybook::restoreNeedsBothBackups() {
    StoreFixture fx;
    QVERIFY(daybook::backup(fx.files));
    QFile::remove(fx.files.mbbak);
    const QByteArray before = [&] { QFile f(fx.files.db); f.open(QIODevice::ReadOnly); return f.readAll(); }();
    QCOMPARE(daybook::restore(fx.files), daybook::RestoreResult::BackupMissing);
    QFile f(fx.files.db);
    f.open(QIODevice::ReadOnly);
    QCOMPARE(f.readAll(), before);
}

QTEST_GUILESS_MAIN(TestDaybook)
#include "tst_daybook.moc"
