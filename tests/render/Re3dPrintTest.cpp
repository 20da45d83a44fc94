#include "render/Re3dPrint.h"

#include "editing/QuorvaneDocument.h"
#include "foundation/BcString.h"
#include "foundation/GeRegion.h"
#include "foundation/GeSpline2d.h"
#include "model/MnCache.h"
#include "model/MnScore.h"
#include "model/MnSheetMusic.h"
#include "render/ReGlyph.h"

#include <algorithm>
#include <cmath>
#include "tests/render/ExportTestSheets.h"

#include <gtest/gtest.h>

struct Mesh {
    BcArray<GePoint3d> points;
    BcArray<GeVector3d> normals;
};

TEST(Re3dPrint, quadBecomesTopBottomAndFourWallsSizedExactly)
{
    Re3dPrint print;
    print.extrusionHeight = 1;
    print.fillQuad(0, 2, 0, 0, 3, 0, 3, 2);
    Mesh mesh;
    mesh.points.add(GePoint3d(9, 9, 9));  // replaced
    print.buildMesh(-1, -1, &mesh.points, &mesh.normals);
    ASSERT_EQ(mesh.points.count(), 36);
    EXPECT_EQ(mesh.points.capacity(), 36);
    EXPECT_EQ(mesh.normals.count(), 36);
    EXPECT_EQ(mesh.normals.capacity(), 36);
    // Each triangle's top, at the height and moved by the origin, then its
    // bottom in the same order.
    EXPECT_DOUBLE_EQ(mesh.points[0].x, 1);
    EXPECT_DOUBLE_EQ(mesh.points[0].y, 3);
    for (int t = 0; t < 2; ++t) {
        for (int k = 0; k < 3; ++k) {
            EXPECT_DOUBLE_EQ(mesh.points[6 * t + k].z, 1);
            EXPECT_DOUBLE_EQ(mesh.normals[6 * t + k].z, 1);
            EXPECT_DOUBLE_EQ(mesh.points[6 * t + 3 + k].z, 0);
            EXPECT_DOUBLE_EQ(mesh.normals[6 * t + 3 + k].z, -1);
            EXPECT_DOUBLE_EQ(mesh.points[6 * t + 3 + k].x, mesh.points[6 * t + k].x);
        }
    }
    for (int i = 12; i < 36; ++i)
        EXPECT_DOUBLE_EQ(mesh.normals[i].z, 0);
}

// Whether every wall's normal points away from the middle of the shape
// (shapes here are convex), with unit length.
static void expectWallsFaceOutward(const Mesh& mesh, int firstWallPoint, double cx, double cy, const char* name)
{
    int checked = 0;
    for (int i = firstWallPoint; i < mesh.points.count(); ++i) {
        const GeVector3d& n = mesh.normals[i];
        if (n.z != 0)
            continue;
        EXPECT_NEAR(std::hypot(n.x, n.y), 1.0, 1e-9) << name;
        double along = (mesh.points[i].x - cx) * n.x + (mesh.points[i].y - cy) * n.y;
        EXPECT_GT(along, 0) << name << " point " << i;
        ++checked;
    }
    EXPECT_GT(checked, 0) << name;
}

