// The pick-by-date calendar and its opener: captions, toggling, the day menu's
// columns, and what picking a day does to the main window.
#include "sessionfixture.h"
#include "calendar/form6.h"
#include "mainwin/calendaropener.h"
#include "mainwin/menupainter.h"
#include "settings/colourvalue.h"
#include "platform/localeformat.h"

#include <QCalendarWidget>

namespace {
void open(CalendarRequester r) { ComboBox3DropDown(r, Form1->entries.currentKey, Form1->settings, Form1->RichEdit1); }
}  // namespace

class TestCalendar : public QObject {
    Q_OBJECT
private slots:
    void init();
    void cleanup();
    void dayMenuColumns_data();
    void dayMenuColumns();
    void dayMenuListsTheMonthsDiaries();
    void openerCaptions_data();
    void openerCaptions();
    void dropDownToggles();
    void openerTakesTheShownDiarysDate_data();
    void openerTakesTheShownDiarysDate();
    void pickingAStoredDay();
    void pickingADayWithoutDiary();
    void flashBurstIs21Ticks();
    void dayMenuTakesTheMenuColours();

private:
    std::unique_ptr<Session> s;
};

void TestCalendar::init() {
    s = std::make_unique<Session>();
    s->makeDaybook("anna", "secret");
    s->clock.set(QDateTime(QDate(2004, 5, 18), QTime(9, 0, 0)));
    QVERIFY(s->login("anna", "secret"));
}

void TestCalendar::cleanup() {
    delete Form6;
    s.reset();
}

void TestCalendar::dayMenuColumns_data() {
    QTest::addColumn<QList<int>>("days");
    QTest::addColumn<QList<QList<int>>>("columns");
    QList<int> twelve, evens;
    for (int d = 1; d <= 12; ++d) twelve << d;
    for (int d = 2; d <= 24; d += 2) evens << d;
    QTest::newRow("none") << QList<int>{} << QList<QList<int>>{};
    QTest::newRow("days 1 to 12") << twelve << QList<QList<int>>{{1, 2, 3, 4, 5, 6, 7, 8, 9, 10}, {11, 12}};
    QTest::newRow("even days 2 to 24: the 11th listed breaks")
        << evens << QList<QList<int>>{{2, 4, 6, 8, 10, 12, 14, 16, 18, 20}, {22, 24}};
    QTest::newRow("item 21 breaks from the start") << QList<int>{3, 21} << QList<QList<int>>{{3}, {21}};
}

void TestCalendar::dayMenuColumns() {
    QFETCH(QList<int>, days);
    QFETCH(QList<QList<int>>, columns);
    DayMenuLayout layout;
    QCOMPARE(layout.columns(days), columns);
}

void TestCalendar::dayMenuListsTheMonthsDiaries() {
    s->writeDiaries({"2004-6-20", "2004-7-1", "2004-6-3"});
    open(CalendarRequester::DropDown);
    QVERIFY(Form6);
    Form6->MonthCalendar1->setSelectedDate(QDate(2004, 6, 15));
    QCOMPARE(Form6->PopupMenu1Popup(), (QList<int>{3, 20}));
    Form6->MonthCalendar1->setSelectedDate(QDate(2004, 8, 1));
    QCOMPARE(Form6->PopupMenu1Popup(), QList<int>{});
    QVERIFY(Form1->Table1->active());  // the shown diary keeps its record
}

void TestCalendar::openerCaptions_data() {
    QTest::addColumn<int>("requester");
    QTest::addColumn<QString>("closedCaption");
    QTest::addColumn<QString>("openCaption");
    QTest::newRow("File > Manage") << int(CalendarRequester::Manage) << "Manage diary according to date"
                                   << "Manage diary according to date";
    QTest::newRow("Navigator menu") << int(CalendarRequester::NavigateMenu) << "Navigate diary according to date"
                                    << "Navigate diary according to date";
    QTest::newRow("tree's Add diary") << int(CalendarRequester::AddDiary) << "specify day!" << "specify date!";
    QTest::newRow("date drop-down") << int(CalendarRequester::DropDown) << "Pick up according to date" << "";
}

void TestCalendar::openerCaptions() {
    QFETCH(int, requester);
    QFETCH(QString, closedCaption);
    QFETCH(QString, openCaption);
    const auto r = CalendarRequester(requester);
    open(r);
    QVERIFY(Form6);
    QCOMPARE(Form6->windowTitle(), closedCaption);
    if (openCaption.isEmpty()) return;  // the drop-down closes it instead (next test)
    Form6->setWindowTitle("something else");
    open(r);
    QCOMPARE(Form6->windowTitle(), openCaption);
    QVERIFY(Form6->Timer1->isActive());
}

