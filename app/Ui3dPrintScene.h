#pragma once

#include <vector>

class QuorvaneDocument;
class EdSelection;

// What the 3-D print viewer shows and how the mouse moves it: the triangle
// mesh of a page's relief, lit, seen in perspective from a camera above
// the page that the left button tilts and turns, the right button pans and
// the wheel brings nearer or farther. Drawing needs a current OpenGL
// context with the fixed-function pipeline and GLU; the scene makes none.
class Ui3dPrintScene
{
public:
    // Builds the mesh of page 0 of the first sheet music of the selection
    // (any selection's sheets, else the document's first); false, the mesh
    // left empty, without a document, a sheet or any triangle.
    bool buildMesh(QuorvaneDocument* document, const EdSelection* selection);
    int pointCount() const { return int(indices.size()); }

    // The camera as the window opens: 100 above the page, level, unturned.
    void resetCamera();
    // A button went down or up at (x, y) in client pixels.
    void press(int x, int y);
    void release() { dragging = false; }
    // The pointer moved while a button may be down: the right button (it
    // wins with both down) pans, the left one tilts and turns a quarter of
    // a degree per pixel. False when nothing moved.
    bool move(int x, int y, bool rightButton);
    // One notch toward the user (delta > 0) nears by 10, never below 10.
    void wheel(int delta);

    // Draws the mesh into a client of width x height pixels (nothing for
    // an empty client). The caller swaps the buffers.
    bool draw(int width, int height) const;

    // Angles are kept within 0..360 by whole turns.
    static double wrapDegrees(double degrees);

    double panX = 0.0;
    double panY = 0.0;
    double distance = 100.0;
    double tilt = 0.0;
    double turn = 0.0;
    bool dragging = false;
    int lastX = 0;
    int lastY = 0;

    std::vector<double> points;   // x, y, z of each point
    std::vector<double> normals;  // a unit normal per point
    std::vector<unsigned> indices;
};
