#pragma once

#include "foundation/GeBox2d.h"
#include "render/RePicker.h"

// A picking renderer that measures: it keeps the bounding box of every
// region marked while something is composed through it. Marked frames do
// not count (they surround a sheet, not what is drawn).
class ReTextExtents : public RePicker
{
public:
    ReTextExtents();
    ~ReTextExtents() override;

    void markFrame(const GeBox2d& outer, const GeBox2d& inner, MnElement* element) override;
    void markRect(const GePoint2d& corner, double width, double height, MnElement* element) override;
    void markSpan(const GePoint2d& from, const GePoint2d& to, MnElement* element) override;

    // Minimum corner first, maximum second; the zero box when nothing was marked.
    GeBox2d box;
    bool firstMark = true;
};
