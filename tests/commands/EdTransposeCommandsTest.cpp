#include "EdCommandFixture.h"

#include "commands/EdCommandRows.h"
#include "commands/EdCommandTable.h"
#include "commands/EdIntervalCommands.h"
#include "commands/EdTransposeCommands.h"
#include "model/MnStaffChange.h"

#include <string>
#include <vector>

namespace {

using T = EdTransposeCommands;

// A written pitch: step (0 C .. 6 B), octave and accidental (3 none).
struct Pitch
{
    int step, octave, accidental;
};

bool operator==(const Pitch& a, const Pitch& b)
{
    return a.step == b.step && a.octave == b.octave && a.accidental == b.accidental;
}

std::ostream& operator<<(std::ostream& out, const Pitch& p)
{
    return out << "step " << p.step << " octave " << p.octave << " accidental " << p.accidental;
}

Pitch pitchOf(const MnNote* note)
{
    return Pitch{note->step(), note->octave(), note->accidental()};
}

// One staff of two 4/4 measures: voice 0 quarter chords of C4, voice 1
// half notes of C4.
class EdTransposeCommandsTest : public EdCommandFixture
{
protected:
    void SetUp() override
    {
        EdCommandFixture::SetUp();
        EdCommandTable::clear();
        EdCommandRows::install();
        score = addScore(makeScore(1, 2));
        staff = score->staff(0);
    }

    MnChord* chord(int m, int voice, int index) { return staff->measure(m)->voiceChords(voice)[index]; }

    // The first chord's note, set to the pitch, and the history restarted.
    MnNote* noteAt(const Pitch& p)
    {
        MnNote* note = chord(0, 0, 0)->note(0);
        EXPECT_TRUE(note->setOctave(p.octave));
        EXPECT_TRUE(note->setStep(p.step));
        EXPECT_TRUE(note->setAccidental(p.accidental));
        restartHistory();
        return note;
    }

    void press(unsigned id) { EdCommandTable::execute(id, EdCommandTable::gather()); }

    // Confirms the dialog with the choice.
    void answer(int mode, int entry, int direction, bool keys = true, bool doubles = true)
    {
        context.confirmDialogs = true;
        context.transposeAnswer = EdContext::TransposeChoice();
        context.transposeAnswer.mode = mode;
        context.transposeAnswer.keyEntry = mode == 0 ? entry : 0;
        context.transposeAnswer.intervalEntry = mode == 1 ? entry : 0;
        context.transposeAnswer.semitones = mode == 2 ? entry : 1;
        context.transposeAnswer.direction = direction;
        context.transposeAnswer.changeKeySignatures = keys;
        context.transposeAnswer.useDoubleAccidentals = doubles;
    }

    MnScore* score = nullptr;
    MnStaff* staff = nullptr;
};

}

