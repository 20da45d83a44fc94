#include "render/ReGlyph.h"
#include "render/ReSystem.h"
#include "tests/common/RecordingRenderer.h"
#include "tests/common/TestCanvas.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstring>
#include <string>

struct Extent {
    double xMin, xMax, yMin, yMax;
};

static Extent extentOf(const ReGlyph& glyph)
{
    Extent e{glyph.vertices[0], glyph.vertices[0], glyph.vertices[1], glyph.vertices[1]};
    for (int v = 1; v < glyph.vertexCount; ++v) {
        e.xMin = std::min(e.xMin, glyph.vertices[2 * v]);
        e.xMax = std::max(e.xMax, glyph.vertices[2 * v]);
        e.yMin = std::min(e.yMin, glyph.vertices[2 * v + 1]);
        e.yMax = std::max(e.yMax, glyph.vertices[2 * v + 1]);
    }
    return e;
}

static const ReGlyph* glyphNamed(const char* name)
{
    for (int i = 0; i < ReGlyph::count(); ++i)
        if (std::strcmp(ReGlyph::nameAt(i), name) == 0)
            return ReGlyph::at(i);
    return nullptr;
}

// The frame in which the drawing code expects each symbol.
struct FrameRow {
    const ReGlyph* glyph;
    const char* name;
    Extent frame;
};

static const FrameRow frames[] = {
    {&ReGlyph::segno, "segno", {-1.982, 1.982, -3.000, 3.000}},
    {&ReGlyph::coda, "coda", {-3.352, 3.352, -3.657, 3.657}},
    {&ReGlyph::pedalRelease, "pedalRelease", {-1.029, 1.029, -1.000, 1.000}},
    {&ReGlyph::pedalMark, "pedalMark", {-1.570, 1.570, -1.000, 1.000}},
    {&ReGlyph::dynamicM, "dynamicM", {-0.850, 0.850, -0.525, 0.525}},
    {&ReGlyph::dynamicF, "dynamicF", {-0.977, 0.977, -1.117, 1.232}},
    {&ReGlyph::dynamicP, "dynamicP", {-0.859, 0.859, -0.962, 0.526}},
    {&ReGlyph::scrollWheelRidge, "scrollWheelRidge", {-2.000, 2.000, 0.000, 0.250}},
    {&ReGlyph::scrollWheelHousingMid, "scrollWheelHousingMid", {-2.745, 2.745, -8.000, 8.000}},
    {&ReGlyph::scrollWheelHousingDark, "scrollWheelHousingDark", {-3.200, 3.200, -8.200, 8.200}},
    {&ReGlyph::scrollWheelHousingLight, "scrollWheelHousingLight", {-4.800, 4.800, -9.800, 9.800}},
    {&ReGlyph::arpeggioArrowhead, "arpeggioArrowhead", {-1.252, 1.263, -1.448, 2.876}},
    {&ReGlyph::arpeggioWave, "arpeggioWave", {-0.727, 0.727, -1.448, 1.448}},
    {&ReGlyph::accent, "accent", {-2.000, 2.000, -1.000, 1.000}},
    {&ReGlyph::strongAccent, "strongAccent", {-0.833, 0.833, -1.000, 1.000}},
    {&ReGlyph::staccatissimo, "staccatissimo", {-0.433, 0.433, 0.000, 2.000}},
    {&ReGlyph::fermata, "fermata", {-2.227, 2.227, -0.450, 2.002}},
    {&ReGlyph::bracketEnd, "bracketEnd", {0.000, 3.497, -1.330, 1.439}},
    {&ReGlyph::braceHalf, "braceHalf", {0.000, 2.149, 0.000, 14.000}},
    {&ReGlyph::figure8, "figure8", {-1.530, 1.530, -2.000, 2.000}},
    {&ReGlyph::figure6, "figure6", {-1.613, 1.613, -2.001, 2.001}},
    {&ReGlyph::figure4, "figure4", {-1.647, 1.647, -2.000, 1.883}},
    {&ReGlyph::figure3, "figure3", {-1.421, 1.421, -2.000, 2.000}},
    {&ReGlyph::figure2, "figure2", {-1.561, 1.561, -2.000, 2.000}},
    {&ReGlyph::figure1, "figure1", {-1.097, 1.097, -2.000, 2.000}},
    {&ReGlyph::commonTime, "commonTime", {-1.672, 1.672, -2.000, 2.000}},
    {&ReGlyph::doubleSharp, "doubleSharp", {-1.000, 1.000, -1.000, 1.000}},
    {&ReGlyph::natural, "natural", {-0.890, 0.890, -2.760, 2.760}},
    {&ReGlyph::flat, "flat", {-1.000, 1.000, -1.183, 3.403}},
    {&ReGlyph::sharp, "sharp", {-0.714, 0.714, -2.362, 2.362}},
    {&ReGlyph::restHook, "restHook", {-0.954, 0.953, -1.725, 1.754}},
    {&ReGlyph::quarterRest, "quarterRest", {-0.861, 0.925, -2.652, 3.229}},
    {&ReGlyph::flag, "flag", {0.000, 1.633, -6.248, -0.177}},
    {&ReGlyph::halfNotehead, "halfNotehead", {-1.173, 1.173, -1.018, 1.018}},
    {&ReGlyph::wholeNotehead, "wholeNotehead", {-1.638, 1.633, -1.002, 1.001}},
    {&ReGlyph::cClef, "cClef", {-2.558, 2.558, -3.930, 3.930}},
    {&ReGlyph::fClef, "fClef", {-3.407, 2.419, -4.603, 1.985}},
    {&ReGlyph::gClef, "gClef", {-3.480, 1.848, -5.548, 9.166}},
};

