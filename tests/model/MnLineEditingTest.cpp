#include "model/MnDynamic.h"
#include "model/MnOctave.h"
#include "model/MnPedal.h"

#include "foundation/BcClass.h"
#include "model/EdGuideLine.h"
#include "model/EdHorizontalGuideLine.h"
#include "model/EdPath.h"
#include "model/MnChord.h"
#include "model/MnCodes.h"
#include "model/MnMeasure.h"
#include "model/MnNote.h"
#include "model/MnScore.h"
#include "model/MnStaff.h"
#include "model/ModelBuilders.h"

#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <vector>

// Two measures of 4/4: voice 0 holds quarter notes (C5) throughout, voice 1
// an eighth note and rests in the first measure and a whole rest in the
// second.
struct LineStaff
{
    LineStaff()
    {
        score.insertMeasure(-1);
        staff = score.staff(0);
        for (int m = 0; m < 2; ++m) {
            setVoice(staff->measure(m), 0, {MnTicksQuarter, MnTicksQuarter, MnTicksQuarter, MnTicksQuarter});
            for (int i = 0; i < 4; ++i)
                staff->measure(m)->voiceChords(0)[i]->addNote(0, 5, MnAccidentalNone, false);
        }
        setVoice(staff->measure(0), 1, {MnTicksEighth, MnTicksEighth, MnTicksQuarter, MnTicksHalf});
        staff->measure(0)->voiceChords(1)[0]->addNote(4, 4, MnAccidentalNone, false);
    }

    // A line made and placed directly, as a reader places it.
    template <typename T>
    T* place(int kind, int start, int length)
    {
        T* line = new T(staff);
        line->setKind(kind);
        line->setStart(start, true);
        staff->lineArray().add(line);
        line->setLength(length);
        return line;
    }

    int indexOf(const MnLine* line) const { return staff->lineArray().indexOf(const_cast<MnLine*>(line)); }

    MnScore score;
    MnStaff* staff;
};

TEST(MnLineEditing, LengthStopsAtTheNextLineOfItsClass)
{
    struct Row
    {
        const char* what;
        int requested;
        int expected;
        bool changed;
        std::function<MnLine*(LineStaff&)> build;
    };
    const Row rows[] = {
        {"a p mark stops at the next dynamic", 120960, 60480, true,
         [](LineStaff& s) {
             MnLine* p = s.place<MnDynamic>(MnDynamicP, 0, 1);
             s.place<MnDynamic>(MnDynamicF, 60480, 1);
             return p;
         }},
        {"a hairpin stops at the next mark", 241920, 181440, true,
         [](LineStaff& s) {
             MnLine* hairpin = s.place<MnDynamic>(MnDynamicCrescendoHairpin, 60480, 1);
             s.place<MnDynamic>(MnDynamicFF, 241920, 1);
             return hairpin;
         }},
        {"a line of another class does not stop it", 241920, 241920, true,
         [](LineStaff& s) {
             MnLine* octave = s.place<MnOctave>(MnOctaveOneUp, 0, 1);
             s.place<MnDynamic>(MnDynamicF, 60480, 1);
             s.place<MnPedal>(MnPedalSign, 60480, 1);
             return octave;
         }},
        {"an earlier line of the class does not stop it", 120960, 120960, true,
         [](LineStaff& s) {
             s.place<MnDynamic>(MnDynamicF, 0, 1);
             return s.place<MnDynamic>(MnDynamicP, 60480, 1);
         }},
        {"0 takes the shortest chord at the start", 0, 30240, true,
         [](LineStaff& s) { return s.place<MnDynamic>(MnDynamicP, 0, 120960); }},
        {"a negative length does the same", -5, 60480, true,
         [](LineStaff& s) { return s.place<MnPedal>(MnPedalSignLineHook, 241920, 120960); }},
        {"0 where no chord starts gives 0", 0, 0, true,
         [](LineStaff& s) { return s.place<MnDynamic>(MnDynamicP, 1890, 120960); }},
        {"an unchanged length answers false", 60480, 60480, false,
         [](LineStaff& s) { return s.place<MnDynamic>(MnDynamicP, 0, 60480); }},
    };
    for (const Row& row : rows) {
        LineStaff s;
        MnLine* line = row.build(s);
        EXPECT_EQ(line->setLength(row.requested), row.changed) << row.what;
        EXPECT_EQ(line->length(), row.expected) << row.what;
    }
}

