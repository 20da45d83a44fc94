#include "common/MpTestPerformance.h"
#include "playback/MpTestScores.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

// Dynamic marks and hairpins turned into velocity levels, and the part's
// volume applied to them.

namespace {

struct DynamicLine
{
    int start;
    int length;
    int kind;
};

// The level and hairpin offset once the cursor stands at a time.
struct LevelAt
{
    int time;
    int level;
    int offset;
};

struct HairpinCase
{
    std::string name;
    std::vector<DynamicLine> lines;
    std::vector<LevelAt> expected;
};

const int half = 2 * quarter;
const int lastStep = whole - MnTicks64th;
const int crescendo = MnDynamicCrescendoHairpin;
const int diminuendo = MnDynamicDiminuendoHairpin;

class MpHairpinTest : public ::testing::TestWithParam<HairpinCase>
{
};

TEST_P(MpHairpinTest, SpreadsTheChangeOverItsSpan)
{
    const HairpinCase& row = GetParam();
    std::unique_ptr<MnScore> score = restScore(2);
    for (const DynamicLine& line : row.lines)
        ASSERT_TRUE(addDynamic(score->staff(0), line.start, line.length, line.kind));

    MpTestPerformance performance(*score);
    for (const LevelAt& at : row.expected) {
        while (performance.cursor.time() < at.time && !performance.performer.isFinished())
            performance.step();
        ASSERT_EQ(performance.cursor.time(), at.time);
        EXPECT_EQ(performance.performer.dynamicLevel(), at.level) << "at " << at.time;
        EXPECT_EQ(performance.performer.hairpinOffset(), at.offset) << "at " << at.time;
    }
}

// mp is 71, p 61, f 98; without a mark to reach, a hairpin spans 37 (p to f).
const HairpinCase hairpinCases[] = {
    {"CrescendoWithoutMarkEndsThirtySevenUp", {{0, whole, crescendo}}, {{half, 71, 18}, {whole, 71, 37}}},
    {"CrescendoReachesTheForteAtItsEnd",
     {{0, whole, crescendo}, {whole, quarter, MnDynamicF}},
     {{half, 71, 13}, {lastStep, 71, 26}, {whole, 98, 0}}},
    {"MarkAgainstTheDirectionLeavesTheFullSpan",
     {{0, whole, crescendo}, {whole, quarter, MnDynamicP}},
     {{half, 71, 18}, {lastStep, 71, 36}, {whole, 61, 0}}},
    {"SecondCrescendoRestartsFromTheUnchangedLevel",
     {{0, half, crescendo}, {half, half, crescendo}},
     {{half, 71, 0}, {half + quarter, 71, 18}, {whole, 71, 37}}},
    {"DiminuendoAfterCrescendoFoldsTheOffsetIn",
     {{0, half, crescendo}, {half, half, diminuendo}},
     {{half, 108, 0}, {half + quarter, 108, -18}, {whole, 108, -37}}},
    {"DiminuendoStopsAtSilence",
     {{0, quarter, MnDynamicPPP}, {quarter, half, diminuendo}, {half + quarter, quarter, MnDynamicFFF}},
     {{quarter, 20, 0}, {half, 20, -18}, {half + quarter - MnTicks64th, 20, -20}}},
};

INSTANTIATE_TEST_SUITE_P(Lines, MpHairpinTest, ::testing::ValuesIn(hairpinCases),
                         [](const ::testing::TestParamInfo<HairpinCase>& info) { return info.param.name; });

struct VelocityCase
{
    const char* name;
    int volume;
    int mark; // -1: none, the performance's mp
    double velocity;
};

TEST(MpPerformerVelocity, LevelTimesVolumeStaysWithinOne)
{
    const VelocityCase cases[] = {
        {"mp at full volume", 100, -1, 71 / 127.0},
        {"volume 50 halves", 50, -1, 35 / 127.0},
        {"volume 0 is silent", 0, MnDynamicFF, 0.0},
        {"fff at volume 100", 100, MnDynamicFFF, 1.0},
        // 127 x 127 / 100 would give 161/127.
        {"fff at volume 127 stays at 1", 127, MnDynamicFFF, 1.0},
        {"ff at volume 127 stays at 1", 127, MnDynamicFF, 1.0},
    };
    for (const VelocityCase& row : cases) {
        SCOPED_TRACE(row.name);
        std::unique_ptr<MnScore> score = restScore(1);
        score->part(0)->setVolume(row.volume);
        MpVoiceWriter voice(score->staff(0)->measure(0), 0);
        voice.chord(whole, {keyC4});
        if (row.mark >= 0) {
            ASSERT_TRUE(addDynamic(score->staff(0), 0, whole, row.mark));
        }
        MpTestPerformance performance(*score);
        performance.run();
        ASSERT_FALSE(performance.listener.notes.empty());
        const MpRecordedNote& strike = performance.listener.notes.front();
        ASSERT_TRUE(strike.on);
        EXPECT_EQ(strike.velocity, row.velocity);
    }
}

} // namespace
