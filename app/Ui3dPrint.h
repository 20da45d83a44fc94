#pragma once

#include "app/Ui3dPrintScene.h"
#include "app/UiDialog.h"

#include <functional>

class UiGLPane;

// 3D Printing: the first page of a sheet music as a relief, lit and in
// perspective, to be turned with the left button, moved with the right one
// and brought nearer with the wheel. Its OpenGL context is its own, with
// the most samples the display offers. It writes no file.
class Ui3dPrint : public UiDialog
{
public:
    static constexpr unsigned templateId = 121;
    // The samples asked for, best first; then none.
    static const int sampleCounts[4];

    explicit Ui3dPrint(wxWindow* parent);

    // The mesh of the active document; false when there is nothing to show.
    bool buildMesh();
    Ui3dPrintScene& scene() { return view; }
    UiGLPane* canvas() const { return pane; }
    // Draws and shows a frame; false when nothing was drawn.
    bool draw();

    // Tools/3D Printing: false, with no window, when there is no mesh.
    static bool run();
    // Called with the window once it shows, inside its modal loop (tests).
    static void setOpenedHook(std::function<void(Ui3dPrint&)> hook);

private:
    void mouse(wxMouseEvent& event);

    Ui3dPrintScene view;
    UiGLPane* pane = nullptr;
};