TEST(Re3dPrint, wallNormalsPointOutwardWhateverTheWinding)
{
    // A symbol mesh whose triangles turn counter-clockwise, its centre at
    // (0.5, 0.5).
    static const double square[] = {0, 0, 1, 0, 1, 1, 0, 1};
    static const int counterClockwise[] = {0, 1, 2, 0, 2, 3};
    static const int clockwise[] = {0, 2, 1, 0, 3, 2};
    struct Row {
        const char* name;
        const int* triangles;
        double sx, sy;
        bool mirrorTransform;
    };
    const Row rows[] = {
        {"counter-clockwise", counterClockwise, 1, 1, false},
        {"clockwise", clockwise, 1, 1, false},
        {"mirrored by its scale", counterClockwise, -1, 1, false},
        {"clockwise and flipped by its scale", clockwise, 1, -2, false},
        {"mirrored by the transform", counterClockwise, 1, 1, true},
        {"mirrored twice", clockwise, -1, 1, true},
    };
    for (const Row& row : rows) {
        Re3dPrint print;
        print.extrusionHeight = 3;
        print.fillMesh(square, 4, row.triangles, 2, 10, 10, row.sx, row.sy);
        if (row.mirrorTransform)
            print.regionTransforms[0] = GeMatrix2d(-1, 0, 0, 0, 1, 0, 0, 0, 1);
        Mesh mesh;
        print.buildMesh(0, 0, &mesh.points, &mesh.normals);
        ASSERT_EQ(mesh.points.count(), 36) << row.name;
        double cx = (10 + 0.5 * row.sx) * (row.mirrorTransform ? -1 : 1);
        double cy = 10 + 0.5 * row.sy;
        expectWallsFaceOutward(mesh, 12, cx, cy, row.name);
    }

    // Ellipses run clockwise; glyphs counter-clockwise, the strong accent not.
    Re3dPrint print;
    print.extrusionHeight = 3;
    print.fillEllipse(5, 5, 2, 1, 30, 16);
    Mesh ellipse;
    print.buildMesh(0, 0, &ellipse.points, &ellipse.normals);
    expectWallsFaceOutward(ellipse, 3 * 2 * 14, 5, 5, "ellipse");
}

TEST(Re3dPrint, symbolDrawnTwiceIsOneRegionEmittedTwice)
{
    const ReGlyph& flat = ReGlyph::flat;
    Mesh once, twice;
    {
        Re3dPrint print;
        print.extrusionHeight = 3;
        print.fillMesh(flat.vertices, flat.vertexCount, flat.triangles, flat.triangleCount, 0, 0, 1, 1);
        print.buildMesh(0, 0, &once.points, &once.normals);
    }
    Re3dPrint print;
    print.extrusionHeight = 3;
    print.fillMesh(flat.vertices, flat.vertexCount, flat.triangles, flat.triangleCount, 0, 0, 1, 1);
    print.fillQuad(0, 1, 0, 0, 1, 0, 1, 1);
    print.fillMesh(flat.vertices, flat.vertexCount, flat.triangles, flat.triangleCount, 20, 0, 1, 1.1);
    ASSERT_EQ(print.regions.count(), 3);
    EXPECT_EQ(print.regions[0], print.regions[2]);
    EXPECT_NE(print.regions[0], print.regions[1]);
    print.buildMesh(0, 0, &twice.points, &twice.normals);
    EXPECT_EQ(twice.points.count(), 2 * once.points.count() + 36);
    const GePoint3d& second = twice.points[once.points.count() + 36];
    EXPECT_DOUBLE_EQ(second.x, once.points[0].x + 20);
    EXPECT_DOUBLE_EQ(second.y, once.points[0].y * 1.1);
    // The renderer dies here: the shared region is deleted once.
}

TEST(Re3dPrint, tiltedEllipseIsTiltedInTheRelief)
{
    Re3dPrint print;
    print.extrusionHeight = 3;
    print.fillEllipse(10, 20, 1.5, 1, 22.5, 64);
    Mesh mesh;
    print.buildMesh(0, 0, &mesh.points, &mesh.normals);
    // The top face's point farthest from the centre lies on the long axis.
    double farthest = 0, angle = 0;
    for (int i = 0; i < 6 * 62; ++i) {
        double dx = mesh.points[i].x - 10, dy = mesh.points[i].y - 20;
        if (std::hypot(dx, dy) > farthest) {
            farthest = std::hypot(dx, dy);
            angle = std::atan2(dy, dx) * 180 / M_PI;
        }
    }
    EXPECT_NEAR(farthest, 1.5, 1e-9);
    EXPECT_NEAR(std::fmod(angle + 360, 180), 22.5, 1e-6);
}

