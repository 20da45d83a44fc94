#include "EdTestScores.h"

#include "editing/EdClipboard.h"
#include "model/MnCodes.h"
#include "model/MnTuplet.h"

#include <gtest/gtest.h>

#include <memory>

// The onsets and written values of a voice's non-grace chords, with the
// first note's key (-1 for a rest).
struct Slot
{
    int time;
    int duration;
    int key;
};

static void expectVoice(MnMeasure* measure, int voice, std::initializer_list<Slot> slots)
{
    BcArray<MnChord*> chords;
    for (int i = 0; i < measure->voiceChords(voice).count(); ++i) {
        if (!measure->voiceChords(voice)[i]->isGrace())
            chords.add(measure->voiceChords(voice)[i]);
    }
    ASSERT_EQ(chords.count(), int(slots.size()));
    int i = 0;
    for (const Slot& slot : slots) {
        const MnChord* chord = chords[i++];
        EXPECT_EQ(chord->time(), slot.time) << i;
        EXPECT_EQ(chord->duration(), slot.duration) << i;
        EXPECT_EQ(chord->isRest() ? -1 : chord->note(0)->keyNumber(), slot.key) << i;
    }
}

// Key numbers of C4, D4 ... (no accidentals, C major).
static const int C4 = 39;
static const int D4 = 41;
static const int E4 = 43;
static const int F4 = 44;
static const int G4 = 46;

TEST(EdClipboardPaste, AnEmptyClipboardPastesNothing)
{
    std::unique_ptr<MnScore> score(makeScore(1, 1));
    EdClipboard clipboard;
    EXPECT_FALSE(clipboard.paste(score->staff(0), 0, nullptr));
    EXPECT_FALSE(clipboard.paste(nullptr, 0, nullptr));
}

TEST(EdClipboardPaste, RecordsOfOneChordMakeOneChord)
{
    std::unique_ptr<MnScore> source(makeScore(1, 1, 3));
    EdSelection selection;
    MnChord* chord = source->staff(0)->measure(0)->voiceChords(0)[0];
    for (int n = 0; n < 3; ++n)
        selection.add(chord->note(n));
    EdClipboard clipboard;
    ASSERT_TRUE(clipboard.copy(selection));

    std::unique_ptr<MnScore> target(makeScore(1, 1, 0));
    EdSelection pasted;
    ASSERT_TRUE(clipboard.paste(target->staff(0), 60480, &pasted));
    const MnChord* made = chordAt(target->staff(0)->measure(0), 0, 60480);
    ASSERT_NE(made, nullptr);
    ASSERT_EQ(made->noteCount(), 3);
    EXPECT_EQ(made->note(0)->keyNumber(), C4);
    EXPECT_EQ(made->note(2)->keyNumber(), G4);
    EXPECT_EQ(pasted.count(), 3);
}

TEST(EdClipboardPaste, AnotherVoiceBetweenRecordsStopsTheLookBack)
{
    std::unique_ptr<MnScore> source(makeScore(1, 1, 0));
    MnMeasure* measure = source->staff(0)->measure(0);
    MnNote* low = putNote(measure, 0, 0, 60480, 0, 4);
    MnNote* high = measure->addNote(0, 0, 4, 4, 3, 60480, false);
    MnNote* other = putNote(measure, 1, 0, 120960, 2, 4);
    EdSelection selection;
    selection.add(low);
    selection.add(other);
    selection.add(high);
    EdClipboard clipboard;
    ASSERT_TRUE(clipboard.copy(selection));

    std::unique_ptr<MnScore> target(makeScore(1, 1, 0));
    ASSERT_TRUE(clipboard.paste(target->staff(0), 0, nullptr));
    MnMeasure* into = target->staff(0)->measure(0);
    const MnChord* first = chordAt(into, 0, 0);
    ASSERT_EQ(first->noteCount(), 1) << "the voice-0 record after voice 1 replaced the slot";
    EXPECT_EQ(first->note(0)->keyNumber(), G4);
    EXPECT_EQ(chordAt(into, 1, 0)->note(0)->keyNumber(), E4);
}

TEST(EdClipboardPaste, ARestRecordReplacesItsSlot)
{
    std::unique_ptr<MnScore> source(makeScore(1, 1));
    EdSelection selection;
    selection.add(source->staff(0)->measure(0)->voiceChords(0)[1]);
    EdClipboard clipboard;
    ASSERT_TRUE(clipboard.copy(selection));

    std::unique_ptr<MnScore> target(makeScore(1, 1, 0));
    MnMeasure* into = target->staff(0)->measure(0);
    putNote(into, 0, 0, 120960, 1, 4);
    EdSelection pasted;
    ASSERT_TRUE(clipboard.paste(target->staff(0), 0, &pasted));
    expectVoice(into, 0, {{0, 60480, -1}, {60480, 60480, -1}, {120960, 60480, -1}, {181440, 60480, -1}});
    EXPECT_EQ(pasted.count(), 1);
}

