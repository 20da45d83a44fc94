#pragma once

#include "render/ReRenderer.h"

// The renderer that draws nothing and answers which element lies under a
// point. Composers lay out through it exactly as on screen and mark every
// element part they draw; the last mark that contains the point wins, so
// the element drawn on top is found.
//
// Measuring operations subclass it and override the mark operations to
// collect extents or elements instead.
class RePicker : public ReRenderer
{
    BC_DECLARE_CREATABLE_CLASS(RePicker)
public:
    RePicker();
    ~RePicker() override;

    // Sets the point to test (world units) and clears the hit and the clip.
    void setPickPoint(const GePoint2d& point);

    bool begin(QuorvaneDocument* document, double centreX, double centreY, double pixelWidth,
               double pixelHeight) override;
    void end(double pixelWidth, double pixelHeight) override;

    void markFrame(const GeBox2d& outer, const GeBox2d& inner, MnElement* element) override;
    void markRect(const GePoint2d& corner, double width, double height, MnElement* element) override;
    void markSpan(const GePoint2d& from, const GePoint2d& to, MnElement* element) override;

    // Everything counts as visible, so the composers lay out everything.
    bool isVisibleX(double x, double width, double margin) override;
    bool isVisible(double x, double y, double width, double height, double margin) override;

    void pushScale(double centreX, double centreY, double factor) override;
    void pushYRotation(double pivotX, double degrees) override;
    void popTransform() override;

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
    // While on, points left of the clip line (its world x) are never hit.
    void setClip(bool on, double minimumX) override;

    GePoint2d pickPoint;       // world units
    GePoint2d localPickPoint;  // pickPoint in the current local coordinates
    MnElement* hitElement = nullptr;
    EdPath hitPath;
    bool clipOn = false;
    double clipX = 0.0;  // world x

protected:
    // Whether a mark is ignored because the pick point lies left of the clip.
    bool isClipped() const;
    void hit(MnElement* element);

private:
    void updateLocalPickPoint();
};
