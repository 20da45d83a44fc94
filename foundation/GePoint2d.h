#pragma once

#include "foundation/BcObject.h"

// A position in the plane. Callers do their arithmetic on the fields.
class GePoint2d : public BcObject
{
    BC_DECLARE_CREATABLE_CLASS(GePoint2d)
public:
    constexpr GePoint2d() = default;
    constexpr GePoint2d(double x, double y) : x(x), y(y) {}
    ~GePoint2d() override = default;

    // Turns the point about the origin, counter-clockwise for a positive
    // angle (radians) in a y-up frame.
    GePoint2d& rotate(double angle);

    // Borders count as inside; width and height may be negative, which
    // spans the rectangle to the left of or below the corner.
    bool isInRect(const GePoint2d& corner, double width, double height) const;

    static const GePoint2d origin;

    double x = 0.0;
    double y = 0.0;
};
