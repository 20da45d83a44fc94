#include "app/ShellFixture.h"

#include "app/UiMainFrame.h"
#include "app/UiQuorvaneView.h"
#include "app/UiQuorvaneViewCore.h"
#include "app/UiWxControlHost.h"
#include "editing/EdSelection.h"
#include "editing/QuorvaneDocument.h"
#include "model/MnScore.h"
#include "model/MnSheetMusic.h"
#include "model/MnStaff.h"
#include "model/MnTablature.h"
#include "panels/UiProperties.h"
#include "panels/UiPropertiesPage.h"
#include "panels/UiTab.h"
#include "platform/gui/UiScale.h"

#include <wx/image.h>
#include <wx/statbmp.h>

namespace {

class TablaturePageShellTest : public ShellTest
{
};

// The pixels of a picture control that are neither white nor grey: the
// highlighted part of a page's picture.
int colouredPixels(wxStaticBitmap* picture)
{
    wxImage image = picture->GetBitmap().ConvertToImage();
    int count = 0;
    for (int y = 0; y < image.GetHeight(); ++y)
        for (int x = 0; x < image.GetWidth(); ++x)
            if (image.GetRed(x, y) > image.GetBlue(x, y) + 80)
                ++count;
    return count;
}

}

TEST_F(TablaturePageShellTest, aTablaturesPageDrawsItsNumberingPictures)
{
    std::string path = writeScore("Tablature.qrv");
    ASSERT_TRUE(start({path}));
    pump();
    auto* pane = wxDynamicCast(app().mainFrame()->paneWindow(UiMainFrame::properties), UiProperties);
    ASSERT_NE(pane, nullptr);
    UiQuorvaneView* view = UiQuorvaneView::activeView();
    ASSERT_NE(view, nullptr);
    QuorvaneDocument* document = view->core()->document();
    MnSheetMusic* sheet = nullptr;
    for (int i = 0; i < document->works().count(); ++i)
        if (document->works()[i]->isKindOf(MnSheetMusic::staticClass()))
            sheet = static_cast<MnSheetMusic*>(document->works()[i]);
    ASSERT_NE(sheet, nullptr);
    MnStaff* staff = sheet->score()->staff(0);
    staff->setTablature(new MnTablature(staff));

    EdSelection& selection = view->core()->selection();
    selection.clear();
    selection.add(staff->tablature());
    pane->selectionChanged();
    UiTab& tabs = pane->tabs();
    // A tablature shows a text: the Text tab comes first.
    ASSERT_EQ(tabs.tabCount(), 2);
    EXPECT_EQ(tabs.tabTitle(1).utf8_string(), "Tablature");
    UiPropertiesPage* page = tabs.tabPage(1);
    int sizes[2] = {};
    int i = 0;
    for (int id : {1384, 1385}) {
        auto* picture = wxDynamicCast(page->controls()->window(id), wxStaticBitmap);
        ASSERT_NE(picture, nullptr) << id;
        ASSERT_TRUE(picture->GetBitmap().IsOk()) << id;
        EXPECT_EQ(picture->GetBitmap().GetWidth(), int(picture->GetSize().x * UiScale::s())) << id;
        // The numbers are drawn in the highlight colour.
        sizes[i] = colouredPixels(picture);
        EXPECT_GT(sizes[i++], 10) << id;
    }
    EXPECT_NE(sizes[0], sizes[1]) << "5 and 7 against 0 and 2";
    stop();
}
