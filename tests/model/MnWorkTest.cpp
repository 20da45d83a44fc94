#include "model/MnWork.h"

#include "common/TestPrinters.h"
#include "foundation/BcClass.h"
#include "model/RecordBytes.h"

#include <gtest/gtest.h>

TEST(MnWork, NewWorkWritesSixEmptyTexts)
{
    BcObject* made = MnWork::staticClass()->createObject();
    ASSERT_NE(made, nullptr);
    ASSERT_TRUE(made->isKindOf(MnWork::staticClass()));
    MnWork* work = static_cast<MnWork*>(made);
    EXPECT_EQ(recordOf(*work), Bytes(12, 0));
    EXPECT_EQ(work->parent(), nullptr);
    delete made;
}

TEST(MnWork, NeverMoves)
{
    MnWork work;
    EXPECT_FALSE(work.moveTo(GePoint2d(3.0, 4.0)));
    EXPECT_EQ(work.position().x, 0.0);
    EXPECT_EQ(work.position().y, 0.0);
    EXPECT_EQ(work.width(), 0.0);
    EXPECT_EQ(work.height(), 0.0);
}

TEST(MnWork, RecordRoundTripsAndStopsAtTheEnd)
{
    MnWork work;
    work.title = BcString("Sonata");
    work.subtitle = BcString("No. 2");
    work.composer = BcString("Anon.");
    work.arranger = BcString("Arr.");
    work.lyricist = BcString("Verse");
    work.copyright = BcString("\xC2\xA9 public");
    Bytes record = recordOf(work);

    MnWork copy;
    ASSERT_TRUE(readRecord(copy, record));
    EXPECT_EQ(copy.title, BcString("Sonata"));
    EXPECT_EQ(copy.copyright, BcString("\xC2\xA9 public"));
    EXPECT_EQ(recordOf(copy), record);

    // Every shorter prefix runs out before the last text is complete.
    for (size_t length = 0; length < record.size(); ++length) {
        MnWork partial;
        EXPECT_FALSE(readRecord(partial, Bytes(record.begin(), record.begin() + length))) << length;
    }
}
