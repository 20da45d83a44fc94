#include "EdCommandFixture.h"
#include "EdInputObserver.h"

#include "commands/EdCommandRows.h"
#include "commands/EdCommandTable.h"
#include "commands/EdNoteInputCommands.h"
#include "model/MnCodes.h"
#include "model/MnStaffDefinition.h"
#include "model/MnTuplet.h"

#include <string>
#include <vector>

namespace {

using C = EdNoteInputCommands;

// C4, D4, E4 and G4 as piano keys.
constexpr int keyC4 = 39;
constexpr int keyD4 = 41;
constexpr int keyE4 = 43;
constexpr int keyG4 = 46;

// A score of one staff of two 4/4 measures (voice 0: quarter chords of
// C4, voice 1: half notes), with the application's observer following the
// selection.
class EdNoteInputCommandsTest : public EdCommandFixture
{
protected:
    void SetUp() override
    {
        EdCommandFixture::SetUp();
        EdCommandTable::clear();
        EdCommandRows::install();
        selection().addObserver(&observer);
        useScore(makeScore(1, 2));
    }

    void useScore(MnScore* made)
    {
        if (score)
            document.removeWork(score), delete score;
        score = addScore(made);
        staff = score->staff(0);
    }

    MnMeasure* measure(int index) { return staff->measure(index); }
    MnChord* chord(int m, int voice, int index) { return measure(m)->voiceChords(voice)[index]; }

    void press(unsigned id) { EdCommandTable::execute(id, EdCommandTable::gather()); }

    EdContext::NoteInput& input() { return context.noteInput(); }

    // The notes of the chord as piano keys, low to high.
    static std::vector<int> keysOf(const MnChord* chord)
    {
        std::vector<int> keys;
        for (int n = 0; chord && n < chord->noteCount(); ++n)
            keys.push_back(chord->note(n)->keyNumber());
        return keys;
    }

    EdInputObserver observer{context};
    MnScore* score = nullptr;
    MnStaff* staff = nullptr;
};

std::string states(const EdCommandInputs& inputs, const std::vector<unsigned>& ids)
{
    std::string out;
    for (unsigned id : ids) {
        const EdCommandState state = EdCommandTable::state(id, inputs);
        out += state.enabled ? (state.checked ? 'C' : 'E') : (state.checked ? '?' : '-');
    }
    return out;
}

}

// E enabled, C enabled and checked, ? greyed and checked, - greyed.
TEST_F(EdNoteInputCommandsTest, statesFollowTheDocumentTheScoreAndTheInput)
{
    // Clear input, the seven values, Dotted, Rest, Second voice.
    const std::vector<unsigned> inputIds = {32812, 32789, 32790, 32791, 32792, 32809,
                                            32810, 32811, 32833, 32813, 32851};
    std::vector<unsigned> scoreIds = {32852, 33082, 33002, 33005, 33008, 33004, 33013, 33014, 33015};
    for (unsigned id = 32901; id <= 32908; ++id)
        scoreIds.push_back(id);
    for (unsigned id = 32917; id <= 32924; ++id)
        scoreIds.push_back(id);
    const std::string allScore(scoreIds.size(), 'E');
    const std::string noScore(scoreIds.size(), '-');

    struct Case
    {
        const char* name;
        bool document, score;
        EdContext::NoteInput input;
        std::string inputStates, scoreStates;
    };
    EdContext::NoteInput chosen;
    chosen.inputDuration = 30240;
    chosen.inputDotted = true;
    chosen.inputRest = true;
    chosen.inputVoice = 1;
    const Case cases[] = {
        {"no document", false, false, {}, "?----------", noScore},
        {"a document without a score", true, false, {}, "CEEEEEEEEEE", noScore},
        {"an eighth, dotted rest input in voice 2", true, true, chosen, "EEEECEEECCC", allScore},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        EdCommandInputs inputs;
        inputs.document = c.document;
        inputs.score = c.score;
        inputs.noteInput = c.input;
        EXPECT_EQ(states(inputs, inputIds), c.inputStates);
        EXPECT_EQ(states(inputs, scoreIds), c.scoreStates);
    }

    // Each value checks its own item only.
    const int values[] = {241920, 120960, 60480, 30240, 15120, 7560, 3780};
    for (int i = 0; i < 7; ++i) {
        EdCommandInputs inputs;
        inputs.document = true;
        inputs.noteInput.inputDuration = values[i];
        std::string expected = "EEEEEEEEEEE";
        expected[size_t(i) + 1] = 'C';
        EXPECT_EQ(states(inputs, inputIds), expected) << values[i];
    }
}

