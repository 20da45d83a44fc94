#include "model/MnClipboard.h"
#include "model/MnDynamic.h"
#include "model/MnLyric.h"
#include "model/MnPedal.h"
#include "model/MnStaffChange.h"
#include "model/MnTuplet.h"
#include "model/ModelBuilders.h"

#include <gtest/gtest.h>

#include <memory>

// A score of the staves, each with the measures of 4/4.
static std::unique_ptr<MnScore> makeScore(int staves, int measures)
{
    std::unique_ptr<MnScore> score(new MnScore());
    score->staff(0)->setTimeType(MnTime4_4);
    for (int s = 1; s < staves; ++s)
        score->insertStaff(-1);
    for (int m = 1; m < measures; ++m)
        score->insertMeasure(-1);
    return score;
}

// The notes of voice 0 from the staff's start, in order.
static void notesOf(const MnStaff* staff, BcArray<const MnNote*>& notes)
{
    for (int m = 0; m < staff->measureCount(); ++m) {
        const BcArray<MnChord*>& chords = staff->measure(m)->voiceChords(0);
        for (int i = 0; i < chords.count(); ++i) {
            for (int n = 0; n < chords[i]->noteCount(); ++n)
                notes.add(chords[i]->note(n));
        }
    }
}

static int staffTime(const MnChord* chord)
{
    return chord->measure()->startTime() + chord->time();
}

TEST(MnStaffTime, CommonTimeTo44RelabelsUpToTheNextMeter)
{
    StaffFixture fixture(4, MnTimeCommon);
    MnStaff* staff = fixture.staff;
    ASSERT_TRUE(staff->insertStaffChange(MnTicksPerWhole));
    staff->change(0)->setClef(MnClefBass);
    ASSERT_TRUE(staff->insertStaffChange(2 * MnTicksPerWhole));
    staff->change(1)->setTimeType(MnTime3_4);
    ASSERT_TRUE(staff->insertStaffChange(3 * MnTicksPerWhole));
    staff->change(2)->setTimeType(MnTimeCommon);

    ASSERT_TRUE(staff->setTime(MnTime4_4));
    EXPECT_EQ(staff->time(), MnTime4_4);
    EXPECT_EQ(staff->change(0)->time(), MnTime4_4);
    EXPECT_EQ(staff->change(1)->time(), MnTime3_4);
    EXPECT_EQ(staff->change(2)->time(), MnTimeCommon) << "after another meter";
    EXPECT_EQ(staff->measureCount(), 4);
}

