#pragma once
// The system's short date format and long time format, as the program shows,
// stores and inserts dates and times.
#include <QDate>
#include <QString>
#include <QTime>

namespace localefmt {
QString shortDate(const QDate& d);
// Hours, minutes and seconds as the locale writes them, without a time zone.
QString longTime(const QTime& t);
QString longTimeFormat();
}  // namespace localefmt
