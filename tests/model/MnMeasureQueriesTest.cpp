#include "model/MnChord.h"
#include "model/MnCodes.h"
#include "model/MnMeasure.h"
#include "model/MnPart.h"
#include "model/MnScore.h"
#include "model/MnStaff.h"
#include "model/MnTuplet.h"

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

TEST(MnMeasureQueries, AHiddenRestCountsAsVisibleWhenItComesFirst)
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

TEST(MnMeasureQueries, BarlineSpaces)
{
    MnScore score;
    score.insertMeasure(-1);
    MnMeasure* first = score.staff(0)->measure(0);
    MnMeasure* second = score.staff(0)->measure(1);
    struct Row
    {
        int barline;
        double endInside, endAtSystemEnd, leadingInside, leadingAtSystemStart;
    };
    // The codes 6 and -1 are no bar lines: the measure refuses them and
    // keeps the spaces of its end-and-start repeat.
    const Row rows[] = {
        {0, 0.1, 0.1, 0.1, -0.1}, {1, 0.7, 0.7, 0.7, -0.7}, {2, 1.3, 0.4, 0.4, -0.4},
        {3, 2.6, 0.4, 0.4, -0.4}, {4, 0.4, -0.2, 2.6, 2.4}, {5, 2.6, 0.4, 2.6, 2.4},
        {6, 2.6, 0.4, 2.6, 2.4},  {-1, 2.6, 0.4, 2.6, 2.4},
    };
    for (const Row& row : rows) {
        EXPECT_EQ(first->setBarline(row.barline), mnIsBarline(row.barline)) << row.barline;
        EXPECT_EQ(first->barlineSpace(false), row.endInside) << row.barline;
        EXPECT_EQ(first->barlineSpace(true), row.endAtSystemEnd) << row.barline;
        EXPECT_EQ(second->leadingBarlineSpace(false), row.leadingInside) << row.barline;
        EXPECT_EQ(second->leadingBarlineSpace(true), row.leadingAtSystemStart) << row.barline;
    }
    // Nothing stands before the first measure.
    EXPECT_EQ(first->leadingBarlineSpace(false), 0.0);
    EXPECT_EQ(first->leadingBarlineSpace(true), 0.0);
}

TEST(MnMeasureQueries, BarlineStaffScaleFollowsTheThroughBarLines)
{
    MnScore score;
    score.insertStaff(-1);
    score.insertStaff(-1);
    score.insertStaff(-1);
    const double scales[] = {1.5, 0.8, 1.2, 2.0};
    for (int i = 0; i < 4; ++i)
        score.part(i)->setScale(scales[i]);
    // Bar lines run from staff 0 through staff 2; staff 3 stands alone.
    score.staff(2)->measure(0)->setToNextStaff(false);
    score.staff(3)->measure(0)->setToNextStaff(false);

    EXPECT_EQ(score.staff(1)->measure(0)->barlineStaffScale(), 1.5);
    EXPECT_EQ(score.staff(2)->measure(0)->barlineStaffScale(), 1.5);
    EXPECT_EQ(score.staff(3)->measure(0)->barlineStaffScale(), 2.0);
    score.staff(1)->measure(0)->setToNextStaff(false);
    EXPECT_EQ(score.staff(0)->measure(0)->barlineStaffScale(), 1.5);
    EXPECT_EQ(score.staff(1)->measure(0)->barlineStaffScale(), 1.5);
    EXPECT_EQ(score.staff(2)->measure(0)->barlineStaffScale(), 1.2);
}