TEST(MnStaffTime, RebarringKeepsTheMusicAndMovesWhatFollows)
{
    StaffFixture fixture(5);
    MnStaff* staff = fixture.staff;
    // Sixteen quarters; the G of the fourth is sharp through the third's
    // accidental, which a new bar line between them no longer carries.
    for (int i = 0; i < 16; ++i) {
        const int accidental = i == 2 ? MnAccidentalSharp : (i == 9 ? MnAccidentalFlat : MnAccidentalNone);
        const int step = i == 2 || i == 3 ? 4 : i % 7;
        ASSERT_NE(fixture.measure(i / 4)->setNote(0, (i % 4) * MnTicksQuarter, step, 4 + i / 7, accidental,
                                                  MnTicksQuarter, false),
                  nullptr);
    }
    BcArray<const MnNote*> before;
    notesOf(staff, before);
    BcArray<int> keys;
    BcArray<int> steps;
    for (int i = 0; i < before.count(); ++i) {
        keys.add(before[i]->keyNumber());
        steps.add(before[i]->diatonicPosition());
    }
    ASSERT_EQ(keys[3], keys[2]);
    fixture.measure(1)->voiceChords(0)[2]->setStemDirection(-1);
    fixture.measure(0)->setRepeatMarker(MnRepeatMarkerSegno);
    fixture.measure(2)->setVoltaMask(1);
    fixture.measure(2)->setSystemBreak(MnSystemBreakSystem);
    fixture.measure(3)->setBarline(MnBarlineFinal);
    fixture.measure(4)->setNote(0, 0, 0, 5, MnAccidentalNone, MnTicksPerWhole, false);
    ASSERT_TRUE(staff->insertStaffChange(4 * MnTicksPerWhole));
    staff->change(0)->setTimeType(MnTime2_4);
    MnDynamic* dynamic = new MnDynamic(staff);
    ASSERT_TRUE(staff->insertLine(dynamic, 4 * MnTicksPerWhole));
    MnPedal* pedal = new MnPedal(staff);
    ASSERT_TRUE(staff->insertLine(pedal, 3 * MnTicksPerWhole + MnTicksHalf));
    pedal->setLength(MnTicksPerWhole);
    MnLyric* inside = staff->addLyric(5 * MnTicksQuarter, 0);
    ASSERT_TRUE(inside->setText(BcString("in side")));
    MnLyric* after = staff->addLyric(4 * MnTicksPerWhole, 0);
    ASSERT_TRUE(after->setText(BcString("af ter")));

    ASSERT_TRUE(staff->rebar(0, MnTime3_4));

    const int growth = 120960;
    ASSERT_EQ(staff->measureCount(), 7);
    for (int m = 0; m < 7; ++m) {
        EXPECT_EQ(staff->measure(m)->index(), m + 1);
        EXPECT_EQ(staff->measure(m)->length(), m < 6 ? 181440 : MnTicksPerWhole) << m;
        EXPECT_EQ(staff->measure(m)->barline(), m == 5 ? MnBarlineFinal : MnBarlineSingle) << m;
    }
    EXPECT_EQ(staff->time(), MnTime3_4);
    // Bar lines that stay keep what the measures carried there.
    EXPECT_EQ(staff->measure(0)->repeatMarker(), MnRepeatMarkerSegno);
    for (int m = 0; m < 7; ++m) {
        EXPECT_EQ(staff->measure(m)->voltaMask(), 0) << m;
        EXPECT_EQ(staff->measure(m)->systemBreak(), m == 3 ? MnSystemBreakSystem : MnSystemBreakNone) << m;
    }
    BcArray<const MnNote*> notes;
    notesOf(staff, notes);
    ASSERT_EQ(notes.count(), 17);
    for (int i = 0; i < 16; ++i) {
        EXPECT_EQ(staffTime(notes[i]->chord()), i * MnTicksQuarter) << i;
        EXPECT_EQ(notes[i]->keyNumber(), keys[i]) << i;
        EXPECT_EQ(notes[i]->diatonicPosition(), steps[i]) << i << ": spelt as before";
    }
    EXPECT_EQ(notes[3]->accidental(), MnAccidentalSharp) << "the sharp is written where it no longer carries";
    EXPECT_EQ(notes[6]->chord()->stemSetting(), -1);
    EXPECT_EQ(notes[7]->chord()->stemSetting(), 0);
    EXPECT_EQ(staffTime(notes[16]->chord()), 4 * MnTicksPerWhole + growth);

    ASSERT_EQ(staff->changeCount(), 1);
    EXPECT_EQ(staff->change(0)->startTime(), 4 * MnTicksPerWhole + growth);
    EXPECT_EQ(dynamic->start(), 4 * MnTicksPerWhole + growth);
    EXPECT_EQ(pedal->start(), 3 * MnTicksPerWhole + MnTicksHalf);
    EXPECT_EQ(pedal->end(), 4 * MnTicksPerWhole + MnTicksHalf + growth);
    EXPECT_EQ(after->start(), 4 * MnTicksPerWhole + growth);
    EXPECT_EQ(after->firstChord(), notes[16]->chord());
    EXPECT_EQ(inside->start(), 5 * MnTicksQuarter);
    EXPECT_EQ(inside->firstChord(), notes[5]->chord());
}

TEST(MnStaffTime, RebarringRefusesWhatItCannotDo)
{
    StaffFixture fixture(2);
    MnStaff* staff = fixture.staff;
    EXPECT_FALSE(staff->rebar(0, 11));
    EXPECT_FALSE(staff->rebar(0, -1));
    EXPECT_FALSE(staff->rebar(2, MnTime3_4));
    EXPECT_FALSE(staff->rebar(-1, MnTime3_4));
    EXPECT_FALSE(staff->setTime(11));
    EXPECT_FALSE(staff->swapWithPreviousMeasure(0, false));
    EXPECT_FALSE(staff->swapWithPreviousMeasure(2, false));
    // Without a clipboard the music cannot be lifted.
    const MnClipboard::Factory installed = MnClipboard::install(nullptr);
    EXPECT_FALSE(staff->rebar(0, MnTime3_4));
    MnClipboard::install(installed);
    EXPECT_EQ(staff->measureCount(), 2);
    EXPECT_EQ(staff->time(), MnTime4_4);
    EXPECT_EQ(staff->measure(0)->length(), MnTicksPerWhole);
}

