#include "render/Re3dPrint.h"

#include "foundation/BcClassManager.h"
#include "foundation/GeRegion.h"
#include "model/MnCache.h"
#include "model/MnSheetMusic.h"
#include "render/ReExportSheets.h"
#include "render/ReShapes.h"

#include <cmath>
#include <unordered_set>

BC_IMPLEMENT_CREATABLE_CLASS(Re3dPrint)

Re3dPrint::Re3dPrint()
{
    outputKind = 2;
}

Re3dPrint::~Re3dPrint()
{
    // Entries of one mesh share its region: delete each region once.
    std::unordered_set<GeRegion*> distinct(regions.data(), regions.data() + regions.count());
    for (GeRegion* region : distinct)
        delete region;
}

bool Re3dPrint::begin(QuorvaneDocument*, double, double, double, double)
{
    return true;
}

void Re3dPrint::end(double, double) {}

void Re3dPrint::setColor(int, int, int, int) {}

void Re3dPrint::strokeCurve(const GeSpline2d*, double, double) {}

void Re3dPrint::strokeArc(double, double, double, double, double, double, double) {}

void Re3dPrint::drawDashedRect(double, double, double, double) {}

void Re3dPrint::drawText(const BcString&, double, double, double, int, bool) {}

void Re3dPrint::setClip(bool, double) {}

void Re3dPrint::collect(GeRegion* region, double x, double y, double sx, double sy)
{
    regions.add(region);
    regionTransforms.add(topTransform());
    regionOffsets.add(GePoint3d(x, y, extrusionHeight));
    regionScales.add(GeVector2d(sx, sy));
}

void Re3dPrint::fillQuad(double x1, double y1, double x2, double y2, double x3, double y3, double x4, double y4)
{
    double* corners = new double[8]{x1, y1, x2, y2, x3, y3, x4, y4};
    int* triangles = new int[6]{0, 1, 2, 0, 2, 3};
    collect(new GeRegion(corners, 4, triangles, 2, true), 0, 0, 1, 1);
}

void Re3dPrint::fillMesh(const double* vertices, int vertexCount, const int* triangles, int triangleCount, double x,
                         double y, double sx, double sy)
{
    if (!vertices || !triangles || vertexCount <= 0 || triangleCount <= 0)
        return;
    // The region of the last entry that drew the same mesh.
    GeRegion* region = nullptr;
    for (int i = regions.count() - 1; i >= 0 && !region; --i) {
        if (regions[i]->triangles == triangles)
            region = regions[i];
    }
    if (!region)
        region = new GeRegion(vertices, vertexCount, triangles, triangleCount, false);
    collect(region, x, y, sx, sy);
}

void Re3dPrint::fillEllipse(double centreX, double centreY, double radiusX, double radiusY, double angle,
                            int segmentCount)
{
    if (segmentCount < 3)
        return;
    const int n = segmentCount;
    double* points = new double[2 * size_t(n)];
    for (int i = 0; i < n; ++i) {
        GePoint2d p = ReShapes::ellipsePoint(i, n, radiusX, radiusY, angle);
        points[2 * i] = p.x;
        points[2 * i + 1] = p.y;
    }
    int* triangles = new int[3 * size_t(n - 2)];
    for (int i = 2; i < n; ++i) {
        triangles[3 * (i - 2)] = 0;
        triangles[3 * (i - 2) + 1] = i - 1;
        triangles[3 * (i - 2) + 2] = i;
    }
    collect(new GeRegion(points, n, triangles, n - 2, true), centreX, centreY, 1, 1);
}

// +1 when the region's triangles turn counter-clockwise (most glyphs),
// -1 when clockwise (ellipses, some glyphs), by their total signed area.
static double windingOf(const GeRegion& region)
{
    double area = 0;
    for (int t = 0; t < region.triangleCount; ++t) {
        const double* a = region.vertices + 2 * region.triangles[3 * t];
        const double* b = region.vertices + 2 * region.triangles[3 * t + 1];
        const double* c = region.vertices + 2 * region.triangles[3 * t + 2];
        area += (b[0] - a[0]) * (c[1] - a[1]) - (c[0] - a[0]) * (b[1] - a[1]);
    }
    return area >= 0 ? 1.0 : -1.0;
}

