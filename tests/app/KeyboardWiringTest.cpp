#include "ShellFixture.h"

#include "app/UiFrameKeyboard.h"
#include "app/UiMainFrame.h"
#include "app/UiQuorvaneView.h"
#include "editing/EdContext.h"
#include "editing/EdTestScores.h"
#include "editing/QuorvaneDocument.h"
#include "model/MnSheetMusic.h"
#include "panels/UiKeymap.h"

#include <gtest/gtest.h>
#include <wx/event.h>
#include <wx/textctrl.h>

#include <memory>
#include <vector>

namespace {

using KeyboardWiringTest = ShellTest;

// A key pressed and released as the toolkit delivers it: the X keycode of
// its place and the toolkit's code.
void strike(wxWindow* window, unsigned keycode, int code)
{
    for (wxEventType type : {wxEVT_KEY_DOWN, wxEVT_KEY_UP}) {
        wxKeyEvent key(type);
        key.SetEventObject(window);
        key.m_keyCode = code;
        key.m_rawFlags = keycode;
        window->GetEventHandler()->ProcessEvent(key);
    }
}

std::vector<int> keysOf(const MnChord* chord)
{
    std::vector<int> keys;
    for (int n = 0; chord && n < chord->noteCount(); ++n)
        keys.push_back(chord->note(n)->keyNumber());
    return keys;
}

// What a German layout types at the places of the US Z and slash.
class GermanKeymap : public UiKeymap
{
public:
    char32_t upperCharacterAt(unsigned keycode) override
    {
        return keycode == 52 ? U'Y' : keycode == 61 ? U'-' : U'?';
    }
};

wxKeyEvent keyAt(unsigned keycode, int code)
{
    wxKeyEvent key(wxEVT_KEY_DOWN);
    key.m_keyCode = code;
    key.m_rawFlags = keycode;
    return key;
}

}  // namespace

TEST_F(KeyboardWiringTest, zAndTheCommaEnterA3AndA4AtTheCursor)
{
    const std::string path = root + "/Rests.qrv";
    {
        QuorvaneDocument document;
        document.OnNewDocument();
        MnSheetMusic* sheet = new MnSheetMusic;
        document.addWork(sheet);
        fillVoice(sheet->score()->staff(0)->measure(0), 0, 0);
        ASSERT_TRUE(document.saveScore(BcString(path.c_str())));
    }
    ASSERT_TRUE(start({path}));
    pump(5);
    UiQuorvaneView* view = UiQuorvaneView::activeView();
    ASSERT_NE(view, nullptr);
    MnSheetMusic* sheet = nullptr;
    QuorvaneDocument* document = view->core()->document();
    for (int i = 0; i < document->works().count() && !sheet; ++i)
        sheet = dynamic_cast<MnSheetMusic*>(document->works()[i]);
    ASSERT_NE(sheet, nullptr);
    MnMeasure* measure = sheet->score()->staff(0)->measure(0);
    ASSERT_GE(measure->voiceChords(0).count(), 2);
    ASSERT_TRUE(view->core()->cursor().setAtChord(measure->voiceChords(0)[0], 0, false));
    // Two chords, however quickly the keys come.
    app().settings.chordThreshold = 0;

    strike(view->canvas(), 52, 'Z');
    strike(view->canvas(), 59, ',');
    EXPECT_EQ(keysOf(measure->voiceChords(0)[0]), std::vector<int>{36});
    EXPECT_EQ(keysOf(measure->voiceChords(0)[1]), std::vector<int>{48});
    stop();
}

TEST_F(KeyboardWiringTest, digitsTypedIntoATextFieldLeaveTheOctaveAlone)
{
    ASSERT_TRUE(start());
    app().mainFrame()->runCommand(57602);  // close the new document's window: keys go to the main frame
    pump();
    EdContext::NoteInput& input = EdContext::current().noteInput();
    input.keyboardOctave = 4;
    wxWindow* browser = app().mainFrame()->paneWindow(UiMainFrame::projectBrowser);
    strike(browser, 11, '2');
    EXPECT_EQ(input.keyboardOctave, 2) << "with no text field, a digit chooses the octave";

    input.keyboardOctave = 4;
    wxTextCtrl* field = new wxTextCtrl(app().mainFrame(), wxID_ANY);
    field->SetFocus();
    pump();
    if (wxWindow::FindFocus() != field)
        GTEST_SKIP() << "the display gives no keyboard focus";
    for (auto [keycode, code] : {std::pair{10u, '1'}, std::pair{11u, '2'}, std::pair{19u, '0'}})
        strike(field, keycode, code);
    EXPECT_EQ(input.keyboardOctave, 4);
    field->Destroy();
    stop();
}

TEST_F(KeyboardWiringTest, aNewLayoutOrMappingRepaintsThePianoPaneAtOnce)
{
    ASSERT_TRUE(start());
    pump();
    EXPECT_EQ(app().keyboardLanguage, UiNoteKeys::english) << "the test server's US layout";
    UiMainFrame& frame = *app().mainFrame();
    wxWindow* piano = frame.paneWindow(UiMainFrame::pianoKeyboard);
    ASSERT_TRUE(piano->IsShownOnScreen());
    int paints = 0;
    piano->Bind(wxEVT_PAINT, [&paints](wxPaintEvent& event) {
        ++paints;
        event.Skip();
    });
    pump();
    paints = 0;

    frame.keyboard().useKeymap(std::make_unique<GermanKeymap>());
    EXPECT_EQ(app().keyboardLanguage, UiNoteKeys::german);
    EXPECT_EQ(paints, 1) << "painted before the change returned";
    // The Y key now plays where the US Z did.
    EXPECT_EQ(frame.keyboard().codeOf(keyAt(52, 'Y')), unsigned('Y'));

    frame.runCommand(32941);  // Keyboard octave A4-C6
    EXPECT_EQ(EdContext::current().noteInput().keyboardOctave, 5);
    EXPECT_EQ(paints, 2);
    stop();
}
