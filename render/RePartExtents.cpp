#include "render/RePartExtents.h"

RePartExtents::RePartExtents() = default;

RePartExtents::~RePartExtents() = default;

void RePartExtents::markRect(const GePoint2d& corner, double width, double height, MnElement* element)
{
    markSpan(corner, GePoint2d(corner.x + width, corner.y + height), element);
}

void RePartExtents::markSpan(const GePoint2d& from, const GePoint2d& to, MnElement*)
{
    if (to.x > from.x && from.x < leftmostX)
        leftmostX = from.x;
}
