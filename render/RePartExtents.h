#pragma once

#include "render/RePicker.h"

// A picking renderer that measures how far left the part and group labels
// and brackets reach: the smallest x of every span marked to the right.
class RePartExtents : public RePicker
{
public:
    RePartExtents();
    ~RePartExtents() override;

    void markRect(const GePoint2d& corner, double width, double height, MnElement* element) override;
    // Spans that do not run to the right (brackets are marked leftward from
    // their staff) do not count.
    void markSpan(const GePoint2d& from, const GePoint2d& to, MnElement* element) override;

    double leftmostX = 0.0;
};