TEST(ReGlyph, catalogueListsEveryGlyphOnce)
{
    ASSERT_EQ(ReGlyph::count(), int(std::size(frames)));
    for (const FrameRow& row : frames)
        EXPECT_EQ(glyphNamed(row.name), row.glyph) << row.name;
    EXPECT_EQ(ReGlyph::at(-1), nullptr);
    EXPECT_EQ(ReGlyph::at(ReGlyph::count()), nullptr);
    EXPECT_STREQ(ReGlyph::nameAt(ReGlyph::count()), "");
}

TEST(ReGlyph, everyTriangleIndexLiesBelowTheVertexCountAndEveryTriangleHasArea)
{
    for (int i = 0; i < ReGlyph::count(); ++i) {
        const ReGlyph& glyph = *ReGlyph::at(i);
        SCOPED_TRACE(ReGlyph::nameAt(i));
        ASSERT_GT(glyph.triangleCount, 0);
        ASSERT_GE(glyph.vertexCount, 3);
        for (int k = 0; k < 3 * glyph.triangleCount; ++k) {
            ASSERT_GE(glyph.triangles[k], 0);
            ASSERT_LT(glyph.triangles[k], glyph.vertexCount);
        }
        for (int t = 0; t < glyph.triangleCount; ++t) {
            const int* c = glyph.triangles + 3 * t;
            const double* v = glyph.vertices;
            double area = (v[2 * c[1]] - v[2 * c[0]]) * (v[2 * c[2] + 1] - v[2 * c[0] + 1])
                - (v[2 * c[1] + 1] - v[2 * c[0] + 1]) * (v[2 * c[2]] - v[2 * c[0]]);
            EXPECT_NE(area, 0.0) << "triangle " << t;
        }
    }
}

// The clefs keep the font's own staff line at their origin, so their height
// may differ from the frame by a few per cent; every other glyph fills its
// frame exactly.
TEST(ReGlyph, extentsFitTheirFrames)
{
    for (const FrameRow& row : frames) {
        SCOPED_TRACE(row.name);
        Extent e = extentOf(*row.glyph);
        double toleranceX = 0.05 * (row.frame.xMax - row.frame.xMin) + 0.001;
        double toleranceY = 0.05 * (row.frame.yMax - row.frame.yMin) + 0.001;
        EXPECT_NEAR(e.xMin, row.frame.xMin, toleranceX);
        EXPECT_NEAR(e.xMax, row.frame.xMax, toleranceX);
        EXPECT_NEAR(e.yMin, row.frame.yMin, toleranceY);
        EXPECT_NEAR(e.yMax, row.frame.yMax, toleranceY);
    }
}

TEST(ReGlyph, accentsAreTheGivenMeshes)
{
    const double accentVertices[] = {-2, -1, -2, 1, -2, -0.7, 2, 0, -2, 0.7, 0.8, 0};
    const int accentTriangles[] = {5, 2, 0, 3, 1, 5, 4, 5, 1, 0, 3, 5};
    ASSERT_EQ(ReGlyph::accent.vertexCount, 6);
    ASSERT_EQ(ReGlyph::accent.triangleCount, 4);
    for (int i = 0; i < 12; ++i) {
        EXPECT_EQ(ReGlyph::accent.vertices[i], accentVertices[i]) << i;
        EXPECT_EQ(ReGlyph::accent.triangles[i], accentTriangles[i]) << i;
    }

    const double strongVertices[] = {-0.833333, -1, 0.833333, -1, -0.580751, -1, -0.416667, 0,
                                     0,         1,  0.416667, 0,  0.333333,  -1, -0.117272, 0.081453};
    const int strongTriangles[] = {2, 3, 7, 4, 7, 3, 3, 2, 0, 7, 5, 6, 5, 1, 6, 4, 5, 7};
    ASSERT_EQ(ReGlyph::strongAccent.vertexCount, 8);
    ASSERT_EQ(ReGlyph::strongAccent.triangleCount, 6);
    for (int i = 0; i < 16; ++i)
        EXPECT_EQ(ReGlyph::strongAccent.vertices[i], strongVertices[i]) << i;
    for (int i = 0; i < 18; ++i)
        EXPECT_EQ(ReGlyph::strongAccent.triangles[i], strongTriangles[i]) << i;
}

