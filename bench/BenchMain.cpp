#include "commands/EdStartup.h"
#include "foundation/BcClassManager.h"
#include "platform/PlOffscreenContext.h"
#include "render/ReGLHost.h"

#include <benchmark/benchmark.h>

// Installs what the application installs at start-up and links the class
// registry, so that what is measured is what the application runs.
int main(int argc, char** argv)
{
    EdStartup::install();
    ReGLHost::installOffscreenFactory(&ReGLHostOver<PlOffscreenContext>::create);
    BcClassManager::instance()->linkClasses();
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv))
        return 1;
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
