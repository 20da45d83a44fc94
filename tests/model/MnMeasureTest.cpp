#include "model/MnMeasure.h"

#include "model/MnChord.h"
#include "model/MnCodes.h"
#include "model/MnScore.h"
#include "model/MnStaff.h"
#include "model/ModelBuilders.h"
#include "model/RecordBytes.h"

#include <gtest/gtest.h>

#include <vector>

static std::vector<int> durationsOf(const MnMeasure& measure, int voice)
{
    std::vector<int> values;
    for (int i = 0; i < measure.chordCount(voice, false); ++i)
        values.push_back(measure.chordAt(i, voice, false)->duration());
    return values;
}

TEST(MnMeasure, ANewMeasureIsFilledWithRestsForItsMeter)
{
    const struct
    {
        int type;
        int beats;
        int beatTicks;
        std::vector<int> rests;
    } cases[] = {
        {MnTime4_4, 4, 60480, {241920}},
        {MnTime3_4, 3, 60480, {120960, 60480}},
        {MnTime6_8, 6, 30240, {120960, 60480}},
        {MnTime9_8, 9, 30240, {241920, 30240}},
        {MnTime12_8, 12, 30240, {241920, 120960}},
        {MnTime2_2, 2, 120960, {241920}},
        {42, 4, 60480, {241920}},
    };
    MnScore score;
    for (const auto& c : cases) {
        MnMeasure measure(score.staff(0), 1, c.type);
        SCOPED_TRACE(c.type);
        EXPECT_EQ(measure.beats(), c.beats);
        EXPECT_EQ(measure.beatTicks(), c.beatTicks);
        for (int voice = 0; voice < MnMeasure::voiceCount; ++voice) {
            EXPECT_EQ(durationsOf(measure, voice), c.rests);
            int time = 0;
            for (int i = 0; i < measure.chordCount(voice, false); ++i) {
                const MnChord* rest = measure.chordAt(i, voice, false);
                EXPECT_TRUE(rest->isRest());
                EXPECT_EQ(rest->time(), time);
                EXPECT_EQ(rest->voice(), voice);
                EXPECT_EQ(rest->parent(), &measure);
                time += rest->soundingDuration();
            }
        }
    }
    // Both voices of a new 3/4 measure are whole-measure rests.
    score.staff(0)->setTimeType(MnTime3_4);
    MnMeasure threeFour(score.staff(0), 1, MnTime3_4);
    EXPECT_TRUE(threeFour.isMeasureRest(0));
    EXPECT_TRUE(threeFour.isMeasureRest(1));
    // A 4/4 measure cut to three beats is no whole-measure rest.
    score.staff(0)->setTimeType(MnTime4_4);
    MnMeasure shortened(score.staff(0), 1, MnTime4_4);
    shortened.setBeats(3);
    EXPECT_FALSE(shortened.isMeasureRest(0));
}

TEST(MnMeasure, FillingGapsUsesTheRatioAndTheLongestValues)
{
    MnScore score;
    MnMeasure* measure = score.staff(0)->measure(0);
    BcArray<MnChord*>& chords = measure->voiceChords(0);
    setVoice(measure, 0, {MnTicksQuarter});
    chords[0]->setTime(MnTicksQuarter);
    measure->fillGapsWithRests(0, 1, 1);
    EXPECT_EQ(durationsOf(*measure, 0), (std::vector<int>{60480, 60480, 120960}));
    EXPECT_EQ(chords[2]->time(), MnTicksHalf);

    // In a triplet ratio, an eighth triplet slot of 20160 ticks takes an eighth.
    setVoice(measure, 1, {});
    measure->fillGapsWithRests(1, 3, 2);
    EXPECT_EQ(durationsOf(*measure, 1), (std::vector<int>{241920, 120960}));
    EXPECT_EQ(measure->voiceChords(1)[0]->actual(), 3);
    EXPECT_EQ(measure->voiceChords(1)[1]->time(), 161280);
}

TEST(MnMeasure, StartTimesNumbersAndVoltaTexts)
{
    MnScore score;
    MnStaff* staff = score.staff(0);
    ASSERT_TRUE(staff->insertMeasure(-1, MnTime3_4));
    ASSERT_TRUE(staff->insertMeasure(-1, MnTime4_4));
    EXPECT_EQ(staff->measure(2)->startTime(), 423360);
    EXPECT_EQ(staff->measure(2)->index(), 3);
    EXPECT_EQ(staff->measure(1)->nextMeasure(), staff->measure(2));
    EXPECT_EQ(staff->measure(2)->nextMeasure(), nullptr);
    EXPECT_EQ(staff->totalTicks(), 241920 * 2 + 181440);

    MnMeasure* measure = staff->measure(0);
    measure->setVoltaMask(0x203);
    EXPECT_EQ(measure->voltaText(false), BcString("1. 2. 10."));
    EXPECT_TRUE(measure->voltaText(true).isEmpty());
    ASSERT_NE(score.insertStaff(-1), nullptr);
    EXPECT_TRUE(measure->setVoltaText(BcString("1.-3.")));
    EXPECT_EQ(score.staff(1)->measure(0)->voltaText(false), BcString("1.-3."));
}

TEST(MnMeasure, VisibleChordCountsSkipGraceChordsAndLaterHiddenRests)
{
    MnScore score;
    MnMeasure* measure = score.staff(0)->measure(0);
    setVoice(measure, 0, {MnTicksQuarter, MnTicksQuarter, MnTicksHalf});
    measure->voiceChords(0)[0]->addNote(0, 5, 3, false);
    measure->voiceChords(0)[1]->setHidden(true);
    insertGraceChord(measure, 0, 2, MnTicksEighth);
    EXPECT_EQ(measure->chordCount(0, false), 4);
    EXPECT_EQ(measure->chordCount(0, true), 2);
    EXPECT_EQ(measure->chordAt(1, 0, true), measure->voiceChords(0)[3]);
    EXPECT_EQ(measure->chordAt(2, 0, true), nullptr);
    EXPECT_EQ(measure->chordCount(1, true), 1);
    EXPECT_EQ(measure->chordAt(0, 1, true), measure->voiceChords(1)[0]);
}

