#include "render/ReOpenGL.h"

#include "editing/QuorvaneDocument.h"
#include "foundation/GeSpline2d.h"
#include "model/EdHorizontalGuideLine.h"
#include "model/EdVerticalGuideLine.h"
#include "model/MnCredit.h"
#include "model/MnCodes.h"
#include "model/MnMeasure.h"
#include "model/MnNote.h"
#include "model/MnScore.h"
#include "model/MnSheetMusic.h"
#include "model/MnStaff.h"
#include "model/MnTicks.h"
#include "render/ReFontMetrics.h"
#include "render/ReGlyph.h"
#include "render/ReSystem.h"
#include "tests/common/RecordingRenderer.h"
#include "tests/render/DrawnShapes.h"
#include "tests/common/TestServices.h"
#include "tests/render/GLTestFrame.h"

#include <GL/glu.h>
#include <algorithm>
#include <cmath>
#include <gtest/gtest.h>

// The drawing tests draw into a 200 x 200 pixel target over a view of 100
// x 100 units centred on the origin: 2 pixels per unit, white background.
class ReOpenGLDrawing : public ::testing::Test
{
protected:
    void SetUp() override
    {
        ASSERT_TRUE(frame.attach(gl));
        ASSERT_TRUE(frame.begin(gl, 0, 0, 100));
    }
    GLTestFrame frame;
    ReOpenGL gl;
};

TEST(ReOpenGL, beginNeedsItsContextToBeCurrent)
{
    GLTestFrame frame;
    ReOpenGL withoutHost;
    EXPECT_FALSE(frame.begin(withoutHost, 0, 0, 100)) << "no context";

    ReOpenGL first;
    ASSERT_TRUE(frame.attach(first));
    EXPECT_TRUE(frame.begin(first, 0, 0, 100));

    GLTestFrame other;
    ReOpenGL second;
    ASSERT_TRUE(other.attach(second));
    EXPECT_FALSE(frame.begin(first, 0, 0, 100)) << "another context is current";
    EXPECT_FALSE(first.render(nullptr, 0, 0, 100, 200, 200, 0, 0));
    ASSERT_TRUE(first.createContext(frame.host.get()));
    EXPECT_TRUE(frame.begin(first, 0, 0, 100));
}

TEST_F(ReOpenGLDrawing, fillsShapesWhereTheyAreDrawn)
{
    gl.setColor(0, 0, 0, 255);

    // A quad in the lower left quarter.
    gl.fillQuad(-40, -20, -40, -40, -20, -40, -20, -20);
    // A right triangle mirrored to the left of x = 30 in the upper right.
    static const double triangle[] = {0, 0, 10, 0, 0, 10};
    static const int indices[] = {0, 1, 2};
    gl.fillMesh(triangle, 3, indices, 1, 30, 20, -1, 1);
    // An ellipse turned upright by 90 degrees about (30, -30).
    gl.fillEllipse(30, -30, 10, 2, 90, 32);
    // A quad drawn inside a scale of 2 about the origin lands at twice its place.
    gl.pushScale(0, 0, 2);
    gl.fillQuad(-20, 11, -20, 9, -18, 9, -18, 11);
    gl.popTransform();
    frame.read();

    struct Probe {
        const char* name;
        double x, y;
        bool black;
    };
    const Probe probes[] = {
        {"inside the quad", -30, -30, true},
        {"beside the quad", -15, -30, false},
        {"inside the mirrored triangle", 27, 22, true},
        {"where the unmirrored one would be", 33, 22, false},
        {"ellipse along its turned long axis", 30, -22, true},
        {"ellipse across it", 38, -30, false},
        {"scaled quad at twice its place", -38, 20, true},
        {"scaled quad's own place", -19, 10, false},
        {"empty middle", 0, 0, false},
    };
    for (const Probe& probe : probes) {
        GLPixel p = frame.at(gl, probe.x, probe.y);
        EXPECT_EQ(probe.black ? p.isBlack() : p.isWhite(), true) << probe.name << ": " << p.r;
    }
}

