#include "model/MnChord.h"
#include "model/MnDynamic.h"
#include "model/MnMeasure.h"
#include "model/MnNote.h"
#include "model/MnOctave.h"
#include "model/MnScore.h"
#include "model/MnStaff.h"
#include "model/MnStaffChange.h"

#include "model/VoiceBuilder.h"

#include <gtest/gtest.h>

#include <functional>

namespace {

const int bar = 241920;
const int half = 120960;
const int dottedQuarter = 90720;
const int quarter = 60480;
const int eighth = 30240;

enum Step
{
    C,
    D,
    E,
    F,
    G,
    A,
    B,
};

const int none = MnAccidentalNone;

struct Spelling
{
    int step;
    int octave;
    int accidental;
};

Spelling spellingOf(const MnNote* note)
{
    return Spelling{note->step(), note->octave(), note->accidental()};
}

bool operator==(const Spelling& a, const Spelling& b)
{
    return a.step == b.step && a.octave == b.octave && a.accidental == b.accidental;
}

std::ostream& operator<<(std::ostream& os, const Spelling& s)
{
    return os << "CDEFGAB"[s.step < 0 || s.step > 6 ? 0 : s.step] << s.octave << " accidental " << s.accidental;
}

// One staff of 4/4 bars in a key.
class Pitch : public ::testing::Test
{
protected:
    Pitch()
    {
        score.insertMeasure(-1);
        staff = score.staff(0);
    }
    MnMeasure* bar1() { return staff->measure(0); }
    void inKey(int fifths) { staff->setKey(fifths); }
    MnOctave* addOctaveLine(int start, int length, double offset, int kind)
    {
        MnOctave* line = new MnOctave(staff);
        line->setStart(start, true);
        line->setLength(length);
        line->setOffset(offset);
        line->setKind(kind);
        staff->lineArray().add(line);
        return line;
    }

    MnScore score;
    MnStaff* staff;
};

} // namespace

TEST_F(Pitch, KeyIndexOfWrittenNotes)
{
    struct Row
    {
        const char* name;
        int step;
        int octave;
        int accidental;
        int key;
    };
    const Row rows[] = {
        {"A0, the lowest key", A, 0, none, 0},
        {"C8, the highest key", C, 8, none, 87},
        {"middle C", C, 4, none, 39},
        {"C sharp 4", C, 4, 1, 40},
        {"B sharp 3 sounds middle C", B, 3, 1, 39},
        {"C flat 4 sounds B3", C, 4, -1, 38},
        {"E double flat 4", E, 4, -2, 41},
        {"A4", A, 4, none, 48},
        {"G flat 0 lies below the keyboard", G, 0, -1, 0},
        {"C double sharp 8 lies above it", C, 8, 2, 87},
    };
    for (const Row& row : rows) {
        VoiceBuilder voice(bar1(), 0);
        MnNote* note = voice.note(bar, row.step, row.octave, row.accidental)->note(0);
        EXPECT_EQ(note->keyNumber(), row.key) << row.name;
    }
}

TEST_F(Pitch, OctaveLinesShiftTheSound)
{
    VoiceBuilder voice(bar1(), 0);
    MnNote* c4 = voice.note(bar, C, 4)->note(0);
    VoiceBuilder next(staff->measure(1), 0);
    MnNote* later = next.note(bar, C, 4)->note(0);

    addOctaveLine(0, bar, 6.0, 1);
    EXPECT_EQ(c4->keyNumber(), 51);
    EXPECT_EQ(later->keyNumber(), 39); // the line ends at the bar line

    // The same kind drawn below the staff sounds an octave lower.
    staff->lineArray()[0]->setOffset(-10.0);
    EXPECT_EQ(c4->keyNumber(), 27);

    // The last line that covers the chord decides.
    addOctaveLine(0, 2 * bar, 6.0, 2);
    EXPECT_EQ(c4->keyNumber(), 63);
    EXPECT_EQ(later->keyNumber(), 63);

    // Spelling under the line writes the note an octave lower.
    EXPECT_TRUE(later->setKeyNumber(63 - 12));
    EXPECT_EQ(spellingOf(later), (Spelling{C, 3, none}));
}

