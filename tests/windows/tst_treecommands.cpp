// The main window's tree commands: opening a day, the popup's enabling,
// Delete diary in its three cases, Navigate tree, and the moves' short-cuts.
#include "sessionfixture.h"
#include "mainwin/diarytree.h"

#include <QSplitter>
#include <QTreeWidget>

namespace {
QTreeWidgetItem* find(const QString& text) {
    const auto items = Form1->TreeView1->findItems(text, Qt::MatchExactly | Qt::MatchRecursive);
    return items.value(0);
}
void select(QTreeWidgetItem* node) {
    Form1->TreeView1->setCurrentItem(node);
    node->setSelected(true);
}
// Builds the tree and opens the year of the keys.
void showYear(const QString& year) {
    Form1->buildtree();
    find(year)->setExpanded(true);
}
}  // namespace

class TestTreeCommands : public QObject {
    Q_OBJECT
private slots:
    void init();
    void cleanup();
    void loginBuildsTheTree();
    void doubleClickOpensDaysOnly_data();
    void doubleClickOpensDaysOnly();
    void popupEnabling_data();
    void popupEnabling();
    void deleteAnotherDiary_data();
    void deleteAnotherDiary();
    void deleteTheConfigRecordIsRefused();
    void deleteTheShownDiaryGoesThroughItsOwnDeletion();
    void navigateTreeWidths_data();
    void navigateTreeWidths();
    void moveKeys_data();
    void moveKeys();
    void noKeyWorksWhileTheWindowIsDisabled();

private:
    std::unique_ptr<Session> s;
};

void TestTreeCommands::init() {
    s = std::make_unique<Session>();
    s->makeDaybook("anna", "secret");
    s->clock.set(QDateTime(QDate(2004, 5, 18), QTime(9, 0, 0)));
    QVERIFY(s->login("anna", "secret"));
    QVERIFY(Session::activateMainWindow());
}

void TestTreeCommands::cleanup() { s.reset(); }

void TestTreeCommands::loginBuildsTheTree() {
    QCOMPARE(Form1->TreeView1->topLevelItemCount(), 1);
    QCOMPARE(Form1->TreeView1->topLevelItem(0)->text(0), QString("2004"));
}

void TestTreeCommands::doubleClickOpensDaysOnly_data() {
    QTest::addColumn<QString>("node");
    QTest::addColumn<QString>("shownKey");
    QTest::newRow("day") << "2004-6-3" << "2004-6-3";
    QTest::newRow("month") << "6 M" << "2004-5-18";
    QTest::newRow("year") << "2004" << "2004-5-18";
}

void TestTreeCommands::doubleClickOpensDaysOnly() {
    QFETCH(QString, node);
    QFETCH(QString, shownKey);
    s->writeDiaries({"2004-6-3"});
    Form1->addchange("2004-5-18");  // a new, untouched diary for today
    showYear("2004");
    select(find(node));
    Form1->TreeView1DblClick();
    QCOMPARE(Form1->entries.currentKey, shownKey);
    if (node == shownKey) QCOMPARE(s->statusLine(), QString("Diary No.2 ( 2004-6-3 )    Total:2"));
}

void TestTreeCommands::popupEnabling_data() {
    QTest::addColumn<QString>("node");  // empty: nothing selected
    QTest::addColumn<bool>("dayActions");
    QTest::newRow("day") << "2004-5-17" << true;
    QTest::newRow("month") << "5 M" << false;
    QTest::newRow("year") << "2004" << false;
    QTest::newRow("nothing selected") << "" << false;
}

void TestTreeCommands::popupEnabling() {
    QFETCH(QString, node);
    QFETCH(bool, dayActions);
    showYear("2004");
    Form1->TreeView1->clearSelection();
    Form1->TreeView1->setCurrentItem(nullptr);
    if (!node.isEmpty()) select(find(node));
    Form1->PopupMenu2Popup();
    QCOMPARE(Form1->Open1->isEnabled(), dayActions);
    QCOMPARE(Form1->Deletediary1->isEnabled(), dayActions);
    QVERIFY(Form1->rrrr1->isEnabled() && Form1->Expandall1->isEnabled() && Form1->Collasped1->isEnabled());
}

void TestTreeCommands::deleteAnotherDiary_data() {
    QTest::addColumn<bool>("confirm");
    QTest::newRow("OK") << true;
    QTest::newRow("Cancel") << false;
}

