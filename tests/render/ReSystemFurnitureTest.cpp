#include "foundation/BcSettings.h"
#include "model/MnCodes.h"
#include "model/MnScore.h"
#include "model/MnStaff.h"
#include "model/MnStaffChange.h"
#include "render/ReGlyph.h"
#include "render/ReSystem.h"
#include "model/MnTicks.h"
#include "tests/common/RecordingRenderer.h"
#include "tests/common/TestCanvas.h"
#include "tests/model/ModelBuilders.h"
#include "tests/render/DrawnShapes.h"

#include <gtest/gtest.h>

#include <cstdlib>

TEST(ReSystemFurniture, groupBracketsByType)
{
    const double x = 20, y = 50, h = 30, endX = 40;
    {
        SCOPED_TRACE("brace: the upper half and its mirror image");
        RecordingRenderer renderer;
        ReSystem(&renderer).drawGroupBracket(x, y, h, 0, endX);
        auto meshes = renderer.callsNamed("fillMesh");
        ASSERT_EQ(meshes.size(), 2u);
        EXPECT_EQ(meshes[0]->triangles, ReGlyph::braceHalf.triangles);
        expectNear({meshes[0]->args[2], meshes[0]->args[3], meshes[0]->args[4], meshes[0]->args[5]},
                   {x - 3, y - h / 2, 1, h / 28});
        expectNear({meshes[1]->args[2], meshes[1]->args[3], meshes[1]->args[4], meshes[1]->args[5]},
                   {x - 3, y - h / 2, 1, -h / 28});
        EXPECT_EQ(renderer.countOf("fillQuad"), 0);
    }
    {
        SCOPED_TRACE("bracket: two ends and a bar");
        RecordingRenderer renderer;
        ReSystem(&renderer).drawGroupBracket(x, y, h, 1, endX);
        auto meshes = renderer.callsNamed("fillMesh");
        ASSERT_EQ(meshes.size(), 2u);
        EXPECT_EQ(meshes[0]->triangles, ReGlyph::bracketEnd.triangles);
        expectNear({meshes[0]->args[2], meshes[0]->args[3], meshes[0]->args[4], meshes[0]->args[5]},
                   {x - 1.5, y + 1.5, 0.75, 0.75});
        expectNear({meshes[1]->args[2], meshes[1]->args[3], meshes[1]->args[4], meshes[1]->args[5]},
                   {x - 1.5, y + 1.5 - (h + 3), 0.75, -0.75});
        auto quads = renderer.callsNamed("fillQuad");
        ASSERT_EQ(quads.size(), 1u);
        expectNear(quadBox(*quads[0]), {x - 1.5, y + 1.5 - (h + 3), x - 0.75, y + 1.5});
    }
    {
        SCOPED_TRACE("square bracket: a bar and two hooks to the end x");
        RecordingRenderer renderer;
        ReSystem(&renderer).drawGroupBracket(x, y, h, 2, endX);
        auto quads = renderer.callsNamed("fillQuad");
        ASSERT_EQ(quads.size(), 3u);
        double t = 0.2, left = x - t / 2 - 1.5, top = y + t / 2, bottom = top - (h + t);
        expectNear(quadBox(*quads[0]), {left, bottom, left + t, top});
        expectNear(quadBox(*quads[1]), {left, top - t, endX, top});
        expectNear(quadBox(*quads[2]), {left, bottom, endX, bottom + t});
        EXPECT_EQ(renderer.countOf("fillMesh"), 0);
    }
    {
        SCOPED_TRACE("line");
        RecordingRenderer renderer;
        ReSystem(&renderer).drawGroupBracket(x, y, h, 3, endX);
        auto quads = renderer.callsNamed("fillQuad");
        ASSERT_EQ(quads.size(), 1u);
        expectNear(quadBox(*quads[0]), {x - 1.75, y - h - 0.5, x - 1.25, y + 0.5});
    }
    for (int type : {-1, 4}) {
        RecordingRenderer renderer;
        ReSystem(&renderer).drawGroupBracket(x, y, h, type, endX);
        EXPECT_EQ(renderer.calls.size(), 0u) << type;
    }
}

TEST(ReSystemFurniture, bracketsAreStaffFurnitureInTheThreeDMesh)
{
    RecordingRenderer renderer;
    renderer.extrusionHeight = 3.0;
    ReSystem system(&renderer);
    for (int type = 0; type < 4; ++type)
        system.drawGroupBracket(0, 0, 10, type, 5);
    expectDrawnAsStaffFurniture(renderer);
}

