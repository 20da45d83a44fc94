#pragma once

#include "model/EdGuideLine.h"

// A guide line that snaps x, at a page x.
class EdVerticalGuideLine : public EdGuideLine
{
    BC_DECLARE_CLASS(EdVerticalGuideLine)
public:
    EdVerticalGuideLine(double position, double tolerance) : EdGuideLine(position, tolerance) {}
    ~EdVerticalGuideLine() override = default;

    // Moves x; resetAxis 2 hides the line and leaves the point alone.
    GePoint2d snap(GePoint2d point, bool* snappedX, bool* snappedY, double zoom, int resetAxis) override;
};
