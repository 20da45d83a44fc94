#include "common/MpTestPerformance.h"
#include "playback/MpDxToFine.h"
#include "playback/MpRepeat.h"
#include "playback/MpTestScores.h"
#include "playback/MpVolta.h"

#include <gtest/gtest.h>

#include <string>
#include <utility>
#include <vector>

// The step grid, and the state a performance keeps: pass counters, jump
// counters, the state stack, the pending jump, and what seek and the
// look-ahead leave of them.

namespace {

// Every counter and flag of the jump list and the performance, as text.
std::string stateOf(const MpPerformer& performer)
{
    std::string text;
    for (int i = 0; i < performer.jumpCount(); ++i) {
        const MpJump* jump = performer.jump(i);
        text += "[" + std::to_string(jump->time()) + ">" + std::to_string(jump->target());
        if (jump->isKindOf(MpRepeat::staticClass()))
            text += " passes " + std::to_string(static_cast<const MpRepeat*>(jump)->passCounter());
        if (jump->isKindOf(MpVolta::staticClass()))
            text += " pass " + std::to_string(static_cast<const MpVolta*>(jump)->pass());
        if (jump->isKindOf(MpDxToFine::staticClass()))
            text += static_cast<const MpDxToFine*>(jump)->isFired() ? " fired" : " ready";
        text += "]";
    }
    text += " states";
    for (int i = 0; i < performer.jumpStates().count(); ++i)
        text += " " + std::to_string(performer.jumpStates()[i]);
    text += " entered";
    for (int m = 1; m <= 8; ++m)
        text += " " + std::to_string(performer.passCount(m));
    return text;
}

// Five measures: a repeat of 1-2, a first and second ending on 3 and 4, and
// a D.C. al Fine at 5 with the Fine at 2.
std::unique_ptr<MnScore> jumpingScore()
{
    std::unique_ptr<MnScore> score = restScore(5);
    applyMarks(*score, {{.measure = 2, .barline = MnBarlineEndRepeat, .jump = MnRepeatJumpFine},
                        {.measure = 3, .barline = MnBarlineEndRepeat, .voltas = 0x1},
                        {.measure = 4, .voltas = 0x2},
                        {.measure = 5, .jump = MnRepeatJumpDaCapoAlFine}});
    return score;
}

TEST(MpPerformerGrid, QuartersInFourFourStepBySixtyFourths)
{
    std::unique_ptr<MnScore> score = restScore(1);
    MpVoiceWriter voice(score->staff(0)->measure(0), 0);
    for (int key : {keyC4, keyD4, keyE4, keyF4})
        voice.chord(quarter, {key});
    MpTestPerformance performance(*score);
    EXPECT_EQ(performance.step(), 3780);
}

TEST(MpPerformerGrid, TripletsAgainstSixteenthsStepByTheCommonGrid)
{
    std::unique_ptr<MnScore> score = restScore(1, 2);
    MnMeasure* triplets = score->staff(0)->measure(0);
    MpVoiceWriter(triplets, 0).rest(whole);
    for (int beat = 0; beat < 4; ++beat)
        ASSERT_TRUE(triplets->makeTuplet(0, beat * quarter, quarter, 3, false));
    MpVoiceWriter sixteenths(score->staff(1)->measure(0), 0);
    for (int i = 0; i < 16; ++i)
        sixteenths.chord(MnTicksSixteenth, {keyC4});

    MpTestPerformance performance(*score);
    EXPECT_EQ(performance.step(), 1260);
}

// Grace notes of a 32nd note each last 1890 ticks: the first measure steps
// finer, so that the grid from the first grace note meets the bar line.
TEST(MpPerformerGrid, LeadInOffTheGridStillMeetsTheBarLines)
{
    std::unique_ptr<MnScore> score = restScore(2);
    MpVoiceWriter first(score->staff(0)->measure(0), 0);
    // Slashed: not an appoggiatura, which would sound on the beat.
    first.grace(MnTicksSixteenth, {keyD4})->setGraceSlash(true);
    first.chord(MnTicks32nd, {keyC4});
    first.rest(MnTicks32nd);
    first.rest(MnTicksSixteenth);
    first.rest(MnTicksEighth);
    first.rest(quarter);
    first.rest(2 * quarter);
    MpVoiceWriter(score->staff(0)->measure(1), 0).chord(whole, {keyE4});

    const int leadIn = MpPerformer::firstGridTime(score.get());
    ASSERT_EQ(leadIn, -1890);
    MpTestPerformance performance(*score, leadIn);
    performance.run();
    for (const auto& [key, tick] : {std::pair{keyD4, -1890}, std::pair{keyC4, 0}, std::pair{keyE4, whole}}) {
        const std::vector<MpRecordedNote> notes = performance.listener.notesOfKey(key);
        ASSERT_FALSE(notes.empty()) << "key " << key << " never sounds";
        EXPECT_EQ(notes.front(), MpRecordedNote({tick, true, 0, key, 71 / 127.0}));
    }
    EXPECT_EQ(performance.entered, (std::vector<int>{1, 2}));
}

// Measures shorter than a 64th, or of a length that no 64th divides: the
// grid still lands on every bar line.
TEST(MpPerformerGrid, OddMeasureLengthsStillMeetTheBarLines)
{
    for (int beats : {1, 3}) {
        SCOPED_TRACE(std::to_string(beats) + " 256ths");
        std::unique_ptr<MnScore> score = restScore(3);
        for (int m = 0; m < 3; ++m) {
            MnMeasure* measure = score->staff(0)->measure(m);
            ASSERT_TRUE(measure->setBeatTicks(MnShortestValue));
            ASSERT_TRUE(measure->setBeats(beats));
            MpVoiceWriter notes(measure, 0);
            MpVoiceWriter rests(measure, 1);
            notes.chord(MnShortestValue, {keyC4 + m});
            for (int beat = 0; beat < beats; ++beat) {
                if (beat > 0)
                    notes.rest(MnShortestValue);
                rests.rest(MnShortestValue);
            }
        }
        MpTestPerformance performance(*score);
        performance.run();
        EXPECT_TRUE(performance.performer.isFinished());
        EXPECT_EQ(performance.entered, (std::vector<int>{1, 2, 3}));
        for (int m = 0; m < 3; ++m) {
            const int start = m * beats * MnShortestValue;
            const std::vector<MpRecordedNote> expected = {{start, true, 0, keyC4 + m, 71 / 127.0},
                                                          {start + MnShortestValue, false, 0, keyC4 + m, 0.0}};
            EXPECT_EQ(performance.listener.notesOfKey(keyC4 + m), expected) << "measure " << m + 1;
        }
    }
}

TEST(MpPerformerState, SeekAcrossARepeatAnswersItsTarget)
{
    std::unique_ptr<MnScore> score = restScore(3);
    applyMarks(*score, {{.measure = 1, .barline = MnBarlineStartRepeat}, {.measure = 2, .barline = MnBarlineEndRepeat}});
    MpTestPerformance performance(*score);
    performance.cursor.setPosition(whole + 3 * quarter, 0, false);
    const MpPerformer& performer = performance.performer;

    EXPECT_EQ(performer.seek(0), whole + 3 * quarter);
    EXPECT_EQ(performer.seek(quarter / 2), whole + 3 * quarter + quarter / 2);
    EXPECT_EQ(performer.seek(quarter), whole);
    EXPECT_EQ(performer.seek(2 * quarter), whole);
}

TEST(MpPerformerState, SeekAndTheLookAheadChangeNoCounter)
{
    std::unique_ptr<MnScore> score = jumpingScore();
    MpTestPerformance performance(*score);
    const MpPerformer& performer = performance.performer;
    while (!performer.isFinished()) {
        const std::string before = stateOf(performer);
        for (int ticks : {MnTicks64th, quarter, whole, 3 * whole})
            performer.seek(ticks);
        ASSERT_EQ(stateOf(performer), before) << "seek changed the state";
        // A step changes the counters only when it arrives at a bar line,
        // where the jumps stand, although the look-ahead tries the jumps at
        // the end of the measure at every step.
        const int time = performance.cursor.time();
        const int target = time + performer.lastStep();
        performance.step();
        if (target % whole != 0) {
            ASSERT_EQ(stateOf(performer), before) << "the step from " << time << " changed the state";
        }
    }
    // The jumps did count: the repeat, the endings, the D.C. and the Fine.
    EXPECT_EQ(performance.entered, (std::vector<int>{1, 2, 1, 2, 3, 1, 2, 4, 5, 1, 2, 1, 2}));
}

TEST(MpPerformerState, PendingJumpNamesTheMeasureThatPlaysNext)
{
    std::unique_ptr<MnScore> score = jumpingScore();
    MpTestPerformance performance(*score);
    std::vector<int> pending;
    while (!performance.performer.isFinished()) {
        performance.step();
        const int measure = performance.cursor.time() / whole + 1;
        if (performance.cursor.time() % whole == MnTicks64th)
            pending.push_back(measure * 100 + performance.performer.pendingJumpMeasure());
    }
    // Measure 2 leads back to 1, then to the first ending, then to the
    // second; measure 3 and the D.C. at 5 lead to 1; after the D.C. the
    // repeat plays again, and then measure 2 ends at the Fine, which leads
    // to no measure.
    const std::vector<int> expected = {99, 201, 99, 203, 301, 99, 204, 399, 501, 99, 201, 99, 199};
    EXPECT_EQ(pending, expected);
}

TEST(MpPerformerState, PassCountOutsideTheMeasuresIsZero)
{
    std::unique_ptr<MnScore> score = restScore(2);
    applyMarks(*score, {{.measure = 2, .barline = MnBarlineEndRepeat}});
    MpTestPerformance performance(*score);
    performance.run();
    EXPECT_EQ(performance.performer.passCount(1), 2);
    EXPECT_EQ(performance.performer.passCount(2), 2);
    for (int index : {-1, 0, 3, 1000})
        EXPECT_EQ(performance.performer.passCount(index), 0) << index;
}

TEST(MpPerformerState, StartWithoutRestartKeepsOnlyThePendingStep)
{
    std::unique_ptr<MnScore> score = jumpingScore();
    ASSERT_TRUE(addDynamic(score->staff(0), 0, whole, MnDynamicFF));
    ASSERT_TRUE(addPedal(score->staff(0), 0, 3 * whole));
    MpTestPerformance performance(*score);
    MpPerformer& performer = performance.performer;
    while (performance.cursor.time() < whole + 3 * quarter || performer.passCount(1) < 2)
        performance.step();
    ASSERT_EQ(performer.dynamicLevel(), 113);
    ASSERT_TRUE(performer.isPedalDown());
    const int step = performer.lastStep();
    const int time = performance.cursor.time();

    performer.start(&performance.listener, &performance.cursor, false);
    EXPECT_EQ(performer.lastStep(), step);
    EXPECT_EQ(performance.cursor.time(), time);
    EXPECT_EQ(performer.dynamicLevel(), 71);
    EXPECT_EQ(performer.hairpinOffset(), 0);
    EXPECT_FALSE(performer.isPedalDown());
    EXPECT_EQ(performer.pendingJumpMeasure(), -1);
    EXPECT_EQ(stateOf(performer), "[483840>0 passes 0][483840>1209600][483840>483840 pass 0][725760>0 passes 0]"
                                  "[1209600>0 ready] states 0 entered 0 0 0 0 0 0 0 0");

    performer.start(&performance.listener, &performance.cursor, true);
    EXPECT_EQ(performer.lastStep(), 0);
}

} // namespace
