#include "foundation/BcDate.h"
#include "foundation/BcString.h"

#include "common/TestClock.h"
#include "common/TestPrinters.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <limits>
#include <string>

// Runs the dates in UTC with a clock the test sets, and puts both back.
class BcDateTest : public ::testing::Test
{
protected:
    TestClock clock;
};

TEST_F(BcDateTest, TakesTheLocalClock)
{
    TestClock::set(1709818200); // 2024-03-07 13:30:00 UTC
    BcDate date;
    EXPECT_EQ(date.year, 2024);
    EXPECT_EQ(date.month, 3);
    EXPECT_EQ(date.day, 7);
    EXPECT_EQ(date.hour, 13);
    EXPECT_EQ(date.minute, 30);
    EXPECT_EQ(date.toIsoDate(), BcString("2024-03-07"));

    TestClock::set(1735689599); // the last minute of 2024
    date.setNow();
    EXPECT_EQ(date.toIsoDate(), BcString("2024-12-31"));
    EXPECT_EQ(date.hour, 23);
    EXPECT_EQ(date.minute, 59);
}

TEST_F(BcDateTest, FailedConversion)
{
    // No calendar holds this instant: its year does not fit.
    TestClock::set(std::numeric_limits<time_t>::max());
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
