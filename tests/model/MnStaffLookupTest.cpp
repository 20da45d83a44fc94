#include "model/MnChord.h"
#include "model/MnMeasure.h"
#include "model/MnNote.h"
#include "model/MnScore.h"
#include "model/MnStaff.h"
#include "model/MnStaffChange.h"

#include "model/VoiceBuilder.h"

#include <gtest/gtest.h>

namespace {

const int bar = 241920;
const int half = 120960;
const int quarter = 60480;

class FourBars : public ::testing::Test
{
protected:
    FourBars()
    {
        for (int i = 0; i < 3; ++i)
            score.insertMeasure(-1);
        staff = score.staff(0);
        staff->setClef(MnClefBass);
        staff->setKey(2);
    }

    MnScore score;
    MnStaff* staff;
};

} // namespace

TEST_F(FourBars, InsertingChangesCopiesTheDefinitionBefore)
{
    EXPECT_FALSE(staff->insertStaffChange(0));
    EXPECT_FALSE(staff->insertStaffChange(-quarter));
    EXPECT_EQ(staff->changeCount(), 0);

    ASSERT_TRUE(staff->insertStaffChange(2 * bar));
    EXPECT_FALSE(staff->insertStaffChange(2 * bar));
    ASSERT_EQ(staff->changeCount(), 1);
    MnStaffChange* later = staff->change(0);
    EXPECT_EQ(later->startTime(), 2 * bar);
    EXPECT_EQ(later->clef(), MnClefBass);
    EXPECT_EQ(later->key(), 2);
    later->setKey(-1);

    // An earlier change goes before it and copies the staff; one between
    // copies the change before it.
    ASSERT_TRUE(staff->insertStaffChange(bar));
    ASSERT_TRUE(staff->insertStaffChange(3 * bar));
    ASSERT_EQ(staff->changeCount(), 3);
    EXPECT_EQ(staff->change(0)->startTime(), bar);
    EXPECT_EQ(staff->change(0)->key(), 2);
    EXPECT_EQ(staff->change(1), later);
    EXPECT_EQ(staff->change(2)->startTime(), 3 * bar);
    EXPECT_EQ(staff->change(2)->key(), -1);
}

TEST_F(FourBars, DefinitionAt)
{
    ASSERT_TRUE(staff->insertStaffChange(bar));
    ASSERT_TRUE(staff->insertStaffChange(3 * bar));
    MnStaffChange* first = staff->change(0);
    MnStaffChange* second = staff->change(1);

    struct Row
    {
        const char* name;
        int time;
        bool exactOnly;
        const MnStaffDefinition* expected;
    };
    const Row rows[] = {
        {"start of the staff", 0, false, staff},
        {"start, exactly", 0, true, staff},
        {"before the start, exactly", -5, true, staff},
        {"before the first change", bar - 1, false, staff},
        {"at the first change", bar, false, first},
        {"at the first change, exactly", bar, true, first},
        {"between the changes", 2 * bar, false, first},
        {"between the changes, exactly", 2 * bar, true, nullptr},
        {"at the second change", 3 * bar, true, second},
        {"after the last change", 4 * bar + half, false, second},
        {"after the last change, exactly", 3 * bar + 1, true, nullptr},
    };
    for (const Row& row : rows)
        EXPECT_EQ(staff->definitionAt(row.time, row.exactOnly), row.expected) << row.name;
}

TEST_F(FourBars, MovingChanges)
{
    ASSERT_TRUE(staff->insertStaffChange(bar));
    ASSERT_TRUE(staff->insertStaffChange(2 * bar));
    MnStaffChange* clefChange = staff->change(0);
    clefChange->setClef(MnClefTreble);
    MnStaffChange* timeChange = staff->change(1);
    timeChange->setTimeType(MnTime3_4);
    ASSERT_TRUE(timeChange->changesTime());

    EXPECT_FALSE(staff->moveStaffChange(timeChange, 3 * bar));
    EXPECT_FALSE(staff->moveStaffChange(clefChange, 2 * bar)); // occupied
    EXPECT_FALSE(staff->moveStaffChange(clefChange, 0));
    MnScore other;
    ASSERT_TRUE(other.staff(0)->insertStaffChange(bar));
    EXPECT_FALSE(staff->moveStaffChange(other.staff(0)->change(0), 3 * bar));
    EXPECT_EQ(clefChange->startTime(), bar);

    // Moved past the time-signature change it takes the meter there and
    // keeps its clef and key.
    ASSERT_TRUE(staff->moveStaffChange(clefChange, 3 * bar + quarter));
    ASSERT_EQ(staff->changeCount(), 2);
    EXPECT_EQ(staff->change(0), timeChange);
    EXPECT_EQ(staff->change(1), clefChange);
    EXPECT_EQ(clefChange->startTime(), 3 * bar + quarter);
    EXPECT_EQ(clefChange->time(), MnTime3_4);
    EXPECT_EQ(clefChange->clef(), MnClefTreble);
    EXPECT_EQ(clefChange->key(), 2);
}

TEST_F(FourBars, WhatAChangeChanges)
{
    ASSERT_TRUE(staff->insertStaffChange(bar));
    ASSERT_TRUE(staff->insertStaffChange(2 * bar));
    MnStaffChange* repeat = staff->change(0);
    MnStaffChange* newKey = staff->change(1);
    newKey->setKey(-2);
    ASSERT_TRUE(staff->insertStaffChange(3 * bar));
    MnStaffChange* newTime = staff->change(2);
    newTime->setTimeType(MnTime6_8);

    EXPECT_TRUE(repeat->changesClef());
    EXPECT_FALSE(repeat->changesKey());
    EXPECT_FALSE(repeat->changesTime());
    EXPECT_EQ(repeat->width(), 6.0);

    EXPECT_FALSE(newKey->changesClef());
    EXPECT_TRUE(newKey->changesKey());
    EXPECT_FALSE(newKey->changesTime());

    EXPECT_FALSE(newTime->changesClef());
    EXPECT_FALSE(newTime->changesKey());
    EXPECT_TRUE(newTime->changesTime());
    EXPECT_EQ(newTime->width(), 0.0);

    // The staff's own definition always shows all three.
    EXPECT_TRUE(staff->changesClef());
    EXPECT_TRUE(staff->changesKey());
    EXPECT_TRUE(staff->changesTime());
    EXPECT_EQ(middleCPosition(MnClefTreble), -10);
    EXPECT_EQ(middleCPosition(MnClefBass), 2);
    EXPECT_EQ(middleCPosition(MnClefAlto), -4);
    EXPECT_EQ(middleCPosition(MnClefTenor), -2);
    EXPECT_EQ(middleCPosition(7), -10);
}

TEST_F(FourBars, VoiceCount)
{
    EXPECT_EQ(staff->voiceCount(), 1);
    VoiceBuilder second(staff->measure(2), 1);
    second.chord(bar);
    EXPECT_EQ(staff->voiceCount(), 1); // a rest only
    VoiceBuilder used(staff->measure(2), 1);
    used.note(bar, 0, 3);
    EXPECT_EQ(staff->voiceCount(), 2);
}

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
