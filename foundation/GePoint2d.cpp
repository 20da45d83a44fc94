#include "foundation/GePoint2d.h"

#include <cmath>

#include "foundation/BcClassManager.h"

BC_IMPLEMENT_CREATABLE_CLASS(GePoint2d)

constinit const GePoint2d GePoint2d::origin;

GePoint2d& GePoint2d::rotate(double angle)
{
    // A zero turn must leave the point bit for bit as it was.
    if (angle == 0.0)
        return *this;
    const double c = std::cos(angle);
    const double s = std::sin(angle);
    const double rotatedX = x * c - y * s;
    const double rotatedY = x * s + y * c;
    x = rotatedX;
    y = rotatedY;
    return *this;
}

static bool isInSpan(double value, double start, double extent)
{
    if (extent > 0.0)
        return start <= value && value <= start + extent;
    return start + extent <= value && value <= start;
}

bool GePoint2d::isInRect(const GePoint2d& corner, double width, double height) const
{
    return isInSpan(x, corner.x, width) && isInSpan(y, corner.y, height);
}