void TestTreeCommands::deleteAnotherDiary() {
    QFETCH(bool, confirm);
    s->writeDiaries({"2004-6-3", "2004-6-9"});
    Form1->addchange("2004-6-9");
    const QString status = s->statusLine();
    showYear("2004");
    select(find("2004-6-3"));
    s->prompt.clear();
    s->prompt.confirmAnswers << confirm;
    Form1->Deletediary1Click();
    QCOMPARE(s->prompt.messages(), QStringList{"Delete 2004-6-3 Are you sure?"});
    QCOMPARE(Records::of(s->files()).dates.contains("2004-6-3"), !confirm);
    QCOMPARE(find("2004-6-3") != nullptr, !confirm);
    // The shown diary and the status line are left as they were.
    QCOMPARE(Form1->entries.currentKey, QString("2004-6-9"));
    QCOMPARE(s->statusLine(), status);
    // A later deletion of the shown diary is not taken for the tree's.
    s->prompt.clear();
    s->prompt.confirmAnswers << true;
    Form1->Deletecurrentdiary1Click();
    QVERIFY(find("2004-6-9"));
}

void TestTreeCommands::deleteTheConfigRecordIsRefused() {
    s->writeDiaries({"2004-6-3"});
    showYear("2004");
    select(find("2004-5-17"));
    s->prompt.clear();
    Form1->Deletediary1Click();
    QCOMPARE(s->prompt.messages(), QStringList{"It's your first diary you can't delete it"});
    QVERIFY(find("2004-5-17"));
    QCOMPARE(Records::of(s->files()).dates.size(), 2);
}

void TestTreeCommands::deleteTheShownDiaryGoesThroughItsOwnDeletion() {
    s->writeDiaries({"2004-6-3", "2004-6-9"});
    Form1->addchange("2004-6-3");
    showYear("2004");
    select(find("2004-6-3"));
    s->prompt.clear();
    s->prompt.confirmAnswers << true;
    Form1->Deletediary1Click();
    QCOMPARE(s->prompt.messages(), QStringList{"Delete 2004-6-3 Are you sure?"});
    QVERIFY(!find("2004-6-3"));
    QCOMPARE(Records::of(s->files()).dates, (QStringList{"2004-5-17", "2004-6-9"}));
    QVERIFY(Form1->entries.currentKey != "2004-6-3");
}

void TestTreeCommands::navigateTreeWidths_data() {
    QTest::addColumn<int>("before");
    QTest::addColumn<int>("after");
    QTest::newRow("113 hides") << 113 << 1;
    QTest::newRow("1 shows") << 1 << 113;
    QTest::newRow("112 shows") << 112 << 113;
    QTest::newRow("250 hides") << 250 << 1;
}

void TestTreeCommands::navigateTreeWidths() {
    QFETCH(int, before);
    QFETCH(int, after);
    Form1->resize(800, 500);
    const int total = Form1->Splitter1->sizes().value(0) + Form1->Splitter1->sizes().value(1);
    Form1->Splitter1->setSizes({before, total - before});
    QCOMPARE(Form1->Splitter1->sizes().value(0), before);
    Form1->Navigatetree1Click();
    QCOMPARE(Form1->Splitter1->sizes().value(0), after);
}

void TestTreeCommands::moveKeys_data() {
    QTest::addColumn<int>("key");
    QTest::addColumn<QString>("shownKey");
    QTest::newRow("Ctrl+B first") << int(Qt::Key_B) << "2004-5-17";
    QTest::newRow("Ctrl+P previous") << int(Qt::Key_P) << "2004-6-3";
    QTest::newRow("Ctrl+N next") << int(Qt::Key_N) << "2004-6-9";
    QTest::newRow("Ctrl+L last") << int(Qt::Key_L) << "2004-6-9";
}

void TestTreeCommands::moveKeys() {
    QFETCH(int, key);
    QFETCH(QString, shownKey);
    s->writeDiaries({"2004-6-3", "2004-6-9"});
    Form1->addchange("2004-6-9");
    QTest::keyClick(Form1->RichEdit1, Qt::Key(key), Qt::ControlModifier);
    QCOMPARE(Form1->entries.currentKey, shownKey);
}

void TestTreeCommands::noKeyWorksWhileTheWindowIsDisabled() {
    s->writeDiaries({"2004-6-3"});
    Form1->setEnabled(false);
    QTest::keyClick(Form1, Qt::Key_B, Qt::ControlModifier);
    QCOMPARE(Form1->entries.currentKey, QString("2004-6-3"));
    Form1->setEnabled(true);
}

QTEST_MAIN(TestTreeCommands)
#include "tst_treecommands.moc"
