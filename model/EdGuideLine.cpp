#include "model/EdGuideLine.h"

#include <cmath>

BC_IMPLEMENT_CLASS(EdGuideLine)

// How far the lines reach on the screen: zoomed in, a desk unit covers more
// pixels and the reach shrinks, but only by a quarter of the zoom's growth,
// so that the lines stay easy to catch; zoomed out it grows likewise.
static double zoomFactor(double zoom)
{
    static const double neutralZoom = 250.0;
    if (zoom <= 1.0)
        return 1.0;
    if (zoom > neutralZoom)
        return 1.0 / ((zoom / neutralZoom - 1.0) * 0.25 + 1.0);
    return 1.0 + (neutralZoom / zoom - 1.0) * 0.25;
}

void EdGuideLine::snapCoordinate(double& value, bool* axisSnapped, double zoom)
{
    // A line shows from five times its snapping distance on.
    static const double showingReach = 5.0;
    // A later line at the very place the point went shows as snapped too.
    static const double samePlace = 1e-10;
    bool unshared = false;
    bool& taken = axisSnapped ? *axisSnapped : unshared;
    const double distance = std::fabs(value - position) * zoomFactor(zoom);
    if (!(distance <= showingReach * tolerance))
        return;
    visible = true;
    if (taken) {
        if (distance <= samePlace)
            snapped = true;
        return;
    }
    if (distance <= tolerance) {
        snapped = true;
        value = position;
        taken = true;
    }
}
