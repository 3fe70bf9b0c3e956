#include "mainwin/calendaropener.h"

#include "calendar/form6.h"
#include "mainwin/diarytree.h"

#include <QCalendarWidget>

void ComboBox3DropDown(CalendarRequester requester, const QString& currentKey, const DaybookSettings& settings,
                       QWidget* editor) {
    if (Form6) {
        switch (requester) {
        case CalendarRequester::DropDown:
            Form6->close();
            if (editor) editor->setFocus();
            return;
        case CalendarRequester::Manage: Form6->setWindowTitle(QStringLiteral("Manage diary according to date")); break;
        case CalendarRequester::NavigateMenu:
            Form6->setWindowTitle(QStringLiteral("Navigate diary according to date"));
            break;
        case CalendarRequester::AddDiary: Form6->setWindowTitle(QStringLiteral("specify date!")); break;
        }
        Form6->startFlashing();
        return;
    }
    auto* calendar = new TForm6;
    switch (requester) {
    case CalendarRequester::DropDown: break;  // keeps its own caption
    case CalendarRequester::Manage: calendar->setWindowTitle(QStringLiteral("Manage diary according to date")); break;
    case CalendarRequester::NavigateMenu:
        calendar->setWindowTitle(QStringLiteral("Navigate diary according to date"));
        break;
    case CalendarRequester::AddDiary: calendar->setWindowTitle(QStringLiteral("specify day!")); break;
    }
    const QDate date = datekey::dateOf(currentKey);
    if (date.isValid()) calendar->MonthCalendar1->setSelectedDate(date);
    calendar->show();
    calendar->inicalen(settings);
}
