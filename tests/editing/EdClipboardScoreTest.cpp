#include "EdTestScores.h"

#include "editing/EdClipboard.h"
#include "model/MnCodes.h"
#include "model/MnTuplet.h"

#include <gtest/gtest.h>

#include <memory>

// Copies measures first..last of the staff into the clipboard as a score.
static void copyMeasures(EdClipboard& clipboard, MnStaff* staff, int first, int last)
{
    EdSelection selection;
    for (int m = first; m <= last; ++m)
        selection.add(staff->measure(m));
    ASSERT_TRUE(clipboard.copy(selection));
    ASSERT_EQ(clipboard.cloneCount(), 1);
}

TEST(EdClipboardScore, NotesKeepTheirPlaceOnTheStaffUnderAnotherClef)
{
    std::unique_ptr<MnScore> source(makeScore(1, 1, 0));
    MnStaff* bass = source->staff(0);
    bass->setClef(MnClefBass);
    MnMeasure* measure = bass->measure(0);
    putNote(measure, 0, 0, 60480, 4, 2, MnAccidentalSharp); // G#2 on the bottom line
    measure->addNote(0, 0, 6, 2, MnAccidentalNone, 60480, false);
    putNote(measure, 0, 60480, 60480, 0, 3);
    measure->voiceChords(0)[0]->setStemDirection(1);
    EdClipboard clipboard;
    copyMeasures(clipboard, bass, 0, 0);

    std::unique_ptr<MnScore> target(makeScore(1, 2, 1));
    ASSERT_TRUE(clipboard.paste(target->staff(0), 241920, nullptr));
    MnMeasure* into = target->staff(0)->measure(1);
    const MnChord* first = chordAt(into, 0, 0);
    ASSERT_EQ(first->noteCount(), 2);
    EXPECT_EQ(first->note(0)->step(), 2) << "E4 on the bottom line";
    EXPECT_EQ(first->note(0)->octave(), 4);
    EXPECT_EQ(first->note(0)->accidental(), MnAccidentalSharp) << "the written accidental comes along";
    EXPECT_EQ(first->note(1)->step(), 4);
    EXPECT_EQ(first->note(1)->octave(), 4);
    EXPECT_EQ(first->stemSetting(), 1);
    const MnChord* second = chordAt(into, 0, 60480);
    EXPECT_EQ(second->stemSetting(), 0) << "an automatic stem stays automatic";
    EXPECT_EQ(second->note(0)->step(), 5);
    EXPECT_EQ(second->note(0)->octave(), 4);
    EXPECT_TRUE(chordAt(into, 0, 120960)->isRest());
    EXPECT_TRUE(chordAt(target->staff(0)->measure(0), 0, 0)->note(0)->step() == 0) << "the measure before stays";
}

TEST(EdClipboardScore, APastePointInsideATupletIsRefused)
{
    std::unique_ptr<MnScore> source(makeScore(1, 1));
    EdClipboard clipboard;
    copyMeasures(clipboard, source->staff(0), 0, 0);

    std::unique_ptr<MnScore> target(makeScore(1, 1, 0));
    MnMeasure* into = target->staff(0)->measure(0);
    ASSERT_TRUE(into->makeTuplet(0, 0, 60480, 3, false));
    EXPECT_FALSE(clipboard.pasteScore(target->staff(0), 20160));
    EXPECT_FALSE(clipboard.paste(target->staff(0), 20160, nullptr)) << "no records to fall back on";
    EXPECT_NE(chordAt(into, 0, 0)->tuplet(), nullptr);
    EXPECT_TRUE(chordAt(into, 0, 20160)->isRest());
    EXPECT_TRUE(clipboard.pasteScore(target->staff(0), 0)) << "the tuplet's start is a bar of its own";
}

