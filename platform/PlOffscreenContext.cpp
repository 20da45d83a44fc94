#include "platform/PlOffscreenContext.h"

#include <EGL/egl.h>
#include <EGL/eglext.h>
#include <GL/gl.h>
#include <GL/glext.h>

// The framebuffer entry points, fetched by name once a context exists.
struct PlFramebufferCalls
{
    PFNGLGENFRAMEBUFFERSPROC genFramebuffers = nullptr;
    PFNGLBINDFRAMEBUFFERPROC bindFramebuffer = nullptr;
    PFNGLDELETEFRAMEBUFFERSPROC deleteFramebuffers = nullptr;
    PFNGLGENRENDERBUFFERSPROC genRenderbuffers = nullptr;
    PFNGLBINDRENDERBUFFERPROC bindRenderbuffer = nullptr;
    PFNGLDELETERENDERBUFFERSPROC deleteRenderbuffers = nullptr;
    PFNGLRENDERBUFFERSTORAGEPROC renderbufferStorage = nullptr;
    PFNGLFRAMEBUFFERRENDERBUFFERPROC framebufferRenderbuffer = nullptr;
    PFNGLCHECKFRAMEBUFFERSTATUSPROC checkFramebufferStatus = nullptr;

    bool load()
    {
        genFramebuffers = reinterpret_cast<PFNGLGENFRAMEBUFFERSPROC>(eglGetProcAddress("glGenFramebuffers"));
        bindFramebuffer = reinterpret_cast<PFNGLBINDFRAMEBUFFERPROC>(eglGetProcAddress("glBindFramebuffer"));
        deleteFramebuffers =
            reinterpret_cast<PFNGLDELETEFRAMEBUFFERSPROC>(eglGetProcAddress("glDeleteFramebuffers"));
        genRenderbuffers = reinterpret_cast<PFNGLGENRENDERBUFFERSPROC>(eglGetProcAddress("glGenRenderbuffers"));
        bindRenderbuffer = reinterpret_cast<PFNGLBINDRENDERBUFFERPROC>(eglGetProcAddress("glBindRenderbuffer"));
        deleteRenderbuffers =
            reinterpret_cast<PFNGLDELETERENDERBUFFERSPROC>(eglGetProcAddress("glDeleteRenderbuffers"));
        renderbufferStorage =
            reinterpret_cast<PFNGLRENDERBUFFERSTORAGEPROC>(eglGetProcAddress("glRenderbufferStorage"));
        framebufferRenderbuffer =
            reinterpret_cast<PFNGLFRAMEBUFFERRENDERBUFFERPROC>(eglGetProcAddress("glFramebufferRenderbuffer"));
        checkFramebufferStatus =
            reinterpret_cast<PFNGLCHECKFRAMEBUFFERSTATUSPROC>(eglGetProcAddress("glCheckFramebufferStatus"));
        return genFramebuffers && bindFramebuffer && deleteFramebuffers && genRenderbuffers && bindRenderbuffer
            && deleteRenderbuffers && renderbufferStorage && framebufferRenderbuffer && checkFramebufferStatus;
    }
};

// The process's surfaceless display and the context every offscreen
// context shares with. The root is never made current for drawing and
// lives as long as the process, so the shared lists and textures outlive
// any one export.
struct PlOffscreenDisplay
{
    EGLDisplay display = EGL_NO_DISPLAY;
    EGLContext root = EGL_NO_CONTEXT;
    PlFramebufferCalls calls;
    bool usable = false;

    PlOffscreenDisplay()
    {
        auto getPlatformDisplay =
            reinterpret_cast<PFNEGLGETPLATFORMDISPLAYEXTPROC>(eglGetProcAddress("eglGetPlatformDisplayEXT"));
        if (!getPlatformDisplay)
            return;
        display = getPlatformDisplay(EGL_PLATFORM_SURFACELESS_MESA, EGL_DEFAULT_DISPLAY, nullptr);
        EGLint major = 0, minor = 0;
        if (display == EGL_NO_DISPLAY || !eglInitialize(display, &major, &minor))
            return;
        if (!eglBindAPI(EGL_OPENGL_API))
            return;
        root = newContext(EGL_NO_CONTEXT);
        usable = root != EGL_NO_CONTEXT && calls.load();
    }

    EGLContext newContext(EGLContext shareWith) const
    {
        static const EGLint attributes[] = {EGL_CONTEXT_OPENGL_PROFILE_MASK,
                                            EGL_CONTEXT_OPENGL_COMPATIBILITY_PROFILE_BIT, EGL_NONE};
        return eglCreateContext(display, EGL_NO_CONFIG_KHR, shareWith, attributes);
    }

    static PlOffscreenDisplay& instance()
    {
        static PlOffscreenDisplay shared;
        return shared;
    }
};

