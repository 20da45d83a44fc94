#include "ShellFixture.h"

#include "app/UiMainFrame.h"
#include "app/UiQuorvaneView.h"
#include "editing/EdContext.h"
#include "editing/QuorvaneDocument.h"
#include "model/MnCache.h"
#include "model/MnChord.h"
#include "model/MnMeasure.h"
#include "model/MnNote.h"
#include "model/MnScore.h"
#include "model/MnSheetMusic.h"
#include "model/MnStaff.h"
#include "panels/UiContextMenu.h"
#include "panels/UiContextPalette.h"
#include "panels/UiContextPaletteBuilder.h"
#include "render/RePicker.h"

#include <wx/dcmemory.h>
#include <wx/uiaction.h>
#include <wx/utils.h>

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <vector>

namespace {

class ViewClickShellTest : public ShellTest
{
protected:
    MnNote* clickFirstNoteOfTheSample();
};

// The centre of the first mark of an element, in drawing coordinates.
class NoteFinder : public RePicker
{
public:
    explicit NoteFinder(const MnElement* wanted) : wanted(wanted) {}
    void markRect(const GePoint2d& corner, double width, double height, MnElement* element) override
    {
        if (found || element != wanted)
            return;
        found = true;
        centre = topTransform().transform(GePoint2d(corner.x + width / 2, corner.y + height / 2));
    }
    void markSpan(const GePoint2d&, const GePoint2d&, MnElement*) override {}
    void markFrame(const GeBox2d&, const GeBox2d&, MnElement*) override {}

    const MnElement* wanted;
    bool found = false;
    GePoint2d centre;
};

}  // namespace

// Opens the sample, brings the camera close to the first note of its top
// staff, so that a pixel is a fraction of a notehead, and clicks its head
// through the display. Answers the note, null when a step failed.
MnNote* ViewClickShellTest::clickFirstNoteOfTheSample()
{
    std::string sample = root + "/sample.qrv";
    if (std::system((std::string(QRV_SAMPLE_TOOL) + " " + sample + " > /dev/null").c_str()) != 0 || !start({sample}))
        return nullptr;
    app().mainFrame()->SetSize(1000, 800);
    pump(10);
    UiQuorvaneView* view = UiQuorvaneView::activeView();
    if (!view)
        return nullptr;
    UiViewCore* core = view->core();
    QuorvaneDocument* document = core->document();
    MnSheetMusic* sheet = nullptr;
    for (int i = 0; i < document->works().count() && !sheet; ++i)
        sheet = dynamic_cast<MnSheetMusic*>(document->works()[i]);
    if (!sheet)
        return nullptr;
    MnNote* note = nullptr;
    MnStaff* staff = sheet->score()->staff(0);
    for (int m = 0; m < staff->measureCount() && !note; ++m) {
        const BcArray<MnChord*>& chords = staff->measure(m)->voiceChords(0);
        for (int c = 0; c < chords.count() && !note; ++c)
            if (chords[c]->noteCount() > 0 && !chords[c]->isGrace())
                note = chords[c]->note(0);
    }
    if (!note)
        return nullptr;

    UiViewCamera& camera = core->view;
    NoteFinder finder(note);
    {
        MnCache cache;
        finder.render(document, camera.scrollX, camera.scrollY, camera.zoom, 800, 600, -1, -1);
    }
    if (!finder.found)
        return nullptr;
    camera.setCamera(finder.centre.x, finder.centre.y, 60);
    if (!camera.drawFrame(-1, -1))
        return nullptr;
    const GePoint2d o = core->clientToModel(0, 0);
    const GePoint2d e = core->clientToModel(100, 100);
    const int x = int(std::lround((finder.centre.x - o.x) / ((e.x - o.x) / 100)));
    const int y = int(std::lround((finder.centre.y - o.y) / ((e.y - o.y) / 100)));

    // Tests running alongside share the display: a window of theirs can
    // stand over ours for a moment and take the click, so the frame is
    // raised and the click tried again.
    wxUIActionSimulator simulator;
    for (int attempt = 0; attempt < 3 && core->selection().isEmpty(); ++attempt) {
        app().mainFrame()->Raise();
        pump(2);
        if (!simulator.MouseMove(view->canvas()->ClientToScreen(wxPoint(x, y))))
            return nullptr;
        pump(5);
        if (!simulator.MouseClick())
            return nullptr;
        pump(10);
        for (int wait = 0; wait < 100 && core->selection().isEmpty(); ++wait) {
            wxMilliSleep(10);
            pump(1);
        }
    }
    return note;
}

