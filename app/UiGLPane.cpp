#include "app/UiGLPane.h"

#include "app/UiQuorvaneView.h"

#include <wx/dcclient.h>

namespace {

wxGLAttributes attributesFor(const int* samples, int count, int& chosen)
{
    for (int i = 0; i < count; ++i) {
        wxGLAttributes attributes;
        attributes.PlatformDefaults().RGBA().DoubleBuffer().Depth(24);
        if (samples[i] > 0)
            attributes.SampleBuffers(1).Samplers(samples[i]);
        attributes.EndList();
        if (wxGLCanvas::IsDisplaySupported(attributes)) {
            chosen = samples[i];
            return attributes;
        }
    }
    chosen = 0;
    wxGLAttributes plain;
    plain.PlatformDefaults().RGBA().DoubleBuffer().Depth(24).EndList();
    if (wxGLCanvas::IsDisplaySupported(plain))
        return plain;
    wxGLAttributes fallback;
    fallback.Defaults().EndList();
    return fallback;
}

wxGLAttributes chosenAttributes(const int* samples, int count, int& chosen)
{
    static const int none[] = {0};
    return samples && count > 0 ? attributesFor(samples, count, chosen) : attributesFor(none, 1, chosen);
}

}

UiGLPane::UiGLPane(wxWindow* parent, int id, bool shareWithViews, const int* samples, int count)
    : wxGLCanvas(parent, chosenAttributes(samples, count, sampleCount), id, wxDefaultPosition, wxDefaultSize,
                 wxFULL_REPAINT_ON_RESIZE)
{
    // chosenAttributes ran before the members were initialised: ask again.
    chosenAttributes(samples, count, sampleCount);
    SetBackgroundStyle(wxBG_STYLE_PAINT);
    wxGLContext* shared = shareWithViews ? UiQuorvaneView::sharedGLContext() : nullptr;
    if (shared) {
        context = new wxGLContext(this, shared);
        if (context->IsOK()) {
            group = shared;
        } else {
            delete context;
            context = nullptr;
        }
    }
    if (!context) {
        context = new wxGLContext(this);
        if (context->IsOK()) {
            group = context;
        } else {
            delete context;
            context = nullptr;
        }
    }
    Bind(wxEVT_PAINT, [this](wxPaintEvent&) {
        wxPaintDC dc(this);
        if (paint)
            paint();
    });
}

UiGLPane::~UiGLPane()
{
    delete context;
}

bool UiGLPane::Host::activate()
{
    return pane.context && pane.IsShownOnScreen() && pane.context->SetCurrent(pane);
}
