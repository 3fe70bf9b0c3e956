// The login window: its messages, the restore offer, the remembered name,
// and what a successful login shows.
#include "sessionfixture.h"

#include "platform/localeformat.h"

class TestLogin : public QObject {
    Q_OBJECT
private slots:
    void messages_data();
    void messages();
    void everyDamageOffersTheRestore_data();
    void everyDamageOffersTheRestore();
    void restoredDaybookOpensAtTheNextOk();
    void rememberedNameIsTheLastOneTyped();
    void unwritableMachineStoreAtStart();
    void creationDayShowsTheFirstDiaryWithItsTemplate();
    void laterDayPreparesANewDiary();
    void storedDiaryOfTodayIsShown();
    void namesAreTrimmedPasswordsAreNot();
};

namespace {

void damage(const QString& kind, const daybook::Files& f, const QString& otherMb = {}) {
    if (kind == "zero-byte table") QFile(f.db).resize(0);
    else if (kind == "garbage blob file") {
        QFile q(f.mb);
        q.open(QIODevice::WriteOnly | QIODevice::Truncate);
        q.write(QByteArray(4096, 'g'));
    } else if (kind == "truncated table") {
        QFile q(f.db);
        q.open(QIODevice::ReadWrite);
        q.resize(q.size() - 100);
    } else if (kind == "blob file of another daybook") {
        QFile::remove(f.mb);
        QFile::copy(otherMb, f.mb);
    } else if (kind == "not a daybook file") {
        QFile q(f.db);
        q.open(QIODevice::WriteOnly | QIODevice::Truncate);
        q.write("{\\rtf1 this is no table}");
    }
}

}  // namespace

void TestLogin::messages_data() {
    QTest::addColumn<QString>("setup");
    QTest::addColumn<QString>("user");
    QTest::addColumn<QString>("password");
    QTest::addColumn<bool>("agree");
    QTest::addColumn<QStringList>("said");
    QTest::addColumn<QString>("userAfter");
    QTest::addColumn<QString>("passwordAfter");
    const QString offer = "Diary data file may be destroyed!Auto restore?";
    QTest::newRow("empty user name") << "" << "   " << "pw" << false
        << QStringList{"You must enter the user name or click \"Create new\" button to creat a new daybook"} << "" << "pw";
    QTest::newRow("empty password") << "" << "anna" << "" << false
        << QStringList{"You must enter the password!"} << "anna" << "";
    QTest::newRow("no such daybook") << "" << "nobody" << "pw" << false
        << QStringList{"User Name does not Exsited"} << "" << "";
    QTest::newRow("blob file missing") << "no blob file" << "anna" << "secret" << false
        << QStringList{"User Name does not Exsited"} << "" << "";
    QTest::newRow("unusable name") << "" << "../anna" << "pw" << false
        << QStringList{"User Name does not Exsited"} << "" << "";
    QTest::newRow("wrong password") << "" << "anna" << "Secret" << false
        << QStringList{"Password is wrong!!!"} << "anna" << "";
    QTest::newRow("damaged, declined") << "damaged" << "anna" << "secret" << false
        << QStringList{offer} << "anna" << "secret";
    QTest::newRow("damaged, restored") << "damaged with backups" << "anna" << "secret" << true
        << QStringList{offer, "Auto restore successfully!You can login now!"} << "anna" << "secret";
    QTest::newRow("damaged, a backup missing") << "damaged, one backup" << "anna" << "secret" << true
        << QStringList{offer, "Backup files do not exist!"} << "anna" << "secret";
    QTest::newRow("name cannot be remembered") << "machine store unwritable" << "anna" << "secret" << false
        << QStringList{"Failed to set data for 'Lastname'"} << "anna" << "secret";
}

void TestLogin::messages() {
    QFETCH(QString, setup);
    QFETCH(QString, user);
    QFETCH(QString, password);
    QFETCH(bool, agree);
    QFETCH(QStringList, said);
    QFETCH(QString, userAfter);
    QFETCH(QString, passwordAfter);
    Session s;
    s.makeDaybook("anna", "secret");
    const auto f = s.files();
    if (setup == "no blob file") QFile::remove(f.mb);
    if (setup.startsWith("damaged")) {
        if (setup != "damaged") QVERIFY(daybook::backup(f));
        if (setup == "damaged, one backup") QFile::remove(f.mbbak);
        damage("zero-byte table", f);
    }
    if (setup == "machine store unwritable") {
        QFile::remove(TForm2::machineStorePath());
        QVERIFY(QDir().mkpath(TForm2::machineStorePath() + "/blocked"));
    }
    s.prompt.confirmAnswers = {agree};
    QVERIFY(!s.login(user, password));
    QCOMPARE(s.prompt.messages(), said);
    QCOMPARE(Form2->Edit1->text(), userAfter);
    QCOMPARE(Form2->Edit2->text(), passwordAfter);
    QVERIFY(!Form1->isEnabled());
    QVERIFY(Form2->isVisible());
    QVERIFY(!Form1->Table1->active());
}

void TestLogin::everyDamageOffersTheRestore_data() {
    QTest::addColumn<QString>("kind");
    for (const char* k : {"zero-byte table", "garbage blob file", "truncated table", "blob file of another daybook",
                          "not a daybook file"})
        QTest::newRow(k) << QString::fromLatin1(k);
}