// The brace is drawn as its upper half and the same half at scale (1, -1):
// the two must meet on the origin line and make one symmetric shape. A brace
// 28 high is drawn at scales (1, 1) and (1, -1) exactly, its middle point at
// (1, 16) of a 6 x 32 drawing painted at 10 pixels a unit.
TEST(ReGlyph, braceHalvesMirrorAboutTheOriginLineAndJoin)
{
    RecordingRenderer renderer;
    ReSystem(&renderer).drawGroupBracket(4, 30, 28, 0, 4);
    auto meshes = renderer.callsNamed("fillMesh");
    ASSERT_EQ(meshes.size(), 2u);
    ASSERT_EQ(meshes[1]->args[5], -1.0);
    TestCanvas canvas(60, 320);
    renderer.paint(canvas, 0, 32, 6, 0);

    int inkRows = 0;
    for (int offset = 0; offset < 160; ++offset) {
        for (int x = 0; x < canvas.width(); ++x) {
            uint8_t r1, g1, b1, r2, g2, b2;
            canvas.pixel(x, 159 - offset, &r1, &g1, &b1);
            canvas.pixel(x, 160 + offset, &r2, &g2, &b2);
            ASSERT_NEAR(r1, r2, 2) << "row " << offset << " column " << x;
        }
    }
    // No gap where the halves meet: ink in every row from the tip outward.
    for (int y = 30; y < 290; ++y) {
        bool ink = false;
        for (int x = 0; x < canvas.width(); ++x) {
            uint8_t r, g, b;
            canvas.pixel(x, y, &r, &g, &b);
            ink = ink || r < 128;
        }
        inkRows += ink ? 1 : 0;
    }
    EXPECT_EQ(inkRows, 260);
}

// Centre of the enclosed counters (holes) of a glyph drawn at the given
// scale, in glyph units: white pixels that the outside cannot reach.
static bool counterCentre(const ReGlyph& glyph, double sx, double sy, double* cx, double* cy)
{
    const int size = 200;
    const double scale = 40;
    std::vector<double> vertices(glyph.vertices, glyph.vertices + 2 * glyph.vertexCount);
    for (int v = 0; v < glyph.vertexCount; ++v) {
        vertices[size_t(2 * v)] *= sx;
        vertices[size_t(2 * v + 1)] *= sy;
    }
    TestCanvas canvas(size, size);
    canvas.fillMesh(vertices.data(), glyph.triangles, glyph.triangleCount, size / 2, size / 2, scale, 0, 0, 0);
    std::vector<char> outside(size_t(size * size), 0);
    std::vector<int> stack{0};
    outside[0] = 1;
    while (!stack.empty()) {
        int p = stack.back();
        stack.pop_back();
        int x = p % size, y = p / size;
        const int dx[4] = {1, -1, 0, 0}, dy[4] = {0, 0, 1, -1};
        for (int k = 0; k < 4; ++k) {
            int nx = x + dx[k], ny = y + dy[k];
            if (nx < 0 || ny < 0 || nx >= size || ny >= size || outside[size_t(ny * size + nx)])
                continue;
            uint8_t r, g, b;
            canvas.pixel(nx, ny, &r, &g, &b);
            if (r < 128)
                continue;
            outside[size_t(ny * size + nx)] = 1;
            stack.push_back(ny * size + nx);
        }
    }
    double sumX = 0, sumY = 0;
    int count = 0;
    for (int y = 0; y < size; ++y) {
        for (int x = 0; x < size; ++x) {
            uint8_t r, g, b;
            canvas.pixel(x, y, &r, &g, &b);
            if (r >= 128 && !outside[size_t(y * size + x)]) {
                sumX += (x + 0.5 - size / 2) / scale;
                sumY += (size / 2 - y - 0.5) / scale;
                ++count;
            }
        }
    }
    if (count == 0)
        return false;
    *cx = sumX / count;
    *cy = sumY / count;
    return true;
}