// Makes a context current for a moment and puts the earlier one back.
class PlCurrentContextSwitch
{
public:
    PlCurrentContextSwitch(EGLDisplay display, EGLContext context)
        : display(display), earlierDisplay(eglGetCurrentDisplay()), earlier(eglGetCurrentContext()),
          earlierDraw(eglGetCurrentSurface(EGL_DRAW)), earlierRead(eglGetCurrentSurface(EGL_READ))
    {
        ok = eglMakeCurrent(display, EGL_NO_SURFACE, EGL_NO_SURFACE, context);
    }
    ~PlCurrentContextSwitch()
    {
        if (earlier != EGL_NO_CONTEXT)
            eglMakeCurrent(earlierDisplay, earlierDraw, earlierRead, earlier);
        else
            eglMakeCurrent(display, EGL_NO_SURFACE, EGL_NO_SURFACE, EGL_NO_CONTEXT);
    }
    bool ok = false;

private:
    EGLDisplay display;
    EGLDisplay earlierDisplay;
    EGLContext earlier;
    EGLSurface earlierDraw;
    EGLSurface earlierRead;
};

PlOffscreenContext* PlOffscreenContext::create(int width, int height)
{
    PlOffscreenDisplay& shared = PlOffscreenDisplay::instance();
    if (!shared.usable || width < 1 || height < 1)
        return nullptr;
    EGLContext context = shared.newContext(shared.root);
    if (context == EGL_NO_CONTEXT)
        return nullptr;

    PlOffscreenContext* result = new PlOffscreenContext;
    result->context = context;
    result->targetWidth = width;
    result->targetHeight = height;

    bool complete = false;
    {
        PlCurrentContextSwitch current(shared.display, context);
        GLint largest = 0;
        if (current.ok) {
            glGetIntegerv(GL_MAX_RENDERBUFFER_SIZE, &largest);
        }
        if (current.ok && width <= largest && height <= largest) {
            const PlFramebufferCalls& gl = shared.calls;
            gl.genFramebuffers(1, &result->framebuffer);
            gl.bindFramebuffer(GL_FRAMEBUFFER, result->framebuffer);
            gl.genRenderbuffers(1, &result->colorBuffer);
            gl.bindRenderbuffer(GL_RENDERBUFFER, result->colorBuffer);
            gl.renderbufferStorage(GL_RENDERBUFFER, GL_RGBA8, width, height);
            gl.framebufferRenderbuffer(GL_FRAMEBUFFER, GL_COLOR_ATTACHMENT0, GL_RENDERBUFFER, result->colorBuffer);
            complete = gl.checkFramebufferStatus(GL_FRAMEBUFFER) == GL_FRAMEBUFFER_COMPLETE;
            gl.bindFramebuffer(GL_FRAMEBUFFER, 0);
        }
    }
    if (!complete) {
        delete result;
        return nullptr;
    }
    return result;
}

PlOffscreenContext::~PlOffscreenContext()
{
    PlOffscreenDisplay& shared = PlOffscreenDisplay::instance();
    if (context == EGL_NO_CONTEXT)
        return;
    bool wasCurrent = isCurrent();
    {
        PlCurrentContextSwitch current(shared.display, context);
        if (current.ok) {
            if (framebuffer)
                shared.calls.deleteFramebuffers(1, &framebuffer);
            if (colorBuffer)
                shared.calls.deleteRenderbuffers(1, &colorBuffer);
        }
    }
    // A context that dies while current leaves none current, rather than
    // staying alive until it is released.
    if (wasCurrent)
        eglMakeCurrent(shared.display, EGL_NO_SURFACE, EGL_NO_SURFACE, EGL_NO_CONTEXT);
    eglDestroyContext(shared.display, context);
}

bool PlOffscreenContext::makeCurrent()
{
    PlOffscreenDisplay& shared = PlOffscreenDisplay::instance();
    if (!eglMakeCurrent(shared.display, EGL_NO_SURFACE, EGL_NO_SURFACE, context))
        return false;
    shared.calls.bindFramebuffer(GL_FRAMEBUFFER, framebuffer);
    glViewport(0, 0, targetWidth, targetHeight);
    return true;
}

bool PlOffscreenContext::isCurrent() const
{
    return context != EGL_NO_CONTEXT && eglGetCurrentContext() == context;
}

void PlOffscreenContext::swapBuffers()
{
    if (isCurrent())
        glFinish();
}

void* PlOffscreenContext::procAddress(const char* name) const
{
    return name ? reinterpret_cast<void*>(eglGetProcAddress(name)) : nullptr;
}

const void* PlOffscreenContext::shareGroup() const
{
    return PlOffscreenDisplay::instance().root;
}
