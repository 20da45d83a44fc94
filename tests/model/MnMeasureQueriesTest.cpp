#include "model/MnCache.h"
#include "model/MnChord.h"
#include "model/MnMeasure.h"
#include "model/MnScore.h"
#include "model/MnStaff.h"
#include "model/MnStaffChange.h"
#include "model/MnTuplet.h"

#include "common/TestPrinters.h"
#include "model/VoiceBuilder.h"

#include <gtest/gtest.h>

#include <vector>

namespace {

const int half = 120960;
const int quarter = 60480;
const int eighth = 30240;

std::vector<int> split(int ticks)
{
    BcArray<int> values;
    MnMeasure::splitIntoValues(ticks, values);
    return std::vector<int>(values.data(), values.data() + values.count());
}

} // namespace

TEST(MnMeasureQueries, StartTimesAddTheLengthsBefore)
{
    MnScore score;
    MnStaff* staff = score.staff(0);
    ASSERT_TRUE(staff->insertMeasure(-1, MnTime3_4));
    ASSERT_TRUE(staff->insertMeasure(-1, MnTime4_4));
    EXPECT_EQ(staff->measure(0)->startTime(), 0);
    EXPECT_EQ(staff->measure(1)->startTime(), 241920);
    EXPECT_EQ(staff->measure(2)->startTime(), 423360);
    EXPECT_EQ(staff->totalTicks(), 423360 + 241920);
    EXPECT_EQ(staff->measure(0)->nextMeasure(), staff->measure(1));
    EXPECT_EQ(staff->measure(2)->nextMeasure(), nullptr);

    // Cached within a scope, fresh after it.
    {
        MnCache scope;
        EXPECT_EQ(staff->measure(2)->startTime(), 423360);
        staff->measure(1)->setBeats(4);
        EXPECT_EQ(staff->measure(2)->startTime(), 423360);
    }
    EXPECT_EQ(staff->measure(2)->startTime(), 483840);
}

TEST(MnMeasureQueries, VoltaTexts)
{
    MnScore score;
    score.insertStaff(-1);
    MnMeasure* measure = score.staff(0)->measure(0);
    measure->setVoltaMask(0x203);
    EXPECT_EQ(measure->voltaText(false), BcString("1. 2. 10."));
    EXPECT_EQ(measure->voltaText(true), BcString());

    // A custom text replaces the generated one, in every staff at once.
    EXPECT_TRUE(measure->setVoltaText(BcString("1.-3.")));
    EXPECT_EQ(measure->voltaText(false), BcString("1.-3."));
    EXPECT_EQ(score.staff(1)->measure(0)->voltaText(true), BcString("1.-3."));
}

TEST(MnMeasureQueries, SplitIntoValues)
{
    EXPECT_EQ(split(181440), (std::vector<int>{120960, 60480}));
    EXPECT_EQ(split(5670), (std::vector<int>{3780, 1890}));
    EXPECT_EQ(split(241920), (std::vector<int>{241920}));
    EXPECT_EQ(split(483840 + 30240), (std::vector<int>{241920, 241920, 30240}));
    EXPECT_EQ(split(0), std::vector<int>());
    EXPECT_EQ(split(-5), std::vector<int>());
    EXPECT_EQ(split(5), (std::vector<int>{3, 1, 1}));
}

