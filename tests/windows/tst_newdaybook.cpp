// The new daybook window, from the login window and from the main window.
#include "sessionfixture.h"

#include "login/form3.h"

#include <QApplication>

namespace {

TForm3* openForm3() {
    for (QWidget* w : QApplication::topLevelWidgets())
        if (auto* f = qobject_cast<TForm3*>(w); f && f->isVisible()) return f;
    return nullptr;
}

void fill(TForm3* w, const QString& user, const QString& pw, const QString& verify) {
    w->Edit1->setText(user);
    w->Edit2->setText(pw);
    w->Edit3->setText(verify);
}

}  // namespace

class TestNewDaybook : public QObject {
    Q_OBJECT
private slots:
    void fromTheLoginWindow();
    void boxesAfterEachRefusal_data();
    void boxesAfterEachRefusal();
    void fromTheMainWindowKeepingTheOpenDaybook();
    void fromTheMainWindowSwitchingToTheNewOne();
};

void TestNewDaybook::fromTheLoginWindow() {
    Session s;
    Form2->BitBtn3Click();
    QVERIFY(!Form2->isVisible());
    TForm3* w = openForm3();
    QVERIFY(w);
    fill(w, "  anna ", "pw", "pw");
    w->BitBtn1Click();
    QCOMPARE(s.prompt.messages(), QStringList{"anna  your password is pw.You can use it login now!"});
    QVERIFY(Form2->isVisible());
    QCOMPARE(Form2->Edit1->text(), QString("anna"));
    QTRY_VERIFY(!openForm3());
    QVERIFY(s.login("anna", "pw"));
}

void TestNewDaybook::boxesAfterEachRefusal_data() {
    QTest::addColumn<QString>("user");
    QTest::addColumn<QString>("pw");
    QTest::addColumn<QString>("verify");
    QTest::addColumn<QString>("message");
    QTest::addColumn<QStringList>("boxesAfter");
    QTest::newRow("empty name") << " " << "a" << "b" << "You must enter the user name!" << QStringList{"", "", ""};
    QTest::newRow("taken name") << "taken" << "a" << "a"
                                << "The user name has existed,please change to another one!" << QStringList{"", "a", "a"};
    QTest::newRow("no password") << "new" << "" << "" << "You must enter the password!" << QStringList{"new", "", ""};
    QTest::newRow("only verify") << "new" << "" << "a" << "The new password and verify must match!"
                                 << QStringList{"new", "", ""};
}

void TestNewDaybook::boxesAfterEachRefusal() {
    QFETCH(QString, user);
    QFETCH(QString, pw);
    QFETCH(QString, verify);
    QFETCH(QString, message);
    QFETCH(QStringList, boxesAfter);
    Session s;
    s.makeDaybook("taken", "x");
    Form2->BitBtn3Click();
    TForm3* w = openForm3();
    fill(w, user, pw, verify);
    w->BitBtn1Click();
    QCOMPARE(s.prompt.messages(), QStringList{message});
    QCOMPARE((QStringList{w->Edit1->text(), w->Edit2->text(), w->Edit3->text()}), boxesAfter);
    QVERIFY(w->isVisible());  // open for another try
    w->BitBtn2Click();
    QVERIFY(Form2->isVisible());
}

void TestNewDaybook::fromTheMainWindowKeepingTheOpenDaybook() {
    Session s;
    s.makeDaybook("anna", "pw");
    QVERIFY(s.login("anna", "pw"));
    Form1->N32Click();
    QVERIFY(!Form1->isEnabled());
    TForm3* w = openForm3();
    QVERIFY(w && w->isEnabled());
    fill(w, "bert", "b", "b");
    s.prompt.confirmAnswers = {false};
    w->BitBtn1Click();
    QCOMPARE(s.prompt.messages(), QStringList{"bertID has been created.Do you want to use new name login?"});
    QVERIFY(Form1->isEnabled());
    QCOMPARE(Form1->currentUser, QString("anna"));
    QVERIFY(daybook::exists(s.files("bert")));
    s.type("still anna's");
    Form1->Savediary1Click();
    QVERIFY(s.prompt.messages().size() == 1);
}

void TestNewDaybook::fromTheMainWindowSwitchingToTheNewOne() {
    Session s;
    s.makeDaybook("anna", "pw");
    s.clock.set(QDateTime(QDate(2004, 5, 18), QTime(9, 0, 0)));
    QVERIFY(s.login("anna", "pw"));
    s.type("anna's day");
    Form1->N32Click();
    TForm3* w = openForm3();
    fill(w, "carl", "c", "c");
    s.prompt.confirmAnswers = {true};
    w->BitBtn1Click();
    // anna's diary was saved; no daybook is open; the login waits with carl filled in.
    QCOMPARE(Records::of(s.files("anna"), "pw").dates, (QStringList{"2004-5-17", "2004-5-18"}));
    QVERIFY(Form1->currentUser.isEmpty());
    QVERIFY(!Form1->isEnabled());
    QVERIFY(Form2->isVisible());
    QCOMPARE(Form2->Edit1->text(), QString("carl"));
    QCOMPARE(Form2->Edit2->text(), QString("c"));
    QVERIFY(s.editorText().isEmpty());
    // Closing the main window now writes nothing for a daybook that is not open.
    QVERIFY(!Form1->close());
    QVERIFY(!QFileInfo::exists(s.files("anna").dbbak));
    Form2->BitBtn1Click();
    QCOMPARE(Form1->currentUser, QString("carl"));
    QVERIFY(Form1->isEnabled());
    QCOMPARE(Form1->Table1->recordCount(), 1);
}

QTEST_MAIN(TestNewDaybook)
#include "tst_newdaybook.moc"
