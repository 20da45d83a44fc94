#include "model/MnChord.h"
#include "model/MnCodes.h"
#include "model/MnDynamic.h"
#include "model/MnLine.h"
#include "model/MnMeasure.h"
#include "model/MnMeasureNumber.h"
#include "model/MnPart.h"
#include "model/MnPartGroup.h"
#include "model/MnPedal.h"
#include "model/MnScore.h"
#include "model/MnStaff.h"
#include "model/MnStaffChange.h"
#include "model/MnTempo.h"
#include "model/MnText.h"
#include "model/RecordBytes.h"

#include "common/TestPrinters.h"

#include <gtest/gtest.h>

#include <functional>
#include <memory>

// Hand-made records of older format versions, value by value as those
// versions wrote them.

// The text record: before version 4 an Int alignment, an Int font and a
// Double size; from 4 on one byte each and the underline as the font's flag.
static void oldText(RecordBuilder& record, int version, const char* text, double size, double y = 0.0)
{
    record.real(0.0).real(y);
    if (version >= 4)
        record.character(0).string(text).byteAndFlag(0, false).character(int(size));
    else
        record.integer(0).string(text).integer(0).real(size);
}

// A rest of the given ticks (384 to the whole note below version 2).
static void oldRest(RecordBuilder& record, int version, int ticks)
{
    record.integer(ticks);
    if (version >= 2)
        record.byteAndFlag(-4, false).byte(0).byte(0x05).byte(0).byte(0).byte(0x11);
    else
        record.byte(0).character(0).boolean(false).character(-1).byte(0).byte(0).character(1).character(1);
}

// A 4/4 measure with a whole rest in each voice.
static void oldMeasure(RecordBuilder& record, int version)
{
    const bool oldTicks = version < 2;
    if (version >= 5)
        record.byteAndFlag(0, true).byteAndFlag(2, true);
    else
        record.character(0).boolean(true);
    record.integer(4).integer(oldTicks ? 96 : 60480).integer(2);
    for (int voice = 0; voice < 2; ++voice) {
        record.integer(1);
        oldRest(record, version, oldTicks ? 384 : 241920);
    }
    record.shortValue(0).string("").boolean(false);
    if (version >= 1)
        record.byte(0);
    record.character(0).real(0.0);
}

// A treble staff of 4/4 with one measure, no changes and no lines.
static void oldStaff(RecordBuilder& record, int version)
{
    record.character(0).character(0).character(1).integer(0).integer(1);
    oldMeasure(record, version);
    record.integer(0);
    if (version >= 5)
        record.integer(0).boolean(false);
    record.real(20.0);
}

static void oldPart(RecordBuilder& record, int version)
{
    oldText(record, version, "", 12.0);
    if (version > 2)
        record.real(1.0);
    record.integer(-1).string("Violin").string("Vl.");
    if (version > 3)
        record.character(100).character(0);
}

static void oldTempo(RecordBuilder& record, int version)
{
    oldText(record, version, " = 80", 12.0, 20.0);
    record.integer(version < 2 ? 96 : 60480).integer(80).character(-1).boolean(false).boolean(false).string("").boolean(true);
}

static Bytes oldScore(int version, int tempoCount = 1)
{
    RecordBuilder record(version);
    record.string("Old").real(10.0).real(-80.0);
    if (version > 2)
        record.real(0.5);
    record.integer(1);
    oldStaff(record, version);
    oldPart(record, version);
    record.integer(0).integer(tempoCount);
    for (int i = 0; i < tempoCount; ++i)
        oldTempo(record, version);
    record.byte(0x01);
    if (version > 0)
        oldText(record, version, "@measure", 8.0, 7.0);
    return record.done();
}

struct OldRecordCase
{
    const char* name;
    int version;
    std::function<MnElement*(MnScore&)> make;
    std::function<Bytes()> record;
    std::function<void(MnElement*)> check;
};

