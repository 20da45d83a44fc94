#include "model/MnStaff.h"

#include "model/MnChord.h"
#include "model/MnCodes.h"
#include "model/MnDynamic.h"
#include "model/MnLyric.h"
#include "model/MnMeasure.h"
#include "model/MnNote.h"
#include "model/MnOctave.h"
#include "model/MnPedal.h"
#include "model/MnScore.h"
#include "model/MnStaffChange.h"

#include <gtest/gtest.h>

namespace {

constexpr int Whole = 241920;
constexpr int Half = 120960;
constexpr int Quarter = 60480;
constexpr int None = MnAccidentalNone;

// A score of one 4/4 staff with the given number of measures.
struct Staff
{
    explicit Staff(int measures)
    {
        staff = score.staff(0);
        while (staff->measureCount() < measures)
            score.insertMeasure(-1);
    }
    // A line of the class appended at the start with the length; the tests
    // add lines in time order.
    template <typename Line>
    Line* line(int start, int length)
    {
        Line* line = new Line(staff);
        line->setStart(start, true);
        line->setLength(length);
        staff->lineArray().add(line);
        return line;
    }
    MnStaffChange* change(int time, int clef)
    {
        if (!staff->insertStaffChange(time))
            return nullptr;
        MnStaffChange* change = static_cast<MnStaffChange*>(staff->definitionAt(time, true));
        change->setClef(clef);
        return change;
    }
    MnScore score;
    MnStaff* staff = nullptr;
};

} // namespace

TEST(MnStaffTimeAnchors, ChangedChordsCarryTheirLinesAndChanges)
{
    Staff fixture(2);
    MnStaff* staff = fixture.staff;
    MnMeasure* measure = staff->measure(0);
    for (int beat = 0; beat < 4; ++beat)
        ASSERT_NE(measure->addNote(0, beat * Quarter, beat, 4, None, Quarter, false), nullptr);
    MnOctave* octave = fixture.line<MnOctave>(0, Quarter + Quarter / 2);
    MnDynamic* onSecondBeat = fixture.line<MnDynamic>(Quarter, Quarter);
    MnPedal* pedal = fixture.line<MnPedal>(Half, Half);
    MnStaffChange* clef = fixture.change(Quarter, MnClefBass);
    ASSERT_NE(clef, nullptr);
    MnLyric* words = new MnLyric(staff);
    words->setStart(Quarter);
    staff->lyricArray().add(words);
    MnLyric* later = new MnLyric(staff);
    later->setStart(3 * Quarter);
    staff->lyricArray().add(later);

    // The first quarter becomes a half: the second beat's chord is gone.
    ASSERT_TRUE(measure->setChordDuration(0, 0, Half));
    // The dynamic on it goes; the octave line that ended inside the longer
    // chord now ends with it; the pedal on the third beat stays.
    ASSERT_EQ(staff->lineArray().count(), 2);
    EXPECT_EQ(staff->lineArray()[0], octave);
    EXPECT_EQ(octave->end(), Half);
    EXPECT_EQ(staff->lineArray()[1], pedal);
    EXPECT_EQ(pedal->start(), Half);
    EXPECT_EQ(pedal->end(), Whole);
    (void)onSecondBeat;
    // The clef change moves on to the next onset.
    ASSERT_EQ(staff->changeCount(), 1);
    EXPECT_EQ(staff->change(0), clef);
    EXPECT_EQ(clef->startTime(), Half);
    // The lyric line on it moves to the chord that now sounds there; the
    // one on the fourth beat keeps its chord.
    EXPECT_EQ(words->start(), 0);
    EXPECT_EQ(later->start(), 3 * Quarter);
}

TEST(MnStaffTimeAnchors, AChangeAtTheBarlineStaysWhenTheMeasureEmpties)
{
    Staff fixture(3);
    MnStaff* staff = fixture.staff;
    MnMeasure* second = staff->measure(1);
    MnNote* note = second->addNote(0, 0, 0, 4, None, Whole, false);
    ASSERT_NE(note, nullptr);
    MnStaffChange* clef = fixture.change(Whole, MnClefBass);
    ASSERT_NE(clef, nullptr);
    // Removing the last note leaves both voices whole-measure rests; the
    // clef at the bar line stays there.
    ASSERT_TRUE(note->chord()->removeChild(note));
    ASSERT_TRUE(second->isMeasureRest(0));
    ASSERT_EQ(staff->changeCount(), 1);
    EXPECT_EQ(clef->startTime(), Whole);
    EXPECT_EQ(staff->definitionAt(Whole, false)->clef(), MnClefBass);
}

