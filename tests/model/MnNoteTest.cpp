#include "model/MnNote.h"

#include "model/MnChord.h"
#include "model/MnCodes.h"
#include "model/MnMeasure.h"
#include "model/MnScore.h"
#include "model/MnStaff.h"
#include "model/ModelBuilders.h"
#include "model/RecordBytes.h"

#include <gtest/gtest.h>

TEST(MnNote, GoldenRecordOfASharpTiedNoteWithAnArpeggioUp)
{
    MnNote note(nullptr, 0, 4, MnAccidentalSharp, true);
    note.setTiePlacement(-1);
    note.setArpeggio(true);
    note.setArpeggioType(1);
    EXPECT_EQ(recordOf(note), (Bytes{28, 1, 0x29}));

    MnNote copy(nullptr);
    ASSERT_TRUE(readRecord(copy, {28, 1, 0x29}));
    EXPECT_EQ(copy.step(), 0);
    EXPECT_EQ(copy.octave(), 4);
    EXPECT_EQ(copy.accidental(), MnAccidentalSharp);
    EXPECT_TRUE(copy.isTied());
    EXPECT_EQ(copy.tiePlacement(), -1);
    EXPECT_TRUE(copy.hasArpeggio());
    EXPECT_EQ(copy.arpeggioType(), 1);
}

TEST(MnNote, Records)
{
    struct Case
    {
        const char* name;
        int version;
        Bytes record;
        bool ok;
        int step, octave, accidental;
        bool tied;
        int placement;
    };
    const Case cases[] = {
        {"version 1 keeps tie and placement in two values", 1, {38, 3, 1, 0xFF}, true, 3, 5, 3, true, -1},
        {"B3 natural is 27", 5, {27, 0, 0x02}, true, 6, 3, 0, false, 0},
        {"a negative position fails", 5, {0xFF, 3, 0}, false, 0, 4, 3, false, 0},
        {"an accidental beyond none fails", 5, {28, 4, 0}, false, 0, 4, 3, false, 0},
        {"an accidental below double flat fails", 5, {28, 0xFD, 0}, false, 0, 4, 3, false, 0},
        {"a missing flags byte fails", 5, {29, 3}, false, 1, 4, 3, false, 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        MnNote note(nullptr);
        EXPECT_EQ(readRecord(note, c.record, c.version), c.ok);
        EXPECT_EQ(note.step(), c.step);
        EXPECT_EQ(note.octave(), c.octave);
        EXPECT_EQ(note.accidental(), c.accidental);
        EXPECT_EQ(note.isTied(), c.tied);
        EXPECT_EQ(note.tiePlacement(), c.placement);
    }
}

TEST(MnNote, PositionFollowsTheClefAndWidthTheAccidental)
{
    MnScore score;
    MnStaff* staff = score.staff(0);
    MnChord* chord = setVoice(staff->measure(0), 0, {MnTicksPerWhole});
    MnNote* c4 = chord->addNote(0, 4, MnAccidentalNone, false);
    EXPECT_EQ(c4->position().y, -10.0);
    EXPECT_EQ(c4->parent(), chord);
    staff->setClef(MnClefBass);
    EXPECT_EQ(c4->position().y, 2.0);

    const struct
    {
        int accidental;
        double width;
    } widths[] = {{3, 3.0}, {-2, 7.5}, {-1, 5.5}, {0, 5.5}, {1, 5.5}, {2, 5.5}};
    for (const auto& w : widths) {
        c4->setAccidental(w.accidental);
        EXPECT_EQ(c4->width(), w.width) << w.accidental;
    }
}

TEST(MnNote, DraggingMovesByDiatonicStepsWithinTheWrittenRange)
{
    MnScore score;
    MnChord* chord = setVoice(score.staff(0)->measure(0), 0, {MnTicksPerWhole});
    MnNote* b3 = chord->addNote(6, 3, MnAccidentalFlat, false);
    EXPECT_TRUE(b3->moveTo(GePoint2d(0.0, b3->position().y + 0.6)));
    EXPECT_EQ(b3->step(), 0);
    EXPECT_EQ(b3->octave(), 4);
    EXPECT_EQ(b3->accidental(), MnAccidentalNone);

    MnNote* a0 = chord->addNote(5, 0, MnAccidentalNone, false);
    EXPECT_FALSE(a0->moveTo(GePoint2d(0.0, a0->position().y - 3.0)));
    EXPECT_EQ(a0->step(), 5);
    EXPECT_EQ(a0->octave(), 0);

    MnNote* c8 = chord->addNote(0, 8, MnAccidentalNone, false);
    EXPECT_FALSE(c8->moveTo(GePoint2d(0.0, c8->position().y + 2.0)));
    EXPECT_EQ(c8->octave(), 8);
    // Dragging the A0 far up moves it, and the chord stays sorted.
    EXPECT_TRUE(a0->moveTo(GePoint2d(0.0, a0->position().y + 50.0)));
    for (int i = 1; i < chord->noteCount(); ++i)
        EXPECT_LE(chord->note(i - 1)->diatonicPosition(), chord->note(i)->diatonicPosition());
}

TEST(MnNote, ArpeggioTypeIsRefusedInAGraceChord)
{
    MnScore score;
    MnMeasure* measure = score.staff(0)->measure(0);
    setVoice(measure, 0, {MnTicksPerWhole});
    MnChord* grace = insertGraceChord(measure, 0, 0, MnTicksEighth);
    MnNote* note = grace->addNote(2, 5, MnAccidentalNone, false);
    EXPECT_FALSE(note->setArpeggioType(2));
    EXPECT_EQ(note->arpeggioType(), 0);
}
