#pragma once

#include "foundation/BcObject.h"
#include "foundation/GePoint2d.h"

// A 3 by 3 homogeneous transform of the plane. It maps the column vector
// (x, y, 1), so the translation sits in the third column; A * B applied to a
// point is A applied to (B applied to the point).
class GeMatrix2d : public BcObject
{
    BC_DECLARE_CREATABLE_CLASS(GeMatrix2d)
public:
    constexpr GeMatrix2d() = default;
    constexpr GeMatrix2d(double m00, double m01, double m02,
                         double m10, double m11, double m12,
                         double m20, double m21, double m22)
        : m00(m00), m01(m01), m02(m02),
          m10(m10), m11(m11), m12(m12),
          m20(m20), m21(m21), m22(m22)
    {
    }
    ~GeMatrix2d() override = default;

    static GeMatrix2d translation(double dx, double dy);
    // Uniform scale by factor that keeps (centreX, centreY) in place.
    static GeMatrix2d scaling(double centreX, double centreY, double factor);

    GeMatrix2d operator*(const GeMatrix2d& m) const;

    // A singular matrix (|determinant| < 1e-10) answers its adjugate scaled
    // by the determinant, a matrix of (nearly) zero entries, instead of
    // dividing by (nearly) zero.
    GeMatrix2d inverse() const;

    // The image of p with the homogeneous division. A point that the matrix
    // sends to infinity (w exactly 0) is answered undivided, so callers never
    // see an infinity or a NaN.
    GePoint2d transform(const GePoint2d& p) const;

    // Whether the last row is (0, 0, 1) within 1e-10.
    bool isAffine() const;

    static const GeMatrix2d identity;

    double m00 = 1.0, m01 = 0.0, m02 = 0.0;
    double m10 = 0.0, m11 = 1.0, m12 = 0.0;
    double m20 = 0.0, m21 = 0.0, m22 = 1.0;
};
