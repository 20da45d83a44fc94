#include "model/MnScore.h"

#include "foundation/BcClass.h"
#include "model/MnChord.h"
#include "model/MnCodes.h"
#include "model/MnMeasure.h"
#include "model/MnMeasureNumber.h"
#include "model/MnPart.h"
#include "model/MnPartGroup.h"
#include "model/MnStaff.h"
#include "model/MnStaffChange.h"
#include "model/MnTempo.h"
#include "model/MnTicks.h"
#include "model/RecordBytes.h"

#include "common/TestPrinters.h"

#include <gtest/gtest.h>

#include <utility>
#include <vector>

typedef std::vector<std::pair<int, int>> GroupRanges;

static GroupRanges groupsOf(const MnScore& score)
{
    GroupRanges ranges;
    for (int i = 0; i < score.partGroupCount(); ++i)
        ranges.push_back({score.partGroup(i)->firstStaff(), score.partGroup(i)->staffCount()});
    return ranges;
}

static MnScore* scoreWithStaves(int count)
{
    MnScore* score = new MnScore;
    while (score->staffCount() < count)
        score->insertStaff(-1);
    return score;
}

TEST(MnScore, ANewScoreHasOneStaffPartAndTempoMark)
{
    MnScore score;
    EXPECT_EQ(score.staffCount(), 1);
    EXPECT_EQ(score.part(0)->parent(), &score);
    EXPECT_EQ(score.staff(0)->index(), 0);
    EXPECT_EQ(score.staff(0)->measureCount(), 1);
    EXPECT_EQ(score.tempoCount(), 1);
    EXPECT_TRUE(score.showsStartingTempo());
    EXPECT_FALSE(score.hidesStaves());
    EXPECT_EQ(score.scale(), 1.0);
    EXPECT_EQ(score.parent(), nullptr);

    MnMeasureNumber* measureNumber = score.measureNumberTemplate();
    EXPECT_EQ(measureNumber->parent(), &score);
    EXPECT_EQ(measureNumber->alignment(), 7);
    EXPECT_EQ(measureNumber->text(), BcString("@measure"));
    EXPECT_EQ(measureNumber->size(), 8.0);
    EXPECT_EQ(measureNumber->position().y, 7.0);

    // The flags byte sits right before the template's record.
    const Bytes record = recordOf(score);
    const Bytes numberRecord = recordOf(*measureNumber);
    ASSERT_GT(record.size(), numberRecord.size());
    EXPECT_EQ(record[record.size() - numberRecord.size() - 1], 1);

    BcObject* made = MnScore::staticClass()->createObject();
    ASSERT_NE(made, nullptr);
    EXPECT_EQ(static_cast<MnScore*>(made)->staffCount(), 1);
    delete made;
}

TEST(MnScore, MeasureNumberTemplateStaysInItsBand)
{
    MnScore score;
    MnMeasureNumber* number = score.measureNumberTemplate();
    EXPECT_TRUE(number->moveTo(GePoint2d(5.0, 20.0)));
    EXPECT_EQ(number->position().x, 0.0);
    EXPECT_EQ(number->position().y, 12.0);
    EXPECT_TRUE(number->moveTo(GePoint2d(3.0, -4.0)));
    EXPECT_EQ(number->position().y, 0.0);
    EXPECT_FALSE(number->moveTo(GePoint2d(8.0, -1.0)));

    number->setFont(5);
    MnText* text = score.measureNumberText(4);
    EXPECT_EQ(text->text(), BcString("5"));
    EXPECT_EQ(text->font(), 5);
    EXPECT_EQ(text->size(), 8.0);
    EXPECT_EQ(text->alignment(), 7);
    EXPECT_EQ(score.measureNumberText(-1), number);
}