TEST_F(Pitch, OctaveLinesFollowEveryChangeOfTheStaffsLines)
{
    // The staff keeps its octave lines picked out between changes: each row
    // changes the lines after the row before asked the pitches.
    MnStaff* other = score.insertStaff(-1);
    ASSERT_NE(other, nullptr);
    VoiceBuilder first(bar1(), 0);
    MnNote* one = first.note(bar, C, 4)->note(0);
    VoiceBuilder second(staff->measure(1), 0);
    MnNote* two = second.note(bar, C, 4)->note(0);
    MnOctave* up = nullptr;
    MnOctave* below = nullptr;

    struct Row
    {
        const char* what;
        std::function<void()> change;
        int firstKey;
        int secondKey;
    };
    const Row rows[] = {
        {"no line", [] {}, 39, 39},
        {"a line added on bar 2", [&] { up = staff->addLine<MnOctave>(bar); }, 39, 51},
        {"a line below bar 1 put in the array", [&] { below = addOctaveLine(0, bar, -10.0, 1); }, 27, 51},
        {"a mark added", [&] { staff->addLine<MnDynamic>(0); }, 27, 51},
        {"the line below taken out", [&] { ASSERT_TRUE(staff->removeChild(below)); }, 39, 51},
        {"bar 2 swapped before bar 1, with its line",
         [&] { ASSERT_TRUE(staff->swapWithPreviousMeasure(1, false)); }, 39, 51},
        {"the line moved to the other staff", [&] { ASSERT_TRUE(other->insertLine(up, 0)); }, 39, 39},
        {"a line over both bars", [&] { addOctaveLine(0, 2 * bar, 6.0, 2); }, 63, 63},
        {"a line below the second bar", [&] { addOctaveLine(bar, bar, -10.0, 1); }, 27, 63},
    };
    for (const Row& row : rows) {
        row.change();
        EXPECT_EQ(one->keyNumber(), row.firstKey) << row.what;
        EXPECT_EQ(two->keyNumber(), row.secondKey) << row.what;
    }

    // Removing the second bar deletes the line that lay in it alone.
    ASSERT_TRUE(score.removeMeasure(1));
    EXPECT_EQ(staff->octaveLines().count(), 1);
    EXPECT_EQ(two->keyNumber(), 63);
    EXPECT_EQ(other->octaveLines().count(), 1);
}

TEST_F(Pitch, EffectiveAccidentalThroughTheMeasureAndTheKey)
{
    // In two flats an unmarked E sounds E flat.
    inKey(-2);
    VoiceBuilder voice(bar1(), 0);
    MnNote* first = voice.note(quarter, E, 4)->note(0);
    MnNote* natural = voice.note(quarter, E, 4, 0)->note(0);
    MnNote* after = voice.note(quarter, E, 4)->note(0);
    MnNote* otherOctave = voice.note(quarter, E, 5)->note(0);
    EXPECT_EQ(first->effectiveAccidental(), -1);
    EXPECT_EQ(first->keyNumber(), 42);
    EXPECT_EQ(natural->effectiveAccidental(), 0);
    EXPECT_EQ(after->effectiveAccidental(), 0);
    EXPECT_EQ(after->keyNumber(), 43);
    EXPECT_EQ(otherOctave->effectiveAccidental(), -1);
    int key = 99;
    EXPECT_EQ(after->accidentalInMeasure(E, 4, key), 0);
    EXPECT_EQ(key, -2);

    // After a key change in the middle of the bar the earlier natural no
    // longer counts: the new key decides.
    ASSERT_TRUE(staff->insertStaffChange(half));
    staff->change(0)->setKey(-3);
    EXPECT_EQ(after->effectiveAccidental(), -1);
    EXPECT_EQ(after->accidentalInMeasure(E, 4, key), none);
    EXPECT_EQ(key, -3);
    staff->change(0)->setKey(0);
    EXPECT_EQ(after->effectiveAccidental(), 0);
}

TEST_F(Pitch, CarriedAccidentalsComeFromEveryVoiceAndTheLatestOnset)
{
    VoiceBuilder upper(bar1(), 0);
    MnChord* chord = upper.chord(half);
    MnNote* sharp = chord->addNote(F, 4, 1, false);
    MnNote* plain = upper.note(half, F, 4)->note(0);
    VoiceBuilder lower(bar1(), 1);
    lower.note(quarter, F, 4, -1);
    MnChord* graceChord = lower.grace(eighth);
    MnNote* graceNatural = graceChord->addNote(F, 4, 0, false);
    MnNote* lowerPlain = lower.note(quarter, F, 4)->note(0);
    lower.chord(half);

    // At the same onset the first voice visited wins; later onsets win over
    // earlier ones, grace chords included.
    EXPECT_EQ(lowerPlain->effectiveAccidental(), 0);
    EXPECT_EQ(plain->effectiveAccidental(), 0);
    // A note of the same chord counts, the note itself does not.
    MnNote* second = chord->addNote(F, 4, none, false);
    EXPECT_EQ(second->effectiveAccidental(), 1);
    int key = 0;
    EXPECT_EQ(sharp->accidentalInMeasure(F, 4, key), -1); // from the other voice at 0
    (void)graceNatural;
}

