#include "EdTestScores.h"

#include "editing/EdClipboard.h"
#include "foundation/BcClass.h"
#include "model/MnCodes.h"
#include "model/MnDynamic.h"
#include "model/MnLyric.h"
#include "model/MnSheetMusic.h"
#include "model/MnStaffChange.h"

#include <gtest/gtest.h>

#include <memory>

TEST(EdClipboard, NoteRecordsAreSortedByLineTimeAndGraceAndCountFromZero)
{
    std::unique_ptr<MnScore> score(makeScore(3, 2));
    MnMeasure* upper = score->staff(1)->measure(0);
    MnMeasure* upperNext = score->staff(1)->measure(1);
    MnMeasure* lower = score->staff(2)->measure(0);
    EdSelection selection;
    selection.add(lower->voiceChords(1)[1]->note(0));      // line 1, 120960, voice 1
    selection.add(upper->voiceChords(0)[3]->note(0));      // line 0, 181440
    selection.add(upper->voiceChords(0)[1]);               // line 0, 60480, as a whole
    selection.add(upperNext->voiceChords(0)[2]->note(0));  // line 0, 362880
    EdClipboard clipboard;
    ASSERT_TRUE(clipboard.copy(selection));
    const BcArray<EdClipNote>& notes = clipboard.notes();
    ASSERT_EQ(notes.count(), 4);
    const struct
    {
        int line;
        int time;
        int voice;
        bool isRest;
        int duration;
    } expected[] = {
        {0, 0, 0, true, 60480},
        {0, 120960, 0, false, 60480},
        {0, 302400, 0, false, 60480},
        {1, 60480, 1, false, 120960},
    };
    for (int i = 0; i < 4; ++i) {
        EXPECT_EQ(notes[i].line, expected[i].line) << i;
        EXPECT_EQ(notes[i].time, expected[i].time) << i;
        EXPECT_EQ(notes[i].voice, expected[i].voice) << i;
        EXPECT_EQ(notes[i].isRest, expected[i].isRest) << i;
        EXPECT_EQ(notes[i].duration, expected[i].duration) << i;
    }
    EXPECT_EQ(notes[0].key, 39) << "a chord selected as a whole is a rest";
    EXPECT_EQ(notes[1].key, upper->voiceChords(0)[3]->note(0)->keyNumber());
    EXPECT_EQ(clipboard.cloneCount(), 0);

    std::unique_ptr<BcObject> made(EdClipboard::staticClass()->createObject());
    ASSERT_NE(made, nullptr);
    EXPECT_TRUE(made->isKindOf(EdClipboard::staticClass()));
}

TEST(EdClipboard, NotesOfOneChordKeepTheSelectionOrder)
{
    std::unique_ptr<MnScore> score(makeScore(1, 1, 3));
    MnChord* chord = score->staff(0)->measure(0)->voiceChords(0)[1];
    EdSelection selection;
    for (int n : {2, 0, 1})
        selection.add(chord->note(n));
    EdClipboard clipboard;
    ASSERT_TRUE(clipboard.copy(selection));
    ASSERT_EQ(clipboard.notes().count(), 3);
    for (int i = 0; i < 3; ++i) {
        EXPECT_EQ(clipboard.notes()[i].time, 0);
        EXPECT_EQ(clipboard.notes()[i].key, chord->note(i == 0 ? 2 : i - 1)->keyNumber()) << i;
    }
}

TEST(EdClipboard, GraceChordsCountBackFromTheirMainChord)
{
    std::unique_ptr<MnScore> score(makeScore(1, 1));
    MnMeasure* measure = score->staff(0)->measure(0);
    addGraceChords(measure, 0, 2, 2);
    // A grace chord after the last chord of the staff precedes nothing.
    MnChord* last = new MnChord(measure, 0, measure->length(), 15120);
    last->setGrace(true);
    last->addNote(1, 5, 3, false);
    measure->voiceChords(0).add(last);
    EdSelection selection;
    selection.add(measure->voiceChords(0)[0]->note(0));
    selection.add(measure->voiceChords(0)[2]->note(0));
    selection.add(measure->voiceChords(0)[3]->note(0));
    selection.add(last->note(0));
    EdClipboard clipboard;
    ASSERT_TRUE(clipboard.copy(selection));
    const BcArray<EdClipNote>& notes = clipboard.notes();
    ASSERT_EQ(notes.count(), 4);
    const int expected[4][2] = {{0, 0}, {120960, 1}, {120960, 2}, {241920, 0}};
    for (int i = 0; i < 4; ++i) {
        EXPECT_EQ(notes[i].time, expected[i][0]) << i;
        EXPECT_EQ(notes[i].graceIndex, expected[i][1]) << i;
    }
}

