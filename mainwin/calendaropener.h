#pragma once
// Opens, retitles or closes the calendar window for whoever asked for it.
#include <QString>

class QWidget;
struct DaybookSettings;

enum class CalendarRequester {
    DropDown,      // the date drop-down on the Navigator bar
    Manage,        // File > "Manage "
    NavigateMenu,  // Navigator > "Navigate according to date"
    AddDiary,      // the tree's "Add diary"
};

// With the calendar open, the drop-down closes it (focus back to editor) and
// the menu commands retitle it, activate it and flash it; with it closed, it is
// made, titled for its requester, set to the date of currentKey and shown.
void ComboBox3DropDown(CalendarRequester requester, const QString& currentKey, const DaybookSettings& settings,
                       QWidget* editor);
