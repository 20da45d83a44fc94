#pragma once

#include "foundation/BcObject.h"

// A displacement in the plane. Callers do their arithmetic on the fields.
class GeVector2d : public BcObject
{
    BC_DECLARE_CREATABLE_CLASS(GeVector2d)
public:
    constexpr GeVector2d() = default;
    constexpr GeVector2d(double x, double y) : x(x), y(y) {}
    ~GeVector2d() override = default;

    static const GeVector2d zero;
    static const GeVector2d xAxis;
    static const GeVector2d yAxis;

    double x = 0.0;
    double y = 0.0;
};
