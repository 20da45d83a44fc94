#pragma once

#include "model/EdGuideLine.h"

// A guide line that snaps x, at a page x.
class EdVerticalGuideLine : public EdGuideLine
{
    BC_DECLARE_CLASS(EdVerticalGuideLine)
public:
    EdVerticalGuideLine(double position, double tolerance) : EdGuideLine(position, tolerance) {}
    ~EdVerticalGuideLine() override = default;
};
