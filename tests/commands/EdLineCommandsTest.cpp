#include "EdCommandFixture.h"

#include "commands/EdCommandRows.h"
#include "commands/EdCommandTable.h"
#include "commands/EdLineCommands.h"
#include "commands/EdMoveCommands.h"
#include "commands/UiNewLineCmd.h"
#include "model/MnCodes.h"
#include "model/MnDynamic.h"
#include "model/MnOctave.h"
#include "model/MnPedal.h"

#include <cstring>
#include <functional>
#include <string>
#include <vector>

namespace {

class EdLineCommandsTest : public EdCommandFixture
{
protected:
    void SetUp() override
    {
        EdCommandFixture::SetUp();
        score = addScore(makeScore(2, 3));
    }

    // Of the score in the document now: a cancelled tool reloads it.
    const BcArray<MnLine*>& lines(int staff)
    {
        return static_cast<MnScore*>(document.works()[1])->staff(staff)->lineArray();
    }

    UiCommand* tool() { return static_cast<UiCommand*>(context.view.pendingInterface); }

    MnScore* score = nullptr;
};

}

TEST_F(EdLineCommandsTest, staffTimeSpanCoversTheSelectedMusicOfOneStaff)
{
    MnStaff* staff = score->staff(0);
    MnMeasure* second = staff->measure(1);
    MnChord* rest = new MnChord(second, 1, 0, 241920);
    BcArray<MnChord*>& voice = second->voiceChords(1);
    for (int i = 0; i < voice.count(); ++i)
        delete voice[i];
    voice.removeAll();
    voice.add(rest);

    struct Case
    {
        const char* name;
        std::vector<MnElement*> selected;
        bool found;
        int start, end;
    };
    const int q = 60480;
    const Case cases[] = {
        {"a measure", {second}, true, 4 * q, 8 * q},
        {"a note and a chord", {staff->measure(2)->voiceChords(0)[3]->note(0), staff->measure(0)->voiceChords(0)[1]},
         true, q, 12 * q},
        {"the second voice's whole rest alone", {rest}, false, 0, 0},
        {"that rest beside a chord", {rest, second->voiceChords(0)[2]}, true, 6 * q, 7 * q},
        {"two staves", {second, score->staff(1)->measure(1)}, false, 0, 0},
        {"a staff", {staff}, false, 0, 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        selection().clear();
        for (MnElement* element : c.selected)
            selection().add(element);
        MnStaff* found = nullptr;
        int start = -1;
        int end = -1;
        EXPECT_EQ(selection().staffTimeSpan(found, start, end), c.found);
        if (!c.found) {
            EXPECT_EQ(found, nullptr);
            continue;
        }
        EXPECT_EQ(found, staff);
        EXPECT_EQ(start, c.start);
        EXPECT_EQ(end, c.end);
    }
}

TEST_F(EdLineCommandsTest, aSpanGetsItsLineAtOnceAndSelected)
{
    const int q = 60480;
    MnStaff* bass = score->staff(1);
    ASSERT_TRUE(bass->setClef(MnClefBass));
    restartHistory();

    select({bass->measure(1)});
    EdLineCommands::cmdOctave();
    ASSERT_EQ(lines(1).count(), 1);
    EXPECT_EQ(lines(1)[0]->kind(), -1) << "an octave under a bass clef goes down";
    EXPECT_EQ(lines(1)[0]->start(), 4 * q);
    EXPECT_EQ(lines(1)[0]->length(), 4 * q);
    EXPECT_EQ(selection().element(0), lines(1)[0]);
    EXPECT_EQ(steps(), 1);

    MnChord* chord = score->staff(0)->measure(0)->voiceChords(0)[2];
    select({chord->note(0)});
    EdLineCommands::cmdDynamic();
    ASSERT_EQ(lines(0).count(), 1);
    EXPECT_TRUE(lines(0)[0]->isKindOf(MnDynamic::staticClass()));
    EXPECT_EQ(lines(0)[0]->kind(), MnDynamicP);
    EXPECT_EQ(lines(0)[0]->start(), 2 * q);
    EXPECT_EQ(lines(0)[0]->length(), q);
    EXPECT_EQ(steps(), 2);
    EXPECT_EQ(context.view.toolsStarted, 0);
}

TEST_F(EdLineCommandsTest, anOctaveNeverStartsInsideAnotherWhileAnEarlierMarkIsCut)
{
    const int q = 60480;
    MnStaff* staff = score->staff(0);
    MnOctave* octave = staff->addLine<MnOctave>(0);
    ASSERT_NE(octave, nullptr);
    octave->setLength(8 * q);
    EXPECT_EQ(octave->kind(), MnOctaveOneUp);
    restartHistory();
    const auto before = bytes();
    select({staff->measure(1)});
    EdLineCommands::cmdOctave();
    EXPECT_EQ(lines(0).count(), 1);
    EXPECT_EQ(steps(), 0);
    EXPECT_TRUE(sameBytes(before, bytes()));
    EXPECT_EQ(context.view.toolsStarted, 0) << "a span that was refused starts no tool";

    select({staff->measure(0)});
    EdLineCommands::cmdDynamic();
    select({staff->measure(0)->voiceChords(0)[1]});
    EdLineCommands::cmdDynamic();
    std::vector<MnLine*> dynamics;
    for (int i = 0; i < lines(0).count(); ++i) {
        if (lines(0)[i]->isKindOf(MnDynamic::staticClass()))
            dynamics.push_back(lines(0)[i]);
    }
    ASSERT_EQ(dynamics.size(), 2u);
    EXPECT_EQ(dynamics[0]->start(), 0);
    EXPECT_EQ(dynamics[0]->length(), q) << "the earlier mark ends where the new one starts";
    EXPECT_EQ(dynamics[1]->start(), q);
}

TEST_F(EdLineCommandsTest, pedalsGoOnePerSelectedMeasure)
{
    MnStaff* staff = score->staff(0);
    select({staff->measure(2), staff->measure(0), score->staff(1)->measure(1)});
    EdLineCommands::cmdPedal();
    ASSERT_EQ(selection().count(), 3);
    for (int i = 0; i < 3; ++i) {
        SCOPED_TRACE(i);
        ASSERT_TRUE(selection().element(i)->isKindOf(MnPedal::staticClass()));
        MnLine* pedal = static_cast<MnLine*>(selection().element(i));
        EXPECT_EQ(pedal->length(), 241920);
        EXPECT_EQ(pedal->kind(), MnPedalSignRelease);
    }
    EXPECT_EQ(static_cast<MnLine*>(selection().element(0))->start(), 2 * 241920);
    EXPECT_EQ(static_cast<MnLine*>(selection().element(2))->staff(), score->staff(1));
    EXPECT_EQ(steps(), 1);
}

TEST_F(EdLineCommandsTest, withoutASpanTheLineToolStarts)
{
    EdCommandTable::clear();
    EdCommandRows::install();
    // Each command cancels the tool before it, which reloads the document:
    // the elements are looked up afresh.
    auto current = [this] { return static_cast<MnScore*>(document.works()[1]); };
    struct Case
    {
        unsigned id;
        std::function<std::vector<MnElement*>(MnScore*)> selected;
    };
    const Case cases[] = {
        {EdLineCommands::octaveId, [](MnScore* s) { return std::vector<MnElement*>{s->staff(0)->measure(0),
                                                                                  s->staff(1)->measure(0)}; }},
        {EdLineCommands::dynamicId, [](MnScore*) { return std::vector<MnElement*>{}; }},
        {EdLineCommands::pedalId, [](MnScore* s) { return std::vector<MnElement*>{s->staff(0)}; }},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.id);
        selection().clear();
        for (MnElement* element : c.selected(current()))
            selection().add(element);
        const int started = context.view.toolsStarted;
        ASSERT_TRUE(EdCommandTable::execute(c.id, EdCommandTable::gather()));
        EXPECT_EQ(context.view.toolsStarted, started + 1);
        ASSERT_NE(tool(), nullptr);
        EXPECT_STREQ(tool()->name(), "NewLine");
        EXPECT_EQ(tool()->modifierKeys(), 1u);
        EXPECT_EQ(EdCommandTable::gather().toolModifiers, 1u);
        EXPECT_EQ(context.view.focusTaken, started + 1);
    }
    context.view.discardPendingTool();
    EXPECT_EQ(steps(), 0);
    EXPECT_EQ(current()->staff(0)->lineArray().count() + current()->staff(1)->lineArray().count(), 0);
}

