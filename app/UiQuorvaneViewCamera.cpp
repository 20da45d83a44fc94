#include "app/UiQuorvaneViewCamera.h"

#include "model/MnCache.h"
#include "render/ReOpenGL.h"

#include <cmath>

namespace {

int stepFrame(int frame, bool forward)
{
    return forward ? (frame + 1) % 3 : (frame + 2) % 3;
}

}  // namespace

UiViewCamera::UiViewCamera(UiViewEnvironment& environment) : environment(environment) {}

void UiViewCamera::setCamera(double x, double y, double width)
{
    if (std::isfinite(x))
        scrollX = x;
    if (std::isfinite(y))
        scrollY = y;
    zoom = std::isfinite(width) && width > minimumZoom ? width : minimumZoom;
}

GePoint2d UiViewCamera::clientToDrawing(int x, int y) const
{
    UiViewFrame mapping = frame;
    if (!framed) {
        mapping.centreX = scrollX;
        mapping.centreY = scrollY;
        mapping.zoom = zoom;
        environment.clientSize(mapping.width, mapping.height);
    }
    if (mapping.width <= 0 || mapping.height <= 0)
        return GePoint2d(mapping.centreX, mapping.centreY);
    double w = mapping.width;
    double h = mapping.height;
    double shownHeight = mapping.zoom * h / w;
    return GePoint2d(mapping.centreX - mapping.zoom / 2 + x * mapping.zoom / w,
                     mapping.centreY - shownHeight / 2 + (h - y) * shownHeight / h);
}

bool UiViewCamera::drawFrame(int pointerX, int pointerY)
{
    UiViewFrame next;
    environment.clientSize(next.width, next.height);
    if (next.width <= 0 || next.height <= 0)
        return false;
    next.centreX = scrollX;
    next.centreY = scrollY;
    next.zoom = zoom;
    next.pointerX = pointerX;
    next.pointerY = pointerY;
    environment.present(next);
    frame = next;
    framed = true;
    return true;
}

bool UiViewCamera::redraw(bool markActivity)
{
    environment.updateSnap();
    int x = -1;
    int y = -1;
    environment.pointer(x, y);
    bool drawn = drawFrame(x, y);
    if (markActivity)
        lastActivity = environment.tickCount();
    return drawn;
}

void UiViewCamera::wheel(int x, int y, int delta)
{
    int width = 0;
    int height = 0;
    environment.clientSize(width, height);
    bool forward = delta > 0;
    double sign = forward ? 1.0 : -1.0;
    if (width > 0 && height > 0 && ReOpenGL::isOverVerticalScrollWheel(width, height, x, y)) {
        verticalWheelFrame = stepFrame(verticalWheelFrame, forward);
        scrollY += sign * (double(height) / width) * zoom / 11;
    } else if (width > 0 && height > 0 && ReOpenGL::isOverHorizontalScrollWheel(width, height, x, y)) {
        horizontalWheelFrame = stepFrame(horizontalWheelFrame, forward);
        scrollX += sign * zoom / 11;
    } else {
        GePoint2d p = clientToDrawing(x, y);
        double dx = p.x - scrollX;
        double dy = p.y - scrollY;
        if (!forward) {
            zoom *= 1.25;
            scrollX += dx - 1.25 * dx;
            scrollY += dy - 1.25 * dy;
        } else if (zoom > 10) {
            zoom /= 1.25;
            scrollX += dx - dx / 1.25;
            scrollY += dy - dy / 1.25;
        }
        if (!(zoom > minimumZoom))
            zoom = minimumZoom;
    }
    redraw(true);
}

void UiViewCamera::startPan(int x, int y)
{
    panLastX = x;
    panLastY = y;
}

void UiViewCamera::panStep(int x, int y)
{
    GePoint2d a = clientToDrawing(x, y);
    GePoint2d b = clientToDrawing(panLastX, panLastY);
    scrollX -= a.x - b.x;
    scrollY -= a.y - b.y;
    redraw(true);
    environment.toolPanned(x - panLastX, y - panLastY);
    panLastX = x;
    panLastY = y;
}

bool UiViewCamera::flyTo(const GePoint2d& corner1, const GePoint2d& corner2, double margin, bool markActivity)
{
    double boxWidth = (corner2.x - corner1.x) * margin;
    double boxHeight = (corner1.y - corner2.y) * margin;
    if (!(margin > 0) || !(boxWidth > 0) || !(boxHeight > 0) || !std::isfinite(boxWidth) ||
        !std::isfinite(boxHeight) || !std::isfinite(corner1.x + corner2.x) || !std::isfinite(corner1.y + corner2.y))
        return false;
    int width = 0;
    int height = 0;
    environment.clientSize(width, height);
    double aspect = height < 1 ? 1.0 : double(width) / height;
    if (!(aspect > 0))
        aspect = 1.0;
    double targetX = (corner1.x + corner2.x) / 2;
    double targetY = (corner1.y + corner2.y) / 2;
    double targetZoom = boxWidth / boxHeight >= aspect ? boxWidth : boxHeight * aspect;
    if (!(targetZoom > minimumZoom))
        targetZoom = minimumZoom;
    double startX = scrollX;
    double startY = scrollY;
    double startZoom = zoom;

    MnCache cache;
    double progress = 0.0;
    double speed = 2.0;
    unsigned long long previous = environment.tickCount();
    for (;;) {
        unsigned long long now = environment.tickCount();
        double dt = double(now - previous) / 1000.0;
        previous = now;
        speed += 8 * dt;
        progress += dt * speed;
        if (progress >= 1)
            break;
        scrollX = startX + (targetX - startX) * progress;
        scrollY = startY + (targetY - startY) * progress;
        zoom = startZoom + (targetZoom - startZoom) * progress;
        redraw(markActivity);
        if (environment.playerSounding())
            environment.refreshPanels();
    }
    scrollX = targetX;
    scrollY = targetY;
    zoom = targetZoom;
    return true;
}
