#include "render/ReGDI.h"

#include "editing/QuorvaneDocument.h"
#include "foundation/BcString.h"
#include "foundation/GeSpline2d.h"
#include "model/MnSheetMusic.h"

#include <gtest/gtest.h>
#include <vector>

// Records what reaches the page.
class RecordingPageDevice : public RePageDevice
{
public:
    struct Triangle {
        Point a, b, c;
    };
    struct Text {
        BcString text;
        int left, top, right, bottom, cellHeight;
        bool underline;
    };

    void setWindowOrigin(int x, int y) override
    {
        originX = x;
        originY = y;
    }
    void fillTriangles(const Point* points, int, const int* indices, int count) override
    {
        ++fills;
        for (int t = 0; t < count; ++t)
            triangles.push_back({points[indices[3 * t]], points[indices[3 * t + 1]], points[indices[3 * t + 2]]});
    }
    void drawText(const BcString& text, int left, int top, int right, int bottom, int cellHeight,
                  bool underline) override
    {
        texts.push_back({text, left, top, right, bottom, cellHeight, underline});
    }

    int originX = 0, originY = 0;
    int fills = 0;
    std::vector<Triangle> triangles;
    std::vector<Text> texts;
};

static bool operator==(const RePageDevice::Point& a, const RePageDevice::Point& b)
{
    return a.x == b.x && a.y == b.y;
}

// A print frame of view width w about (cx, cy) on a document with one sheet.
struct PrintFrame {
    QuorvaneDocument document;
    MnSheetMusic* sheet = new MnSheetMusic;
    RecordingPageDevice device;
    ReGDI gdi;
    PrintFrame()
    {
        document.addWork(sheet);
        gdi.setDevice(&device);
    }
    bool begin(double cx, double cy, double width)
    {
        gdi.setView(cx, cy, width, 1000, 1000);
        return gdi.begin(&document, cx, cy, 1000, 1000);
    }
};

TEST(ReGDI, viewWidthGivesTheScaleAndTheSheetTheHeight)
{
    struct Row {
        const char* name;
        double width;
        bool landscape;
        double scale, height;
        int originX, originY;
    };
    const Row rows[] = {
        {"natural size", 210, false, 100, 297, 0, 0},
        {"half size", 420, false, 50, 297, -5250, 0},
        {"landscape A4", 210, true, 100, 210, 0, -4350},
    };
    for (const Row& row : rows) {
        PrintFrame frame;
        frame.sheet->setLandscape(row.landscape);
        ASSERT_TRUE(frame.begin(105, -148.5, row.width)) << row.name;
        EXPECT_DOUBLE_EQ(frame.gdi.scale, row.scale) << row.name;
        EXPECT_DOUBLE_EQ(frame.gdi.viewHeight, row.height) << row.name;
        EXPECT_EQ(frame.device.originX, row.originX) << row.name;
        EXPECT_EQ(frame.device.originY, row.originY) << row.name;
    }
}

TEST(ReGDI, beginNeedsADocumentAndADevice)
{
    PrintFrame frame;
    frame.gdi.setView(0, 0, 210, 100, 100);
    EXPECT_FALSE(frame.gdi.begin(nullptr, 0, 0, 100, 100));
    EXPECT_FALSE(frame.gdi.renderSheetPage(frame.sheet, 0, 0, 105, -148, 210, 210, 297));
    ReGDI withoutDevice;
    withoutDevice.setView(0, 0, 210, 100, 100);
    EXPECT_FALSE(withoutDevice.begin(&frame.document, 0, 0, 100, 100));
    // A document without sheet keeps the view's own height.
    QuorvaneDocument empty;
    ReGDI gdi;
    RecordingPageDevice device;
    gdi.setDevice(&device);
    gdi.setView(0, 0, 210, 100, 50);
    EXPECT_TRUE(gdi.begin(&empty, 0, 0, 100, 50));
    EXPECT_DOUBLE_EQ(gdi.viewHeight, 105);
}

