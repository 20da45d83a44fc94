#include "model/MnMeasurer.h"

#include "model/MnCredit.h"
#include "model/MnPart.h"
#include "model/MnScore.h"
#include "model/MnSheetMusic.h"
#include "model/MnText.h"

#include <gtest/gtest.h>

// Installs a measurer while it lives (null: none) and puts back the one
// that was installed, which in the tests is the renderer's.
class InstalledMeasurer
{
public:
    explicit InstalledMeasurer(const MnMeasurer* measurer) : previous(MnMeasurer::install(measurer)) {}
    ~InstalledMeasurer() { MnMeasurer::install(previous); }

private:
    const MnMeasurer* previous;
};

// Answers fixed measures and remembers what it was asked.
class FixedMeasurer : public MnMeasurer
{
public:
    GeBox2d textExtents(const MnText& text) const override
    {
        measuredText = &text;
        return GeBox2d(GePoint2d(-1.0, -2.0), GePoint2d(30.0, 4.0));
    }
    double labelsLeftmostX(const MnScore& score, bool abbreviated) const override
    {
        measuredScore = &score;
        askedAbbreviated = abbreviated;
        return -17.5;
    }

    mutable const MnText* measuredText = nullptr;
    mutable const MnScore* measuredScore = nullptr;
    mutable bool askedAbbreviated = false;
};

TEST(MnMeasurer, WithoutAMeasurerNothingHasExtent)
{
    InstalledMeasurer none(nullptr);
    MnText text;
    text.setText(BcString("Allegro con brio"));
    GeBox2d box = text.extents();
    EXPECT_EQ(box.a.x, 0.0);
    EXPECT_EQ(box.a.y, 0.0);
    EXPECT_EQ(box.b.x, 0.0);
    EXPECT_EQ(box.b.y, 0.0);

    MnScore score;
    score.insertStaff(-1);
    score.part(0)->setText(BcString("Violoncello"));
    GeVector2d reach = score.partsExtents(false);
    EXPECT_EQ(reach.x, 0.0);
    EXPECT_EQ(reach.y, -score.height());

    // A credit that nothing measures is kept on its page by its anchor.
    MnSheetMusic sheet;
    MnCredit* credit = sheet.addCredit(0);
    credit->moveTo(GePoint2d(-7.0, -30.0));
    EXPECT_EQ(credit->position().x, 0.0);
    EXPECT_EQ(credit->position().y, -30.0);
}

TEST(MnMeasurer, TheInstalledMeasurerMeasures)
{
    FixedMeasurer fixed;
    InstalledMeasurer installed(&fixed);
    EXPECT_EQ(&MnMeasurer::current(), &fixed);

    MnText text;
    GeBox2d box = text.extents();
    EXPECT_EQ(fixed.measuredText, &text);
    EXPECT_EQ(box.a.x, -1.0);
    EXPECT_EQ(box.b.x, 30.0);

    MnScore score;
    score.insertStaff(-1);
    GeVector2d reach = score.partsExtents(true);
    EXPECT_EQ(fixed.measuredScore, &score);
    EXPECT_TRUE(fixed.askedAbbreviated);
    EXPECT_EQ(reach.x, -17.5);
    EXPECT_EQ(reach.y, -score.height());
}