TEST(MnScore, RemovingChildren)
{
    MnScore score;
    EXPECT_FALSE(score.removeStaff(0));
    EXPECT_FALSE(score.removeChild(score.staff(0)));
    EXPECT_EQ(score.staffCount(), 1);

    MnTempo* first = score.tempo(0);
    EXPECT_TRUE(score.removeChild(first));
    EXPECT_EQ(score.tempoCount(), 1);
    EXPECT_FALSE(score.showsStartingTempo());
    score.tempoArray().add(new MnTempo(&score));
    EXPECT_TRUE(score.removeChild(score.tempo(1)));
    EXPECT_EQ(score.tempoCount(), 1);

    score.insertStaff(-1);
    score.insertStaff(-1);
    MnPart* middle = score.part(1);
    MnStaff* last = score.staff(2);
    EXPECT_TRUE(score.removeChild(middle));
    ASSERT_EQ(score.staffCount(), 2);
    EXPECT_EQ(score.staff(1), last);
    EXPECT_EQ(last->index(), 1);
    EXPECT_EQ(score.part(1)->staffIndex(), 1);
    EXPECT_FALSE(score.removeChild(&score));
}

TEST(MnScore, InsertingAStaffCopiesTheMeasureColumnsAndTimeChanges)
{
    MnScore score;
    MnStaff* first = score.staff(0);
    first->insertMeasure(-1, MnTime3_4);
    first->insertStaffChange(MnTicksPerWhole);
    first->change(0)->setTimeType(MnTime3_4);
    first->change(0)->setClef(MnClefBass);
    first->measure(1)->setBarline(MnBarlineFinal);
    first->measure(1)->setVoltaMask(2);
    first->measure(1)->setVoltaText(BcString("second"));
    MnStaff* added = score.insertStaff(0);
    ASSERT_EQ(score.staff(0), added);
    EXPECT_EQ(first->index(), 1);
    ASSERT_EQ(added->measureCount(), 2);
    EXPECT_EQ(added->measure(1)->beats(), 3);
    EXPECT_TRUE(added->measure(1)->isMeasureRest(0));
    EXPECT_EQ(added->measure(1)->barline(), MnBarlineFinal);
    EXPECT_EQ(added->measure(1)->voltaMask(), 2);
    EXPECT_EQ(added->measure(1)->voltaText(true), BcString("second"));
    ASSERT_EQ(added->changeCount(), 1);
    EXPECT_EQ(added->change(0)->time(), MnTime3_4);
    EXPECT_EQ(added->change(0)->clef(), MnClefTreble);
}

TEST(MnScore, PartGroupsFollowInsertedAndRemovedStaves)
{
    {
        MnScore* score = scoreWithStaves(3);
        score->addPartGroup(0, 3);
        score->insertStaff(1);
        EXPECT_EQ(groupsOf(*score), (GroupRanges{{0, 4}}));
        score->insertStaff(0);
        EXPECT_EQ(groupsOf(*score), (GroupRanges{{1, 4}}));
        delete score;
    }
    {
        MnScore* score = scoreWithStaves(3);
        score->addPartGroup(0, 2);
        score->removeStaff(1);
        EXPECT_EQ(groupsOf(*score), GroupRanges{});
        delete score;
    }
    {
        MnScore* score = scoreWithStaves(4);
        score->addPartGroup(0, 3);
        score->removeStaff(2);
        EXPECT_EQ(groupsOf(*score), (GroupRanges{{0, 2}}));
        score->removeStaff(0);
        EXPECT_EQ(groupsOf(*score), GroupRanges{});
        delete score;
    }
    {
        MnScore* score = scoreWithStaves(4);
        score->addPartGroup(0, 2);
        score->addPartGroup(0, 3);
        score->removeStaff(2);
        EXPECT_EQ(groupsOf(*score), (GroupRanges{{0, 2}}));
        delete score;
    }
}