TEST(ReOpenGL, shapesAcrossTheEdgeAndOnATurningPageAreDrawn)
{
    // A book is drawn with the depth of its turning pages.
    QuorvaneDocument document;
    MnSheetMusic* book = new MnSheetMusic;
    book->setPresentation(MnSheetMusic::Book);
    document.addWork(book);
    GLTestFrame frame;
    ReOpenGL gl;
    ASSERT_TRUE(frame.attach(gl));
    gl.setView(0, 0, 100, frame.width, frame.height);
    ASSERT_TRUE(gl.begin(&document, 0, 0, frame.width, frame.height));
    gl.setColor(0, 0, 0, 255);
    // Mostly outside the view on the left, its right end inside.
    gl.fillEllipse(-60, 30, 12, 2, 0, 32);
    // Local x 110.5 .. 112 lies right of the view, but the page turned by
    // 10 degrees about x = -60 shows it at about x 49 .. 50.
    gl.pushYRotation(-60, -10);
    gl.fillQuad(110.5, -10, 110.5, -20, 112, -20, 112, -10);
    gl.popTransform();
    frame.read();
    EXPECT_TRUE(frame.at(gl, -49, 30).isBlack());
    EXPECT_TRUE(frame.at(gl, 49.5, -15).isBlack());
}

TEST_F(ReOpenGLDrawing, strokesCurvesAndArcsAsBandsOfTheirWidth)
{
    gl.setColor(0, 0, 0, 255);
    GeSpline2d curve(GePoint2d(-40, 20), GePoint2d(-30, 35), GePoint2d(-10, 35), GePoint2d(0, 20));
    gl.strokeCurve(&curve, 0.5, 3);
    // A half circle over the chord from (10, -30) to (40, -30).
    gl.strokeArc(10, -30, 40, -30, 1, 0.5, 3);
    frame.read();

    // The curve's middle lies at 3/4 of the control height: y 31.25.
    EXPECT_TRUE(frame.at(gl, -20, 31.25).isBlack());
    EXPECT_TRUE(frame.at(gl, -20, 27).isWhite());
    EXPECT_TRUE(frame.at(gl, -20, 35).isWhite());
    // The arc's top at radius 15 above the chord's middle, its width 3.
    EXPECT_TRUE(frame.at(gl, 25, -15).isBlack());
    EXPECT_TRUE(frame.at(gl, 25, -12).isWhite());
    EXPECT_TRUE(frame.at(gl, 25, -20).isWhite());
}

TEST_F(ReOpenGLDrawing, halfTransparentColourBlendsWithWhatIsBelow)
{
    gl.setColor(0, 0, 0, 128);
    gl.fillQuad(-10, 10, -10, -10, 10, -10, 10, 10);
    gl.setColor(0, 0, 255, 255);
    gl.fillQuad(20, 10, 20, -10, 40, -10, 40, 10);
    frame.read();
    GLPixel blended = frame.at(gl, 0, 0);
    EXPECT_NEAR(blended.r, 127, 2);
    EXPECT_NEAR(blended.g, 127, 2);
    GLPixel opaque = frame.at(gl, 30, 0);
    EXPECT_EQ(opaque.r, 0);
    EXPECT_EQ(opaque.b, 255);
}

TEST_F(ReOpenGLDrawing, paperTextureRepeatsEveryTwentyUnitsTintedByTheColour)
{
    gl.setColor(255, 128, 0, 255);
    gl.fillTexturedQuad(-50, 50, -50, -50, 50, -50, 50, 50);
    frame.read();

    bool varies = false;
    for (double x : {-33.0, -21.5, -17.25, -3.0}) {
        for (double y : {-30.0, -12.5, 4.75}) {
            GLPixel here = frame.at(gl, x, y);
            GLPixel right = frame.at(gl, x + 20, y);
            GLPixel above = frame.at(gl, x, y + 40);
            // Sampling the texture between texels rounds a little.
            EXPECT_NEAR(here.r, right.r, 6) << x << ", " << y;
            EXPECT_NEAR(here.g, above.g, 6) << x << ", " << y;
            // Tinted: red stays near the paper, green halved, no blue.
            EXPECT_GT(here.r, 200);
            EXPECT_NEAR(here.g, here.r / 2, 8);
            EXPECT_EQ(here.b, 0);
            varies = varies || here.r != frame.at(gl, x + 5, y + 3).r;
        }
    }
    EXPECT_TRUE(varies) << "the paper shows a grain";
}

