#pragma once

#include "platform/Clock.h"

#include <functional>

// A clock standing still until a test moves it. onSleep runs whenever the
// program sleeps on it, as another program's work would meanwhile.
struct TestClock : FixedClock {
    TestClock() : FixedClock(QDateTime(QDate(2024, 3, 5), QTime(10, 0))) {}
    void Sleep(qint64 ms) const override
    {
        FixedClock::Sleep(ms);
        if (onSleep)
            onSleep();
    }
    std::function<void()> onSleep;
};
