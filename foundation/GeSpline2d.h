#pragma once

#include "foundation/BcArray.h"
#include "foundation/BcObject.h"
#include "foundation/GePoint2d.h"

// A cubic Bezier curve: the control points and, per axis, the power-basis
// coefficients of a t^3 + b t^2 + c t + p0 for t in [0, 1].
class GeSpline2d : public BcObject
{
    BC_DECLARE_CREATABLE_CLASS(GeSpline2d)
public:
    GeSpline2d() = default;
    GeSpline2d(const GePoint2d& p0, const GePoint2d& p1, const GePoint2d& p2, const GePoint2d& p3);
    ~GeSpline2d() override = default;

    // The point at parameter t of the Bezier curve over any number of control
    // points, by de Casteljau's construction. An empty array answers the
    // origin.
    static GePoint2d pointAt(const BcArray<GePoint2d>& controlPoints, double t);

    BcArray<GePoint2d> points;
    double ax = 0.0;
    double ay = 0.0;
    double bx = 0.0;
    double by = 0.0;
    double cx = 0.0;
    double cy = 0.0;
};
