#include "render/ReOpenGL.h"

#include "editing/QuorvaneDocument.h"
#include "foundation/BcClassManager.h"
#include "foundation/BcSettings.h"
#include "foundation/GeSpline2d.h"
#include "model/EdHorizontalGuideLine.h"
#include "model/EdVerticalGuideLine.h"
#include "model/MnSheetMusic.h"
#include "render/ReComposer.h"
#include "render/ReGLHost.h"
#include "render/ReGLShareGroup.h"
#include "render/ReGlyph.h"
#include "render/ReShapes.h"

#include <GL/gl.h>
#include <GL/glu.h>
#include <algorithm>
#include <cmath>

BC_IMPLEMENT_CREATABLE_CLASS(ReOpenGL)

// The composers' colour modes the view's own marks are drawn in.
static constexpr int blackColorMode = 2;
static constexpr int selectionColorMode = 3;

ReOpenGL::ReOpenGL() = default;

ReOpenGL::~ReOpenGL() = default;

bool ReOpenGL::createContext(ReGLHost* host)
{
    if (!host || !host->makeCurrent())
        return false;
    glHost = host;
    group = ReGLShareGroup::find(host->shareGroup());
    if (!group) {
        // The first context of its group builds what the group shares.
        group = ReGLShareGroup::add(host->shareGroup());
        buildFontLists(0);
        loadPaperTexture();
    }
    return true;
}

bool ReOpenGL::hasCurrentContext() const
{
    return glHost && group && glHost->isCurrent();
}

int ReOpenGL::sampleCounts(int antialiasing, int counts[4])
{
    int best = antialiasing == 0 ? 2 : antialiasing == 1 ? 4 : 8;
    int n = 0;
    for (int samples = best; samples >= 2; samples /= 2)
        counts[n++] = samples;
    counts[n++] = 0;
    return n;
}

void ReOpenGL::resetDrawingState()
{
    glDisable(GL_BLEND);
    glDisable(GL_TEXTURE_2D);
    glDisable(GL_CLIP_PLANE0);
    glDisable(GL_LINE_STIPPLE);
    glDisable(GL_DEPTH_TEST);
    glDisable(GL_CULL_FACE);
    glDisable(GL_LIGHTING);
}

void ReOpenGL::setFrameProjection(double centreX, double centreY, double pixelWidth, double pixelHeight,
                                  double nearValue, double farValue)
{
    const double left = centreX - viewWidth / 2, right = centreX + viewWidth / 2;
    const double bottom = centreY - viewHeight / 2, top = centreY + viewHeight / 2;
    glViewport(0, 0, int(pixelWidth), int(pixelHeight));
    glMatrixMode(GL_PROJECTION);
    glLoadIdentity();
    glOrtho(left, right, bottom, top, nearValue, farValue);
    // The transform stack starts each frame at the identity; so does the
    // modelview matrix that mirrors it.
    glMatrixMode(GL_MODELVIEW);
    glLoadIdentity();
    turned.clear();

    // Kept in full precision for unproject (GL answers its matrices in
    // single precision), column by column as GL lays them out.
    const double identity[16] = {1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1};
    std::copy(identity, identity + 16, frameModelview);
    std::fill(frameProjection, frameProjection + 16, 0.0);
    frameProjection[0] = 2 / (right - left);
    frameProjection[5] = 2 / (top - bottom);
    frameProjection[10] = -2 / (farValue - nearValue);
    frameProjection[12] = -(right + left) / (right - left);
    frameProjection[13] = -(top + bottom) / (top - bottom);
    frameProjection[14] = -(farValue + nearValue) / (farValue - nearValue);
    frameProjection[15] = 1;
    frameViewport[0] = 0;
    frameViewport[1] = 0;
    frameViewport[2] = int(pixelWidth);
    frameViewport[3] = int(pixelHeight);
    hasFrame = true;
}

