#include "ViewMouseFixture.h"

#include "app/UiDragSelectionCmd.h"
#include "app/UiNewNoteCmd.h"
#include "app/UiViewInput.h"
#include "commands/UiCommand.h"
#include "model/MnChord.h"
#include "model/MnMeasure.h"
#include "model/MnNote.h"
#include "model/MnScore.h"
#include "model/MnStaff.h"
#include "model/MnStaffChange.h"
#include "model/MnTablature.h"

namespace {

using namespace UiViewInput;

class ViewMouseTest : public ViewMouseFixture
{
protected:
    void SetUp() override
    {
        ViewMouseFixture::SetUp();
        score = makeScore(3, 6);
        show(score);
    }
    MnMeasure* measure(int staff, int index) { return score->staff(staff)->measure(index); }
    MnChord* chord(int staff, int m, int voice, int index) { return measure(staff, m)->voiceChords(voice)[index]; }
    MnNote* note(int staff, int m, int index) { return chord(staff, m, 0, index)->note(0); }
    // The elements of the selection, in order.
    std::vector<MnElement*> selected()
    {
        std::vector<MnElement*> out;
        for (int i = 0; i < core.selection().count(); ++i)
            out.push_back(core.selection().element(i));
        return out;
    }

    MnScore* score = nullptr;
};

TEST_F(ViewMouseTest, APanStartsPastTheThresholdAndOnlyAnUnmovedRightClickOpensTheMenu)
{
    struct Case
    {
        const char* name;
        bool rightPans;
        int dx, dy;
        bool pans;
        int menus;
    };
    const Case cases[] = {
        {"right, 10 px both ways", true, 10, 10, false, 1},
        {"right, 11 px across", true, 11, 0, true, 0},
        {"right, 11 px down", true, 0, -11, true, 0},
        {"middle, 1 px", false, 1, 0, true, 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        window.rightPans = c.rightPans;
        window.menus.clear();
        core.view.setCamera(100, -20, 300);
        const unsigned button = c.rightPans ? rightButton : middleButton;
        if (c.rightPans)
            core.rightButtonDown(button, 400, 300);
        else
            core.middleButtonDown(button, 400, 300);
        EXPECT_TRUE(core.mouseMove(button, 400 + c.dx, 300 + c.dy));
        EXPECT_EQ(c.pans, core.view.scrollX != 100 || core.view.scrollY != -20);
        if (c.rightPans)
            core.rightButtonUp(0, 400 + c.dx, 300 + c.dy);
        else
            core.middleButtonUp(0, 400 + c.dx, 300 + c.dy);
        EXPECT_FALSE(core.isPanning());
        EXPECT_EQ(size_t(c.menus), window.menus.size());
    }
    // Released outside and moved back without the button: no pan.
    window.rightPans = true;
    core.view.setCamera(100, -20, 300);
    core.rightButtonDown(rightButton, 400, 300);
    EXPECT_FALSE(core.mouseMove(0, 450, 300));
    EXPECT_EQ(100.0, core.view.scrollX);
    // The pointer outside the window starts no pan.
    window.inside = false;
    core.rightButtonDown(rightButton, 400, 300);
    EXPECT_FALSE(core.isPanning());
}

TEST_F(ViewMouseTest, ClickSelectPlainToggleAndExtend)
{
    MnElement* a = note(0, 0, 0);
    MnElement* b = note(0, 0, 1);
    struct Case
    {
        const char* name;
        std::vector<MnElement*> before;
        MnElement* clicked;
        bool extend, toggle;
        bool changed, already;
        std::vector<MnElement*> after;
    };
    const Case cases[] = {
        {"plain on unselected", {a}, b, false, false, true, false, {b}},
        {"plain on one of several", {a, b}, b, false, false, false, true, {a, b}},
        {"toggle off", {a, b}, a, false, true, true, false, {b}},
        {"toggle on", {a}, b, false, true, true, false, {a, b}},
        {"extend wins over toggle", {}, b, true, true, true, false, {b}},
        {"note then staff adds the staff", {a}, score->staff(1), true, false, true, false, {a, score->staff(1)}},
        {"staff then tablature row", {score->staff(2)}, score->staff(0), true, false, true, false,
         {score->staff(2), score->staff(0), score->staff(1)}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        EdSelection selection;
        for (MnElement* e : c.before)
            selection.add(e);
        bool already = true;
        EXPECT_EQ(c.changed, UiViewCore::clickSelect(selection, c.clicked, already, c.extend, c.toggle));
        EXPECT_EQ(c.already, already);
        std::vector<MnElement*> after;
        for (int i = 0; i < selection.count(); ++i)
            after.push_back(selection.element(i));
        EXPECT_EQ(c.after, after);
    }
}

TEST_F(ViewMouseTest, ExtendingSelectsMeasureBlocksAndNoteRangesOverStaves)
{
    // Staff 1 measure 2 to staff 3 measure 5 (1-based): a 3 x 4 block.
    EdSelection block;
    bool already = false;
    block.add(measure(0, 1));
    EXPECT_TRUE(UiViewCore::clickSelect(block, measure(2, 4), already, true, false));
    EXPECT_EQ(12, block.count());
    for (int s = 0; s < 3; ++s)
        for (int m = 1; m <= 4; ++m)
            EXPECT_TRUE(block.contains(measure(s, m))) << s << " " << m;

    // From the second quarter of staff 1 back to the first of staff 2, in
    // the first measure: both voices' chords at each position.
    EdSelection range;
    range.add(note(0, 0, 1));
    EXPECT_TRUE(UiViewCore::clickSelect(range, note(1, 0, 0), already, true, false));
    for (int s = 0; s < 2; ++s) {
        EXPECT_TRUE(range.contains(note(s, 0, 0)));
        EXPECT_TRUE(range.contains(note(s, 0, 1)));
        EXPECT_FALSE(range.contains(note(s, 0, 2)));
        EXPECT_TRUE(range.contains(chord(s, 0, 1, 0)->note(0)));
    }
    EXPECT_FALSE(range.contains(note(2, 0, 0)));
    EXPECT_EQ(6, range.count());
}

TEST_F(ViewMouseTest, TheCursorFollowsTheClickedElementByItsClass)
{
    context.noteInput().inputVoice = 1;
    ASSERT_TRUE(score->staff(1)->insertStaffChange(60480 * 4 * 2 + 60480));
    MnStaffChange* change = score->staff(1)->change(0);
    struct Case
    {
        const char* name;
        MnElement* hit;
        MnStaff* staff;
        int voice;
        int time;
    };
    const Case cases[] = {
        {"note", note(0, 1, 2), score->staff(0), 0, 4 * 60480 + 2 * 60480},
        {"chord of voice 1", chord(2, 0, 1, 1), score->staff(2), 1, 2 * 60480},
        {"measure", measure(1, 3), score->staff(1), 1, 3 * 4 * 60480},
        {"staff", score->staff(2), score->staff(2), 1, 0},
        {"staff change", change, score->staff(1), 1, change->startTime()},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        core.placeCursorAt(c.hit);
        EXPECT_EQ(c.staff, core.cursor().staff());
        EXPECT_EQ(c.voice, core.cursor().voice());
        EXPECT_EQ(c.time, core.cursor().time());
        EXPECT_EQ(c.time, core.cursor().anchorTime());
    }
}

TEST_F(ViewMouseTest, AClickOnANoteheadSelectsItPreviewsItAndStartsADrag)
{
    MnNote* target = note(0, 0, 2);
    int x = 0;
    int y = 0;
    ASSERT_TRUE(clientOfElement(target, x, y));
    EXPECT_TRUE(core.leftButtonDown(leftButton, x, y));
    EXPECT_EQ(std::vector<MnElement*>{target}, selected());
    EXPECT_EQ(std::vector<int>{target->keyNumber()}, window.taps);
    EXPECT_EQ(2 * 60480, core.cursor().time());
    ASSERT_NE(nullptr, dynamic_cast<UiDragSelectionCmd*>(core.currentCommand()));
    EXPECT_TRUE(core.leftButtonUp(0, x, y));
    EXPECT_FALSE(core.hasPendingTool());

    // Again on the only selected element: no change, a preview and a drag.
    core.cursor().setPosition(0, 0, false);
    core.leftButtonDown(leftButton, x, y);
    EXPECT_EQ(0, core.cursor().time());
    EXPECT_EQ(2u, window.taps.size());
    EXPECT_TRUE(core.hasPendingTool());
    core.leftButtonUp(0, x, y);

    // Ctrl on one of two selected notes removes it and starts no drag;
    // outside the window a click selects but starts no drag either.
    core.selection().add(note(0, 0, 0));
    core.leftButtonDown(leftButton | control, x, y);
    EXPECT_EQ(std::vector<MnElement*>{note(0, 0, 0)}, selected());
    EXPECT_FALSE(core.hasPendingTool());
    window.inside = false;
    core.leftButtonDown(leftButton, x, y);
    EXPECT_EQ(std::vector<MnElement*>{target}, selected());
    EXPECT_FALSE(core.hasPendingTool());
}

TEST_F(ViewMouseTest, AClickOnNothingEmptiesTheSelectionUnlessExtendingAndStartsTheWindowSelection)
{
    static int started = 0;
    started = 0;
    UiViewCore::setWindowSelectionFactory([](UiViewCore&, int, int, const GePoint2d&) -> EdTool* {
        ++started;
        return nullptr;
    });
    core.selection().add(note(0, 0, 0));
    core.leftButtonDown(leftButton | control, 2, 2);
    EXPECT_EQ(1, core.selection().count());
    core.leftButtonDown(leftButton, 2, 2);
    EXPECT_TRUE(core.selection().isEmpty());
    EXPECT_EQ(2, started);
    UiViewCore::setWindowSelectionFactory(nullptr);
}

// A tool that declines the left button after changing the model.
class DecliningTool : public UiCommand
{
public:
    explicit DecliningTool(EdView* view) : UiCommand(view) {}
    const char* name() const override { return "Declining"; }
};

TEST_F(ViewMouseTest, AToolThatDeclinesAPressIsCancelledBeforeThePick)
{
    int x = 0;
    int y = 0;
    ASSERT_TRUE(clientOfElement(note(0, 0, 1), x, y));
    DecliningTool* tool = new DecliningTool(&core);
    ASSERT_TRUE(core.startTool(tool));
    score->staff(2)->measure(5)->voiceChords(0)[0]->clearNotes();
    tool->markModified();
    EXPECT_TRUE(core.leftButtonDown(leftButton, x, y));
    // The cancelled tool reloaded the document: the note selected is one of
    // the reloaded score.
    ASSERT_EQ(1, core.selection().count());
    MnScore* reloaded = nullptr;
    for (int i = 0; i < document.works().count(); ++i)
        if (document.works()[i]->isKindOf(MnScore::staticClass()))
            reloaded = static_cast<MnScore*>(document.works()[i]);
    ASSERT_NE(nullptr, reloaded);
    EXPECT_EQ(reloaded->staff(0)->measure(0)->voiceChords(0)[1]->note(0), core.selection().element(0));
    EXPECT_EQ(1, reloaded->staff(2)->measure(5)->voiceChords(0)[0]->noteCount());
}

TEST_F(ViewMouseTest, ARightClickWithAToolCancelsItAndClearsTheNoteValue)
{
    context.noteInput().inputDuration = 60480;
    context.noteInput().inputDotted = true;
    context.noteInput().inputVoice = 1;
    EXPECT_FALSE(core.mouseMove(0, 5, 5));
    ASSERT_NE(nullptr, dynamic_cast<UiNewNoteCmd*>(core.currentCommand()));
    core.selection().add(note(0, 0, 0));
    core.rightButtonDown(rightButton, 5, 5);
    core.rightButtonUp(0, 5, 5);
    EXPECT_FALSE(core.hasPendingTool());
    EXPECT_TRUE(core.selection().isEmpty());
    EXPECT_EQ(0, context.noteInput().inputDuration);
    EXPECT_FALSE(context.noteInput().inputDotted);
    EXPECT_EQ(1, context.noteInput().inputVoice);
    EXPECT_TRUE(window.menus.empty());

    // With something selected a move starts no note entry.
    context.noteInput().inputDuration = 60480;
    core.selection().add(note(0, 0, 0));
    core.mouseMove(0, 6, 6);
    EXPECT_FALSE(core.hasPendingTool());

    // A right click after a left click on an element opens no menu.
    int x = 0;
    int y = 0;
    ASSERT_TRUE(clientOfElement(note(0, 0, 3), x, y));
    core.rightButtonDown(rightButton, x, y);
    core.leftButtonDown(leftButton | rightButton, x, y);
    core.leftButtonUp(rightButton, x, y);
    core.rightButtonUp(0, x, y);
    EXPECT_TRUE(window.menus.empty());
    core.rightButtonDown(rightButton, 3, 3);
    core.rightButtonUp(0, 3, 3);
    EXPECT_EQ(std::vector<std::string>{"3,3"}, window.menus);
}

TEST_F(ViewMouseTest, TheViewTakesTheFocusFromAPaneThatLetsItGo)
{
    struct Pane : UiFocusPane
    {
        bool release = false;
        bool canReleaseFocus() override { return release; }
    } pane;
    window.pane = &pane;
    core.mouseMove(0, 1, 1);
    EXPECT_EQ(0, window.focus);
    pane.release = true;
    core.mouseMove(0, 1, 1);
    EXPECT_EQ(1, window.focus);
}

}  // namespace
