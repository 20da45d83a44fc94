#include "model/MnChord.h"
#include "model/MnMeasure.h"
#include "model/MnNote.h"
#include "model/MnScore.h"
#include "model/MnStaff.h"

#include "model/VoiceBuilder.h"

#include <gtest/gtest.h>

namespace {

const int half = 120960;
const int quarter = 60480;

} // namespace

TEST(MnScoreNotesAtTime, LowestStaffFirstEachFromLowToHigh)
{
    MnScore score;
    score.insertStaff(-1);
    MnMeasure* upper = score.staff(0)->measure(0);
    MnMeasure* lower = score.staff(1)->measure(0);
    VoiceBuilder upperVoice(upper, 0);
    MnChord* triad = upperVoice.chord(half);
    MnNote* g4 = triad->addNote(4, 4, 3, false);
    MnNote* c4 = triad->addNote(0, 4, 1, false);
    MnNote* e4 = triad->addNote(2, 4, 3, false);
    upperVoice.chord(half);
    VoiceBuilder upperSecond(upper, 1);
    MnChord* grace = upperSecond.grace(quarter);
    grace->addNote(1, 4, 3, false);
    MnChord* below = upperSecond.note(half, 3, 4);
    MnNote* f4 = below->note(0);
    upperSecond.chord(half);
    VoiceBuilder lowerVoice(lower, 0);
    MnNote* c3 = lowerVoice.note(half, 0, 3)->note(0);
    lowerVoice.note(half, 0, 3);

    BcArray<MnNote*> notes;
    ASSERT_EQ(score.notesAtTime(0, 0, notes), 5);
    EXPECT_EQ(notes[0], c3);
    EXPECT_EQ(notes[1], c4);
    EXPECT_EQ(notes[2], e4);
    EXPECT_EQ(notes[3], f4);
    EXPECT_EQ(notes[4], g4);

    // A rest gives nothing; nothing starts off the onsets; a column that
    // does not exist is empty.
    EXPECT_EQ(score.notesAtTime(0, half, notes), 1);
    EXPECT_EQ(score.notesAtTime(0, quarter, notes), 0);
    EXPECT_EQ(score.notesAtTime(3, 0, notes), 0);
    EXPECT_EQ(score.notesAtTime(-1, 0, notes), 0);
}
