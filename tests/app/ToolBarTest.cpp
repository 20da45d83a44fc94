#include "ShellFixture.h"

#include "app/UiCommandStates.h"
#include "app/UiDocument.h"
#include "app/UiMainFrame.h"
#include "app/UiMenus.h"
#include "app/UiToolBar.h"
#include "commands/EdCommandTable.h"
#include "editing/EdContext.h"
#include "editing/EdSelection.h"
#include "editing/EdView.h"
#include "editing/QuorvaneDocument.h"
#include "model/MnChord.h"
#include "model/MnCodes.h"
#include "model/MnMeasure.h"
#include "model/MnScore.h"
#include "model/MnSheetMusic.h"
#include "model/MnStaff.h"

#include <wx/spinctrl.h>

#include <algorithm>

namespace {

class ToolBarTest : public ShellTest
{
protected:
    ~ToolBarTest() override { UiToolBar::setTempoSink(nullptr); }
    UiMainFrame& frame() { return *app().mainFrame(); }
    UiToolBar& bar() { return *frame().toolBar(); }

    wxPoint centreOf(int index)
    {
        wxAuiToolBarItem* item = bar().FindToolByIndex(index);
        return item ? bar().GetToolRect(item->GetId()).GetPosition() + wxPoint(4, 4) : wxPoint(-1, -1);
    }
    void mouse(wxEventType type, int index)
    {
        wxMouseEvent event(type);
        wxPoint at = centreOf(index);
        event.SetPosition(at);
        event.SetEventObject(&bar());
        event.m_rightDown = type == wxEVT_RIGHT_DOWN;
        bar().GetEventHandler()->ProcessEvent(event);
    }
    void rightClick(int down, int up)
    {
        mouse(wxEVT_RIGHT_DOWN, down);
        mouse(wxEVT_RIGHT_UP, up);
        pump();
    }
    MnChord* firstChord()
    {
        QuorvaneDocument* document = EdContext::current().activeDocument();
        if (!document)
            return nullptr;
        for (int i = 0; i < document->works().count(); ++i) {
            MnElement* work = document->works()[i];
            MnScore* score = nullptr;
            if (work->isKindOf(MnSheetMusic::staticClass()))
                score = static_cast<MnSheetMusic*>(work)->score();
            else if (work->isKindOf(MnScore::staticClass()))
                score = static_cast<MnScore*>(work);
            if (score && score->staffCount() > 0)
                return score->staff(0)->measure(0)->voiceChords(0)[0];
        }
        return nullptr;
    }
};

// Records the commands a row receives in place of its handler.
std::vector<unsigned> received;
bool pauseRequested = false;

}

TEST(ToolBarLayout, buttonsAndSizes)
{
    int separators = 0;
    for (unsigned id : UiToolBar::buttons)
        separators += id == 0;
    EXPECT_EQ(separators, 9);
    EXPECT_EQ(UiToolBar::buttons[19], 32791u);
    EXPECT_EQ(UiToolBar::buttons[UiToolBar::tempoIndex], 32830u);
    EXPECT_EQ(UiToolBar::buttons[UiToolBar::playIndex], 32786u);

    struct Row
    {
        int icon, image, height, button;
        unsigned strip;
    };
    // 96, 120, 144 and 192 dpi.
    const Row rows[] = {{32, 24, 40, 28, 130}, {40, 32, 53, 37, 180}, {48, 32, 53, 37, 180}, {64, 48, 80, 56, 180}};
    for (const Row& row : rows) {
        SCOPED_TRACE(row.icon);
        int c = UiToolBar::imageSize(row.icon);
        EXPECT_EQ(c, row.image);
        EXPECT_EQ(UiToolBar::barHeight(c), row.height);
        EXPECT_EQ(UiToolBar::buttonSize(c), row.button);
        EXPECT_EQ(UiToolBar::stripFor(c), row.strip);
    }

    const int taking[] = {7, 12, 13, 17, 18, 19, 20, 21, 22, 23, 33, 34, 35, 40};
    for (int i = 0; i < UiToolBar::buttonCount; ++i) {
        bool listed = std::find(std::begin(taking), std::end(taking), i) != std::end(taking);
        EXPECT_EQ(UiToolBar::takesRightClick(i), listed) << i;
        EXPECT_EQ(UiToolBar::clearsOnRightRelease(i), listed && i != 40) << i;
    }
}

TEST_F(ToolBarTest, theBarHoldsItsButtonsAndTheTempoBox)
{
    ASSERT_TRUE(start());
    ASSERT_EQ(bar().GetToolCount(), size_t(UiToolBar::buttonCount));
    for (int i = 0; i < UiToolBar::buttonCount; ++i) {
        wxAuiToolBarItem* item = bar().FindToolByIndex(i);
        ASSERT_NE(item, nullptr);
        if (UiToolBar::buttons[i] == 0)
            EXPECT_EQ(item->GetKind(), wxITEM_SEPARATOR) << i;
        else
            EXPECT_EQ(UiMenus::commandId(item->GetId()), UiToolBar::buttons[i]) << i;
    }
    wxSpinCtrl* tempo = bar().tempoBox();
    ASSERT_NE(tempo, nullptr);
    EXPECT_EQ(tempo->GetTextValue(), "80");
    EXPECT_EQ(tempo->GetMin(), 40);
    EXPECT_EQ(tempo->GetMax(), 208);
    EXPECT_EQ(app().toolbarTempo(), 80);
    EXPECT_TRUE(frame().layout().GetPane(&bar()).IsShown());
}