TEST(MnLineEditing, MovingTheStart)
{
    struct Row
    {
        const char* what;
        int time;
        bool force;
        bool changed;
        int start;
        int length;
        // The start and length of the other line afterwards (-1: none).
        int otherStart;
        int otherLength;
        std::function<MnLine*(LineStaff&, MnLine*&)> build;
    };
    const Row rows[] = {
        {"earlier over a hairpin stops at its end", 0, false, true, 60480, 181440, 0, 60480,
         [](LineStaff& s, MnLine*& other) {
             other = s.place<MnDynamic>(MnDynamicDiminuendoHairpin, 0, 60480);
             return s.place<MnDynamic>(MnDynamicCrescendoHairpin, 120960, 120960);
         }},
        {"earlier over a mark cuts the mark short", 60480, false, true, 60480, 181440, 0, 60480,
         [](LineStaff& s, MnLine*& other) {
             other = s.place<MnDynamic>(MnDynamicP, 0, 120960);
             return s.place<MnDynamic>(MnDynamicCrescendoHairpin, 120960, 120960);
         }},
        {"earlier past a whole mark stops at its end", 0, false, true, 60480, 181440, 30240, 30240,
         [](LineStaff& s, MnLine*& other) {
             other = s.place<MnDynamic>(MnDynamicP, 30240, 30240);
             return s.place<MnDynamic>(MnDynamicCrescendoHairpin, 120960, 120960);
         }},
        {"lines of other classes are not in the way", 0, false, true, 0, 241920, 0, 120960,
         [](LineStaff& s, MnLine*& other) {
             other = s.place<MnPedal>(MnPedalSignLineHook, 0, 120960);
             return s.place<MnDynamic>(MnDynamicCrescendoHairpin, 120960, 120960);
         }},
        {"inside the line the end stays", 180000, false, true, 180000, 61920, -1, -1,
         [](LineStaff& s, MnLine*&) { return s.place<MnOctave>(MnOctaveOneUp, 120960, 120960); }},
        {"past the end the line shrinks to the chord before its end", 400000, false, true, 181440, 60480, -1, -1,
         [](LineStaff& s, MnLine*&) { return s.place<MnOctave>(MnOctaveOneUp, 120960, 120960); }},
        {"a mark takes its end along up to the next mark", 300000, false, true, 181440, 60480, 241920, 60480,
         [](LineStaff& s, MnLine*& other) {
             other = s.place<MnDynamic>(MnDynamicF, 241920, 60480);
             return s.place<MnDynamic>(MnDynamicP, 0, 60480);
         }},
        {"a mark ending with the staff cannot shrink", 483840, false, false, 362880, 120960, -1, -1,
         [](LineStaff& s, MnLine*&) { return s.place<MnDynamic>(MnDynamicP, 362880, 120960); }},
        {"the same start answers false", 60480, false, false, 60480, 60480, -1, -1,
         [](LineStaff& s, MnLine*&) { return s.place<MnPedal>(MnPedalSign, 60480, 60480); }},
        {"a negative time is refused", -60480, true, false, 60480, 60480, -1, -1,
         [](LineStaff& s, MnLine*&) { return s.place<MnPedal>(MnPedalSign, 60480, 60480); }},
        {"forced, the line moves whole", 300000, true, true, 300000, 60480, -1, -1,
         [](LineStaff& s, MnLine*&) { return s.place<MnPedal>(MnPedalSign, 60480, 60480); }},
        // The hairpin ending at the old start moves the new start back up to
        // where it was: nothing changes, and the mark in between is not cut.
        {"a refused move cuts no mark", 30240, false, false, 120960, 60480, 0, 120960,
         [](LineStaff& s, MnLine*& other) {
             other = s.place<MnDynamic>(MnDynamicP, 0, 120960);
             s.place<MnDynamic>(MnDynamicCrescendoHairpin, 60480, 60480);
             return s.place<MnDynamic>(MnDynamicDiminuendoHairpin, 120960, 60480);
         }},
    };
    for (const Row& row : rows) {
        LineStaff s;
        MnLine* other = nullptr;
        MnLine* line = row.build(s, other);
        EXPECT_EQ(line->setStart(row.time, row.force), row.changed) << row.what;
        EXPECT_EQ(line->start(), row.start) << row.what;
        EXPECT_EQ(line->length(), row.length) << row.what;
        if (other) {
            EXPECT_EQ(other->start(), row.otherStart) << row.what;
            EXPECT_EQ(other->length(), row.otherLength) << row.what;
        }
        const BcArray<MnLine*>& lines = s.staff->lineArray();
        for (int i = 1; i < lines.count(); ++i)
            EXPECT_LE(lines[i - 1]->start(), lines[i]->start()) << row.what << ": lines stay sorted";
    }
}

