#include "app/UiQuorvaneViewCamera.h"

#include "model/MnCache.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <vector>

namespace {

// A window of a given size whose clock moves 16 ms at every reading.
class FakeEnvironment : public UiViewEnvironment
{
public:
    unsigned long long tickCount() override
    {
        ++ticks;
        return clock += 16;
    }
    void clientSize(int& w, int& h) override
    {
        w = width;
        h = height;
    }
    void pointer(int& x, int& y) override
    {
        x = pointerX;
        y = pointerY;
    }
    void present(const UiViewFrame& frame) override
    {
        frames.push_back(frame);
        stamps.push_back(MnCache::currentStamp());
    }
    void updateSnap() override { ++snaps; }
    void toolPanned(int dx, int dy) override { pans.push_back({dx, dy}); }
    bool playerSounding() override { return sounding; }
    void refreshPanels() override { ++panelRefreshes; }

    unsigned long long clock = 1000;
    int ticks = 0;
    int width = 800;
    int height = 600;
    int pointerX = 100;
    int pointerY = 100;
    bool sounding = false;
    int snaps = 0;
    int panelRefreshes = 0;
    std::vector<UiViewFrame> frames;
    std::vector<int> stamps;
    std::vector<std::pair<int, int>> pans;
};

class ViewCameraTest : public ::testing::Test
{
protected:
    FakeEnvironment environment;
    UiViewCamera camera{environment};
};

TEST_F(ViewCameraTest, NewViewShowsTheDeskAroundItsStartAndMapsThroughTheLastFrame)
{
    EXPECT_EQ(120.0, camera.scrollX);
    EXPECT_EQ(-20.0, camera.scrollY);
    EXPECT_EQ(300.0, camera.zoom);
    ASSERT_TRUE(camera.redraw(false));
    EXPECT_EQ(0u, camera.lastActivity);
    ASSERT_EQ(1u, environment.frames.size());
    EXPECT_EQ(100, environment.frames[0].pointerX);

    // Centre, corners: 300 across, 225 high at 800 x 600 pixels.
    struct Case { int x, y; double wantX, wantY; };
    for (const Case& c : {Case{400, 300, 120, -20}, Case{0, 600, -30, -132.5}, Case{800, 0, 270, 92.5}}) {
        GePoint2d p = camera.clientToDrawing(c.x, c.y);
        EXPECT_DOUBLE_EQ(c.wantX, p.x) << c.x << "," << c.y;
        EXPECT_DOUBLE_EQ(c.wantY, p.y) << c.x << "," << c.y;
    }
    // A camera moved but not drawn yet still maps as the frame showed it.
    camera.setCamera(0, 0, 50);
    EXPECT_DOUBLE_EQ(120.0, camera.clientToDrawing(400, 300).x);
    ASSERT_TRUE(camera.redraw(true));
    EXPECT_DOUBLE_EQ(0.0, camera.clientToDrawing(400, 300).x);
    EXPECT_NE(0u, camera.lastActivity);
}

TEST_F(ViewCameraTest, AnEmptyClientAreaDrawsNothingAndDividesByNothing)
{
    for (auto size : {std::pair<int, int>{0, 600}, {800, 0}, {0, 0}}) {
        environment.width = size.first;
        environment.height = size.second;
        EXPECT_FALSE(camera.redraw(true));
        GePoint2d p = camera.clientToDrawing(10, 10);
        EXPECT_TRUE(std::isfinite(p.x) && std::isfinite(p.y));
        camera.wheel(10, 10, -120);
        EXPECT_TRUE(std::isfinite(camera.zoom) && std::isfinite(camera.scrollX));
    }
    EXPECT_TRUE(environment.frames.empty());
}

TEST_F(ViewCameraTest, WheelZoomsAboutThePointerWithinItsLimit)
{
    camera.setCamera(0, 0, 10.5);
    camera.redraw(false);
    camera.wheel(200, 150, 120);
    EXPECT_DOUBLE_EQ(8.4, camera.zoom);
    camera.wheel(200, 150, 120);
    EXPECT_DOUBLE_EQ(8.4, camera.zoom);
    EXPECT_EQ(3u, environment.frames.size());  // every notch draws, even one that changes nothing
    EXPECT_NE(0u, camera.lastActivity);

    for (int delta : {0, -120}) {
        GePoint2d before = camera.clientToDrawing(200, 150);
        double zoom = camera.zoom;
        camera.wheel(200, 150, delta);
        EXPECT_DOUBLE_EQ(zoom * 1.25, camera.zoom);
        GePoint2d after = camera.clientToDrawing(200, 150);
        EXPECT_NEAR(before.x, after.x, 1e-9);
        EXPECT_NEAR(before.y, after.y, 1e-9);
    }
    // Forward keeps the point under the pointer too.
    camera.setCamera(40, 10, 200);
    camera.redraw(false);
    GePoint2d before = camera.clientToDrawing(700, 20);
    camera.wheel(700, 20, 1);
    GePoint2d after = camera.clientToDrawing(700, 20);
    EXPECT_NEAR(before.x, after.x, 1e-9);
    EXPECT_NEAR(before.y, after.y, 1e-9);
}

TEST_F(ViewCameraTest, ZeroZoomCannotBeReached)
{
    camera.setCamera(0, 0, 0);
    EXPECT_EQ(UiViewCamera::minimumZoom, camera.zoom);
    camera.setCamera(0, 0, NAN);
    EXPECT_EQ(UiViewCamera::minimumZoom, camera.zoom);
    camera.wheel(400, 300, -120);
    EXPECT_GT(camera.zoom, UiViewCamera::minimumZoom);
}

TEST_F(ViewCameraTest, WidgetNotchesScrollAnEleventhAndWrapTheirFrames)
{
    camera.setCamera(0, 0, 330);
    camera.redraw(false);
    struct Case { int x, y, delta; double dx, dy; int vertical, horizontal; };
    // 800 x 600: shown height 247.5; an eleventh is 22.5, of the width 30.
    const Case cases[] = {
        {795, 595, 120, 0, 22.5, 1, 0},   {795, 595, 120, 0, 22.5, 2, 0}, {795, 595, 120, 0, 22.5, 0, 0},
        {795, 595, -120, 0, -22.5, 2, 0}, {700, 595, -120, -30, 0, 2, 2}, {700, 595, 120, 30, 0, 2, 0},
    };
    for (const Case& c : cases) {
        double x = camera.scrollX;
        double y = camera.scrollY;
        camera.wheel(c.x, c.y, c.delta);
        EXPECT_DOUBLE_EQ(330.0, camera.zoom);
        EXPECT_DOUBLE_EQ(c.dx, camera.scrollX - x);
        EXPECT_DOUBLE_EQ(c.dy, camera.scrollY - y);
        EXPECT_EQ(c.vertical, camera.verticalWheelFrame);
        EXPECT_EQ(c.horizontal, camera.horizontalWheelFrame);
    }
    EXPECT_EQ(1 + 6, environment.snaps);  // the tool snaps before every frame
}

TEST_F(ViewCameraTest, PanMovesTheDrawingWithThePointerAndTellsTheTool)
{
    camera.setCamera(0, 0, 80);  // 10 pixels per unit
    camera.redraw(false);
    camera.startPan(100, 100);
    GePoint2d grabbed = camera.clientToDrawing(100, 100);
    camera.panStep(130, 80);
    GePoint2d now = camera.clientToDrawing(130, 80);
    EXPECT_NEAR(grabbed.x, now.x, 1e-9);
    EXPECT_NEAR(grabbed.y, now.y, 1e-9);
    EXPECT_DOUBLE_EQ(-3.0, camera.scrollX);
    EXPECT_DOUBLE_EQ(-2.0, camera.scrollY);
    ASSERT_EQ(1u, environment.pans.size());
    EXPECT_EQ(std::make_pair(30, -20), environment.pans[0]);
    EXPECT_EQ(130, camera.panLastX);
    EXPECT_NE(0u, camera.lastActivity);
}

TEST_F(ViewCameraTest, FlightEndsExactlyOnTheTargetInBoundedFramesWithOneCache)
{
    struct Case { const char* name; int width, height; GePoint2d c1, c2; double margin; double x, y, zoom; };
    const Case cases[] = {
        // 800 x 600 (aspect 4/3): a wide box fits its width, a tall one its height.
        {"width fit", 800, 600, {0, 10}, {100, 0}, 1.1, 50, 5, 110},
        {"height fit", 800, 600, {0, 100}, {10, 0}, 1.0, 5, 50, 100 * 800.0 / 600},
        {"height 0 as aspect 1", 800, 0, {0, 50}, {20, 0}, 2.0, 10, 25, 100},
        {"start is target", 800, 600, {70, -5}, {170, -35}, 1.0, 120, -20, 100},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        environment.width = c.width;
        environment.height = c.height;
        environment.frames.clear();
        environment.stamps.clear();
        environment.ticks = 0;
        environment.sounding = true;
        environment.panelRefreshes = 0;
        camera.setCamera(120, -20, 100);
        ASSERT_TRUE(camera.flyTo(c.c1, c.c2, c.margin, false));
        EXPECT_EQ(c.x, camera.scrollX);
        EXPECT_EQ(c.y, camera.scrollY);
        EXPECT_DOUBLE_EQ(c.zoom, camera.zoom);
        // About 0.31 s at 16 ms a reading.
        EXPECT_GE(environment.ticks, 12);
        EXPECT_LE(environment.ticks, 30);
        EXPECT_EQ(0, MnCache::nesting());
        if (c.height == 0) {
            EXPECT_TRUE(environment.frames.empty());
            continue;
        }
        ASSERT_GE(environment.frames.size(), 10u);
        EXPECT_EQ(int(environment.frames.size()), environment.panelRefreshes);
        for (int stamp : environment.stamps)
            EXPECT_EQ(environment.stamps[0], stamp);
        EXPECT_NE(0, environment.stamps[0]);
        // The last frame drawn lies on the way, not past the target.
        const UiViewFrame& last = environment.frames.back();
        EXPECT_LE(std::min(100.0, c.zoom) - 1e-9, last.zoom);
        EXPECT_GE(std::max(100.0, c.zoom) + 1e-9, last.zoom);
    }
}

TEST_F(ViewCameraTest, FlightToAnEmptyBoxIsIgnored)
{
    struct Case { GePoint2d c1, c2; double margin; };
    const Case cases[] = {
        {{0, 10}, {0, 0}, 1.1},  {{0, 0}, {10, 0}, 1.1},  {{10, 0}, {0, 10}, 1.1},
        {{0, 10}, {10, 0}, 0.0}, {{0, 10}, {10, 0}, -1.0}, {{0, NAN}, {10, 0}, 1.1},
    };
    for (const Case& c : cases) {
        EXPECT_FALSE(camera.flyTo(c.c1, c.c2, c.margin, true));
        EXPECT_EQ(120.0, camera.scrollX);
        EXPECT_EQ(300.0, camera.zoom);
    }
    EXPECT_TRUE(environment.frames.empty());
    EXPECT_EQ(0u, camera.lastActivity);
}

}  // namespace
