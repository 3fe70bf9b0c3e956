#include "calendar/daymenu.h"

QList<QList<int>> DayMenuLayout::columns(const QList<int>& shownDays) {
    QList<QList<int>> cols;
    int count = 0;
    for (int day : shownDays) {
        ++count;
        if (count == 11 || count == 21) breaks_.insert(day);
        if (cols.isEmpty() || (breaks_.contains(day) && !cols.last().isEmpty())) cols.append(QList<int>());
        cols.last().append(day);
    }
    return cols;
}
