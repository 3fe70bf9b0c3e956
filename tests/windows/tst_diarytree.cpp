// The diary tree (years, months in first-met order, days ascending) and the
// moves through the table in order, with the status line they leave.
#include "sessionfixture.h"
#include "mainwin/diarytree.h"

#include <QTreeWidget>

namespace {

QStringList childTexts(const QTreeWidgetItem* node) {
    QStringList texts;
    for (int i = 0; i < node->childCount(); ++i) texts << node->child(i)->text(0);
    return texts;
}

QStringList rootTexts(const QTreeWidget& view) {
    QStringList texts;
    for (int i = 0; i < view.topLevelItemCount(); ++i) texts << view.topLevelItem(i)->text(0);
    return texts;
}

}  // namespace

class TestDiaryTree : public QObject {
    Q_OBJECT
private slots:
    void init();
    void cleanup();
    void dateKeyParts_data();
    void dateKeyParts();
    void treeOrder_data();
    void treeOrder();
    void collapseLeavesOnePlaceholderAndReadsAgain();
    void expandAllAndCollapseAll();
    void treeNeverMovesTheEditorsCursor();
    void movesAtBothEnds();
    void movesFromAnUntouchedNewDiary();
    void nextStoresNothingForAnUnchangedDiary();

private:
    std::unique_ptr<Session> s;
    void buildTree(const QStringList& keys);
    QTreeWidget view;
    std::unique_ptr<DiaryTree> tree;
    DiaryTable table2;
};

void TestDiaryTree::init() {
    s = std::make_unique<Session>();
    s->makeDaybook("anna", "secret");  // the config record is dated 2004-5-17
    s->clock.set(QDateTime(QDate(2004, 5, 18), QTime(9, 0, 0)));
    QVERIFY(s->login("anna", "secret"));
    view.clear();
    tree = std::make_unique<DiaryTree>(view);
}

void TestDiaryTree::cleanup() {
    tree.reset();
    if (table2.active()) table2.close();
    s.reset();
}

void TestDiaryTree::buildTree(const QStringList& keys) {
    s->writeDiaries(keys);
    tree->buildtree(table2, Form1->Table1->databaseName(), Form1->Table1->tableName());
}

void TestDiaryTree::dateKeyParts_data() {
    QTest::addColumn<QString>("key");
    QTest::addColumn<QString>("month");
    QTest::addColumn<QDate>("date");
    QTest::addColumn<bool>("isDay");
    QTest::newRow("december, one-digit day") << "2004-12-5" << "12" << QDate(2004, 12, 5) << true;
    QTest::newRow("may, two-digit day") << "2004-5-17" << "5" << QDate(2004, 5, 17) << true;
    QTest::newRow("january first") << "1999-1-1" << "1" << QDate(1999, 1, 1) << true;
    QTest::newRow("year node") << "2004" << "" << QDate() << false;
    QTest::newRow("month node") << "12 M" << "M" << QDate() << false;
    QTest::newRow("placeholder") << "MONTH" << "H" << QDate() << false;
}

void TestDiaryTree::dateKeyParts() {
    QFETCH(QString, key);
    QFETCH(QString, month);
    QFETCH(QDate, date);
    QFETCH(bool, isDay);
    QCOMPARE(datekey::isDayKey(key), isDay);
    if (!isDay) return;
    QCOMPARE(datekey::monthOf(key), month);
    QCOMPARE(datekey::dateOf(key), date);
}

void TestDiaryTree::treeOrder_data() {
    QTest::addColumn<QStringList>("keys");  // stored in this order after the config record
    QTest::addColumn<QStringList>("years");
    QTest::addColumn<QString>("year");  // the year expanded
    QTest::addColumn<QStringList>("months");
    QTest::addColumn<QStringList>("daysOfFirstMonth");
    QTest::newRow("only the config record")
        << QStringList{} << QStringList{"2004"} << "2004" << QStringList{"5 M"} << QStringList{"2004-5-17"};
    QTest::newRow("month 12 met before month 2")
        << QStringList{"2003-12-24", "2003-2-1"} << QStringList{"2004", "2003"} << "2003"
        << QStringList{"12 M", "2 M"} << QStringList{"2003-12-24"};
    QTest::newRow("month 10 before 1, 1 is no part of 10")
        << QStringList{"2005-10-3", "2005-1-9"} << QStringList{"2004", "2005"} << "2005"
        << QStringList{"10 M", "1 M"} << QStringList{"2005-10-3"};
    QTest::newRow("split run of one month gives one node, days ascending")
        << QStringList{"2004-6-20", "2004-7-1", "2004-6-3", "2004-6-11"} << QStringList{"2004"} << "2004"
        << QStringList{"5 M", "6 M", "7 M"} << QStringList{"2004-5-17"};
    QTest::newRow("years in first-met order")
        << QStringList{"2006-1-1", "2002-3-3", "2006-2-2"} << QStringList{"2004", "2006", "2002"} << "2006"
        << QStringList{"1 M", "2 M"} << QStringList{"2006-1-1"};
}