TEST(EdClipboard, TupletRecordsCarryTheirOffsets)
{
    std::unique_ptr<MnScore> score(makeScore(1, 1));
    MnMeasure* measure = score->staff(0)->measure(0);
    ASSERT_TRUE(measure->makeTuplet(0, 60480, 60480, 3, false));
    for (int time : {60480, 80640, 100800})
        ASSERT_NE(putNote(measure, 0, time, 30240, 0, 5), nullptr);
    EdSelection selection;
    for (int time : {60480, 80640, 100800})
        selection.add(chordAt(measure, 0, time)->note(0));
    EdClipboard clipboard;
    ASSERT_TRUE(clipboard.copy(selection));
    const BcArray<EdClipNote>& notes = clipboard.notes();
    ASSERT_EQ(notes.count(), 3);
    EXPECT_TRUE(notes[0].startsTuplet);
    EXPECT_EQ(notes[0].tupletSpan, 60480);
    EXPECT_EQ(notes[0].tupletNumber, 3);
    EXPECT_EQ(notes[0].duration, 30240);
    const int offsets[3][2] = {{0, 0}, {20160, 30240}, {40320, 60480}};
    for (int i = 0; i < 3; ++i) {
        EXPECT_EQ(notes[i].startsTuplet, i == 0);
        EXPECT_EQ(notes[i].tupletOffset, offsets[i][0]) << i;
        EXPECT_EQ(notes[i].tupletNotatedOffset, offsets[i][1]) << i;
    }
}

TEST(EdClipboard, WhatCopiesAsNotesAndWhatAsAWork)
{
    std::unique_ptr<MnScore> first(makeScore(1, 4));
    std::unique_ptr<MnScore> second(makeScore(1, 1));
    EdClipboard clipboard;

    EdSelection twoScores;
    twoScores.add(first->staff(0)->measure(1)->voiceChords(0)[0]->note(0));
    twoScores.add(second->staff(0)->measure(0)->voiceChords(0)[0]->note(0));
    twoScores.add(first->staff(0)->measure(0)->voiceChords(0)[0]->note(0));
    ASSERT_TRUE(clipboard.copy(twoScores));
    EXPECT_EQ(clipboard.notes().count(), 2) << "the notes of the first note's score only";

    EdSelection notesAndMeasure;
    notesAndMeasure.add(first->staff(0)->measure(0)->voiceChords(0)[0]->note(0));
    notesAndMeasure.add(first->staff(0)->measure(2));
    ASSERT_TRUE(clipboard.copy(notesAndMeasure));
    EXPECT_EQ(clipboard.notes().count(), 0);
    ASSERT_EQ(clipboard.cloneCount(), 1);
    const MnScore* clone = static_cast<const MnScore*>(clipboard.clone(0));
    EXPECT_EQ(clone->staff(0)->measureCount(), 1) << "the measure's range only";
    EXPECT_TRUE(clipboard.selectedInClones().contains(clone->staff(0)->measure(0)));

    MnDynamic* dynamic = new MnDynamic(first->staff(0));
    ASSERT_TRUE(first->staff(0)->insertLine(dynamic, 0));
    EdSelection lineAlone;
    lineAlone.add(dynamic);
    EXPECT_FALSE(clipboard.copy(lineAlone));
    EXPECT_EQ(clipboard.cloneCount(), 0);
    EXPECT_EQ(clipboard.notes().count(), 0);
    EXPECT_TRUE(clipboard.selectedInClones().isEmpty());

    MnSheetMusic sheet;
    MnSheetMusic other;
    EdSelection sheetAndScore;
    sheetAndScore.add(other.score());
    sheetAndScore.add(&sheet);
    ASSERT_TRUE(clipboard.copy(sheetAndScore));
    ASSERT_EQ(clipboard.cloneCount(), 1);
    EXPECT_TRUE(clipboard.clone(0)->isKindOf(MnSheetMusic::staticClass()));
}