bool ReOpenGL::begin(QuorvaneDocument* document, double centreX, double centreY, double pixelWidth,
                     double pixelHeight)
{
    // A window without size (minimised, not laid out yet) shows nothing.
    if (!hasCurrentContext() || !(viewWidth > 0) || !(viewHeight > 0))
        return false;

    // A turning page swings towards the viewer by up to its width.
    double depth = 1.0;
    if (document) {
        const BcArray<MnElement*>& works = document->works();
        for (int i = 0; i < works.count(); ++i) {
            MnElement* work = works[i];
            if (!work || !work->isKindOf(MnSheetMusic::staticClass()))
                continue;
            MnSheetMusic* sheet = static_cast<MnSheetMusic*>(work);
            if (sheet->presentation() == MnSheetMusic::Book)
                depth = std::max(depth, sheet->pageWidth() + 0.2);
        }
    }
    setFrameProjection(centreX, centreY, pixelWidth, pixelHeight, -depth, 1.0);
    resetDrawingState();

    // A window's context draws into its back buffer; an offscreen host has
    // its own framebuffer bound, which has no back buffer to name.
    GLint boundFramebuffer = 0;
    glGetIntegerv(GL_DRAW_FRAMEBUFFER_BINDING, &boundFramebuffer);
    if (boundFramebuffer == 0)
        glDrawBuffer(GL_BACK);

    int color = BcSettings::current().value(BcSettings::backgroundColor);
    glClearColor((color & 0xFF) / 255.0f, ((color >> 8) & 0xFF) / 255.0f, ((color >> 16) & 0xFF) / 255.0f, 1.0f);
    glClear(GL_COLOR_BUFFER_BIT);
    return true;
}

void ReOpenGL::end(double pixelWidth, double pixelHeight)
{
    double w = pixelWidth;
    double h = pixelHeight;
    glMatrixMode(GL_PROJECTION);
    glPushMatrix();
    glLoadIdentity();
    glOrtho(0, w, h, 0, -1, 1);
    glMatrixMode(GL_MODELVIEW);
    glPushMatrix();
    glLoadIdentity();

    drawingWidgets = true;
    const double s = scrollWheelSize;
    const double e = s / 4;
    bool overVertical = isOverVerticalScrollWheel(w, h, mouseX, mouseY);
    bool overHorizontal = isOverHorizontalScrollWheel(w, h, mouseX, mouseY);
    drawScrollWheel(w - e - s / 2, h - e - s, s / 10, overVertical ? 223 : 63, verticalWheelFrame);
    glPushMatrix();
    glTranslated(w - 2 * e - 2 * s, h - e - s / 2, 0);
    glRotated(90, 0, 0, 1);
    drawScrollWheel(0, 0, s / 10, overHorizontal ? 223 : 63, horizontalWheelFrame);
    glPopMatrix();
    drawingWidgets = false;

    glPopMatrix();
    glMatrixMode(GL_PROJECTION);
    glPopMatrix();
    glMatrixMode(GL_MODELVIEW);
    glFlush();
    if (glHost)
        glHost->swapBuffers();
}

int ReOpenGL::unproject(int x, int y, double* outX, double* outY, double* outZ) const
{
    if (!hasFrame)
        return GL_FALSE;
    double px = 0, py = 0, pz = 0;
    int ok = gluUnProject(x, y, 0.0, frameModelview, frameProjection, frameViewport, &px, &py, &pz);
    if (ok == GL_TRUE) {
        *outX = px;
        *outY = py;
        *outZ = pz;
    }
    return ok;
}

bool ReOpenGL::isOverVerticalScrollWheel(double width, double height, double x, double y)
{
    const double s = scrollWheelSize;
    return width - 1.25 * s < x && x < width && height - 2.25 * s < y && y < height;
}

bool ReOpenGL::isOverHorizontalScrollWheel(double width, double height, double x, double y)
{
    const double s = scrollWheelSize;
    return width - 3.5 * s < x && x < width - 1.25 * s && height - 1.25 * s < y && y < height;
}

bool ReOpenGL::isScrollWheelHoverChanged(double width, double height, double x, double y) const
{
    return isOverVerticalScrollWheel(width, height, x, y) != isOverVerticalScrollWheel(width, height, mouseX, mouseY)
        || isOverHorizontalScrollWheel(width, height, x, y)
               != isOverHorizontalScrollWheel(width, height, mouseX, mouseY);
}

void ReOpenGL::drawRidgePair(double x, double y, double xScale, double scale, int alpha)
{
    const ReGlyph& ridge = ReGlyph::scrollWheelRidge;
    setColor(0, 0, 0, alpha);
    fillMesh(ridge.vertices, ridge.vertexCount, ridge.triangles, ridge.triangleCount, x, y, xScale, -scale);
    setColor(190, 190, 190, alpha);
    fillMesh(ridge.vertices, ridge.vertexCount, ridge.triangles, ridge.triangleCount, x, y, xScale, scale);
}