// The tool against a fake view that says which chord lies under a point:
// x / 100 picks a quarter of staff 0's first measure (0..3) or of staff 1's
// (4..7); the height is the point's y in staff steps.
class UiNewLineCmdTest : public EdLineCommandsTest
{
protected:
    void SetUp() override
    {
        EdLineCommandsTest::SetUp();
        context.view.pointAt = [this](const GePoint2d& point, double& height) -> MnChord* {
            const int slot = int(point.x) / 100;
            if (point.x < 0 || slot > 7)
                return nullptr;
            height = point.y;
            return score->staff(slot / 4)->measure(0)->voiceChords(0)[slot % 4];
        };
        context.toggles().snapGuideLines = false;
    }

    void move(int x, int y = -12, unsigned flags = 0)
    {
        ASSERT_NE(tool(), nullptr);
        EXPECT_TRUE(tool()->onMouseMove(flags, UiCommand::Point{x, y}));
    }

    void click(int x, int y = -12)
    {
        ASSERT_NE(tool(), nullptr);
        EXPECT_TRUE(tool()->onLButtonDown(UiCommand::leftButtonFlag, UiCommand::Point{x, y}));
    }
};

TEST_F(UiNewLineCmdTest, aMarkIsPlacedWithOneClick)
{
    selection().clear();
    EdLineCommands::cmdDynamic();
    ASSERT_NE(tool(), nullptr);
    ASSERT_EQ(selection().count(), 1) << "the waiting line is selected";
    move(150);
    ASSERT_EQ(lines(0).count(), 1);
    EXPECT_EQ(lines(0)[0]->start(), 60480);
    EXPECT_EQ(lines(0)[0]->length(), 60480);
    click(150);
    EXPECT_EQ(context.view.pendingTool, nullptr);
    ASSERT_EQ(lines(0).count(), 1);
    EXPECT_EQ(lines(0)[0]->kind(), MnDynamicP);
    EXPECT_EQ(steps(), 1);
}

