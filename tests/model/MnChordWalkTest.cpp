#include "model/MnCache.h"
#include "model/MnChord.h"
#include "model/MnMeasure.h"
#include "model/MnNote.h"
#include "model/MnScore.h"
#include "model/MnStaff.h"
#include "model/MnStaffChange.h"

#include "model/VoiceBuilder.h"

#include <gtest/gtest.h>

namespace {

const int whole = 241920;
const int half = 120960;
const int quarter = 60480;
const int eighth = 30240;

class TwoBars : public ::testing::Test
{
protected:
    TwoBars()
    {
        score.insertMeasure(-1);
        staff = score.staff(0);
    }
    MnMeasure* bar(int number) { return staff->measure(number - 1); }

    MnScore score;
    MnStaff* staff;
};

} // namespace

TEST_F(TwoBars, NeighboursCrossTheBarLineWithGraceChords)
{
    VoiceBuilder one(bar(1), 1);
    MnChord* firstHalf = one.note(half, 0, 4);
    MnChord* secondHalf = one.note(half, 1, 4);
    VoiceBuilder two(bar(2), 1);
    MnChord* opening = two.note(whole, 2, 4);

    EXPECT_EQ(opening->previousChord(), secondHalf);
    EXPECT_EQ(secondHalf->nextChord(), opening);
    EXPECT_EQ(firstHalf->previousChord(), nullptr);
    EXPECT_EQ(opening->nextChord(), nullptr);

    // An end grace chord of bar 1 comes between them.
    MnChord* endGrace = one.grace(eighth);
    endGrace->addNote(3, 4, 3, false);
    EXPECT_EQ(endGrace->time(), whole);
    EXPECT_EQ(opening->previousChord(), endGrace);
    EXPECT_EQ(endGrace->previousChord(), secondHalf);
    EXPECT_EQ(secondHalf->nextChord(), endGrace);
    EXPECT_EQ(endGrace->nextChord(), opening);

    // Within a cache scope the first answer stays; outside it every call
    // looks again.
    {
        MnCache scope;
        EXPECT_EQ(opening->previousChord(), endGrace);
        bar(1)->voiceChords(1).removeAt(2);
        EXPECT_EQ(opening->previousChord(), endGrace);
    }
    EXPECT_EQ(opening->previousChord(), secondHalf);
    delete endGrace;
}

TEST_F(TwoBars, RemovingTheLastNoteDeletesTheGraceChordsBefore)
{
    VoiceBuilder one(bar(1), 0);
    MnChord* before = one.note(half, 0, 4);
    MnChord* otherGrace = one.grace(eighth);
    otherGrace->addNote(1, 4, 3, false);
    one.note(quarter, 2, 4);
    MnChord* graceA = one.grace(eighth);
    graceA->addNote(3, 4, 3, false);
    MnChord* graceB = one.grace(eighth, true);
    graceB->addNote(4, 4, 3, false);
    MnChord* main = one.note(quarter, 5, 4);
    ASSERT_EQ(bar(1)->voiceChords(0).count(), 6);

    EXPECT_TRUE(main->removeChild(main->note(0)));
    EXPECT_TRUE(main->isRest());
    // Both grace chords before the new rest went; the one before the
    // quarter note stayed.
    const BcArray<MnChord*>& chords = bar(1)->voiceChords(0);
    ASSERT_EQ(chords.count(), 4);
    EXPECT_EQ(chords[0], before);
    EXPECT_EQ(chords[1], otherGrace);
    EXPECT_EQ(chords[3], main);

    // A grace chord that loses its last note is deleted itself.
    EXPECT_TRUE(otherGrace->removeChild(otherGrace->note(0)));
    EXPECT_EQ(chords.count(), 3);
    EXPECT_EQ(chords[1]->isGrace(), false);

    // Anything that is not one of its notes is refused.
    EXPECT_FALSE(before->removeChild(main));
}

TEST_F(TwoBars, ClefAndKeyAtTheChord)
{
    ASSERT_TRUE(staff->insertStaffChange(whole));
    MnStaffChange* change = staff->change(0);
    change->setClef(MnClefBass);
    change->setKey(-3);

    VoiceBuilder one(bar(1), 0);
    MnChord* inBarOne = one.note(whole, 0, 4);
    MnChord* endGrace = one.grace(eighth);
    endGrace->addNote(0, 4, 3, false);
    VoiceBuilder two(bar(2), 0);
    MnChord* inBarTwo = two.note(whole, 0, 3);

    EXPECT_EQ(inBarOne->clef(), MnClefTreble);
    EXPECT_EQ(inBarOne->keySignature(), 0);
    EXPECT_EQ(inBarTwo->clef(), MnClefBass);
    EXPECT_EQ(inBarTwo->keySignature(), -3);
    // The end grace chord is written before the clef change at the bar
    // line, but its key is the one in effect at its time.
    EXPECT_EQ(endGrace->clef(), MnClefTreble);
    EXPECT_EQ(endGrace->keySignature(), -3);
    // Middle C in each clef.
    EXPECT_EQ(inBarOne->note(0)->position().y, -10.0);
    EXPECT_EQ(inBarTwo->note(0)->position().y, 2.0 - 7.0);
}

TEST_F(TwoBars, AddingNotes)
{
    VoiceBuilder one(bar(1), 0);
    MnChord* chord = one.chord(whole);
    MnNote* cSharp = chord->addNote(0, 4, 1, false);
    ASSERT_NE(cSharp, nullptr);
    EXPECT_EQ(chord->addNote(0, 4, 1, true), cSharp);
    EXPECT_FALSE(cSharp->isTied());
    MnNote* cNatural = chord->addNote(0, 4, 0, false);
    EXPECT_NE(cNatural, cSharp);
    MnNote* low = chord->addNote(5, 3, 3, false);
    ASSERT_EQ(chord->noteCount(), 3);
    EXPECT_EQ(chord->note(0), low);

    // Notes of one position come out of a sort in reverse order.
    MnNote* first = chord->note(1);
    MnNote* second = chord->note(2);
    chord->sortNotes();
    EXPECT_EQ(chord->note(1), second);
    EXPECT_EQ(chord->note(2), first);

    // At most 255 notes.
    for (int i = 0; chord->noteCount() < MnChord::maxNotes; ++i)
        chord->addNote(i % 7, 1 + i / 7 % 7, i / 49 % 6 - 2, false);
    EXPECT_EQ(chord->addNote(6, 7, 3, false), nullptr);
    EXPECT_EQ(chord->addNoteByKey(50, false), nullptr);
}
