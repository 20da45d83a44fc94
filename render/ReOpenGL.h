#pragma once

#include "render/ReRenderer.h"

#include <unordered_map>
#include <vector>

class ReGLHost;
struct ReGLShareGroup;

// Draws on an OpenGL context in the fixed-function style: the screen view,
// and through ReBitmap the offscreen pages of an image export. It makes no
// context of its own: createContext takes the host that the shell or the
// export provides. Text is drawn from display lists of the outlines of the
// fonts that ReFontMetrics measures; the lists and the paper texture belong
// to the host's share group and are built once per group.
//
// The renderer also draws the view's two scroll-wheel widgets in the lower
// right corner and hit-tests them.
class ReOpenGL : public ReRenderer
{
    BC_DECLARE_CREATABLE_CLASS(ReOpenGL)
public:
    ReOpenGL();
    ~ReOpenGL() override;

    // Makes the host's context current for this renderer. The first host
    // of a share group builds font 0 and the paper texture there; later
    // hosts of the group use them. The host is not owned and must outlive
    // its use here.
    bool createContext(ReGLHost* host);
    ReGLHost* host() const { return glHost; }

    // Maps a window point (x from the left, y from the bottom, depth 0)
    // through the matrices and viewport of the last frame begun into
    // drawing units; answers whether it could. Outputs are untouched on
    // failure and before the first frame.
    int unproject(int x, int y, double* outX, double* outY, double* outZ) const;

    // Hit tests of the widgets in window pixels, y downward, client size
    // width x height; borders belong to neither.
    static bool isOverVerticalScrollWheel(double width, double height, double x, double y);
    static bool isOverHorizontalScrollWheel(double width, double height, double x, double y);
    // Whether the point and the stored mouse point differ in lying over
    // either widget (the view redraws then).
    bool isScrollWheelHoverChanged(double width, double height, double x, double y) const;
    // The widgets' size in pixels, an icon's width.
    static constexpr int scrollWheelSize = 32;

    // The sample counts to ask a window's pixel format for, best first, for
    // the "Antialiasing" setting (0: 2, 1: 4, else 8 samples), each
    // falling back to the fewer ones and then to none (0). Answers how many
    // of counts are filled (at most 4).
    static int sampleCounts(int antialiasing, int counts[4]);

    // How many fonts had their display lists built, over all share groups.
    static int fontListBuilds();

    bool begin(QuorvaneDocument* document, double centreX, double centreY, double pixelWidth,
               double pixelHeight) override;
    void end(double pixelWidth, double pixelHeight) override;
    void pushScale(double centreX, double centreY, double factor) override;
    void pushYRotation(double pivotX, double degrees) override;
    void popTransform() override;
    void setColor(int r, int g, int b, int a) override;
    void fillTexturedQuad(double x1, double y1, double x2, double y2, double x3, double y3, double x4,
                          double y4) override;
    void fillQuad(double x1, double y1, double x2, double y2, double x3, double y3, double x4, double y4) override;
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

    // Animation frames 0 to 2 of the two widgets; the view steps them.
    int verticalWheelFrame = 0;
    int horizontalWheelFrame = 0;

protected:
    // Whether the renderer has a host and its context is current.
    bool hasCurrentContext() const;
    // Viewport, an orthographic projection of the view box about the
    // centre with the given depth range, and an identity modelview; kept
    // for unproject.
    void setFrameProjection(double centreX, double centreY, double pixelWidth, double pixelHeight, double nearValue,
                            double farValue);
    // Switches off what a previous frame may have left on: blending,
    // texturing, the clip plane and line stipple.
    void resetDrawingState();

private:
    // Whether a box in local units lies wholly outside the view, so that
    // drawing it can be skipped: a page drawn in bands then costs about
    // one page, and a zoomed-in view only what it shows. Never while a
    // page is turned (the box then shows narrower than it is) or while
    // the widgets are drawn in window units.
    bool isOutsideView(double left, double bottom, double right, double top) const;
    bool buildFontLists(int font);
    bool loadPaperTexture();
    void drawScrollWheel(double x, double y, double scale, int alpha, int frame);
    void drawRidgePair(double x, double y, double xScale, double scale, int alpha);
    void drawStippledLine(double x1, double y1, double x2, double y2, unsigned short pattern);

    ReGLHost* glHost = nullptr;
    std::vector<bool> turned;  // per pushed transform: whether it turns the page
    bool drawingWidgets = false;
    // The box of each symbol mesh drawn, by its vertex array.
    std::unordered_map<const double*, GeBox2d> meshBoxes;
    // Unit circle points of the last ellipse segment count.
    std::vector<double> circle;
    ReGLShareGroup* group = nullptr;
    bool hasFrame = false;
    double frameModelview[16] = {};
    double frameProjection[16] = {};
    int frameViewport[4] = {};
};