TEST_F(UiNewLineCmdTest, anOctaveIsAnchoredByTheFirstClickAndEndedByTheSecond)
{
    EdLineCommands::cmdOctave();
    move(50, 12);
    click(50, 12);
    ASSERT_NE(tool(), nullptr) << "anchored, not ended";
    move(250, 12);
    ASSERT_EQ(lines(0).count(), 1);
    EXPECT_EQ(lines(0)[0]->start(), 0);
    EXPECT_EQ(lines(0)[0]->length(), 3 * 60480) << "it ends with the pointed chord";
    click(250, 12);
    EXPECT_EQ(context.view.pendingTool, nullptr);
    EXPECT_EQ(lines(0).count(), 1);
    EXPECT_EQ(steps(), 1);
}

TEST_F(UiNewLineCmdTest, aClickOnNoChordEndsTheToolWithAnUnchangedDocument)
{
    const auto before = bytes();
    EdLineCommands::cmdPedal();
    move(50);
    move(550);
    EXPECT_EQ(lines(0).count(), 0);
    EXPECT_EQ(lines(1).count(), 1) << "moved across to the second staff";
    move(-40);
    EXPECT_EQ(lines(0).count() + lines(1).count(), 0) << "back on the waiting staff";
    click(-40);
    EXPECT_EQ(context.view.pendingTool, nullptr);
    EXPECT_EQ(steps(), 1) << "the tool's transaction was marked when it began";
    EXPECT_TRUE(sameBytes(before, bytes()));
}

