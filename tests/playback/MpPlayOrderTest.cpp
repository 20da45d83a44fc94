#include "common/MpTestPerformance.h"
#include "playback/MpTestScores.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

// The order in which a performance enters the measures of small scores that
// hold only rests and the marks of their measures.

namespace {

struct PlayOrderCase
{
    std::string name;
    int measures;
    std::initializer_list<MeasureMarks> marks;
    std::vector<int> entered;
};

const int endRepeat = MnBarlineEndRepeat;
const int startRepeat = MnBarlineStartRepeat;
const int endStartRepeat = MnBarlineEndStartRepeat;

class MpPlayOrderTest : public ::testing::TestWithParam<PlayOrderCase>
{
};

TEST_P(MpPlayOrderTest, EntersTheMeasuresInPlayOrder)
{
    const PlayOrderCase& row = GetParam();
    std::unique_ptr<MnScore> score = restScore(row.measures);
    applyMarks(*score, row.marks);
    EXPECT_EQ(measuresEntered(*score), row.entered);
}

const PlayOrderCase playOrderCases[] = {
    {"Written", 3, {}, {1, 2, 3}},
    {"RepeatCountThree", 4,
     {{.measure = 1, .barline = startRepeat}, {.measure = 3, .barline = endRepeat, .repeats = 3}},
     {1, 2, 3, 2, 3, 2, 3, 4}},
    {"RepeatWithoutStartGoesBackToMeasureOne", 3, {{.measure = 2, .barline = endRepeat}}, {1, 2, 1, 2, 3}},
    {"EndStartRepeatClosesOneSectionAndOpensTheNext", 4,
     {{.measure = 2, .barline = endStartRepeat}, {.measure = 3, .barline = endRepeat}},
     {1, 2, 1, 2, 3, 3, 4}},
    {"FirstAndSecondEnding", 5,
     {{.measure = 4, .barline = endRepeat, .voltas = 0x1}, {.measure = 5, .voltas = 0x2}},
     {1, 2, 3, 4, 1, 2, 3, 5}},
    {"FirstEndingWithoutSecondIsIgnored", 5, {{.measure = 4, .barline = endRepeat, .voltas = 0x1}},
     {1, 2, 3, 4, 1, 2, 3, 4, 5}},
    {"MaskHoldingTwoEndings", 5,
     {{.measure = 4, .barline = endRepeat, .repeats = 3, .voltas = 0x3}, {.measure = 5, .voltas = 0x4}},
     {1, 2, 3, 4, 1, 2, 3, 4, 1, 2, 3, 5}},
    {"DaCapoAlFineReplaysRepeatsAndEndsAtFine", 4,
     {{.measure = 2, .barline = endRepeat},
      {.measure = 3, .jump = MnRepeatJumpFine},
      {.measure = 4, .jump = MnRepeatJumpDaCapoAlFine}},
     {1, 2, 1, 2, 3, 4, 1, 2, 1, 2, 3}},
    {"DalSegnoAlCodaWithToCoda", 6,
     {{.measure = 2, .marker = MnRepeatMarkerSegno},
      {.measure = 3, .jump = MnRepeatJumpToCoda},
      {.measure = 4, .jump = MnRepeatJumpDalSegnoAlCoda},
      {.measure = 5, .marker = MnRepeatMarkerCoda}},
     {1, 2, 3, 4, 2, 3, 5, 6}},
    {"DalSegnoWithoutSegnoAddsNoJump", 3, {{.measure = 2, .jump = MnRepeatJumpDalSegnoAlCoda}}, {1, 2, 3}},
    {"ToCodaWithoutCodaAddsNoJump", 3,
     {{.measure = 1, .jump = MnRepeatJumpToCoda}, {.measure = 2, .jump = MnRepeatJumpDaCapoAlCoda}},
     {1, 2, 1, 2, 3}},
    {"DaCapoIsTakenOnce", 3, {{.measure = 2, .jump = MnRepeatJumpDaCapoAlFine}}, {1, 2, 1, 2, 3}},
    {"EndRepeatBeforeDaCapoOfTheSameMeasure", 3,
     {{.measure = 1, .jump = MnRepeatJumpFine}, {.measure = 2, .barline = endRepeat, .jump = MnRepeatJumpDaCapoAlFine}},
     {1, 2, 1, 2, 1}},
    {"EndingAfterDaCapoTakesTheLastEnding", 4,
     {{.measure = 2, .barline = endRepeat, .voltas = 0x1},
      {.measure = 3, .voltas = 0x2},
      {.measure = 4, .jump = MnRepeatJumpDaCapoAlFine}},
     {1, 2, 1, 3, 4, 1, 3, 4}},
};

INSTANTIATE_TEST_SUITE_P(Scores, MpPlayOrderTest, ::testing::ValuesIn(playOrderCases),
                         [](const ::testing::TestParamInfo<PlayOrderCase>& info) { return info.param.name; });

} // namespace
