#include "model/MnChord.h"

#include "model/MnCache.h"
#include "model/MnCodes.h"
#include "model/MnMeasure.h"
#include "model/MnNote.h"
#include "model/MnNoteLayout.h"
#include "model/MnPart.h"
#include "model/MnScore.h"
#include "model/MnStaff.h"
#include "model/MnStaffDefinition.h"
#include "model/ModelBuilders.h"
#include "model/VoiceBuilder.h"

#include <gtest/gtest.h>

#include <initializer_list>
#include <string>
#include <utility>
#include <vector>

namespace {

constexpr int Whole = 241920;
constexpr int Half = 120960;
constexpr int Quarter = 60480;
constexpr int Eighth = 30240;

// Steps and octaves of pitches, e.g. {0, 4} for C4.
using Pitch = std::pair<int, int>;

// A chord of the pitches in voice 0 of a fresh measure, with the given
// accidental on every note.
MnChord* chordOf(MnMeasure* measure, std::initializer_list<Pitch> pitches, int accidental = MnAccidentalNone)
{
    VoiceBuilder voice(measure, 0);
    MnChord* chord = voice.chord(Whole);
    for (const Pitch& pitch : pitches)
        chord->addNote(pitch.first, pitch.second, accidental, false);
    return chord;
}

BcArray<MnNote*> notesOf(const MnChord* chord)
{
    BcArray<MnNote*> notes;
    for (int i = 0; i < chord->noteCount(); ++i)
        notes.add(chord->note(i));
    return notes;
}

// A chord of one note in each voice of the measure at time 0, the upper
// one with an up stem, the lower one with a down stem.
std::pair<MnChord*, MnChord*> opposedVoices(MnMeasure* measure, Pitch upper, int upperValue, int upperAccidental,
                                            Pitch lower, int lowerValue, int lowerAccidental)
{
    VoiceBuilder first(measure, 0);
    MnChord* up = first.note(upperValue, upper.first, upper.second, upperAccidental);
    VoiceBuilder second(measure, 1);
    MnChord* down = second.note(lowerValue, lower.first, lower.second, lowerAccidental);
    up->setStemDirection(1);
    down->setStemDirection(-1);
    down->setStemInverted(false);
    return {up, down};
}

std::vector<int> field(const BcArray<MnNoteLayout>& records, int MnNoteLayout::*member)
{
    std::vector<int> values;
    for (int i = 0; i < records.count(); ++i)
        values.push_back(records[i].*member);
    return values;
}

} // namespace

TEST(MnChordLayout, SecondsPutEverySecondHeadOnTheOtherSideOfTheStem)
{
    struct Row
    {
        const char* what;
        std::initializer_list<Pitch> pitches;
        int direction;
        std::vector<int> shifts;
        std::vector<int> leftOfStem;
    };
    const Row rows[] = {
        {"C4-D4 up: D4 goes right", {{0, 4}, {1, 4}}, 1, {0, 1}, {1, 0}},
        {"C4-D4 down: C4 goes left", {{0, 4}, {1, 4}}, -1, {-1, 0}, {1, 0}},
        {"cluster up: only D4 moves", {{0, 4}, {1, 4}, {2, 4}}, 1, {0, 1, 0}, {1, 0, 1}},
        {"cluster down: only D4 moves", {{0, 4}, {1, 4}, {2, 4}}, -1, {0, -1, 0}, {0, 1, 0}},
        {"a third stays together", {{0, 4}, {2, 4}}, 1, {0, 0}, {0, 0}},
    };
    for (const Row& row : rows) {
        StaffFixture fixture(1);
        const MnChord* chord = chordOf(fixture.measure(0), row.pitches);
        BcArray<MnNoteLayout> records;
        layoutNoteColumns(notesOf(chord), records, row.direction, true, false);
        EXPECT_EQ(field(records, &MnNoteLayout::headShift), row.shifts) << row.what;
        EXPECT_EQ(field(records, &MnNoteLayout::leftOfStem), row.leftOfStem) << row.what;
    }
}

