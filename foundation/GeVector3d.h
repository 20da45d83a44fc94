#pragma once

#include "foundation/BcObject.h"

// A displacement or a normal in space. Callers do their arithmetic on the fields.
class GeVector3d : public BcObject
{
    BC_DECLARE_CREATABLE_CLASS(GeVector3d)
public:
    constexpr GeVector3d() = default;
    constexpr GeVector3d(double x, double y, double z) : x(x), y(y), z(z) {}
    ~GeVector3d() override = default;

    static const GeVector3d zero;
    static const GeVector3d xAxis;
    static const GeVector3d yAxis;
    static const GeVector3d zAxis;

    double x = 0.0;
    double y = 0.0;
    double z = 0.0;
};
