#include "model/MnCodes.h"
#include "render/ReSystem.h"
#include "tests/common/RecordingRenderer.h"
#include "tests/render/DrawnShapes.h"

#include <gtest/gtest.h>

namespace {

const double t = 0.2;  // the staff-line thickness of every composer

// A vertical stroke of the given width centred on x.
std::vector<double> stroke(double x, double width, double bottom, double top)
{
    return {x - width / 2, bottom, x + width / 2, top};
}

// The x of each pair of repeat dots.
std::vector<double> dotColumns(const RecordingRenderer& renderer)
{
    std::vector<double> xs;
    auto dots = renderer.callsNamed("fillEllipse");
    for (size_t i = 0; i < dots.size(); i += 2)
        xs.push_back(dots[i]->args[0]);
    return xs;
}

} // namespace

TEST(ReSystemBarlines, strokesAndDotsOfEveryCode)
{
    struct Row {
        const char* name;
        int code;
        bool systemStart, systemEnd;
        double s;
        std::vector<double> thick;  // centres
        std::vector<double> thin;
        std::vector<double> dots;
    };
    const double x = 50;
    const Row rows[] = {
        {"single", MnBarlineSingle, false, false, 1, {}, {x}, {}},
        {"double", MnBarlineDouble, false, false, 1, {}, {x - 0.6, x + 0.6}, {}},
        {"final", MnBarlineFinal, false, false, 1, {x}, {x - 1.2}, {}},
        {"end repeat", MnBarlineEndRepeat, false, false, 1, {x}, {x - 1.2}, {x - 2.2}},
        {"start repeat", MnBarlineStartRepeat, false, false, 1, {x}, {x + 1.2}, {x + 2.2}},
        {"both repeats", MnBarlineEndStartRepeat, false, false, 1, {x}, {x - 1.2, x + 1.2}, {x - 2.2, x + 2.2}},
        {"offsets and widths scale", MnBarlineEndStartRepeat, false, false, 2, {x}, {x - 2.4, x + 2.4},
         {x - 4.4, x + 4.4}},
        {"a start repeat at a system's end is one thin line at the thick one's left edge", MnBarlineStartRepeat,
         false, true, 1, {}, {x - 1.5 * t}, {}},
        {"both repeats at a system's end only end", MnBarlineEndStartRepeat, false, true, 1, {x}, {x - 1.2},
         {x - 2.2}},
        {"an end repeat at a system's start draws nothing", MnBarlineEndRepeat, true, false, 1, {}, {}, {}},
        {"a single barline at a system's start draws nothing", MnBarlineSingle, true, false, 1, {}, {}, {}},
        {"both repeats at a system's start only start", MnBarlineEndStartRepeat, true, false, 1, {x}, {x + 1.2},
         {x + 2.2}},
        {"an unknown code draws nothing", 6, false, false, 1, {}, {}, {}},
    };
    const double y = 0, height = 8;
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        RecordingRenderer renderer;
        ReSystem(&renderer).drawBarline(x, y, height, row.code, row.systemStart, row.systemEnd, row.s, 1, 1, 5, 2);
        std::vector<std::vector<double>> expected;
        for (double centre : row.thick)
            expected.push_back(stroke(centre, 4 * t * row.s, y - height - t / 2, y + t / 2));
        for (double centre : row.thin)
            expected.push_back(stroke(centre, t * row.s, y - height - t / 2, y + t / 2));
        expectBoxes(quadBoxes(renderer), expected);
        expectNear(dotColumns(renderer), row.dots);
    }
}

TEST(ReSystemBarlines, repeatDotsByLineCount)
{
    struct Row {
        const char* name;
        int lines;
        double dotScale;
        double upper, lower;  // steps below the top line
    };
    const Row rows[] = {
        {"staff: the second and third spaces", 5, 2, 3, 5},
        {"six-line tablature", 6, 3, 4.5, 10.5},
        {"four lines", 4, 2, 1, 5},
        {"three lines", 3, 2, 1, 3},
        {"seven lines", 7, 3, 7.5, 10.5},
        {"eight lines", 8, 3, 7.5, 13.5},
        {"another count: fixed rows, not scaled", 2, 3, 3, 5},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        RecordingRenderer renderer;
        ReSystem(&renderer).drawBarline(0, 10, 8, MnBarlineEndRepeat, false, false, 1, 1, 1, row.lines, row.dotScale);
        auto dots = renderer.callsNamed("fillEllipse");
        ASSERT_EQ(dots.size(), 2u);
        EXPECT_DOUBLE_EQ(dots[0]->args[1], 10 - row.upper);
        EXPECT_DOUBLE_EQ(dots[1]->args[1], 10 - row.lower);
    }
}

