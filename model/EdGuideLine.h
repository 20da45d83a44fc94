#pragma once

#include "foundation/BcObject.h"
#include "foundation/GePoint2d.h"

// A snapping line shown while an element is dragged: a page y for the
// horizontal kind, a page x for the vertical kind. The model appends them to
// the dragging tool's array, which owns them; renderers tell the kinds apart
// by a type test.
class EdGuideLine : public BcObject
{
    BC_DECLARE_CLASS(EdGuideLine)
public:
    ~EdGuideLine() override = default;

    // Passes a dragged point by the line: a line near it becomes visible,
    // and the first line of an axis within its tolerance pulls the point
    // onto itself and sets that axis's flag; later lines of the axis stay
    // visible, and show as snapped only when they lie where the point went.
    // The caller clears every line's flags and both axis flags before each
    // pass over the lines. zoom is the view's zoom (250 shows desk units as
    // they are); resetAxis 1 hides the horizontal lines, 2 the vertical ones.
    virtual GePoint2d snap(GePoint2d point, bool* snappedX, bool* snappedY, double zoom, int resetAxis) = 0;

    bool visible = false;
    bool snapped = false;
    // Snapping distance in desk units.
    double tolerance = 0.0;
    double position = 0.0;

protected:
    EdGuideLine(double position, double tolerance) : tolerance(tolerance), position(position) {}

    // The snap along the line's axis: value is the point's coordinate across
    // the line, axisSnapped the flag of that axis (may be null).
    void snapCoordinate(double& value, bool* axisSnapped, double zoom);
};