TEST_F(UiNewLineCmdTest, anotherCommandCancelsTheTool)
{
    const auto before = bytes();
    EdLineCommands::cmdDynamic();
    move(50);
    EXPECT_EQ(lines(0).count(), 1);
    selection().clear();
    EdMoveCommands::cmdStaffMoveUp();
    EXPECT_EQ(context.view.pendingTool, nullptr);
    EXPECT_EQ(context.view.toolsDiscarded, 1);
    EXPECT_EQ(steps(), 0);
    EXPECT_TRUE(sameBytes(before, bytes()));
    EXPECT_EQ(lines(0).count(), 0);
}

// The line's own guide lines are the heights of the other lines of its
// class in the system; Ctrl, re-sent as a mouse move, inverts the switch.
TEST_F(UiNewLineCmdTest, aDynamicSnapsToAnotherDynamicsHeightUnlessCtrlInvertsIt)
{
    MnStaff* staff = score->staff(0);
    MnDynamic* other = staff->addLine<MnDynamic>(2 * 60480);
    ASSERT_NE(other, nullptr);
    other->moveTo(GePoint2d(0.0, other->offset() - 3.0));
    const double guide = other->offset();
    const double near = guide + 0.25;
    restartHistory();

    EdLineCommands::cmdDynamic();
    ASSERT_NE(tool(), nullptr);
    context.view.pointAt = [this, near](const GePoint2d& point, double& height) -> MnChord* {
        if (point.x < 0)
            return nullptr;
        height = near;
        return score->staff(0)->measure(0)->voiceChords(0)[int(point.x) / 100 % 2];
    };
    context.view.clientOriginX = 1000;
    context.pointer[0] = 1050;
    // Keys that do not matter, and the auto-repeat, are declined.
    EXPECT_FALSE(tool()->onKeyDown(UiCommand::shiftKey, 1, 0));
    EXPECT_FALSE(tool()->onKeyDown(UiCommand::controlKey, 1, UiCommand::repeatFlag));
    EXPECT_FALSE(tool()->onKeyUp(UiCommand::controlKey, 1, 0));
    EXPECT_EQ(staff->lineArray().count(), 1);

    struct Case
    {
        bool snapToggle;
        bool ctrl;
        double expected;
    };
    const Case cases[] = {
        {true, false, guide},
        {true, true, near},
        {false, true, guide},
        {false, false, near},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << "snap " << c.snapToggle << ", ctrl " << c.ctrl);
        context.toggles().snapGuideLines = c.snapToggle;
        context.held[EdContext::LeftCtrl] = c.ctrl;
        move(-50);
        EXPECT_TRUE(c.ctrl ? tool()->onKeyDown(UiCommand::controlKey, 1, 0)
                           : tool()->onKeyUp(UiCommand::controlKey, 1, UiCommand::repeatFlag));
        auto* lineTool = static_cast<UiNewLineCmd<MnDynamic>*>(context.view.pendingInterface);
        ASSERT_NE(lineTool, nullptr);
        MnLine* line = lineTool->line();
        ASSERT_NE(line, nullptr);
        EXPECT_EQ(line->staff(), staff);
        EXPECT_EQ(line->start(), 0);
        EXPECT_NEAR(line->offset(), c.expected, 1e-9);

        const int frames = context.view.guideLineFrames;
        tool()->updateSnap();
        EXPECT_EQ(context.view.guideLineFrames, frames + (c.snapToggle != c.ctrl ? 1 : 0));
    }
}