TEST(MnLineEditing, InsertingALine)
{
    struct Row
    {
        const char* what;
        int time;
        bool inserted;
        // The first line placed beforehand, afterwards.
        int firstStart;
        int firstLength;
        std::function<MnLine*(LineStaff&)> build;
    };
    const Row rows[] = {
        {"inside an earlier mark: the mark ends at the time", 60480, true, 0, 60480,
         [](LineStaff& s) {
             s.place<MnDynamic>(MnDynamicP, 0, 241920);
             return new MnDynamic;
         }},
        {"at the start of a mark: refused", 0, false, 0, 241920,
         [](LineStaff& s) {
             s.place<MnDynamic>(MnDynamicP, 0, 241920);
             return new MnDynamic;
         }},
        {"inside an octave line: refused", 60480, false, 0, 241920,
         [](LineStaff& s) {
             s.place<MnOctave>(MnOctaveOneUp, 0, 241920);
             return new MnOctave;
         }},
        {"a mark and a hairpin cover the time: refused, the mark kept", 60480, false, 0, 241920,
         [](LineStaff& s) {
             s.place<MnDynamic>(MnDynamicP, 0, 241920);
             s.place<MnDynamic>(MnDynamicCrescendoHairpin, 30240, 60480);
             return new MnDynamic;
         }},
        {"a line of another class covers the time", 60480, true, 0, 241920,
         [](LineStaff& s) {
             s.place<MnPedal>(MnPedalSignLineHook, 0, 241920);
             return new MnOctave;
         }},
        {"after the end of a mark", 241920, true, 0, 60480,
         [](LineStaff& s) {
             s.place<MnDynamic>(MnDynamicP, 0, 60480);
             return new MnDynamic;
         }},
    };
    for (const Row& row : rows) {
        LineStaff s;
        MnLine* line = row.build(s);
        line->setKind(line->isKindOf(MnOctave::staticClass()) ? int(MnOctaveOneUp) : int(MnDynamicF));
        const int before = s.staff->lineArray().count();
        const bool inserted = s.staff->insertLine(line, row.time);
        EXPECT_EQ(inserted, row.inserted) << row.what;
        MnLine* first = s.staff->lineArray()[0];
        EXPECT_EQ(first->start(), row.firstStart) << row.what;
        EXPECT_EQ(first->length(), row.firstLength) << row.what;
        if (!inserted) {
            EXPECT_EQ(s.staff->lineArray().count(), before) << row.what;
            delete line;
            continue;
        }
        EXPECT_EQ(line->parent(), s.staff) << row.what;
        EXPECT_EQ(line->start(), row.time) << row.what;
        const BcArray<MnLine*>& lines = s.staff->lineArray();
        for (int i = 1; i < lines.count(); ++i)
            EXPECT_LE(lines[i - 1]->start(), lines[i]->start()) << row.what;
    }
}

TEST(MnLineEditing, AnInsertedLineLastsAsLongAsTheShortestChordAtItsStart)
{
    LineStaff s;
    MnDynamic* early = s.place<MnDynamic>(MnDynamicF, 120960, 60480);
    MnDynamic* dynamic = new MnDynamic;
    dynamic->setKind(MnDynamicP);
    ASSERT_TRUE(s.staff->insertLine(dynamic, 0));
    // Voice 1's eighth note is shorter than voice 0's quarter.
    EXPECT_EQ(dynamic->length(), 30240);
    // Sorted in front of the later mark.
    EXPECT_EQ(s.indexOf(dynamic), 0);
    EXPECT_EQ(s.indexOf(early), 1);
    // A line that is already here is not taken twice.
    EXPECT_FALSE(s.staff->insertLine(dynamic, 241920));
    EXPECT_EQ(s.staff->lineArray().count(), 2);
}

