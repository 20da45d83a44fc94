#pragma once

#include "foundation/BcObject.h"

// A position in space, z upward. Callers do their arithmetic on the fields.
class GePoint3d : public BcObject
{
    BC_DECLARE_CREATABLE_CLASS(GePoint3d)
public:
    constexpr GePoint3d() = default;
    constexpr GePoint3d(double x, double y, double z) : x(x), y(y), z(z) {}
    ~GePoint3d() override = default;

    static const GePoint3d origin;

    double x = 0.0;
    double y = 0.0;
    double z = 0.0;
};
