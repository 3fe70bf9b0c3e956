#pragma once
// A clock for tests that stands wherever the test puts it.
#include "platform/clock.h"

class FakeClock : public Clock {
public:
    explicit FakeClock(QDateTime at) : at_(at) { Clock::install(this); }
    ~FakeClock() override { Clock::install(nullptr); }
    QDateTime now() const override { return at_; }
    void set(QDateTime at) { at_ = at; }
    void advance(int seconds) { at_ = at_.addSecs(seconds); }

private:
    QDateTime at_;
};
