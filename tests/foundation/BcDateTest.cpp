#include "foundation/BcDate.h"
#include "foundation/BcString.h"

#include "common/TestPrinters.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <limits>
#include <string>

static time_t fixedNow = 0;

static time_t fixedClock()
{
    return fixedNow;
}

// Runs the dates in UTC with a clock the test sets, and puts both back.
class BcDateTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        const char* tz = std::getenv("TZ");
        hadTz = tz != nullptr;
        if (hadTz)
            previousTz = tz;
        setenv("TZ", "UTC", 1);
        tzset();
        BcDate::setClock(&fixedClock);
    }

    void TearDown() override
    {
        BcDate::setClock(nullptr);
        if (hadTz)
            setenv("TZ", previousTz.c_str(), 1);
        else
            unsetenv("TZ");
        tzset();
    }

    bool hadTz = false;
    std::string previousTz;
};

TEST_F(BcDateTest, TakesTheLocalClock)
{
    fixedNow = 1709818200; // 2024-03-07 13:30:00 UTC
    BcDate date;
    EXPECT_EQ(date.year, 2024);
    EXPECT_EQ(date.month, 3);
    EXPECT_EQ(date.day, 7);
    EXPECT_EQ(date.hour, 13);
    EXPECT_EQ(date.minute, 30);
    EXPECT_EQ(date.toIsoDate(), BcString("2024-03-07"));

    fixedNow = 1735689599; // the last minute of 2024
    date.setNow();
    EXPECT_EQ(date.toIsoDate(), BcString("2024-12-31"));
    EXPECT_EQ(date.hour, 23);
    EXPECT_EQ(date.minute, 59);
}

TEST_F(BcDateTest, FailedConversion)
{
    // No calendar holds this instant: its year does not fit.
    fixedNow = std::numeric_limits<time_t>::max();
    BcDate date;
    EXPECT_EQ(date.day, 0);
    EXPECT_EQ(date.month, 0);
    EXPECT_EQ(date.year, 0);
    EXPECT_EQ(date.hour, -1);
    EXPECT_EQ(date.minute, -1);
    EXPECT_EQ(date.toIsoDate(), BcString("0000-00-00"));
}

TEST(BcDate, SystemClockGivesAPlausibleDate)
{
    BcDate date;
    EXPECT_GE(date.year, 2024);
    EXPECT_GE(date.month, 1);
    EXPECT_LE(date.month, 12);
    EXPECT_EQ(date.toIsoDate().length(), 10);
}