TEST(EdClipboardScore, RestsKeepTheirLookAndAnEmptySecondVoiceStaysOut)
{
    std::unique_ptr<MnScore> source(makeScore(1, 1, 0));
    MnMeasure* measure = source->staff(0)->measure(0);
    measure->voiceChords(0)[0]->setHidden(true);
    measure->voiceChords(0)[1]->setRestPosition(8);
    measure->voiceChords(0)[2]->setRestPosition(-6);
    BcArray<MnChord*>& second = measure->voiceChords(1);
    for (int i = second.count() - 1; i >= 1; --i) {
        delete second[i];
        second.removeAt(i);
    }
    second[0]->setDuration(241920);
    second[0]->clearNotes();
    EdClipboard clipboard;
    copyMeasures(clipboard, source->staff(0), 0, 0);

    std::unique_ptr<MnScore> target(makeScore(1, 1, 1));
    ASSERT_TRUE(clipboard.pasteScore(target->staff(0), 0));
    MnMeasure* into = target->staff(0)->measure(0);
    EXPECT_TRUE(chordAt(into, 0, 0)->isHidden());
    EXPECT_FALSE(chordAt(into, 0, 60480)->isHidden());
    EXPECT_EQ(chordAt(into, 0, 60480)->restPosition(), -4) << "8 lies outside -14..6";
    EXPECT_EQ(chordAt(into, 0, 120960)->restPosition(), -6);
    EXPECT_EQ(into->voiceChords(1).count(), 2);
    EXPECT_FALSE(chordAt(into, 1, 0)->isRest()) << "voice 1 of the target stays";
}

TEST(EdClipboardScore, GraceNotesBeforeABarLineReplaceThoseOfTheTarget)
{
    std::unique_ptr<MnScore> source(makeScore(1, 2));
    MnStaff* staff = source->staff(0);
    ASSERT_NE(staff->measure(0)->addGraceNote(staff->measure(1)->voiceChords(0)[0], 3, 5, MnAccidentalFlat, 15120),
              nullptr);
    EdClipboard clipboard;
    copyMeasures(clipboard, staff, 0, 1);

    std::unique_ptr<MnScore> target(makeScore(1, 2));
    MnStaff* into = target->staff(0);
    MnMeasure* before = into->measure(0);
    ASSERT_NE(before->addGraceNote(into->measure(1)->voiceChords(0)[0], 1, 5, 3, 7560), nullptr);
    ASSERT_NE(before->addGraceNote(before->voiceChords(0)[4], 2, 5, 3, 7560), nullptr);
    ASSERT_TRUE(clipboard.pasteScore(into, 0));
    const BcArray<MnChord*>& chords = before->voiceChords(0);
    ASSERT_EQ(chords.count(), 5);
    const MnChord* grace = chords[4];
    ASSERT_TRUE(grace->isGrace());
    EXPECT_EQ(grace->time(), before->length());
    EXPECT_EQ(grace->note(0)->step(), 3);
    EXPECT_EQ(grace->note(0)->accidental(), MnAccidentalFlat);
    EXPECT_EQ(grace->duration(), 15120);
    EXPECT_FALSE(into->measure(1)->voiceChords(0)[0]->isGrace());
}

TEST(EdClipboardScore, TwoStavesAtTheLastStaffPasteTheFirstOnly)
{
    std::unique_ptr<MnScore> source(makeScore(2, 1, 2));
    EdSelection selection;
    selection.add(source->staff(0));
    selection.add(source->staff(1));
    EdClipboard clipboard;
    ASSERT_TRUE(clipboard.copy(selection));

    std::unique_ptr<MnScore> target(makeScore(2, 2, 0));
    ASSERT_TRUE(clipboard.paste(target->staff(1), 120960, nullptr));
    EXPECT_EQ(chordAt(target->staff(1)->measure(0), 0, 120960)->noteCount(), 2);
    EXPECT_EQ(chordAt(target->staff(1)->measure(1), 0, 60480)->noteCount(), 2);
    EXPECT_TRUE(chordAt(target->staff(0)->measure(0), 0, 120960)->isRest());
}