TEST(MnMeasureQueries, MeasureRests)
{
    MnStaff threeFourStaff(nullptr, 0, MnTime3_4);
    MnMeasure* threeFour = threeFourStaff.measure(0);
    // A new 3/4 measure: a half and a quarter rest, both voices measure rests.
    ASSERT_EQ(threeFour->chordCount(0, false), 2);
    EXPECT_EQ(threeFour->chordAt(1, 0, false)->time(), half);
    EXPECT_TRUE(threeFour->isMeasureRest(0));
    EXPECT_TRUE(threeFour->isMeasureRest(1));
    EXPECT_EQ(threeFour->chordCount(0, true), 1);
    EXPECT_EQ(threeFour->chordAt(0, 0, true), threeFour->chordAt(0, 0, false));
    EXPECT_EQ(threeFour->chordAt(1, 0, true), nullptr);

    MnScore score;
    MnStaff* staff = score.staff(0);
    MnMeasure* fourFour = staff->measure(0);
    EXPECT_TRUE(fourFour->isMeasureRest(0));
    {
        VoiceBuilder voice(fourFour, 0);
        voice.chord(half);
        voice.chord(half);
    }
    EXPECT_FALSE(fourFour->isMeasureRest(0)); // two rests only in odd lengths
    {
        VoiceBuilder voice(fourFour, 0);
        voice.chord(3 * quarter);
    }
    fourFour->setBeats(3); // shortened below its meter
    EXPECT_FALSE(fourFour->isMeasureRest(0));
    EXPECT_FALSE(fourFour->isMeasureRest(2));
}

TEST(MnMeasureQueries, VisibleChordsSkipGraceChordsAndHiddenRests)
{
    MnScore score;
    MnMeasure* measure = score.staff(0)->measure(0);
    VoiceBuilder voice(measure, 1);
    MnChord* hiddenFirst = voice.chord(quarter);
    hiddenFirst->setHidden(true);
    voice.grace(eighth)->addNote(0, 4, 3, false);
    MnChord* note = voice.note(quarter, 0, 4);
    voice.chord(quarter)->setHidden(true);
    MnChord* rest = voice.chord(quarter);

    EXPECT_EQ(measure->chordCount(1, false), 5);
    // The hidden rest counts while nothing has been counted before it.
    ASSERT_EQ(measure->chordCount(1, true), 3);
    EXPECT_EQ(measure->chordAt(0, 1, true), hiddenFirst);
    EXPECT_EQ(measure->chordAt(1, 1, true), note);
    EXPECT_EQ(measure->chordAt(2, 1, true), rest);
    EXPECT_EQ(measure->chordAt(3, 1, true), nullptr);
    EXPECT_EQ(measure->chordAt(5, 1, false), nullptr);
    EXPECT_EQ(measure->chordAt(-1, 1, false), nullptr);
}

TEST(MnMeasureQueries, Divisions)
{
    MnScore score;
    score.insertStaff(-1);
    MnMeasure* measure = score.staff(0)->measure(0);
    {
        VoiceBuilder voice(measure, 0);
        for (int i = 0; i < 8; ++i)
            voice.note(eighth, i % 7, 4);
    }
    EXPECT_EQ(measure->divisions(true), 8);

    // A triplet of eighths on the first beat needs 12 slots, the eighths 8.
    {
        VoiceBuilder voice(measure, 0);
        MnChord* first = voice.triplet(eighth);
        first->setTuplet(new MnTuplet(first, quarter, 3, false));
        voice.triplet(eighth);
        voice.triplet(eighth);
        for (int i = 0; i < 6; ++i)
            voice.note(eighth, 0, 4);
    }
    EXPECT_EQ(measure->divisions(true), 24);

    // A dotted quarter followed by an eighth: the dot falls on an eighth.
    MnMeasure* lower = score.staff(1)->measure(0);
    {
        VoiceBuilder voice(lower, 0);
        voice.note(90720, 0, 3);
        voice.note(eighth, 0, 3);
        voice.note(half, 0, 3);
    }
    EXPECT_EQ(lower->divisions(true), 8);
    // The whole column: the least common multiple of both staves.
    EXPECT_EQ(lower->divisions(false), 24);
    EXPECT_EQ(score.staff(0)->measure(0)->divisions(false), 24);

    // Grace chords need no slot of their own; a whole rest needs one.
    MnScore plain;
    EXPECT_EQ(plain.staff(0)->measure(0)->divisions(true), 1);
}
