#include "commands/EdStartup.h"
#include "common/QuietGraphics.h"
#include "foundation/BcClassManager.h"
#include "platform/PlOffscreenContext.h"
#include "render/ReGLHost.h"

#include <gtest/gtest.h>

// SDL's audio output opens a session bus connection through libdbus, which
// keeps its allocations to the end on purpose; only those are not reported
// as leaks.
extern "C" const char* __lsan_default_suppressions()
{
    return "leak:libdbus-1.so\n";
}

// Installs what the application installs at start-up, with offscreen
// OpenGL hosts that need no display, and links the class registry, then
// runs the tests.
int main(int argc, char** argv)
{
    quietGraphicsThreads();
    EdStartup::install();
    ReGLHost::installOffscreenFactory(&ReGLHostOver<PlOffscreenContext>::create);
    BcClassManager::instance()->linkClasses();
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
