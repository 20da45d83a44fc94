#include "app/UiQuorvaneViewCore.h"

#include "commands/UiCommand.h"
#include "common/EdFakeContext.h"
#include "editing/EdTestScores.h"
#include "editing/QuorvaneDocument.h"
#include "model/EdHorizontalGuideLine.h"
#include "model/MnMeasure.h"
#include "model/MnScore.h"
#include "model/MnStaff.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

namespace {

// A window that draws through the view it belongs to, records what reaches
// the main frame, and whose clock moves 16 ms at every reading.
class FakeWindow : public UiViewWindow
{
public:
    unsigned long long tickCount() override { return clock += 16; }
    void clientSize(int& w, int& h) override
    {
        w = 800;
        h = 600;
    }
    void pointer(int& x, int& y) override
    {
        x = 10;
        y = 20;
    }
    void present(const UiViewFrame& frame) override
    {
        if (core)
            core->renderFrame(frame);
        guideLinesPerFrame.push_back(core ? core->lastFrameGuideLines() : -1);
    }
    void takeFocus() override { ++focus; }
    void forwardKey(unsigned key, unsigned repeat, unsigned flags, bool down) override
    {
        keys.push_back(std::to_string(key) + (down ? " down x" : " up x") + std::to_string(repeat) + " flags " +
                       std::to_string(flags));
    }

    UiViewCore* core = nullptr;
    unsigned long long clock = 5000;
    int focus = 0;
    std::vector<int> guideLinesPerFrame;
    std::vector<std::string> keys;
};

// A tool that takes the mouse and the key 'A' only, with two guide lines.
class TestTool : public UiCommand
{
public:
    TestTool(EdView* view, unsigned modifiers, std::vector<std::string>& log)
        : UiCommand(view), modifiers(modifiers), log(log)
    {
    }
    ~TestTool() override { log.push_back("deleted"); }
    const char* name() const override { return "Test"; }
    unsigned modifierKeys() const override { return modifiers; }
    void begin() override
    {
        UiCommand::begin();
        log.push_back("begin");
    }
    void end() override
    {
        log.push_back(cancel ? "end cancelled" : "end");
        UiCommand::end();
    }
    bool onMouseMove(unsigned flags, Point point) override
    {
        log.push_back("move " + std::to_string(point.x) + "," + std::to_string(point.y));
        return true;
    }
    bool onLButtonDown(unsigned, Point) override
    {
        log.push_back("down");
        return true;
    }
    void onPan(int dx, int dy) override { log.push_back("pan " + std::to_string(dx) + "," + std::to_string(dy)); }
    void collectGuideLines() override
    {
        guideLines.add(new EdHorizontalGuideLine(1.0, 2.0));
        guideLines.add(new EdHorizontalGuideLine(5.0, 2.0));
    }

    unsigned modifiers;
    std::vector<std::string>& log;
};

class ViewCoreTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        ASSERT_TRUE(document.OnNewDocument());
        context.activate(&document);
        score = makeScore(1, 2);
        ASSERT_TRUE(document.addWork(score));
        document.clearUndo();
        ASSERT_TRUE(document.pushUndoSnapshot());
        window.core = &core;
    }

    BcArray<unsigned char> bytes()
    {
        BcArray<unsigned char> out;
        EXPECT_TRUE(document.saveScoreBytes(out));
        return out;
    }

    EdFakeContext context;
    QuorvaneDocument document;
    MnScore* score = nullptr;
    // Before the view: a tool still pending at the end writes to it.
    std::vector<std::string> log;
    FakeWindow window;
    UiViewCore core{window, &document};
};

TEST_F(ViewCoreTest, TakesTheDocumentCameraAndMapsClientPointsThroughIt)
{
    document.setCamera(GePoint2d(10, 20), 80);
    core.takeDocumentCamera();
    GePoint2d scroll;
    double zoom = 0;
    core.camera(scroll, zoom);
    EXPECT_EQ(10.0, scroll.x);
    EXPECT_EQ(20.0, scroll.y);
    EXPECT_EQ(80.0, zoom);
    EXPECT_TRUE(core.redraw(true));
    EXPECT_EQ(window.clock, core.lastActivityTick());
    GePoint2d centre = core.clientToModel(400, 300);
    EXPECT_DOUBLE_EQ(10.0, centre.x);
    EXPECT_DOUBLE_EQ(20.0, centre.y);
    EXPECT_EQ(&core.renderer, &core.selection());
}