void Re3dPrint::buildMesh(double originX, double originY, BcArray<GePoint3d>* points,
                          BcArray<GeVector3d>* normals) const
{
    long long triangleTotal = 0;
    for (int e = 0; e < regions.count(); ++e) {
        const GeRegion& region = *regions[e];
        triangleTotal += 2LL * region.triangleCount;
        for (int c = 0; c < region.contours.count(); ++c)
            triangleTotal += 2LL * region.contours[c]->count();
    }
    // Sized exactly, so filling never reallocates.
    points->removeAll();
    normals->removeAll();
    points->setCapacity(int(3 * triangleTotal));
    normals->setCapacity(int(3 * triangleTotal));

    const GeVector3d up(0, 0, 1);
    const GeVector3d down(0, 0, -1);
    for (int e = 0; e < regions.count(); ++e) {
        const GeRegion& region = *regions[e];
        const GeMatrix2d& m = regionTransforms[e];
        const GePoint3d& offset = regionOffsets[e];
        const GeVector2d& scale = regionScales[e];
        const double height = offset.z;
        auto place = [&](int v) {
            GePoint2d p = m.transform(GePoint2d(offset.x + scale.x * region.vertices[2 * v],
                                                offset.y + scale.y * region.vertices[2 * v + 1]));
            return GePoint2d(p.x - originX, p.y - originY);
        };

        for (int t = 0; t < region.triangleCount; ++t) {
            const int* corners = region.triangles + 3 * t;
            // The top at the height, the bottom at 0, in the same order.
            const struct {
                double z;
                const GeVector3d& normal;
            } faces[2] = {{height, up}, {0.0, down}};
            for (const auto& face : faces) {
                for (int k = 0; k < 3; ++k) {
                    GePoint2d p = place(corners[k]);
                    points->add(GePoint3d(p.x, p.y, face.z));
                    normals->add(face.normal);
                }
            }
        }

        // The outlines run with the triangles, the inside on their left
        // when the region turns counter-clockwise as placed; a mirroring
        // scale or transform turns it round.
        double turn = windingOf(region) * (scale.x * scale.y < 0 ? -1 : 1)
                    * (m.m00 * m.m11 - m.m01 * m.m10 < 0 ? -1 : 1);
        for (int c = 0; c < region.contours.count(); ++c) {
            const BcArray<int>& contour = *region.contours[c];
            for (int k = 0; k < contour.count(); ++k) {
                GePoint2d p = place(contour[k]);
                GePoint2d q = place(contour[(k + 1) % contour.count()]);
                double dx = q.x - p.x;
                double dy = q.y - p.y;
                double length = std::hypot(dx, dy);
                GeVector3d outward = length > 0 ? GeVector3d(turn * dy / length, -turn * dx / length, 0)
                                                : GeVector3d(0, 0, 0);
                const GePoint3d wall[6] = {GePoint3d(p.x, p.y, height), GePoint3d(q.x, q.y, height),
                                           GePoint3d(p.x, p.y, 0),      GePoint3d(q.x, q.y, height),
                                           GePoint3d(q.x, q.y, 0),      GePoint3d(p.x, p.y, 0)};
                for (const GePoint3d& corner : wall) {
                    points->add(corner);
                    normals->add(outward);
                }
            }
        }
    }
}

bool Re3dPrint::buildPageMesh(QuorvaneDocument* document, BcArray<GePoint3d>* points, BcArray<GeVector3d>* normals)
{
    ReExportSheets sheets(*this, document);
    if (sheets.count() == 0 || !points || !normals)
        return false;
    MnSheetMusic* sheet = sheets.at(0);
    bool drawn = false;
    {
        MnCache cache;
        ReSpreadOut spreadOut(sheet);
        GePoint2d origin;
        if (ReExportSheets::pageCount(sheet) > 0 && ReExportSheets::pageOrigin(sheet, 0, origin)) {
            const double w = sheet->pageWidth();
            const double h = sheet->pageHeight();
            drawn = render(document, origin.x + w / 2, origin.y - h / 2, w - 4, w - 4, h - 4, 0, 0);
        }
    }
    if (!drawn) {
        points->setCapacity(0);
        normals->setCapacity(0);
        return true;
    }
    buildMesh(viewTopLeft.x, viewBottomRight.y, points, normals);
    return true;
}
