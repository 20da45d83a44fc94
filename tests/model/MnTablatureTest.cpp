#include "model/MnTablature.h"

#include "common/TestPrinters.h"
#include "foundation/BcClass.h"
#include "model/MnScore.h"
#include "model/MnStaff.h"
#include "model/RecordBytes.h"
#include "model/TextRecord.h"

#include <gtest/gtest.h>

#include <cmath>

TEST(MnTablature, NewTablatureIsAGuitar)
{
    MnTablature tablature;
    EXPECT_TRUE(tablature.isKindOf(MnText::staticClass()));
    EXPECT_EQ(tablature.stringCount(), 6);
    EXPECT_EQ(tablature.frets(), 19);
    EXPECT_FALSE(tablature.isCapoOn());
    EXPECT_EQ(tablature.capoFret(), 1);
    EXPECT_FALSE(tablature.fretsFromCapo());
    EXPECT_EQ(tablature.distance(), 12.0);
    EXPECT_EQ(tablature.height(), 15.0);
    ASSERT_NE(tablature.label(), nullptr);
    EXPECT_EQ(tablature.label()->size(), 12.0);
    // E5 B4 G4 D4 A3 E3, then two unused A0 strings.
    const int steps[] = {2, 6, 4, 1, 5, 2, 5, 5};
    const int octaves[] = {5, 4, 4, 4, 3, 3, 0, 0};
    for (int i = 0; i < MnTablature::maxStrings; ++i) {
        EXPECT_EQ(tablature.tuning(i).step, steps[i]) << i;
        EXPECT_EQ(tablature.tuning(i).octave, octaves[i]) << i;
        EXPECT_EQ(tablature.tuning(i).accidental, 0) << i;
    }
}

TEST(MnTablature, SettersKeepValuesTheRecordCanHold)
{
    MnTablature tablature;
    tablature.setFrets(99);
    EXPECT_EQ(tablature.frets(), 63);
    tablature.setFrets(-3);
    EXPECT_EQ(tablature.frets(), 0);
    tablature.setCapoFret(70);
    EXPECT_EQ(tablature.capoFret(), 63);
    tablature.setStringCount(0);
    EXPECT_EQ(tablature.stringCount(), 1);
    tablature.setStringCount(12);
    EXPECT_EQ(tablature.stringCount(), 8);
    EXPECT_FALSE(tablature.setTuning(8, 0, 4, 0));
    EXPECT_FALSE(tablature.setTuning(0, 7, 4, 0));
    EXPECT_FALSE(tablature.setTuning(0, 0, 4, 3));
    EXPECT_FALSE(tablature.setTuning(0, 2, 18, 0));
    EXPECT_FALSE(tablature.setTuning(0, 0, -1, 0));
    EXPECT_TRUE(tablature.setTuning(0, 1, 18, -2));
    EXPECT_EQ(tablature.tuning(0).octave, 18);
}

TEST(MnTablature, RecordAlwaysHoldsEightStrings)
{
    MnTablature tablature;
    tablature.setName(BcString("Bass"));
    tablature.setAbbreviation(BcString("B."));
    tablature.setStringCount(4);
    tablature.setTuning(0, 4, 2, 0);
    tablature.setTuning(1, 1, 2, 1);
    tablature.setFrets(24);
    tablature.setFretsFromCapo(true);
    tablature.setCapoOn(true);
    tablature.setCapoFret(3);
    Bytes record = recordOf(tablature);
    Bytes text = textRecordOf(tablature);
    RecordBuilder expected;
    expected.bytes(text).real(12.0).string("Bass").string("B.").byte(4);
    const int values[] = {18, 15, 32, 29, 26, 23, 5, 5};
    const int accidentals[] = {0, 1, 0, 0, 0, 0, 0, 0};
    for (int i = 0; i < 8; ++i)
        expected.character(values[i]).character(accidentals[i]);
    expected.byteAndFlag(24, true).byteAndFlag(3, true);
    EXPECT_EQ(record, expected.done());

    MnTablature copy;
    ASSERT_TRUE(readRecord(copy, record));
    EXPECT_EQ(copy.stringCount(), 4);
    EXPECT_EQ(copy.tuning(1).step, 1);
    EXPECT_EQ(copy.tuning(1).octave, 2);
    EXPECT_EQ(copy.tuning(1).accidental, 1);
    EXPECT_EQ(copy.frets(), 24);
    EXPECT_TRUE(copy.isCapoOn());
    EXPECT_EQ(copy.capoFret(), 3);
    EXPECT_EQ(recordOf(copy), record);

    for (size_t length = 0; length < record.size(); ++length) {
        MnTablature partial;
        EXPECT_FALSE(readRecord(partial, Bytes(record.begin(), record.begin() + length))) << length;
    }
}

