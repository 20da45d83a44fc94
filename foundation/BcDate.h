#pragma once

#include <ctime>

class BcString;

// A calendar date with time of day, taken from the local clock.
class BcDate
{
public:
    typedef time_t (*Clock)();

    // Now, from the local clock.
    BcDate();
    virtual ~BcDate();

    // When the conversion to local time fails, day, month and year become 0
    // and hour and minute -1.
    void setNow();
    // Year-month-day, zero-padded to 4, 2 and 2 digits: "2024-03-07".
    BcString toIsoDate() const;

    // Replaces the clock that setNow reads; null restores the system clock.
    // Tests use it to fix "now".
    static void setClock(Clock clock);

    int day = 0;
    int month = 0;
    int year = 0;
    int hour = -1;
    int minute = -1;
};
