#pragma once

#include "render/ReGLHost.h"

#include <wx/glcanvas.h>

#include <functional>

// The OpenGL drawing surface of a tool window: a canvas child of the dialog
// (a dialog cannot be the surface itself) with a context of its own, either
// sharing the score views' lists and textures or private, and the host
// through which a renderer draws on it.
class UiGLPane : public wxGLCanvas
{
public:
    // samples: the multisample counts to try, best first, ending with 0
    // (none); the first the display supports is taken.
    UiGLPane(wxWindow* parent, int id, bool shareWithViews, const int* samples = nullptr, int sampleCount = 0);
    ~UiGLPane() override;

    bool hasContext() const { return context != nullptr; }
    ReGLHost* host() { return &glHost; }
    // The samples the canvas got (0 none).
    int samples() const { return sampleCount; }

    // Painting and the client size's changes go here.
    std::function<void()> paint;

private:
    class Host : public ReGLHost
    {
    public:
        explicit Host(UiGLPane& pane) : pane(pane) {}
        bool isCurrent() const override { return ReGLHost::current() == this; }
        void swapBuffers() override { pane.SwapBuffers(); }
        void* procAddress(const char*) const override { return nullptr; }
        const void* shareGroup() const override { return pane.group; }

    protected:
        bool activate() override;

    private:
        UiGLPane& pane;
    };

    wxGLContext* context = nullptr;
    const void* group = nullptr;
    Host glHost{*this};
    int sampleCount = 0;
};