TEST(ModelOldVersions, HandMadeRecordsOfEveryOlderLayout)
{
    const OldRecordCase cases[] = {
        {"measure version 1: ticks times 630, voice-1 rests hidden", 1,
         [](MnScore& score) { return new MnMeasure(score.staff(0), 1, MnTime3_4); },
         [] {
             RecordBuilder record(1);
             oldMeasure(record, 1);
             return record.done();
         },
         [](MnElement* element) {
             MnMeasure* measure = static_cast<MnMeasure*>(element);
             EXPECT_EQ(measure->beatTicks(), 60480);
             EXPECT_EQ(measure->length(), 241920);
             EXPECT_EQ(measure->voiceChords(0)[0]->duration(), 241920);
             EXPECT_FALSE(measure->voiceChords(0)[0]->isHidden());
             EXPECT_TRUE(measure->voiceChords(1)[0]->isHidden());
             EXPECT_EQ(measure->repeatCount(), 2);
         }},
        {"staff change version 2: no time byte, the staff's meter", 2,
         [](MnScore& score) {
             score.staff(0)->setTimeType(MnTime6_8);
             return new MnStaffChange(score.staff(0), 1, 0, 0, MnTime6_8);
         },
         [] { return RecordBuilder(2).character(MnClefBass).character(-1).integer(60480).done(); },
         [](MnElement* element) {
             MnStaffChange* change = static_cast<MnStaffChange*>(element);
             EXPECT_EQ(change->clef(), MnClefBass);
             EXPECT_EQ(change->key(), -1);
             EXPECT_EQ(change->time(), MnTime6_8);
             EXPECT_EQ(change->startTime(), 60480);
         }},
        {"staff version 4: no lyrics or tablature, spacing after the lines", 4,
         [](MnScore& score) { return new MnStaff(&score, 0, 0); },
         [] {
             RecordBuilder record(4);
             record.character(0).character(2).character(5).integer(0).integer(1);
             oldMeasure(record, 4);
             record.integer(0).real(26.5);
             return record.done();
         },
         [](MnElement* element) {
             MnStaff* staff = static_cast<MnStaff*>(element);
             EXPECT_EQ(staff->key(), 2);
             EXPECT_EQ(staff->time(), MnTime3_4);
             EXPECT_EQ(staff->spacing(), 26.5);
             EXPECT_EQ(staff->lyricArray().count(), 0);
             EXPECT_EQ(staff->tablature(), nullptr);
         }},
        {"a line of an unknown class code is skipped", 5,
         [](MnScore& score) { return new MnStaff(&score, 0, 0); },
         [] {
             RecordBuilder record(5);
             record.character(0).character(0).character(1).integer(0).integer(1);
             oldMeasure(record, 5);
             record.integer(2).byte(7).byte(MnStaff::LinePedal).integer(0).integer(60480).real(-14.0).character(4);
             record.integer(0).boolean(false).real(20.0);
             return record.done();
         },
         [](MnElement* element) {
             MnStaff* staff = static_cast<MnStaff*>(element);
             ASSERT_EQ(staff->lineArray().count(), 1);
             EXPECT_TRUE(staff->lineArray()[0]->isKindOf(MnPedal::staticClass()));
             EXPECT_EQ(staff->lineArray()[0]->parent(), staff);
         }},
        {"score version 2: no scale", 2, [](MnScore&) { return new MnScore; }, [] { return oldScore(2); },
         [](MnElement* element) {
             MnScore* score = static_cast<MnScore*>(element);
             EXPECT_EQ(score->scale(), 1.0);
             EXPECT_EQ(score->name(), BcString("Old"));
             EXPECT_EQ(score->staffCount(), 1);
             EXPECT_EQ(score->tempoCount(), 1);
             EXPECT_EQ(score->measureNumberTemplate()->position().y, 7.0);
         }},
        {"score version 0: no measure-number template", 0, [](MnScore&) { return new MnScore; },
         [] { return oldScore(0); },
         [](MnElement* element) {
             MnScore* score = static_cast<MnScore*>(element);
             EXPECT_EQ(score->staff(0)->measure(0)->length(), 241920);
             EXPECT_EQ(score->measureNumberTemplate()->text(), BcString("@measure"));
             EXPECT_EQ(score->tempo(0)->position().y, 20.0);
         }},
        {"score version 3 has its scale", 3, [](MnScore&) { return new MnScore; }, [] { return oldScore(3); },
         [](MnElement* element) { EXPECT_EQ(static_cast<MnScore*>(element)->scale(), 0.5); }},
        {"part version 3: volume 100 and no voice names", 3, [](MnScore& score) { return new MnPart(&score, 0); },
         [] {
             RecordBuilder record(3);
             oldPart(record, 3);
             return record.done();
         },
         [](MnElement* element) {
             MnPart* part = static_cast<MnPart*>(element);
             EXPECT_EQ(part->volume(), 100);
             EXPECT_EQ(part->voiceNameCount(), 0);
             EXPECT_EQ(part->name(), BcString("Violin"));
         }},
        {"group version 4: an Int bracket type", 4,
         [](MnScore& score) {
             score.insertStaff(-1);
             return new MnPartGroup(&score, 0, 2);
         },
         [] {
             RecordBuilder record(4);
             oldText(record, 4, "", 12.0);
             record.integer(0).integer(2).integer(3).string("Strings").string("Str.");
             return record.done();
         },
         [](MnElement* element) {
             MnPartGroup* group = static_cast<MnPartGroup*>(element);
             EXPECT_EQ(group->bracketType(), 3);
             EXPECT_TRUE(group->coversTablature());
             EXPECT_EQ(group->staffCount(), 2);
         }},
        {"text version 3: size 10.9 reads as 10", 3, [](MnScore&) { return new MnText; },
         [] {
             RecordBuilder record(3);
             oldText(record, 3, "Fine", 10.9);
             return record.done();
         },
         [](MnElement* element) {
             MnText* text = static_cast<MnText*>(element);
             EXPECT_EQ(text->size(), 10.0);
             EXPECT_FALSE(text->isUnderlined());
             RecordBuilder current;
             oldText(current, 5, "Fine", 10.0);
             EXPECT_EQ(recordOf(*text), current.done());
         }},
    };
    for (const OldRecordCase& c : cases) {
        SCOPED_TRACE(c.name);
        MnScore owner;
        std::unique_ptr<MnElement> element(c.make(owner));
        ASSERT_TRUE(readRecord(*element, c.record(), c.version));
        c.check(element.get());
        // What was read writes back as a current record that reads again.
        const Bytes current = recordOf(*element);
        std::unique_ptr<MnElement> again(c.make(owner));
        ASSERT_TRUE(readRecord(*again, current));
        EXPECT_EQ(recordOf(*again), current);
    }
}

// Playback and the score's properties read tempo mark 0, so a score record
// that holds no marks reads with the default mark of a new score.
TEST(ModelOldVersions, AScoreRecordWithoutTempoMarksGetsTheDefaultMark)
{
    for (int version : {0, 5}) {
        SCOPED_TRACE(version);
        MnScore score;
        score.tempo(0)->setBeatsPerMinute(60);
        score.tempo(0)->buildTempoText();
        ASSERT_TRUE(readRecord(score, oldScore(version, 0), version));
        ASSERT_EQ(score.tempoCount(), 1);
        EXPECT_EQ(score.tempo(0)->parent(), &score);
        MnScore fresh;
        EXPECT_EQ(recordOf(*score.tempo(0)), recordOf(*fresh.tempo(0)));
        const Bytes current = recordOf(score);
        MnScore again;
        ASSERT_TRUE(readRecord(again, current));
        EXPECT_EQ(recordOf(again), current);
    }
}
