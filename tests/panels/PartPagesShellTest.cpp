#include "app/ShellFixture.h"

#include "app/UiMainFrame.h"
#include "app/UiQuorvaneView.h"
#include "app/UiQuorvaneViewCore.h"
#include "app/UiWxControlHost.h"
#include "editing/EdSelection.h"
#include "editing/QuorvaneDocument.h"
#include "model/MnCodes.h"
#include "model/MnPart.h"
#include "model/MnScore.h"
#include "model/MnSheetMusic.h"
#include "model/MnStaff.h"
#include "panels/UiProperties.h"
#include "panels/UiPropertiesPage.h"
#include "panels/UiTab.h"
#include "platform/gui/UiScale.h"

#include <wx/image.h>
#include <wx/statbmp.h>

#include <cstdlib>

namespace {

class PartPagesShellTest : public ShellTest
{
protected:
    UiProperties* pane()
    {
        return wxDynamicCast(app().mainFrame()->paneWindow(UiMainFrame::properties), UiProperties);
    }

    // Opens the sample; its sheet music's score.
    MnScore* openSample()
    {
        std::string sample = root + "/sample.qrv";
        EXPECT_EQ(0, std::system((std::string(QRV_SAMPLE_TOOL) + " " + sample + " > /dev/null").c_str()));
        EXPECT_TRUE(start({sample}));
        pump();
        UiQuorvaneView* view = UiQuorvaneView::activeView();
        if (!view || !view->core()->document())
            return nullptr;
        const BcArray<MnElement*>& works = view->core()->document()->works();
        for (int i = 0; i < works.count(); ++i)
            if (works[i]->isKindOf(MnSheetMusic::staticClass()))
                return static_cast<MnSheetMusic*>(works[i])->score();
        return nullptr;
    }

    // Selects the element alone; the page of the tab with that title.
    UiPropertiesPage* select(MnElement* element, const char* title)
    {
        EdSelection& selection = UiQuorvaneView::activeView()->core()->selection();
        selection.clear();
        selection.add(element);
        pane()->selectionChanged();
        UiTab& tabs = pane()->tabs();
        for (int tab = 0; tab < tabs.tabCount(); ++tab)
            if (tabs.tabTitle(tab).utf8_string() == title)
                return tabs.tabPage(tab);
        return nullptr;
    }

    // The picture control holds a bitmap of its size at the display's scale
    // with something drawn on its white.
    static void expectDrawn(UiPropertiesPage& page, int controlId)
    {
        auto* picture = wxDynamicCast(page.controls()->window(controlId), wxStaticBitmap);
        ASSERT_NE(picture, nullptr) << controlId;
        wxBitmap bitmap = picture->GetBitmap();
        ASSERT_TRUE(bitmap.IsOk()) << controlId;
        EXPECT_EQ(bitmap.GetWidth(), int(picture->GetSize().x * UiScale::s())) << controlId;
        EXPECT_EQ(bitmap.GetHeight(), int(picture->GetSize().y * UiScale::s())) << controlId;
        wxImage image = bitmap.ConvertToImage();
        int inked = 0;
        for (int y = 0; y < image.GetHeight(); ++y)
            for (int x = 0; x < image.GetWidth(); ++x)
                if (image.GetRed(x, y) < 200 || image.GetBlue(x, y) < 200)
                    ++inked;
        EXPECT_GT(inked, 20) << controlId;
    }
};

}

TEST_F(PartPagesShellTest, aSelectedPartShowsItsInstrumentAmongTheDrawnIcons)
{
    MnScore* score = openSample();
    ASSERT_NE(score, nullptr);
    MnPart* violin = score->part(0);
    ASSERT_EQ(violin->instrument(), MnInstrumentViolin);
    UiPropertiesPage* page = select(violin, "Part");
    ASSERT_NE(page, nullptr);
    for (int icon = 1293; icon <= 1304; ++icon)
        expectDrawn(*page, icon);
    EXPECT_EQ(page->controls()->radioIndex(1000), int(MnInstrumentViolin));
    EXPECT_EQ(page->controls()->text(1094), "Violin");
    stop();
}

TEST_F(PartPagesShellTest, aSelectedStaffShowsItsClefKeyAndTimePictures)
{
    MnScore* score = openSample();
    ASSERT_NE(score, nullptr);
    MnStaff* staff = score->staff(0);
    UiPropertiesPage* page = select(staff, "Staff");
    ASSERT_NE(page, nullptr);
    for (int clef = 1027; clef <= 1030; ++clef)
        expectDrawn(*page, clef);
    for (int key = 1031; key <= 1045; ++key)
        expectDrawn(*page, key);
    for (int time : {1046, 1047, 1048, 1049, 1050, 1051, 1052, 1053, 1054, 1058, 1061})
        expectDrawn(*page, time);
    EXPECT_EQ(page->controls()->radioIndex(1000), staff->clef());
    EXPECT_EQ(page->controls()->radioIndex(1004), staff->key() + 7);
    stop();
}
