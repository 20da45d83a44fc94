#include "model/MnChord.h"

#include "editing/EdSelection.h"
#include "model/MnCache.h"
#include "model/MnCodes.h"
#include "model/MnMeasure.h"
#include "model/MnNote.h"
#include "model/MnScore.h"
#include "model/MnStaff.h"
#include "model/MnStaffChange.h"
#include "model/MnTuplet.h"
#include "model/ModelBuilders.h"
#include "model/RecordBytes.h"

#include <gtest/gtest.h>

TEST(MnChord, AddNoteFindsTheSamePitchAndSpellingAndKeepsTheNotesSorted)
{
    MnScore score;
    MnChord* chord = setVoice(score.staff(0)->measure(0), 0, {MnTicksPerWhole});
    MnNote* g4 = chord->addNote(4, 4, MnAccidentalNone, false);
    MnNote* c4sharp = chord->addNote(0, 4, MnAccidentalSharp, true);
    EXPECT_EQ(chord->addNote(0, 4, MnAccidentalSharp, false), c4sharp);
    EXPECT_TRUE(c4sharp->isTied());
    MnNote* c4natural = chord->addNote(0, 4, MnAccidentalNatural, false);
    EXPECT_NE(c4natural, c4sharp);
    ASSERT_EQ(chord->noteCount(), 3);
    EXPECT_EQ(chord->note(2), g4);
    // Equal positions come out in the reverse of their previous order.
    EXPECT_EQ(chord->note(0), c4natural);
    EXPECT_EQ(chord->note(1), c4sharp);
    chord->sortNotes();
    EXPECT_EQ(chord->note(0), c4sharp);
}

TEST(MnChord, AtMost255Notes)
{
    // 255 different notes that a note can keep: every step of octaves
    // 0..10, with a double flat, a flat, a natural and then a sharp.
    MnChord chord(nullptr, 0, 0, MnTicksQuarter);
    for (int i = 0; i < 255; ++i)
        ASSERT_NE(chord.addNote(i % 7, (i / 7) % 11, MnAccidentalDoubleFlat + i / 77, false), nullptr);
    EXPECT_EQ(chord.addNote(0, 4, MnAccidentalNone, false), nullptr);
    EXPECT_EQ(chord.noteCount(), 255);
}

TEST(MnChord, RemovingTheLastNoteLeavesARestAndDropsItsGraceChords)
{
    MnScore score;
    MnMeasure* measure = score.staff(0)->measure(0);
    MnChord* quarter = setVoice(measure, 0, {MnTicksQuarter, MnTicksQuarter, MnTicksHalf});
    MnChord* second = measure->voiceChords(0)[1];
    insertGraceChord(measure, 0, 1, MnTicksEighth)->addNote(1, 5, MnAccidentalNone, false);
    insertGraceChord(measure, 0, 1, MnTicksEighth)->addNote(2, 5, MnAccidentalNone, false);
    MnNote* note = second->addNote(0, 5, MnAccidentalNone, false);
    quarter->addNote(0, 4, MnAccidentalNone, false);
    ASSERT_EQ(measure->chordCount(0, false), 5);

    EXPECT_TRUE(second->removeChild(note));
    EXPECT_TRUE(second->isRest());
    ASSERT_EQ(measure->chordCount(0, false), 3);
    EXPECT_EQ(measure->voiceChords(0)[1], second);

    // A grace chord without notes goes altogether.
    MnChord* grace = insertGraceChord(measure, 0, 1, MnTicksSixteenth);
    MnNote* graceNote = grace->addNote(3, 5, MnAccidentalNone, false);
    EdSelection selection;
    selection.add(grace);
    EXPECT_TRUE(grace->removeChild(graceNote));
    EXPECT_EQ(measure->chordCount(0, false), 3);
    EXPECT_TRUE(selection.isEmpty());

    EXPECT_FALSE(quarter->removeChild(graceNote == nullptr ? nullptr : measure));
    EXPECT_FALSE(measure->removeChild(quarter));
}

TEST(MnChord, DeletingAChordHeldInTwoSelectionsRemovesItAndItsNotesFromBoth)
{
    MnScore score;
    ASSERT_TRUE(score.insertMeasure(-1));
    MnMeasure* measure = score.staff(0)->measure(0);
    MnChord* chord = setVoice(measure, 0, {MnTicksPerWhole});
    MnChord* grace = insertGraceChord(measure, 0, 0, MnTicksEighth);
    MnNote* graceLow = grace->addNote(1, 4, MnAccidentalNone, false);
    MnNote* graceHigh = grace->addNote(5, 4, MnAccidentalNone, false);
    MnNote* low = chord->addNote(0, 4, MnAccidentalNone, false);
    MnNote* high = chord->addNote(4, 4, MnAccidentalNone, false);
    MnText bystander;
    EdSelection first;
    EdSelection second;
    first.add(graceLow);
    first.add(grace);
    first.add(&bystander);
    first.add(low);
    second.add(grace);
    second.add(graceHigh);
    second.add(chord);
    second.add(high);

    // A grace chord is the one chord a measure removes by itself.
    EXPECT_TRUE(measure->removeChild(grace));
    ASSERT_EQ(first.count(), 2);
    EXPECT_EQ(first.element(0), &bystander);
    EXPECT_EQ(first.element(1), low);
    ASSERT_EQ(second.count(), 2);
    EXPECT_EQ(second.element(0), chord);

    // Other chords die with their measure.
    EXPECT_TRUE(score.removeMeasure(0));
    ASSERT_EQ(first.count(), 1);
    EXPECT_EQ(first.element(0), &bystander);
    EXPECT_TRUE(second.isEmpty());
}

