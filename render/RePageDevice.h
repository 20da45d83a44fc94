#pragma once

class BcString;

// A page that the print back end draws on: the shell adapts a printout's
// device context to it for the print preview, tests record what arrives.
//
// Logical units are 0.01 mm with y growing upward; the window origin is
// the logical point that lies at the page's upper left corner.
class RePageDevice
{
public:
    struct Point
    {
        int x;
        int y;
    };

    virtual ~RePageDevice();

    virtual void setWindowOrigin(int x, int y) = 0;
    // Black triangles, three point indices each.
    virtual void fillTriangles(const Point* points, int pointCount, const int* triangles, int triangleCount) = 0;
    // Text in Times New Roman regular of the given cell height, from the
    // upper left of the rectangle, on one line, clipped to the rectangle.
    virtual void drawText(const BcString& text, int left, int top, int right, int bottom, int cellHeight,
                          bool underline) = 0;
};
