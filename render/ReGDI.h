#pragma once

#include "render/RePageDevice.h"
#include "render/ReRenderer.h"

#include <vector>

// Draws a document onto a page device for the print preview: filled shapes
// as black triangles and text, nothing else (no colours, curves, arcs,
// rectangles, guide lines or clipping). The drawn width becomes 210 mm on
// paper. Printing itself goes through a PDF file.
class ReGDI : public ReRenderer
{
    BC_DECLARE_CREATABLE_CLASS(ReGDI)
public:
    ReGDI();
    ~ReGDI() override;

    // The page to draw on (not owned); set before render.
    void setDevice(RePageDevice* device) { pageDevice = device; }

    // False without a document or a device. The first sheet of the
    // document gives the view its page height.
    bool begin(QuorvaneDocument* document, double centreX, double centreY, double pixelWidth,
               double pixelHeight) override;
    void end(double pixelWidth, double pixelHeight) override;
    void setColor(int r, int g, int b, int a) override;
    void fillQuad(double x1, double y1, double x2, double y2, double x3, double y3, double x4, double y4) override;
    void fillMesh(const double* vertices, int vertexCount, const int* triangles, int triangleCount, double x,
                  double y, double sx, double sy) override;
    void fillEllipse(double centreX, double centreY, double radiusX, double radiusY, double angle,
                     int segmentCount) override;
    void strokeCurve(const GeSpline2d* curve, double endWidth, double middleWidth) override;
    void strokeArc(double x1, double y1, double x2, double y2, double bulge, double endWidth,
                   double middleWidth) override;
    void drawDashedRect(double x1, double y1, double x2, double y2) override;
    void drawText(const BcString& text, double x, double y, double size, int font, bool underline) override;
    void setClip(bool on, double minimumX) override;

    double scale = 0.0;  // logical units per drawing unit, set by begin

private:
    // A local point mapped through the top transform, in logical units.
    RePageDevice::Point toLogical(double x, double y) const;

    RePageDevice* pageDevice = nullptr;
    std::vector<RePageDevice::Point> points;  // reused from shape to shape
    std::vector<int> fan;
};
