#pragma once

#include "foundation/BcObject.h"
#include "foundation/GePoint2d.h"

// An axis-aligned box given by two opposite corners in any order. Borders
// belong to the box in every test.
class GeBox2d : public BcObject
{
    BC_DECLARE_CREATABLE_CLASS(GeBox2d)
public:
    constexpr GeBox2d() = default;
    constexpr GeBox2d(const GePoint2d& a, const GePoint2d& b) : a(a), b(b) {}
    ~GeBox2d() override = default;

    bool contains(const GePoint2d& p) const;
    // Touching boxes intersect.
    bool intersects(const GeBox2d& other) const;
    // Grows the box to take in p. The corner that holds the minimum of an
    // axis keeps holding it, so callers that read a and b by role still can.
    void extend(const GePoint2d& p);

    GePoint2d a;
    GePoint2d b;
};
