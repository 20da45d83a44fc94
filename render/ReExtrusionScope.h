#pragma once

#include "render/ReRenderer.h"

// Gives what is drawn while it lives the 3-D height of its kind (paper,
// staff furniture) and puts the renderer's old height back at its end.
class ReExtrusionScope
{
public:
    ReExtrusionScope(ReRenderer* renderer, double height) : renderer(renderer), saved(renderer->extrusionHeight)
    {
        renderer->extrusionHeight = height;
    }
    ~ReExtrusionScope() { renderer->extrusionHeight = saved; }
    ReExtrusionScope(const ReExtrusionScope&) = delete;
    ReExtrusionScope& operator=(const ReExtrusionScope&) = delete;

private:
    ReRenderer* renderer;
    double saved;
};
