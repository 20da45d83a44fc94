#include "app/UiWxControlHost.h"
#include "model/MnCredit.h"
#include "model/MnLyric.h"
#include "model/MnSheetMusic.h"
#include "model/MnStaff.h"
#include "model/MnTempo.h"
#include "panels/UiMeasureDlg.h"
#include "panels/UiNoteDlg.h"
#include "panels/UiProperties.h"
#include "panels/UiPropertiesPage.h"
#include "panels/UiTab.h"
#include "platform/gui/UiScale.h"
#include "tests/panels/PageFixture.h"

#include <wx/button.h>
#include <wx/frame.h>
#include <wx/notebook.h>
#include <wx/textctrl.h>

#include <string>
#include <vector>

namespace {

// The pane in a frame of its own, following the fake view's selection.
class PaneFixture : public PageFixture
{
protected:
    void SetUp() override
    {
        PageFixture::SetUp();
        frame = new wxFrame(nullptr, wxID_ANY, "pane", wxDefaultPosition, wxSize(500, 600));
        pane = new UiProperties(frame);
        frame->Show();
        context.view.selection().addObserver(pane);
    }
    void TearDown() override
    {
        delete frame;
    }

    void select(std::initializer_list<MnElement*> elements)
    {
        context.view.selection().clear();
        for (MnElement* element : elements)
            context.view.selection().add(element);
        pane->selectionChanged();
    }

    std::vector<std::string> titles()
    {
        std::vector<std::string> out;
        for (int i = 0; i < pane->tabs().tabCount(); ++i)
            out.push_back(pane->tabs().tabTitle(i).utf8_string());
        return out;
    }

    template <typename Page>
    Page& pageOf(int tab)
    {
        return static_cast<Page&>(pane->tabs().tabPage(tab)->page());
    }

    wxFrame* frame = nullptr;
    UiProperties* pane = nullptr;
};

using Titles = std::vector<std::string>;

}

TEST_F(PaneFixture, theTabsAreTheSelectedClassesInTheirFixedOrderWithTheLastSelected)
{
    MnScore* score = addScore(makeScore(1, 2));
    MnMeasure* measure = score->staff(0)->measure(1);
    MnNote* note = measure->voiceChords(0)[0]->note(0);

    select({note});
    EXPECT_EQ(titles(), Titles({"Note"}));
    select({note, measure});
    EXPECT_EQ(titles(), Titles({"Measure", "Note"}));
    EXPECT_EQ(pane->tabs().selectedTab(), 1);
    EXPECT_TRUE(pane->tabs().tabPage(1)->IsShown());

    pane->tabs().notebook()->SetSelection(0);
    select({measure, measure->voiceChords(0)[1]->note(0)});
    EXPECT_EQ(titles(), Titles({"Measure", "Note"})) << "the same classes keep their tabs";
    EXPECT_EQ(pane->tabs().selectedTab(), 0) << "and the selected one";
    EXPECT_EQ(pageOf<UiNoteDlg>(1).elementList().element(0), measure->voiceChords(0)[1]->note(0));

    select({});
    EXPECT_EQ(titles(), Titles({"Project"}));
    context.document = nullptr;
    select({});
    EXPECT_EQ(titles(), Titles({})) << "no document, no tab";
}

TEST_F(PaneFixture, aCommitReloadsTheOtherPagesButNotTheOneThatApplies)
{
    MnScore* score = addScore(makeScore(1, 2));
    MnMeasure* measure = score->staff(0)->measure(0);
    MnNote* note = measure->voiceChords(0)[0]->note(0);
    select({measure, note});
    UiMeasureDlg& measurePage = pageOf<UiMeasureDlg>(0);
    UiNoteDlg& notePage = pageOf<UiNoteDlg>(1);
    // Values the model does not hold: a reload would replace them.
    notePage.stem = 2;
    measurePage.hasTablature = 1;
    measurePage.barline = 1;
    measurePage.apply(true);
    EXPECT_EQ(steps(), 1);
    EXPECT_EQ(measure->barline(), 1);
    EXPECT_EQ(notePage.stem, 0) << "reloaded";
    EXPECT_EQ(measurePage.hasTablature, 1) << "not reloaded by its own commit";
    EXPECT_EQ(titles(), Titles({"Measure", "Note"}));
}

TEST_F(PaneFixture, makingAPageLeavesTheKeyboardFocusWhereItWas)
{
    MnScore* score = addScore(makeScore(1, 1));
    auto* edit = new wxTextCtrl(frame, wxID_ANY);
    edit->SetFocus();
    wxYield();
    wxWindow* before = wxWindow::FindFocus();
    select({score->staff(0)->measure(0)});
    EXPECT_EQ(wxWindow::FindFocus(), before);
}

TEST_F(PaneFixture, aTempoMarkOrACreditBringsTheTextTabBeforeItsOwn)
{
    MnScore* score = addScore(makeScore(1, 1));
    select({score->tempo(0)});
    EXPECT_EQ(titles(), Titles({"Text", "Tempo"}));
    EXPECT_EQ(pane->tabs().selectedTab(), 1);

    auto* sheet = new MnSheetMusic();
    ASSERT_TRUE(document.addWork(sheet));
    MnCredit* credit = sheet->addCredit(0);
    ASSERT_NE(credit, nullptr);
    select({credit});
    EXPECT_EQ(titles(), Titles({"Text", "Credit"}));
    EXPECT_EQ(pane->tabs().selectedTab(), 1);
}

TEST_F(PaneFixture, theScorePagesResetButtonShowsItsIcon)
{
    MnScore* score = addScore(makeScore(1, 1));
    select({score});
    ASSERT_EQ(titles(), Titles({"Score"}));
    auto* reset = wxDynamicCast(pane->tabs().tabPage(0)->controls()->window(1330), wxButton);
    ASSERT_NE(reset, nullptr);
    EXPECT_TRUE(reset->GetLabel().empty());
    ASSERT_TRUE(reset->GetBitmap().IsOk());
    EXPECT_EQ(reset->GetBitmap().GetWidth(), UiScale::pixels(16));
}

TEST_F(PaneFixture, aLyricLineShowsItsTextInAnEditOfSeveralLines)
{
    MnScore* score = addScore(makeScore(1, 1));
    MnLyric* lyric = score->staff(0)->addLyric(0, 0);
    ASSERT_NE(lyric, nullptr);
    select({lyric});
    ASSERT_EQ(titles(), Titles({"Text", "Lyrics"}));
    auto* edit = wxDynamicCast(pane->tabs().tabPage(1)->controls()->window(1094), wxTextCtrl);
    ASSERT_NE(edit, nullptr);
    EXPECT_TRUE(edit->IsMultiLine());
}
