#include "foundation/GeBox2d.h"

#include <algorithm>
#include <cmath>

#include "foundation/BcClassManager.h"

BC_IMPLEMENT_CREATABLE_CLASS(GeBox2d)

bool GeBox2d::contains(const GePoint2d& p) const
{
    return p.isInRect(a, b.x - a.x, b.y - a.y);
}

static bool spansOverlap(double first1, double first2, double second1, double second2)
{
    // min and max would quietly drop a NaN, so it is refused up front.
    if (std::isnan(first1) || std::isnan(first2) || std::isnan(second1) || std::isnan(second2))
        return false;
    const double firstMin = std::min(first1, first2);
    const double firstMax = std::max(first1, first2);
    const double secondMin = std::min(second1, second2);
    const double secondMax = std::max(second1, second2);
    return firstMin <= secondMax && secondMin <= firstMax;
}

bool GeBox2d::intersects(const GeBox2d& other) const
{
    return spansOverlap(a.x, b.x, other.a.x, other.b.x)
        && spansOverlap(a.y, b.y, other.a.y, other.b.y);
}

static void extendSpan(double& cornerA, double& cornerB, double value)
{
    // Corner b holds the minimum when both are equal.
    double& low = cornerA < cornerB ? cornerA : cornerB;
    double& high = cornerA < cornerB ? cornerB : cornerA;
    if (value < low)
        low = value;
    else if (value > high)
        high = value;
}

void GeBox2d::extend(const GePoint2d& p)
{
    extendSpan(a.x, b.x, p.x);
    extendSpan(a.y, b.y, p.y);
}
