#include "render/ReParallax.h"

#include "foundation/BcSettings.h"
#include "model/MnCache.h"
#include "model/MnScore.h"
#include "model/MnStaff.h"
#include "render/ReGLHost.h"
#include "render/ReSystem.h"

#include <GL/gl.h>
#include <GL/glu.h>

#include <cmath>
#include <limits>

BC_IMPLEMENT_CREATABLE_CLASS(ReParallax)

ReParallax::ReParallax() = default;

ReParallax::~ReParallax() = default;

double ReParallax::visibleHalfWidth() const
{
    if (!(viewHeight > 0) || !(viewWidth > 0))
        return 0.0;
    return std::fabs(std::tan(fieldOfView * M_PI / 180.0)) * (eyeDistance - deepest) * viewWidth / viewHeight;
}

bool ReParallax::begin(QuorvaneDocument*, double centreX, double centreY, double pixelWidth, double pixelHeight)
{
    if (!hasCurrentContext() || !(pixelWidth > 0) || !(pixelHeight > 0))
        return false;
    resetDrawingState();
    glViewport(0, 0, GLsizei(pixelWidth), GLsizei(pixelHeight));
    glMatrixMode(GL_PROJECTION);
    glLoadIdentity();
    gluPerspective(fieldOfView, pixelWidth / pixelHeight, 1.0, 1000.0);
    glMatrixMode(GL_MODELVIEW);
    glLoadIdentity();
    gluLookAt(centreX, centreY, eyeDistance, centreX, centreY, 0.0, 0.0, 1.0, 0.0);
    GLint boundFramebuffer = 0;
    glGetIntegerv(GL_DRAW_FRAMEBUFFER_BINDING, &boundFramebuffer);
    if (boundFramebuffer == 0)
        glDrawBuffer(GL_BACK);
    // No depth test: later drawing covers earlier drawing.
    glDisable(GL_DEPTH_TEST);
    int color = BcSettings::current().value(BcSettings::backgroundColor);
    glClearColor((color & 0xFF) / 255.0f, ((color >> 8) & 0xFF) / 255.0f, ((color >> 16) & 0xFF) / 255.0f, 1.0f);
    glClear(GL_COLOR_BUFFER_BIT);
    return true;
}

void ReParallax::end(double, double)
{
    glFlush();
    if (host())
        host()->swapBuffers();
}

bool ReParallax::isVisibleX(double x, double width, double margin)
{
    const double h = visibleHalfWidth();
    const double c = (viewTopLeft.x + viewBottomRight.x) / 2;
    return c + h >= x - margin && x + width + margin >= c - h;
}

bool ReParallax::isVisible(double x, double, double width, double, double margin)
{
    return isVisibleX(x, width, margin);
}

void ReParallax::pushDepth(double z)
{
    glMatrixMode(GL_MODELVIEW);
    glPushMatrix();
    glTranslated(0.0, 0.0, z);
}

void ReParallax::popDepth()
{
    glMatrixMode(GL_MODELVIEW);
    glPopMatrix();
}

void ReParallax::fillQuad3d(double x1, double y1, double z1, double x2, double y2, double z2, double x3, double y3,
                            double z3, double x4, double y4, double z4)
{
    glBegin(GL_QUADS);
    glVertex3d(x1, y1, z1);
    glVertex3d(x2, y2, z2);
    glVertex3d(x3, y3, z3);
    glVertex3d(x4, y4, z4);
    glEnd();
}

bool ReParallax::render(MnScore* score, double centreX, double centreY, double width, double pixelWidth,
                        double pixelHeight)
{
    if (!score || score->staffCount() == 0 || !(pixelWidth > 0) || !(pixelHeight > 0) || !(width > 0))
        return false;
    MnCache cache;
    setView(centreX, centreY, width, pixelWidth, pixelHeight);
    deepest = -10.0 * (score->staffCount() - 1);
    // Deeper staves show more than the view box: widen what the composers
    // may skip to what the eye sees at the deepest staff, at any height.
    const double h = visibleHalfWidth();
    const double far = std::numeric_limits<double>::max() / 4;
    viewTopLeft = GePoint2d(centreX - h, far);
    viewBottomRight = GePoint2d(centreX + h, -far);
    updateVisibleBox();
    mouseX = 0;
    mouseY = 0;
    extrusionHeight = 0.0;
    if (!begin(nullptr, centreX, centreY, pixelWidth, pixelHeight))
        return false;
    ReSystem system(this);
    system.depthMode = true;
    const MnStaff* first = score->staff(0);
    system.composeScore(score, 0, first->measureCount(), score->position(), 2.0, 0);
    end(pixelWidth, pixelHeight);
    return true;
}