TEST(MnChordLayout, AccidentalsLessThanAnOctaveApartTakeColumnsLeftward)
{
    StaffFixture fixture(1);
    // C5 takes the first column, G4 the second; E4 would open a third, so
    // it takes the second and G4 moves out; C4 lies an octave below C5.
    const MnChord* chord = chordOf(fixture.measure(0), {{0, 4}, {2, 4}, {4, 4}, {0, 5}}, MnAccidentalSharp);
    BcArray<MnNoteLayout> records;
    layoutNoteColumns(notesOf(chord), records, 1, false, true);
    EXPECT_EQ(field(records, &MnNoteLayout::accidentalColumn), (std::vector<int>{0, -1, -2, 0}));
}

TEST(MnChordLayout, DotsOfNotesOnLinesGoToASpace)
{
    struct Row
    {
        const char* what;
        std::initializer_list<Pitch> pitches;
        std::vector<int> dots;
    };
    // In the treble clef E4 sits on the bottom line, F4 in the space above.
    const Row rows[] = {
        {"on a line: the space above", {{2, 4}}, {1}},
        {"in a space: no shift", {{3, 4}}, {0}},
        {"a line under a second: the space below", {{2, 4}, {3, 4}}, {-1, 0}},
        {"a third: both dots above", {{2, 4}, {4, 4}}, {1, 1}},
    };
    for (const Row& row : rows) {
        StaffFixture fixture(1);
        const MnChord* chord = chordOf(fixture.measure(0), row.pitches);
        BcArray<MnNoteLayout> records;
        layoutNoteColumns(notesOf(chord), records, 1, true, false);
        EXPECT_EQ(field(records, &MnNoteLayout::dotShift), row.dots) << row.what;
    }
}

TEST(MnChordLayout, TheUpStemVoiceStandsAsideWhereTheVoicesMeet)
{
    struct Row
    {
        const char* what;
        Pitch upper;
        int upperValue;
        Pitch lower;
        int lowerValue;
        double distance;
    };
    const Row rows[] = {
        {"a second apart: the up stem goes left", {0, 5}, Quarter, {6, 4}, Quarter, -3.0},
        {"crossed voices a third apart", {2, 4}, Quarter, {4, 4}, Quarter, 0.75},
        {"crossed voices a second apart", {0, 5}, Quarter, {1, 5}, Quarter, 2.5},
        {"a unison of two quarters shares its head", {0, 5}, Quarter, {0, 5}, Quarter, 0.0},
        {"a unison of a half and a quarter", {0, 5}, Half, {0, 5}, Quarter, -3.0},
        {"apart by a third", {2, 5}, Quarter, {0, 5}, Quarter, 0.0},
    };
    for (const Row& row : rows) {
        StaffFixture fixture(1);
        const auto [up, down] = opposedVoices(fixture.measure(0), row.upper, row.upperValue, MnAccidentalNone,
                                              row.lower, row.lowerValue, MnAccidentalNone);

        MnCache scope;
        double head = 0.0, accidentals = 0.0, dots = 0.0;
        int smallest = 0;
        BcArray<MnNoteLayout> records;
        up->layoutNoteHeads(head, accidentals, dots, smallest, records, -2);
        EXPECT_DOUBLE_EQ(head, row.distance) << row.what;
        ASSERT_EQ(records.count(), 1) << row.what;
        // The down-stem chord stays where it is.
        down->layoutNoteHeads(head, accidentals, dots, smallest, records, -2);
        EXPECT_DOUBLE_EQ(head, 0.0) << row.what;
    }
}

TEST(MnChordLayout, BothVoicesShareTheAccidentalColumns)
{
    StaffFixture fixture(1);
    const auto [upper, lower] =
        opposedVoices(fixture.measure(0), {0, 5}, Quarter, MnAccidentalSharp, {4, 4}, Quarter, MnAccidentalFlat);

    MnCache scope;
    double head = 0.0, accidentals = 0.0, dots = 0.0;
    int smallest = 0;
    BcArray<MnNoteLayout> records;
    upper->layoutNoteHeads(head, accidentals, dots, smallest, records, -2);
    EXPECT_EQ(records[0].accidentalColumn, 0);
    lower->layoutNoteHeads(head, accidentals, dots, smallest, records, -2);
    EXPECT_EQ(records[0].accidentalColumn, -1);
}