TEST(MnStaffTimeAnchors, RemovedBeatsTakeTheirTimeOutOfTheStaff)
{
    Staff fixture(2);
    MnStaff* staff = fixture.staff;
    MnMeasure* measure = staff->measure(0);
    for (int beat = 0; beat < 4; ++beat)
        ASSERT_NE(measure->addNote(0, beat * Quarter, beat, 4, None, Quarter, false), nullptr);
    MnPedal* across = fixture.line<MnPedal>(0, 3 * Quarter);
    MnDynamic* inside = fixture.line<MnDynamic>(Quarter, Quarter);
    MnDynamic* after = fixture.line<MnDynamic>(3 * Quarter, Quarter);
    MnOctave* next = fixture.line<MnOctave>(Whole, Half);
    MnStaffChange* clef = fixture.change(Whole, MnClefAlto);
    MnLyric* lyric = new MnLyric(staff);
    lyric->setStart(Whole + Quarter);
    staff->lyricArray().add(lyric);

    BcArray<int> beats;
    beats.add(1);
    ASSERT_TRUE(measure->removeBeats(beats));
    ASSERT_EQ(staff->lineArray().count(), 3);
    EXPECT_EQ(staff->lineArray()[0], across);
    EXPECT_EQ(across->start(), 0);
    EXPECT_EQ(across->length(), 2 * Quarter);
    EXPECT_EQ(staff->lineArray()[1], after);
    EXPECT_EQ(after->start(), 2 * Quarter);
    EXPECT_EQ(staff->lineArray()[2], next);
    EXPECT_EQ(next->start(), 3 * Quarter);
    EXPECT_EQ(next->length(), Half);
    (void)inside;
    EXPECT_EQ(clef->startTime(), 3 * Quarter);
    EXPECT_EQ(lyric->start(), Whole);
}

TEST(MnStaffTimeAnchors, RemovingAMeasureSpan)
{
    Staff fixture(3);
    MnStaff* staff = fixture.staff;
    MnStaffChange* clef = fixture.change(Whole, MnClefBass);
    ASSERT_NE(clef, nullptr);
    clef->setKey(-3);
    MnStaffChange* later = fixture.change(2 * Whole, MnClefTenor);
    MnDynamic* halves = fixture.line<MnDynamic>(Half, Whole);
    MnLyric* lastLyric = new MnLyric(staff);
    lastLyric->setStart(2 * Whole + Half);
    staff->lyricArray().add(lastLyric);

    // The span of the first measure: the change at the second measure's
    // start arrives at time 0 and becomes the staff's own definition; a
    // line from the middle of the span keeps its part after it.
    staff->removeTimeSpan(0, Whole);
    EXPECT_EQ(staff->clef(), MnClefBass);
    EXPECT_EQ(staff->key(), -3);
    ASSERT_EQ(staff->changeCount(), 1);
    EXPECT_EQ(staff->change(0), later);
    EXPECT_EQ(later->startTime(), Whole);
    ASSERT_EQ(staff->lineArray().count(), 1);
    EXPECT_EQ(halves->start(), 0);
    EXPECT_EQ(halves->length(), Half);
    EXPECT_EQ(lastLyric->start(), Whole + Half);

    // A change inside the span goes; the later one moves back onto the
    // span's start.
    MnStaffChange* inside = fixture.change(Half + Quarter, MnClefAlto);
    ASSERT_NE(inside, nullptr);
    staff->removeTimeSpan(Half, Half);
    ASSERT_EQ(staff->changeCount(), 1);
    EXPECT_EQ(staff->change(0), later);
    EXPECT_EQ(later->startTime(), Half);
}

TEST(MnStaffTimeAnchors, AMeterChangeStaysAtItsBarline)
{
    Staff fixture(3);
    MnStaff* staff = fixture.staff;
    MnStaffChange* meter = fixture.change(Whole, MnClefTreble);
    ASSERT_NE(meter, nullptr);
    meter->setTimeType(MnTime4_4);
    ASSERT_TRUE(meter->changesTime());
    BcArray<int> beats;
    beats.add(0);
    ASSERT_TRUE(staff->measure(1)->removeBeats(beats));
    ASSERT_EQ(staff->changeCount(), 1);
    EXPECT_EQ(meter->startTime(), Whole);
    EXPECT_EQ(staff->measure(2)->startTime(), 2 * Whole - Quarter);
}

TEST(MnStaffTimeAnchors, ALyricLinePastTheEndGoesWithItsMeasure)
{
    Staff fixture(3);
    MnStaff* staff = fixture.staff;
    MnLyric* kept = new MnLyric(staff);
    kept->setStart(Quarter);
    staff->lyricArray().add(kept);
    MnLyric* last = new MnLyric(staff);
    last->setStart(2 * Whole + Half);
    staff->lyricArray().add(last);
    ASSERT_TRUE(fixture.score.removeMeasure(2));
    ASSERT_EQ(staff->lyricArray().count(), 1);
    EXPECT_EQ(staff->lyricArray()[0], kept);
}
