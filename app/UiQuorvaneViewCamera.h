#pragma once

#include "app/UiViewEnvironment.h"
#include "foundation/GePoint2d.h"

// The camera of a score view: the drawing point at the window centre
// (scrollX, scrollY) and the shown width in drawing units (zoom), with the
// moves the user makes: the wheel, the pan step and animated flights.
// Window points map to drawing points through the camera of the last frame
// drawn, so that what the user clicks is what was shown.
//
// The camera works in logical pixels, as mouse events report them. A client
// area of zero width or height draws nothing.
class UiViewCamera
{
public:
    explicit UiViewCamera(UiViewEnvironment& environment);

    // Sets the camera; a zoom that is not above minimumZoom (or not a
    // number) becomes minimumZoom, so that no later step multiplies zero.
    void setCamera(double x, double y, double width);

    // The drawing point under a client point (y downward) by the last
    // frame's mapping; before the first frame by the current camera.
    GePoint2d clientToDrawing(int x, int y) const;

    // Snaps the tool, draws one frame with the pointer and, with
    // markActivity, records the time in lastActivity. False when nothing
    // was drawn (an empty client area).
    bool redraw(bool markActivity);
    // Draws one frame with the given pointer: no snapping, no activity.
    bool drawFrame(int pointerX, int pointerY);

    // One wheel notch at a client point: over a wheel widget it scrolls
    // by an eleventh of the shown height or width and steps the widget's
    // animation; elsewhere it zooms about the pointer (out by 1.25 always,
    // in only while the zoom is above 10). Then draws with activity.
    void wheel(int x, int y, int delta);

    // Starts a pan at a client point, and moves the drawing with the
    // pointer from the previous point.
    void startPan(int x, int y);
    void panStep(int x, int y);

    // Animates the camera to show the box from corner1 (top left) to
    // corner2 (bottom right) enlarged by margin, fitting both directions;
    // about 0.31 s whatever the distance, one cache scope for the whole
    // flight. The final camera is not drawn: callers draw. A box of no
    // positive width or height, or a margin not above 0, is ignored
    // (answers false).
    bool flyTo(const GePoint2d& corner1, const GePoint2d& corner2, double margin, bool markActivity);

    const UiViewFrame& lastFrame() const { return frame; }
    bool hasFrame() const { return framed; }

    static constexpr double minimumZoom = 1e-3;

    double scrollX = 120.0;
    double scrollY = -20.0;
    double zoom = 300.0;
    // Animation frames 0..2 of the vertical and horizontal wheel widgets.
    int verticalWheelFrame = 0;
    int horizontalWheelFrame = 0;
    unsigned long long lastActivity = 0;
    int panLastX = 0;
    int panLastY = 0;

private:
    UiViewEnvironment& environment;
    UiViewFrame frame;
    bool framed = false;
};
