#pragma once

// An OpenGL context without a window or a display: desktop OpenGL in the
// compatibility profile on Mesa's surfaceless EGL platform (the software
// rasteriser serves where there is no GPU), drawing into a framebuffer
// object of its own. Every offscreen context of the process shares display
// lists and textures with the others.
//
// Contexts are current per thread; use one from the thread that made it
// current.
class PlOffscreenContext
{
public:
    // A context whose drawing target is a width x height colour buffer;
    // null when EGL, the surfaceless platform, a compatibility context or
    // the framebuffer cannot be had.
    static PlOffscreenContext* create(int width, int height);
    ~PlOffscreenContext();
    PlOffscreenContext(const PlOffscreenContext&) = delete;
    PlOffscreenContext& operator=(const PlOffscreenContext&) = delete;

    // Makes the context current on this thread and binds its framebuffer
    // for drawing and reading.
    bool makeCurrent();
    bool isCurrent() const;
    // There is nothing to show: finishes the drawing so it can be read.
    void swapBuffers();
    // An OpenGL entry point by name, or null.
    void* procAddress(const char* name) const;
    // The same for every offscreen context: they share lists and textures.
    const void* shareGroup() const;

    int width() const { return targetWidth; }
    int height() const { return targetHeight; }

private:
    PlOffscreenContext() = default;

    void* context = nullptr;
    unsigned framebuffer = 0;
    unsigned colorBuffer = 0;
    int targetWidth = 0;
    int targetHeight = 0;
};
