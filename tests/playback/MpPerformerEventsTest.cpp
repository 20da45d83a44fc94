#include "common/MpTestPerformance.h"
#include "playback/MpTestScores.h"

#include <gtest/gtest.h>

#include <map>
#include <vector>

// The notes a performance starts and stops: ties, staccato, arpeggios,
// grace notes before the first bar line, bar lines, the end of the staff
// and the sustain pedal.

namespace {

const double mp = 71 / 127.0;
const int pianoCode = MnInstrumentPiano;

MpRecordedNote on(int tick, int key, int instrument = pianoCode)
{
    return MpRecordedNote{tick, true, instrument, key, mp};
}

MpRecordedNote off(int tick, int key, int instrument = pianoCode)
{
    return MpRecordedNote{tick, false, instrument, key, 0.0};
}

std::vector<MpRecordedNote> perform(MnScore& score, int startTime = 0)
{
    MpTestPerformance performance(score, startTime);
    performance.run();
    return performance.listener.notes;
}

std::vector<MpRecordedNote> ofKey(const std::vector<MpRecordedNote>& notes, int key)
{
    std::vector<MpRecordedNote> found;
    for (const MpRecordedNote& note : notes) {
        if (note.key == key)
            found.push_back(note);
    }
    return found;
}

// Every key that sounded was released as often as it was struck, its last
// event a release.
void expectNothingLeftSounding(const std::vector<MpRecordedNote>& notes)
{
    std::map<int, int> sounding;
    std::map<int, bool> lastOn;
    for (const MpRecordedNote& note : notes) {
        sounding[note.key] += note.on ? 1 : -1;
        lastOn[note.key] = note.on;
    }
    for (const auto& [key, balance] : sounding) {
        EXPECT_LE(balance, 0) << "key " << key << " is left sounding";
        EXPECT_FALSE(lastOn[key]) << "key " << key << " ends on a note on";
    }
}

TEST(MpPerformerEvents, TieSoundsOnceAndEndsWithTheLastTiedChord)
{
    std::unique_ptr<MnScore> score = restScore(2);
    MnStaff* staff = score->staff(0);
    MpVoiceWriter first(staff->measure(0), 0);
    first.chord(2 * quarter, {keyC4});
    first.tied(2 * quarter, {keyC4});
    MpVoiceWriter second(staff->measure(1), 0);
    second.tied(quarter, {keyC4});
    second.chord(quarter, {keyD4});
    second.rest(2 * quarter);

    const std::vector<MpRecordedNote> expected = {on(0, keyC4), off(whole + quarter, keyC4)};
    EXPECT_EQ(ofKey(perform(*score), keyC4), expected);
}

TEST(MpPerformerEvents, StaccatoReleasesEarlyButNeverAfterItsOwnEnd)
{
    std::unique_ptr<MnScore> score = restScore(1);
    MpVoiceWriter voice(score->staff(0)->measure(0), 0);
    voice.chord(quarter, {keyC4})->setArticulation(MnArticulationStaccato, true);
    voice.chord(quarter, {keyD4})->setArticulation(MnArticulationStaccatissimo, true);
    // A staccato 64th, then the same key again: a release 7560 ticks after
    // the first would cut the second.
    voice.chord(MnTicks64th, {keyE4})->setArticulation(MnArticulationStaccato, true);
    voice.chord(MnTicks64th, {keyE4});
    voice.rest(quarter);
    voice.rest(MnTicksEighth);
    voice.rest(MnTicksSixteenth);
    voice.rest(MnTicks32nd);
    const std::vector<MpRecordedNote> notes = perform(*score);

    EXPECT_EQ(ofKey(notes, keyC4), (std::vector<MpRecordedNote>{on(0, keyC4), off(7560, keyC4)}));
    EXPECT_EQ(ofKey(notes, keyD4), (std::vector<MpRecordedNote>{on(quarter, keyD4), off(quarter + 3780, keyD4)}));
    const int third = 2 * quarter;
    EXPECT_EQ(ofKey(notes, keyE4), (std::vector<MpRecordedNote>{on(third, keyE4), off(third + 3780, keyE4),
                                                                on(third + 3780, keyE4), off(third + 7560, keyE4)}));
}

TEST(MpPerformerEvents, ArpeggioRollsAThirtySecondPerChainPosition)
{
    std::unique_ptr<MnScore> score = restScore(1);
    MpVoiceWriter voice(score->staff(0)->measure(0), 0);
    voice.rest(quarter);
    MnChord* rolled = voice.chord(quarter, {keyC5, keyG4, keyE4, keyC4});
    voice.rest(2 * quarter);
    // The line runs from the lowest note through the flagged notes to the
    // first unflagged one.
    for (int n = 0; n < 3; ++n)
        rolled->note(n)->setArpeggio(true);

    std::vector<MpRecordedNote> strikes;
    for (const MpRecordedNote& note : perform(*score)) {
        if (note.on)
            strikes.push_back(note);
    }
    const std::vector<MpRecordedNote> expected = {on(quarter, keyC4), on(quarter + 7560, keyE4),
                                                  on(quarter + 15120, keyG4), on(quarter + 22680, keyC5)};
    EXPECT_EQ(strikes, expected);
}

TEST(MpPerformerEvents, LeadingGraceNotesSoundBeforeTheFirstBarLine)
{
    std::unique_ptr<MnScore> score = restScore(1);
    MpVoiceWriter voice(score->staff(0)->measure(0), 0);
    voice.grace(MnTicksSixteenth, {keyD4});
    voice.grace(MnTicksSixteenth, {keyE4});
    voice.chord(quarter, {keyC4});
    voice.rest(3 * quarter);

    // Each grace note takes a quarter of the main note's value.
    const int leadIn = MpPerformer::firstGridTime(score.get());
    ASSERT_EQ(leadIn, -30240);
    const std::vector<MpRecordedNote> notes = perform(*score, leadIn);
    // The last grace note ends at the bar line, which releases it once more.
    const std::vector<MpRecordedNote> expected = {on(-30240, keyD4), off(-15120, keyD4), on(-15120, keyE4),
                                                  off(0, keyE4),     off(0, keyE4),      on(0, keyC4),
                                                  off(quarter, keyC4)};
    EXPECT_EQ(notes, expected);

    // From the bar line on, the grace notes are past.
    EXPECT_TRUE(ofKey(perform(*score, 0), keyD4).empty());
}

TEST(MpPerformerEvents, BarLineReleasesThePreviousChordUnlessTiedOn)
{
    for (bool tiedOn : {false, true}) {
        SCOPED_TRACE(tiedOn ? "tied" : "not tied");
        std::unique_ptr<MnScore> score = restScore(2);
        MpVoiceWriter(score->staff(0)->measure(0), 0).chord(whole, {keyC4});
        MpVoiceWriter second(score->staff(0)->measure(1), 0);
        if (tiedOn)
            second.tied(whole, {keyC4});
        else
            second.chord(whole, {keyC4});

        const std::vector<MpRecordedNote> expected =
            tiedOn ? std::vector<MpRecordedNote>{on(0, keyC4), off(2 * whole, keyC4)}
                   : std::vector<MpRecordedNote>{on(0, keyC4), off(whole, keyC4), on(whole, keyC4),
                                                 off(2 * whole, keyC4)};
        EXPECT_EQ(perform(*score), expected);
    }
}

TEST(MpPerformerEvents, EndOfTheStaffReleasesTheLastChordsOfEveryStaff)
{
    std::unique_ptr<MnScore> score = restScore(2, 2);
    for (int s = 0; s < 2; ++s) {
        MpVoiceWriter(score->staff(s)->measure(0), 0).chord(whole, {keyC4 + s});
        MpVoiceWriter(score->staff(s)->measure(1), 0).chord(whole, {keyE4 + s});
        MpVoiceWriter(score->staff(s)->measure(1), 1).chord(whole, {keyG4 + s});
    }
    const std::vector<MpRecordedNote> notes = perform(*score);
    for (int key : {keyE4, keyE4 + 1, keyG4, keyG4 + 1})
        EXPECT_EQ(ofKey(notes, key).back(), off(2 * whole, key));
    expectNothingLeftSounding(notes);
}

TEST(MpPerformerEvents, FineReleasesTheChordsOfItsMeasure)
{
    // Measure 1 is the Fine; after the D.C. the performance ends in it, not
    // in the last measure.
    std::unique_ptr<MnScore> score = restScore(2);
    applyMarks(*score, {{.measure = 1, .jump = MnRepeatJumpFine}, {.measure = 2, .jump = MnRepeatJumpDaCapoAlFine}});
    MpVoiceWriter(score->staff(0)->measure(0), 0).chord(whole, {keyC4});
    MpVoiceWriter(score->staff(0)->measure(1), 0).chord(whole, {keyD4});
    const std::vector<MpRecordedNote> notes = perform(*score);
    EXPECT_EQ(ofKey(notes, keyC4).size(), 4u);
    expectNothingLeftSounding(notes);
}

// Four quarters C D E F in measure 1 of a two-measure score.
std::unique_ptr<MnScore> quartersScore(int instrument)
{
    std::unique_ptr<MnScore> score = restScore(2);
    score->part(0)->setInstrument(instrument);
    MpVoiceWriter voice(score->staff(0)->measure(0), 0);
    for (int key : {keyC4, keyD4, keyE4, keyF4})
        voice.chord(quarter, {key});
    return score;
}

TEST(MpPerformerPedal, PianoNotesSoundUntilThePedalLineEnds)
{
    std::unique_ptr<MnScore> score = quartersScore(MnInstrumentPiano);
    ASSERT_TRUE(addPedal(score->staff(0), 0, 2 * quarter));
    const std::vector<MpRecordedNote> notes = perform(*score);
    EXPECT_EQ(ofKey(notes, keyC4), (std::vector<MpRecordedNote>{on(0, keyC4), off(2 * quarter, keyC4)}));
    EXPECT_EQ(ofKey(notes, keyD4), (std::vector<MpRecordedNote>{on(quarter, keyD4), off(2 * quarter, keyD4)}));
    EXPECT_EQ(ofKey(notes, keyE4), (std::vector<MpRecordedNote>{on(2 * quarter, keyE4), off(3 * quarter, keyE4)}));
}

TEST(MpPerformerPedal, GuitarIgnoresThePedal)
{
    const int guitar = MnInstrumentGuitar;
    std::unique_ptr<MnScore> score = quartersScore(guitar);
    ASSERT_TRUE(addPedal(score->staff(0), 0, 2 * quarter));
    EXPECT_EQ(ofKey(perform(*score), keyC4),
              (std::vector<MpRecordedNote>{on(0, keyC4, guitar), off(quarter, keyC4, guitar)}));
}

TEST(MpPerformerPedal, NewPedalLineReleasesWhatTheOldOneHeld)
{
    std::unique_ptr<MnScore> score = quartersScore(MnInstrumentPiano);
    const int change = quarter + MnTicksEighth;
    ASSERT_TRUE(addPedal(score->staff(0), 0, change));
    ASSERT_TRUE(addPedal(score->staff(0), change, whole - change));
    const std::vector<MpRecordedNote> notes = perform(*score);
    EXPECT_EQ(ofKey(notes, keyC4).back(), off(change, keyC4));
    EXPECT_EQ(ofKey(notes, keyD4).back(), off(whole, keyD4));
    EXPECT_EQ(ofKey(notes, keyE4).back(), off(whole, keyE4));
    expectNothingLeftSounding(notes);
}

TEST(MpPerformerPedal, JumpLeavingThePedalsMeasureLiftsIt)
{
    std::unique_ptr<MnScore> score = quartersScore(MnInstrumentPiano);
    applyMarks(*score, {{.measure = 1, .barline = MnBarlineEndRepeat}});
    ASSERT_TRUE(addPedal(score->staff(0), 0, whole));
    // The second pass starts at time 0 again: the held note stops before it
    // is struck anew, and the pedal goes down again with the line.
    const std::vector<MpRecordedNote> expected = {on(0, keyC4), off(0, keyC4), on(0, keyC4), off(whole, keyC4)};
    EXPECT_EQ(ofKey(perform(*score), keyC4), expected);
}

} // namespace