// Quads of straight strokes run left top, left bottom, right bottom, right top.
TEST(ReSystemFurniture, strokesAreQuadsInTheCommonCornerOrder)
{
    RecordingRenderer renderer;
    ReSystem(&renderer).drawGroupBracket(10, 5, 4, 3, 0);
    auto quads = renderer.callsNamed("fillQuad");
    ASSERT_EQ(quads.size(), 1u);
    expectNear(quads[0]->args, {8.25, 5.5, 8.25, 0.5, 8.75, 0.5, 8.75, 5.5});
}

namespace {

struct Rgba {
    int r, g, b, a;
};

void expectColor(const RecordingRenderer::Call& call, Rgba expected)
{
    EXPECT_EQ(call.color[0], expected.r) << call.name;
    EXPECT_EQ(call.color[1], expected.g) << call.name;
    EXPECT_EQ(call.color[2], expected.b) << call.name;
    EXPECT_EQ(call.color[3], expected.a) << call.name;
}

const double t = 0.2;  // the staff-line thickness of every composer

} // namespace

TEST(ReSystemFurniture, paperByOutputKind)
{
    const double x = 10, y = -5, w = 100, h = 150;
    {
        SCOPED_TRACE("print and export: the page is the paper");
        RecordingRenderer renderer;
        renderer.outputKind = 1;
        ReSystem(&renderer).drawPaper(x, y, w, h, 0xFFFFFF, 0, 2, true);
        EXPECT_TRUE(renderer.calls.empty()) << renderer.transcript();
    }
    {
        SCOPED_TRACE("3-D mesh: the fill alone, at the paper's height");
        RecordingRenderer renderer;
        renderer.outputKind = 2;
        renderer.extrusionHeight = 3.0;
        ReSystem(&renderer).drawPaper(x, y, w, h, 0xFFFFFF, 0, 2, true);
        ASSERT_EQ(renderer.calls.size(), 2u) << renderer.transcript();
        EXPECT_EQ(renderer.calls[0].name, "setColor");
        EXPECT_EQ(renderer.calls[1].name, "fillQuad");
        EXPECT_EQ(renderer.calls[1].extrusionHeight, 1.0);
        EXPECT_EQ(renderer.extrusionHeight, 3.0);
    }
    {
        SCOPED_TRACE("screen: fill, frame and shadow; only the fill at the paper's height");
        RecordingRenderer renderer;
        renderer.extrusionHeight = 3.0;
        ReSystem(&renderer).drawPaper(x, y, w, h, 0xFFFFFF, 0, 2, true);
        auto quads = renderer.callsNamed("fillQuad");
        ASSERT_EQ(quads.size(), 9u);
        EXPECT_EQ(quads[0]->extrusionHeight, 1.0);
        for (size_t i = 1; i < quads.size(); ++i)
            EXPECT_EQ(quads[i]->extrusionHeight, 3.0);
        EXPECT_EQ(renderer.extrusionHeight, 3.0);
    }
}

TEST(ReSystemFurniture, paperColoursAndTexture)
{
    struct Row {
        const char* name;
        int rgb;
        int textured;
        int frameMode;
        Rgba fill;
        Rgba frame;
    };
    const Row rows[] = {
        {"white paper, black frame", 0xFFFFFF, 0, 2, {255, 255, 255, 239}, {0, 0, 0, 255}},
        {"red is the low byte", 0x102030, 0, 2, {0x30, 0x20, 0x10, 239}, {0, 0, 0, 255}},
        {"textured: a frame of the paper darkened", 0xFFFFFF, 1, 2, {255, 255, 255, 239}, {198, 198, 198, 255}},
        {"textured but selected: the selection's frame", 0xFFFFFF, 1, 3, {255, 255, 255, 239}, {0, 127, 255, 255}},
        {"plain and selected", 0xFFFFFF, 0, 3, {255, 255, 255, 239}, {0, 127, 255, 255}},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        RecordingRenderer renderer;
        ReSystem(&renderer).drawPaper(0, 0, 100, 100, row.rgb, row.textured, row.frameMode, true);
        auto fills = renderer.callsNamed(row.textured ? "fillTexturedQuad" : "fillQuad");
        ASSERT_FALSE(fills.empty());
        expectColor(*fills[0], row.fill);
        auto strokes = renderer.callsNamed("fillQuad");
        ASSERT_EQ(strokes.size(), row.textured ? 8u : 9u);
        for (size_t i = row.textured ? 0 : 1; i < strokes.size(); ++i)
            expectColor(*strokes[i], row.frame);
        EXPECT_EQ(renderer.countOf("fillTexturedQuad"), row.textured ? 1 : 0);
    }
}

