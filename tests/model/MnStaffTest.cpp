#include "model/MnStaff.h"

#include "model/MnChord.h"
#include "model/MnCodes.h"
#include "model/MnMeasure.h"
#include "model/MnPartGroup.h"
#include "model/MnScore.h"
#include "model/MnStaffChange.h"
#include "model/MnTablature.h"
#include "model/ModelBuilders.h"
#include "model/RecordBytes.h"

#include <gtest/gtest.h>

TEST(MnStaff, ANewStaffHasOneMeasureOfItsMeter)
{
    MnScore score;
    MnStaff staff(&score, 0, MnTime6_8);
    EXPECT_EQ(staff.clef(), MnClefTreble);
    EXPECT_EQ(staff.key(), 0);
    EXPECT_EQ(staff.time(), MnTime6_8);
    ASSERT_EQ(staff.measureCount(), 1);
    EXPECT_EQ(staff.measure(0)->index(), 1);
    EXPECT_EQ(staff.measure(0)->beats(), 6);
    EXPECT_EQ(staff.measure(0)->parent(), &staff);
    EXPECT_EQ(staff.spacing(), 20.0);
    EXPECT_EQ(staff.tablature(), nullptr);
    EXPECT_EQ(staff.parent(), &score);
    EXPECT_TRUE(staff.changesClef());
    EXPECT_TRUE(staff.changesKey());
    EXPECT_TRUE(staff.changesTime());
    EXPECT_EQ(staff.timeSignatureWidth(), 4.0);
    staff.setTimeType(MnTime12_8);
    EXPECT_EQ(staff.timeSignatureWidth(), 7.0);
}

TEST(MnStaff, DefinitionsInEffectAndStaffChanges)
{
    MnScore score;
    MnStaff* staff = score.staff(0);
    EXPECT_FALSE(staff->insertStaffChange(0));
    ASSERT_TRUE(staff->insertStaffChange(MnTicksHalf));
    EXPECT_FALSE(staff->insertStaffChange(MnTicksHalf));
    ASSERT_TRUE(staff->insertStaffChange(MnTicksQuarter));
    ASSERT_EQ(staff->changeCount(), 2);
    MnStaffChange* early = staff->change(0);
    MnStaffChange* late = staff->change(1);
    EXPECT_EQ(early->startTime(), MnTicksQuarter);
    EXPECT_EQ(early->parent(), staff);

    EXPECT_EQ(staff->definitionAt(0, true), staff);
    EXPECT_EQ(staff->definitionAt(-5, true), staff);
    EXPECT_EQ(staff->definitionAt(100, true), nullptr);
    EXPECT_EQ(staff->definitionAt(MnTicksQuarter, true), early);
    EXPECT_EQ(staff->definitionAt(MnTicksQuarter + 1, false), early);
    EXPECT_EQ(staff->definitionAt(MnTicksHalf * 9, false), late);
    EXPECT_EQ(staff->definitionAt(MnTicksQuarter - 1, false), staff);

    // A change that repeats everything shows a clef; one with a new key and
    // the same clef does not; one with a new meter alone changes only that.
    EXPECT_TRUE(early->changesClef());
    EXPECT_FALSE(early->changesKey());
    EXPECT_FALSE(early->changesTime());
    EXPECT_EQ(early->width(), 6.0);
    early->setKey(3);
    EXPECT_FALSE(early->changesClef());
    EXPECT_TRUE(early->changesKey());
    late->setKey(3);
    late->setTimeType(MnTime3_4);
    EXPECT_FALSE(late->changesClef());
    EXPECT_FALSE(late->changesKey());
    EXPECT_TRUE(late->changesTime());
    EXPECT_EQ(late->width(), 0.0);
    EXPECT_FALSE(late->moveTo(GePoint2d(1.0, 1.0)));

    // Only changes that keep the meter move, and only to free times.
    EXPECT_FALSE(staff->moveStaffChange(late, MnTicksPerWhole));
    EXPECT_FALSE(staff->moveStaffChange(early, MnTicksHalf));
    EXPECT_FALSE(staff->moveStaffChange(early, 0));
    ASSERT_TRUE(staff->moveStaffChange(early, MnTicksPerWhole));
    EXPECT_EQ(staff->change(1), early);
    EXPECT_EQ(early->time(), MnTime3_4);
    EXPECT_EQ(early->key(), 3);
}

TEST(MnStaff, MiddleCPositionPerClef)
{
    const int expected[][2] = {{MnClefTreble, -10}, {MnClefBass, 2}, {MnClefAlto, -4}, {MnClefTenor, -2}, {7, -10}};
    for (const auto& e : expected)
        EXPECT_EQ(middleCPosition(e[0]), e[1]) << e[0];
}

