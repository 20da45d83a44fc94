#include "model/MnPart.h"
#include "model/MnCodes.h"
#include "model/MnPartGroup.h"

#include "common/TestPrinters.h"
#include "foundation/BcClass.h"
#include "model/MnScore.h"
#include "model/MnStaff.h"
#include "model/MnTablature.h"
#include "model/RecordBytes.h"
#include "model/TextRecord.h"

#include <gtest/gtest.h>

#include <cmath>

TEST(MnPart, Defaults)
{
    MnPart part(nullptr, 2);
    EXPECT_TRUE(part.isKindOf(MnText::staticClass()));
    EXPECT_EQ(part.staffIndex(), 2);
    EXPECT_EQ(part.partScale(), 1.0);
    EXPECT_EQ(part.instrument(), -1);
    EXPECT_EQ(part.volume(), 100);
    EXPECT_EQ(part.voiceNameCount(), 0);
    ASSERT_NE(part.label(), nullptr);
    EXPECT_EQ(part.label()->size(), 12.0);
    EXPECT_EQ(part.width(), 0.0);
    EXPECT_EQ(part.position().x, 0.0);
    EXPECT_EQ(part.position().y, -40.0);

    EXPECT_TRUE(part.setName(BcString("Flute")));
    EXPECT_FALSE(part.setName(BcString("Flute")));
    EXPECT_EQ(part.width(), 24.0);
    EXPECT_EQ(part.position().x, -29.0);
    EXPECT_FALSE(part.moveTo(GePoint2d(1.0, 1.0)));
}

TEST(MnPart, VoiceNames)
{
    MnPart part(nullptr, 0);
    EXPECT_TRUE(part.setVoiceName(1, BcString("Alto")));
    EXPECT_EQ(part.voiceNameCount(), 2);
    EXPECT_EQ(part.voiceName(0), BcString(""));
    EXPECT_EQ(part.voiceName(1), BcString("Alto"));
    EXPECT_EQ(part.voiceName(4), BcString(""));
    EXPECT_EQ(part.voiceName(-1), BcString(""));
    EXPECT_FALSE(part.setVoiceName(-1, BcString("x")));
}

TEST(MnPart, RecordKeepsAtMostFourVoiceNames)
{
    MnPart part(nullptr, 0);
    part.setName(BcString("Violin"));
    part.setAbbreviation(BcString("Vl."));
    part.setInstrument(MnInstrumentViolin);
    part.setVolume(90);
    const char* names[] = {"one", "two", "three", "four", "five", "six"};
    for (int i = 0; i < 6; ++i)
        part.setVoiceName(i, BcString(names[i]));
    Bytes record = recordOf(part);
    Bytes expected = RecordBuilder()
                         .record(MnText())
                         .real(1.0)
                         .integer(6)
                         .string("Violin")
                         .string("Vl.")
                         .character(90)
                         .character(4)
                         .string("one")
                         .string("two")
                         .string("three")
                         .string("four")
                         .done();
    EXPECT_EQ(record, expected);

    MnPart copy(nullptr, 0);
    copy.setVoiceName(7, BcString("old"));
    ASSERT_TRUE(readRecord(copy, record));
    EXPECT_EQ(copy.voiceNameCount(), 4);
    EXPECT_EQ(copy.voiceName(3), BcString("four"));
    EXPECT_EQ(copy.instrument(), MnInstrumentViolin);
    EXPECT_EQ(copy.volume(), 90);
    EXPECT_EQ(recordOf(copy), record);
}

TEST(MnPart, OlderVersions)
{
    // Version 2: no scale, no volume, no voice names.
    MnPart v2(nullptr, 0);
    ASSERT_TRUE(readRecord(v2, RecordBuilder(2).bytes(defaultTextRecord(2)).integer(3).string("Guitar").string("Gt.").done(), 2));
    EXPECT_EQ(v2.partScale(), 1.0);
    EXPECT_EQ(v2.instrument(), 3);
    EXPECT_EQ(v2.name(), BcString("Guitar"));
    EXPECT_EQ(v2.volume(), 100);

    // Version 3: the scale, still no volume and no voice names.
    MnPart v3(nullptr, 0);
    ASSERT_TRUE(readRecord(v3, RecordBuilder(3).bytes(defaultTextRecord(3)).real(0.75).integer(-1).string("A").string("B").done(), 3));
    EXPECT_EQ(v3.partScale(), 0.75);
    EXPECT_EQ(v3.volume(), 100);
    EXPECT_EQ(v3.voiceNameCount(), 0);

    // Version 4: everything.
    MnPart v4(nullptr, 0);
    ASSERT_TRUE(readRecord(v4, RecordBuilder(4).bytes(defaultTextRecord(4)).real(1.5).integer(130).string("").string("")
                                   .character(64).character(1).string("Tenor").done(), 4));
    EXPECT_EQ(v4.instrument(), 130);
    EXPECT_EQ(v4.volume(), 64);
    EXPECT_EQ(v4.voiceName(0), BcString("Tenor"));
}

