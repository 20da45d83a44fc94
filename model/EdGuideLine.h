#pragma once

#include "foundation/BcObject.h"

// A snapping line shown while an element is dragged: a page y for the
// horizontal kind, a page x for the vertical kind. The model appends them to
// the dragging tool's array, which owns them; renderers tell the kinds apart
// by a type test.
class EdGuideLine : public BcObject
{
    BC_DECLARE_CLASS(EdGuideLine)
public:
    ~EdGuideLine() override = default;

    bool visible = false;
    bool snapped = false;
    // Snapping distance in desk units.
    double tolerance = 0.0;
    double position = 0.0;

protected:
    EdGuideLine(double position, double tolerance) : tolerance(tolerance), position(position) {}
};