TEST(Re3dPrint, transformAndHeightInForceAreKept)
{
    Re3dPrint print;
    print.extrusionHeight = 2;
    print.pushScale(10, 10, 2);
    print.fillQuad(10, 11, 10, 10, 11, 10, 11, 11);
    print.popTransform();
    print.extrusionHeight = 1;
    print.fillQuad(0, 1, 0, 0, 1, 0, 1, 1);
    Mesh mesh;
    print.buildMesh(0, 0, &mesh.points, &mesh.normals);
    EXPECT_DOUBLE_EQ(mesh.points[0].z, 2);
    EXPECT_DOUBLE_EQ(mesh.points[0].y, 12);  // (10, 11) scaled about (10, 10)
    EXPECT_DOUBLE_EQ(mesh.points[36].z, 1);
}

TEST(Re3dPrint, curvesArcsAndTextAreNotCollected)
{
    Re3dPrint print;
    GeSpline2d curve(GePoint2d(0, 0), GePoint2d(1, 1), GePoint2d(2, 1), GePoint2d(3, 0));
    print.strokeCurve(&curve, 0.1, 0.5);
    print.strokeArc(0, 0, 5, 0, 0.5, 0.1, 0.5);
    print.drawText(BcString("Andante"), 0, 0, 12, 0, false);
    print.drawDashedRect(0, 0, 1, 1);
    EXPECT_EQ(print.regions.count(), 0);
}

TEST(Re3dPrint, pageMeshComesFromTheFirstChosenSheetInsetByTwo)
{
    QuorvaneDocument document;
    addSheet(document);
    MnSheetMusic* small = addSheet(document, 100, 60);
    small->setPresentation(MnSheetMusic::Book);
    small->moveTo(GePoint2d(300, 0));
    Mesh mesh;
    {
        Re3dPrint print;
        ASSERT_TRUE(print.buildPageMesh(&document, &mesh.points, &mesh.normals));
        EXPECT_DOUBLE_EQ(print.viewWidth, 206);
        EXPECT_DOUBLE_EQ(print.viewHeight, 293);
        EXPECT_DOUBLE_EQ(print.viewTopLeft.x, 2);
        EXPECT_DOUBLE_EQ(print.viewTopLeft.y, -2);
    }
    Re3dPrint print;
    print.add(small);
    ASSERT_TRUE(print.buildPageMesh(&document, &mesh.points, &mesh.normals));
    EXPECT_DOUBLE_EQ(print.viewWidth, 96);
    EXPECT_DOUBLE_EQ(print.viewHeight, 56);
    EXPECT_DOUBLE_EQ(print.viewTopLeft.x, 302);
    EXPECT_EQ(small->presentation(), int(MnSheetMusic::Book));
}

TEST(Re3dPrint, noSheetAnswersFalseAndLeavesTheArrays)
{
    QuorvaneDocument document;
    Re3dPrint print;
    Mesh mesh;
    mesh.points.add(GePoint3d(1, 2, 3));
    EXPECT_FALSE(print.buildPageMesh(&document, &mesh.points, &mesh.normals));
    EXPECT_EQ(mesh.points.count(), 1);
}

// Whether (x, y) lies in one of the mesh's top triangles.
static bool insideTop(const Mesh& mesh, int triangleCount, double x, double y)
{
    for (int t = 0; t < triangleCount; ++t) {
        const GePoint3d* p = &mesh.points[6 * t];
        double d1 = (x - p[1].x) * (p[0].y - p[1].y) - (p[0].x - p[1].x) * (y - p[1].y);
        double d2 = (x - p[2].x) * (p[1].y - p[2].y) - (p[1].x - p[2].x) * (y - p[2].y);
        double d3 = (x - p[0].x) * (p[2].y - p[0].y) - (p[2].x - p[0].x) * (y - p[0].y);
        bool negative = d1 < 0 || d2 < 0 || d3 < 0;
        bool positive = d1 > 0 || d2 > 0 || d3 > 0;
        if (!(negative && positive))
            return true;
    }
    return false;
}