TEST_F(ReOpenGLDrawing, clipHidesWhatLiesLeftOfItsLine)
{
    gl.setColor(0, 0, 0, 255);
    // The clip line is taken in the local units of the call: x = 5 under a
    // scale of 2 about the origin is x = 10 on the page.
    gl.pushScale(0, 0, 2);
    gl.setClip(true, 5);
    gl.popTransform();
    gl.fillQuad(-30, 10, -30, -10, 30, -10, 30, 10);
    gl.setClip(false, 0);
    gl.fillQuad(-30, 40, -30, 30, 30, 30, 30, 40);
    frame.read();
    EXPECT_TRUE(frame.at(gl, 8, 0).isWhite());
    EXPECT_TRUE(frame.at(gl, 12, 0).isBlack());
    EXPECT_TRUE(frame.at(gl, -20, 35).isBlack()) << "clip off again";
}

// The pixels along the top edge of the drag rectangle that are drawn. The
// edge runs through the middle of pixel row 140.
static int drawnAlongTop(GLTestFrame& frame, ReOpenGL& gl, double x1, double x2)
{
    TestSettings settings;
    settings.set(BcSettings::selectionColor, 0x000000);
    gl.dragStart = GePoint2d(x1, 20.25);
    gl.dragEnd = GePoint2d(x2, -20.25);
    EXPECT_TRUE(gl.render(nullptr, 0, 0, 100, frame.width, frame.height, -1, -1));
    frame.read();
    int drawn = 0;
    for (int column = 50; column <= 150; ++column)
        drawn += frame.pixel(column, 140).isBlack() ? 1 : 0;
    return drawn;
}

TEST(ReOpenGL, dragRectangleIsSolidRightwardsAndStippledLeftwards)
{
    GLTestFrame frame;
    ReOpenGL gl;
    ASSERT_TRUE(frame.attach(gl));
    int rightwards = drawnAlongTop(frame, gl, -30, 30);
    int leftwards = drawnAlongTop(frame, gl, 30, -30);
    int steps = 101;
    EXPECT_EQ(rightwards, steps);
    EXPECT_LT(leftwards, steps * 3 / 4);
    EXPECT_GT(leftwards, steps / 4);
}

TEST(ReOpenGL, guideLinesAreDrawnOnceAcrossTheView)
{
    GLTestFrame frame;
    ReOpenGL gl;
    ASSERT_TRUE(frame.attach(gl));
    EdHorizontalGuideLine shown(10.25, 1);  // through the middle of pixel row 120
    shown.visible = true;
    shown.snapped = true;
    EdVerticalGuideLine hidden(-10, 1);
    BcArray<EdGuideLine*> guides;
    guides.add(&shown);
    guides.add(&hidden);
    TestSettings settings;
    settings.set(BcSettings::selectionColor, 0x0000FF);  // red
    gl.guideLines = &guides;
    ASSERT_TRUE(gl.render(nullptr, 0, 0, 100, frame.width, frame.height, -1, -1));
    EXPECT_EQ(gl.guideLines, nullptr);
    frame.read();
    int red = 0;
    for (int column = 0; column < 150; ++column) {
        GLPixel p = frame.pixel(column, 120);
        red += p.r == 255 && p.g == 0 ? 1 : 0;
    }
    // Pattern 0x7777: three of every four pixels.
    EXPECT_NEAR(red, 150 * 3 / 4, 6);
    for (int row = 0; row < 110; ++row)
        EXPECT_TRUE(frame.pixel(80, row).isWhite()) << "a hidden guide draws nothing";
}

TEST(ReOpenGL, frameLeavesNoErrorBehind)
{
    GLTestFrame frame;
    ReOpenGL gl;
    ASSERT_TRUE(frame.attach(gl));
    while (glGetError() != GL_NO_ERROR) {
    }
    QuorvaneDocument document;
    document.addWork(new MnSheetMusic);
    ASSERT_TRUE(frame.begin(gl, 0, 0, 100));
    GeSpline2d curve(GePoint2d(0, 0), GePoint2d(1, 3), GePoint2d(4, 3), GePoint2d(5, 0));
    gl.pushScale(1, 1, 0.5);
    gl.pushYRotation(3, 30);
    gl.setColor(10, 20, 30, 40);
    gl.fillTexturedQuad(0, 1, 0, 0, 1, 0, 1, 1);
    gl.fillMesh(ReGlyph::gClef.vertices, ReGlyph::gClef.vertexCount, ReGlyph::gClef.triangles,
                ReGlyph::gClef.triangleCount, 0, 0, 1, 1);
    gl.fillEllipse(0, 0, 1.5, 1, 22.5, 64);
    gl.strokeCurve(&curve, 0.1, 0.5);
    gl.strokeArc(0, 0, 5, 0, 0.3, 0, 0.5);
    gl.setClip(true, 2);
    gl.drawText(BcString("Allegro"), 0, 0, 12, 9, true);
    gl.setClip(false, 0);
    gl.popTransform();
    gl.popTransform();
    gl.popTransform();  // one too many: ignored by both stacks
    gl.end(frame.width, frame.height);
    EXPECT_EQ(glGetError(), GLenum(GL_NO_ERROR));
    EXPECT_TRUE(gl.render(&document, 105, -148, 300, frame.width, frame.height, 190, 190));
    EXPECT_EQ(glGetError(), GLenum(GL_NO_ERROR));
}

