#pragma once
// The pick-by-date calendar: a small window above the others; double-clicking
// a day opens that day's diary in the main window, or prepares a new one.
#include "calendar/daymenu.h"

#include <QWidget>

class MenuPainter;
class QCalendarWidget;
class QLabel;
class QMenu;
class QTimer;
struct DaybookSettings;

class TForm6 : public QWidget {
    Q_OBJECT
public:
    static constexpr const char* kDesignedCaption = "Pick up according to date";

    explicit TForm6(QWidget* parent = nullptr);
    ~TForm6() override;

    QCalendarWidget* MonthCalendar1 = nullptr;
    QMenu* PopupMenu1 = nullptr;
    MenuPainter* XPMenu1 = nullptr;  // draws the day menu
    QLabel* Label1 = nullptr;
    QTimer* Timer1 = nullptr;
    // Flashes of the running burst; shared by every calendar window of the run.
    static int flashCount;

    void inicalen(const DaybookSettings& s);
    // Fills the day menu for the shown month; the days listed, ascending.
    QList<int> PopupMenu1Popup();
    // The pick: day 0 is a double click on the selected date, 1..31 a day item.
    void MonthCalendar1DblClick(int dayItem = 0);
    void Timer1Timer();
    void startFlashing();
    // The current columns of the day menu (for the menu and for tests).
    QList<QList<int>> dayColumns() const { return columns_; }

protected:
    void closeEvent(QCloseEvent* event) override;

private:
    void showDayMenu(const QPoint& globalPos);
    void rebuildDayMenu();

    DayMenuLayout layout_;
    QList<QList<int>> columns_;
};

extern TForm6* Form6;