void TestLogin::everyDamageOffersTheRestore() {
    QFETCH(QString, kind);
    Session s;
    s.makeDaybook("anna", "secret");
    s.makeDaybook("bert", "secret");
    damage(kind, s.files(), s.files("bert").mb);
    s.prompt.confirmAnswers = {false};
    QVERIFY(!s.login("anna", "secret"));
    QCOMPARE(s.prompt.messages(), QStringList{"Diary data file may be destroyed!Auto restore?"});
}

void TestLogin::restoredDaybookOpensAtTheNextOk() {
    Session s;
    s.makeDaybook("anna", "secret");
    QVERIFY(daybook::backup(s.files()));
    damage("garbage blob file", s.files());
    s.prompt.confirmAnswers = {true};
    QVERIFY(!s.login("anna", "secret"));
    QCOMPARE(s.prompt.lastText(), QString("Auto restore successfully!You can login now!"));
    s.prompt.clear();
    QVERIFY(s.login("anna", "secret"));
    QVERIFY(s.prompt.prompts.isEmpty());
    QVERIFY(Form1->isEnabled());
    QVERIFY(!Form2->isVisible());
}

void TestLogin::rememberedNameIsTheLastOneTyped() {
    Session s;
    QCOMPARE(Form2->Edit1->text(), QString());  // the very first start
    s.login("  nobody  ", "x");                  // a failed attempt is remembered too
    delete Form2;
    Form2 = new TForm2;
    QCOMPARE(Form2->Edit1->text(), QString("nobody"));
    s.makeDaybook("anna", "secret");
    s.login("anna", "wrong");
    delete Form2;
    Form2 = new TForm2;
    QCOMPARE(Form2->Edit1->text(), QString("anna"));
}

void TestLogin::unwritableMachineStoreAtStart() {
    Session s;
    delete Form2;
    s.prompt.clear();
    QFile::remove(TForm2::machineStorePath());
    QVERIFY(QDir().mkpath(TForm2::machineStorePath() + "/blocked"));
    Form2 = new TForm2;
    QCOMPARE(s.prompt.messages(), QStringList{"Failed to set data for 'Lastname'"});
    QCOMPARE(Form2->Edit1->text(), QString());
}

void TestLogin::creationDayShowsTheFirstDiaryWithItsTemplate() {
    Session s;
    s.makeDaybook("anna", "secret");
    QVERIFY(s.login("anna", "secret"));
    QCOMPARE(s.statusLine(), QString("Diary No.1 ( 2004-5-17 )    Total:1"));
    const QString date = localefmt::shortDate(QDate(2004, 5, 17));
    const QString time = localefmt::longTime(QTime(7, 30, 0));
    QCOMPARE(s.editorText(), date + "\n" + time);
    QVERIFY(!Form1->RichEdit1->modified());
    QVERIFY(Form1->menus->Deletecurrentdiary1->isEnabled());
    QCOMPARE(Form1->StatusBar1->panelText(1), QString("anna"));
    QVERIFY(Form1->isEnabled());
    QVERIFY(!Form2->isVisible());
    // Closing without typing stores nothing: the template alone is never saved.
    Form1->close();
    QVERIFY(Records::of(s.files()).rtf.value(0).isEmpty());
}

void TestLogin::laterDayPreparesANewDiary() {
    Session s;
    s.makeDaybook("anna", "secret");
    s.clock.set(QDateTime(QDate(2004, 5, 18), QTime(21, 5, 9)));
    QVERIFY(s.login("anna", "secret"));
    QCOMPARE(s.statusLine(), QString(" Keeping a diary for today."));
    QVERIFY(!Form1->menus->Deletecurrentdiary1->isEnabled());
    QVERIFY(Form1->entries.newEntry);
    QCOMPARE(Form1->entries.currentKey, QString("2004-5-18"));
    QCOMPARE(s.editorText(), localefmt::shortDate(QDate(2004, 5, 18)) + "\n" + localefmt::longTime(QTime(21, 5, 9)));
    s.type("x");
    Form1->close();
    const Records r = Records::of(s.files());
    QCOMPARE(r.dates, (QStringList{"2004-5-17", "2004-5-18"}));
}

void TestLogin::storedDiaryOfTodayIsShown() {
    Session s;
    s.makeDaybook("anna", "secret");
    s.clock.set(QDateTime(QDate(2004, 5, 18), QTime(8, 0, 0)));
    QVERIFY(s.login("anna", "secret"));
    s.type("Dear diary");
    Form1->close();
    delete Form2;
    delete Form1;
    DbSession::instance().resetForTesting();
    Form1 = new TForm1;
    Form1->show();
    Form2 = new TForm2;
    QCOMPARE(Form2->Edit1->text(), QString("anna"));
    QVERIFY(s.login("anna", "secret"));
    QVERIFY(s.editorText().endsWith("Dear diary"));
    QCOMPARE(s.statusLine(), QString("Diary No.2 ( 2004-5-18 )    Total:2"));
    QVERIFY(!Form1->entries.newEntry);
    QVERIFY(Form1->menus->Deletecurrentdiary1->isEnabled());
}

void TestLogin::namesAreTrimmedPasswordsAreNot() {
    Session s;
    s.makeDaybook("anna", "se cret ");
    QVERIFY(!s.login("anna", "se cret"));
    QCOMPARE(s.prompt.lastText(), QString("Password is wrong!!!"));
    QVERIFY(s.login("  anna ", "se cret "));
    QCOMPARE(Form2->Edit1->text(), QString("anna"));
    QCOMPARE(Form1->currentUser, QString("anna"));
}

QTEST_MAIN(TestLogin)
#include "tst_login.moc"
