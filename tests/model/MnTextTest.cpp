#include "model/MnPageNumber.h"
#include "model/MnText.h"

#include "common/TestPrinters.h"
#include "foundation/BcClass.h"
#include "model/RecordBytes.h"

#include <gtest/gtest.h>

// Counts relayouts, to see which setters lay the text out again.
class MnTextRelayoutCounter : public MnText
{
public:
    void relayout() override
    {
        ++relayouts;
        MnText::relayout();
    }
    int relayouts = 0;
};

TEST(MnText, DefaultsAndElementBase)
{
    MnText text;
    EXPECT_EQ(text.parent(), nullptr);
    EXPECT_EQ(text.alignment(), 0);
    EXPECT_TRUE(text.text().isEmpty());
    EXPECT_EQ(text.font(), 0);
    EXPECT_EQ(text.size(), 12.0);
    EXPECT_FALSE(text.isUnderlined());
    EXPECT_EQ(text.height(), 12.0);
    EXPECT_EQ(text.width(), 0.0);

    // Without a parent the page position is the point itself and the scale 1.
    GePoint2d page = text.toPageCoordinates(GePoint2d(3.5, -2.0), nullptr);
    EXPECT_EQ(page.x, 3.5);
    EXPECT_EQ(page.y, -2.0);
    EXPECT_EQ(text.scale(), 1.0);
    EXPECT_EQ(text.selectionTarget(nullptr), &text);

    BcArray<GePoint2d> points;
    EXPECT_TRUE(text.addSnapPoints(points));
    ASSERT_EQ(points.count(), 1);
    EXPECT_EQ(points[0].x, 0.0);
    EXPECT_EQ(points[0].y, 0.0);

    GeBox2d box = text.extents();
    EXPECT_EQ(box.a.x, 0.0);
    EXPECT_EQ(box.b.y, 0.0);
}

TEST(MnText, MoveToIgnoresMovesOfAtMostATenBillionth)
{
    MnText text;
    EXPECT_FALSE(text.moveTo(GePoint2d(0.0, 1e-11)));
    EXPECT_EQ(text.position().y, 0.0);
    EXPECT_TRUE(text.moveTo(GePoint2d(2.0, 3.0)));
    EXPECT_EQ(text.position().x, 2.0);
    EXPECT_EQ(text.position().y, 3.0);
    EXPECT_TRUE(text.dragTo(GePoint2d(4.0, 3.0), nullptr));
    EXPECT_EQ(text.dragPosition(nullptr).x, 4.0);
}

TEST(MnText, SettersLayOutAgainOnlyWhenTheValueChanges)
{
    MnTextRelayoutCounter text;
    EXPECT_TRUE(text.setText(BcString("Allegro")));
    EXPECT_EQ(text.relayouts, 1);
    EXPECT_TRUE(text.setText(BcString("Allegro")));
    EXPECT_EQ(text.relayouts, 1);
    text.setFont(5);
    text.setFont(5);
    text.setSize(14.0);
    text.setUnderline(true);
    text.setAlignment(4);
    text.setAlignment(4);
    EXPECT_EQ(text.relayouts, 5);
    EXPECT_EQ(text.font(), 5);
    EXPECT_EQ(text.size(), 14.0);
    EXPECT_TRUE(text.isUnderlined());
    EXPECT_EQ(text.alignment(), 4);
}

TEST(MnText, RecordOfTheCurrentVersion)
{
    MnText text;
    text.moveTo(GePoint2d(1.0, -2.0));
    text.setAlignment(7);
    text.setText(BcString("ab"));
    text.setFont(11); // Courier New bold italic
    text.setUnderline(true);
    text.setSize(12.7);
    Bytes expected = RecordBuilder().real(1.0).real(-2.0).character(7).string("ab").byteAndFlag(11, true).character(12).done();
    EXPECT_EQ(recordOf(text), expected);

    MnText copy;
    ASSERT_TRUE(readRecord(copy, expected));
    EXPECT_EQ(copy.position().x, 1.0);
    EXPECT_EQ(copy.position().y, -2.0);
    EXPECT_EQ(copy.alignment(), 7);
    EXPECT_EQ(copy.text(), BcString("ab"));
    EXPECT_EQ(copy.font(), 11);
    EXPECT_TRUE(copy.isUnderlined());
    EXPECT_EQ(copy.size(), 12.0);
    EXPECT_EQ(recordOf(copy), expected);
}

