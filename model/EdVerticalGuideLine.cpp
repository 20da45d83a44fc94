#include "model/EdVerticalGuideLine.h"

BC_IMPLEMENT_CLASS(EdVerticalGuideLine)

GePoint2d EdVerticalGuideLine::snap(GePoint2d point, bool* snappedX, bool*, double zoom, int resetAxis)
{
    if (resetAxis == 2) {
        visible = false;
        snapped = false;
        return point;
    }
    snapCoordinate(point.x, snappedX, zoom);
    return point;
}
