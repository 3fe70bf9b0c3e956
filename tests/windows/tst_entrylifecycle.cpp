// Saving, loading, preparing and deleting the shown diary, and what closing
// the main window stores and backs up.
#include "sessionfixture.h"
#include "platform/localeformat.h"

#include <csignal>
#include <sys/resource.h>

namespace {

QByteArray bytesOf(const QString& path) {
    QFile f(path);
    f.open(QIODevice::ReadOnly);
    return f.readAll();
}


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

}  // namespace

class TestEntryLifecycle : public QObject {
    Q_OBJECT
private slots:
    void init();
    void cleanup();
    void untouchedNewDiaryIsNeverStored();
    void unchangedDiaryKeepsItsTime();
    void secondSaveEditsInsteadOfAppending();
    void ctrlSKeepsTheDiaryModified();
    void openingADateWithoutDiaryPreparesOne();
    void firstDiaryCannotBeDeleted();
    void deletionAsksThenShowsTheFollowingDiary();
    void failedSaveKeepsTheText();
    void closingStoresAndBacksUp();

private:
    std::unique_ptr<Session> s;
};

void TestEntryLifecycle::init() {
    s = std::make_unique<Session>();
    s->makeDaybook("anna", "secret");
    // The day after the daybook was made: today has no diary yet.
    s->clock.set(QDateTime(QDate(2004, 5, 18), QTime(9, 0, 0)));
    QVERIFY(s->login("anna", "secret"));
}

void TestEntryLifecycle::cleanup() { s.reset(); }

void TestEntryLifecycle::untouchedNewDiaryIsNeverStored() {
    Form1->addchange("2004-5-17");  // leaves today's untouched new diary
    Form1->addchange("2004-5-20");
    Form1->Savediary1Click();
    Form1->close();
    QCOMPARE(Records::of(s->files()).dates, QStringList{"2004-5-17"});
}

void TestEntryLifecycle::unchangedDiaryKeepsItsTime() {
    s->type("first");
    Form1->Savediary1Click();
    const QString saved = Records::of(s->files()).times.value(1);
    QCOMPARE(saved, localefmt::longTime(QTime(9, 0, 0)));
    s->clock.advance(3600);
    Form1->addchange("2004-5-17");  // saves the unchanged diary: nothing is posted
    Form1->addchange("2004-5-18");
    Form1->close();
    QCOMPARE(Records::of(s->files()).times.value(1), saved);
}

void TestEntryLifecycle::secondSaveEditsInsteadOfAppending() {
    s->type("one");
    Form1->Savediary1Click();
    QVERIFY(!Form1->entries.newEntry);
    QVERIFY(!Form1->RichEdit1->modified());
    s->type(" two");
    Form1->Savediary1Click();
    const Records r = Records::of(s->files());
    QCOMPARE(r.dates, (QStringList{"2004-5-17", "2004-5-18"}));
    RichEdit check;
    check.loadRtf(r.rtf[1]);
    QVERIFY(check.toPlainText().endsWith("one two"));
}

void TestEntryLifecycle::ctrlSKeepsTheDiaryModified() {
    s->type("x");
    QVERIFY(Session::activateMainWindow());
    QTest::keyClick(Form1->RichEdit1, Qt::Key_S, Qt::ControlModifier);
    QCOMPARE(Records::of(s->files()).dates.size(), 2);
    QVERIFY(Form1->RichEdit1->modified());
    s->clock.advance(60);
    Form1->addchange("2004-5-17");  // the next save point writes it again, with a fresh time
    QCOMPARE(Records::of(s->files()).times.value(1), localefmt::longTime(QTime(9, 1, 0)));
}