void ReOpenGL::drawScrollWheel(double x, double y, double scale, int alpha, int frame)
{
    struct Housing {
        const ReGlyph* mesh;
        int grey;
    };
    const Housing housings[] = {{&ReGlyph::scrollWheelHousingLight, 150},
                                {&ReGlyph::scrollWheelHousingDark, 0},
                                {&ReGlyph::scrollWheelHousingMid, 116}};
    for (const Housing& housing : housings) {
        setColor(housing.grey, housing.grey, housing.grey, alpha);
        const ReGlyph& mesh = *housing.mesh;
        fillMesh(mesh.vertices, mesh.vertexCount, mesh.triangles, mesh.triangleCount, x, y, scale, scale);
    }
    // The ridges roll by three pixels from frame to frame.
    double yr = y + (frame == 1 ? -3.0 : frame == 2 ? 3.0 : 0.0);
    for (double offset : {0.0, 4.0, -4.0})
        drawRidgePair(x, yr + offset * scale, 0.9 * scale, scale, alpha);
    if (frame == 1)
        drawRidgePair(x, yr + 7 * scale, 0.6 * scale, scale, alpha);
    else if (frame == 2)
        drawRidgePair(x, yr - 7 * scale, 0.6 * scale, scale, alpha);
}

void ReOpenGL::pushScale(double centreX, double centreY, double factor)
{
    ReRenderer::pushScale(centreX, centreY, factor);
    turned.push_back(false);
    glPushMatrix();
    glTranslated(centreX, centreY, 0);
    glScaled(factor, factor, factor);
    glTranslated(-centreX, -centreY, 0);
}

void ReOpenGL::pushYRotation(double pivotX, double degrees)
{
    ReRenderer::pushYRotation(pivotX, degrees);
    turned.push_back(degrees != 0.0);
    // No translation back: local x is measured from the spine.
    glPushMatrix();
    glTranslated(pivotX, 0, 0);
    glRotated(degrees, 0, 1, 0);
}

void ReOpenGL::popTransform()
{
    // The matrix goes with the transform it mirrors; an unbalanced pop
    // leaves both stacks alone.
    if (transforms.count() > 1) {
        glPopMatrix();
        if (!turned.empty())
            turned.pop_back();
    }
    ReRenderer::popTransform();
}

bool ReOpenGL::isOutsideView(double left, double bottom, double right, double top) const
{
    if (drawingWidgets)
        return false;
    for (bool turning : turned) {
        if (turning)
            return false;
    }
    const GeBox2d& box = visibleBox;
    return right < std::min(box.a.x, box.b.x) || left > std::max(box.a.x, box.b.x)
        || top < std::min(box.a.y, box.b.y) || bottom > std::max(box.a.y, box.b.y);
}

void ReOpenGL::setColor(int r, int g, int b, int a)
{
    if (a == 255) {
        glDisable(GL_BLEND);
    } else {
        glEnable(GL_BLEND);
        glBlendFunc(GL_SRC_ALPHA, GL_ONE_MINUS_SRC_ALPHA);
    }
    glColor4ub(GLubyte(r), GLubyte(g), GLubyte(b), GLubyte(a));
}

void ReOpenGL::fillQuad(double x1, double y1, double x2, double y2, double x3, double y3, double x4, double y4)
{
    if (isOutsideView(std::min({x1, x2, x3, x4}), std::min({y1, y2, y3, y4}), std::max({x1, x2, x3, x4}),
                      std::max({y1, y2, y3, y4})))
        return;
    glBegin(GL_QUADS);
    glVertex2d(x1, y1);
    glVertex2d(x2, y2);
    glVertex2d(x3, y3);
    glVertex2d(x4, y4);
    glEnd();
}

