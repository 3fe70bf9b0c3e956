#pragma once
// "Today" and "now" come from one clock, so tests can stand at any moment.
#include <QDateTime>

class Clock {
public:
    virtual ~Clock() = default;
    virtual QDateTime now() const;

    QDate today() const { return now().date(); }
    QTime time() const { return now().time(); }

    static Clock& instance();
    // Installs c (not owned); nullptr goes back to the system clock.
    static void install(Clock* c);
};
