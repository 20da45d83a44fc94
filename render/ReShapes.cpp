#include "render/ReShapes.h"

#include "foundation/GeMatrix2d.h"
#include "foundation/GeSpline2d.h"

#include <algorithm>
#include <cmath>
#include <numbers>

GePoint2d ReShapes::ellipsePoint(int i, int count, double radiusX, double radiusY, double degrees)
{
    double t = 2.0 * std::numbers::pi * i / count;
    double x = std::sin(t) * radiusX;
    double y = std::cos(t) * radiusY;
    double a = degrees * std::numbers::pi / 180.0;
    double c = std::cos(a);
    double s = std::sin(a);
    return GePoint2d(x * c - y * s, x * s + y * c);
}

int ReShapes::curveSegments(double viewWidth, const GeSpline2d& curve, bool byLength)
{
    int n = viewWidth < 50 ? 32 : viewWidth < 100 ? 24 : 16;
    int count = curve.points.count();
    if (!byLength || count < 2)
        return n;
    double span = std::fabs(curve.points[count - 1].x - curve.points[0].x);
    if (span > 80)
        return n * 4;
    if (span > 40)
        return n * 2;
    return n;
}

static GePoint2d curvePoint(const GeSpline2d& curve, double t)
{
    if (curve.points.count() != 4)
        return GeSpline2d::pointAt(curve.points, t);
    const GePoint2d& p0 = curve.points[0];
    return GePoint2d(((curve.ax * t + curve.bx) * t + curve.cx) * t + p0.x,
                     ((curve.ay * t + curve.by) * t + curve.cy) * t + p0.y);
}

bool ReShapes::curveBand(const GeSpline2d& curve, int segments, double endWidth, double middleWidth,
                         GePoint2d* left, GePoint2d* right)
{
    if (curve.points.count() < 1 || segments < 1)
        return false;
    const int n = segments;
    // The points go into left first; the normals need their neighbours.
    for (int k = 0; k <= n; ++k)
        left[k] = curvePoint(curve, double(k) / n);
    GePoint2d previous = left[0];
    for (int k = 0; k <= n; ++k) {
        GePoint2d p = left[k];
        // Pk+1 - Pk-1, one-sided at the ends.
        GePoint2d before = k == 0 ? p : previous;
        GePoint2d after = k == n ? p : left[k + 1];
        double dx = after.x - before.x;
        double dy = after.y - before.y;
        double length = std::hypot(dx, dy);
        // A direction too short to normalise is taken as it is.
        if (length >= 1e-10) {
            dx /= length;
            dy /= length;
        }
        double t = double(k) / n;
        double width = endWidth;
        if (k != 0 && k != n)
            width = endWidth + (middleWidth - endWidth) * std::min(1.0, std::min(t, 1.0 - t) / 0.35);
        double nx = -dy * width / 2;
        double ny = dx * width / 2;
        previous = p;
        left[k] = GePoint2d(p.x - nx, p.y - ny);
        right[k] = GePoint2d(p.x + nx, p.y + ny);
    }
    return true;
}

static GePoint2d unitFrom(const GePoint2d& from, const GePoint2d& to)
{
    double dx = to.x - from.x;
    double dy = to.y - from.y;
    double length = std::hypot(dx, dy);
    if (length < 1e-10)
        return GePoint2d(dx, dy);
    return GePoint2d(dx / length, dy / length);
}

bool ReShapes::arcBoundaries(double x1, double y1, double x2, double y2, double bulge, double endWidth,
                             double middleWidth, GeArc* outer, GeArc* inner)
{
    double c = std::hypot(x2 - x1, y2 - y1) / 2;
    if (!(c > 0.0) || !std::isfinite(c))
        return false;
    GePoint2d p1(x1, y1);
    GePoint2d p2(x2, y2);
    GeArc centreLine(p1, p2, bulge);
    double s = bulge * c;
    double sigma = bulge >= 0 ? 1.0 : -1.0;
    GePoint2d u = unitFrom(centreLine.centre, p1);
    GePoint2d w = unitFrom(centreLine.centre, p2);
    double e = endWidth / 2;
    *outer = GeArc(GePoint2d(x1 + u.x * e, y1 + u.y * e), GePoint2d(x2 + w.x * e, y2 + w.y * e),
                   (s + sigma * middleWidth / 2) / c);
    *inner = GeArc(GePoint2d(x1 - u.x * e, y1 - u.y * e), GePoint2d(x2 - w.x * e, y2 - w.y * e),
                   (s - sigma * middleWidth / 2) / c);
    return true;
}

GePoint2d ReShapes::arcPoint(const GeArc& arc, double f)
{
    return arc.pointAtAngle(arc.startAngle + f * (arc.endAngle - arc.startAngle));
}

double ReShapes::mappedLength(const GeMatrix2d& transform, double length)
{
    GePoint2d origin = transform.transform(GePoint2d(0, 0));
    GePoint2d end = transform.transform(GePoint2d(length, 0));
    return std::hypot(end.x - origin.x, end.y - origin.y);
}