TEST(MnLineEditing, ALineMovesBetweenStaves)
{
    LineStaff s;
    MnStaff* second = s.score.insertStaff(-1);
    MnOctave* octave = s.place<MnOctave>(MnOctaveOneUp, 0, 120960);
    ASSERT_TRUE(second->insertLine(octave, 60480));
    EXPECT_EQ(s.staff->lineArray().count(), 0);
    ASSERT_EQ(second->lineArray().count(), 1);
    EXPECT_EQ(octave->staff(), second);
    EXPECT_EQ(octave->start(), 60480);
    // The new staff holds only a whole rest at 60480: no chord starts there.
    EXPECT_EQ(octave->length(), 0);
}

TEST(MnLineEditing, VerticalDragKeepsClearOfTheNotesAtTheStart)
{
    struct Row
    {
        const char* what;
        int step;
        int octave;
        double y;
        double offset;
    };
    // Treble clef: E6 stands at 6, A3 at -12, C5 at -3.
    const Row rows[] = {
        {"far above a high note", 2, 6, 30.0, 26.0},
        {"just above a high note", 2, 6, 3.0, 8.0},
        {"far below a low note", 5, 3, -40.0, -32.0},
        {"just below a low note", 5, 3, -5.0, -14.0},
        {"a note inside the staff leaves the staff lines", 0, 5, 1.0, 2.0},
        {"below a note inside the staff", 0, 5, -9.0, -10.0},
    };
    for (const Row& row : rows) {
        LineStaff s;
        MnChord* chord = s.staff->measure(1)->voiceChords(0)[0];
        chord->clearNotes();
        chord->addNote(row.step, row.octave, MnAccidentalNone, false);
        MnPedal* pedal = s.place<MnPedal>(MnPedalSign, 241920, 60480);
        pedal->setOffset(-20.0);
        pedal->moveTo(GePoint2d(5.0, row.y));
        EXPECT_EQ(pedal->offset(), row.offset) << row.what;
    }

    // A rest at the start counts as a note on the middle line.
    LineStaff s;
    setVoice(s.staff->measure(1), 0, {MnTicksPerWhole});
    MnDynamic* dynamic = s.place<MnDynamic>(MnDynamicP, 241920, 60480);
    EXPECT_TRUE(dynamic->moveTo(GePoint2d(0.0, -3.0)));
    EXPECT_EQ(dynamic->offset(), 2.0);
    EXPECT_FALSE(dynamic->moveTo(GePoint2d(0.0, 1.0)));
}

TEST(MnLineEditing, GuideLinesAtTheOtherLinesOfTheClassInTheSystem)
{
    LineStaff s;
    s.score.insertStaff(-1);
    MnStaff* second = s.score.staff(1);
    MnDynamic* dragged = s.place<MnDynamic>(MnDynamicP, 0, 60480);
    s.place<MnDynamic>(MnDynamicF, 241920, 60480)->setOffset(-14.0);
    s.place<MnOctave>(MnOctaveOneUp, 0, 60480)->setOffset(6.0);
    MnDynamic* below = new MnDynamic(second);
    below->setKind(MnDynamicMF);
    below->setStart(60480, true);
    below->setLength(60480);
    below->setOffset(-12.0);
    second->lineArray().add(below);

    // No guide lines without a line path.
    BcArray<EdGuideLine*> guides;
    EXPECT_TRUE(dragged->addGuideLines(guides, nullptr));
    EXPECT_EQ(guides.count(), 0);

    // The system of measure 1 alone: the f of staff 0 is the one dynamic in it.
    EdPath secondSystem(EdPath::KindLine, 0, 0, 0, 1, 1, 2);
    EXPECT_TRUE(dragged->addGuideLines(guides, &secondSystem));
    ASSERT_EQ(guides.count(), 1);
    EXPECT_TRUE(guides[0]->isKindOf(EdHorizontalGuideLine::staticClass()));
    const double snapBelow = 2 * -1.25;
    EXPECT_DOUBLE_EQ(guides[0]->position, s.staff->position().y - 14.0 + snapBelow);
    EXPECT_DOUBLE_EQ(guides[0]->tolerance, 1.0);
    EXPECT_FALSE(guides[0]->visible);
    delete guides[0];
    guides.removeAll();

    // Both measures: the mf of staff 1 (nearer to the p's middle) comes first.
    EdPath bothMeasures(EdPath::KindLine, 0, 0, 0, 0, 2, 2);
    EXPECT_TRUE(dragged->addGuideLines(guides, &bothMeasures));
    ASSERT_EQ(guides.count(), 2);
    EXPECT_DOUBLE_EQ(guides[0]->position, second->position().y - 12.0 + snapBelow);
    EXPECT_DOUBLE_EQ(guides[1]->position, s.staff->position().y - 14.0 + snapBelow);
    for (int i = 0; i < guides.count(); ++i)
        delete guides[i];
}