TEST(ReSystemFurniture, paperFrameAndShadowBothWays)
{
    const double x = 10, y = -5, w = 100, h = 150, m = t, k = 4 * t;
    const std::vector<std::vector<double>> fillAndFrame = {
        {x + m, y - h - 2 * m - k, x + w + m + k, y - m},
        {x - m, y - m, x + w + m, y + m},
        {x - m, y - h - m, x + w + m, y - h + m},
        {x - m, y - h - m, x + m, y + m},
        {x + w - m, y - h - m, x + w + m, y + m},
    };
    const double bottom = y - h - m - 2 * k;
    {
        SCOPED_TRACE("shadow to the right and below");
        RecordingRenderer renderer;
        ReSystem(&renderer).drawPaper(x, y, w, h, 0xFFFFFF, 0, 2, true);
        auto expected = fillAndFrame;
        expected.push_back({x + w + m, y - m, x + w + m + 2 * k, y + m});
        expected.push_back({x + w + m + k, bottom, x + w + m + 2 * k, y + m});
        expected.push_back({x - m, bottom, x + m, y - h - m});
        expected.push_back({x - m, bottom, x + w + m + 2 * k, y - h - m - k});
        expectBoxes(quadBoxes(renderer), expected);
    }
    {
        SCOPED_TRACE("a page turned the other way: shadow below only");
        RecordingRenderer renderer;
        ReSystem(&renderer).drawPaper(x, y, w, h, 0xFFFFFF, 0, 2, false);
        auto expected = fillAndFrame;
        expected.push_back({x - m, bottom, x + m, y - h - m});
        expected.push_back({x + w - m, bottom, x + w + m, y - h - m});
        expected.push_back({x - m, bottom, x + w + m, y - h - m - k});
        expectBoxes(quadBoxes(renderer), expected);
    }
}

TEST(ReSystemFurniture, staffLinesFollowTheCompensation)
{
    RecordingRenderer renderer;
    renderer.extrusionHeight = 3.0;
    ReSystem system(&renderer);
    system.horizontalScale = 0.5;
    system.horizontalPivot = 100;
    system.drawStaffLines(120, 30, 40);
    // x 120 maps to 110, and the width of 40 to 20.
    std::vector<std::vector<double>> expected;
    for (int line = 0; line < 5; ++line)
        expected.push_back({110, 30 - 2 * line - t / 2, 130, 30 - 2 * line + t / 2});
    expectBoxes(quadBoxes(renderer), expected);
    expectDrawnAsStaffFurniture(renderer);
}

TEST(ReSystemFurniture, clefsStandOnTheirLines)
{
    struct Row {
        int clef;
        double scale;
        bool compensate;
        std::vector<PlacedGlyph> glyphs;
    };
    // Drawn at x 120 with compensation by 0.5 about 100 (x 110 when asked).
    const Row rows[] = {
        {MnClefTreble, 1, false, {{"gClef", 120.5, -6, 1, 1}}},
        {MnClefBass, 1, false, {{"fClef", 120.5, -2, 1, 1}}},
        {MnClefAlto, 1, false, {{"cClef", 120, -4, 1, 1}}},
        {MnClefTenor, 1, false, {{"cClef", 120, -2, 1, 1}}},
        {MnClefTreble, 0.75, true, {{"gClef", 110.5, -6, 0.75, 0.75}}},
        {MnClefTenor, 0.75, true, {{"cClef", 110, -2, 0.75, 0.75}}},
        {4, 1, false, {}},
        {-1, 1, false, {}},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE("clef " + std::to_string(row.clef) + " scale " + std::to_string(row.scale));
        RecordingRenderer renderer;
        ReSystem system(&renderer);
        system.horizontalScale = 0.5;
        system.horizontalPivot = 100;
        system.drawClef(120, 0, row.clef, row.scale, row.compensate);
        expectGlyphs(renderer, row.glyphs);
    }
}

