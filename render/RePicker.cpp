#include "render/RePicker.h"

#include "foundation/BcClassManager.h"

BC_IMPLEMENT_CREATABLE_CLASS(RePicker)

RePicker::RePicker() = default;

RePicker::~RePicker() = default;

void RePicker::setPickPoint(const GePoint2d& point)
{
    pickPoint = point;
    updateLocalPickPoint();
    hitElement = nullptr;
    hitPath = EdPath();
    clipOn = false;
    clipX = 0.0;
}

bool RePicker::begin(QuorvaneDocument*, double, double, double, double)
{
    return true;
}

void RePicker::end(double, double) {}

bool RePicker::isClipped() const
{
    return clipOn && clipX > pickPoint.x;
}

void RePicker::hit(MnElement* element)
{
    hitElement = element;
    hitPath = pickPath;
}

void RePicker::markFrame(const GeBox2d& outer, const GeBox2d& inner, MnElement* element)
{
    if (isClipped())
        return;
    if (outer.contains(localPickPoint) && !inner.contains(localPickPoint))
        hit(element);
}

void RePicker::markRect(const GePoint2d& corner, double width, double height, MnElement* element)
{
    if (isClipped())
        return;
    if (localPickPoint.isInRect(corner, width, height))
        hit(element);
}

void RePicker::markSpan(const GePoint2d& from, const GePoint2d& to, MnElement* element)
{
    RePicker::markRect(from, to.x - from.x, to.y - from.y, element);
}

bool RePicker::isVisibleX(double, double, double)
{
    return true;
}

bool RePicker::isVisible(double, double, double, double, double)
{
    return true;
}

void RePicker::updateLocalPickPoint()
{
    localPickPoint = topTransform().inverse().transform(pickPoint);
}

void RePicker::pushScale(double centreX, double centreY, double factor)
{
    ReRenderer::pushScale(centreX, centreY, factor);
    updateLocalPickPoint();
}

void RePicker::pushYRotation(double pivotX, double degrees)
{
    ReRenderer::pushYRotation(pivotX, degrees);
    updateLocalPickPoint();
}

void RePicker::popTransform()
{
    ReRenderer::popTransform();
    updateLocalPickPoint();
}

void RePicker::setColor(int, int, int, int) {}

void RePicker::fillQuad(double, double, double, double, double, double, double, double) {}

void RePicker::fillMesh(const double*, int, const int*, int, double, double, double, double) {}

void RePicker::fillEllipse(double, double, double, double, double, int) {}

void RePicker::strokeCurve(const GeSpline2d*, double, double) {}

void RePicker::strokeArc(double, double, double, double, double, double, double) {}

void RePicker::drawDashedRect(double, double, double, double) {}

void RePicker::drawText(const BcString&, double, double, double, int, bool) {}

void RePicker::setClip(bool on, double minimumX)
{
    clipOn = on;
    clipX = on ? topTransform().transform(GePoint2d(minimumX, 0.0)).x : 0.0;
}
