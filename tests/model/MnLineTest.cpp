#include "model/MnDynamic.h"
#include "model/MnOctave.h"
#include "model/MnPedal.h"

#include "common/TestPrinters.h"
#include "foundation/BcClass.h"
#include "model/RecordBytes.h"

#include <gtest/gtest.h>

#include <cmath>
#include <memory>

TEST(MnLine, ClassTree)
{
    MnDynamic dynamic;
    MnOctave octave;
    MnPedal pedal;
    for (MnLine* line : {static_cast<MnLine*>(&dynamic), static_cast<MnLine*>(&octave), static_cast<MnLine*>(&pedal)}) {
        EXPECT_TRUE(line->isKindOf(MnLine::staticClass()));
        EXPECT_TRUE(line->isKindOf(MnElement::staticClass()));
        EXPECT_EQ(line->parent(), nullptr);
        EXPECT_EQ(line->length(), -1);
        EXPECT_EQ(line->width(), 0.0);
    }
    EXPECT_FALSE(dynamic.isKindOf(MnOctave::staticClass()));
    EXPECT_EQ(pedal.dynamicClass(), MnPedal::staticClass());
}

TEST(MnLine, MarksAndSides)
{
    struct Row
    {
        const char* what;
        std::unique_ptr<MnLine> line;
        int kind;
        double offset;
        bool mark;
        bool above;
    };
    Row rows[] = {
        {"mark p below", std::make_unique<MnDynamic>(), MnDynamicP, -12.0, true, false},
        {"crescendo hairpin", std::make_unique<MnDynamic>(), MnDynamicCrescendoHairpin, -12.0, false, false},
        {"diminuendo hairpin above", std::make_unique<MnDynamic>(), MnDynamicDiminuendoHairpin, 3.0, false, true},
        {"word poco dim.", std::make_unique<MnDynamic>(), MnDynamicPocoDim, -3.9, true, true},
        {"middle line is below", std::make_unique<MnDynamic>(), MnDynamicF, -4.0, true, false},
        {"pedal sign alone", std::make_unique<MnPedal>(), MnPedalSign, -14.0, true, false},
        {"pedal line", std::make_unique<MnPedal>(), MnPedalSignLineHook, -14.0, false, false},
        {"8va drawn below still counts as above", std::make_unique<MnOctave>(), MnOctaveOneUp, -10.0, false, true},
        {"8vb drawn above counts as below", std::make_unique<MnOctave>(), MnOctaveOneDown, 6.0, false, false},
    };
    for (Row& row : rows) {
        ASSERT_TRUE(row.line->setKind(row.kind)) << row.what;
        row.line->setOffset(row.offset);
        EXPECT_EQ(row.line->isMark(), row.mark) << row.what;
        EXPECT_EQ(row.line->isAbove(), row.above) << row.what;
    }
}

TEST(MnLine, KindsEachClassKnows)
{
    MnDynamic dynamic;
    MnOctave octave;
    MnPedal pedal;
    int known = 0;
    for (int kind = -128; kind < 128; ++kind)
        known += dynamic.isValidKind(kind);
    EXPECT_EQ(known, 22);
    for (int kind : {0, 7, 9, 13, 20, 23, 30, 33})
        EXPECT_TRUE(dynamic.isValidKind(kind)) << kind;
    for (int kind : {-1, 14, 19, 24, 29, 34})
        EXPECT_FALSE(dynamic.isValidKind(kind)) << kind;
    EXPECT_TRUE(octave.isValidKind(-2));
    EXPECT_TRUE(octave.isValidKind(2));
    EXPECT_FALSE(octave.isValidKind(3));
    EXPECT_FALSE(octave.isValidKind(-3));
    EXPECT_TRUE(pedal.isValidKind(8));
    EXPECT_FALSE(pedal.isValidKind(9));
    EXPECT_FALSE(pedal.isValidKind(-1));

    EXPECT_FALSE(pedal.setKind(9));
    EXPECT_EQ(pedal.kind(), 0);
}

TEST(MnLine, OctavePitchShift)
{
    struct Row
    {
        int kind;
        double offset;
        int shift;
    };
    const Row rows[] = {
        {1, 2.0, 1}, {2, 2.0, 2}, {1, -10.0, -1}, {2, -10.0, -2}, {-1, 2.0, -1}, {-2, -10.0, -2}, {0, -10.0, 0},
        {1, -4.0, 1},
    };
    for (const Row& row : rows) {
        MnOctave octave;
        octave.setKind(row.kind);
        octave.setOffset(row.offset);
        EXPECT_EQ(octave.pitchShift(), row.shift) << row.kind << " at " << row.offset;
    }
}

