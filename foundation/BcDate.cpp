#include "foundation/BcDate.h"

#include "foundation/BcString.h"

#include <atomic>

static time_t systemClock()
{
    return std::time(nullptr);
}

static std::atomic<BcDate::Clock> currentClock{&systemClock};

BcDate::BcDate()
{
    setNow();
}

BcDate::~BcDate() = default;

void BcDate::setNow()
{
    time_t now = currentClock.load()();
    struct tm local;
    if (!localtime_r(&now, &local)) {
        day = month = year = 0;
        hour = minute = -1;
        return;
    }
    day = local.tm_mday;
    month = local.tm_mon + 1;
    year = local.tm_year + 1900;
    hour = local.tm_hour;
    minute = local.tm_min;
}

BcString BcDate::toIsoDate() const
{
    BcString text(year, 4);
    text.append(BcString("-"));
    text.append(BcString(month, 2));
    text.append(BcString("-"));
    text.append(BcString(day, 2));
    return text;
}

void BcDate::setClock(Clock clock)
{
    currentClock.store(clock ? clock : &systemClock);
}
