#include "EdCommandFixture.h"

#include "commands/UiCommand.h"
#include "model/EdHorizontalGuideLine.h"

#include <vector>

namespace {

// A tool that records the mouse moves it is sent and has two guide lines
// while it runs.
class RecordingTool : public UiCommand
{
public:
    RecordingTool(EdView* view, unsigned modifiers) : UiCommand(view), modifiers(modifiers) {}

    const char* name() const override { return "Recording"; }
    unsigned modifierKeys() const override { return modifiers; }
    bool onMouseMove(unsigned flags, Point point) override
    {
        moves.push_back({flags, point.x, point.y});
        return true;
    }
    void collectGuideLines() override
    {
        guideLines.add(new EdHorizontalGuideLine(1.0, 2.0));
        guideLines.add(new EdHorizontalGuideLine(5.0, 2.0));
    }
    // Ends the tool as a click that completes it does.
    void complete() { finish(); }

    struct Move
    {
        unsigned flags;
        int x, y;
    };
    unsigned modifiers;
    std::vector<Move> moves;
};

using UiCommandTest = EdCommandFixture;

}

TEST_F(UiCommandTest, aModifierThatMattersResendsThePointerOnceAPress)
{
    using T = UiCommand;
    struct Case
    {
        const char* name;
        unsigned modifiers;
        bool down;
        unsigned key, keyFlags;
        bool handled;
    };
    const Case cases[] = {
        {"Ctrl pressed, Ctrl matters", 1, true, T::controlKey, 0, true},
        {"Ctrl auto-repeated", 1, true, T::controlKey, T::repeatFlag, false},
        {"Ctrl released", 1, false, T::controlKey, T::repeatFlag, true},
        {"a release without the key down before", 1, false, T::controlKey, 0, false},
        {"Ctrl to a tool that ignores it", 0, true, T::controlKey, 0, false},
        {"Shift to a tool that takes Ctrl only", 1, true, T::shiftKey, 0, false},
        {"Shift pressed, Shift matters", 3, true, T::shiftKey, 0, true},
        {"another key", 3, true, 0x41, 0, false},
    };
    context.held[EdContext::RightShift] = true;
    context.held[EdContext::LeftButton] = true;
    context.pointer[0] = 640;
    context.pointer[1] = 410;
    context.view.clientOriginX = 600;
    context.view.clientOriginY = 400;
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        RecordingTool tool(&context.view, c.modifiers);
        const bool handled = c.down ? tool.onKeyDown(c.key, 1, c.keyFlags) : tool.onKeyUp(c.key, 1, c.keyFlags);
        EXPECT_EQ(handled, c.handled);
        ASSERT_EQ(tool.moves.size(), c.handled ? 1u : 0u);
        if (c.handled) {
            // The held keys and buttons as mouse flags, the middle button never.
            EXPECT_EQ(tool.moves[0].flags, T::leftButtonFlag | T::shiftFlag);
            EXPECT_EQ(tool.moves[0].x, 40);
            EXPECT_EQ(tool.moves[0].y, 10);
        }
    }
}

// A tool that finishes records its change as one step; one that the view
// cancels leaves the document as the last step left it.
TEST_F(UiCommandTest, theViewBeginsAndEndsATool)
{
    MnScore* score = addScore(makeScore(1, 1));
    const auto before = bytes();
    BcArray<unsigned char> afterFinish;
    for (bool finished : {true, false}) {
        SCOPED_TRACE(finished ? "finished" : "cancelled");
        RecordingTool* tool = new RecordingTool(&context.view, 1);
        ASSERT_TRUE(context.view.startTool(tool));
        EXPECT_EQ(tool->guideLineArray().count(), 2) << "begin collects them";
        EXPECT_EQ(context.view.pendingToolModifiers(), 1u);
        score->staff(0)->measure(0)->voiceChords(0)[finished ? 0 : 1]->clearNotes();
        tool->markModified();
        if (finished) {
            tool->complete();
            afterFinish = bytes();
            EXPECT_FALSE(sameBytes(before, afterFinish));
        } else {
            ASSERT_TRUE(context.view.discardPendingTool());
            EXPECT_TRUE(sameBytes(afterFinish, bytes()));
        }
        EXPECT_EQ(steps(), 1);
        EXPECT_EQ(context.view.pendingTool, nullptr);
        score = static_cast<MnScore*>(document.works()[1]);
    }
}

TEST_F(UiCommandTest, guideLinesAreShownWhenSnappingIsOnWhichCtrlInverts)
{
    struct Case
    {
        bool snap;
        unsigned modifiers;
        EdContext::HeldKey held;
        bool ctrl;
        bool shown;
    };
    const Case cases[] = {
        {true, 1, EdContext::LeftCtrl, false, true},   {true, 1, EdContext::LeftCtrl, true, false},
        {true, 1, EdContext::RightCtrl, true, false},  {false, 1, EdContext::RightCtrl, true, true},
        {false, 1, EdContext::LeftCtrl, false, false}, {true, 2, EdContext::LeftCtrl, true, true},
        {false, 0, EdContext::LeftCtrl, true, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << "case " << (&c - cases));
        context.toggles().snapGuideLines = c.snap;
        context.held[EdContext::LeftCtrl] = false;
        context.held[EdContext::RightCtrl] = false;
        context.held[c.held] = c.ctrl;
        RecordingTool tool(&context.view, c.modifiers);
        tool.begin();
        const int frames = context.view.guideLineFrames;
        tool.updateSnap();
        EXPECT_EQ(context.view.guideLineFrames, frames + (c.shown ? 1 : 0));
        if (c.shown) {
            EXPECT_EQ(context.view.guideLinesShown, 2);
        }
        tool.end();
        EXPECT_EQ(tool.guideLineArray().count(), 0);
    }
}
