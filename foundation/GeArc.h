#pragma once

#include "foundation/BcObject.h"
#include "foundation/GePoint2d.h"

// A circular arc from a first to a second end point. The renderers draw it
// by stepping the angle from startAngle to endAngle, so the sign of
// endAngle - startAngle is the direction of the sweep.
class GeArc : public BcObject
{
    BC_DECLARE_CREATABLE_CLASS(GeArc)
public:
    GeArc() = default;
    // The arc from p1 to p2 whose height over the chord's midpoint is
    // |bulge| times half the chord. A positive bulge raises the arc above a
    // chord that is not vertical (whichever way the chord runs), a negative
    // one lowers it below; a vertical chord bulges to the left of its own
    // direction. |bulge| = 1 is a half circle, above 1 more than half.
    GeArc(const GePoint2d& p1, const GePoint2d& p2, double bulge);
    ~GeArc() override = default;

    // The point at the given angle on the arc's circle.
    GePoint2d pointAtAngle(double angle) const;

    GePoint2d centre;
    double radius = 0.0;
    // The first end point's angle about the centre, moved by a whole turn
    // where the sweep needs it.
    double startAngle = 0.0;
    // The second end point's angle, in [0, 2 pi).
    double endAngle = 0.0;
};