TEST_F(ViewCoreTest, EventsReachTheToolFirstAndDeclinedKeysTheMainFrame)
{
    // Without a tool every key goes on, and mouse events are not handled.
    EXPECT_FALSE(core.mouseMove(0, 1, 2));
    core.keyDown(0x41, 1, 0);
    ASSERT_TRUE(core.startTool(new TestTool(&core, 0, log)));
    EXPECT_EQ(1, window.focus);
    EXPECT_TRUE(core.mouseMove(UiCommand::leftButtonFlag, 30, 40));
    EXPECT_TRUE(core.leftButtonDown(0, 30, 40));
    EXPECT_FALSE(core.leftButtonUp(0, 30, 40));
    core.keyDown(0x42, 3, UiCommand::repeatFlag);
    core.keyUp(0x42, 1, UiCommand::repeatFlag);
    const std::vector<std::string> keys = {"65 down x1 flags 0", "66 down x3 flags 16384", "66 up x1 flags 16384"};
    EXPECT_EQ(keys, window.keys);
    // A pan reaches the tool with the pixel movement.
    core.view.startPan(100, 100);
    core.view.panStep(90, 130);
    const std::vector<std::string> want = {"begin", "move 30,40", "down", "pan -10,30"};
    EXPECT_EQ(want, log);
}

TEST_F(ViewCoreTest, DeactivationCancelsTheToolAndRestoresTheModel)
{
    const BcArray<unsigned char> before = bytes();
    TestTool* tool = new TestTool(&core, 0, log);
    ASSERT_TRUE(core.startTool(tool));
    score->staff(0)->measure(0)->voiceChords(0)[0]->clearNotes();
    tool->markModified();
    core.deactivate();
    EXPECT_FALSE(core.hasPendingTool());
    const std::vector<std::string> want = {"begin", "end cancelled", "deleted"};
    EXPECT_EQ(want, log);
    const BcArray<unsigned char> after = bytes();
    ASSERT_EQ(before.count(), after.count());
    EXPECT_EQ(0, memcmp(&before[0], &after[0], before.count()));
    EXPECT_EQ(1, document.snapshotCount());

    // A new tool cancels the pending one; a released one is only forgotten.
    log.clear();
    TestTool second(&core, 0, log);
    core.startTool(new TestTool(&core, 0, log));
    core.releaseTool(&second);
    EXPECT_TRUE(core.hasPendingTool());
    EXPECT_TRUE(core.discardPendingTool());
    EXPECT_FALSE(core.discardPendingTool());
}

TEST_F(ViewCoreTest, GuideLinesShowInTheNextFrameOnlyAndEitherCtrlHidesThem)
{
    struct Case { const char* name; unsigned modifiers; EdContext::HeldKey held; int shown; };
    const Case cases[] = {
        {"nothing held", 1, EdContext::LeftShift, 2},
        {"left Ctrl", 1, EdContext::LeftCtrl, 0},
        {"right Ctrl", 1, EdContext::RightCtrl, 0},
        {"Ctrl to a tool without bit 0", 2, EdContext::RightCtrl, 2},
    };
    context.toggles().snapGuideLines = true;
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        for (bool& held : context.held)
            held = false;
        context.held[c.held] = true;
        core.startTool(new TestTool(&core, c.modifiers, log));
        window.guideLinesPerFrame.clear();
        core.redraw(false);
        core.view.drawFrame(-1, -1);  // a frame without snapping: no guide lines left over
        const std::vector<int> want = {c.shown, 0};
        EXPECT_EQ(want, window.guideLinesPerFrame);
        core.discardPendingTool();
    }
}

}  // namespace

namespace {

TEST_F(ViewCoreTest, IdleClearsAWheelHighlightOnceThePointerHasLeft)
{
    ASSERT_TRUE(core.view.drawFrame(795, 595));  // over the vertical wheel
    const size_t frames = window.guideLinesPerFrame.size();
    EXPECT_FALSE(core.idleHover(true));
    EXPECT_TRUE(core.idleHover(false));
    EXPECT_FALSE(core.idleHover(false));  // already cleared
    EXPECT_EQ(frames + 1, window.guideLinesPerFrame.size());
    EXPECT_EQ(-1, core.view.lastFrame().pointerX);
}

}  // namespace
