#include "model/MnTuplet.h"

#include "model/MnChord.h"
#include "model/MnMeasure.h"
#include "model/MnScore.h"
#include "model/MnStaff.h"
#include "model/ModelBuilders.h"
#include "model/RecordBytes.h"

#include <gtest/gtest.h>

TEST(MnTuplet, ATripletShowsItsNumberAtSize10AndNeverMoves)
{
    MnChord chord(nullptr, 0, 0, MnTicksEighth);
    MnTuplet tuplet(&chord, MnTicksQuarter, 3, false);
    EXPECT_EQ(tuplet.text(), BcString("3"));
    EXPECT_EQ(tuplet.size(), 10.0);
    EXPECT_EQ(tuplet.parent(), &chord);
    EXPECT_EQ(tuplet.height(), 8.0);
    EXPECT_FALSE(tuplet.moveTo(GePoint2d(3.0, 3.0)));
    EXPECT_EQ(tuplet.position().x, 0.0);
}

TEST(MnTuplet, RecordKeepsNumberAndAlternativeInOneInt)
{
    MnChord chord(nullptr, 0, 0, MnTicksSixteenth);
    MnTuplet tuplet(&chord, MnTicksQuarter, 5, true);
    tuplet.setHidden(true);
    tuplet.setBracket(2);
    tuplet.setDirection(-1);
    MnText text;
    text.setText(BcString("5"));
    text.setSize(10.0);
    const Bytes expected = RecordBuilder().record(text).integer(60480).integer(261).byteAndFlag(2, true).character(-1).done();
    EXPECT_EQ(recordOf(tuplet), expected);

    MnTuplet copy(&chord, 1, 3, false);
    ASSERT_TRUE(readRecord(copy, expected));
    EXPECT_EQ(copy.span(), MnTicksQuarter);
    EXPECT_EQ(copy.number(), 5);
    EXPECT_TRUE(copy.isAlternative());
    EXPECT_TRUE(copy.isHidden());
    EXPECT_EQ(copy.bracket(), 2);
    EXPECT_EQ(copy.direction(), -1);

    // Any of bits 8-15 sets the alternative flag; the span of version 1 counts
    // 384 ticks to the whole note; a span of 0 is a damaged record.
    MnTuplet old(&chord, 1, 3, false);
    ASSERT_TRUE(readRecord(old, RecordBuilder(1).real(0).real(0).integer(0).string("3").integer(0).real(10.0).integer(96)
                                    .integer(0x8003).byteAndFlag(0, false).character(0).done(), 1));
    EXPECT_EQ(old.span(), 60480);
    EXPECT_TRUE(old.isAlternative());
    MnTuplet empty(&chord, 1, 3, false);
    EXPECT_FALSE(readRecord(empty, RecordBuilder().record(text).integer(0).integer(3).byteAndFlag(0, false).character(0).done()));
}

TEST(MnTuplet, RemovingItFromItsChordUndoesTheTupletInTheMeasure)
{
    MnScore score;
    MnMeasure* measure = score.staff(0)->measure(0);
    MnChord* first = setVoice(measure, 0, {MnTicksEighth, MnTicksEighth, MnTicksEighth, MnTicksQuarter + MnTicksHalf});
    for (int i = 0; i < 3; ++i) {
        measure->voiceChords(0)[i]->setRatio(3, 2);
        measure->voiceChords(0)[i]->setTime(i * 20160);
    }
    measure->voiceChords(0)[3]->setTime(MnTicksQuarter);
    MnTuplet* tuplet = new MnTuplet(first, MnTicksQuarter, 3, false);
    first->setTuplet(tuplet);
    first->addNote(0, 5, 3, false);

    EXPECT_TRUE(first->removeChild(tuplet));
    ASSERT_EQ(measure->chordCount(0, false), 2);
    EXPECT_EQ(measure->voiceChords(0)[0], first);
    EXPECT_EQ(first->duration(), MnTicksQuarter);
    EXPECT_EQ(first->actual(), 1);
    EXPECT_EQ(first->normal(), 1);
    EXPECT_EQ(first->tuplet(), nullptr);
    EXPECT_EQ(first->noteCount(), 1);
    EXPECT_FALSE(measure->removeTuplet(0, 0, nullptr));
}
