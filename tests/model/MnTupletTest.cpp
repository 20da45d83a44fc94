#include "model/MnTuplet.h"

#include "model/MnChord.h"
#include "model/MnMeasure.h"
#include "model/MnScore.h"
#include "model/MnStaff.h"
#include "model/ModelBuilders.h"
#include "model/RecordBytes.h"

#include <gtest/gtest.h>

TEST(MnTuplet, ATripletShowsItsNumberAtSize10AndNeverMoves)
{
    MnChord chord(nullptr, 0, 0, MnTicksEighth);
    MnTuplet tuplet(&chord, MnTicksQuarter, 3, false);
    EXPECT_EQ(tuplet.text(), BcString("3"));
    EXPECT_EQ(tuplet.size(), 10.0);
    EXPECT_EQ(tuplet.parent(), &chord);
    EXPECT_EQ(tuplet.height(), 8.0);
    EXPECT_FALSE(tuplet.moveTo(GePoint2d(3.0, 3.0)));
    EXPECT_EQ(tuplet.position().x, 0.0);
}

TEST(MnTuplet, RecordKeepsNumberAndAlternativeInOneInt)
{
    MnChord chord(nullptr, 0, 0, MnTicksSixteenth);
    MnTuplet tuplet(&chord, MnTicksQuarter, 5, true);
    tuplet.setHidden(true);
    tuplet.setBracket(2);
    tuplet.setDirection(-1);
    MnText text;
    text.setText(BcString("5"));
    text.setSize(10.0);
    const Bytes expected = RecordBuilder().record(text).integer(60480).integer(261).byteAndFlag(2, true).character(-1).done();
    EXPECT_EQ(recordOf(tuplet), expected);

    MnTuplet copy(&chord, 1, 3, false);
    ASSERT_TRUE(readRecord(copy, expected));
    EXPECT_EQ(copy.span(), MnTicksQuarter);
    EXPECT_EQ(copy.number(), 5);
    EXPECT_TRUE(copy.isAlternative());
    EXPECT_TRUE(copy.isHidden());
    EXPECT_EQ(copy.bracket(), 2);
    EXPECT_EQ(copy.direction(), -1);

    // Any of bits 8-15 sets the alternative flag; the span of version 1 counts
    // 384 ticks to the whole note; a span of 0 is a damaged record.
    MnTuplet old(&chord, 1, 3, false);
    ASSERT_TRUE(readRecord(old, RecordBuilder(1).real(0).real(0).integer(0).string("3").integer(0).real(10.0).integer(96)
                                    .integer(0x8003).byteAndFlag(0, false).character(0).done(), 1));
    EXPECT_EQ(old.span(), 60480);
    EXPECT_TRUE(old.isAlternative());
    MnTuplet empty(&chord, 1, 3, false);
    EXPECT_FALSE(readRecord(empty, RecordBuilder().record(text).integer(0).integer(3).byteAndFlag(0, false).character(0).done()));
}

TEST(MnTuplet, RemovingItFromItsChordUndoesTheTupletInTheMeasure)
{
    MnScore score;
    MnMeasure* measure = score.staff(0)->measure(0);
    MnChord* first = setVoice(measure, 0, {MnTicksEighth, MnTicksEighth, MnTicksEighth, MnTicksQuarter + MnTicksHalf});
    for (int i = 0; i < 3; ++i) {
        measure->voiceChords(0)[i]->setRatio(3, 2);
        measure->voiceChords(0)[i]->setTime(i * 20160);
    }
    measure->voiceChords(0)[3]->setTime(MnTicksQuarter);
    MnTuplet* tuplet = new MnTuplet(first, MnTicksQuarter, 3, false);
    first->setTuplet(tuplet);
    first->addNote(0, 5, 3, false);

    EXPECT_TRUE(first->removeChild(tuplet));
    ASSERT_EQ(measure->chordCount(0, false), 2);
    EXPECT_EQ(measure->voiceChords(0)[0], first);
    EXPECT_EQ(first->duration(), MnTicksQuarter);
    EXPECT_EQ(first->actual(), 1);
    EXPECT_EQ(first->normal(), 1);
    EXPECT_EQ(first->tuplet(), nullptr);
    EXPECT_EQ(first->noteCount(), 1);
    EXPECT_FALSE(measure->removeTuplet(0, 0, nullptr));
}