TEST(ReSystemBarlines, staffScalesAtTheEnds)
{
    // A barline from a staff at scale 0.5 down to one at 2: the stroke ends
    // reach over the lines of each, the dots follow the upper staff.
    RecordingRenderer renderer;
    ReSystem(&renderer).drawBarline(0, 0, 30, MnBarlineEndRepeat, false, false, 1, 0.5, 2, 5, 2);
    for (const auto& box : quadBoxes(renderer)) {
        EXPECT_DOUBLE_EQ(box[3], t / 2 * 0.5);
        EXPECT_DOUBLE_EQ(box[1], -30 - t / 2 * 2);
    }
    auto dots = renderer.callsNamed("fillEllipse");
    ASSERT_EQ(dots.size(), 2u);
    expectNear(dots[0]->args, {-2.2, -1.5, 2 * t * 0.5, 2 * t * 0.5, 0, 64});
    expectNear(dots[1]->args, {-2.2, -2.5, 2 * t * 0.5, 2 * t * 0.5, 0, 64});
}

TEST(ReSystemBarlines, dotSegmentsFollowTheZoomOnly)
{
    struct Row {
        int outputKind;
        double viewWidth;
        double segments;
    };
    const Row rows[] = {{0, 40, 64}, {0, 80, 32}, {0, 100, 16}, {1, 200, 16}, {2, 40, 64}};
    for (const Row& row : rows) {
        RecordingRenderer renderer;
        renderer.outputKind = row.outputKind;
        renderer.viewWidth = row.viewWidth;
        ReSystem(&renderer).drawBarline(0, 0, 8, MnBarlineStartRepeat, false, false, 1, 1, 1, 5, 2);
        for (const auto* dot : renderer.callsNamed("fillEllipse"))
            EXPECT_EQ(dot->args[5], row.segments) << row.viewWidth;
    }
}

TEST(ReSystemBarlines, barlinesAreStaffFurniture)
{
    RecordingRenderer renderer;
    renderer.extrusionHeight = 3.0;
    ReSystem system(&renderer);
    system.drawBarline(0, 0, 8, MnBarlineEndStartRepeat, false, false, 1, 1, 1, 5, 2);
    system.drawBarlineLink(0, 0, 8, -10, MnBarlineFinal, false, 1);
    expectDrawnAsStaffFurniture(renderer);
}

TEST(ReSystemBarlines, linksBetweenStaves)
{
    struct Row {
        const char* name;
        int code;
        bool systemEnd;
        std::vector<double> thick;
        std::vector<double> thin;
    };
    // At s = 2 the widths scale, the offsets between the strokes do not.
    const double x = 50, s = 2;
    const Row rows[] = {
        {"single", MnBarlineSingle, false, {}, {x}},
        {"double", MnBarlineDouble, false, {}, {x - 0.6, x + 0.6}},
        {"final", MnBarlineFinal, false, {x}, {x - 1.2}},
        {"end repeat", MnBarlineEndRepeat, false, {x}, {x - 1.2}},
        {"start repeat", MnBarlineStartRepeat, false, {x}, {x + 1.2}},
        {"both repeats", MnBarlineEndStartRepeat, false, {x}, {x - 1.2, x + 1.2}},
        {"a start repeat at a system's end", MnBarlineStartRepeat, true, {}, {x - 1.5 * t * s}},
        {"both repeats at a system's end", MnBarlineEndStartRepeat, true, {x}, {x - 1.2}},
    };
    const double y = -8, height = 12, depth = -10;
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        RecordingRenderer renderer;
        ReSystem(&renderer).drawBarlineLink(x, y, height, depth, row.code, row.systemEnd, s);
        EXPECT_EQ(renderer.countOf("fillEllipse"), 0);
        const double top = y + t * s / 2, bottom = y - height - t * s / 2;
        std::vector<std::vector<double>> expected;
        for (double centre : row.thick)
            expected.push_back(stroke(centre, 4 * t * s, bottom, top));
        for (double centre : row.thin)
            expected.push_back(stroke(centre, t * s, bottom, top));
        auto quads = renderer.callsNamed("fillQuad3d");
        ASSERT_EQ(quads.size(), expected.size());
        for (size_t i = 0; i < quads.size(); ++i) {
            SCOPED_TRACE("stroke " + std::to_string(i));
            const std::vector<double>& a = quads[i]->args;
            // Corners left top, left bottom, right bottom, right top, each
            // (x, y, z): the top at depth 0, the bottom at the given depth.
            const std::vector<double>& box = expected[i];
            expectNear(a, {box[0], box[3], 0, box[0], box[1], depth, box[2], box[1], depth, box[2], box[3], 0});
        }
    }
}