TEST(MnChordLayout, StemDirectionsAloneAndInABeamGroup)
{
    struct Row
    {
        const char* what;
        Pitch pitch;
        int voice;
        int direction;
    };
    // Treble clef: B4 is the middle line.
    const Row rows[] = {
        {"below the middle line: up", {5, 4}, 0, 1},
        {"on the middle line: down", {6, 4}, 0, -1},
        {"above it: down", {0, 5}, 0, -1},
        {"the second voice inverts", {0, 5}, 1, 1},
    };
    for (const Row& row : rows) {
        StaffFixture fixture(1);
        VoiceBuilder voice(fixture.measure(0), row.voice);
        MnChord* chord = voice.note(Whole, row.pitch.first, row.pitch.second);
        bool alone = false;
        MnCache scope;
        EXPECT_EQ(chord->stemDirection(&alone), row.direction) << row.what;
        EXPECT_TRUE(alone) << row.what;
        EXPECT_EQ(chord->autoStemDirection(), row.direction) << row.what;
    }

    // F4 and A5 beamed: A5 lies farther from the middle line, so both
    // stems go down, although F4 alone would go up.
    StaffFixture fixture(1);
    VoiceBuilder voice(fixture.measure(0), 0);
    MnChord* f4 = voice.note(Eighth, 3, 4);
    MnChord* a5 = voice.note(Eighth, 5, 5);
    voice.chord(Quarter);
    voice.chord(Half);
    MnCache scope;
    bool alone = true;
    EXPECT_EQ(f4->autoStemDirection(), 1);
    EXPECT_EQ(f4->stemDirection(&alone), -1);
    EXPECT_FALSE(alone);
    EXPECT_EQ(a5->stemDirection(&alone), -1);
    EXPECT_FALSE(alone);
    // A beamed eighth has no flag to make room for; a lone one with an up
    // stem has.
    EXPECT_DOUBLE_EQ(f4->rightExtent(), 1.5);
    StaffFixture single(1);
    VoiceBuilder lone(single.measure(0), 0);
    MnChord* flagged = lone.note(Eighth, 3, 4);
    lone.chord(Eighth);
    lone.chord(Quarter);
    lone.chord(Half);
    flagged->setBeamMode(2);
    EXPECT_DOUBLE_EQ(flagged->rightExtent(), 3.5);
}

TEST(MnChordLayout, LeftExtentsAddGraceChordsArpeggiosAndChanges)
{
    MnScore score;
    score.insertStaff(-1);
    score.part(1)->setScale(1.5);
    MnStaff* upper = score.staff(0);
    MnStaff* lower = score.staff(1);
    VoiceBuilder voice(upper->measure(0), 0);
    MnChord* first = voice.note(Quarter, 0, 5);
    MnChord* atClef = voice.note(Quarter, 0, 5);
    MnChord* atKey = voice.note(Quarter, 0, 5);
    MnChord* afterGrace = voice.note(Quarter, 0, 5);
    insertGraceChord(upper->measure(0), 0, 3, Eighth)->addNote(1, 5, MnAccidentalNone, false);
    VoiceBuilder below(lower->measure(0), 0);
    MnChord* bass = below.note(Whole, 0, 3);
    first->note(0)->setArpeggio(true);
    bass->note(0)->setArpeggio(true);
    // A clef change at the second chord, a key of three sharps (same clef)
    // at the third.
    ASSERT_TRUE(upper->insertStaffChange(Quarter));
    upper->definitionAt(Quarter, true)->setClef(MnClefBass);
    ASSERT_TRUE(upper->insertStaffChange(Half));
    upper->definitionAt(Half, true)->setKey(3);

    MnCache scope;
    // Kind 0: a plain notehead reaches 1.5 left, a sharp 4.
    EXPECT_DOUBLE_EQ(atClef->leftExtent(MnChord::ExtentHeads), 1.5);
    EXPECT_DOUBLE_EQ(atClef->leftExtent(MnChord::ExtentChanges), 1.5 + 7.0);
    // Three sharps: 6 plus the gap of 2, and 1 before them.
    EXPECT_DOUBLE_EQ(atKey->leftExtent(MnChord::ExtentChanges), 1.5 + 1.0 + 8.0);
    // The grace eighth is 6 wide (1.5 left, 1 + 1.5 + 2 for its flag),
    // drawn at 0.6.
    EXPECT_DOUBLE_EQ(afterGrace->leftExtent(MnChord::ExtentArpeggio), 1.5);
    EXPECT_DOUBLE_EQ(afterGrace->leftExtent(MnChord::ExtentGrace), 1.5 + 0.6 * 6.0);
    EXPECT_DOUBLE_EQ(afterGrace->leftExtent(MnChord::ExtentChanges), 1.5 + 0.6 * 6.0);

    // The arpeggio runs from C3 of the lower staff (part scale 1.5) to C5:
    // in the upper staff's units it stands 2 x 1.5 left of the lower
    // chord's heads, which reach 1.5 x 2.5.
    EXPECT_DOUBLE_EQ(first->leftExtent(MnChord::ExtentHeads), 1.5);
    EXPECT_DOUBLE_EQ(first->leftExtent(MnChord::ExtentArpeggio), 3.0 + 1.5 * 2.5);
    EXPECT_DOUBLE_EQ(bass->leftExtent(MnChord::ExtentArpeggio), 2.0 + 2.5);
    EXPECT_DOUBLE_EQ(first->width(), first->leftExtent(MnChord::ExtentChanges) + first->rightExtent());
}

