#pragma once

#include "app/UiQuorvaneViewCore.h"
#include "editing/EdSelectionObserver.h"
#include "render/ReGLHost.h"

#include <wx/docview.h>
#include <wx/glcanvas.h>

class UiQuorvaneView;

// The score view's drawing window: an OpenGL canvas whose events become
// the view's plain-value input.
class UiViewCanvas : public wxGLCanvas
{
public:
    UiViewCanvas(wxWindow* parent, const wxGLAttributes& attributes, UiQuorvaneView& view);

private:
    void onPaint(wxPaintEvent& event);
    void onMouse(wxMouseEvent& event);
    void onKey(wxKeyEvent& event);
    UiQuorvaneView& view;
};

// The renderers' host over a canvas and its context.
class UiCanvasHost : public ReGLHost
{
public:
    UiCanvasHost(wxGLCanvas* canvas, wxGLContext* context) : canvas(canvas), context(context) {}
    bool isCurrent() const override;
    void swapBuffers() override;
    // The renderer asks for no entry point beyond OpenGL 1.x.
    void* procAddress(const char*) const override { return nullptr; }
    // Every view's context shares lists and textures with the process's first.
    const void* shareGroup() const override;

protected:
    bool activate() override;

private:
    wxGLCanvas* canvas;
    wxGLContext* context;
};

// The score view: one per document window, drawing the whole document into
// an OpenGL canvas that fills its child frame. Its logic is UiViewCore; this
// class gives it the window, the clock and the main frame.
class UiQuorvaneView : public wxView, public UiViewWindow
{
    wxDECLARE_DYNAMIC_CLASS(UiQuorvaneView);
public:
    UiQuorvaneView() = default;
    ~UiQuorvaneView() override;

    // The active document window's score view, or null.
    static UiQuorvaneView* activeView();
    // Deletes the context that every other one shares; the main frame calls
    // it last, when no view is left.
    static void releaseSharedContext();
    // That context, or null before the first view.
    static wxGLContext* sharedGLContext();

    UiViewCore* core() { return viewCore; }
    UiViewCanvas* canvas() { return drawingCanvas; }
    // Whether the canvas got multisampling, and with how many samples.
    int samples() const { return sampleCount; }

    bool OnCreate(wxDocument* document, long flags) override;
    void OnUpdate(wxView* sender, wxObject* hint) override;
    void OnDraw(wxDC*) override {}
    bool OnClose(bool deleteWindow) override;
    void OnChangeFilename() override;
    void OnActivateView(bool activate, wxView* activeView, wxView* deactiveView) override;

    // From the canvas.
    void paint();

    // UiViewWindow
    unsigned long long tickCount() override;
    void clientSize(int& width, int& height) override;
    void pointer(int& x, int& y) override;
    void present(const UiViewFrame& frame) override;
    bool playerSounding() override;
    void refreshPanels() override;
    void takeFocus() override;
    void screenToClient(int& x, int& y) override;
    void forwardKey(unsigned key, unsigned repeat, unsigned flags, bool down) override;
    bool rightButtonPans() override;
    int dragThreshold() override;
    bool pointerInWindow() override;
    void showContextMenu(int x, int y) override;
    UiFocusPane* focusedPane() override;
    void previewKey(int key) override;

private:
    // The application's own observer of the view's selection.
    class AppObserver : public EdSelectionObserver
    {
    public:
        void selectionChanged() override;
    };

    void notifyObservers();

    UiViewCore* viewCore = nullptr;
    UiViewCanvas* drawingCanvas = nullptr;
    wxGLContext* context = nullptr;
    UiCanvasHost* host = nullptr;
    AppObserver appObserver;
    bool ownsContext = true;
    bool cameraTaken = false;
    bool firstActivation = true;
    int sampleCount = 0;
};