TEST(MnMeasure, RecordsRoundTripAndOldOnesScaleTheirTicks)
{
    MnScore score;
    MnMeasure* measure = score.staff(0)->measure(0);
    setVoice(measure, 0, {MnTicksHalf, MnTicksHalf});
    measure->voiceChords(0)[0]->addNote(0, 5, 3, false);
    insertGraceChord(measure, 0, 2, MnTicksSixteenth);
    measure->setBarline(MnBarlineEndRepeat);
    measure->setRepeatCount(3);
    measure->setToTablature(false);
    measure->setVoltaMask(0x3);
    measure->setVoltaText(BcString("1, 2"));
    measure->setVoltaClosed(true);
    measure->setRepeatMarker(MnRepeatMarkerSegno);
    measure->setRepeatJump(MnRepeatJumpDalSegnoAlCoda);
    measure->setSystemBreak(MnSystemBreakPage);
    measure->setUserWidth(2.5);
    const Bytes record = recordOf(*measure);

    MnMeasure copy(score.staff(0), 1, MnTime3_4);
    ASSERT_TRUE(readRecord(copy, record));
    EXPECT_EQ(recordOf(copy), record);
    EXPECT_EQ(copy.beats(), 4);
    ASSERT_EQ(copy.chordCount(0, false), 3);
    // Times are rebuilt from the values; a grace chord at the end gets the
    // measure's length.
    EXPECT_EQ(copy.voiceChords(0)[1]->time(), MnTicksHalf);
    EXPECT_EQ(copy.voiceChords(0)[2]->time(), MnTicksPerWhole);
    EXPECT_EQ(copy.repeatCount(), 3);
    EXPECT_EQ(copy.repeatJump(), MnRepeatJumpDalSegnoAlCoda);
    EXPECT_EQ(copy.userWidth(), 2.5);
}

TEST(MnMeasure, ARecordWithFewerVoicesRefillsTheOthers)
{
    MnScore score;
    MnMeasure measure(score.staff(0), 1, MnTime4_4);
    setVoice(&measure, 1, {MnTicksHalf, MnTicksHalf});
    const Bytes record = RecordBuilder().byteAndFlag(0, true).byteAndFlag(2, true).integer(2).integer(120960).integer(1)
                             .integer(1).integer(241920).byteAndFlag(-4, false).byte(0).byte(0x05).byte(0).byte(0).byte(0x11)
                             .shortValue(0).string("").boolean(false).byte(0).character(0).real(0).done();
    ASSERT_TRUE(readRecord(measure, record));
    EXPECT_EQ(durationsOf(measure, 0), (std::vector<int>{241920}));
    EXPECT_EQ(durationsOf(measure, 1), (std::vector<int>{241920}));
}

TEST(MnMeasure, DamagedRecordsFail)
{
    // A valid 4/4 record with one whole rest per voice; each case replaces
    // one value.
    auto build = [](int barline, int repeatCount, int beats, int beatTicks, int voices, int chords, int markerAndJump,
                    int systemBreak) {
        RecordBuilder record;
        record.byteAndFlag(barline, true).byteAndFlag(repeatCount, true).integer(beats).integer(beatTicks).integer(voices);
        for (int voice = 0; voice < 2; ++voice) {
            record.integer(chords);
            record.integer(241920).byteAndFlag(-4, false).byte(0).byte(0x05).byte(0).byte(0).byte(0x11);
        }
        record.shortValue(0).string("").boolean(false).byte((unsigned char)markerAndJump).character(systemBreak).real(0);
        return record.done();
    };
    const struct
    {
        const char* name;
        Bytes record;
        bool ok;
    } cases[] = {
        {"valid", build(0, 2, 4, 60480, 2, 1, 0, 0), true},
        {"a measure of 0 beats", build(0, 2, 0, 60480, 2, 1, 0, 0), false},
        {"negative beat ticks", build(0, 2, 4, -60480, 2, 1, 0, 0), false},
        {"more beats than a measure may hold", build(0, 2, 300, 60480, 2, 1, 0, 0), false},
        {"three voices", build(0, 2, 4, 60480, 3, 1, 0, 0), false},
        {"a chord count near 2^31", build(0, 2, 4, 60480, 2, 0x7FFFFFF0, 0, 0), false},
        {"a negative chord count", build(0, 2, 4, 60480, 2, -1, 0, 0), false},
        {"an unknown bar line", build(6, 2, 4, 60480, 2, 1, 0, 0), false},
        {"a repeat count of 0", build(0, 0, 4, 60480, 2, 1, 0, 0), false},
        {"an unknown jump", build(0, 2, 4, 60480, 2, 1, 0x07, 0), false},
        {"an unknown marker", build(0, 2, 4, 60480, 2, 1, 0x30, 0), false},
        {"an unknown system break", build(0, 2, 4, 60480, 2, 1, 0, 3), false},
    };
    MnScore score;
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        MnMeasure measure(score.staff(0), 1, MnTime4_4);
        EXPECT_EQ(readRecord(measure, c.record), c.ok);
        // Whatever failed, every voice still holds a chord.
        EXPECT_GE(measure.chordCount(0, false), 1);
        EXPECT_GE(measure.chordCount(1, false), 1);
    }
}