void ReOpenGL::fillTexturedQuad(double x1, double y1, double x2, double y2, double x3, double y3, double x4,
                                double y4)
{
    if (!group || !group->paperTexture) {
        fillQuad(x1, y1, x2, y2, x3, y3, x4, y4);
        return;
    }
    // The texture repeats every 20 units, anchored at the first corner's x
    // and the second corner's y; the current colour tints it.
    const double repeat = 20.0;
    glBindTexture(GL_TEXTURE_2D, group->paperTexture);
    glTexEnvi(GL_TEXTURE_ENV, GL_TEXTURE_ENV_MODE, GL_MODULATE);
    glEnable(GL_TEXTURE_2D);
    glBegin(GL_QUADS);
    const double corners[4][2] = {{x1, y1}, {x2, y2}, {x3, y3}, {x4, y4}};
    for (const auto& corner : corners) {
        glTexCoord2d((corner[0] - x1) / repeat, (corner[1] - y2) / repeat);
        glVertex2d(corner[0], corner[1]);
    }
    glEnd();
    glDisable(GL_TEXTURE_2D);
}

void ReOpenGL::fillMesh(const double* vertices, int vertexCount, const int* triangles, int triangleCount, double x,
                        double y, double sx, double sy)
{
    if (!vertices || !triangles || triangleCount <= 0)
        return;
    if (vertexCount > 0) {
        auto found = meshBoxes.find(vertices);
        if (found == meshBoxes.end()) {
            GeBox2d box(GePoint2d(vertices[0], vertices[1]), GePoint2d(vertices[0], vertices[1]));
            for (int v = 1; v < vertexCount; ++v) {
                box.a.x = std::min(box.a.x, vertices[2 * v]);
                box.a.y = std::min(box.a.y, vertices[2 * v + 1]);
                box.b.x = std::max(box.b.x, vertices[2 * v]);
                box.b.y = std::max(box.b.y, vertices[2 * v + 1]);
            }
            found = meshBoxes.emplace(vertices, box).first;
        }
        const GeBox2d& box = found->second;
        double xa = x + sx * box.a.x, xb = x + sx * box.b.x;
        double ya = y + sy * box.a.y, yb = y + sy * box.b.y;
        if (isOutsideView(std::min(xa, xb), std::min(ya, yb), std::max(xa, xb), std::max(ya, yb)))
            return;
    }
    // Client arrays: the mesh goes to the driver in one call rather than
    // vertex by vertex.
    glPushMatrix();
    glTranslated(x, y, 0);
    glScaled(sx, sy, 1);
    glEnableClientState(GL_VERTEX_ARRAY);
    glVertexPointer(2, GL_DOUBLE, 0, vertices);
    glDrawElements(GL_TRIANGLES, 3 * triangleCount, GL_UNSIGNED_INT, triangles);
    glDisableClientState(GL_VERTEX_ARRAY);
    glPopMatrix();
}

void ReOpenGL::fillEllipse(double centreX, double centreY, double radiusX, double radiusY, double angle,
                           int segmentCount)
{
    double reach = std::max(std::fabs(radiusX), std::fabs(radiusY));
    if (segmentCount < 3 || isOutsideView(centreX - reach, centreY - reach, centreX + reach, centreY + reach))
        return;
    if (circle.size() != 2 * size_t(segmentCount)) {
        circle.resize(2 * size_t(segmentCount));
        for (int i = 0; i < segmentCount; ++i) {
            GePoint2d p = ReShapes::ellipsePoint(i, segmentCount, 1, 1, 0.0);
            circle[2 * size_t(i)] = p.x;
            circle[2 * size_t(i) + 1] = p.y;
        }
    }
    glPushMatrix();
    glTranslated(centreX, centreY, 0);
    glRotated(angle, 0, 0, 1);
    glBegin(GL_POLYGON);
    for (int i = 0; i < segmentCount; ++i)
        glVertex2d(circle[2 * size_t(i)] * radiusX, circle[2 * size_t(i) + 1] * radiusY);
    glEnd();
    glPopMatrix();
}