TEST(MnChord, RecordsOfTheCurrentVersionRoundTrip)
{
    MnScore score;
    MnMeasure* measure = score.staff(0)->measure(0);
    MnChord* chord = setVoice(measure, 1, {MnTicksEighth, MnTicksEighth, MnTicksEighth, MnTicksQuarter + MnTicksHalf})
    ;
    chord->setDuration(MnTicksEighth);
    chord->setRatio(3, 2);
    chord->setTuplet(new MnTuplet(chord, MnTicksQuarter, 3, false));
    chord->addNote(0, 4, MnAccidentalSharp, false);
    chord->addNote(4, 4, MnAccidentalNone, true);
    chord->setRestPosition(-6);
    chord->setStemDirection(-1);
    chord->setStemInverted(false);
    chord->setBeamMode(3);
    chord->setSlurPlacement(1);
    chord->setArticulation(MnArticulationStaccato, true);
    chord->setArticulation(MnArticulationSlur, true);
    chord->setSlurStart(true);
    const Bytes record = recordOf(*chord);

    MnChord copy(measure, 1, 0, MnTicksQuarter);
    ASSERT_TRUE(readRecord(copy, record));
    EXPECT_EQ(copy.duration(), MnTicksEighth);
    EXPECT_EQ(copy.noteCount(), 2);
    EXPECT_EQ(copy.restPosition(), -6);
    EXPECT_EQ(copy.stemSetting(), -1);
    EXPECT_FALSE(copy.isStemInverted());
    EXPECT_EQ(copy.beamMode(), 3);
    EXPECT_EQ(copy.slurPlacement(), 1);
    EXPECT_EQ(copy.articulations(), MnArticulationStaccato | MnArticulationSlur);
    EXPECT_TRUE(copy.isSlurStart());
    ASSERT_NE(copy.tuplet(), nullptr);
    EXPECT_EQ(copy.tuplet()->parent(), &copy);
    EXPECT_EQ(copy.tuplet()->span(), MnTicksQuarter);
    EXPECT_EQ(copy.actual(), 3);
    EXPECT_EQ(copy.normal(), 2);
    EXPECT_EQ(copy.soundingDuration(), 20160);
    EXPECT_EQ(recordOf(copy), record);
}