TEST(MnLineEditing, ForcedStartsLeaveTheOrderToTheTimeEdits)
{
    // Inserting a measure shifts every later line by its length, one after
    // the other: each must move once and the order must hold.
    LineStaff s;
    MnLine* early = s.place<MnDynamic>(MnDynamicP, 0, 60480);
    MnLine* middle = s.place<MnOctave>(MnOctaveOneUp, 302400, 60480);
    MnLine* late = s.place<MnPedal>(MnPedalSign, 400000, 60480);
    ASSERT_TRUE(s.staff->insertMeasure(1, 0));
    EXPECT_EQ(early->start(), 0);
    EXPECT_EQ(middle->start(), 302400 + 241920);
    EXPECT_EQ(late->start(), 400000 + 241920);
    EXPECT_EQ(s.indexOf(early), 0);
    EXPECT_EQ(s.indexOf(middle), 1);
    EXPECT_EQ(s.indexOf(late), 2);
}

TEST(MnLineEditing, AddLineMakesTheLineOfTheTools)
{
    // Kind, side and length of a new line of each class, and what stands in
    // its way: another octave line refuses it, an earlier mark is cut.
    {
        LineStaff fixture;
        MnOctave* octave = fixture.staff->addLine<MnOctave>(0);
        ASSERT_NE(octave, nullptr);
        EXPECT_EQ(octave->kind(), MnOctaveOneUp);
        EXPECT_TRUE(octave->isAbove());
        EXPECT_EQ(octave->length(), MnTicksEighth); // the shortest chord at 0
        octave->setLength(2 * MnTicksQuarter);
        EXPECT_EQ(fixture.staff->addLine<MnOctave>(MnTicksQuarter), nullptr);
        EXPECT_EQ(fixture.staff->addLine<MnOctave>(0), nullptr);
        EXPECT_EQ(fixture.staff->lineArray().count(), 1);
        EXPECT_EQ(octave->length(), 2 * MnTicksQuarter);
        // Past its end, and in another class, a line is made.
        EXPECT_NE(fixture.staff->addLine<MnOctave>(2 * MnTicksQuarter), nullptr);
        EXPECT_NE(fixture.staff->addLine<MnPedal>(MnTicksQuarter), nullptr);
    }
    {
        LineStaff fixture;
        MnDynamic* first = fixture.staff->addLine<MnDynamic>(MnTicksQuarter);
        ASSERT_NE(first, nullptr);
        EXPECT_EQ(first->kind(), MnDynamicP);
        EXPECT_FALSE(first->isAbove());
        EXPECT_EQ(first->length(), MnTicksQuarter);
        first->setLength(MnTicksPerWhole);
        MnDynamic* second = fixture.staff->addLine<MnDynamic>(3 * MnTicksQuarter);
        ASSERT_NE(second, nullptr);
        EXPECT_EQ(first->length(), 2 * MnTicksQuarter);
        EXPECT_EQ(fixture.indexOf(first), 0);
        EXPECT_EQ(fixture.indexOf(second), 1);
        // A mark starting at the time is not cut: nothing is made.
        EXPECT_EQ(fixture.staff->addLine<MnDynamic>(3 * MnTicksQuarter), nullptr);
    }
    {
        LineStaff fixture;
        MnPedal* pedal = fixture.staff->addLine<MnPedal>(MnTicksPerWhole);
        ASSERT_NE(pedal, nullptr);
        EXPECT_EQ(pedal->kind(), MnPedalSignRelease);
        EXPECT_FALSE(pedal->isAbove());
        EXPECT_EQ(pedal->length(), MnTicksQuarter);
        EXPECT_EQ(fixture.staff->addLine<MnPedal>(-1), nullptr);
    }
}