TEST(ReOpenGL, staffOnPaperHasBlackLinesAndHeadsWhereTheComposerPutsThem)
{
    TestSettings settings;
    settings.set(BcSettings::backgroundColor, 0x808080);
    GLTestFrame frame;
    ReOpenGL gl;
    ASSERT_TRUE(frame.attach(gl));
    // 8 pixels per unit: a staff line is 1.6 pixels thick.
    ASSERT_TRUE(frame.begin(gl, 0, 5, 25));
    ReSystem system(&gl);
    system.drawPaper(-10, 14, 20, 20, 0xFFFFFF, 0, 2, true);
    system.setColorMode(2);
    system.drawStaffLines(-9, 10, 18);
    system.drawNote(-4, 6, MnTicksQuarter, false, 0, 0, MnAccidentalNone, 0);  // on the middle line
    system.drawNote(4, 7, MnTicksHalf, false, 0, 0, MnAccidentalNone, 0);      // in the third space
    frame.read();

    struct Probe {
        const char* name;
        double x, y;
        int grey;
    };
    // The screen's paper lets a sixteenth of the desk through.
    const int paper = (255 * 239 + 128 * 16) / 255;
    const Probe probes[] = {
        {"top line", 0, 10, 0},
        {"bottom line", -8, 2, 0},
        {"space between lines", -8, 9, paper},
        {"quarter head", -4, 6, 0},
        {"half head's hole", 4, 7, paper},
        {"half head's rim", 4 - 1.1, 7, 0},
        {"paper beside the staff", 0, -4, paper},
        {"desk beside the paper", -12, 0, 128},
    };
    for (const Probe& probe : probes)
        EXPECT_NEAR(frame.at(gl, probe.x, probe.y).g, probe.grey, 2) << probe.name;
}

// The box of the pixels darker than the background, in pixel coordinates
// (rows from the bottom); false when there are none.
static bool inkBox(const GLTestFrame& frame, int* left, int* bottom, int* right, int* top)
{
    bool any = false;
    for (int y = 0; y < frame.height; ++y) {
        for (int x = 0; x < frame.width; ++x) {
            if (frame.pixel(x, y).isWhite())
                continue;
            *left = any ? std::min(*left, x) : x;
            *right = any ? std::max(*right, x) : x;
            *bottom = any ? std::min(*bottom, y) : y;
            *top = any ? std::max(*top, y) : y;
            any = true;
        }
    }
    return any;
}