void TestDiaryTree::treeOrder() {
    QFETCH(QStringList, keys);
    QFETCH(QStringList, years);
    QFETCH(QString, year);
    QFETCH(QStringList, months);
    QFETCH(QStringList, daysOfFirstMonth);
    buildTree(keys);
    QCOMPARE(rootTexts(view), years);
    for (int i = 0; i < view.topLevelItemCount(); ++i)
        QCOMPARE(childTexts(view.topLevelItem(i)), QStringList{"MONTH"});
    QTreeWidgetItem* node = view.findItems(year, Qt::MatchExactly).value(0);
    QVERIFY(node);
    node->setExpanded(true);
    QCOMPARE(childTexts(node), months);
    QCOMPARE(childTexts(node->child(0)), daysOfFirstMonth);
}

void TestDiaryTree::collapseLeavesOnePlaceholderAndReadsAgain() {
    buildTree({"2004-6-20", "2004-6-3"});
    QTreeWidgetItem* year = view.topLevelItem(0);
    year->setExpanded(true);
    QCOMPARE(childTexts(year->child(1)), (QStringList{"2004-6-3", "2004-6-20"}));
    year->setExpanded(false);
    QCOMPARE(childTexts(year), QStringList{"Month"});
    s->writeDiaries({"2004-6-1"});  // stored while the year is collapsed
    year->setExpanded(true);
    QCOMPARE(childTexts(year->child(1)), (QStringList{"2004-6-1", "2004-6-3", "2004-6-20"}));
}

void TestDiaryTree::expandAllAndCollapseAll() {
    buildTree({"2003-1-2", "2004-8-8"});
    tree->expandAll();
    for (int i = 0; i < view.topLevelItemCount(); ++i) {
        QTreeWidgetItem* y = view.topLevelItem(i);
        QVERIFY(y->isExpanded());
        QVERIFY(y->child(0)->text(0).endsWith(" M"));
        QVERIFY(y->child(0)->isExpanded());
    }
    tree->collapseAll();
    for (int i = 0; i < view.topLevelItemCount(); ++i)
        QCOMPARE(childTexts(view.topLevelItem(i)), QStringList{"Month"});
}

void TestDiaryTree::treeNeverMovesTheEditorsCursor() {
    s->writeDiaries({"2004-6-1", "2004-6-2"});
    Form1->addchange("2004-6-1");
    const int before = Form1->Table1->recNo();
    tree->buildtree(table2, Form1->Table1->databaseName(), Form1->Table1->tableName());
    tree->expandAll();
    QCOMPARE(Form1->Table1->recNo(), before);
    QCOMPARE(before, 2);  // config, 2004-6-1 (today's untouched diary was never stored)
}

void TestDiaryTree::movesAtBothEnds() {
    s->writeDiaries({"2004-6-1", "2004-6-2"});  // 3 records: config, 6-1, 6-2
    using M = EntryLifecycle::Move;
    Form1->entries.move(M::First);
    QCOMPARE(s->statusLine(), QString("Diary No.1 ( 2004-5-17 )    Total:3"));
    Form1->entries.move(M::Prior);
    QCOMPARE(s->statusLine(), QString("Diary No.1 ( 2004-5-17 )    Total:3"));
    Form1->entries.move(M::Next);
    QCOMPARE(s->statusLine(), QString("Diary No.2 ( 2004-6-1 )    Total:3"));
    Form1->entries.move(M::Last);
    QCOMPARE(s->statusLine(), QString("Diary No.3 ( 2004-6-2 )    Total:3"));
    QVERIFY(s->editorText().endsWith("text of 2004-6-2"));
    Form1->entries.move(M::Next);
    QCOMPARE(s->statusLine(), QString("Diary No.3 ( 2004-6-2 )    Total:3"));
    QVERIFY(!Form1->entries.newEntry);
    QVERIFY(!Form1->RichEdit1->modified());
}

void TestDiaryTree::movesFromAnUntouchedNewDiary() {
    s->writeDiaries({"2004-6-1", "2004-6-2"});
    using M = EntryLifecycle::Move;
    Form1->addchange("2004-7-7");  // prepared, untouched
    Form1->entries.move(M::Prior);
    QCOMPARE(Form1->entries.currentKey, QString("2004-6-1"));  // the record before the last
    Form1->addchange("2004-7-7");
    Form1->entries.move(M::Next);
    QCOMPARE(Form1->entries.currentKey, QString("2004-6-2"));  // the last
    QCOMPARE(Records::of(s->files()).dates.size(), 3);          // nothing stored for 7-7
}

void TestDiaryTree::nextStoresNothingForAnUnchangedDiary() {
    s->writeDiaries({"2004-6-1", "2004-6-2"});
    const QStringList times = Records::of(s->files()).times;
    s->clock.advance(120);
    Form1->entries.move(EntryLifecycle::Move::First);
    Form1->entries.move(EntryLifecycle::Move::Next);
    Form1->entries.move(EntryLifecycle::Move::Next);
    QCOMPARE(Records::of(s->files()).times, times);
    QCOMPARE(Form1->entries.currentKey, QString("2004-6-2"));
}

QTEST_MAIN(TestDiaryTree)
#include "tst_diarytree.moc"