TEST(EdClipboardPaste, ACopiedTripletIsMadeAgain)
{
    std::unique_ptr<MnScore> source(makeScore(1, 1, 0));
    MnMeasure* measure = source->staff(0)->measure(0);
    ASSERT_TRUE(measure->makeTuplet(0, 0, 60480, 3, false));
    EdSelection selection;
    int step = 0;
    for (int time : {0, 20160, 40320})
        selection.add(putNote(measure, 0, time, 30240, step++, 4));
    EdClipboard clipboard;
    ASSERT_TRUE(clipboard.copy(selection));

    std::unique_ptr<MnScore> target(makeScore(1, 1, 0));
    MnMeasure* into = target->staff(0)->measure(0);
    EdSelection pasted;
    ASSERT_TRUE(clipboard.paste(target->staff(0), 120960, &pasted));
    expectVoice(into, 0,
                {{0, 60480, -1},
                 {60480, 60480, -1},
                 {120960, 30240, C4},
                 {141120, 30240, D4},
                 {161280, 30240, E4},
                 {181440, 60480, -1}});
    const MnChord* first = chordAt(into, 0, 120960);
    ASSERT_NE(first->tuplet(), nullptr);
    EXPECT_EQ(first->tuplet()->span(), 60480);
    EXPECT_EQ(first->actual(), 3);
    EXPECT_EQ(first->normal(), 2);
    EXPECT_EQ(pasted.count(), 4) << "the tuplet and its three notes";
}

TEST(EdClipboardPaste, NotesPastedIntoATripletAreSqueezedAndTheRestMoveUp)
{
    std::unique_ptr<MnScore> source(makeScore(1, 1, 0));
    MnMeasure* measure = source->staff(0)->measure(0);
    EdSelection selection;
    int step = 0;
    for (int time : {0, 30240, 60480, 90720})
        selection.add(putNote(measure, 0, time, 30240, step++, 4));
    EdClipboard clipboard;
    ASSERT_TRUE(clipboard.copy(selection));

    std::unique_ptr<MnScore> target(makeScore(1, 1, 0));
    MnMeasure* into = target->staff(0)->measure(0);
    ASSERT_TRUE(into->makeTuplet(0, 0, 60480, 3, false));
    putNote(into, 0, 0, 30240, 4, 5);
    ASSERT_TRUE(clipboard.paste(target->staff(0), 20160, nullptr));
    // The paste point is 20160 into the triplet, so the squeeze saves
    // (60480 - 20160) x 3 / 2 - (60480 - 20160) = 20160 for what follows.
    expectVoice(into, 0,
                {{0, 30240, 58},
                 {20160, 30240, C4},
                 {40320, 30240, D4},
                 {60480, 30240, E4},
                 {90720, 30240, F4},
                 {120960, 60480, -1},
                 {181440, 60480, -1}});
}

TEST(EdClipboardPaste, RecordsPastTheLastMeasureOrStaffAreDropped)
{
    std::unique_ptr<MnScore> source(makeScore(2, 2, 1));
    putNote(source->staff(0)->measure(0), 0, 0, 120960, 2, 4);
    EdSelection selection;
    for (int s = 0; s < 2; ++s) {
        for (int m = 0; m < 2; ++m)
            selection.add(source->staff(s)->measure(m)->voiceChords(0)[0]->note(0));
    }
    EdClipboard clipboard;
    ASSERT_TRUE(clipboard.copy(selection));

    std::unique_ptr<MnScore> target(makeScore(2, 2, 0));
    ASSERT_TRUE(clipboard.paste(target->staff(1), 241920 + 181440, nullptr));
    // The half note pasted on the staff's last quarter is cut at its end.
    MnMeasure* last = target->staff(1)->measure(1);
    expectVoice(last, 0, {{0, 60480, -1}, {60480, 60480, -1}, {120960, 60480, -1}, {181440, 60480, E4}});
    for (int m = 0; m < 2; ++m) {
        const BcArray<MnChord*>& chords = target->staff(0)->measure(m)->voiceChords(0);
        for (int i = 0; i < chords.count(); ++i)
            EXPECT_TRUE(chords[i]->isRest()) << "line 1 has no staff";
    }
}