TEST(ReOpenGL, creditIsDrawnInsideItsMeasuredBox)
{
    MnSheetMusic sheet;
    MnCredit* credit = sheet.credit(0);  // the title
    ASSERT_NE(credit, nullptr);
    credit->setText(BcString("Quartet"));
    credit->setSize(40);
    const GePoint2d origin(0, 0);

    // Where the composer puts the text, and the box it measures there.
    RecordingRenderer recorder;
    ReSystem(&recorder).composeText(credit, origin, nullptr);
    std::vector<const RecordingRenderer::Call*> texts = recorder.callsNamed("drawText");
    ASSERT_EQ(texts.size(), 1u);
    const std::vector<double>& a = texts[0]->args;
    double x = 0, y = 0, width = 0, height = 0;
    ASSERT_TRUE(measureTextExtent(texts[0]->text, a[2], int(a[3]), a[4] != 0, &x, &y, &width, &height));
    double boxLeft = a[0] + x, boxTop = a[1] + y, boxRight = boxLeft + width, boxBottom = boxTop + height;

    GLTestFrame frame(400, 400);
    ReOpenGL gl;
    ASSERT_TRUE(frame.attach(gl));
    double cx = (boxLeft + boxRight) / 2, cy = (boxTop + boxBottom) / 2;
    ASSERT_TRUE(frame.begin(gl, cx, cy, (boxRight - boxLeft) * 1.5));
    ReSystem(&gl).composeText(credit, origin, nullptr);
    frame.read();

    int left = 0, bottom = 0, right = 0, top = 0;
    ASSERT_TRUE(inkBox(frame, &left, &bottom, &right, &top));
    double unitsPerPixel = gl.viewWidth / frame.width;
    auto toX = [&](int column) { return gl.viewTopLeft.x + column * unitsPerPixel; };
    auto toY = [&](int row) { return gl.viewBottomRight.y + row * unitsPerPixel; };
    // Every pixel lies in the box (a pixel of slack for the rasteriser),
    // and the ink reaches each side of it (curves are drawn as polygons,
    // and a pixel is drawn only where its centre is covered).
    const double pixel = unitsPerPixel;
    EXPECT_GE(toX(left), boxLeft - pixel);
    EXPECT_LE(toX(right + 1), boxRight + pixel);
    EXPECT_GE(toY(bottom), boxBottom - pixel);
    EXPECT_LE(toY(top + 1), boxTop + pixel);
    EXPECT_NEAR(toX(left), boxLeft, 3 * pixel);
    EXPECT_NEAR(toX(right + 1), boxRight, 3 * pixel);
    EXPECT_NEAR(toY(bottom), boxBottom, 3 * pixel);
    EXPECT_NEAR(toY(top + 1), boxTop, 3 * pixel);
}

TEST_F(ReOpenGLDrawing, underlineRunsUnderTheWholeText)
{
    gl.setColor(0, 0, 0, 255);
    BcString text("Tempo");
    gl.drawText(text, -30, 0, 40, 0, true);
    frame.read();
    double x = 0, y = 0, width = 0, height = 0;
    ASSERT_TRUE(measureTextExtent(text, 40, 0, false, &x, &y, &width, &height));
    double lineY = ReFontMetrics::shared().underlineTop(40, 0) - ReFontMetrics::underlineHalfThickness(40, 0);
    for (double along = -29.5; along < -30 + 2 * x + width - 0.5; along += 1)
        EXPECT_TRUE(frame.at(gl, along, lineY).isBlack()) << along;
    EXPECT_TRUE(frame.at(gl, -30 + 2 * x + width + 1, lineY).isWhite());
}

// The pixels of a word drawn by a renderer on its own target.
static std::vector<unsigned char> drawWord(GLTestFrame& frame, ReOpenGL& renderer)
{
    EXPECT_TRUE(frame.attach(renderer));
    EXPECT_TRUE(frame.begin(renderer, 0, 0, 100));
    renderer.setColor(0, 0, 0, 255);
    renderer.drawText(BcString("Fine"), -40, 0, 30, 5, false);
    frame.read();
    return frame.pixels;
}

TEST(ReOpenGL, secondRendererOfAGroupDrawsTextWithTheListsOfTheFirst)
{
    GLTestFrame frame;
    ReOpenGL first;
    std::vector<unsigned char> byFirst = drawWord(frame, first);
    int builds = ReOpenGL::fontListBuilds();

    GLTestFrame other;
    ReOpenGL second;
    std::vector<unsigned char> bySecond = drawWord(other, second);
    EXPECT_EQ(ReOpenGL::fontListBuilds(), builds) << "no list was built again";
    EXPECT_EQ(bySecond, byFirst);
    int left = 0, bottom = 0, right = 0, top = 0;
    EXPECT_TRUE(inkBox(other, &left, &bottom, &right, &top));
}

TEST(ReOpenGL, fontOutsideTheTwelveDrawsAsFontZero)
{
    GLTestFrame frame;
    ReOpenGL gl;
    ASSERT_TRUE(frame.attach(gl));
    std::vector<unsigned char> drawn[2];
    const int fonts[2] = {0, 12};
    for (int i = 0; i < 2; ++i) {
        ASSERT_TRUE(frame.begin(gl, 0, 0, 100));
        gl.setColor(0, 0, 0, 255);
        gl.drawText(BcString("Da capo"), -40, 0, 30, fonts[i], false);
        frame.read();
        drawn[i] = frame.pixels;
    }
    EXPECT_EQ(drawn[0], drawn[1]);
}

