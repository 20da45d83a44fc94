#include "foundation/GeSpline2d.h"

#include "foundation/BcClassManager.h"

BC_IMPLEMENT_CREATABLE_CLASS(GeSpline2d)

GeSpline2d::GeSpline2d(const GePoint2d& p0, const GePoint2d& p1, const GePoint2d& p2, const GePoint2d& p3)
{
    points.setCapacity(4);
    points.add(p0);
    points.add(p1);
    points.add(p2);
    points.add(p3);

    cx = 3.0 * (p1.x - p0.x);
    bx = 3.0 * (p2.x - p1.x) - cx;
    ax = p3.x - p0.x - cx - bx;
    cy = 3.0 * (p1.y - p0.y);
    by = 3.0 * (p2.y - p1.y) - cy;
    ay = p3.y - p0.y - cy - by;
}

GePoint2d GeSpline2d::pointAt(const BcArray<GePoint2d>& controlPoints, double t)
{
    const int n = controlPoints.count();
    if (n == 0)
        return GePoint2d();

    // Each pass replaces the first k points by the interpolations between
    // neighbours, so one copy of the points serves every level.
    BcArray<GePoint2d> level(controlPoints);
    for (int k = n - 1; k >= 1; --k) {
        for (int i = 0; i < k; ++i) {
            level[i].x = t * level[i + 1].x + (1.0 - t) * level[i].x;
            level[i].y = t * level[i + 1].y + (1.0 - t) * level[i].y;
        }
    }
    return level[0];
}