TEST_F(ToolBarTest, theTempoBoxFeedsThePlayer)
{
    std::vector<int> tempos;
    UiToolBar::setTempoSink([&](int bpm) { tempos.push_back(bpm); });
    ASSERT_TRUE(start());
    wxSpinCtrl* tempo = bar().tempoBox();
    // Typed: the text changes and the box says so.
    tempos.clear();
    tempo->SetValue("300");
    wxCommandEvent typed(wxEVT_TEXT, tempo->GetId());
    typed.SetEventObject(tempo);
    tempo->GetEventHandler()->ProcessEvent(typed);
    pump();
    ASSERT_FALSE(tempos.empty());
    EXPECT_EQ(tempos.back(), 208);
    EXPECT_EQ(app().toolbarTempo(), 208);

    // Set from code, the value reaches the player too.
    tempos.clear();
    app().setToolbarTempo(132);
    ASSERT_FALSE(tempos.empty());
    EXPECT_EQ(tempos.back(), 132);
    app().setToolbarTempo(12);
    EXPECT_EQ(tempos.back(), 40);
    EXPECT_EQ(tempo->GetTextValue(), "40");
}

TEST_F(ToolBarTest, aRightClickOnADurationClearsTheSelectionFirst)
{
    ASSERT_TRUE(start({writeScore("Score.qrv")}));
    EdView* view = EdContext::current().activeView();
    ASSERT_NE(view, nullptr);
    MnChord* chord = firstChord();
    ASSERT_NE(chord, nullptr);
    EdContext::current().noteInput().inputDuration = MnTicksHalf;
    view->selection().add(chord);
    pump();
    rightClick(19, 19);  // Quarter
    EXPECT_TRUE(view->selection().isEmpty());
    EXPECT_EQ(EdContext::current().noteInput().inputDuration, MnTicksQuarter);

    // Pressed on Quarter, released over Whole: the clearing follows the
    // release; the bar completes no click across buttons.
    view->selection().add(firstChord());
    pump();
    rightClick(19, 17);
    EXPECT_TRUE(view->selection().isEmpty());
    EXPECT_EQ(EdContext::current().noteInput().inputDuration, 0);

    // Released over New, which clears nothing.
    view->selection().add(firstChord());
    pump();
    rightClick(19, 0);
    EXPECT_FALSE(view->selection().isEmpty());
    view->selection().clear();

    // A right click on a button not listed stays a right click.
    EdContext::current().noteInput().inputDuration = 0;
    rightClick(25, 25);  // Dotted
    EXPECT_FALSE(EdContext::current().noteInput().inputDotted);
}

TEST_F(ToolBarTest, aRightClickOnPlayAsksForAPause)
{
    ASSERT_TRUE(start({writeScore("Score.qrv")}));
    EdCommandTable::Row original = *EdCommandTable::find(32786);
    received.clear();
    EdCommandTable::add({32786,
                         [](unsigned id) {
                             received.push_back(id);
                             pauseRequested = EdContext::current().pauseToggleRequest();
                             EdContext::current().pauseToggleRequest() = false;
                         },
                         &EdCommandTable::always});
    // Wide enough for every button.
    frame().SetSize(1600, 800);
    pump();
    rightClick(UiToolBar::playIndex, UiToolBar::playIndex);
    ASSERT_EQ(received.size(), 1u);
    EXPECT_TRUE(pauseRequested);

    // A left click plays without the request.
    mouse(wxEVT_LEFT_DOWN, UiToolBar::playIndex);
    mouse(wxEVT_LEFT_UP, UiToolBar::playIndex);
    pump();
    ASSERT_EQ(received.size(), 2u);
    EXPECT_FALSE(pauseRequested);
    EdCommandTable::add(original);
}

TEST_F(ToolBarTest, plainKeysTypedIntoATextFieldStayThere)
{
    ASSERT_TRUE(start());
    while (app().documentManager()->GetCurrentDocument()) {
        frame().runCommand(57602);
        pump();
    }
    // With no document window the frame takes the keys of any window, but
    // not what a text field types.
    int reached = 0;
    frame().Bind(wxEVT_KEY_DOWN, [&](wxKeyEvent& event) {
        ++reached;
        event.Skip();
    });
    wxWindow* tempo = bar().tempoBox();
    EXPECT_TRUE(UiCommandStates::textFieldHasFocus(tempo));
    EXPECT_FALSE(UiCommandStates::textFieldHasFocus(&bar()));
    wxWindow* pane = frame().paneWindow(UiMainFrame::properties);
    struct Row
    {
        const char* name;
        wxWindow* target;
        int key;
        bool ctrl, alt;
        int reaches;
    };
    const Row rows[] = {
        {"digit into the tempo box", tempo, '1', false, false, 0},
        {"Delete", tempo, WXK_DELETE, false, false, 0},
        {"an arrow", tempo, WXK_UP, false, false, 0},
        {"keypad plus", tempo, WXK_NUMPAD_ADD, false, false, 0},
        {"P", tempo, 'P', false, false, 0},
        {"Ctrl+S stays global", tempo, 'S', true, false, 1},
        {"Ctrl+Alt+C stays global", tempo, 'C', true, true, 1},
        {"a function key stays global", tempo, WXK_F5, false, false, 1},
        {"a digit over a pane", pane, '1', false, false, 1},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        reached = 0;
        wxKeyEvent event(wxEVT_KEY_DOWN);
        event.m_keyCode = row.key;
        event.SetControlDown(row.ctrl);
        event.SetAltDown(row.alt);
        event.SetEventObject(row.target);
        app().FilterEvent(event);
        EXPECT_EQ(reached, row.reaches);
    }
}
