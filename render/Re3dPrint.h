#pragma once

#include "foundation/BcArray.h"
#include "foundation/GeMatrix2d.h"
#include "foundation/GePoint3d.h"
#include "foundation/GeVector2d.h"
#include "foundation/GeVector3d.h"
#include "render/ReRenderer.h"

class GeRegion;

// Turns one page of sheet music into a solid relief for 3-D printing:
// every filled shape the composers draw is collected as a flat region with
// the transform, placement, scale and height in force, and buildPageMesh
// extrudes each from 0 to its height into a triangle soup with normals.
// Curves, arcs and text are not collected.
class Re3dPrint : public ReRenderer
{
    BC_DECLARE_CREATABLE_CLASS(Re3dPrint)
public:
    Re3dPrint();
    // Deletes each distinct region once.
    ~Re3dPrint() override;
    Re3dPrint(const Re3dPrint&) = delete;
    Re3dPrint& operator=(const Re3dPrint&) = delete;

    // Page 0 of the first chosen sheet (in this renderer's selection, else
    // the document's first), drawn spread out with the page inset by 2
    // units on every side, as triangles: every three points one triangle,
    // with a normal per point, in units from the lower left of that inset
    // page, z upward. The arrays are replaced and sized exactly. False,
    // with the arrays untouched, when there is no sheet; true and empty
    // arrays for a sheet without pages.
    bool buildPageMesh(QuorvaneDocument* document, BcArray<GePoint3d>* points, BcArray<GeVector3d>* normals);

    // The collected mesh of what was drawn, as buildPageMesh makes it,
    // relative to (originX, originY).
    void buildMesh(double originX, double originY, BcArray<GePoint3d>* points, BcArray<GeVector3d>* normals) const;

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

    // One entry per collected shape, in drawing order.
    BcArray<GeRegion*> regions;  // a mesh's region is shared by its entries
    BcArray<GeMatrix2d> regionTransforms;
    BcArray<GePoint3d> regionOffsets;  // x, y and the height
    BcArray<GeVector2d> regionScales;

private:
    void collect(GeRegion* region, double x, double y, double sx, double sy);
};