TEST(MnTablature, ReadingClampsWhatIsOnlyDrawnAndRefusesAPitchBelowTheTable)
{
    Bytes text = defaultTextRecord(5);
    auto record = [&](double distance, int count, int pitch, int accidental, int frets, int capo) {
        RecordBuilder builder;
        builder.bytes(text).real(distance).string("").string("").byte((unsigned char)count);
        builder.character(pitch).character(accidental);
        for (int i = 1; i < 8; ++i)
            builder.character(28).character(0);
        builder.byteAndFlag(frets, false).byteAndFlag(capo, false);
        return builder.done();
    };
    struct Row
    {
        const char* what;
        double distance;
        int count;
        int pitch;
        int accidental;
        int frets;
        int capo;
        bool ok;
        double readDistance;
        int readCount;
        int readAccidental;
        int readFrets;
        int readCapo;
    };
    const Row rows[] = {
        {"no strings reads as one", 12.0, 0, 30, 0, 19, 1, true, 12.0, 1, 0, 19, 1},
        {"nine strings read as eight", 12.0, 9, 30, 0, 19, 1, true, 12.0, 8, 0, 19, 1},
        {"255 strings read as eight", 12.0, 255, 30, 0, 19, 1, true, 12.0, 8, 0, 19, 1},
        {"negative frets read as none", 12.0, 6, 30, 0, -5, -64, true, 12.0, 6, 0, 0, 0},
        {"unknown accidental reads as natural", 12.0, 6, 30, 7, 19, 1, true, 12.0, 6, 0, 19, 1},
        {"distance closer than the least", 3.0, 6, 30, -2, 19, 1, true, 12.0, 6, -2, 19, 1},
        {"distance not a number", std::nan(""), 6, 30, 0, 19, 1, true, 12.0, 6, 0, 19, 1},
        {"larger distance kept", 20.5, 6, 30, 0, 63, 63, true, 20.5, 6, 0, 63, 63},
        {"pitch below C0", 12.0, 6, -1, 0, 19, 1, false, 12.0, 6, 0, 19, 1},
    };
    for (const Row& row : rows) {
        MnTablature tablature;
        EXPECT_EQ(readRecord(tablature, record(row.distance, row.count, row.pitch, row.accidental, row.frets,
                                               row.capo)),
                  row.ok)
            << row.what;
        EXPECT_EQ(tablature.distance(), row.readDistance) << row.what;
        EXPECT_EQ(tablature.stringCount(), row.readCount) << row.what;
        EXPECT_EQ(tablature.tuning(0).accidental, row.readAccidental) << row.what;
        EXPECT_EQ(tablature.frets(), row.readFrets) << row.what;
        EXPECT_EQ(tablature.capoFret(), row.readCapo) << row.what;
        if (row.ok) {
            EXPECT_EQ(tablature.tuning(0).octave, 4) << row.what;
            EXPECT_EQ(tablature.tuning(0).step, 2) << row.what;
        }
    }
}

TEST(MnTablature, DistanceFromTheStaff)
{
    MnScore score;
    MnStaff* staff = score.staff(0);
    MnTablature* tablature = new MnTablature(staff);
    staff->setTablature(tablature);
    EXPECT_EQ(tablature->parent(), staff);
    double staffHeight = staff->height();
    EXPECT_DOUBLE_EQ(tablature->position().y, -staffHeight - 12.0);
    EXPECT_EQ(tablature->width(), staff->width());

    // Up beyond the staff the distance stays 12.
    EXPECT_TRUE(tablature->moveTo(GePoint2d(0.0, 5.0)));
    EXPECT_EQ(tablature->distance(), 12.0);
    EXPECT_TRUE(tablature->moveTo(GePoint2d(7.0, -staffHeight - 30.0)));
    EXPECT_DOUBLE_EQ(tablature->distance(), 30.0);
    EXPECT_FALSE(tablature->moveTo(tablature->position()));
}