TEST(EdClipboardPaste, GraceRecordsGoBeforeTheirChordInOrder)
{
    std::unique_ptr<MnScore> source(makeScore(1, 1, 1));
    MnMeasure* measure = source->staff(0)->measure(0);
    MnChord* main = measure->voiceChords(0)[1];
    ASSERT_NE(measure->addGraceNote(main, 1, 5, 3, 15120), nullptr);
    ASSERT_NE(measure->addGraceNote(main, 3, 5, 3, 7560), nullptr);
    EdSelection selection;
    for (int i = 1; i <= 3; ++i)
        selection.add(measure->voiceChords(0)[i]->note(0));
    EdClipboard clipboard;
    ASSERT_TRUE(clipboard.copy(selection));

    std::unique_ptr<MnScore> target(makeScore(1, 1, 0));
    ASSERT_TRUE(clipboard.paste(target->staff(0), 120960, nullptr));
    const BcArray<MnChord*>& chords = target->staff(0)->measure(0)->voiceChords(0);
    int index = chords.indexOf(chordAt(target->staff(0)->measure(0), 0, 120960));
    ASSERT_GE(index, 2);
    EXPECT_TRUE(chords[index - 1]->isGrace());
    EXPECT_TRUE(chords[index - 2]->isGrace());
    EXPECT_EQ(chords[index - 2]->note(0)->step(), 1) << "the earlier grace chord first";
    EXPECT_EQ(chords[index - 2]->duration(), 15120);
    EXPECT_EQ(chords[index - 1]->note(0)->step(), 3);
    EXPECT_EQ(chords[index - 1]->duration(), 7560);
    EXPECT_EQ(chords[index]->note(0)->keyNumber(), C4);
}

TEST(EdClipboardPaste, RestoringWritingKeepsSpellingPitchAndChordSettings)
{
    std::unique_ptr<MnScore> source(makeScore(1, 1, 0));
    MnMeasure* measure = source->staff(0)->measure(0);
    // E sharp, then an E that sounds sharp through the first one's accidental.
    MnNote* sharp = putNote(measure, 0, 0, 60480, 2, 4, MnAccidentalSharp);
    MnNote* carried = putNote(measure, 0, 60480, 60480, 2, 4);
    sharp->setTiePlacement(-1);
    MnChord* chord = carried->chord();
    chord->setStemDirection(-1);
    chord->setArticulation(MnArticulationAccent, true);
    EdSelection selection;
    selection.add(carried);
    selection.add(sharp);
    EdClipboard clipboard;
    clipboard.setRestoresWriting(true);
    ASSERT_TRUE(clipboard.copy(selection));

    std::unique_ptr<MnScore> target(makeScore(1, 2, 0));
    ASSERT_TRUE(clipboard.paste(target->staff(0), 181440, nullptr));
    const MnNote* first = chordAt(target->staff(0)->measure(0), 0, 181440)->note(0);
    EXPECT_EQ(first->step(), 2) << "E sharp, not F";
    EXPECT_EQ(first->accidental(), MnAccidentalSharp);
    EXPECT_EQ(first->tiePlacement(), -1);
    const MnChord* second = chordAt(target->staff(0)->measure(1), 0, 0);
    EXPECT_EQ(second->note(0)->step(), 2);
    EXPECT_EQ(second->note(0)->keyNumber(), F4) << "across the bar line the sharp is written";
    EXPECT_EQ(second->stemSetting(), -1);
    EXPECT_EQ(first->chord()->stemSetting(), 0) << "an automatic stem stays automatic";
    EXPECT_TRUE(second->hasArticulation(MnArticulationAccent));
}

TEST(EdClipboardPaste, NotesFromTheMiddleOfATupletKeepTheirDistances)
{
    std::unique_ptr<MnScore> source(makeScore(1, 1, 0));
    MnMeasure* measure = source->staff(0)->measure(0);
    ASSERT_TRUE(measure->makeTuplet(0, 0, 60480, 3, false));
    EdSelection selection;
    int step = 0;
    for (int time : {0, 20160, 40320}) {
        MnNote* note = putNote(measure, 0, time, 30240, step++, 4);
        if (time > 0)
            selection.add(note);
    }
    EdClipboard clipboard;
    ASSERT_TRUE(clipboard.copy(selection));

    // Outside a tuplet the two eighths stand an eighth apart, from the
    // paste point on.
    std::unique_ptr<MnScore> target(makeScore(1, 1, 0));
    MnMeasure* into = target->staff(0)->measure(0);
    ASSERT_TRUE(clipboard.paste(target->staff(0), 60480, nullptr));
    expectVoice(into, 0,
                {{0, 60480, -1}, {60480, 30240, D4}, {90720, 30240, E4}, {120960, 60480, -1}, {181440, 60480, -1}});
}