TEST(ReOpenGL, sampleCountsFallBackToFewerAndThenNone)
{
    struct Row {
        int antialiasing;
        std::vector<int> counts;
    };
    const Row rows[] = {{0, {2, 0}}, {1, {4, 2, 0}}, {2, {8, 4, 2, 0}}, {7, {8, 4, 2, 0}}, {-1, {8, 4, 2, 0}}};
    for (const Row& row : rows) {
        int counts[4] = {};
        int n = ReOpenGL::sampleCounts(row.antialiasing, counts);
        EXPECT_EQ(std::vector<int>(counts, counts + n), row.counts) << row.antialiasing;
    }
}

TEST(ReOpenGL, scrollWheelHitAreasExcludeTheirBorders)
{
    const double W = 800, H = 600, s = ReOpenGL::scrollWheelSize;
    struct Row {
        const char* name;
        double x, y;
        bool vertical, horizontal;
    };
    const Row rows[] = {
        {"inside the vertical widget", W - s / 2, H - s, true, false},
        {"inside the horizontal widget", W - 2 * s, H - s / 2, false, true},
        {"on the border between them", W - 1.25 * s, H - s / 2, false, false},
        {"on the right edge", W, H - s, false, false},
        {"above the vertical widget", W - s / 2, H - 2.25 * s, false, false},
        {"left of the horizontal widget", W - 3.5 * s, H - s / 2, false, false},
        {"far away", 10, 10, false, false},
    };
    for (const Row& row : rows) {
        EXPECT_EQ(ReOpenGL::isOverVerticalScrollWheel(W, H, row.x, row.y), row.vertical) << row.name;
        EXPECT_EQ(ReOpenGL::isOverHorizontalScrollWheel(W, H, row.x, row.y), row.horizontal) << row.name;
    }
    ReOpenGL gl;
    gl.mouseX = int(W - s / 2);
    gl.mouseY = int(H - s);
    EXPECT_FALSE(gl.isScrollWheelHoverChanged(W, H, W - 10, H - 10));
    EXPECT_TRUE(gl.isScrollWheelHoverChanged(W, H, 10, 10));
    EXPECT_TRUE(gl.isScrollWheelHoverChanged(W, H, W - 2 * s, H - s / 2));
}

TEST(ReOpenGL, scrollWheelsAreDrawnInTheLowerRightCorner)
{
    GLTestFrame frame(400, 300);
    ReOpenGL gl;
    ASSERT_TRUE(frame.attach(gl));
    ASSERT_TRUE(gl.render(nullptr, 0, 0, 100, frame.width, frame.height, 0, 0));
    frame.read();
    // Rows count from the bottom: the widgets sit in the lowest 2.25 s.
    const int s = ReOpenGL::scrollWheelSize;
    auto inkIn = [&](int left, int right, int bottom, int top) {
        int ink = 0;
        for (int y = bottom; y < top; ++y)
            for (int x = left; x < right; ++x)
                ink += frame.pixel(x, y).isWhite() ? 0 : 1;
        return ink;
    };
    EXPECT_GT(inkIn(400 - s, 400, 0, 2 * s), 50) << "vertical widget";
    EXPECT_GT(inkIn(400 - 3 * s, 400 - 2 * s / 2 - s / 4 - s, 0, s), 50) << "horizontal widget";
    EXPECT_EQ(inkIn(0, 400 - 4 * s, 0, 300), 0) << "nothing elsewhere";
}

TEST(ReOpenGL, unprojectMapsWindowPointsOfTheLastFrame)
{
    GLTestFrame frame(300, 200);
    ReOpenGL gl;
    double x = 0, y = 0, z = 0;
    EXPECT_EQ(gl.unproject(10, 10, &x, &y, &z), GL_FALSE) << "no frame yet";
    EXPECT_EQ(x, 0.0);
    ASSERT_TRUE(frame.attach(gl));
    ASSERT_TRUE(gl.render(nullptr, 105, -148, 210, frame.width, frame.height, 0, 0));
    // Another frame elsewhere changes what the matrices of GL hold, not
    // what the renderer answers.
    glMatrixMode(GL_PROJECTION);
    glLoadIdentity();
    struct Row {
        int px, py;
        double x, y;
    };
    // 300 pixels over 210 units; the view's lower left is (0, -218).
    const Row rows[] = {{0, 0, 0, -218}, {150, 100, 105, -148}, {300, 200, 210, -78}, {30, 180, 21, -92}};
    for (const Row& row : rows) {
        ASSERT_EQ(gl.unproject(row.px, row.py, &x, &y, &z), GL_TRUE);
        EXPECT_NEAR(x, row.x, 1e-9);
        EXPECT_NEAR(y, row.y, 1e-9);
    }
}