TEST(MnPart, ReadingChecksWhatItUses)
{
    Bytes text = defaultTextRecord(5);
    struct Row
    {
        const char* what;
        double scale;
        int instrument;
        int volume;
        int nameCount;
        bool ok;
        int readInstrument;
        int readVolume;
    };
    const Row rows[] = {
        {"zero scale divides", 0.0, 0, 100, 0, false, -1, 100},
        {"negative scale", -1.0, 0, 100, 0, false, -1, 100},
        {"scale not a number", std::nan(""), 0, 100, 0, false, -1, 100},
        {"five voice names were never written", 1.0, 0, 100, 5, false, 0, 100},
        {"negative voice-name count", 1.0, 0, 100, -1, false, 0, 100},
        {"unknown instrument plays the piano", 1.0, 12, 100, 0, true, -1, 100},
        {"program beyond 255", 1.0, 256, 100, 0, true, -1, 100},
        {"a negative volume is kept as filed", 1.0, 0, -5, 0, true, 0, -5},
        {"largest volume", 1.0, 11, 127, 0, true, 11, 127},
    };
    for (const Row& row : rows) {
        MnPart part(nullptr, 0);
        Bytes record = RecordBuilder()
                           .bytes(text)
                           .real(row.scale)
                           .integer(row.instrument)
                           .string("")
                           .string("")
                           .character(row.volume)
                           .character(row.nameCount)
                           .done();
        EXPECT_EQ(readRecord(part, record), row.ok) << row.what;
        EXPECT_EQ(part.instrument(), row.readInstrument) << row.what;
        EXPECT_EQ(part.volume(), row.readVolume) << row.what;
        if (!row.ok && row.scale != 1.0) {
            EXPECT_EQ(part.partScale(), 1.0) << row.what;
        }
    }
}

TEST(MnPart, EveryPrefixFails)
{
    MnPart part(nullptr, 0);
    part.setName(BcString("Cello"));
    part.setVoiceName(0, BcString("upper"));
    Bytes record = recordOf(part);
    for (size_t length = 0; length < record.size(); ++length) {
        MnPart partial(nullptr, 0);
        EXPECT_FALSE(readRecord(partial, Bytes(record.begin(), record.begin() + length))) << length;
    }
}

TEST(MnPart, ScaleKeepsTheRoomBetweenStaves)
{
    MnScore score;
    score.insertStaff(-1);
    score.insertStaff(-1);
    ASSERT_EQ(score.staffCount(), 3);
    for (int i = 0; i < 3; ++i)
        score.staff(i)->setSpacing(20.0);

    EXPECT_TRUE(score.part(1)->setScale(1.5));
    EXPECT_FALSE(score.part(1)->setScale(1.5));
    EXPECT_EQ(score.staff(0)->spacing(), 20.0);
    EXPECT_EQ(score.staff(1)->spacing(), 23.0);
    EXPECT_EQ(score.staff(2)->spacing(), 23.0);

    EXPECT_TRUE(score.part(0)->setScale(0.5));
    EXPECT_EQ(score.staff(0)->spacing(), 20.0);
    EXPECT_EQ(score.staff(1)->spacing(), 20.0);
    EXPECT_EQ(score.staff(2)->spacing(), 23.0);

    EXPECT_FALSE(score.part(2)->setScale(0.0));
    EXPECT_EQ(score.part(2)->partScale(), 1.0);
}