TEST(MnText, OldAndOddRecords)
{
    struct Case
    {
        const char* name;
        int version;
        Bytes record;
        int alignment;
        int font;
        double size;
        bool underline;
    };
    const Case cases[] = {
        {"version 3 keeps ints and a double size, truncated", 3,
         RecordBuilder(3).real(0).real(0).integer(5).string("x").integer(6).real(10.9).done(), 5, 6, 10.0, false},
        {"version 3 size beyond a byte is kept within it", 3,
         RecordBuilder(3).real(0).real(0).integer(0).string("x").integer(0).real(1000.0).done(), 0, 0, 127.0, false},
        {"font outside 0..11 reads as 0", 5,
         RecordBuilder().real(0).real(0).character(2).string("x").byteAndFlag(40, false).character(9).done(), 2, 0, 9.0, false},
        {"negative font reads as 0", 5,
         RecordBuilder().real(0).real(0).character(2).string("x").byteAndFlag(-3, true).character(9).done(), 2, 0, 9.0, true},
        {"alignment outside 0..11 reads as 0", 5,
         RecordBuilder().real(0).real(0).character(12).string("x").byteAndFlag(1, false).character(9).done(), 0, 1, 9.0, false},
        {"version 3 font outside 0..11 reads as 0", 3,
         RecordBuilder(3).real(0).real(0).integer(-1).string("x").integer(1 << 30).real(8.0).done(), 0, 0, 8.0, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        MnText text;
        ASSERT_TRUE(readRecord(text, c.record, c.version));
        EXPECT_EQ(text.alignment(), c.alignment);
        EXPECT_EQ(text.font(), c.font);
        EXPECT_EQ(text.size(), c.size);
        EXPECT_EQ(text.isUnderlined(), c.underline);
    }

    // A version-3 record written back is a version-5 record: one byte each for
    // the alignment and the size.
    MnText old;
    ASSERT_TRUE(readRecord(old, cases[0].record, 3));
    EXPECT_EQ(recordOf(old), RecordBuilder().real(0).real(0).character(5).string("x").byteAndFlag(6, false).character(10).done());
}

TEST(MnText, EveryPrefixOfARecordFailsAndKeepsTheUnreadFields)
{
    Bytes full = RecordBuilder().real(1.0).real(2.0).character(3).string("Largo").byteAndFlag(4, true).character(20).done();
    for (size_t n = 0; n < full.size(); ++n) {
        MnText text;
        EXPECT_FALSE(readRecord(text, Bytes(full.begin(), full.begin() + long(n)))) << n;
    }
    // Cut inside the string: position and alignment are read, the rest stays.
    MnText text;
    EXPECT_FALSE(readRecord(text, Bytes(full.begin(), full.begin() + 20)));
    EXPECT_EQ(text.position().y, 2.0);
    EXPECT_EQ(text.alignment(), 3);
    EXPECT_TRUE(text.text().isEmpty());
    EXPECT_EQ(text.size(), 12.0);
}

TEST(MnText, PageNumberTemplateNeverMovesAndTestsAsAText)
{
    MnPageNumber number;
    EXPECT_EQ(number.alignment(), 8);
    EXPECT_EQ(number.text(), BcString("@page"));
    EXPECT_EQ(number.size(), 10.0);
    EXPECT_FALSE(number.moveTo(GePoint2d(4.0, 4.0)));
    EXPECT_EQ(number.position().x, 0.0);
    EXPECT_EQ(number.dynamicClass(), MnText::staticClass());
}

TEST(MnText, CopyFromReproducesTheRecord)
{
    MnText source;
    source.setText(BcString("Moderato"));
    source.setFont(6);
    source.moveTo(GePoint2d(-4.0, 9.5));
    MnText target;
    ASSERT_TRUE(target.copyFrom(&source));
    EXPECT_EQ(recordOf(target), recordOf(source));
    EXPECT_FALSE(target.copyFrom(nullptr));
}

TEST(MnText, FactoryMakesADefaultText)
{
    BcObject* made = MnText::staticClass()->createObject();
    ASSERT_NE(made, nullptr);
    EXPECT_TRUE(made->isKindOf(MnElement::staticClass()));
    EXPECT_EQ(static_cast<MnText*>(made)->size(), 12.0);
    delete made;
}