TEST(MnLine, DynamicSnapsAtItsText)
{
    MnDynamic dynamic;
    dynamic.setKind(MnDynamicMF);
    dynamic.setOffset(2.0);
    BcArray<GePoint2d> points;
    EXPECT_TRUE(dynamic.addSnapPoints(points));
    dynamic.setOffset(-12.0);
    EXPECT_TRUE(dynamic.addSnapPoints(points));
    ASSERT_EQ(points.count(), 2);
    EXPECT_DOUBLE_EQ(points[0].y, 2.3);
    EXPECT_DOUBLE_EQ(points[1].y, -2.5);

    MnPedal pedal;
    EXPECT_TRUE(pedal.addSnapPoints(points));
    ASSERT_EQ(points.count(), 3);
    EXPECT_EQ(points[2].y, 0.0);

    MnOctave octave;
    BcArray<EdGuideLine*> guides;
    EXPECT_TRUE(octave.addGuideLines(guides, nullptr));
    EXPECT_EQ(guides.count(), 0);
}

TEST(MnLine, VerticalDragKeepsClearOfTheStaff)
{
    // Without notes at the start the line keeps 2 to 20 steps clear of the
    // staff's top line above and of its bottom line below.
    struct Row
    {
        double y;
        double offset;
    };
    const Row rows[] = {{30.0, 20.0}, {3.0, 3.0}, {-3.0, 2.0}, {-4.0, -10.0}, {-40.0, -28.0}, {-12.5, -12.5}};
    for (const Row& row : rows) {
        MnDynamic dynamic;
        dynamic.setOffset(-12.0);
        bool moved = dynamic.moveTo(GePoint2d(99.0, row.y));
        EXPECT_EQ(dynamic.offset(), row.offset) << row.y;
        EXPECT_EQ(dynamic.position().x, 0.0);
        EXPECT_EQ(moved, row.offset != -12.0) << row.y;
    }
}

TEST(MnLine, RecordLayout)
{
    MnDynamic dynamic;
    dynamic.setStart(60480, true);
    dynamic.setLength(120960);
    dynamic.setOffset(-12.0);
    dynamic.setKind(MnDynamicPocoMor);
    Bytes expected = RecordBuilder().integer(60480).integer(120960).real(-12.0).character(33).done();
    EXPECT_EQ(recordOf(dynamic), expected);

    MnOctave octave;
    octave.setKind(MnOctaveTwoDown);
    Bytes octaveRecord = recordOf(octave);
    EXPECT_EQ(octaveRecord.back(), 0xFE);
    MnOctave copy;
    ASSERT_TRUE(readRecord(copy, octaveRecord));
    EXPECT_EQ(copy.kind(), -2);
    EXPECT_EQ(copy.length(), -1);
    EXPECT_EQ(recordOf(copy), octaveRecord);
}

TEST(MnLine, OldRecordsCountedFewerTicks)
{
    MnPedal pedal;
    ASSERT_TRUE(readRecord(pedal, RecordBuilder(1).integer(96).integer(192).real(-14.0).character(2).done(), 1));
    EXPECT_EQ(pedal.start(), 60480);
    EXPECT_EQ(pedal.length(), 120960);

    MnPedal unset;
    ASSERT_TRUE(readRecord(unset, RecordBuilder(1).integer(0).integer(-1).real(-14.0).character(2).done(), 1));
    EXPECT_EQ(unset.length(), -1);

    MnPedal current;
    ASSERT_TRUE(readRecord(current, RecordBuilder(2).integer(96).integer(192).real(-14.0).character(2).done(), 2));
    EXPECT_EQ(current.start(), 96);
}

TEST(MnLine, ReadingRefusesWhatCannotBeALine)
{
    struct Row
    {
        const char* what;
        int version;
        int start;
        int length;
        double offset;
        int kind;
    };
    const Row rows[] = {
        {"unknown dynamic kind", 5, 0, 60480, -12.0, 14},
        {"negative start", 5, -1, 60480, -12.0, 2},
        {"negative length", 5, 0, -2, -12.0, 2},
        {"start past any staff", 5, 0x7FFFFFF0, 60480, -12.0, 2},
        {"old start that overflows when scaled", 1, 0x7FFFFFF, 96, -12.0, 2},
        {"old length that overflows when scaled", 1, 0, 0x7FFFFFF, -12.0, 2},
        {"offset not a number", 5, 0, 60480, std::nan(""), 2},
    };
    for (const Row& row : rows) {
        MnDynamic dynamic;
        dynamic.setKind(MnDynamicFF);
        Bytes record = RecordBuilder(row.version)
                           .integer(row.start)
                           .integer(row.length)
                           .real(row.offset)
                           .character(row.kind)
                           .done();
        EXPECT_FALSE(readRecord(dynamic, record, row.version)) << row.what;
        EXPECT_EQ(dynamic.kind(), MnDynamicFF) << row.what;
    }
}

TEST(MnLine, EveryPrefixFails)
{
    MnPedal pedal;
    pedal.setKind(MnPedalSignRelease);
    pedal.setLength(60480);
    Bytes record = recordOf(pedal);
    ASSERT_EQ(record.size(), 17u);
    for (size_t length = 0; length < record.size(); ++length) {
        MnPedal partial;
        EXPECT_FALSE(readRecord(partial, Bytes(record.begin(), record.begin() + length))) << length;
    }
}