TEST_F(Pitch, SetAlterationWritesOnlyWhatIsNeeded)
{
    struct Row
    {
        const char* name;
        int fifths;
        int earlier; // accidental of an F4 at beat 1, 99 for none
        int alteration;
        int written;
    };
    const Row rows[] = {
        {"sharp in C", 0, 99, 1, 1},
        {"natural in C", 0, 99, 0, none},
        {"sharp given by the key", 1, 99, 1, none},
        {"natural against the key", 1, 99, 0, 0},
        {"flat against the key", 1, 99, -1, -1},
        {"natural after an earlier sharp", 0, 1, 0, 0},
        {"sharp after an earlier sharp", 0, 1, 1, none},
        {"double sharp after an earlier sharp", 0, 1, 2, 2},
        {"natural after an earlier natural", 1, 0, 0, none},
        {"sharp after an earlier natural", 1, 0, 1, 1},
    };
    for (const Row& row : rows) {
        inKey(row.fifths);
        VoiceBuilder voice(bar1(), 0);
        if (row.earlier == 99)
            voice.chord(quarter);
        else
            voice.note(quarter, F, 4, row.earlier);
        MnNote* note = voice.note(quarter, F, 4, -2)->note(0);
        voice.chord(half);
        EXPECT_TRUE(note->setAlteration(row.alteration)) << row.name;
        EXPECT_EQ(note->accidental(), row.written) << row.name;
        EXPECT_EQ(note->effectiveAccidental(), row.alteration) << row.name;
    }
    VoiceBuilder voice(bar1(), 0);
    MnNote* note = voice.note(bar, F, 4, 1)->note(0);
    EXPECT_FALSE(note->setAlteration(3));
    EXPECT_FALSE(note->setAlteration(-3));
    EXPECT_EQ(note->accidental(), 1);
}

TEST_F(Pitch, SpellingKeyIndicesByKey)
{
    struct Row
    {
        const char* name;
        int fifths;
        int key;
        Spelling spelling;
    };
    const Row rows[] = {
        {"37 in one flat is B flat, given by the key", -1, 37, {B, 3, none}},
        {"37 in three flats", -3, 37, {B, 3, none}},
        {"37 in C is A sharp", 0, 37, {A, 3, 1}},
        {"37 in two sharps is A sharp", 2, 37, {A, 3, 1}},
        {"39 is middle C", 0, 39, {C, 4, none}},
        {"39 in one sharp", 1, 39, {C, 4, none}},
        {"40 in D major: C sharp by the key", 2, 40, {C, 4, none}},
        {"38 in one flat is B natural", -1, 38, {B, 3, 0}},
        {"0 is A0", 0, 0, {A, 0, none}},
        {"1 in flats is B flat 0", -2, 1, {B, 0, none}},
        {"2 is B0", 0, 2, {B, 0, none}},
        {"87 is C8", 0, 87, {C, 8, none}},
        {"45 in one flat is G flat", -1, 45, {G, 4, -1}},
        {"45 in one sharp is F sharp, given by the key", 1, 45, {F, 4, none}},
        {"44 in one sharp is F natural", 1, 44, {F, 4, 0}},
        {"44 in C is F", 0, 44, {F, 4, none}},
    };
    for (const Row& row : rows) {
        inKey(row.fifths);
        VoiceBuilder voice(bar1(), 0);
        MnNote* note = voice.note(bar, D, 5, 2)->note(0);
        EXPECT_TRUE(note->setKeyNumber(row.key)) << row.name;
        EXPECT_EQ(spellingOf(note), row.spelling) << row.name;
        EXPECT_EQ(note->keyNumber(), row.key) << row.name;
    }

    VoiceBuilder voice(bar1(), 0);
    MnNote* note = voice.note(bar, D, 5, 2)->note(0);
    EXPECT_FALSE(note->setKeyNumber(88));
    EXPECT_FALSE(note->setKeyNumber(-1));
    EXPECT_EQ(spellingOf(note), (Spelling{D, 5, 2}));
}

