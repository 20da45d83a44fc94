#include "app/Ui3dPrintScene.h"

#include "editing/EdSelection.h"
#include "model/MnSheetMusic.h"
#include "render/Re3dPrint.h"

#include <GL/gl.h>
#include <GL/glu.h>

#include <cmath>

bool Ui3dPrintScene::buildMesh(QuorvaneDocument* document, const EdSelection* selection)
{
    points.clear();
    normals.clear();
    indices.clear();
    if (!document)
        return false;
    Re3dPrint renderer;
    if (selection)
        for (int i = 0; i < selection->count(); ++i)
            if (MnElement* element = selection->element(i))
                if (element->isKindOf(MnSheetMusic::staticClass()))
                    renderer.add(element);
    BcArray<GePoint3d> meshPoints;
    BcArray<GeVector3d> meshNormals;
    if (!renderer.buildPageMesh(document, &meshPoints, &meshNormals))
        return false;
    const int n = meshPoints.count();
    if (n <= 0 || meshNormals.count() != n)
        return false;
    points.resize(size_t(n) * 3);
    normals.resize(size_t(n) * 3);
    indices.resize(size_t(n));
    for (int i = 0; i < n; ++i) {
        points[size_t(i) * 3] = meshPoints[i].x;
        points[size_t(i) * 3 + 1] = meshPoints[i].y;
        points[size_t(i) * 3 + 2] = meshPoints[i].z;
        normals[size_t(i) * 3] = meshNormals[i].x;
        normals[size_t(i) * 3 + 1] = meshNormals[i].y;
        normals[size_t(i) * 3 + 2] = meshNormals[i].z;
        indices[size_t(i)] = unsigned(i);
    }
    return true;
}

void Ui3dPrintScene::resetCamera()
{
    distance = 100.0;
    panX = panY = tilt = turn = 0.0;
    dragging = false;
}

void Ui3dPrintScene::press(int x, int y)
{
    dragging = true;
    lastX = x;
    lastY = y;
}

double Ui3dPrintScene::wrapDegrees(double degrees)
{
    if (!std::isfinite(degrees))
        return 0.0;
    // Whole turns come off above 360 and go on below 0; 360 itself stays.
    if (degrees > 360.0) {
        degrees = std::fmod(degrees, 360.0);
        if (degrees == 0.0)
            degrees = 360.0;
    } else if (degrees < 0.0) {
        degrees = std::fmod(degrees, 360.0);
        if (degrees < 0.0)
            degrees += 360.0;
    }
    return degrees;
}

bool Ui3dPrintScene::move(int x, int y, bool rightButton)
{
    if (!dragging)
        return false;
    if (rightButton) {
        // The page follows the hand.
        panX -= (x - lastX) / 10.0;
        panY += (y - lastY) / 10.0;
    } else {
        tilt = wrapDegrees(tilt + (y - lastY) * 0.25);
        turn = wrapDegrees(turn + (x - lastX) * 0.25);
    }
    lastX = x;
    lastY = y;
    return true;
}

void Ui3dPrintScene::wheel(int delta)
{
    distance += delta > 0 ? -10.0 : 10.0;
    if (distance < 10.0)
        distance = 10.0;
}

bool Ui3dPrintScene::draw(int width, int height) const
{
    if (width <= 0 || height <= 0)
        return false;
    glViewport(0, 0, width, height);
    glMatrixMode(GL_PROJECTION);
    glLoadIdentity();
    gluPerspective(60.0, double(width) / double(height), 1.0, 1000.0);
    glMatrixMode(GL_MODELVIEW);
    glLoadIdentity();
    gluLookAt(panX, panY, distance, panX, panY, 0.0, 0.0, 1.0, 0.0);
    GLint boundFramebuffer = 0;
    glGetIntegerv(GL_DRAW_FRAMEBUFFER_BINDING, &boundFramebuffer);
    if (boundFramebuffer == 0)
        glDrawBuffer(GL_BACK);
    const float grey = 127.0f / 255.0f;
    glClearColor(grey, grey, grey, 1.0f);
    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);

    glShadeModel(GL_SMOOTH);
    const GLfloat ambient[] = {0.5f, 0.5f, 0.5f, 1.0f};
    const GLfloat diffuse[] = {1.0f, 1.0f, 1.0f, 1.0f};
    const GLfloat specular[] = {1.0f, 1.0f, 1.0f, 1.0f};
    const GLfloat light[] = {0.0f, 1.0f, 1.0f, 0.0f};
    glMaterialfv(GL_FRONT, GL_AMBIENT, ambient);
    glMaterialfv(GL_FRONT, GL_DIFFUSE, diffuse);
    glMaterialfv(GL_FRONT, GL_SPECULAR, specular);
    glMaterialf(GL_FRONT, GL_SHININESS, 50.0f);
    glLightfv(GL_LIGHT0, GL_POSITION, light);
    glEnable(GL_LIGHTING);
    glEnable(GL_LIGHT0);
    glEnable(GL_DEPTH_TEST);

    glRotated(tilt, 1.0, 0.0, 0.0);
    glRotated(turn, 0.0, 1.0, 0.0);
    glTranslated(-120.0, -160.0, 0.0);
    if (!indices.empty()) {
        glEnableClientState(GL_VERTEX_ARRAY);
        glEnableClientState(GL_NORMAL_ARRAY);
        glVertexPointer(3, GL_DOUBLE, 0, points.data());
        glNormalPointer(GL_DOUBLE, 0, normals.data());
        glDrawElements(GL_TRIANGLES, GLsizei(indices.size()), GL_UNSIGNED_INT, indices.data());
        glDisableClientState(GL_NORMAL_ARRAY);
        glDisableClientState(GL_VERTEX_ARRAY);
    }
    glDisable(GL_LIGHTING);
    glDisable(GL_LIGHT0);
    glDisable(GL_DEPTH_TEST);
    glFlush();
    return true;
}