TEST(ReGDI, shapesBecomeBlackTrianglesInLogicalUnits)
{
    PrintFrame frame;
    ASSERT_TRUE(frame.begin(105, -148.5, 210));
    frame.gdi.setColor(255, 0, 0, 255);
    frame.gdi.fillQuad(1, -1, 1, -2, 3, -2, 3, -1);
    ASSERT_EQ(frame.device.triangles.size(), 2u);
    const RePageDevice::Point p1{100, -100}, p2{100, -200}, p3{300, -200}, p4{300, -100};
    EXPECT_TRUE(frame.device.triangles[0].a == p1 && frame.device.triangles[0].b == p4
                && frame.device.triangles[0].c == p2);
    EXPECT_TRUE(frame.device.triangles[1].a == p4 && frame.device.triangles[1].b == p3
                && frame.device.triangles[1].c == p2);

    frame.device.triangles.clear();
    frame.gdi.fillEllipse(10, -10, 2, 1, 0, 16);
    ASSERT_EQ(frame.device.triangles.size(), 14u);
    EXPECT_TRUE(frame.device.triangles[0].c == (RePageDevice::Point{1000, -900})) << "the fan starts at the top";

    frame.device.triangles.clear();
    static const double vertices[] = {0, 0, 1, 0, 1, 1, 0, 1};
    static const int indices[] = {0, 1, 2, 0, 2, 3};
    frame.gdi.fillMesh(vertices, 4, indices, 2, 5, -5, -2, 2);
    ASSERT_EQ(frame.device.triangles.size(), 2u);
    EXPECT_TRUE(frame.device.triangles[0].b == (RePageDevice::Point{300, -500})) << "mirrored by the scale";
    EXPECT_EQ(frame.device.fills, 3) << "one fill per shape";

    // Scaled parts print as they are drawn on screen.
    frame.device.triangles.clear();
    frame.gdi.pushScale(0, 0, 0.5);
    frame.gdi.fillQuad(2, -2, 2, -4, 6, -4, 6, -2);
    frame.gdi.popTransform();
    EXPECT_TRUE(frame.device.triangles[0].a == p1);
}

TEST(ReGDI, textHangsFromItsPointWithTheCellHeightOfItsSize)
{
    PrintFrame frame;
    ASSERT_TRUE(frame.begin(105, -148.5, 420));  // scale 50
    frame.gdi.drawText(BcString("Allegro"), 10, -20, 4.1, 7, false);
    frame.gdi.drawText(BcString("Coda"), 10, -30, 4, 0, true);
    ASSERT_EQ(frame.device.texts.size(), 2u);
    const RecordingPageDevice::Text& first = frame.device.texts[0];
    EXPECT_EQ(first.text, BcString("Allegro"));
    EXPECT_EQ(first.left, 500);
    EXPECT_EQ(first.top, -1000);
    EXPECT_EQ(first.right, 10500);
    EXPECT_EQ(first.bottom, -1410);
    EXPECT_EQ(first.cellHeight, 204);  // trunc(4.1 x 50)
    EXPECT_FALSE(first.underline);
    EXPECT_TRUE(frame.device.texts[1].underline);
}

TEST(ReGDI, coloursCurvesArcsRectanglesGuidesAndClipLeaveNoTrace)
{
    PrintFrame frame;
    ASSERT_TRUE(frame.begin(105, -148.5, 210));
    GeSpline2d curve(GePoint2d(0, 0), GePoint2d(1, 1), GePoint2d(2, 1), GePoint2d(3, 0));
    frame.gdi.setColor(10, 20, 30, 128);
    frame.gdi.strokeCurve(&curve, 0.1, 0.5);
    frame.gdi.strokeArc(0, 0, 5, 0, 0.5, 0.1, 0.5);
    frame.gdi.drawDashedRect(0, 0, 10, -10);
    frame.gdi.setClip(true, 50);
    frame.gdi.fillQuad(1, -1, 1, -2, 3, -2, 3, -1);
    EXPECT_EQ(frame.device.fills, 1) << "only the quad, unclipped";
    EXPECT_TRUE(frame.device.texts.empty());
}