TEST_F(EdTransposeCommandsTest, intervalsAddANoteToTheChordWithinThePiano)
{
    struct Case
    {
        const char* name;
        Pitch from;
        int interval;
        bool made;
        Pitch to;
    };
    const Case cases[] = {
        {"third above C4: no written accidental", {0, 4, 3}, 3, true, {2, 4, 3}},
        {"octave above F#4 keeps the sharp", {3, 4, 1}, 8, true, {3, 5, 1}},
        {"second below C4", {0, 4, 3}, -2, true, {6, 3, 3}},
        {"ninth above B6 reaches C8", {6, 6, 3}, 9, true, {0, 8, 3}},
        {"ninth above C7 would be D8", {0, 7, 3}, 9, false, {}},
        {"octave below A0", {5, 0, 3}, -8, false, {}},
        {"fifth below C1 would be F0", {0, 1, 3}, -5, false, {}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        MnNote* note = noteAt(c.from);
        select({note});
        EdIntervalCommands::addIntervalNote(c.interval);
        MnChord* target = chord(0, 0, 0);
        ASSERT_EQ(target->noteCount(), c.made ? 2 : 1);
        EXPECT_EQ(steps(), c.made ? 1 : 0);
        ASSERT_EQ(selection().count(), 1) << "the new note is not selected";
        if (!c.made)
            continue;
        MnNote* made = target->note(0) == note ? target->note(1) : target->note(0);
        EXPECT_EQ(pitchOf(made), c.to);
        target->removeChild(made);
    }
}

TEST_F(EdTransposeCommandsTest, anIntervalAlreadyInTheChordIsStillAStep)
{
    MnChord* target = chord(0, 0, 0);
    target->addNote(2, 4, 3, false);
    restartHistory();
    select({target->note(0)});
    press(32902);
    EXPECT_EQ(target->noteCount(), 2);
    EXPECT_EQ(steps(), 1);

    // Only a rest or a measure: every one of the sixteen shows the hint.
    chord(0, 0, 1)->clearNotes();
    std::vector<unsigned> ids;
    for (unsigned id = 32901; id <= 32908; ++id)
        ids.push_back(id);
    for (unsigned id = 32917; id <= 32924; ++id)
        ids.push_back(id);
    for (unsigned id : ids) {
        select({id % 2 ? static_cast<MnElement*>(chord(0, 0, 1)) : staff->measure(0)});
        press(id);
    }
    EXPECT_EQ(context.hints, std::vector<unsigned>(16, 32908));
    EXPECT_EQ(steps(), 1);
}

TEST_F(EdTransposeCommandsTest, pitchCommandsStopAtTheEndsOfThePiano)
{
    struct Case
    {
        const char* name;
        unsigned id;
        Pitch from;
        Pitch to;
    };
    const Case cases[] = {
        {"staff position up from Bb4", 33002, {6, 4, -1}, {0, 5, 3}},
        {"staff position up on C8", 33002, {0, 8, 3}, {0, 8, 3}},
        {"staff position down from C4", 33005, {0, 4, 1}, {6, 3, 3}},
        {"staff position down on A0", 33005, {5, 0, 3}, {5, 0, 3}},
        {"semitone up on C8", 33008, {0, 8, 3}, {0, 8, 3}},
        {"semitone down from C4", 33004, {0, 4, 3}, {6, 3, 3}},
        {"octave up on D7 stops at C8", 33013, {1, 7, 3}, {0, 8, 3}},
        {"octave up on C7 by the octave", 33013, {0, 7, 3}, {0, 8, 3}},
        {"octave down on G1 stops at A0", 33014, {4, 1, 3}, {5, 0, 3}},
        {"octave down on A1 by the octave", 33014, {5, 1, 3}, {5, 0, 3}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        MnNote* note = noteAt(c.from);
        select({note});
        press(c.id);
        EXPECT_EQ(pitchOf(note), c.to);
        EXPECT_EQ(steps(), c.from == c.to ? 0 : 1);
    }
}

TEST_F(EdTransposeCommandsTest, staffPositionMovesRestsOnlyWithoutNotes)
{
    MnChord* rest = chord(0, 0, 1);
    rest->clearNotes();
    ASSERT_TRUE(rest->setRestPosition(4));
    restartHistory();
    select({rest});
    press(33002);
    EXPECT_EQ(rest->restPosition(), 6);
    press(33002);
    EXPECT_EQ(rest->restPosition(), 6) << "8 is past the top";
    EXPECT_EQ(steps(), 1);

    MnNote* note = chord(0, 0, 0)->note(0);
    select({rest, note});
    press(33005);
    EXPECT_EQ(rest->restPosition(), 6);
    EXPECT_EQ(pitchOf(note), (Pitch{6, 3, 3}));
}

TEST_F(EdTransposeCommandsTest, pitchesMoveByLetterAndAlteration)
{
    struct Case
    {
        const char* name;
        Pitch from;  // the accidental field holds the alteration
        int semitones, steps;
        bool doubles;
        Pitch to;
    };
    const Case cases[] = {
        {"major second up", {0, 4, 0}, 2, 1, true, {1, 4, 0}},
        {"major seventh up", {0, 4, 0}, 11, 6, true, {6, 4, 0}},
        {"minor second down across the octave", {0, 4, 0}, -1, -1, true, {6, 3, 0}},
        {"augmented unison on F#: F double sharp", {3, 4, 1}, 1, 0, true, {3, 4, 2}},
        {"without double sharps: G", {3, 4, 1}, 1, 0, false, {4, 4, 0}},
        {"without double flats: Gbb is F", {4, 4, -1}, -1, 0, false, {3, 4, 0}},
        {"minor third down from C5", {0, 5, 0}, -3, -2, true, {5, 4, 0}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        int octave = c.from.octave, step = c.from.step, alteration = c.from.accidental;
        ASSERT_TRUE(T::transposePitch(octave, step, alteration, c.semitones, c.steps, c.doubles));
        EXPECT_EQ((Pitch{step, octave, alteration}), c.to);
    }
}

TEST_F(EdTransposeCommandsTest, collectedNotesComeSortedByTime)
{
    // Voice 0's note at 0 is collected before voice 1's: at equal times the
    // later one comes first.
    MnMeasure* measure = staff->measure(0);
    select({measure});
    T::NoteList list;
    T::collectTransposedNotes(measure, score, list);
    T::collectTransposedNotes(chord(0, 0, 0)->note(0), score, list);
    const BcArray<MnNote*>& notes = list.notes();
    ASSERT_EQ(notes.count(), 6);
    EXPECT_EQ(notes[0], chord(0, 1, 0)->note(0));
    EXPECT_EQ(notes[1], chord(0, 0, 0)->note(0));
    for (int i = 1; i < notes.count(); ++i)
        EXPECT_LE(T::staffTimeOf(notes[i - 1]), T::staffTimeOf(notes[i]));
}

// Each row transposes the staff (its first note set to a pitch, the other
// notes C4) by the dialog's answer; the note is checked by its letter,
// octave and the key it sounds.
TEST_F(EdTransposeCommandsTest, transposeKeyIntervalMovesNotesAndKeys)
{
    struct Case
    {
        const char* name;
        int mode, entry, direction;
        int startKey;
        Pitch first;
        int step, octave, soundingKey;
        int key;
        int steps;
    };
    const Case cases[] = {
        {"C to D major upward", 0, 7 + 2, 0, 0, {0, 4, 3}, 1, 4, 41, 2, 1},
        {"C to A major the nearer way: down", 0, 7 + 3, 2, 0, {0, 4, 3}, 5, 3, 36, 3, 1},
        {"C to B major upward: a major seventh", 0, 7 + 5, 0, 0, {0, 4, 3}, 6, 4, 50, 5, 1},
        {"C to B major the nearer way: a second down", 0, 7 + 5, 2, 0, {0, 4, 3}, 6, 3, 38, 5, 1},
        {"B to Cb major: the same tonic", 0, 0, 0, 5, {0, 4, 3}, 0, 4, 40, 5, 0},
        {"a major third down", 1, 7, 1, 0, {2, 4, 3}, 0, 4, 39, -4, 1},
        {"12 semitones: an octave, the key kept", 2, 12, 0, 0, {0, 4, 3}, 0, 5, 51, 0, 1},
        {"-14 semitones: an octave and a second down", 2, -14, 0, 0, {0, 5, 3}, 6, 3, 37, -2, 1},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        ASSERT_TRUE(staff->setKey(c.startKey));
        MnNote* note = noteAt(c.first);
        select({staff});
        answer(c.mode, c.entry, c.direction);
        press(33015);
        EXPECT_EQ(note->step(), c.step);
        EXPECT_EQ(note->octave(), c.octave);
        EXPECT_EQ(note->keyNumber(), c.soundingKey);
        EXPECT_EQ(staff->key(), c.key);
        EXPECT_EQ(steps(), c.steps);
        EXPECT_EQ(selection().count(), 1) << "the selection stays";
    }
}

TEST_F(EdTransposeCommandsTest, aStaffTransposesUpToItsFirstChange)
{
    const int second = staff->measure(1)->startTime();
    ASSERT_TRUE(staff->insertStaffChange(second));
    MnStaffChange* change = staff->change(0);
    select({staff});
    answer(0, 7 + 2, 0);
    press(33015);
    EXPECT_EQ(chord(0, 0, 3)->note(0)->keyNumber(), 41);
    EXPECT_EQ(chord(1, 0, 0)->note(0)->keyNumber(), 39) << "after the change";
    EXPECT_EQ(staff->key(), 2);
    EXPECT_EQ(change->key(), 0);

    select({change});
    press(33015);
    EXPECT_EQ(chord(1, 0, 0)->note(0)->keyNumber(), 41);
    EXPECT_EQ(change->key(), 2);
    EXPECT_EQ(steps(), 2);
}

TEST_F(EdTransposeCommandsTest, aNoteThatWouldLeaveThePianoStays)
{
    MnNote* high = noteAt({6, 7, 3});  // B7
    MnNote* low = chord(0, 0, 1)->note(0);
    select({high, low});
    answer(1, 3, 0);  // a major second up
    press(33015);
    EXPECT_EQ(pitchOf(high), (Pitch{6, 7, 3}));
    EXPECT_EQ(low->keyNumber(), 41);
    EXPECT_EQ(staff->key(), 2);
    EXPECT_EQ(steps(), 1);
}

TEST_F(EdTransposeCommandsTest, nothingSelectedTransposesEveryNoteOnlyWhenConfirmed)
{
    const int notes = 2 * (4 + 2);
    select({});
    press(33015);
    EXPECT_TRUE(selection().isEmpty()) << "cancelled";
    EXPECT_EQ(chord(0, 0, 0)->note(0)->keyNumber(), 39);
    EXPECT_EQ(steps(), 0);

    answer(0, 7 + 2, 0);
    press(33015);
    EXPECT_EQ(selection().count(), notes);
    EXPECT_EQ(selection().countOfClass(MnNote::staticClass()), notes);
    EXPECT_EQ(chord(1, 1, 1)->note(0)->keyNumber(), 41);
    EXPECT_EQ(steps(), 1);
    EXPECT_TRUE(context.hints.empty());

    // A document without a score has nothing to select.
    ASSERT_TRUE(document.removeWork(score));
    delete score;
    restartHistory();
    select({});
    press(33015);
    EXPECT_TRUE(context.hints.empty()) << "the command is greyed without a score";
    EdTransposeCommands::cmdTransposeKeyInterval();
    EXPECT_EQ(context.hints, std::vector<unsigned>{33015});
    EXPECT_EQ(steps(), 0);
}
