#include "model/MnTempo.h"

#include "model/MnScore.h"
#include "model/MnSheetMusic.h"

#include <gtest/gtest.h>

#include <cmath>

// A mark whose laid-out text is a box 30 wide and 5 high standing on its
// position, as the text composer reports it: in the score's frame.
class BoxedTempo : public MnTempo
{
public:
    using MnTempo::MnTempo;
    GeBox2d extents() const override
    {
        const GePoint2d at = position();
        return GeBox2d(at, GePoint2d(at.x + 30.0, at.y + 5.0));
    }
};

TEST(MnTempoPlacement, DraggingKeepsTheTextOnTheFirstPage)
{
    // A4 with margins 10, 10, 16, 16: the printable area is 190 by 265.
    MnSheetMusic sheet;
    MnScore* score = sheet.score();
    for (double scale : {1.0, 2.0}) {
        score->setScale(scale);
        const GePoint2d origin = score->position();
        BoxedTempo tempo(score);
        // Printable-area coordinates of the box's edges.
        auto left = [&] { return origin.x + scale * tempo.position().x; };
        auto right = [&] { return origin.x + scale * (tempo.position().x + 30.0); };
        auto top = [&] { return origin.y + scale * (tempo.position().y + 5.0); };
        auto bottom = [&] { return origin.y + scale * tempo.position().y; };

        EXPECT_TRUE(tempo.moveTo(GePoint2d(500.0, 0.0))) << scale;
        EXPECT_NEAR(right(), 190.0, 1e-9) << scale;
        EXPECT_TRUE(tempo.moveTo(GePoint2d(-500.0, 0.0))) << scale;
        EXPECT_NEAR(left(), 0.0, 1e-9) << scale;
        EXPECT_TRUE(tempo.moveTo(GePoint2d(0.0, 500.0))) << scale;
        EXPECT_NEAR(top(), 0.0, 1e-9) << scale;
        EXPECT_TRUE(tempo.moveTo(GePoint2d(0.0, -500.0))) << scale;
        EXPECT_NEAR(bottom(), -265.0, 1e-9) << scale;

        // A drag that ends where it started changes nothing.
        EXPECT_FALSE(tempo.moveTo(tempo.position())) << scale;
        // Dragging on past the edge leaves it on the edge.
        const GePoint2d onEdge = tempo.position();
        EXPECT_FALSE(tempo.moveTo(GePoint2d(onEdge.x, onEdge.y - 50.0))) << scale;
    }

    // A score that stands alone lets its marks go anywhere.
    MnScore alone;
    BoxedTempo free(&alone);
    EXPECT_TRUE(free.moveTo(GePoint2d(-500.0, 900.0)));
    EXPECT_EQ(free.position().x, -500.0);
    EXPECT_EQ(free.position().y, 900.0);
}