void ReOpenGL::strokeCurve(const GeSpline2d* curve, double endWidth, double middleWidth)
{
    if (!curve)
        return;
    const int maxSegments = 32 * 4;
    GePoint2d left[maxSegments + 1];
    GePoint2d right[maxSegments + 1];
    if (curve->points.count() > 0) {
        // The curve lies inside the hull of its control points.
        GeBox2d box(curve->points[0], curve->points[0]);
        for (int i = 1; i < curve->points.count(); ++i) {
            box.a.x = std::min(box.a.x, curve->points[i].x);
            box.a.y = std::min(box.a.y, curve->points[i].y);
            box.b.x = std::max(box.b.x, curve->points[i].x);
            box.b.y = std::max(box.b.y, curve->points[i].y);
        }
        double w = std::max(std::fabs(endWidth), std::fabs(middleWidth));
        if (isOutsideView(box.a.x - w, box.a.y - w, box.b.x + w, box.b.y + w))
            return;
    }
    int n = std::min(ReShapes::curveSegments(viewWidth, *curve, true), maxSegments);
    if (!ReShapes::curveBand(*curve, n, endWidth, middleWidth, left, right))
        return;
    glBegin(GL_TRIANGLE_STRIP);
    for (int k = 0; k <= n; ++k) {
        glVertex2d(left[k].x, left[k].y);
        glVertex2d(right[k].x, right[k].y);
    }
    glEnd();
}

void ReOpenGL::strokeArc(double x1, double y1, double x2, double y2, double bulge, double endWidth,
                         double middleWidth)
{
    GeArc outer, inner;
    if (!ReShapes::arcBoundaries(x1, y1, x2, y2, bulge, endWidth, middleWidth, &outer, &inner))
        return;
    double reach = outer.radius + std::fabs(endWidth) + std::fabs(middleWidth);
    if (isOutsideView(outer.centre.x - reach, outer.centre.y - reach, outer.centre.x + reach, outer.centre.y + reach))
        return;
    const int last = ReShapes::arcPoints - 1;
    glBegin(GL_TRIANGLE_STRIP);
    for (int k = last; k >= 0; --k) {
        double f = double(k) / last;
        GePoint2d o = ReShapes::arcPoint(outer, f);
        glVertex2d(o.x, o.y);
        // Without width at the ends the crescent ends in points.
        if (endWidth <= 0 && (k == last || k == 0))
            continue;
        GePoint2d i = ReShapes::arcPoint(inner, f);
        glVertex2d(i.x, i.y);
    }
    glEnd();
}

void ReOpenGL::drawDashedRect(double x1, double y1, double x2, double y2)
{
    ReComposer(this).setColorMode(selectionColorMode);
    // A window drawn from right to left selects what it touches and shows
    // it dashed.
    bool leftwards = x1 >= x2;
    if (leftwards) {
        glLineStipple(1, 0xF8F8);
        glEnable(GL_LINE_STIPPLE);
    }
    glBegin(GL_LINE_LOOP);
    glVertex2d(x1, y1);
    glVertex2d(x2, y1);
    glVertex2d(x2, y2);
    glVertex2d(x1, y2);
    glEnd();
    glDisable(GL_LINE_STIPPLE);
}

void ReOpenGL::drawStippledLine(double x1, double y1, double x2, double y2, unsigned short pattern)
{
    glLineStipple(1, pattern);
    glEnable(GL_LINE_STIPPLE);
    glBegin(GL_LINES);
    glVertex2d(x1, y1);
    glVertex2d(x2, y2);
    glEnd();
    glDisable(GL_LINE_STIPPLE);
}

void ReOpenGL::drawGuideLine(const EdGuideLine* guide)
{
    if (!guide || !guide->visible)
        return;
    bool horizontal = guide->isKindOf(EdHorizontalGuideLine::staticClass());
    bool vertical = guide->isKindOf(EdVerticalGuideLine::staticClass());
    if (!horizontal && !vertical)
        return;
    ReComposer(this).setColorMode(guide->snapped ? selectionColorMode : blackColorMode);
    unsigned short pattern = guide->snapped ? 0x7777 : 0x1111;
    double p = guide->position;
    if (horizontal)
        drawStippledLine(viewTopLeft.x, p, viewBottomRight.x, p, pattern);
    else
        drawStippledLine(p, viewTopLeft.y, p, viewBottomRight.y, pattern);
}

void ReOpenGL::setClip(bool on, double minimumX)
{
    if (!on) {
        glDisable(GL_CLIP_PLANE0);
        return;
    }
    // The plane is taken in the local coordinates current now.
    const GLdouble plane[4] = {1.0, 0.0, 0.0, -minimumX};
    glClipPlane(GL_CLIP_PLANE0, plane);
    glEnable(GL_CLIP_PLANE0);
}
