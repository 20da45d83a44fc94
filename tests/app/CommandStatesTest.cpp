#include "ShellFixture.h"

#include "app/UiCommandStates.h"
#include "app/UiDocument.h"
#include "app/UiMainFrame.h"
#include "app/UiMenus.h"
#include "app/UiQuorvaneView.h"
#include "app/UiToolBar.h"
#include "app/UiViewInput.h"
#include "commands/EdCommandTable.h"
#include "editing/EdContext.h"
#include "editing/FretboardTuning.h"

#include <wx/menu.h>

#include <X11/keysym.h>

namespace {

class CommandStatesTest : public ShellTest
{
protected:
    UiMainFrame& frame() { return *app().mainFrame(); }
    EdCommandState state(unsigned id)
    {
        UiCommandStates::invalidate();
        return UiCommandStates::state(&frame(), id);
    }
    void closeAll()
    {
        while (app().documentManager()->GetCurrentDocument()) {
            frame().runCommand(57602);
            pump();
        }
    }
};

}

TEST_F(CommandStatesTest, withoutADocumentOnlyWhatNeedsNoneStaysEnabled)
{
    ASSERT_TRUE(start());
    closeAll();
    const unsigned greyed[] = {57643, 57644, 57603, 57607, 32789, 32790, 32791, 32792, 32809, 32810, 32811,
                               32833, 32813, 32851, 32819, 33020, 33083, 32816, 32830, 32786, 33025};
    for (unsigned id : greyed)
        EXPECT_FALSE(state(id).enabled) << id;
    const unsigned enabled[] = {32783, 32784, 32785, 32961, 32937, 32943, 33098, 33100,
                                33104, 32806, 32836, 32831, 32808, 33097, 33090, 57600, 57601};
    for (unsigned id : enabled)
        EXPECT_TRUE(state(id).enabled) << id;
    // The toolbar's buttons are asked like the menus.
    wxUpdateUIEvent event(UiMenus::itemId(32791));
    event.SetEventObject(&frame());
    frame().ProcessWindowEvent(event);
    EXPECT_TRUE(event.GetSetEnabled());
    EXPECT_FALSE(event.GetEnabled());
}

TEST_F(CommandStatesTest, theShellsRowsInOneTable)
{
    ASSERT_TRUE(start({writeScore("Score.qrv")}));
    ASSERT_TRUE(app().documentManager()->GetCurrentDocument());
    app().documentManager()->GetCurrentDocument()->Modify(false);
    frame().runCommand(UiMainFrame::showAllId);
    pump();

    enum Step { none, modify, hideProperties, hideAll };
    struct Row
    {
        const char* name;
        Step step;
        unsigned id;
        bool enabled, checked;
    };
    const Row rows[] = {
        {"save unmodified", none, 57603, false, false},
        {"save modified", modify, 57603, true, false},
        {"rename without selection", none, 33083, false, false},
        {"picture button with a score", none, 32816, true, false},
        {"tempo box with a score", none, 32830, true, false},
        {"fretboard pane shown", none, 33097, true, true},
        {"show all with all shown", none, UiMainFrame::showAllId, false, false},
        {"hide all with all shown", none, UiMainFrame::hideAllId, true, false},
        {"properties hidden", hideProperties, 32806, true, false},
        {"show all with one hidden", none, UiMainFrame::showAllId, true, false},
        {"record while everything else is on", none, 33025, false, false},
        {"nothing to hide after hide all", hideAll, UiMainFrame::hideAllId, false, false},
        {"panes unchecked after hide all", none, 32808, true, false},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        if (row.step == modify)
            app().documentManager()->GetCurrentDocument()->Modify(true);
        else if (row.step == hideProperties)
            frame().runCommand(32806);
        else if (row.step == hideAll)
            frame().runCommand(UiMainFrame::hideAllId);
        EdCommandState s = state(row.id);
        EXPECT_EQ(s.enabled, row.enabled);
        EXPECT_EQ(s.checked, row.checked);
    }
    app().documentManager()->GetCurrentDocument()->Modify(false);
}

