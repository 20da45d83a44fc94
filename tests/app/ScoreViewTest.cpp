#include "GLFrame.h"
#include "ShellFixture.h"

#include "app/UiDocument.h"
#include "app/UiMainFrame.h"
#include "app/UiQuorvaneView.h"
#include "app/UiViewInput.h"
#include "editing/EdContext.h"
#include "model/MnSheetMusic.h"

#include <cstdlib>
#include <vector>

namespace {

using ScoreViewTest = ShellTest;

}  // namespace

TEST_F(ScoreViewTest, theSampleFirstPageIsDrawnIntoTheCanvas)
{
    std::string sample = root + "/sample.qrv";
    ASSERT_EQ(0, std::system((std::string(QRV_SAMPLE_TOOL) + " " + sample + " > /dev/null").c_str()));
    ASSERT_TRUE(start({sample}));
    app().mainFrame()->SetSize(1000, 800);
    pump(10);
    UiQuorvaneView* view = UiQuorvaneView::activeView();
    ASSERT_NE(view, nullptr);
    ASSERT_NE(view->core(), nullptr);
    EXPECT_EQ(EdContext::current().activeView(), view->core());
    // The multisampling that llvmpipe offers, or the fallback to none.
    EXPECT_GE(view->samples(), 0);

    QuorvaneDocument* document = view->core()->document();
    MnSheetMusic* sheet = nullptr;
    for (int i = 0; i < document->works().count() && !sheet; ++i)
        sheet = dynamic_cast<MnSheetMusic*>(document->works()[i]);
    ASSERT_NE(sheet, nullptr);
    GePoint2d origin;
    ASSERT_TRUE(sheet->pageOrigin(0, origin, false));
    // The first page fills the window.
    UiViewCamera& camera = view->core()->view;
    camera.setCamera(origin.x + sheet->pageWidth() / 2, origin.y - sheet->pageHeight() / 2, sheet->pageWidth() * 1.1);
    ASSERT_TRUE(camera.drawFrame(-1, -1));
    int width = camera.lastFrame().width;
    int height = camera.lastFrame().height;
    ASSERT_GT(width, 100);
    ASSERT_GT(height, 100);
    ASSERT_TRUE(view->core()->renderer.host()->makeCurrent());
    while (glGetError() != GL_NO_ERROR) {
    }
    std::vector<unsigned char> pixels = readWindowFrame(width, height);
    EXPECT_EQ(GLenum(GL_NO_ERROR), glGetError());

    // Not all one colour, and a run of five staff lines (black rows with
    // paper between them) down the column a fifth into the page.
    bool varied = false;
    for (size_t i = 3; i < pixels.size() && !varied; ++i)
        varied = pixels[i] != pixels[i % 3];
    EXPECT_TRUE(varied);
    GePoint2d into(origin.x + sheet->pageWidth() / 5, origin.y);
    int column = int((into.x - (camera.scrollX - camera.zoom / 2)) / camera.zoom * width);
    ASSERT_GT(column, 0);
    ASSERT_LT(column, width);
    int lines = 0;
    bool inLine = false;
    for (int row = height - 1; row >= 0; --row) {
        const unsigned char* p = &pixels[(size_t(row) * width + column) * 3];
        bool dark = p[0] < 80 && p[1] < 80 && p[2] < 80;
        if (dark && !inLine)
            ++lines;
        inLine = dark;
    }
    EXPECT_GE(lines, 5);

    // A wheel notch backward over the page zooms out by 1.25.
    double zoom = camera.zoom;
    view->core()->mouseWheel(width / 2, height / 2, -120);
    EXPECT_DOUBLE_EQ(zoom * 1.25, camera.zoom);
}

TEST_F(ScoreViewTest, aNewDocumentShowsTheDeskAroundItsStart)
{
    ASSERT_TRUE(start());
    pump(5);
    UiQuorvaneView* view = UiQuorvaneView::activeView();
    ASSERT_NE(view, nullptr);
    GePoint2d scroll;
    double zoom = 0;
    view->core()->camera(scroll, zoom);
    EXPECT_EQ(120.0, scroll.x);
    EXPECT_EQ(-20.0, scroll.y);
    EXPECT_EQ(300.0, zoom);
}

TEST(ViewKeysTest, sidesAndRepeatsOfTheModifiers)
{
    UiViewKeys keys;
    struct Case { bool press; unsigned raw; int code; unsigned wantCode, wantFlags; UiViewKeys::Side side; bool down; };
    const Case cases[] = {
        {true, 0xffe3, 308, 0x11, 0, UiViewKeys::leftControl, true},
        {true, 0xffe3, 308, 0x11, 0x4000, UiViewKeys::leftControl, true},  // auto-repeat
        {true, 0xffe4, 308, 0x11, 0, UiViewKeys::rightControl, true},
        {false, 0xffe3, 308, 0x11, 0x4000, UiViewKeys::leftControl, false},
        {false, 0xffe3, 308, 0x11, 0x4000, UiViewKeys::rightControl, true},  // the other side stays down
        {true, 0xffe2, 306, 0x10, 0, UiViewKeys::rightShift, true},
        {true, 0xffea, 307, 0x12, 0, UiViewKeys::rightAlt, true},
        {true, 'a', 'A', 'A', 0, UiViewKeys::leftShift, false},
        {true, 'a', 'A', 'A', 0x4000, UiViewKeys::leftShift, false},
        {false, 'a', 'A', 'A', 0x4000, UiViewKeys::leftShift, false},
        {true, 'a', 'A', 'A', 0, UiViewKeys::leftShift, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << "case " << (&c - cases));
        UiViewInput::Key key = c.press ? keys.press(c.raw, c.code) : keys.release(c.raw, c.code);
        EXPECT_EQ(c.wantCode, key.code);
        EXPECT_EQ(c.wantFlags, key.flags);
        EXPECT_EQ(1u, key.repeat);
        EXPECT_EQ(c.down, keys.isDown(c.side));
    }
    keys.clear();
    EXPECT_FALSE(keys.isDown(UiViewKeys::rightControl));
}
