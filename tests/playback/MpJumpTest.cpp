#include "playback/MpDxToCoda.h"
#include "playback/MpDxToFine.h"
#include "playback/MpFine.h"
#include "playback/MpPerformer.h"
#include "playback/MpRepeat.h"
#include "playback/MpToCoda.h"
#include "playback/MpVolta.h"

#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <string>
#include <vector>

// The jump family: when each jump is taken, what its copies answer, which
// repeats a D.C. or D.S. resets, and the order of jumps at one time.

namespace {

const int alFine = MpJump::alFineState;
const int alCoda = MpJump::alCodaState;
const int normal = MpJump::normalState;
const int pop = MpJump::popState;

// One trigger: the state handed in, and whether the jump is taken, the state
// it leaves and the target it answers.
struct Arrival
{
    int state;
    bool taken;
    int stateAfter;
    int target;
};

struct TriggerCase
{
    std::string name;
    std::function<MpJump*()> make;
    std::vector<Arrival> arrivals;
};

MpVolta* voltaOf(std::initializer_list<int> starts)
{
    MpVolta* volta = new MpVolta(*starts.begin());
    for (int start : starts)
        volta->addEndingStart(start);
    return volta;
}

class MpJumpTriggerTest : public ::testing::TestWithParam<TriggerCase>
{
};

// Each arrival is tried on a clone and on a copy on the stack first: both
// answer what the jump itself then answers, and neither changes it.
TEST_P(MpJumpTriggerTest, TakenAsItsCountersSay)
{
    std::unique_ptr<MpJump> jump(GetParam().make());
    for (size_t i = 0; i < GetParam().arrivals.size(); ++i) {
        const Arrival& arrival = GetParam().arrivals[i];
        SCOPED_TRACE("arrival " + std::to_string(i + 1));
        int cloneState = arrival.state;
        std::unique_ptr<MpJump> clone(jump->clone());
        const bool cloneTaken = clone->trigger(cloneState);
        {
            MpJumpCopy copy(*jump);
            int copyState = arrival.state;
            EXPECT_EQ(copy->trigger(copyState), cloneTaken);
            EXPECT_EQ(copyState, cloneState);
            EXPECT_EQ(copy->target(), clone->target());
            EXPECT_EQ(copy->dynamicClass(), jump->dynamicClass());
        }

        int state = arrival.state;
        EXPECT_EQ(jump->trigger(state), arrival.taken);
        EXPECT_EQ(state, arrival.stateAfter);
        EXPECT_EQ(cloneTaken, arrival.taken);
        EXPECT_EQ(cloneState, arrival.stateAfter);
        if (arrival.taken) {
            EXPECT_EQ(jump->target(), arrival.target);
            EXPECT_EQ(clone->target(), arrival.target);
        }
    }
}

const TriggerCase triggerCases[] = {
    {"RepeatPlaysTheSectionPlayCountTimes",
     [] { return new MpRepeat(100, 10, 3); },
     {{normal, true, normal, 10}, {alFine, true, alFine, 10}, {normal, false, normal, 0}, {normal, false, normal, 0}}},
    {"RepeatOfOnePlayIsNeverTaken", [] { return new MpRepeat(100, 10, 1); }, {{normal, false, normal, 0}}},
    {"VoltaTakesEachEndingThenTheLast",
     [] { return voltaOf({10, 50, 90}); },
     {{normal, true, normal, 10}, {normal, true, normal, 50}, {alCoda, true, alCoda, 90}, {normal, true, normal, 90}}},
    {"DaCapoAlFineOnceEnteringAlFine",
     [] { return new MpDxToFine(100, 0); },
     {{normal, true, alFine, 0}, {normal, false, normal, 0}}},
    {"DalSegnoAlFineFromAlCoda", [] { return new MpDxToFine(100, 30); }, {{alCoda, true, alFine, 30}}},
    {"DaCapoAlCodaOnceEnteringAlCoda",
     [] { return new MpDxToCoda(100, 0); },
     {{alFine, true, alCoda, 0}, {alCoda, false, alCoda, 0}}},
    {"FineOnlyAlFine",
     [] { return new MpFine(100, 400); },
     {{normal, false, normal, 0}, {alCoda, false, alCoda, 0}, {alFine, true, pop, 400}, {alFine, true, pop, 400}}},
    {"ToCodaOnlyAlCoda",
     [] { return new MpToCoda(100, 300); },
     {{normal, false, normal, 0}, {alFine, false, alFine, 0}, {alCoda, true, pop, 300}}},
};

INSTANTIATE_TEST_SUITE_P(Jumps, MpJumpTriggerTest, ::testing::ValuesIn(triggerCases),
                         [](const ::testing::TestParamInfo<TriggerCase>& info) { return info.param.name; });

TEST(MpJump, DaCapoOrDalSegnoOverARepeatPlaysItAgain)
{
    struct Row
    {
        const char* name;
        MpJump* taken;
        bool resets;
    };
    // The repeat stands at 200 and leads back to 100.
    const Row rows[] = {
        {"D.C. after the repeat", new MpDxToFine(300, 0), true},
        {"D.S. to the repeat's start", new MpDxToCoda(300, 100), true},
        {"D.S. into the section", new MpDxToCoda(300, 150), false},
        {"D.C. before the repeat", new MpDxToFine(150, 0), false},
        {"D.C. at the repeat", new MpDxToFine(200, 0), true},
        {"another repeat", new MpRepeat(300, 0, 2), false},
        {"an ending", voltaOf({0, 300}), false},
        {"a Fine", new MpFine(300, 400), false},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        std::unique_ptr<MpJump> taken(row.taken);
        MpRepeat repeat(200, 100, 2);
        int state = normal;
        repeat.trigger(state);
        repeat.resetOnJump(taken.get());
        EXPECT_EQ(repeat.passCounter(), row.resets ? 0 : 1);
    }
}

TEST(MpJump, VoltaHoldsTenEndings)
{
    MpVolta volta(0);
    for (int i = 0; i < MpVolta::maxEndings; ++i)
        EXPECT_TRUE(volta.addEndingStart(i * 10));
    EXPECT_FALSE(volta.addEndingStart(1000));
    EXPECT_EQ(volta.endingCount(), MpVolta::maxEndings);
}

// Jumps at one time: repeats first (the last added first), then the others
// in the order added, then the endings; each time in order.
TEST(MpJump, AddJumpKeepsTheOrderOfOneTime)
{
    MpPerformer performer;
    const std::vector<MpJump*> added = {
        new MpFine(100, 900),    new MpVolta(100),        new MpRepeat(100, 0, 2), new MpDxToFine(100, 0),
        new MpRepeat(100, 50, 2), new MpVolta(100),       new MpToCoda(100, 700),  new MpRepeat(40, 0, 2),
        new MpDxToCoda(200, 0),   new MpRepeat(200, 0, 2),
    };
    for (MpJump* jump : added)
        performer.addJump(jump);
    const std::vector<MpJump*> expected = {added[7], added[4], added[2], added[0], added[3],
                                           added[6], added[1], added[5], added[9], added[8]};
    ASSERT_EQ(performer.jumpCount(), int(expected.size()));
    for (int i = 0; i < performer.jumpCount(); ++i)
        EXPECT_EQ(performer.jump(i), expected[i]) << "place " << i;
}

} // namespace