void TestEntryLifecycle::openingADateWithoutDiaryPreparesOne() {
    s->writeDiaries({"2004-5-1"});
    Form1->addchange("2004-4-30");
    QVERIFY(Form1->entries.newEntry);
    QCOMPARE(Form1->entries.currentKey, QString("2004-4-30"));
    QVERIFY(!Form1->menus->Deletecurrentdiary1->isEnabled());
    // The template is today's date, not the opened day's.
    QVERIFY(s->editorText().startsWith(localefmt::shortDate(QDate(2004, 5, 18))));
    QCOMPARE(s->statusLine(), QString("Diary No.2 ( 2004-4-30 )    Total:2"));
    Form1->addchange("2004-5-1");
    QVERIFY(s->editorText().endsWith("text of 2004-5-1"));
    QVERIFY(Form1->menus->Deletecurrentdiary1->isEnabled());
}

void TestEntryLifecycle::firstDiaryCannotBeDeleted() {
    Form1->addchange("2004-5-17");
    Form1->Deletecurrentdiary1Click();
    QCOMPARE(s->prompt.messages(), QStringList{"It's your first diary you can't delete it"});
    QCOMPARE(Records::of(s->files()).dates.size(), 1);
    QCOMPARE(Form1->entries.currentKey, QString("2004-5-17"));
}

void TestEntryLifecycle::deletionAsksThenShowsTheFollowingDiary() {
    s->writeDiaries({"2004-5-1", "2004-5-2", "2004-5-3"});
    Form1->addchange("2004-5-2");
    s->prompt.confirmAnswers = {false, true};
    Form1->Deletecurrentdiary1Click();
    QCOMPARE(s->prompt.messages(), QStringList{"Delete 2004-5-2 Are you sure?"});
    QCOMPARE(Records::of(s->files()).dates.size(), 4);
    Form1->Deletecurrentdiary1Click();
    QCOMPARE(Records::of(s->files()).dates, (QStringList{"2004-5-17", "2004-5-1", "2004-5-3"}));
    QCOMPARE(Form1->entries.currentKey, QString("2004-5-3"));
    QVERIFY(s->editorText().endsWith("text of 2004-5-3"));
    QCOMPARE(s->statusLine(), QString("Diary No.3 ( 2004-5-3 )    Total:3"));
    // Deleting the last diary shows the new last one.
    s->prompt.confirmAnswers = {true};
    Form1->Deletecurrentdiary1Click();
    QCOMPARE(Form1->entries.currentKey, QString("2004-5-1"));
}

void TestEntryLifecycle::failedSaveKeepsTheText() {
    s->type("precious words");
    {
        FileSizeLimit full(1024);
        Form1->Savediary1Click();
    }
    QCOMPARE(s->prompt.count(ScriptedPrompter::Prompt::Message), 1);
    QVERIFY2(s->prompt.lastText().contains("anna"), qPrintable(s->prompt.lastText()));
    QVERIFY(s->editorText().endsWith("precious words"));
    QVERIFY(Form1->RichEdit1->modified());
    QCOMPARE(Records::of(s->files()).dates.size(), 1);
    Form1->Savediary1Click();  // room again
    QCOMPARE(Records::of(s->files()).dates.size(), 2);
    // A close that cannot save keeps the window open.
    s->type(" more");
    {
        FileSizeLimit full(1024);
        QVERIFY(!Form1->close());
    }
    QVERIFY(Form1->isVisible());
    QVERIFY(s->editorText().endsWith("precious words more"));
}

void TestEntryLifecycle::closingStoresAndBacksUp() {
    const auto f = s->files();
    s->type("last words");
    QVERIFY(Form1->close());
    QVERIFY(!Form1->isVisible());
    QCOMPARE(bytesOf(f.dbbak), bytesOf(f.db));
    QCOMPARE(bytesOf(f.mbbak), bytesOf(f.mb));
    const Records r = Records::of(f);
    QCOMPARE(r.dates, (QStringList{"2004-5-17", "2004-5-18"}));
    RichEdit check;
    check.loadRtf(r.rtf[1]);
    QVERIFY(check.toPlainText().endsWith("last words"));
}

QTEST_MAIN(TestEntryLifecycle)
#include "tst_entrylifecycle.moc"