TEST(MnChord, OldAndDamagedRecords)
{
    struct Case
    {
        const char* name;
        int version;
        int voice;
        Bytes record;
        bool ok;
        int duration;
        bool hidden;
    };
    // A quarter rest of version 1: 96 ticks, no notes, stem, inversion and
    // beam mode as three values, articulations, flags, then the ratio.
    const Bytes version1 = RecordBuilder(1).integer(96).byte(0).character(1).boolean(true).character(2).byte(0).byte(0)
                               .character(1).character(1).done();
    const Case cases[] = {
        {"version 1 in voice 1 is a hidden rest of 60480", 1, 1, version1, true, 60480, true},
        {"version 1 in voice 0 is a shown rest", 1, 0, version1, true, 60480, false},
        {"a negative value fails", 5, 0, RecordBuilder().integer(-60480).done(), false, 241920, false},
        {"a zero value fails", 5, 0, RecordBuilder().integer(0).done(), false, 241920, false},
        {"a value beyond the longest measure fails", 5, 0, RecordBuilder().integer(1 << 30).done(), false, 241920, false},
        {"an old value that would overflow fails", 1, 0, RecordBuilder(1).integer(1 << 29).done(), false, 241920, false},
        {"ratio 0 fails", 5, 0, RecordBuilder().integer(60480).byteAndFlag(-4, false).byte(0).byte(0x20).byte(0).byte(0).byte(0x02).done(),
         false, 60480, false},
        {"an old ratio of 16 fails", 1, 0, RecordBuilder(1).integer(96).byte(0).character(1).boolean(true).character(2).byte(0).byte(0)
                                               .character(16).character(1).done(),
         false, 60480, false},
        {"a failing note fails the chord", 5, 0, RecordBuilder().integer(60480).byteAndFlag(-4, false).byte(1).character(-1).done(), false,
         60480, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        MnChord chord(nullptr, c.voice, 0, MnTicksPerWhole);
        EXPECT_EQ(readRecord(chord, c.record, c.version), c.ok);
        EXPECT_EQ(chord.duration(), c.duration);
        EXPECT_EQ(chord.isHidden(), c.hidden);
        EXPECT_EQ(chord.noteCount(), 0);
    }

    MnChord chord(nullptr, 1, 0, MnTicksPerWhole);
    ASSERT_TRUE(readRecord(chord, version1, 1));
    EXPECT_EQ(chord.stemSetting(), 1);
    EXPECT_TRUE(chord.isStemInverted());
    EXPECT_EQ(chord.beamMode(), 2);
    EXPECT_EQ(chord.slurPlacement(), 0);
}

TEST(MnChord, ATupletRecordThatFailsDropsTheTupletAndFailsTheChord)
{
    MnChord source(nullptr, 0, 0, MnTicksEighth);
    source.setRatio(3, 2);
    source.setTuplet(new MnTuplet(&source, MnTicksQuarter, 3, false));
    Bytes record = recordOf(source);
    record.resize(record.size() - 4); // into the tuplet's span
    MnChord chord(nullptr, 0, 0, MnTicksEighth);
    EXPECT_FALSE(readRecord(chord, record));
    EXPECT_EQ(chord.tuplet(), nullptr);
}

TEST(MnChord, DraggingARestMovesItByWholeLines)
{
    const struct
    {
        double y;
        bool moved;
        int position;
    } cases[] = {{-1.5, true, -2}, {-3.5, true, -4}, {9.0, false, -4}, {-13.0, true, -14}, {-15.0, false, -4}};
    for (const auto& c : cases) {
        MnChord rest(nullptr, 0, 0, MnTicksQuarter);
        EXPECT_EQ(rest.moveTo(GePoint2d(0.0, c.y)), c.moved) << c.y;
        EXPECT_EQ(rest.restPosition(), c.position) << c.y;
    }
}

TEST(MnChord, DurationRules)
{
    const struct
    {
        int duration;
        int actual, normal;
        bool grace;
        bool dotted;
        int undotted;
        int sounding;
    } cases[] = {
        {5670, 1, 1, false, true, 3780, 5670},
        {181440, 1, 1, false, true, 120960, 181440},
        {241920, 1, 1, false, false, 241920, 241920},
        {30240, 5, 4, false, false, 30240, 24192},
        {30240, 1, 1, true, false, 30240, 0},
    };
    for (const auto& c : cases) {
        MnChord chord(nullptr, 0, 0, c.duration);
        chord.setRatio(c.actual, c.normal);
        chord.setGrace(c.grace);
        EXPECT_EQ(chord.isDotted(), c.dotted) << c.duration;
        EXPECT_EQ(chord.undottedDuration(), c.undotted) << c.duration;
        EXPECT_EQ(chord.soundingDuration(), c.sounding) << c.duration;
    }
}

TEST(MnChord, WalkingTheVoiceCrossesBarLinesAndCachesOnlyInAScope)
{
    MnScore score;
    ASSERT_TRUE(score.insertMeasure(-1));
    MnStaff* staff = score.staff(0);
    MnMeasure* first = staff->measure(0);
    MnMeasure* second = staff->measure(1);
    MnChord* last = setVoice(first, 1, {MnTicksHalf, MnTicksHalf});
    last = first->voiceChords(1)[1];
    MnChord* endGrace = insertGraceChord(first, 1, 2, MnTicksEighth);
    MnChord* opening = second->voiceChords(1)[0];

    EXPECT_EQ(opening->previousChord(), endGrace);
    EXPECT_EQ(endGrace->nextChord(), opening);
    EXPECT_EQ(last->nextChord(), endGrace);
    EXPECT_EQ(first->voiceChords(1)[0]->previousChord(), nullptr);
    EXPECT_EQ(opening->nextChord(), nullptr);

    {
        MnCache scope;
        EXPECT_EQ(opening->previousChord(), endGrace);
        first->voiceChords(1).removeAt(2); // the scope now holds a stale value
        EXPECT_EQ(opening->previousChord(), endGrace);
    }
    EXPECT_EQ(opening->previousChord(), last);
    delete endGrace;
}

TEST(MnChord, ClefAndKeyFollowTheStaffChanges)
{
    MnScore score;
    ASSERT_TRUE(score.insertMeasure(-1));
    MnStaff* staff = score.staff(0);
    ASSERT_TRUE(staff->insertStaffChange(MnTicksPerWhole));
    staff->change(0)->setClef(MnClefBass);
    staff->change(0)->setKey(-2);
    MnChord* before = staff->measure(0)->voiceChords(0)[0];
    MnChord* after = staff->measure(1)->voiceChords(0)[0];
    EXPECT_EQ(before->clef(), MnClefTreble);
    EXPECT_EQ(after->clef(), MnClefBass);
    EXPECT_EQ(after->keySignature(), -2);
    // A grace chord at the bar line is written before the change.
    MnChord* endGrace = insertGraceChord(staff->measure(0), 0, 1, MnTicksEighth);
    EXPECT_EQ(endGrace->clef(), MnClefTreble);
    EXPECT_EQ(endGrace->keySignature(), -2);
}