// In one flat, F sharp 4 re-spelled as G flat 4: a later unmarked F 4 that
// sounded F sharp gets its sharp, a later unmarked G 4 its natural.
TEST_F(Pitch, RespellingKeepsLaterNotesOfTheMeasure)
{
    inKey(-1);
    VoiceBuilder voice(bar1(), 0);
    MnNote* note = voice.note(quarter, F, 4, 1)->note(0);
    MnNote* laterF = voice.note(quarter, F, 4)->note(0);
    MnNote* laterG = voice.note(quarter, G, 4)->note(0);
    MnNote* lastF = voice.note(quarter, F, 4)->note(0);
    ASSERT_EQ(laterF->keyNumber(), 45);
    ASSERT_EQ(laterG->keyNumber(), 46);

    ASSERT_TRUE(note->setKeyNumber(45));
    EXPECT_EQ(spellingOf(note), (Spelling{G, 4, -1}));
    EXPECT_EQ(note->keyNumber(), 45);
    EXPECT_EQ(spellingOf(laterF), (Spelling{F, 4, 1}));
    EXPECT_EQ(spellingOf(laterG), (Spelling{G, 4, 0}));
    EXPECT_EQ(laterF->keyNumber(), 45);
    EXPECT_EQ(laterG->keyNumber(), 46);
    // Only the first later note of each pitch needs a sign; the rest follow it.
    EXPECT_EQ(lastF->accidental(), none);
    EXPECT_EQ(lastF->keyNumber(), 45);
}

// The same when the later notes stand in the second voice at onsets that the
// first voice does not have: under the first voice's longer notes.
TEST_F(Pitch, RespellingKeepsLaterNotesOfTheOtherVoice)
{
    inKey(-1);
    VoiceBuilder upper(bar1(), 0);
    MnNote* note = upper.note(quarter, F, 4, 1)->note(0);
    upper.note(half, C, 5);
    upper.note(quarter, C, 5);
    VoiceBuilder lower(bar1(), 1);
    lower.note(dottedQuarter, C, 4);
    MnNote* hiddenF = lower.note(eighth, F, 4)->note(0);
    MnNote* hiddenG = lower.note(dottedQuarter, G, 4)->note(0);
    lower.note(eighth, C, 4);
    ASSERT_EQ(hiddenF->keyNumber(), 45);
    ASSERT_EQ(hiddenG->keyNumber(), 46);

    ASSERT_TRUE(note->setKeyNumber(45));
    EXPECT_EQ(spellingOf(note), (Spelling{G, 4, -1}));
    EXPECT_EQ(spellingOf(hiddenF), (Spelling{F, 4, 1}));
    EXPECT_EQ(spellingOf(hiddenG), (Spelling{G, 4, 0}));
    EXPECT_EQ(hiddenF->keyNumber(), 45);
    EXPECT_EQ(hiddenG->keyNumber(), 46);
}

TEST_F(Pitch, AddingNotesByKey)
{
    inKey(-2);
    VoiceBuilder voice(bar1(), 0);
    voice.note(quarter, E, 4, 0);
    MnChord* chord = voice.chord(quarter);
    MnNote* laterE = voice.note(half, E, 4)->note(0);

    // E flat after an earlier E natural needs its flat; the later E keeps
    // sounding natural.
    MnNote* eFlat = chord->addNoteByKey(42, true);
    ASSERT_NE(eFlat, nullptr);
    EXPECT_EQ(spellingOf(eFlat), (Spelling{E, 4, -1}));
    EXPECT_TRUE(eFlat->isTied());
    EXPECT_EQ(spellingOf(laterE), (Spelling{E, 4, 0}));
    EXPECT_EQ(laterE->keyNumber(), 43);

    // The same key again is the same note; another key is a new one.
    EXPECT_EQ(chord->addNoteByKey(42, false), eFlat);
    MnNote* bFlat = chord->addNoteByKey(49, false);
    ASSERT_NE(bFlat, nullptr);
    EXPECT_EQ(spellingOf(bFlat), (Spelling{B, 4, none}));
    EXPECT_EQ(chord->note(1), bFlat);
    EXPECT_EQ(chord->addNoteByKey(88, false), nullptr);
    EXPECT_EQ(chord->noteCount(), 2);
}
