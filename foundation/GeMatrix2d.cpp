#include "foundation/GeMatrix2d.h"

#include <cmath>

#include "foundation/BcClassManager.h"

static constexpr double kAffineTolerance = 1e-10;
static constexpr double kSingularDeterminant = 1e-10;

BC_IMPLEMENT_CREATABLE_CLASS(GeMatrix2d)

constinit const GeMatrix2d GeMatrix2d::identity;

GeMatrix2d GeMatrix2d::translation(double dx, double dy)
{
    return GeMatrix2d(1.0, 0.0, dx,
                      0.0, 1.0, dy,
                      0.0, 0.0, 1.0);
}

GeMatrix2d GeMatrix2d::scaling(double centreX, double centreY, double factor)
{
    return GeMatrix2d(factor, 0.0, centreX - factor * centreX,
                      0.0, factor, centreY - factor * centreY,
                      0.0, 0.0, 1.0);
}

bool GeMatrix2d::isAffine() const
{
    return std::fabs(m20) <= kAffineTolerance && std::fabs(m21) <= kAffineTolerance
        && std::fabs(m22 - 1.0) <= kAffineTolerance;
}

GeMatrix2d GeMatrix2d::operator*(const GeMatrix2d& m) const
{
    const bool leftAffine = isAffine();
    const bool rightAffine = m.isAffine();

    // Every transform the renderers push is affine, so this is the path that
    // runs for each push: six entries, no work for the fixed last row.
    if (leftAffine && rightAffine) {
        return GeMatrix2d(m00 * m.m00 + m01 * m.m10, m00 * m.m01 + m01 * m.m11, m00 * m.m02 + m01 * m.m12 + m02,
                          m10 * m.m00 + m11 * m.m10, m10 * m.m01 + m11 * m.m11, m10 * m.m02 + m11 * m.m12 + m12,
                          0.0, 0.0, 1.0);
    }

    // An operand that counts as affine takes part with its last row exactly
    // (0, 0, 1), so a rounding residue there never leaks into the product.
    GeMatrix2d a = *this;
    GeMatrix2d b = m;
    if (leftAffine) {
        a.m20 = 0.0;
        a.m21 = 0.0;
        a.m22 = 1.0;
    }
    if (rightAffine) {
        b.m20 = 0.0;
        b.m21 = 0.0;
        b.m22 = 1.0;
    }
    return GeMatrix2d(a.m00 * b.m00 + a.m01 * b.m10 + a.m02 * b.m20,
                      a.m00 * b.m01 + a.m01 * b.m11 + a.m02 * b.m21,
                      a.m00 * b.m02 + a.m01 * b.m12 + a.m02 * b.m22,
                      a.m10 * b.m00 + a.m11 * b.m10 + a.m12 * b.m20,
                      a.m10 * b.m01 + a.m11 * b.m11 + a.m12 * b.m21,
                      a.m10 * b.m02 + a.m11 * b.m12 + a.m12 * b.m22,
                      a.m20 * b.m00 + a.m21 * b.m10 + a.m22 * b.m20,
                      a.m20 * b.m01 + a.m21 * b.m11 + a.m22 * b.m21,
                      a.m20 * b.m02 + a.m21 * b.m12 + a.m22 * b.m22);
}

GeMatrix2d GeMatrix2d::inverse() const
{
    const double det = m10 * m21 * m02 + m00 * m11 * m22 + m01 * m20 * m12
                     - m21 * m00 * m12 - m20 * m11 * m02 - m01 * m10 * m22;
    const double factor = std::fabs(det) >= kSingularDeterminant ? 1.0 / det : det;
    return GeMatrix2d((m11 * m22 - m12 * m21) * factor,
                      (m02 * m21 - m01 * m22) * factor,
                      (m01 * m12 - m02 * m11) * factor,
                      (m12 * m20 - m10 * m22) * factor,
                      (m00 * m22 - m02 * m20) * factor,
                      (m02 * m10 - m00 * m12) * factor,
                      (m10 * m21 - m11 * m20) * factor,
                      (m01 * m20 - m00 * m21) * factor,
                      (m00 * m11 - m01 * m10) * factor);
}

GePoint2d GeMatrix2d::transform(const GePoint2d& p) const
{
    const double x = m00 * p.x + m01 * p.y + m02;
    const double y = m10 * p.x + m11 * p.y + m12;
    const double w = m20 * p.x + m21 * p.y + m22;
    if (w == 0.0 || w == 1.0)
        return GePoint2d(x, y);
    return GePoint2d(x / w, y / w);
}
