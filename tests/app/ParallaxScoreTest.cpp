#include "GLFrame.h"
#include "ShellFixture.h"

#include "../playback/MpTestScores.h"
#include "app/UiGLPane.h"
#include "app/UiParallaxScore.h"
#include "commands/EdToolCommands.h"
#include "model/MnCache.h"
#include "model/MnTempo.h"
#include "render/ReGLHost.h"
#include "render/ReParallax.h"


#include <cmath>
#include <memory>
#include <vector>

namespace {

using ParallaxScoreTest = ShellTest;

// Two measures of four quarters, then a measure of a whole note, then one more.
std::unique_ptr<MnScore> steppedScore()
{
    std::unique_ptr<MnScore> score = restScore(4);
    for (int m = 0; m < 2; ++m) {
        MpVoiceWriter voice(score->staff(0)->measure(m), 0);
        for (int i = 0; i < 4; ++i)
            voice.chord(quarter, {keyC4 + i});
    }
    MpVoiceWriter held(score->staff(0)->measure(2), 0);
    held.chord(whole, {keyC4});
    return score;
}

// Where the camera stands at each onset of a measure, and the measure's end.
struct Column
{
    double base = 0.0;
    std::vector<double> x;
};

Column columnOf(MnScore* score, int measure)
{
    Column column;
    const MnStaff* staff = score->staff(0);
    column.base = staff->position().x + staff->measure(0)->position().x;
    for (int m = 0; m < measure; ++m)
        column.base += staff->measure(m)->headerWidth() + 2 * score->measureNaturalWidth(m);
    BcArray<int> onsets;
    BcArray<double> offsets;
    score->layoutMeasureColumn(measure, onsets, offsets, 2.0);
    for (int i = 0; i < offsets.count(); ++i)
        column.x.push_back(column.base + offsets[i]);
    return column;
}

}

TEST_F(ParallaxScoreTest, theCameraGlidesBetweenOnsetsCatchesUpAndNeverStepsBack)
{
    std::unique_ptr<MnScore> source = steppedScore();
    UiParallaxScore* window = new UiParallaxScore(nullptr, source.get(), 0, 0, nullptr);
    ASSERT_NE(window->score(), nullptr);
    window->initCamera(800, 400);
    MnScore* score = window->score();
    Column first = columnOf(score, 0);
    Column second = columnOf(score, 1);
    Column held = columnOf(score, 2);
    Column last = columnOf(score, 3);
    ASSERT_EQ(first.x.size(), 5u);  // four onsets and the end
    const unsigned long long t = 100000;
    // A quarter at 96 beats a minute lasts 625 ms.
    struct Case
    {
        const char* name;
        int tick;
        unsigned long long now;
        double x;
    } cases[] = {
        {"on the first onset", 0, t, first.x[0]},
        {"half way to the second", 0, t + 312, first.x[0] + 312.0 / 625 * (first.x[1] - first.x[0])},
        {"two onsets behind: caught up", 0, t + 1250 + 100, first.x[2] + 100.0 / 625 * (first.x[3] - first.x[2])},
        {"over the bar line", 3 * quarter, t + 500,
         first.x[3] + 0.8 * (first.x[4] - first.x[3] + (second.x[0] - second.base))},
        {"the glide ends on the next onset", 3 * quarter, t + 5000, first.x[4] + (second.x[0] - second.base)},
        {"a whole note: 2,500 ms", 8 * quarter, t + 1250,
         held.x[0] + 0.5 * (held.x[1] - held.x[0] + (last.x[0] - last.base))},
    };
    for (const Case& c : cases) {
        window->furthestX = 0;
        window->lastOffset = -1;
        ASSERT_TRUE(window->follow(c.tick, t, c.now)) << c.name;
        EXPECT_NEAR(window->centreX, c.x, 1e-6) << c.name;
    }

    // Later in the same step the camera goes on; an earlier look keeps it.
    window->furthestX = 0;
    window->lastOffset = -1;
    ASSERT_TRUE(window->follow(2 * quarter, t, t + 600));
    double reached = window->centreX;
    ASSERT_TRUE(window->follow(2 * quarter, t, t + 100));
    EXPECT_DOUBLE_EQ(window->centreX, reached);

    // A fast tempo and long gaps neither overflow nor divide by zero.
    ASSERT_TRUE(score->tempo(0)->setBeatsPerMinute(999));
    ASSERT_TRUE(window->follow(8 * quarter, t, t + 100));
    EXPECT_TRUE(std::isfinite(window->centreX));
    EXPECT_FALSE(window->follow(0, 0, t));
    window->Destroy();
}

TEST_F(ParallaxScoreTest, stavesLieOnDepthPlanesAndTheWheelMovesTheView)
{
    std::unique_ptr<MnScore> source = steppedScore();
    const int width = 400, height = 200;
    std::unique_ptr<ReGLHost> host(ReGLHost::newOffscreen(width, height));
    ASSERT_NE(host, nullptr);
    for (int staves : {1, 4}) {
        while (source->staffCount() < staves)
            source->insertStaff(-1);
        ReParallax parallax;
        ASSERT_TRUE(parallax.createContext(host.get()));
        GePoint2d p = source->position();
        ASSERT_TRUE(parallax.render(source.get(), p.x + 40, p.y - source->height() / 2, 120, width, height));
        EXPECT_DOUBLE_EQ(parallax.deepestDepth(), -10.0 * (staves - 1));
        EXPECT_NEAR(parallax.visibleHalfWidth(), std::sqrt(3.0) * (24 + 10.0 * (staves - 1)) * 2.0, 1e-9);
        EXPECT_TRUE(frameVaries(readFrame(width, height))) << staves;
    }
    // An empty client draws nothing.
    ReParallax idle;
    EXPECT_FALSE(idle.render(source.get(), 0, 0, 100, 0, 100));

    UiParallaxScore* window = new UiParallaxScore(nullptr, source.get(), 0, 0, nullptr);
    window->initCamera(800, 400);
    const double x = window->centreX, y = window->centreY, w = window->viewWidth;
    window->wheel(120, false, 800, 400);
    EXPECT_DOUBLE_EQ(window->centreX, x + w / 20);
    window->wheel(-120, false, 800, 400);
    EXPECT_DOUBLE_EQ(window->centreX, x);
    window->wheel(120, true, 800, 400);
    EXPECT_DOUBLE_EQ(window->centreY, y + 0.5 * w / 11);
    window->wheel(120, true, 0, 400);
    EXPECT_DOUBLE_EQ(window->centreY, y + 0.5 * w / 11);
    window->Destroy();
}

TEST_F(ParallaxScoreTest, theCommandOpensAWindowThatDrawsTheScore)
{
    std::string sample = root + "/sample.qrv";
    ASSERT_EQ(0, std::system((std::string(QRV_SAMPLE_TOOL) + " " + sample + " > /dev/null").c_str()));
    ASSERT_TRUE(start({sample}));
    pump(5);
    bool opened = false;
    bool varied = false;
    UiParallaxScore::setOpenedHook([&](UiParallaxScore& window) {
        opened = true;
        for (int round = 0; round < 20 && !window.canvas()->IsShownOnScreen(); ++round)
            wxYield();
        wxSize size = window.canvas()->GetClientSize();
        if (window.draw() && size.x > 0 && size.y > 0)
            varied = frameVaries(readWindowFrame(size.x, size.y));
        window.EndModal(wxID_CANCEL);
    });
    EdToolCommands::cmdParallaxScore();
    UiParallaxScore::setOpenedHook(nullptr);
    EXPECT_TRUE(opened);
    EXPECT_TRUE(varied);
    stop();
}
