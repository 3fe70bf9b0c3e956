#pragma once
// The calendar's day menu: the days of the shown month that have diaries,
// laid out in columns. A shown item whose count reaches 11 or 21 gets a
// column break, and a break, once given, stays with its item.
#include <QList>
#include <QSet>

class DayMenuLayout {
public:
    // Lays out the shown days (ascending) and records the breaks they earn.
    QList<QList<int>> columns(const QList<int>& shownDays);
    bool hasBreak(int day) const { return breaks_.contains(day); }

private:
    QSet<int> breaks_{11, 21};  // the items "11" and "21" start columns from the first
};