TEST(ReSystemFurniture, keySignatures)
{
    struct Row {
        const char* name;
        int fifths;
        int clef;
        bool cancel;
        const char* glyph;
        double sx, sy;
        std::vector<double> positions;  // staff positions, in order
    };
    const Row rows[] = {
        {"seven sharps in treble", 7, MnClefTreble, false, "sharp", 1.25, 1.25, {0, -3, 1, -2, -5, -1, -4}},
        {"seven sharps in bass", 7, MnClefBass, false, "sharp", 1.25, 1.25, {-2, -5, -1, -4, -7, -3, -6}},
        {"three sharps in alto", 3, MnClefAlto, false, "sharp", 1.25, 1.25, {-1, -4, 0}},
        {"tenor sharps stay inside the staff", 7, MnClefTenor, false, "sharp", 1.25, 1.25,
         {-6, -2, -5, -1, -4, 0, -3}},
        {"seven flats in treble", -7, MnClefTreble, false, "flat", 1, 1.1, {-4, -1, -5, -2, -6, -3, -7}},
        {"seven flats in bass: the last at -9", -7, MnClefBass, false, "flat", 1, 1.1, {-6, -3, -7, -4, -8, -5, -9}},
        {"two flats in tenor", -2, MnClefTenor, false, "flat", 1, 1.1, {-5, -2}},
        {"cancelling sharps: naturals", 2, MnClefTreble, true, "natural", 1, 1, {0, -3}},
        {"cancelling flats: naturals", -3, MnClefBass, true, "natural", 1, 1, {-6, -3, -7}},
        {"no key", 0, MnClefTreble, false, "", 1, 1, {}},
        {"a key beyond seven draws seven", 9, MnClefTreble, false, "sharp", 1.25, 1.25, {0, -3, 1, -2, -5, -1, -4}},
        {"a key below minus seven draws seven", -12, MnClefTreble, false, "flat", 1, 1.1,
         {-4, -1, -5, -2, -6, -3, -7}},
    };
    const double x = 20, y = 10;
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        RecordingRenderer renderer;
        ReSystem(&renderer).drawKeySignature(x, y, row.fifths, row.clef, row.cancel, true);
        std::vector<PlacedGlyph> expected;
        for (size_t k = 0; k < row.positions.size(); ++k)
            expected.push_back({row.glyph, x + 1 + 2.0 * k, y + row.positions[k], row.sx, row.sy});
        expectGlyphs(renderer, expected);
    }
}

TEST(ReSystemFurniture, keySignaturesCompensateOnlyWhenAsked)
{
    for (bool compensate : {false, true}) {
        RecordingRenderer renderer;
        ReSystem system(&renderer);
        system.horizontalScale = 0.5;
        system.horizontalPivot = 100;
        system.drawKeySignature(120, 0, -1, MnClefTreble, false, compensate);
        expectGlyphs(renderer, {{"flat", compensate ? 111 : 121, -4, 1, 1.1}});
    }
}

TEST(ReSystemFurniture, timeSignatures)
{
    const double x = 30, y = 0, d = t / 2;
    struct Row {
        int type;
        std::vector<PlacedGlyph> glyphs;
        std::vector<std::vector<double>> bars;
    };
    const Row rows[] = {
        {MnTimeCommon, {{"commonTime", x, y - 4, 1, 1}}, {}},
        {MnTime4_4, {{"figure4", x, y - 2 + d, 1, 1}, {"figure4", x, y - 6 - d, 1, 0.95}}, {}},
        {MnTime2_2, {{"figure2", x, y - 2, 1, 1}, {"figure2", x, y - 6, 1, 1}}, {}},
        {MnTimeCut, {{"commonTime", x, y - 4, 1, 1}}, {{x - d, y - 7, x + d, y - 1}}},
        {MnTime2_4, {{"figure2", x, y - 2, 1, 1}, {"figure4", x, y - 6 - d, 1, 0.95}}, {}},
        {MnTime3_4, {{"figure3", x, y - 2, 1, 1}, {"figure4", x, y - 6 - d, 1, 0.95}}, {}},
        {MnTime6_8, {{"figure6", x, y - 2, 1, 1}, {"figure8", x, y - 6, 1, 1}}, {}},
        {MnTime9_8, {{"figure6", x, y - 2, -1, -1}, {"figure8", x, y - 6, 1, 1}}, {}},
        {MnTime3_8, {{"figure3", x, y - 2, 1, 1}, {"figure8", x, y - 6, 1, 1}}, {}},
        {MnTime6_4, {{"figure6", x, y - 2, 1, 1}, {"figure4", x, y - 6 - d, 1, 0.95}}, {}},
        {MnTime12_8, {{"figure1", x - 1.5, y - 2, 1, 1}, {"figure2", x + 1.5, y - 2, 1, 1}, {"figure8", x, y - 6, 1, 1}},
         {}},
        {11, {}, {}},
        {-1, {}, {}},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE("type " + std::to_string(row.type));
        RecordingRenderer renderer;
        ReSystem(&renderer).drawTimeSignature(x, y, row.type);
        expectGlyphs(renderer, row.glyphs);
        expectBoxes(quadBoxes(renderer), row.bars);
    }
    // Always compensated.
    RecordingRenderer renderer;
    ReSystem system(&renderer);
    system.horizontalScale = 0.5;
    system.horizontalPivot = 10;
    system.drawTimeSignature(x, y, MnTimeCommon);
    expectGlyphs(renderer, {{"commonTime", 20, y - 4, 1, 1}});
}

