#pragma once

#include "foundation/BcString.h"
#include "render/ReRenderer.h"

#include <string>
#include <vector>

class TestCanvas;

// A renderer for tests: it records every call with its arguments (and the
// pick path and transform in force), so composers can be tested headless.
// It behaves like the base renderer otherwise: visibility and transforms
// work, text is measured with the real font metrics, begin answers
// beginResult.
class RecordingRenderer : public ReRenderer
{
public:
    struct Call
    {
        std::string name;          // the operation, e.g. "fillQuad", "markRect"
        std::vector<double> args;  // its numeric arguments in order
        BcString text;             // of drawText and measureText
        MnElement* element = nullptr;              // of the marks
        const double* vertices = nullptr;          // of fillMesh
        const int* triangles = nullptr;            // of fillMesh
        const EdGuideLine* guide = nullptr;        // of drawGuideLine
        EdPath pickPath;                           // the renderer's pick path at the call
        GeMatrix2d transform;                      // the top transform at the call
        int color[4] = {0, 0, 0, 255};             // the colour in force at the call
        double extrusionHeight = 0.0;              // in force at the call
    };

    RecordingRenderer();
    ~RecordingRenderer() override;

    bool begin(QuorvaneDocument* document, double centreX, double centreY, double pixelWidth,
               double pixelHeight) override;
    void end(double pixelWidth, double pixelHeight) override;
    void markFrame(const GeBox2d& outer, const GeBox2d& inner, MnElement* element) override;
    void markRect(const GePoint2d& corner, double width, double height, MnElement* element) override;
    void markSpan(const GePoint2d& from, const GePoint2d& to, MnElement* element) override;
    bool isVisibleX(double x, double width, double margin) override;
    bool isVisible(double x, double y, double width, double height, double margin) override;
    void pushScale(double centreX, double centreY, double factor) override;
    void pushYRotation(double pivotX, double degrees) override;
    void popTransform() override;
    void pushDepth(double z) override;
    void popDepth() override;
    bool measureText(const BcString& text, double size, int font, bool underline, double* x, double* y,
                     double* width, double* height) override;
    void setColor(int r, int g, int b, int a) override;
    void fillTexturedQuad(double x1, double y1, double x2, double y2, double x3, double y3, double x4,
                          double y4) override;
    void fillQuad(double x1, double y1, double x2, double y2, double x3, double y3, double x4, double y4) override;
    void fillQuad3d(double x1, double y1, double z1, double x2, double y2, double z2, double x3, double y3, double z3,
                    double x4, double y4, double z4) override;
    void fillMesh(const double* vertices, int vertexCount, const int* triangles, int triangleCount, double x,
                  double y, double sx, double sy) override;
    void fillEllipse(double centreX, double centreY, double radiusX, double radiusY, double angle,
                     int segmentCount) override;
    void strokeCurve(const GeSpline2d* curve, double endWidth, double middleWidth) override;
    void strokeArc(double x1, double y1, double x2, double y2, double bulge, double endWidth,
                   double middleWidth) override;
    void drawDashedRect(double x1, double y1, double x2, double y2) override;
    void drawGuideLine(const EdGuideLine* guide) override;
    void drawText(const BcString& text, double x, double y, double size, int font, bool underline) override;
    void setClip(bool on, double minimumX) override;

    // The recorded calls of one operation, in order.
    std::vector<const Call*> callsNamed(const std::string& name) const;
    int countOf(const std::string& name) const;
    // One line per call, for failure messages.
    std::string transcript() const;
    void clear() { calls.clear(); }

    // Paints the recorded fills (quads, 3-D quads without their depth,
    // meshes, ellipses), curves and texts in their colours and transforms,
    // the drawing box (left, top) .. (right, bottom) mapped onto the whole
    // canvas.
    void paint(TestCanvas& canvas, double left, double top, double right, double bottom) const;

    std::vector<Call> calls;
    bool beginResult = true;
    int currentColor[4] = {0, 0, 0, 255};

private:
    Call& record(const char* name, std::vector<double> args);
};
