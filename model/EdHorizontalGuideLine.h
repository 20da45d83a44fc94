#pragma once

#include "model/EdGuideLine.h"

// A guide line that snaps y, at a page y.
class EdHorizontalGuideLine : public EdGuideLine
{
    BC_DECLARE_CLASS(EdHorizontalGuideLine)
public:
    EdHorizontalGuideLine(double position, double tolerance) : EdGuideLine(position, tolerance) {}
    ~EdHorizontalGuideLine() override = default;

    // Moves y; resetAxis 1 hides the line and leaves the point alone.
    GePoint2d snap(GePoint2d point, bool* snappedX, bool* snappedY, double zoom, int resetAxis) override;
};
