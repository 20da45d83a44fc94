#include "common/EdFakeContext.h"
#include "editing/EdContext.h"

#include <gtest/gtest.h>

// The tick count is the one clock of deadlines and stamps, whose callers
// keep 0 for "none": whatever the clock reads, it never answers 0.
TEST(EdContext, TickCountIsNeverZero)
{
    EXPECT_GT(EdContext::current().tickCount(), 0u);

    EdFakeContext context;
    const unsigned long long readings[][2] = {{0, 1}, {1, 1}, {2, 2}, {4242, 4242}, {~0ull, ~0ull}};
    for (const auto& [clock, answer] : readings) {
        context.clock = clock;
        EXPECT_EQ(context.tickCount(), answer) << "clock " << clock;
        EXPECT_EQ(EdContext::current().tickCount(), answer) << "clock " << clock;
    }
}
