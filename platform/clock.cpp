#include "platform/clock.h"

namespace {
Clock systemClock;
Clock* installed = nullptr;
}  // namespace

QDateTime Clock::now() const { return QDateTime::currentDateTime(); }

Clock& Clock::instance() { return installed ? *installed : systemClock; }

void Clock::install(Clock* c) { installed = c; }