TEST_F(ViewClickShellTest, aClickOnANoteheadOfTheSampleSelectsItsNote)
{
    MnNote* note = clickFirstNoteOfTheSample();
    ASSERT_NE(note, nullptr);
    UiViewCore* core = UiQuorvaneView::activeView()->core();
    ASSERT_EQ(1, core->selection().count());
    EXPECT_EQ(note, core->selection().element(0));
    EXPECT_FALSE(core->hasPendingTool());
}

TEST_F(ViewClickShellTest, aClickOnANoteheadListsItsEntriesInTheContextPalette)
{
    MnNote* note = clickFirstNoteOfTheSample();
    ASSERT_NE(note, nullptr);
    UiViewCore* core = UiQuorvaneView::activeView()->core();
    ASSERT_EQ(1, core->selection().count());
    ASSERT_EQ(note, core->selection().element(0));

    auto* palette = dynamic_cast<UiContextPalette*>(app().mainFrame()->paneWindow(UiMainFrame::contextPalette));
    ASSERT_NE(palette, nullptr);
    ASSERT_TRUE(app().mainFrame()->isPaneVisible(UiMainFrame::contextPalette));
    UiContextMenu* menu = palette->list();
    std::vector<int> listed;
    for (int i = 0; i < menu->list().count(); ++i)
        listed.push_back(menu->list().item(i)->command);
    // Whatever stands around it, one note offers the lines, the grace note,
    // the beat and the lyrics, and the pane shows exactly what the providers
    // make of the view's selection.
    for (int command : {32893, 32854, 32932, 33082, 32995, 33092})
        EXPECT_NE(std::find(listed.begin(), listed.end(), command), listed.end()) << command;
    UiContextPaletteBuilder builder;
    UiContextMenuList expected;
    ASSERT_TRUE(builder.rebuild(expected));
    ASSERT_EQ(expected.count(), menu->list().count());
    for (int i = 0; i < expected.count(); ++i) {
        EXPECT_EQ(expected.item(i)->command, menu->list().item(i)->command);
        EXPECT_EQ(expected.item(i)->text, menu->list().item(i)->text);
    }
    const int lyrics = menu->list().indexOfCommand(33092);
    EXPECT_EQ(menu->list().item(lyrics)->text, BcString("Add Lyrics"));

    // The pointer over an entry of the pane highlights it.
    const int width = menu->GetClientSize().x;
    const int target = 1;
    const UiContextMenuList::Rect entry = menu->list().entryRect(target, width);
    ASSERT_LT(entry.bottom, menu->GetClientSize().y) << "the entry is in sight";
    const wxPoint inside((entry.left + entry.right) / 2, (entry.top + entry.bottom) / 2);
    wxUIActionSimulator simulator;
    for (int i = 0; i < 300 && menu->list().hovered() != target; ++i) {
        if (i % 100 == 0) {
            app().mainFrame()->Raise();
            ASSERT_TRUE(simulator.MouseMove(menu->ClientToScreen(inside)));
        }
        pump(1);
        wxMilliSleep(10);
    }
    ASSERT_EQ(target, menu->list().hovered());
    wxBitmap painted(menu->GetClientSize().x, menu->GetClientSize().y, 24);
    {
        wxMemoryDC dc(painted);
        menu->paint(dc, menu->GetClientSize());
    }
    wxMemoryDC reader;
    reader.SelectObjectAsSource(painted);
    wxColour fill;
    reader.GetPixel(entry.left + 3, inside.y, &fill);
    EXPECT_EQ(fill, wxColour(UiContextMenu::highlightFill[0], UiContextMenu::highlightFill[1],
                             UiContextMenu::highlightFill[2]));
    const UiContextMenuList::Rect first = menu->list().entryRect(0, width);
    wxColour plain;
    reader.GetPixel(first.left + 3, (first.top + first.bottom) / 2, &plain);
    EXPECT_EQ(plain, wxColour(UiContextMenu::background[0], UiContextMenu::background[1],
                              UiContextMenu::background[2]));
}
