#include "render/ReRenderer.h"

#include "foundation/BcClassManager.h"
#include "foundation/BcString.h"
#include "model/EdGuideLine.h"
#include "model/MnCache.h"
#include "render/ReFontMetrics.h"
#include "render/ReSystem.h"

#include <cmath>

BC_IMPLEMENT_CLASS(ReRenderer)

ReRenderer::ReRenderer()
    : transforms(8)
{
    transforms.add(GeMatrix2d::identity);
}

ReRenderer::~ReRenderer() = default;

bool ReRenderer::add(MnElement* element)
{
    if (!EdSelection::add(element))
        return false;
    previewNotePath = EdNotePath();
    return true;
}

bool ReRenderer::remove(MnElement* element)
{
    return EdSelection::remove(element);
}

void ReRenderer::markFrame(const GeBox2d&, const GeBox2d&, MnElement*) {}

void ReRenderer::markRect(const GePoint2d&, double, double, MnElement*) {}

void ReRenderer::markSpan(const GePoint2d&, const GePoint2d&, MnElement*) {}

bool ReRenderer::isVisibleX(double x, double width, double margin)
{
    double left = visibleBox.a.x;
    double right = visibleBox.b.x;
    return right >= x - margin && x + width + margin >= left;
}

bool ReRenderer::isVisible(double x, double y, double width, double height, double margin)
{
    double left = visibleBox.a.x;
    double top = visibleBox.a.y;
    double right = visibleBox.b.x;
    double bottom = visibleBox.b.y;
    return right >= x - margin && y + margin >= bottom && x + width + margin >= left && top >= y - height - margin;
}

void ReRenderer::updateVisibleBox()
{
    GeMatrix2d inverse = topTransform().inverse();
    visibleBox = GeBox2d(inverse.transform(viewTopLeft), inverse.transform(viewBottomRight));
}

void ReRenderer::pushScale(double centreX, double centreY, double factor)
{
    transforms.add(topTransform() * GeMatrix2d::scaling(centreX, centreY, factor));
    updateVisibleBox();
}

void ReRenderer::pushYRotation(double pivotX, double)
{
    transforms.add(topTransform() * GeMatrix2d::translation(pivotX, 0.0));
    updateVisibleBox();
}

void ReRenderer::popTransform()
{
    // An unbalanced pop must not take the identity away: every later push
    // and visibility test reads the top element.
    if (transforms.count() > 1)
        transforms.removeAt(transforms.count() - 1);
    updateVisibleBox();
}

void ReRenderer::pushDepth(double) {}

void ReRenderer::popDepth() {}

bool ReRenderer::measureText(const BcString& text, double size, int font, bool underline, double* x, double* y,
                             double* width, double* height)
{
    return measureTextExtent(text, size, font, underline, x, y, width, height);
}

void ReRenderer::fillTexturedQuad(double x1, double y1, double x2, double y2, double x3, double y3, double x4,
                                  double y4)
{
    fillQuad(x1, y1, x2, y2, x3, y3, x4, y4);
}

void ReRenderer::fillQuad3d(double x1, double y1, double, double x2, double y2, double, double x3, double y3, double,
                            double x4, double y4, double)
{
    fillQuad(x1, y1, x2, y2, x3, y3, x4, y4);
}

void ReRenderer::drawGuideLine(const EdGuideLine*) {}

void ReRenderer::setView(double centreX, double centreY, double width, double pixelWidth, double pixelHeight)
{
    viewWidth = width;
    // A window without width (minimised, not yet laid out) gets no height
    // rather than an infinite one.
    viewHeight = pixelWidth > 0.0 ? pixelHeight / pixelWidth * width : 0.0;
    viewTopLeft = GePoint2d(centreX - viewWidth / 2, centreY + viewHeight / 2);
    viewBottomRight = GePoint2d(centreX + viewWidth / 2, centreY - viewHeight / 2);
    transforms.removeAll();
    transforms.add(GeMatrix2d::identity);
    visibleBox = GeBox2d(viewTopLeft, viewBottomRight);
}

bool ReRenderer::render(QuorvaneDocument* document, double centreX, double centreY, double width, double pixelWidth,
                        double pixelHeight, int mouseX, int mouseY)
{
    MnCache cache;
    setView(centreX, centreY, width, pixelWidth, pixelHeight);
    this->mouseX = mouseX;
    this->mouseY = mouseY;
    extrusionHeight = 0.0;
    if (!begin(document, centreX, centreY, pixelWidth, pixelHeight))
        return false;

    ReSystem system(this);
    system.compose(document);

    if (std::hypot(dragEnd.x - dragStart.x, dragEnd.y - dragStart.y) > 1e-10)
        drawDashedRect(dragStart.x, dragStart.y, dragEnd.x, dragEnd.y);
    if (guideLines) {
        for (int i = 0; i < guideLines->count(); ++i)
            drawGuideLine((*guideLines)[i]);
        // The tool hands its lines over again before each frame.
        guideLines = nullptr;
    }
    end(pixelWidth, pixelHeight);
    return true;
}

bool ReRenderer::renderSheetPage(MnSheetMusic* sheet, int clefMode, int measuresPerSystem, double centreX,
                                 double centreY, double width, double pixelWidth, double pixelHeight)
{
    MnCache cache;
    setView(centreX, centreY, width, pixelWidth, pixelHeight);
    mouseX = 0;
    mouseY = 0;
    extrusionHeight = 0.0;
    if (!begin(nullptr, centreX, centreY, pixelWidth, pixelHeight))
        return false;

    ReSystem system(this);
    system.composeSheetPage(sheet, clefMode, measuresPerSystem);
    end(pixelWidth, pixelHeight);
    return true;
}
