#include "model/EdHorizontalGuideLine.h"
#include "model/EdVerticalGuideLine.h"

#include <gtest/gtest.h>

TEST(EdGuideLine, ShowsNearAndSnapsWithinItsToleranceScaledByTheZoom)
{
    const struct
    {
        const char* name;
        double zoom;
        double y;
        bool visible;
        bool snapped;
    } cases[] = {
        {"3 away at zoom 250 snaps", 250, 103, true, true},
        {"20 away shows only", 250, 120, true, false},
        {"25 away is the reach of the showing", 250, 75, true, false},
        {"30 away stays hidden", 250, 130, false, false},
        {"zoomed in to 500, 6 away counts as 4.8", 500, 106, true, true},
        {"zoomed out to 125, 4.5 away counts as 5.625", 125, 95.5, true, false},
        {"a zoom of 1 or less counts as 250", 0.5, 105, true, true},
    };
    for (const auto& row : cases) {
        EdHorizontalGuideLine line(100, 5);
        bool snappedX = false;
        bool snappedY = false;
        const GePoint2d point = line.snap(GePoint2d(7, row.y), &snappedX, &snappedY, row.zoom, 0);
        EXPECT_EQ(line.visible, row.visible) << row.name;
        EXPECT_EQ(line.snapped, row.snapped) << row.name;
        EXPECT_EQ(snappedY, row.snapped) << row.name;
        EXPECT_FALSE(snappedX) << row.name;
        EXPECT_EQ(point.x, 7) << row.name;
        EXPECT_EQ(point.y, row.snapped ? 100 : row.y) << row.name;
    }
}

TEST(EdGuideLine, TheFirstLineWithinToleranceWins)
{
    EdHorizontalGuideLine first(100, 5);
    EdHorizontalGuideLine same(100, 5);
    EdHorizontalGuideLine near(102, 5);
    bool snappedX = false;
    bool snappedY = false;
    GePoint2d point(0, 101);
    for (EdGuideLine* line : {static_cast<EdGuideLine*>(&first), static_cast<EdGuideLine*>(&same),
                              static_cast<EdGuideLine*>(&near)})
        point = line->snap(point, &snappedX, &snappedY, 250, 0);
    EXPECT_EQ(point.y, 100);
    EXPECT_TRUE(snappedY);
    EXPECT_TRUE(first.snapped);
    EXPECT_TRUE(same.visible);
    EXPECT_TRUE(same.snapped) << "a line at the place the point went shows as snapped";
    EXPECT_TRUE(near.visible);
    EXPECT_FALSE(near.snapped);
}

TEST(EdGuideLine, EachKindSnapsItsOwnAxisAndResetsOnItsOwnCode)
{
    EdHorizontalGuideLine horizontal(50, 5);
    EdVerticalGuideLine vertical(20, 5);
    horizontal.visible = horizontal.snapped = true;
    bool snappedX = false;
    bool snappedY = false;
    GePoint2d point = horizontal.snap(GePoint2d(21, 50), &snappedX, &snappedY, 250, 1);
    point = vertical.snap(point, &snappedX, &snappedY, 250, 1);
    EXPECT_FALSE(horizontal.visible);
    EXPECT_FALSE(horizontal.snapped);
    EXPECT_FALSE(snappedY);
    EXPECT_TRUE(vertical.snapped);
    EXPECT_TRUE(snappedX);
    EXPECT_EQ(point.x, 20);
    EXPECT_EQ(point.y, 50);

    point = vertical.snap(GePoint2d(21, 49), nullptr, nullptr, 250, 2);
    EXPECT_FALSE(vertical.visible);
    EXPECT_EQ(point.x, 21);
    point = horizontal.snap(point, nullptr, nullptr, 250, 2);
    EXPECT_TRUE(horizontal.snapped) << "without flags to share, the line still snaps";
    EXPECT_EQ(point.y, 50);
}
