#pragma once

#include "editing/EdNotePath.h"
#include "editing/EdSelection.h"
#include "foundation/BcArray.h"
#include "foundation/GeBox2d.h"
#include "foundation/GeMatrix2d.h"
#include "foundation/GePoint2d.h"
#include "model/EdPath.h"

class BcString;
class EdGuideLine;
class GeSpline2d;
class MnElement;
class MnSheetMusic;
class QuorvaneDocument;

// The one drawing interface of the system. Composers lay out and draw
// through it without knowing the back end (screen, image, print, PDF, 3-D
// mesh, hit testing). Its element set is the set drawn in the selection
// colour: the view's renderer is at the same time the view's selection.
//
// Drawing units are millimetres of paper, y up. Every push of a transform
// made while composing is popped again by the same composer.
class ReRenderer : public EdSelection
{
    BC_DECLARE_CLASS(ReRenderer)
public:
    ReRenderer();
    ~ReRenderer() override;

    // Adding a new element ends the note-entry preview.
    bool add(MnElement* element) override;
    bool remove(MnElement* element) override;

    // Starts a frame; false skips it (nothing is composed, end is not called).
    virtual bool begin(QuorvaneDocument* document, double centreX, double centreY, double pixelWidth,
                       double pixelHeight) = 0;
    virtual void end(double pixelWidth, double pixelHeight) = 0;

    // Hit-test marks: the element (may be null) and its region in the
    // current local coordinates. Only pickers act on them.
    virtual void markFrame(const GeBox2d& outer, const GeBox2d& inner, MnElement* element);
    virtual void markRect(const GePoint2d& corner, double width, double height, MnElement* element);
    virtual void markSpan(const GePoint2d& from, const GePoint2d& to, MnElement* element);

    // Visibility against the visible box; borders count as visible.
    virtual bool isVisibleX(double x, double width, double margin);
    // (x, y) is the upper left of a box reaching down to y - height.
    virtual bool isVisible(double x, double y, double width, double height, double margin);

    virtual void pushScale(double centreX, double centreY, double factor);
    // Turns the page about the vertical line x = pivotX; only the OpenGL
    // family uses the angle, the others see a translation by the pivot.
    virtual void pushYRotation(double pivotX, double degrees);
    // Pops the top transform; the identity at the bottom stays.
    virtual void popTransform();
    virtual void pushDepth(double z);
    virtual void popDepth();

    // The text's box relative to its baseline origin (see measureTextExtent).
    virtual bool measureText(const BcString& text, double size, int font, bool underline, double* x, double* y,
                             double* width, double* height);
    // 8 bits each; a = 255 is opaque.
    virtual void setColor(int r, int g, int b, int a) = 0;
    virtual void fillTexturedQuad(double x1, double y1, double x2, double y2, double x3, double y3, double x4,
                                  double y4);
    virtual void fillQuad(double x1, double y1, double x2, double y2, double x3, double y3, double x4,
                          double y4) = 0;
    virtual void fillQuad3d(double x1, double y1, double z1, double x2, double y2, double z2, double x3, double y3,
                            double z3, double x4, double y4, double z4);
    // vertices: (x, y) pairs; triangles: index triples. Vertex v is drawn at
    // (x + sx * v.x, y + sy * v.y), so a negative scale mirrors.
    virtual void fillMesh(const double* vertices, int vertexCount, const int* triangles, int triangleCount, double x,
                          double y, double sx, double sy) = 0;
    // A polygon of segmentCount points; point i lies at angle 2 pi i / count
    // at (sin t * radiusX, cos t * radiusY), turned counter-clockwise by
    // angle degrees and moved to the centre.
    virtual void fillEllipse(double centreX, double centreY, double radiusX, double radiusY, double angle,
                             int segmentCount) = 0;
    virtual void strokeCurve(const GeSpline2d* curve, double endWidth, double middleWidth) = 0;
    virtual void strokeArc(double x1, double y1, double x2, double y2, double bulge, double endWidth,
                           double middleWidth) = 0;
    virtual void drawDashedRect(double x1, double y1, double x2, double y2) = 0;
    virtual void drawGuideLine(const EdGuideLine* guide);
    // Text with its baseline origin at (x, y).
    virtual void drawText(const BcString& text, double x, double y, double size, int font, bool underline) = 0;
    virtual void setClip(bool on, double minimumX) = 0;

    // One frame of a whole document.
    bool render(QuorvaneDocument* document, double centreX, double centreY, double width, double pixelWidth,
                double pixelHeight, int mouseX, int mouseY);
    // The first page of a sheet as blank manuscript paper.
    bool renderSheetPage(MnSheetMusic* sheet, int clefMode, int measuresPerSystem, double centreX, double centreY,
                         double width, double pixelWidth, double pixelHeight);

    // The view box and visibility of the frame about (centreX, centreY),
    // with the transform stack reset to the identity.
    void setView(double centreX, double centreY, double width, double pixelWidth, double pixelHeight);
    const GeMatrix2d& topTransform() const { return transforms[transforms.count() - 1]; }

    EdNotePath previewNotePath;  // where the note-entry preview goes; unset for none
    GePoint2d dragStart;         // drag-selection corners; equal corners: no rectangle
    GePoint2d dragEnd;
    // The current tool's guide lines (not owned); drawn once, then let go.
    BcArray<EdGuideLine*>* guideLines = nullptr;
    double viewWidth = 0.0;
    double viewHeight = 0.0;
    GePoint2d viewTopLeft;
    GePoint2d viewBottomRight;
    GeBox2d visibleBox;  // the view box in the current local coordinates
    int mouseX = 0;      // window pixels; -1, -1 when the cursor left the window
    int mouseY = 0;
    EdPath pickPath;     // set by the composers before each mark
    int outputKind = 0;  // 0 screen, 1 print and export, 2 3-D print
    double extrusionHeight = 0.0;
    BcArray<GeMatrix2d> transforms;  // element 0 is the identity

protected:
    void updateVisibleBox();
};
