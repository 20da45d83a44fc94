#include "render/ReTextExtents.h"

#include <algorithm>

ReTextExtents::ReTextExtents() = default;

ReTextExtents::~ReTextExtents() = default;

void ReTextExtents::markFrame(const GeBox2d&, const GeBox2d&, MnElement*) {}

void ReTextExtents::markRect(const GePoint2d& corner, double width, double height, MnElement* element)
{
    markSpan(corner, GePoint2d(corner.x + width, corner.y + height), element);
}

void ReTextExtents::markSpan(const GePoint2d& from, const GePoint2d& to, MnElement*)
{
    GePoint2d low(std::min(from.x, to.x), std::min(from.y, to.y));
    GePoint2d high(std::max(from.x, to.x), std::max(from.y, to.y));
    if (firstMark) {
        box = GeBox2d(low, high);
        firstMark = false;
        return;
    }
    box.a = GePoint2d(std::min(box.a.x, low.x), std::min(box.a.y, low.y));
    box.b = GePoint2d(std::max(box.b.x, high.x), std::max(box.b.y, high.y));
}
