#include "ShellFixture.h"

#include "app/UiBackSideDialog.h"
#include "app/UiMainFrame.h"
#include "platform/gui/UiScale.h"

#include <wx/stattext.h>

using BackSideDialogTest = ShellTest;

TEST_F(BackSideDialogTest, theCardCoversTheWindowAndPlacesItsLinesByTheScale)
{
    ASSERT_TRUE(start());
    UiMainFrame* frame = app().mainFrame();
    frame->SetSize(60, 40, 900, 700);
    pump(5);
    struct Case
    {
        double s;
        int creditGap;
        int nameGap;
    } cases[] = {{1.0, 10, 20}, {1.5, 15, 30}};
    for (const Case& c : cases) {
        UiScale::setForTests(c.s);
        UiBackSideDialog* card = new UiBackSideDialog(frame, frame->GetScreenRect(), false);
        card->Show();
        pump(3);
        EXPECT_EQ(card->GetRect(), frame->GetScreenRect()) << c.s;
        wxRect credit = card->creditControl()->GetRect();
        wxRect name = card->nameControl()->GetRect();
        EXPECT_EQ(card->GetClientSize().y - (credit.y + credit.height), c.creditGap) << c.s;
        EXPECT_EQ(credit.y - (name.y + name.height), c.nameGap) << c.s;
        EXPECT_GT(card->nameFont().GetPixelSize().y, card->textFont().GetPixelSize().y);
        wxString text = card->creditControl()->GetLabel();
        EXPECT_NE(text.Find("1.5.1.803"), wxNOT_FOUND) << text;
        EXPECT_NE(text.Find("March 2023"), wxNOT_FOUND) << text;

        // A click on any part closes it.
        wxMouseEvent click(wxEVT_LEFT_DOWN);
        click.SetEventObject(card->nameControl());
        card->nameControl()->GetEventHandler()->ProcessEvent(click);
        EXPECT_FALSE(card->IsShown());
        card->Destroy();
        pump(2);
    }
    UiScale::setForTests(0);

    // A maximised window: no border.
    UiBackSideDialog* borderless = new UiBackSideDialog(frame, frame->GetScreenRect(), true);
    EXPECT_TRUE(borderless->HasFlag(wxBORDER_NONE));
    borderless->Destroy();
    pump(2);
    stop();
}
