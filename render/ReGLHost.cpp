#include "render/ReGLHost.h"

// The renderers draw on the interface thread only; these are read and
// written there.
static ReGLHost* currentHost = nullptr;
static ReGLHost::OffscreenFactory offscreenFactory = nullptr;

ReGLHost::~ReGLHost()
{
    if (currentHost == this)
        currentHost = nullptr;
}

bool ReGLHost::makeCurrent()
{
    if (!activate())
        return false;
    currentHost = this;
    return true;
}

ReGLHost* ReGLHost::current()
{
    return currentHost;
}

void ReGLHost::installOffscreenFactory(OffscreenFactory factory)
{
    offscreenFactory = factory;
}

ReGLHost* ReGLHost::newOffscreen(int width, int height)
{
    return offscreenFactory ? offscreenFactory(width, height) : nullptr;
}