// Everything of this file drawn for a person to look at: paper both ways,
// every clef, every key in the four clefs, every time signature, every
// barline on a staff, between two staves and on a tablature, and the three
// drawings of staff changes.
TEST(ReSystemFurniture, writesAPicture)
{
    RecordingRenderer renderer;
    renderer.viewWidth = 40;
    ReSystem system(&renderer);
    system.setColorMode(2);

    // Clefs and time signatures.
    double y = 0;
    system.drawStaffLines(0, y, 140);
    for (int clef = 0; clef < 4; ++clef)
        system.drawClef(4 + 10 * clef, y, clef, 1, true);
    for (int type = 0; type <= 10; ++type)
        system.drawTimeSignature(48 + 8 * type, y, type);

    // Keys: sharps then flats, one to seven each, in every clef.
    for (int clef = 0; clef < 4; ++clef) {
        y -= 16;
        system.drawStaffLines(0, y, 190);
        system.drawClef(4, y, clef, 1, true);
        double x = 10;
        for (int fifths : {1, 2, 3, 4, 5, 6, 7, -1, -2, -3, -4, -5, -6, -7}) {
            system.drawKeySignature(x, y, fifths, clef, false, true);
            x += 2 * std::abs(fifths) + 3;
        }
        system.drawKeySignature(x, y, clef % 2 ? -4 : 4, clef, true, true);
    }

    // Barlines on two staves joined by their links, at system starts and
    // ends, and on a six-line tablature.
    y -= 20;
    const double lower = y - 16;
    system.drawStaffLines(0, y, 150);
    system.drawStaffLines(0, lower, 150);
    struct Barline {
        int code;
        bool systemStart, systemEnd;
    };
    const Barline barlines[] = {{0, false, false}, {1, false, false}, {2, false, false}, {3, false, false},
                                {4, false, false}, {5, false, false}, {4, true, false},  {5, true, false},
                                {4, false, true},  {5, false, true}};
    double x = 10;
    for (const Barline& barline : barlines) {
        for (double staffY : {y, lower})
            system.drawBarline(x, staffY, 8, barline.code, barline.systemStart, barline.systemEnd, 1, 1, 1, 5, 2);
        if (!barline.systemStart)
            system.drawBarlineLink(x, y - 8, 8, -10, barline.code, barline.systemEnd, 1);
        x += 14;
    }
    y = lower - 20;
    for (int line = 0; line < 6; ++line)
        system.drawGroupBracket(0, y - 3 * line + t / 2, t, 2, 150);  // a square bracket makes a thin line
    x = 10;
    for (int code = 0; code <= 5; ++code) {
        system.drawBarline(x, y, 15, code, false, false, 1, 1, 1, 6, 3);
        x += 14;
    }

    // Staff changes: a clef and key change inside a system, a key and time
    // change, and a selected clef change before a barline.
    y -= 30;
    StaffFixture fixture(4);
    MnStaff* staff = fixture.staff;
    staff->setKey(3);
    for (int measure = 1; measure <= 3; ++measure)
        staff->insertStaffChange(MnTicksPerWhole * measure);
    staff->change(0)->setClef(MnClefBass);
    staff->change(0)->setKey(-2);
    staff->change(1)->setKey(0);
    staff->change(1)->setTimeType(MnTime6_8);
    staff->change(2)->setClef(MnClefAlto);
    renderer.add(staff->change(2));
    system.setColorMode(2);
    system.drawStaffLines(0, y, 90);
    system.drawStaffChange(staff->change(0), 10, y, 0);
    system.drawBarline(40, y, 8, 0, false, false, 1, 1, 1, 5, 2);
    system.drawKeyTimeChange(staff->change(1), GePoint2d(42, y), 0);
    system.drawClefChange(staff->change(2), 88, y, 0);
    system.setColorMode(2);
    system.drawBarline(88, y, 8, 2, false, false, 1, 1, 1, 5, 2);

    // Paper, plain with its shadow right and below, and textured and turned.
    system.drawPaper(100, y + 6, 40, 24, 0xFFFFFF, 0, 2, true);
    system.drawPaper(150, y + 6, 40, 24, 0x01E0F0FF, 1, 2, false);

    TestCanvas canvas(1400, 1260);
    renderer.paint(canvas, -5, 12, 195, y - 28);
    ASSERT_TRUE(canvas.writePng(std::string(QRV_TEST_OUTPUT_DIR) + "/furniture.png"));
}