void TestCalendar::dropDownToggles() {
    open(CalendarRequester::DropDown);
    QVERIFY(Form6 && Form6->isVisible());
    open(CalendarRequester::DropDown);
    QVERIFY(!Form6);
    open(CalendarRequester::DropDown);
    QVERIFY(Form6);
}

void TestCalendar::openerTakesTheShownDiarysDate_data() {
    QTest::addColumn<QString>("key");
    QTest::addColumn<QDate>("date");
    QTest::newRow("2004-12-5") << "2004-12-5" << QDate(2004, 12, 5);
    QTest::newRow("2004-5-17") << "2004-5-17" << QDate(2004, 5, 17);
}

void TestCalendar::openerTakesTheShownDiarysDate() {
    QFETCH(QString, key);
    QFETCH(QDate, date);
    ComboBox3DropDown(CalendarRequester::DropDown, key, Form1->settings, Form1->RichEdit1);
    QCOMPARE(Form6->MonthCalendar1->selectedDate(), date);
}

void TestCalendar::pickingAStoredDay() {
    s->writeDiaries({"2004-6-3"});
    open(CalendarRequester::Manage);
    Form6->MonthCalendar1->setSelectedDate(QDate(2004, 6, 1));
    Form6->PopupMenu1Popup();
    Form6->MonthCalendar1DblClick(3);  // the day item "3"
    QCOMPARE(Form1->entries.currentKey, QString("2004-6-3"));
    QVERIFY(s->editorText().endsWith("text of 2004-6-3"));
    QCOMPARE(Form6->windowTitle(), QString("Pick up according to date"));
    QCOMPARE(s->statusLine(), QString("Diary No.2 ( 2004-6-3 )    Total:2"));
    QVERIFY(Form1->menus->Deletecurrentdiary1->isEnabled());
    QVERIFY(Form6->isVisible());  // picks leave it open
}

void TestCalendar::pickingADayWithoutDiary() {
    open(CalendarRequester::NavigateMenu);
    Form6->MonthCalendar1->setSelectedDate(QDate(2004, 7, 9));
    Form6->MonthCalendar1DblClick();
    QVERIFY(Form1->entries.newEntry);
    QCOMPARE(Form1->entries.currentKey, QString("2004-7-9"));
    QCOMPARE(s->statusLine(), "  Add  " + localefmt::shortDate(QDate(2004, 7, 9)));
    QCOMPARE(Form6->windowTitle(), QString("Navigate diary according to date"));
    QVERIFY(!Form1->menus->Deletecurrentdiary1->isEnabled());
    QVERIFY(!Form1->RichEdit1->modified());
    QCOMPARE(Records::of(s->files()).dates.size(), 1);  // nothing stored until typed
}

void TestCalendar::flashBurstIs21Ticks() {
    open(CalendarRequester::DropDown);
    TForm6::flashCount = 0;
    Form6->startFlashing();
    int ticks = 0;
    while (Form6->Timer1->isActive() && ticks < 100) {
        Form6->Timer1Timer();
        ++ticks;
    }
    QCOMPARE(ticks, 22);  // 21 flashes, then the tick that ends the burst
    QCOMPARE(TForm6::flashCount, 0);
}


void TestCalendar::dayMenuTakesTheMenuColours() {
    using Role = MenuPainter::Role;
    using namespace colourvalue;
    Form1->settings.Color.maincolor = rgb(1, 2, 3);
    Form1->settings.Color.selectcolor = rgb(4, 5, 6);
    Form1->settings.Color.checked = rgb(7, 8, 9);
    open(CalendarRequester::DropDown);
    QVERIFY(Form6);
    QCOMPARE(Form6->XPMenu1->colour(Role::ItemBack), rgb(1, 2, 3));
    QCOMPARE(Form6->XPMenu1->colour(Role::Select), rgb(4, 5, 6));
    // The mark and the highlighted text keep the desktop's colours.
    QCOMPARE(Form6->XPMenu1->colour(Role::Checked), systemColour(Highlight));
    QCOMPARE(Form6->XPMenu1->colour(Role::SelectFont), systemColour(MenuText));
    QCOMPARE(Form6->PopupMenu1->style(), static_cast<QStyle*>(Form6->XPMenu1));
}

QTEST_MAIN(TestCalendar)
#include "tst_calendar.moc"
