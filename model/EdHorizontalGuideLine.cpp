#include "model/EdHorizontalGuideLine.h"

BC_IMPLEMENT_CLASS(EdHorizontalGuideLine)

GePoint2d EdHorizontalGuideLine::snap(GePoint2d point, bool*, bool* snappedY, double zoom, int resetAxis)
{
    if (resetAxis == 1) {
        visible = false;
        snapped = false;
        return point;
    }
    snapCoordinate(point.y, snappedY, zoom);
    return point;
}