TEST(Re3dPrint, glyphWallsFaceAwayFromTheirShapeAlsoMirrored)
{
    struct Row {
        const char* name;
        const ReGlyph* glyph;
        double sx, sy;
    };
    const Row rows[] = {
        {"accent", &ReGlyph::accent, 1, 1},
        {"strong accent (clockwise)", &ReGlyph::strongAccent, 1, 1},
        {"strong accent mirrored", &ReGlyph::strongAccent, -1, 1},
        {"whole note with its hole", &ReGlyph::wholeNotehead, 1.1, 1.1},
        {"flag hanging down", &ReGlyph::flag, 1.2, -0.9},
    };
    for (const Row& row : rows) {
        const ReGlyph& g = *row.glyph;
        Re3dPrint print;
        print.extrusionHeight = 3;
        print.fillMesh(g.vertices, g.vertexCount, g.triangles, g.triangleCount, 0, 0, row.sx, row.sy);
        Mesh mesh;
        print.buildMesh(0, 0, &mesh.points, &mesh.normals);
        int outward = 0, inward = 0;
        for (int i = 6 * g.triangleCount; i < mesh.points.count(); i += 6) {
            const GeVector3d& n = mesh.normals[i];
            double mx = (mesh.points[i].x + mesh.points[i + 1].x) / 2;
            double my = (mesh.points[i].y + mesh.points[i + 1].y) / 2;
            const double step = 1e-4;
            bool outsideAhead = !insideTop(mesh, g.triangleCount, mx + step * n.x, my + step * n.y);
            bool insideBehind = insideTop(mesh, g.triangleCount, mx - step * n.x, my - step * n.y);
            (outsideAhead && insideBehind ? outward : inward)++;
        }
        EXPECT_GT(outward, 0) << row.name;
        EXPECT_EQ(inward, 0) << row.name;
    }
}

TEST(Re3dPrint, thePaperPlateCoversTheInsetPage)
{
    QuorvaneDocument document;
    MnSheetMusic* sheet = new MnSheetMusic;
    document.addWork(sheet);
    Mesh mesh;
    Re3dPrint print;
    ASSERT_TRUE(print.buildPageMesh(&document, &mesh.points, &mesh.normals));
    ASSERT_GT(mesh.points.count(), 0);
    ASSERT_EQ(mesh.points.count() % 3, 0);
    // The lowest top face over a point: the plate, wherever the music is.
    auto lowestTop = [&](double x, double y) {
        double lowest = HUGE_VAL;
        for (int t = 0; t + 2 < mesh.points.count(); t += 3) {
            if (mesh.normals[t].z < 0.99)
                continue;
            const GePoint3d* p = &mesh.points[t];
            const double d1 = (x - p[1].x) * (p[0].y - p[1].y) - (p[0].x - p[1].x) * (y - p[1].y);
            const double d2 = (x - p[2].x) * (p[1].y - p[2].y) - (p[1].x - p[2].x) * (y - p[2].y);
            const double d3 = (x - p[0].x) * (p[2].y - p[0].y) - (p[2].x - p[0].x) * (y - p[0].y);
            const bool negative = d1 < 0 || d2 < 0 || d3 < 0;
            const bool positive = d1 > 0 || d2 > 0 || d3 > 0;
            if (!(negative && positive))
                lowest = std::min(lowest, p[0].z);
        }
        return lowest;
    };
    // The inset page is 206 x 293 units from its lower left corner.
    const double plate = lowestTop(103, 146.5);
    ASSERT_LT(plate, HUGE_VAL);
    EXPECT_GT(plate, 0.0);
    const double points[][2] = {{0.5, 0.5}, {205.5, 0.5}, {0.5, 292.5}, {205.5, 292.5}, {20, 250}, {150, 40}};
    for (const auto& p : points)
        EXPECT_DOUBLE_EQ(lowestTop(p[0], p[1]), plate) << p[0] << ", " << p[1];

    // A sheet without a score is its plate alone.
    sheet->setScore(nullptr);
    Mesh plain;
    Re3dPrint alone;
    ASSERT_TRUE(alone.buildPageMesh(&document, &plain.points, &plain.normals));
    ASSERT_GT(plain.points.count(), 0);
    double top = -HUGE_VAL;
    for (int i = 0; i < plain.points.count(); ++i)
        top = std::max(top, plain.points[i].z);
    EXPECT_DOUBLE_EQ(top, plate);
}