TEST(MnStaff, InsertedMeasuresAreNumberedAndShiftTheChanges)
{
    MnScore score;
    MnStaff* staff = score.staff(0);
    ASSERT_TRUE(staff->insertMeasure(-1, MnTime4_4));
    ASSERT_TRUE(staff->insertStaffChange(MnTicksPerWhole));
    EXPECT_FALSE(staff->insertMeasure(3, MnTime4_4));
    ASSERT_TRUE(staff->insertMeasure(2, MnTime4_4)); // the count: appends
    ASSERT_TRUE(staff->insertMeasure(0, MnTime3_4));
    ASSERT_EQ(staff->measureCount(), 4);
    for (int i = 0; i < 4; ++i)
        EXPECT_EQ(staff->measure(i)->index(), i + 1);
    EXPECT_EQ(staff->measure(0)->beats(), 3);
    EXPECT_EQ(staff->change(0)->startTime(), MnTicksPerWhole + 181440);
}

TEST(MnStaff, VoiceCountSeesTheSecondVoiceOnlyWhereItHoldsMusic)
{
    MnScore score;
    MnStaff* staff = score.staff(0);
    staff->insertMeasure(-1, MnTime4_4);
    EXPECT_EQ(staff->voiceCount(), 1);
    MnChord* chord = setVoice(staff->measure(1), 1, {MnTicksPerWhole});
    chord->setHidden(true);
    EXPECT_EQ(staff->voiceCount(), 1);
    chord->addNote(2, 4, 3, false);
    EXPECT_EQ(staff->voiceCount(), 2);
}

TEST(MnStaff, RemovingTheTablatureAdjustsTheGroupsThatBracketedIt)
{
    MnScore score;
    score.insertStaff(-1);
    score.insertStaff(-1);
    MnStaff* last = score.staff(1);
    last->setTablature(new MnTablature(last));
    MnPartGroup* pair = score.addPartGroup(0, 2);
    MnPartGroup* single = score.addPartGroup(1, 1);
    ASSERT_NE(pair, nullptr);
    ASSERT_NE(single, nullptr);
    EXPECT_TRUE(pair->coversTablature());
    EXPECT_FALSE(last->removeChild(score.staff(0)));
    EXPECT_TRUE(last->removeChild(last->tablature()));
    EXPECT_EQ(last->tablature(), nullptr);
    ASSERT_EQ(score.partGroupCount(), 1);
    EXPECT_EQ(score.partGroup(0), pair);
    EXPECT_FALSE(pair->coversTablature());
}

TEST(MnStaff, RemovingChangesMeasuresAndOtherChildren)
{
    MnScore score;
    MnStaff* staff = score.staff(0);
    staff->insertMeasure(-1, MnTime4_4);
    staff->insertStaffChange(MnTicksQuarter);
    staff->insertStaffChange(MnTicksPerWhole);
    staff->change(1)->setTimeType(MnTime3_4);
    EXPECT_TRUE(staff->removeChild(staff->change(0)));
    EXPECT_EQ(staff->changeCount(), 1);
    // A time signature goes too, re-barring the score to the meter before it.
    EXPECT_TRUE(staff->removeChild(staff->change(0)));
    EXPECT_EQ(staff->changeCount(), 0);
    EXPECT_TRUE(staff->removeChild(staff->measure(0)));
    ASSERT_EQ(staff->measureCount(), 1);
    EXPECT_EQ(staff->measure(0)->index(), 1);
    EXPECT_FALSE(staff->removeChild(staff->measure(0)));
}

TEST(MnStaff, ChangeRecords)
{
    MnScore score;
    MnStaff* staff = score.staff(0);
    staff->setTimeType(MnTime6_8);
    const struct
    {
        const char* name;
        int version;
        Bytes record;
        bool ok;
        int time;
        int type;
    } cases[] = {
        {"version 5", 5, RecordBuilder().character(1).character(-3).character(5).integer(120960).done(), true, 120960, 5},
        {"version 1 counts 384 ticks to the whole note", 1, RecordBuilder(1).character(1).character(0).integer(96).done(), true,
         60480, MnTime6_8},
        {"version 2 has no time byte", 2, RecordBuilder(2).character(1).character(0).integer(60480).done(), true, 60480, MnTime6_8},
        {"a change at time 0 is damaged", 5, RecordBuilder().character(1).character(0).character(1).integer(0).done(), false, 1,
         MnTime4_4},
        {"a key of 8 sharps is damaged", 5, RecordBuilder().character(1).character(8).character(1).integer(5).done(), false, 1,
         MnTime6_8},
        {"an unknown clef is damaged", 5, RecordBuilder().character(4).character(0).character(1).integer(5).done(), false, 1,
         MnTime6_8},
        {"an unknown meter is damaged", 5, RecordBuilder().character(0).character(0).character(11).integer(5).done(), false, 1,
         MnTime6_8},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        MnStaffChange change(staff, 1, 0, 0, staff->time());
        EXPECT_EQ(readRecord(change, c.record, c.version), c.ok);
        EXPECT_EQ(change.startTime(), c.time);
        EXPECT_EQ(change.time(), c.type);
    }
}