TEST(MnChordLayout, AGraceChordStandsLeftOfItsMainChord)
{
    StaffFixture fixture(1);
    MnMeasure* measure = fixture.measure(0);
    VoiceBuilder voice(measure, 0);
    MnChord* main = voice.note(Whole, 0, 5);
    MnChord* early = insertGraceChord(measure, 0, 0, Eighth);
    early->addNote(1, 5, MnAccidentalNone, false);
    MnChord* late = insertGraceChord(measure, 0, 1, Eighth);
    late->addNote(2, 5, MnAccidentalNone, false);

    MnCache scope;
    EXPECT_DOUBLE_EQ(main->graceOffset(), 0.0);
    EXPECT_DOUBLE_EQ(late->graceOffset(), -0.6 * late->rightExtent() - main->leftExtent(MnChord::ExtentArpeggio));
    EXPECT_DOUBLE_EQ(early->graceOffset(),
                     -0.6 * early->rightExtent() - 0.6 * late->width() - main->leftExtent(MnChord::ExtentArpeggio));
}

TEST(MnChordLayout, ChordsStandOnTheMeasuresSlotsAndAWholeRestInTheMiddle)
{
    StaffFixture fixture(1);
    MnMeasure* measure = fixture.measure(0);
    MnCache scope;
    const double content = measure->width() - measure->headerWidth();
    // A new measure holds whole rests.
    EXPECT_DOUBLE_EQ(measure->voiceChords(0)[0]->position().x, content / 2.0);
    EXPECT_EQ(measure->voiceChords(0)[0]->position().y, -4.0);

    StaffFixture quarters(1);
    VoiceBuilder voice(quarters.measure(0), 0);
    for (int i = 0; i < 4; ++i)
        voice.note(Quarter, i, 5);
    const MnMeasure* filled = quarters.measure(0);
    const double width = filled->width() - filled->headerWidth();
    // Four slots: the last chord at the end of the content.
    EXPECT_DOUBLE_EQ(filled->voiceChords(0)[0]->position().x, 0.0);
    EXPECT_DOUBLE_EQ(filled->voiceChords(0)[3]->position().x, width);
}

TEST(MnChordLayout, CachedWithinAScopeAndRecomputedAfterIt)
{
    StaffFixture fixture(1);
    VoiceBuilder voice(fixture.measure(0), 0);
    MnChord* chord = voice.note(Whole, 3, 4);
    {
        MnCache scope;
        EXPECT_EQ(chord->stemDirection(), 1);
        chord->setStemDirection(-1); // against the rule: an edit inside a scope
        EXPECT_EQ(chord->stemDirection(), 1);
    }
    MnCache scope;
    EXPECT_EQ(chord->stemDirection(), -1);
}