TEST(MnPartGroup, DefaultsAndParent)
{
    MnScore score;
    score.insertStaff(-1);
    MnPartGroup group(&score, 0, 2);
    EXPECT_EQ(group.parent(), &score);
    EXPECT_TRUE(group.coversTablature());
    EXPECT_EQ(group.bracketType(), 0);
    EXPECT_EQ(group.width(), 10.0);
    EXPECT_EQ(group.label()->size(), 12.0);
    EXPECT_FALSE(group.moveTo(GePoint2d(3.0, 3.0)));
    score.part(1)->setScale(1.25);
    EXPECT_EQ(group.maxPartScale(), 1.25);
    MnPartGroup empty(&score, 0, 0);
    EXPECT_EQ(empty.maxPartScale(), 0.0);
}

TEST(MnPartGroup, RecordsOfVersionFourAndFive)
{
    Bytes text = defaultTextRecord(5);
    MnPartGroup v4(nullptr, 0, 1);
    v4.setCoversTablature(false);
    ASSERT_TRUE(readRecord(v4, RecordBuilder(4).bytes(defaultTextRecord(4)).integer(1).integer(2).integer(3)
                                   .string("Strings").string("Str.").done(), 4));
    EXPECT_EQ(v4.firstStaff(), 1);
    EXPECT_EQ(v4.staffCount(), 2);
    EXPECT_EQ(v4.bracketType(), 3);
    EXPECT_FALSE(v4.coversTablature());
    EXPECT_EQ(v4.name(), BcString("Strings"));

    // Writing always gives the current layout.
    Bytes record = recordOf(v4);
    EXPECT_EQ(record, RecordBuilder().bytes(text).integer(1).integer(2).boolean(false).character(3)
                          .string("Strings").string("Str.").done());
    MnPartGroup v5(nullptr, 0, 1);
    ASSERT_TRUE(readRecord(v5, record));
    EXPECT_FALSE(v5.coversTablature());
    EXPECT_EQ(recordOf(v5), record);

    for (size_t length = 0; length < record.size(); ++length) {
        MnPartGroup partial(nullptr, 0, 1);
        EXPECT_FALSE(readRecord(partial, Bytes(record.begin(), record.begin() + length))) << length;
    }
}

TEST(MnPartGroup, ReadingKeepsTheGroupInsideTheScore)
{
    MnScore score;
    score.insertStaff(-1);
    score.insertStaff(-1);
    Bytes text = defaultTextRecord(5);
    struct Row
    {
        const char* what;
        int first;
        int count;
        int bracket;
        bool ok;
    };
    const Row rows[] = {
        {"all three staves", 0, 3, 1, true},
        {"last staff alone", 2, 1, 2, true},
        {"one staff too many", 1, 3, 0, false},
        {"negative first", -1, 2, 0, false},
        {"no staves", 0, 0, 0, false},
        {"count near 2^31", 1, 0x7FFFFFFF, 0, false},
        {"first near 2^31", 0x7FFFFFFF, 1, 0, false},
        {"unknown bracket is drawn as 0", 0, 2, 9, true},
    };
    for (const Row& row : rows) {
        MnPartGroup group(&score, 0, 3);
        Bytes record = RecordBuilder().bytes(text).integer(row.first).integer(row.count).boolean(true)
                           .character(row.bracket).string("").string("").done();
        EXPECT_EQ(readRecord(group, record), row.ok) << row.what;
        if (row.ok) {
            EXPECT_EQ(group.firstStaff(), row.first) << row.what;
            EXPECT_EQ(group.bracketType(), row.bracket < 4 ? row.bracket : 0) << row.what;
        } else {
            EXPECT_EQ(group.firstStaff(), 0) << row.what;
            EXPECT_EQ(group.staffCount(), 3) << row.what;
        }
    }
}

TEST(MnPartGroup, HeightReachesTheLastStaffOrItsTablature)
{
    MnScore score;
    score.insertStaff(-1);
    score.insertStaff(-1);
    MnPartGroup* group = score.addPartGroup(0, 2);
    ASSERT_NE(group, nullptr);
    MnStaff* first = score.staff(0);
    MnStaff* last = score.staff(1);
    double between = first->position().y - last->position().y;
    EXPECT_DOUBLE_EQ(group->height(), between + last->height());

    MnTablature* tablature = new MnTablature(last);
    last->setTablature(tablature);
    between = first->position().y - last->position().y;
    // Down to the bottom string: the staff, the distance and five string gaps.
    EXPECT_DOUBLE_EQ(group->height(), between + 8.0 + 12.0 + 15.0);
    group->setCoversTablature(false);
    EXPECT_DOUBLE_EQ(group->height(), between + last->height());
}
