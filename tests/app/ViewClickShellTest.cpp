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
#include "render/RePicker.h"

#include <wx/uiaction.h>

#include <cmath>
#include <cstdlib>

namespace {

using ViewClickShellTest = ShellTest;

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

TEST_F(ViewClickShellTest, aClickOnANoteheadOfTheSampleSelectsItsNote)
{
    std::string sample = root + "/sample.qrv";
    ASSERT_EQ(0, std::system((std::string(QRV_SAMPLE_TOOL) + " " + sample + " > /dev/null").c_str()));
    ASSERT_TRUE(start({sample}));
    app().mainFrame()->SetSize(1000, 800);
    pump(10);
    UiQuorvaneView* view = UiQuorvaneView::activeView();
    ASSERT_NE(view, nullptr);
    UiViewCore* core = view->core();
    QuorvaneDocument* document = core->document();
    MnSheetMusic* sheet = nullptr;
    for (int i = 0; i < document->works().count() && !sheet; ++i)
        sheet = dynamic_cast<MnSheetMusic*>(document->works()[i]);
    ASSERT_NE(sheet, nullptr);
    MnNote* note = nullptr;
    MnStaff* staff = sheet->score()->staff(0);
    for (int m = 0; m < staff->measureCount() && !note; ++m) {
        const BcArray<MnChord*>& chords = staff->measure(m)->voiceChords(0);
        for (int c = 0; c < chords.count() && !note; ++c)
            if (chords[c]->noteCount() > 0 && !chords[c]->isGrace())
                note = chords[c]->note(0);
    }
    ASSERT_NE(note, nullptr);

    // Close to the note, so that a pixel is a fraction of a notehead.
    UiViewCamera& camera = core->view;
    NoteFinder finder(note);
    {
        MnCache cache;
        finder.render(document, camera.scrollX, camera.scrollY, camera.zoom, 800, 600, -1, -1);
    }
    ASSERT_TRUE(finder.found);
    camera.setCamera(finder.centre.x, finder.centre.y, 60);
    ASSERT_TRUE(camera.drawFrame(-1, -1));
    const GePoint2d o = core->clientToModel(0, 0);
    const GePoint2d e = core->clientToModel(100, 100);
    const int x = int(std::lround((finder.centre.x - o.x) / ((e.x - o.x) / 100)));
    const int y = int(std::lround((finder.centre.y - o.y) / ((e.y - o.y) / 100)));

    wxUIActionSimulator simulator;
    ASSERT_TRUE(simulator.MouseMove(view->canvas()->ClientToScreen(wxPoint(x, y))));
    pump(5);
    ASSERT_TRUE(simulator.MouseClick());
    pump(10);
    ASSERT_EQ(1, core->selection().count());
    EXPECT_EQ(note, core->selection().element(0));
    EXPECT_FALSE(core->hasPendingTool());
}
