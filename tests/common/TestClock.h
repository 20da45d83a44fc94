#pragma once

#include "foundation/BcDate.h"

#include <cstdlib>
#include <ctime>
#include <string>

// Runs the dates in UTC with a clock the test sets, and puts both back when
// it goes.
class TestClock
{
public:
    explicit TestClock(time_t now = 0)
    {
        set(now);
        if (const char* tz = std::getenv("TZ")) {
            hadTz = true;
            previousTz = tz;
        }
        setenv("TZ", "UTC", 1);
        tzset();
        BcDate::setClock(&read);
    }
    ~TestClock()
    {
        BcDate::setClock(nullptr);
        if (hadTz)
            setenv("TZ", previousTz.c_str(), 1);
        else
            unsetenv("TZ");
        tzset();
    }
    TestClock(const TestClock&) = delete;
    TestClock& operator=(const TestClock&) = delete;

    // What the clock reads from now on.
    static void set(time_t now) { current() = now; }

private:
    static time_t& current()
    {
        static time_t now = 0;
        return now;
    }
    static time_t read() { return current(); }

    bool hadTz = false;
    std::string previousTz;
};