// A triplet of eighths at the time of the measure, holding C5 D5 E5 with the
// last one written E sharp, and its first chord.
static MnChord* writeTriplet(MnMeasure* measure, int time)
{
    if (!measure->makeTuplet(0, time, MnTicksQuarter, 3, false))
        return nullptr;
    measure->setNote(0, time, 0, 5, MnAccidentalNone, MnTicksEighth, false);
    measure->setNote(0, time + 20160, 1, 5, MnAccidentalNone, MnTicksEighth, false);
    measure->setNote(0, time + 40320, 2, 5, MnAccidentalSharp, MnTicksEighth, false);
    for (int i = 0; i < measure->voiceChords(0).count(); ++i) {
        if (measure->voiceChords(0)[i]->time() == time)
            return measure->voiceChords(0)[i];
    }
    return nullptr;
}

TEST(MnTuplet, SetNumberRefusesTheNumberItHas)
{
    StaffFixture fixture(1);
    MnChord* first = writeTriplet(fixture.measure(0), 0);
    ASSERT_NE(first, nullptr);
    EXPECT_FALSE(first->tuplet()->setNumber(3, false));
    EXPECT_EQ(fixture.measure(0)->voiceChords(0).count(), 3 + 2);
    EXPECT_EQ(first->actual(), 3);
}

TEST(MnTuplet, SetNumberRefitsTheRunAndPastesTheNotesBackFromItsSecondChord)
{
    StaffFixture fixture(1);
    MnMeasure* measure = fixture.measure(0);
    MnChord* first = writeTriplet(measure, 0);
    ASSERT_NE(first, nullptr);
    first->setArticulation(MnArticulationStaccato, true);
    measure->voiceChords(0)[1]->setStemDirection(-1);
    MnTuplet* tuplet = first->tuplet();
    ASSERT_TRUE(tuplet->setNumber(5, false));

    EXPECT_EQ(first->tuplet(), tuplet);
    EXPECT_EQ(tuplet->number(), 5);
    EXPECT_EQ(tuplet->span(), MnTicksQuarter);
    const struct
    {
        int time;
        int duration;
        int step; // -1 for a rest
        int accidental;
    } expected[] = {
        {0, 15120, 0, MnAccidentalNone},
        {12096, MnTicksEighth, 1, MnAccidentalNone},
        {36288, MnTicksEighth, 2, MnAccidentalSharp},
        {60480, MnTicksQuarter, -1, 0},
    };
    const BcArray<MnChord*>& chords = measure->voiceChords(0);
    ASSERT_GE(chords.count(), 4);
    for (int i = 0; i < 4; ++i) {
        const MnChord* chord = chords[i];
        EXPECT_EQ(chord->time(), expected[i].time) << i;
        EXPECT_EQ(chord->duration(), expected[i].duration) << i;
        if (expected[i].step < 0) {
            EXPECT_TRUE(chord->isRest()) << i;
            continue;
        }
        ASSERT_EQ(chord->noteCount(), 1) << i;
        EXPECT_EQ(chord->note(0)->step(), expected[i].step) << i;
        EXPECT_EQ(chord->note(0)->accidental(), expected[i].accidental) << i << ": spelt as before";
        EXPECT_EQ(chord->actual(), 5) << i;
        EXPECT_EQ(chord->normal(), 4) << i;
    }
    EXPECT_TRUE(first->hasArticulation(MnArticulationStaccato));
    EXPECT_EQ(chords[1]->stemSetting(), -1) << "the chord's settings come back";
}

TEST(MnTuplet, SetNumberOfATripletEndingAtTheBarLineLeavesTheNextMeasureAlone)
{
    StaffFixture fixture(2);
    MnMeasure* next = fixture.measure(1);
    next->setNote(0, 0, 4, 4, MnAccidentalNone, MnTicksHalf, false);
    next->setNote(0, MnTicksHalf, 5, 4, MnAccidentalNone, MnTicksHalf, false);
    MnChord* first = writeTriplet(fixture.measure(0), 3 * MnTicksQuarter);
    ASSERT_NE(first, nullptr);
    ASSERT_TRUE(first->tuplet()->setNumber(5, false));
    ASSERT_EQ(next->voiceChords(0).count(), 2);
    EXPECT_EQ(next->voiceChords(0)[0]->note(0)->step(), 4);
    EXPECT_EQ(next->voiceChords(0)[1]->note(0)->step(), 5);
    EXPECT_EQ(next->voiceChords(0)[1]->time(), MnTicksHalf);
    int notes = 0;
    const BcArray<MnChord*>& chords = fixture.measure(0)->voiceChords(0);
    for (int i = 0; i < chords.count(); ++i)
        notes += chords[i]->noteCount();
    EXPECT_EQ(notes, 3);
}
