#pragma once

// One frame as the score view asks for it: the camera (a centre and the
// shown width in drawing units), the client size in logical pixels and the
// pointer in client pixels (-1, -1 when it is not over the view).
struct UiViewFrame
{
    double centreX = 0.0;
    double centreY = 0.0;
    double zoom = 0.0;
    int width = 0;
    int height = 0;
    int pointerX = -1;
    int pointerY = -1;
};

// What the score view's camera needs of its window, its clock and the rest
// of the program, as plain values. The window gives one (over wx); the
// tests give a fake, so that camera moves and flights run with no display.
class UiViewEnvironment
{
public:
    virtual ~UiViewEnvironment() = default;

    // Milliseconds since some fixed moment (EdContext::tickCount in the program).
    virtual unsigned long long tickCount() = 0;
    // The client area in logical pixels.
    virtual void clientSize(int& width, int& height) = 0;
    // The pointer in client pixels, y downward.
    virtual void pointer(int& x, int& y) = 0;
    // Draws the frame and shows it before returning.
    virtual void present(const UiViewFrame& frame) = 0;

    // The current tool, if any, snaps to the new pointer position before a
    // frame, and follows a pan by the given pixel movement.
    virtual void updateSnap() {}
    virtual void toolPanned(int dx, int dy) {}

    // Whether the player sounds (open, playing and not paused); the
    // instrument panels are then refreshed during animations so that
    // sounding keys keep moving.
    virtual bool playerSounding() { return false; }
    virtual void refreshPanels() {}
};
