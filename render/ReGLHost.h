#pragma once

// What the OpenGL renderers need of the window system: a context that can
// be made current, the buffer swap, the lookup of entry points by name and
// the share group whose contexts share display lists and textures. The
// renderers create no context themselves; the shell wraps its window's
// context in a host, and offscreen hosts (for image export and for tests)
// come from a factory that the shell or the test main installs.
class ReGLHost
{
public:
    virtual ~ReGLHost();

    // Makes the context current on this thread and its drawing target the
    // one drawn into; the host is then the current one.
    bool makeCurrent();
    virtual bool isCurrent() const = 0;
    virtual void swapBuffers() = 0;
    // An OpenGL entry point by name, or null.
    virtual void* procAddress(const char* name) const = 0;
    // Contexts with the same share group share display lists and textures;
    // the group lives as long as the process.
    virtual const void* shareGroup() const = 0;

    // The host last made current through makeCurrent, while it lives.
    static ReGLHost* current();

    // Makes an offscreen host drawing into a width x height target, or
    // null. The factory is installed at start-up (not owned by anyone).
    using OffscreenFactory = ReGLHost* (*)(int width, int height);
    static void installOffscreenFactory(OffscreenFactory factory);
    // A new offscreen host (the caller owns it), or null when no factory is
    // installed or the host could not be made.
    static ReGLHost* newOffscreen(int width, int height);

protected:
    virtual bool activate() = 0;
};

// A host over a platform context that offers the same operations under
// the same names (create, makeCurrent, isCurrent, swapBuffers, procAddress,
// shareGroup), so that the shell and the tests install the platform's
// offscreen contexts without the render layer knowing them:
//
//     ReGLHost::installOffscreenFactory(&ReGLHostOver<PlOffscreenContext>::create);
template <class Context>
class ReGLHostOver : public ReGLHost
{
public:
    explicit ReGLHostOver(Context* context) : context(context) {}
    ~ReGLHostOver() override { delete context; }

    static ReGLHost* create(int width, int height)
    {
        Context* context = Context::create(width, height);
        return context ? new ReGLHostOver(context) : nullptr;
    }

    bool isCurrent() const override { return context->isCurrent(); }
    void swapBuffers() override { context->swapBuffers(); }
    void* procAddress(const char* name) const override { return context->procAddress(name); }
    const void* shareGroup() const override { return context->shareGroup(); }

protected:
    bool activate() override { return context->makeCurrent(); }

private:
    Context* context;
};