TEST(MnStaffTime, AChangeOfMeterReachesEveryStaffAndGoesAgainWithItsCopies)
{
    std::unique_ptr<MnScore> score = makeScore(3, 4);
    MnStaff* first = score->staff(0);
    ASSERT_TRUE(first->insertStaffChange(2 * MnTicksPerWhole));
    ASSERT_TRUE(score->staff(2)->insertStaffChange(2 * MnTicksPerWhole));
    score->staff(2)->change(0)->setClef(MnClefBass);
    ASSERT_TRUE(first->insertStaffChange(MnTicksHalf));
    EXPECT_FALSE(first->change(0)->setTime(MnTime3_4)) << "not at a bar line";

    MnStaffChange* change = first->change(1);
    EXPECT_FALSE(change->setTime(MnTime4_4)) << "its own meter";
    ASSERT_TRUE(change->setTime(MnTime3_4));
    for (int s = 0; s < 3; ++s) {
        const MnStaff* staff = score->staff(s);
        const MnStaffDefinition* there = staff->definitionAt(2 * MnTicksPerWhole, true);
        ASSERT_NE(there, nullptr) << s;
        EXPECT_EQ(there->time(), MnTime3_4) << s;
        ASSERT_EQ(staff->measureCount(), 5) << s;
        EXPECT_EQ(staff->measure(4)->length(), 181440) << s;
    }

    ASSERT_TRUE(first->removeChild(change));
    EXPECT_EQ(first->definitionAt(2 * MnTicksPerWhole, true), nullptr);
    EXPECT_EQ(score->staff(1)->definitionAt(2 * MnTicksPerWhole, true), nullptr) << "a copy that repeats";
    const MnStaffDefinition* kept = score->staff(2)->definitionAt(2 * MnTicksPerWhole, true);
    ASSERT_NE(kept, nullptr) << "a copy that changes the clef";
    EXPECT_EQ(kept->clef(), MnClefBass);
    for (int s = 0; s < 3; ++s) {
        const MnStaff* staff = score->staff(s);
        EXPECT_EQ(staff->definitionAt(3 * MnTicksPerWhole, false)->time(), MnTime4_4) << s;
        EXPECT_EQ(staff->measure(staff->measureCount() - 1)->length(), MnTicksPerWhole) << s;
    }
}

TEST(MnStaffTime, RemovingTheBarAMeterBeginsGivesWhatFollowsTheMeterBefore)
{
    std::unique_ptr<MnScore> score = makeScore(1, 4);
    MnStaff* staff = score->staff(0);
    ASSERT_TRUE(staff->insertStaffChange(2 * MnTicksPerWhole));
    ASSERT_TRUE(staff->change(0)->setTime(MnTime3_4));
    ASSERT_EQ(staff->measureCount(), 5);
    for (int m = 2; m < 5; ++m)
        staff->measure(m)->setNote(0, 0, m, 4, MnAccidentalNone, MnTicksQuarter, false);

    ASSERT_TRUE(score->removeMeasure(2));
    EXPECT_EQ(staff->changeCount(), 0);
    ASSERT_EQ(staff->measureCount(), 4);
    for (int m = 0; m < 4; ++m)
        EXPECT_EQ(staff->measure(m)->length(), MnTicksPerWhole) << m;
    BcArray<const MnNote*> notes;
    notesOf(staff, notes);
    ASSERT_EQ(notes.count(), 2);
    EXPECT_EQ(staffTime(notes[0]->chord()), 2 * MnTicksPerWhole);
    EXPECT_EQ(notes[0]->step(), 3);
    EXPECT_EQ(staffTime(notes[1]->chord()), 2 * MnTicksPerWhole + 181440);
    EXPECT_EQ(notes[1]->step(), 4);

    // Without a clipboard to re-bar with, the meter stays with its measures.
    ASSERT_TRUE(staff->insertStaffChange(2 * MnTicksPerWhole));
    ASSERT_TRUE(staff->change(0)->setTime(MnTime3_4));
    const int count = staff->measureCount();
    const MnClipboard::Factory installed = MnClipboard::install(nullptr);
    ASSERT_TRUE(score->removeMeasure(2));
    MnClipboard::install(installed);
    ASSERT_EQ(staff->changeCount(), 1);
    EXPECT_EQ(staff->change(0)->startTime(), 2 * MnTicksPerWhole);
    EXPECT_EQ(staff->change(0)->time(), MnTime3_4);
    EXPECT_EQ(staff->measureCount(), count - 1);
    EXPECT_EQ(staff->measure(2)->length(), 181440);
}