// Key presses with nothing selected change only the input state.
TEST_F(EdNoteInputCommandsTest, valueKeysWithNothingSelectedSetAndClearTheInput)
{
    struct Case
    {
        const char* name;
        std::vector<unsigned> keys;
        int duration;
        bool dotted, rest;
    };
    const Case cases[] = {
        {"F3 chooses a quarter", {32791}, 60480, false, true},
        {"F3 twice clears the input", {32791, 32791}, 0, false, false},
        {"F8 then F1: a whole is never dotted", {32833, 32789}, 241920, false, true},
        {"F4 then F8: a dotted eighth", {32792, 32833}, 30240, true, true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        input() = EdContext::NoteInput();
        input().inputRest = true;
        for (unsigned key : c.keys)
            press(key);
        EXPECT_EQ(input().inputDuration, c.duration);
        EXPECT_EQ(input().inputDotted, c.dotted);
        EXPECT_EQ(input().inputRest, c.rest);
    }
    EXPECT_EQ(steps(), 0);
}

TEST_F(EdNoteInputCommandsTest, dottedWithoutAValueOpensNoTransaction)
{
    // A running tool would be cancelled by any transaction.
    context.view.pendingTool = new EdCommand;
    const int updates = context.allViewsUpdates;
    press(32833);
    EXPECT_TRUE(input().inputDotted);
    EXPECT_EQ(input().inputDuration, 0);
    EXPECT_TRUE(context.view.hasPendingTool());
    EXPECT_EQ(context.allViewsUpdates, updates + 1) << "the cursor's value is drawn again";

    // Clearing the input cancels the tool and redraws every view.
    input().inputDuration = 30240;
    press(32812);
    EXPECT_FALSE(context.view.hasPendingTool());
    EXPECT_EQ(context.view.toolsDiscarded, 1);
    EXPECT_EQ(context.allViewsUpdates, updates + 2);
    EXPECT_EQ(input().inputDuration, 0);
    EXPECT_FALSE(input().inputDotted);
    EXPECT_EQ(steps(), 0);
}

TEST_F(EdNoteInputCommandsTest, aValueReachesTheSelectedChordsOfTheInputVoice)
{
    MnChord* otherVoice = chord(0, 1, 0);
    MnNote* otherVoiceNote = chord(1, 1, 0)->note(0);
    select({otherVoice, otherVoiceNote});
    press(32791);
    EXPECT_EQ(otherVoice->duration(), 120960) << "a chord of the other voice is left";
    EXPECT_EQ(measure(1)->voiceChords(1)[0]->duration(), 60480) << "a note changes its chord, whatever its voice";
    ASSERT_EQ(selection().count(), 1);
    EXPECT_EQ(selection().element(0), otherVoiceNote);
    EXPECT_EQ(steps(), 1);
    EXPECT_EQ(input().inputDuration, 60480);

    // Every chord already of the value: nothing changes, nothing stays selected.
    select({chord(0, 0, 0), chord(0, 0, 1)->note(0)});
    press(32791);
    EXPECT_TRUE(selection().isEmpty());
    EXPECT_EQ(steps(), 1);
    EXPECT_EQ(input().inputDuration, 60480);
}

TEST_F(EdNoteInputCommandsTest, aChangedChordKeepsAllItsSelectedNotes)
{
    useScore(makeScore(1, 1, 3));
    MnChord* first = chord(0, 0, 0);
    select({first->note(0), first->note(1), first->note(2)});
    press(32790);
    EXPECT_EQ(chord(0, 0, 0)->duration(), 120960);
    EXPECT_EQ(selection().count(), 3);
    EXPECT_EQ(steps(), 1);
}

TEST_F(EdNoteInputCommandsTest, graceChordsTakeStandardValuesOnly)
{
    addGraceChords(measure(0), 0, 1, 1);
    MnChord* grace = chord(0, 0, 1);
    ASSERT_TRUE(grace->isGrace());
    restartHistory();

    struct Case
    {
        const char* name;
        int ticks;
        bool dotted;
        int expected;
        int steps;
    };
    const Case cases[] = {
        {"a dotted sixteenth", 15120, true, 22680, 1},
        {"no dotted whole", 241920, true, 22680, 1},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        select({grace});
        C::applyDuration(c.ticks, c.dotted);
        EXPECT_EQ(grace->duration(), c.expected);
        EXPECT_EQ(steps(), c.steps);
    }
    EXPECT_TRUE(selection().contains(grace)) << "a refused change stays selected";
}

TEST_F(EdNoteInputCommandsTest, chordsThatAShorterOneSwallowsAreSkipped)
{
    fillVoice(measure(0), 0, 1, 30240);
    restartHistory();
    const BcArray<MnChord*>& eighths = measure(0)->voiceChords(0);
    MnChord* kept[2] = {eighths[0], eighths[2]};
    select({eighths[0], eighths[1], eighths[2], eighths[3]});
    press(32791);
    const BcArray<MnChord*>& chords = measure(0)->voiceChords(0);
    ASSERT_GE(chords.count(), 2);
    EXPECT_EQ(chords[0], kept[0]);
    EXPECT_EQ(chords[1], kept[1]);
    EXPECT_EQ(chords[0]->duration(), 60480);
    EXPECT_EQ(chords[1]->duration(), 60480);
    EXPECT_EQ(chords[1]->time(), 60480);
    EXPECT_EQ(selection().count(), 2);
    EXPECT_EQ(steps(), 1);
}

TEST_F(EdNoteInputCommandsTest, aSelectedTupletIsSpannedAgainAndKeepsItsNotes)
{
    MnMeasure* m = measure(0);
    ASSERT_TRUE(m->makeTuplet(0, 0, 60480, 3, false));
    ASSERT_NE(m->addNote(0, 20160, 2, 4, 3, 30240, false), nullptr);  // E4
    ASSERT_NE(m->addNote(0, 40320, 4, 4, 3, 30240, false), nullptr);  // G4
    MnTuplet* tuplet = chord(0, 0, 0)->tuplet();
    ASSERT_NE(tuplet, nullptr);
    restartHistory();

    select({tuplet});
    press(32790);
    MnChord* first = m->tupletChordAt(0, 0);
    ASSERT_NE(first, nullptr);
    EXPECT_EQ(first->tuplet()->span(), 120960);
    EXPECT_EQ(first->tuplet()->number(), 3);
    EXPECT_EQ(keysOf(first), std::vector<int>{keyC4});
    const int slot = first->soundingDuration();
    EXPECT_EQ(keysOf(m->mainChordAt(0, slot)), std::vector<int>{keyE4}) << "the second slot";
    EXPECT_EQ(keysOf(m->mainChordAt(0, slot + slot / 2)), std::vector<int>{keyG4});
    EXPECT_EQ(steps(), 1);
    EXPECT_EQ(input().inputDuration, 120960);

    // A span the measure cannot hold: the input state stays as it was.
    MnChord* late = m->tupletChordAt(0, 0);
    ASSERT_NE(m->setNote(0, 120960, 0, 4, 3, 60480, false), nullptr);
    ASSERT_TRUE(m->makeTuplet(0, 120960, 60480, 3, false));
    restartHistory();
    select({m->tupletChordAt(0, 120960)->tuplet()});
    input().inputDuration = 15120;
    C::applyDuration(241920, false);
    EXPECT_EQ(input().inputDuration, 15120);
    EXPECT_EQ(m->tupletChordAt(0, 120960)->tuplet()->span(), 60480);
    EXPECT_EQ(late->tuplet()->span(), 120960);
    EXPECT_EQ(steps(), 0);
}

TEST_F(EdNoteInputCommandsTest, theCursorGoesBackWhereItWas)
{
    EdCursor& cursor = context.view.cursor();
    ASSERT_TRUE(cursor.setAtChord(chord(1, 0, 2), 0, false));
    // The application's observer moves the cursor to the selection.
    struct Mover : EdSelectionObserver
    {
        EdCursor* cursor;
        void selectionChanged() override { cursor->setPosition(0, 0, false); }
    } mover;
    mover.cursor = &cursor;
    selection().addObserver(&mover);
    select({chord(0, 0, 0)->note(0)});
    press(32792);
    EXPECT_EQ(chord(0, 0, 0)->duration(), 30240);
    EXPECT_EQ(cursor.staff(), staff);
    EXPECT_EQ(cursor.time(), 241920 + 2 * 60480);
    EXPECT_EQ(cursor.anchorTime(), 241920 + 2 * 60480);
}

TEST_F(EdNoteInputCommandsTest, enterNoteWritesAtTheCursorAndMovesOn)
{
    EdCursor& cursor = context.view.cursor();
    ASSERT_TRUE(cursor.setAtChord(chord(0, 0, 0), 0, false));
    EXPECT_EQ(C::enterNote(keyE4, false), 60480) << "a quarter without a chosen value";
    EXPECT_EQ(keysOf(chord(0, 0, 0)), std::vector<int>{keyE4});
    EXPECT_EQ(cursor.time(), 60480);
    ASSERT_EQ(selection().count(), 1);
    EXPECT_EQ(selection().element(0), chord(0, 0, 1)->note(0));
    EXPECT_EQ(steps(), 1);

    // Played with it: the key joins the chord just entered.
    EXPECT_EQ(C::enterNote(keyG4, true), 60480);
    EXPECT_EQ(keysOf(chord(0, 0, 0)), (std::vector<int>{keyE4, keyG4}));
    EXPECT_EQ(cursor.time(), 60480);
    EXPECT_EQ(selection().element(0), chord(0, 0, 1)->note(0));
    EXPECT_EQ(steps(), 2);

    // With Shift: into the chord at the cursor, selected besides; the cursor stays.
    context.shift = true;
    C::enterNote(keyD4, false);
    EXPECT_EQ(keysOf(chord(0, 0, 1)), (std::vector<int>{keyC4, keyD4}));
    EXPECT_EQ(selection().count(), 2);
    EXPECT_EQ(cursor.time(), 60480);
    EXPECT_EQ(steps(), 3);
}

TEST_F(EdNoteInputCommandsTest, enterNoteIgnoresTheDotAndRestInput)
{
    input().inputDuration = 30240;
    input().inputDotted = true;
    input().inputRest = true;
    ASSERT_TRUE(context.view.cursor().setAtChord(chord(0, 0, 1), 0, false));
    EXPECT_EQ(C::enterNote(keyD4, false), 30240);
    MnChord* entered = measure(0)->mainChordAt(0, 60480);
    EXPECT_EQ(entered->duration(), 30240);
    EXPECT_EQ(keysOf(entered), std::vector<int>{keyD4});
}

TEST_F(EdNoteInputCommandsTest, enterNoteAtTheLastChordEndsAtTheStaffEnd)
{
    EdCursor& cursor = context.view.cursor();
    MnChord* last = chord(1, 0, 3);
    ASSERT_TRUE(cursor.setAtChord(last, 0, false));
    EXPECT_EQ(C::enterNote(keyD4, false), 0) << "no chord followed: the value stays unchosen";
    EXPECT_EQ(keysOf(chord(1, 0, 3)), std::vector<int>{keyD4});
    EXPECT_EQ(cursor.time(), staff->totalTicks());
    EXPECT_EQ(cursor.graceIndex(), 0);
    EXPECT_TRUE(selection().isEmpty());

    // The rest of a chord played there joins the first key.
    C::enterNote(keyG4, true);
    C::enterNote(keyE4, true);
    EXPECT_EQ(keysOf(chord(1, 0, 3)), (std::vector<int>{keyD4, keyE4, keyG4}));
    EXPECT_EQ(chord(1, 0, 3)->duration(), 60480);
    EXPECT_EQ(cursor.time(), staff->totalTicks());
    EXPECT_EQ(steps(), 3);
}

TEST_F(EdNoteInputCommandsTest, enterNoteReplacesTheNotesOfAGraceChord)
{
    addGraceChords(measure(0), 0, 1, 1);
    MnChord* grace = chord(0, 0, 1);
    grace->addNote(0, 5, 3, false);
    grace->addNote(2, 5, 3, false);
    ASSERT_EQ(grace->noteCount(), 3);
    restartHistory();
    EdCursor& cursor = context.view.cursor();
    ASSERT_TRUE(cursor.setAtChord(grace, 0, false));
    ASSERT_EQ(cursor.graceIndex(), 1);
    C::enterNote(keyD4, false);
    EXPECT_EQ(keysOf(grace), std::vector<int>{keyD4});
    EXPECT_EQ(grace->duration(), 60480);
    EXPECT_EQ(cursor.graceIndex(), 0) << "on to the main chord";
    EXPECT_EQ(steps(), 1);
}

TEST_F(EdNoteInputCommandsTest, restClearsTheSelectedNotesChords)
{
    // Nothing selected: only the flag, and the views show it.
    const int updates = context.allViewsUpdates;
    press(32813);
    EXPECT_TRUE(input().inputRest);
    EXPECT_EQ(context.allViewsUpdates, updates + 1);
    press(32813);
    EXPECT_FALSE(input().inputRest);
    EXPECT_EQ(steps(), 0);

    useScore(makeScore(1, 1, 3));
    MnChord* three = chord(0, 0, 0);
    MnChord* other = chord(0, 0, 1);
    input().inputDuration = 30240;
    input().inputDotted = true;
    // Two notes of one chord: the first clears the other one too.
    select({three->note(0), three->note(2), other->note(1)});
    press(32813);
    EXPECT_TRUE(three->isRest());
    EXPECT_TRUE(other->isRest());
    EXPECT_EQ(selection().count(), 2);
    EXPECT_TRUE(selection().contains(three));
    EXPECT_TRUE(selection().contains(other));
    EXPECT_EQ(input().inputDuration, 30240);
    EXPECT_TRUE(input().inputDotted);
    EXPECT_TRUE(input().inputRest);
    EXPECT_EQ(steps(), 1);

    // A grace note leaves the selection untouched.
    addGraceChords(measure(0), 0, 2, 1);
    restartHistory();
    MnNote* graceNote = chord(0, 0, 2)->note(0);
    select({graceNote});
    press(32813);
    EXPECT_TRUE(selection().isEmpty());
    EXPECT_EQ(chord(0, 0, 2)->noteCount(), 1);
    EXPECT_EQ(steps(), 0);
}

TEST_F(EdNoteInputCommandsTest, secondVoiceMovesTheSelectedNotesToTheOtherVoice)
{
    useScore(makeScore(1, 1, 3));
    fillVoice(measure(0), 1, 0, 241920);
    restartHistory();
    MnChord* first = chord(0, 0, 1);
    select({first->note(0), first->note(1), first->note(2)});
    press(32851);
    EXPECT_EQ(input().inputVoice, 1);
    MnChord* moved = measure(0)->mainChordAt(1, 60480);
    ASSERT_NE(moved, nullptr);
    EXPECT_EQ(moved->duration(), 60480);
    EXPECT_EQ(moved->noteCount(), 3);
    EXPECT_TRUE(chord(0, 0, 1)->isRest());
    EXPECT_EQ(steps(), 1);

    // A chord that starts a tuplet stays; the voice still toggles.
    ASSERT_TRUE(measure(0)->makeTuplet(0, 0, 60480, 3, false));
    restartHistory();
    select({chord(0, 0, 0)->note(0)});
    press(32851);
    EXPECT_EQ(input().inputVoice, 0);
    press(32851);
    EXPECT_EQ(input().inputVoice, 1);
    EXPECT_EQ(chord(0, 0, 0)->noteCount(), 3);
    EXPECT_EQ(steps(), 0);
}

TEST_F(EdNoteInputCommandsTest, secondVoiceSkipsChordsThatTheNewSlotDeletes)
{
    // Voice 1 holds a half note; the quarters of voice 0 it covers merge
    // into one when it moves there, while both are selected.
    input().inputVoice = 1;
    MnChord* q0 = chord(0, 0, 0);
    MnChord* q1 = chord(0, 0, 1);
    MnNote* half = chord(0, 1, 0)->note(0);
    select({q0, q1, half});
    press(32851);
    EXPECT_EQ(input().inputVoice, 0);
    EXPECT_EQ(measure(0)->mainChordAt(0, 0)->duration(), 120960);
    EXPECT_EQ(measure(0)->mainChordAt(0, 60480), nullptr);
    EXPECT_EQ(selection().count(), 1);
    EXPECT_EQ(steps(), 1);
}

TEST_F(EdNoteInputCommandsTest, graceNoteGoesBeforeTheSelectedNoteOrMeasure)
{
    MnNote* note = chord(0, 0, 1)->note(0);
    note->setStep(2);
    note->setAccidental(1);
    select({note});
    press(33082);
    MnChord* grace = chord(0, 0, 1);
    ASSERT_TRUE(grace->isGrace());
    EXPECT_EQ(grace->duration(), 30240);
    ASSERT_EQ(grace->noteCount(), 1);
    EXPECT_EQ(grace->note(0)->step(), 2);
    EXPECT_EQ(grace->note(0)->octave(), 4);
    EXPECT_EQ(grace->note(0)->accidental(), MnAccidentalNone);
    EXPECT_EQ(steps(), 1);

    // A measure opening with a rest under an alto clef: the middle line, C4,
    // at the end of the measure before.
    ASSERT_TRUE(staff->setClef(MnClefAlto));
    ASSERT_TRUE(chord(1, 0, 0)->clearNotes());
    restartHistory();
    select({measure(1)});
    press(33082);
    const BcArray<MnChord*>& before = measure(0)->voiceChords(0);
    MnChord* last = before[before.count() - 1];
    ASSERT_TRUE(last->isGrace());
    EXPECT_EQ(last->note(0)->step(), 0);
    EXPECT_EQ(last->note(0)->octave(), 4);
    EXPECT_EQ(steps(), 1);

    select({measure(0)});
    press(33082);
    EXPECT_EQ(context.hints, std::vector<unsigned>{33082}) << "no measure before the first";
    EXPECT_EQ(steps(), 1);
}

TEST_F(EdNoteInputCommandsTest, tupletMakesATripletOfTheSelectedNote)
{
    useScore(makeScore(1, 1));
    ASSERT_NE(putNote(measure(0), 0, 0, 90720, 0, 4), nullptr);
    restartHistory();
    MnNote* note = chord(0, 0, 0)->note(0);
    select({note});
    press(32852);
    MnChord* first = measure(0)->tupletChordAt(0, 0);
    ASSERT_NE(first, nullptr);
    EXPECT_EQ(first->tuplet()->span(), 90720);
    EXPECT_EQ(first->tuplet()->number(), 3);
    ASSERT_EQ(selection().count(), 2);
    EXPECT_EQ(selection().element(0), note);
    EXPECT_EQ(selection().element(1), first->tuplet());
    EXPECT_EQ(context.selectionObserverRuns, 1);
    EXPECT_EQ(steps(), 1);

    // Already in a tuplet: nothing, and no hint, as a chord was found.
    select({measure(0)->voiceChords(0)[1]});
    press(32852);
    EXPECT_TRUE(context.hints.empty());
    EXPECT_EQ(steps(), 1);

    select({measure(0)});
    press(32852);
    EXPECT_EQ(context.hints, std::vector<unsigned>{32852});
    EXPECT_EQ(steps(), 1);
}