TEST_F(CommandStatesTest, octaveTranspositionAndRecord)
{
    ASSERT_TRUE(start());
    EdContext::NoteInput& input = EdContext::current().noteInput();
    for (int octave = 1; octave <= 7; ++octave) {
        SCOPED_TRACE(octave);
        input.keyboardOctave = octave;
        EXPECT_EQ(state(33041).enabled, octave >= 2);
        EXPECT_EQ(state(33042).enabled, octave >= 2);
        EXPECT_TRUE(state(33043).enabled);
        for (int i = 0; i < 7; ++i)
            EXPECT_EQ(state(32937 + unsigned(i)).checked, i + 1 == octave);
        EXPECT_FALSE(state(33025).enabled);
    }
    input.keyboardOctave = 4;
}

TEST_F(CommandStatesTest, fretboardTuningsCheckTheirPreset)
{
    ASSERT_TRUE(start());
    // The rows of the editing commands, asked as the shell asks them.
    FretboardTuning guitar = FretboardTuning::preset(0);
    FretboardTuning shortNeck = guitar;
    shortNeck.frets = 20;
    FretboardTuning banjo = FretboardTuning::preset(4);
    struct Row
    {
        const char* name;
        FretboardTuning tuning;
        unsigned checked;
    };
    const Row rows[] = {{"guitar", guitar, 33098}, {"guitar of 20 frets", shortNeck, 33100}, {"banjo", banjo, 33103}};
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        EdCommandInputs inputs;
        inputs.fretboardPreset = FretboardTuning::presetIndex(row.tuning);
        for (unsigned id : {33098u, 33099u, 33101u, 33102u, 33103u, 33100u}) {
            EdCommandState s = EdCommandTable::state(id, inputs);
            EXPECT_TRUE(s.enabled) << id;
            EXPECT_EQ(s.checked, id == row.checked) << id;
        }
    }
}

TEST_F(CommandStatesTest, holdingCtrlWithASnappingToolFlipsSnap)
{
    ASSERT_TRUE(start({writeScore("Score.qrv")}));
    ASSERT_TRUE(app().documentManager()->GetCurrentDocument());
    EdContext::current().toggles().snapGuideLines = true;
    EXPECT_TRUE(state(33069).checked);
    // Octave starts its line tool, which takes Ctrl, when nothing is selected.
    ASSERT_TRUE(frame().runCommand(32893));
    EdView* view = EdContext::current().activeView();
    ASSERT_NE(view, nullptr);
    ASSERT_EQ(view->pendingToolModifiers() & 1u, 1u);
    UiViewKeys::shared().press(XK_Control_L, WXK_CONTROL);
    EXPECT_FALSE(state(33069).checked);
    EXPECT_TRUE(state(33069).enabled);
    // Shift does not touch snapping; ortho's tool modifier is not Shift here.
    UiViewKeys::shared().press(XK_Shift_R, WXK_SHIFT);
    EXPECT_FALSE(state(33069).checked);
    EXPECT_FALSE(state(33070).checked);
    UiViewKeys::shared().release(XK_Shift_R, WXK_SHIFT);
    UiViewKeys::shared().release(XK_Control_L, WXK_CONTROL);
    EXPECT_TRUE(state(33069).checked);
    UiViewKeys::shared().clear();
}

TEST_F(CommandStatesTest, oneIdleUpdateGathersOnce)
{
    ASSERT_TRUE(start());
    ASSERT_TRUE(app().documentManager()->GetCurrentDocument());
    UiCommandStates::invalidate();
    const EdCommandInputs& first = UiCommandStates::inputs(&frame());
    // State queries keep the inputs; any other event makes them stale.
    wxUpdateUIEvent query(UiMenus::itemId(57603));
    UiCommandStates::noteEvent(query);
    EXPECT_EQ(&UiCommandStates::inputs(&frame()), &first);
    EdContext::NoteInput& input = EdContext::current().noteInput();
    int before = UiCommandStates::inputs(&frame()).noteInput.keyboardOctave;
    input.keyboardOctave = before == 4 ? 5 : 4;
    EXPECT_EQ(UiCommandStates::inputs(&frame()).noteInput.keyboardOctave, before);
    wxCommandEvent other(wxEVT_MENU, 1);
    UiCommandStates::noteEvent(other);
    EXPECT_EQ(UiCommandStates::inputs(&frame()).noteInput.keyboardOctave, input.keyboardOctave);
    input.keyboardOctave = 4;
}
