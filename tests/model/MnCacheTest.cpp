#include "model/MnCache.h"

#include <gtest/gtest.h>

#include <latch>
#include <thread>

TEST(MnCache, NestedScopesShareOneStampAndTheNextScopeGetsANewOne)
{
    EXPECT_EQ(MnCache::currentStamp(), 0);
    int first = 0;
    {
        MnCache outer;
        first = MnCache::currentStamp();
        EXPECT_NE(first, 0);
        {
            MnCache inner;
            EXPECT_EQ(MnCache::currentStamp(), first);
            EXPECT_EQ(MnCache::nesting(), 2);
        }
        EXPECT_EQ(MnCache::currentStamp(), first);
        EXPECT_TRUE(MnCache::isCurrent(first));
    }
    EXPECT_EQ(MnCache::currentStamp(), 0);
    EXPECT_FALSE(MnCache::isCurrent(first));
    EXPECT_FALSE(MnCache::isCurrent(0));
    MnCache next;
    EXPECT_EQ(MnCache::currentStamp(), first + 1);
}

TEST(MnCache, ScopesOfAnotherThreadDoNotTouchThisThread)
{
    MnCache scope;
    const int stamp = MnCache::currentStamp();
    int otherBefore = -1;
    int otherInside = -1;
    std::thread other([&] {
        otherBefore = MnCache::currentStamp();
        MnCache otherScope;
        otherInside = MnCache::currentStamp();
    });
    other.join();
    EXPECT_EQ(otherBefore, 0);
    EXPECT_NE(otherInside, 0);
    EXPECT_EQ(MnCache::currentStamp(), stamp);
    EXPECT_EQ(MnCache::nesting(), 1);
}

TEST(MnCache, ScopesOpenAtTheSameTimeOnTwoThreadsGetDifferentStamps)
{
    // Both threads hold their scope until both have read their stamp.
    std::latch bothOpen(2);
    int stamps[2] = {0, 0};
    auto openScope = [&](int which) {
        MnCache scope;
        stamps[which] = MnCache::currentStamp();
        bothOpen.arrive_and_wait();
    };
    std::thread first(openScope, 0);
    std::thread second(openScope, 1);
    first.join();
    second.join();
    EXPECT_NE(stamps[0], 0);
    EXPECT_NE(stamps[1], 0);
    EXPECT_NE(stamps[0], stamps[1]);
}
