#include "render/ReGDI.h"

#include "editing/QuorvaneDocument.h"
#include "foundation/BcClassManager.h"
#include "model/MnSheetMusic.h"
#include "render/ReShapes.h"

#include <algorithm>
#include <cmath>

BC_IMPLEMENT_CREATABLE_CLASS(ReGDI)

// Logical units are 0.01 mm: the drawn width becomes 210 mm.
static constexpr double logicalWidth = 21000.0;

ReGDI::ReGDI()
{
    outputKind = 1;
}

ReGDI::~ReGDI() = default;

// Truncates towards zero, as the device's integer coordinates do, keeping
// far-off points inside the range of int.
static int truncated(double value)
{
    if (!(value == value))
        return 0;
    return int(std::clamp(value, -1e9, 1e9));
}

bool ReGDI::begin(QuorvaneDocument* document, double centreX, double centreY, double, double)
{
    if (!document || !pageDevice || !(viewWidth > 0))
        return false;
    const BcArray<MnElement*>& works = document->works();
    for (int i = 0; i < works.count(); ++i) {
        MnElement* work = works[i];
        if (!work || !work->isKindOf(MnSheetMusic::staticClass()))
            continue;
        viewHeight = static_cast<MnSheetMusic*>(work)->pageHeight();
        viewTopLeft = GePoint2d(centreX - viewWidth / 2, centreY + viewHeight / 2);
        viewBottomRight = GePoint2d(centreX + viewWidth / 2, centreY - viewHeight / 2);
        break;
    }
    scale = logicalWidth / viewWidth;
    pageDevice->setWindowOrigin(truncated(scale * viewTopLeft.x), truncated(scale * viewTopLeft.y));
    return true;
}

void ReGDI::end(double, double) {}

void ReGDI::setColor(int, int, int, int) {}

void ReGDI::strokeCurve(const GeSpline2d*, double, double) {}

void ReGDI::strokeArc(double, double, double, double, double, double, double) {}

void ReGDI::drawDashedRect(double, double, double, double) {}

void ReGDI::setClip(bool, double) {}

RePageDevice::Point ReGDI::toLogical(double x, double y) const
{
    // Scaled parts and scores print as they are drawn everywhere else.
    GePoint2d p = topTransform().transform(GePoint2d(x, y));
    return RePageDevice::Point{truncated(scale * p.x), truncated(scale * p.y)};
}

void ReGDI::fillQuad(double x1, double y1, double x2, double y2, double x3, double y3, double x4, double y4)
{
    if (!pageDevice)
        return;
    const RePageDevice::Point corners[4] = {toLogical(x1, y1), toLogical(x2, y2), toLogical(x3, y3),
                                            toLogical(x4, y4)};
    static const int triangles[6] = {0, 3, 1, 3, 2, 1};
    pageDevice->fillTriangles(corners, 4, triangles, 2);
}

void ReGDI::fillMesh(const double* vertices, int vertexCount, const int* triangles, int triangleCount, double x,
                     double y, double sx, double sy)
{
    if (!pageDevice || !vertices || !triangles || vertexCount <= 0 || triangleCount <= 0)
        return;
    points.resize(size_t(vertexCount));
    for (int v = 0; v < vertexCount; ++v)
        points[size_t(v)] = toLogical(x + sx * vertices[2 * v], y + sy * vertices[2 * v + 1]);
    pageDevice->fillTriangles(points.data(), vertexCount, triangles, triangleCount);
}

void ReGDI::fillEllipse(double centreX, double centreY, double radiusX, double radiusY, double angle,
                        int segmentCount)
{
    if (!pageDevice || segmentCount < 3)
        return;
    const int n = segmentCount;
    points.resize(size_t(n));
    for (int i = 0; i < n; ++i) {
        GePoint2d p = ReShapes::ellipsePoint(i, n, radiusX, radiusY, angle);
        points[size_t(i)] = toLogical(centreX + p.x, centreY + p.y);
    }
    fan.resize(size_t(3 * (n - 2)));
    for (int k = 0; k < n - 2; ++k) {
        fan[size_t(3 * k)] = k + 2;
        fan[size_t(3 * k + 1)] = k + 1;
        fan[size_t(3 * k + 2)] = 0;
    }
    pageDevice->fillTriangles(points.data(), n, fan.data(), n - 2);
}

void ReGDI::drawText(const BcString& text, double x, double y, double size, int, bool underline)
{
    if (!pageDevice)
        return;
    // The text hangs from y; the font's family and style are not used.
    GePoint2d at = topTransform().transform(GePoint2d(x, y));
    double mappedSize = ReShapes::mappedLength(topTransform(), size);
    pageDevice->drawText(text, truncated(scale * at.x), truncated(scale * at.y), truncated(scale * (at.x + 200)),
                         truncated(scale * (at.y - 2 * mappedSize)), truncated(mappedSize * scale), underline);
}