// Nine is the six turned half round about its centre: its closed bowl moves
// from the lower half to the upper one, and the glyph keeps its centre.
TEST(ReGlyph, figureSixTurnedReadsAsNineAboutTheSameCentre)
{
    Extent six = extentOf(ReGlyph::figure6);
    EXPECT_NEAR((six.xMin + six.xMax) / 2, 0.0, 1e-6);
    EXPECT_NEAR((six.yMin + six.yMax) / 2, 0.0, 1e-6);

    double cx, cy, tx, ty;
    ASSERT_TRUE(counterCentre(ReGlyph::figure6, 1, 1, &cx, &cy));
    ASSERT_TRUE(counterCentre(ReGlyph::figure6, -1, -1, &tx, &ty));
    EXPECT_LT(cy, -0.5);
    EXPECT_GT(ty, 0.5);
    EXPECT_NEAR(tx, -cx, 0.05);
    EXPECT_NEAR(ty, -cy, 0.05);
}

// Writes every glyph on a staff for a person to look at. The cells follow
// the catalogue's order; the legend lists the names.
TEST(ReGlyph, writesAContactSheet)
{
    const int columns = 8;
    const int cell = 200;
    const double scale = 8;  // pixels per staff step
    int rows = (ReGlyph::count() + 2 + columns - 1) / columns;
    TestCanvas canvas(columns * cell, rows * cell);
    std::string legend;
    auto staff = [&](int cx, int cy) {
        for (int line = 0; line < 5; ++line) {
            double y = cy - 4 * scale + line * 2 * scale;
            canvas.fillRect(cx - cell / 2 + 10, y - 0.5, cx + cell / 2 - 10, y + 0.5, 170, 170, 230);
        }
    };
    auto cross = [&](int cx, int cy) {
        canvas.fillRect(cx - 4, cy - 0.5, cx + 4, cy + 0.5, 230, 0, 0);
        canvas.fillRect(cx - 0.5, cy - 4, cx + 0.5, cy + 4, 230, 0, 0);
    };
    int index = 0;
    for (; index < ReGlyph::count(); ++index) {
        const ReGlyph& glyph = *ReGlyph::at(index);
        int cx = (index % columns) * cell + cell / 2;
        int cy = (index / columns) * cell + cell / 2;
        staff(cx, cy);
        canvas.fillMesh(glyph.vertices, glyph.triangles, glyph.triangleCount, cx, cy, scale, 0, 0, 0);
        cross(cx, cy);
        legend += std::to_string(index) + " " + ReGlyph::nameAt(index) + "\n";
    }
    // The whole brace and the turned six, as the composers draw them.
    {
        const ReGlyph& brace = ReGlyph::braceHalf;
        int cx = (index % columns) * cell + cell / 2, cy = (index / columns) * cell + cell / 2;
        std::vector<double> mirrored(brace.vertices, brace.vertices + 2 * brace.vertexCount);
        for (int v = 0; v < brace.vertexCount; ++v)
            mirrored[size_t(2 * v + 1)] = -mirrored[size_t(2 * v + 1)];
        double s = scale * 0.8;
        canvas.fillMesh(brace.vertices, brace.triangles, brace.triangleCount, cx, cy, s, 0, 0, 0);
        canvas.fillMesh(mirrored.data(), brace.triangles, brace.triangleCount, cx, cy, s, 0, 0, 0);
        cross(cx, cy);
        legend += std::to_string(index++) + " brace (both halves)\n";
    }
    {
        const ReGlyph& six = ReGlyph::figure6;
        int cx = (index % columns) * cell + cell / 2, cy = (index / columns) * cell + cell / 2;
        std::vector<double> turned(six.vertices, six.vertices + 2 * six.vertexCount);
        for (double& value : turned)
            value = -value;
        staff(cx, cy);
        canvas.fillMesh(turned.data(), six.triangles, six.triangleCount, cx, cy, scale, 0, 0, 0);
        cross(cx, cy);
        legend += std::to_string(index++) + " figure 6 at scale (-1, -1): nine\n";
    }
    std::string path = std::string(QRV_TEST_OUTPUT_DIR) + "/glyphs.png";
    ASSERT_TRUE(canvas.writePng(path));
    FILE* file = std::fopen((std::string(QRV_TEST_OUTPUT_DIR) + "/glyphs.txt").c_str(), "w");
    ASSERT_NE(file, nullptr);
    std::fputs(legend.c_str(), file);
    std::fclose(file);
}