TEST(EdClipboard, ACopiedMeasureRangeTakesTheClefKeyAndLyricsInEffect)
{
    std::unique_ptr<MnScore> score(makeScore(1, 4));
    MnStaff* staff = score->staff(0);
    ASSERT_TRUE(staff->insertStaffChange(241920));
    staff->change(0)->setClef(MnClefBass);
    staff->change(0)->setKey(-2);
    MnLyric* lyric = staff->addLyric(0, 0);
    ASSERT_NE(lyric, nullptr);
    ASSERT_TRUE(lyric->setText(BcString("a b c d e f g h i j k l m n o p")));
    MnLyric* late = staff->addLyric(3 * 241920, 0);
    ASSERT_TRUE(late->setText(BcString("x")));

    EdSelection selection;
    selection.add(staff->measure(2));
    selection.add(staff->measure(1));
    selection.add(staff->measure(2)->voiceChords(0)[0]->note(0)); // ignored
    EdClipboard clipboard;
    ASSERT_TRUE(clipboard.copy(selection));
    ASSERT_EQ(clipboard.cloneCount(), 1);
    const MnStaff* cropped = static_cast<const MnScore*>(clipboard.clone(0))->staff(0);
    EXPECT_EQ(cropped->measureCount(), 2);
    EXPECT_EQ(cropped->changeCount(), 0);
    EXPECT_EQ(cropped->clef(), MnClefBass);
    EXPECT_EQ(cropped->key(), -2);
    ASSERT_EQ(cropped->lyricArray().count(), 1) << "the lyric after the range goes";
    const MnLyric* kept = cropped->lyricArray()[0];
    EXPECT_EQ(kept->start(), 0);
    EXPECT_EQ(kept->text(), BcString("e f g h i j k l"));
}

TEST(EdClipboard, CopiedStavesComeWhole)
{
    std::unique_ptr<MnScore> score(makeScore(3, 2));
    EdSelection selection;
    selection.add(score->staff(2));
    selection.add(score->staff(1)->measure(1));
    EdClipboard clipboard;
    ASSERT_TRUE(clipboard.copy(selection));
    const MnScore* clone = static_cast<const MnScore*>(clipboard.clone(0));
    ASSERT_EQ(clone->staffCount(), 2);
    for (int s = 0; s < 2; ++s) {
        EXPECT_EQ(clone->staff(s)->measureCount(), 2);
        EXPECT_EQ(clone->staff(s)->totalTicks(), 2 * 241920);
    }
    EXPECT_TRUE(clipboard.selectedInClones().contains(clone->staff(1)));
}

TEST(EdClipboard, AStaffChangeInAMeasureCopiesTheWholeBeatsItGoverns)
{
    std::unique_ptr<MnScore> score(makeScore(1, 3));
    MnStaff* staff = score->staff(0);
    ASSERT_TRUE(staff->insertStaffChange(120960));
    staff->change(0)->setClef(MnClefAlto);
    ASSERT_TRUE(staff->insertStaffChange(2 * 241920));
    staff->change(1)->setClef(MnClefTreble);

    EdSelection selection;
    selection.add(staff->change(0));
    EdClipboard clipboard;
    ASSERT_TRUE(clipboard.copy(selection));
    const MnStaff* clone = static_cast<const MnScore*>(clipboard.clone(0))->staff(0);
    ASSERT_EQ(clone->measureCount(), 2);
    EXPECT_EQ(clone->measure(0)->beats(), 2) << "the third and fourth beats";
    EXPECT_EQ(clone->measure(1)->beats(), 4);
    EXPECT_EQ(clone->clef(), MnClefAlto);
    EXPECT_EQ(clone->changeCount(), 0);
}

TEST(EdClipboard, ElementsTheCropDeletesLeaveTheSelectedInClones)
{
    // A clef change on a triplet's last chord: trimming the beats before it
    // undoes the triplet, which deletes that chord in the clone.
    std::unique_ptr<MnScore> score(makeScore(1, 2));
    MnStaff* staff = score->staff(0);
    MnMeasure* measure = staff->measure(0);
    ASSERT_TRUE(measure->makeTuplet(0, 60480, 120960, 3, false));
    for (int time : {60480, 100800, 141120})
        ASSERT_NE(putNote(measure, 0, time, 60480, 4, 4), nullptr);
    ASSERT_TRUE(staff->insertStaffChange(141120));
    staff->change(0)->setClef(MnClefBass);
    ASSERT_TRUE(staff->insertStaffChange(241920));

    EdSelection selection;
    selection.add(staff->change(0));
    EdClipboard clipboard;
    ASSERT_TRUE(clipboard.copy(selection));
    for (int i = 0; i < clipboard.selectedInClones().count(); ++i)
        EXPECT_NE(clipboard.selectedInClones().element(i)->parent(), nullptr);

    std::unique_ptr<MnScore> target(makeScore(1, 2));
    EXPECT_TRUE(clipboard.paste(target->staff(0), 0, nullptr));
}
