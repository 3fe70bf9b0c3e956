#pragma once
// The main window and the login window in a temporary program folder, with
// scripted prompts and a clock standing still.
#include "editor/richedit.h"
#include "login/form2.h"
#include "mainwin/form1.h"
#include "mainwin/statuspanels.h"
#include "store/credentials.h"
#include "store/daybookcreation.h"
#include "store/dbsession.h"
#include "store/ownerkey.h"
#include "tests/support/fakeclock.h"
#include "tests/support/scriptedprompter.h"
#include "tests/support/tempappdir.h"

#include <QLineEdit>
#include <QtTest>

struct Session {
    TempAppDir app;
    ScriptedPrompter prompt;
    FakeClock clock{QDateTime(QDate(2004, 5, 17), QTime(7, 30, 0))};

    Session() {
        DbSession::instance().resetForTesting();
        // Daybooks made here open in milliseconds instead of a third of a second.
        credentials::setLimitsForTesting(credentials::cheapestLimits());
        Form1 = new TForm1;
        Form1->show();
        Form2 = new TForm2;
        Form2->show();
    }
    ~Session() {
        delete Form2;
        delete Form1;
        DbSession::instance().resetForTesting();
    }

    void makeDaybook(const QString& user, const QString& password) {
        QCOMPARE(createDaybook(app.path(), app.path(), user, password, password).outcome, NewDaybookResult::Created);
    }
    // Types into the login window and presses OK; true when a daybook opened.
    bool login(const QString& user, const QString& password) {
        Form2->Edit1->setText(user);
        Form2->Edit2->setText(password);
        Form2->BitBtn1Click();
        return !Form1->currentUser.isEmpty();
    }
    void type(const QString& text) {
        Form1->RichEdit1->setFocus();
        QTest::keyClicks(Form1->RichEdit1, text);
    }
    // Appends a stored diary for each date, as the user would: open the date, type, save.
    void writeDiaries(const QStringList& keys) {
        for (const QString& k : keys) {
            Form1->addchange(k);
            type("text of " + k);
            Form1->Savediary1Click();
        }
    }
    // Keys reach the program through its active window.
    static bool activateMainWindow() {
        Form1->activateWindow();
        return QTest::qWaitForWindowActive(Form1);
    }
    daybook::Files files(const QString& user = QStringLiteral("anna")) const {
        return daybook::filesFor(app.path(), user);
    }
    QString editorText() const { return Form1->RichEdit1->toPlainText(); }
    QString statusLine() const { return Form1->StatusBar1->panelText(3); }
};

// Reads a daybook's records from disk with a table object of its own,
// unlocked with the owner's password.
struct Records {
    QStringList dates, times;
    QList<QByteArray> rtf;
    static Records of(const daybook::Files& f, const QString& password = QStringLiteral("secret")) {
        Records r;
        DiaryTable t;
        t.setDatabaseName(f.folder);
        t.setTableName(QFileInfo(f.db).fileName());
        DbSession::instance().addPassword(daybook::kTablePassword);
        t.open();
        ownerkey::unlock(t, QFileInfo(f.db).completeBaseName(), password);
        for (t.first(); !t.eof(); t.next()) {
            r.dates << t.stringField("mydate");
            r.times << t.stringField("mytime");
            r.rtf << t.blobField("myrtf");
            if (t.recNo() == t.recordCount()) break;
        }
        return r;
    }
};