TEST(ReOpenGL, wholePageOfASheetHasItsStaffLinesAndHeadsWhereTheLayoutPutsThem)
{
    TestSettings settings;
    settings.set(BcSettings::backgroundColor, 0x808080);
    QuorvaneDocument document;
    MnSheetMusic* sheet = new MnSheetMusic;
    document.addWork(sheet);
    MnMeasure* measure = sheet->score()->staff(0)->measure(0);
    MnNote* note = measure->setNote(0, 0, 6, 4, MnAccidentalNone, MnTicksQuarter, false);  // B4
    ASSERT_NE(note, nullptr);

    GLTestFrame frame(400, 400);
    ReOpenGL gl;
    ASSERT_TRUE(frame.attach(gl));
    while (glGetError() != GL_NO_ERROR) {
    }
    // Where the layout puts them: the frame recorded over the same view.
    struct View {
        double cx, cy, width;
    };
    auto record = [&](RecordingRenderer& recorder, const View& view) {
        recorder.render(&document, view.cx, view.cy, view.width, frame.width, frame.height, 0, 0);
    };
    auto drawn = [&](const View& view) {
        EXPECT_TRUE(gl.render(&document, view.cx, view.cy, view.width, frame.width, frame.height, 0, 0));
        EXPECT_EQ(glGetError(), GLenum(GL_NO_ERROR));
        frame.read();
    };
    const int paper = (255 * 239 + 128 * 16) / 255;

    // The whole page: paper inside, the desk around it.
    const View page{105, -148.5, 320};
    drawn(page);
    EXPECT_NEAR(frame.at(gl, 2, -295).g, paper, 2) << "paper in a corner";
    EXPECT_NEAR(frame.at(gl, -20, -148).g, 128, 2) << "desk left of the page";
    EXPECT_NEAR(frame.at(gl, 240, -148).g, 128, 2) << "desk right of the page";

    // Close up about the note's head, 10 pixels a unit.
    RecordingRenderer whole;
    record(whole, page);
    GePoint2d head;
    ASSERT_TRUE(markMiddle(whole, note, &head));
    const View close{head.x, head.y, 40};
    drawn(close);
    RecordingRenderer near;
    record(near, close);
    std::vector<double> lineYs;
    double unit = 0;  // world units per staff step
    for (const RecordingRenderer::Call* quad : near.callsNamed("fillQuad")) {
        const GePoint2d a = quad->transform.transform(GePoint2d(quad->args[0], quad->args[1]));
        const GePoint2d b = quad->transform.transform(GePoint2d(quad->args[4], quad->args[5]));
        if (std::fabs(b.x - a.x) > 30)
            lineYs.push_back((a.y + b.y) / 2);
        unit = quad->transform.transform(GePoint2d(1, 0)).x - quad->transform.transform(GePoint2d(0, 0)).x;
    }
    // The five staff lines of the first staff, the middle one through the head.
    ASSERT_GE(lineYs.size(), 5u);
    std::sort(lineYs.begin(), lineYs.end());
    std::vector<double> staff;
    for (double y : lineYs) {
        if (std::fabs(y - head.y) < 5 * unit)
            staff.push_back(y);
    }
    ASSERT_EQ(staff.size(), 5u);
    for (double y : staff)
        EXPECT_TRUE(frame.at(gl, head.x - 8, y).isBlack()) << "staff line at " << y;
    for (int i = 0; i < 4; ++i)
        EXPECT_NEAR(frame.at(gl, head.x - 8, (staff[i] + staff[i + 1]) / 2).g, paper, 2) << "space " << i;
    EXPECT_TRUE(frame.at(gl, head.x, head.y + 0.5 * unit).isBlack()) << "head above the line";
    EXPECT_TRUE(frame.at(gl, head.x, head.y - 0.5 * unit).isBlack()) << "head below the line";
    EXPECT_NEAR(frame.at(gl, head.x - 3 * unit, head.y + 1 * unit).g, paper, 2) << "beside the head";
}
