#pragma once

#include "render/RePageDevice.h"

class wxDC;

// The print back end's page onto a toolkit device context whose logical
// units are the page device's (0.01 mm), y downward from the page's upper
// left corner.
class UiDCPageDevice : public RePageDevice
{
public:
    explicit UiDCPageDevice(wxDC& dc) : dc(dc) {}
    void setWindowOrigin(int x, int y) override;
    void fillTriangles(const Point* points, int pointCount, const int* triangles, int triangleCount) override;
    void drawText(const BcString& text, int left, int top, int right, int bottom, int cellHeight,
                  bool underline) override;

private:
    wxDC& dc;
    int originX = 0;
    int originY = 0;
};