TEST(MnScore, WhichRangesMayBeGrouped)
{
    MnScore* score = scoreWithStaves(4);
    score->addPartGroup(0, 2);
    const struct
    {
        int first, count;
        bool allowed;
    } cases[] = {
        {1, 2, false}, // crosses (0, 2)
        {0, 3, true},  // nests around it
        {0, 2, false}, // the same range
        {1, 3, false}, // starts inside (0, 2) and ends after it
        {2, 2, true},
        {3, 2, false}, // past the last staff
        {-1, 2, false},
        {0, 0, false},
        {2, 1, false}, // one staff without a tablature
    };
    for (const auto& c : cases)
        EXPECT_EQ(score->canGroupStaves(c.first, c.count), c.allowed) << c.first << "," << c.count;
    EXPECT_EQ(score->addPartGroup(1, 2), nullptr);
    EXPECT_NE(score->addPartGroup(2, 2), nullptr);
    delete score;
}

TEST(MnScore, MeasureColumnsAreInsertedAndRemovedInEveryStaff)
{
    MnScore* score = scoreWithStaves(2);
    score->staff(1)->insertStaffChange(1); // no measure starts there
    EXPECT_TRUE(score->insertMeasure(-1));
    EXPECT_TRUE(score->insertMeasure(0));
    for (int i = 0; i < 2; ++i) {
        ASSERT_EQ(score->staff(i)->measureCount(), 3);
        EXPECT_EQ(score->staff(i)->measure(2)->index(), 3);
    }
    EXPECT_TRUE(score->removeMeasure(1));
    EXPECT_EQ(score->staff(0)->measureCount(), 2);
    EXPECT_EQ(score->staff(1)->measure(1)->index(), 2);
    EXPECT_FALSE(score->removeMeasure(5));
    delete score;
}

TEST(MnScore, ReadingKeepsStavesAndPartsInStepAndAlwaysHasATempo)
{
    MnScore* source = scoreWithStaves(2);
    source->setName(BcString("Etude"));
    source->addPartGroup(0, 2);
    source->setScale(0.8);
    source->setHideStaves(true);
    source->setShowStartingTempo(false);
    const Bytes record = recordOf(*source);
    MnScore copy;
    ASSERT_TRUE(readRecord(copy, record));
    EXPECT_EQ(recordOf(copy), record);
    EXPECT_EQ(copy.name(), BcString("Etude"));
    EXPECT_EQ(copy.staffCount(), 2);
    EXPECT_EQ(copy.staff(1)->index(), 1);
    EXPECT_EQ(copy.part(1)->staffIndex(), 1);
    EXPECT_EQ(copy.partGroup(0)->parent(), &copy);
    EXPECT_EQ(copy.scale(), 0.8);
    EXPECT_TRUE(copy.hidesStaves());
    EXPECT_FALSE(copy.showsStartingTempo());
    EXPECT_TRUE(copy.copyFrom(source));
    EXPECT_EQ(recordOf(copy), record);
    delete source;
}

TEST(MnScore, ScaleChangesOnlyToAPositiveNewValue)
{
    MnScore score;
    EXPECT_FALSE(score.setScale(1.0));
    EXPECT_FALSE(score.setScale(0.0));
    EXPECT_FALSE(score.setScale(-2.0));
    EXPECT_TRUE(score.setScale(1.5));
    EXPECT_EQ(score.scale(), 1.5);
    EXPECT_EQ(score.staff(0)->scale(), 1.5);
    EXPECT_EQ(score.measureNumberTemplate()->scale(), 1.5);

    // A record with a scale of 0 reads as scale 1: positions are divided by it.
    MnScore source;
    Bytes record = recordOf(source);
    const size_t scaleOffset = 2 + 8 + 8; // empty name, x, y
    for (size_t i = 0; i < 8; ++i)
        record[scaleOffset + i] = 0;
    MnScore copy;
    copy.setScale(2.0);
    ASSERT_TRUE(readRecord(copy, record));
    EXPECT_EQ(copy.scale(), 1.0);
}