TEST(MnStaffTime, SwappingMeasuresTakesWhatLiesInThem)
{
    std::unique_ptr<MnScore> score = makeScore(2, 4);
    MnStaff* staff = score->staff(0);
    for (int m = 0; m < 4; ++m)
        staff->measure(m)->setNote(0, 0, m, 4, MnAccidentalNone, MnTicksQuarter, false);
    score->staff(1)->measure(1)->setBarline(MnBarlineDouble);
    MnDynamic* dynamic = new MnDynamic(staff);
    ASSERT_TRUE(staff->insertLine(dynamic, 2 * MnTicksPerWhole));
    MnPedal* pedal = new MnPedal(staff);
    ASSERT_TRUE(staff->insertLine(pedal, MnTicksHalf));
    pedal->setLength(3 * MnTicksPerWhole);
    const int pedalEnd = pedal->end();
    MnLyric* lyric = staff->addLyric(2 * MnTicksPerWhole, 0);
    ASSERT_TRUE(lyric->setText(BcString("moved")));

    ASSERT_TRUE(staff->swapWithPreviousMeasure(2, false));
    ASSERT_TRUE(score->staff(1)->swapWithPreviousMeasure(2, true));
    EXPECT_EQ(staff->measure(1)->voiceChords(0)[0]->note(0)->step(), 2);
    EXPECT_EQ(staff->measure(2)->voiceChords(0)[0]->note(0)->step(), 1);
    EXPECT_EQ(staff->measure(1)->index(), 2);
    EXPECT_EQ(staff->measure(2)->index(), 3);
    EXPECT_EQ(dynamic->start(), MnTicksPerWhole);
    EXPECT_EQ(pedal->start(), MnTicksHalf);
    EXPECT_EQ(pedal->end(), pedalEnd);
    EXPECT_EQ(lyric->start(), MnTicksPerWhole);
    EXPECT_EQ(lyric->firstChord(), staff->measure(1)->voiceChords(0)[0]);
    EXPECT_EQ(score->staff(1)->measure(2)->barline(), MnBarlineDouble);
    EXPECT_EQ(staff->measure(2)->barline(), MnBarlineDouble) << "the last staff's attributes reach every staff";
    EXPECT_EQ(staff->measure(1)->barline(), MnBarlineSingle);
}

TEST(MnStaffTime, ALyricAfterAnInsertedMeasureKeepsItsNotes)
{
    std::unique_ptr<MnScore> score = makeScore(1, 2);
    MnStaff* staff = score->staff(0);
    staff->measure(1)->setNote(0, 0, 4, 4, MnAccidentalNone, MnTicksHalf, false);
    MnLyric* lyric = staff->addLyric(MnTicksPerWhole, 0);
    ASSERT_TRUE(lyric->setText(BcString("la")));
    const MnChord* sung = lyric->firstChord();
    ASSERT_NE(sung, nullptr);
    ASSERT_TRUE(score->insertMeasure(1));
    EXPECT_EQ(lyric->start(), 2 * MnTicksPerWhole);
    EXPECT_EQ(lyric->firstChord(), sung);
}

TEST(MnStaffTime, ATupletThatBeginsWithARestComesBackWhole)
{
    StaffFixture fixture(1);
    MnMeasure* measure = fixture.measure(0);
    ASSERT_TRUE(measure->makeTuplet(0, MnTicksHalf, MnTicksQuarter, 3, false));
    measure->setNote(0, MnTicksHalf + 20160, 1, 5, MnAccidentalNone, MnTicksEighth, false);
    measure->setNote(0, MnTicksHalf + 40320, 2, 5, MnAccidentalNone, MnTicksEighth, false);

    ASSERT_TRUE(fixture.staff->rebar(0, MnTime2_4));
    ASSERT_EQ(fixture.staff->measureCount(), 2);
    const BcArray<MnChord*>& chords = fixture.staff->measure(1)->voiceChords(0);
    ASSERT_EQ(chords.count(), 4);
    EXPECT_TRUE(chords[0]->isRest());
    ASSERT_NE(chords[0]->tuplet(), nullptr);
    EXPECT_EQ(chords[0]->tuplet()->number(), 3);
    EXPECT_EQ(chords[1]->time(), 20160);
    EXPECT_EQ(chords[1]->note(0)->step(), 1);
    EXPECT_EQ(chords[2]->time(), 40320);
    EXPECT_EQ(chords[2]->actual(), 3);
    EXPECT_EQ(chords[3]->time(), MnTicksQuarter);
}
