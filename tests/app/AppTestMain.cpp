#include "app/Settings.h"
#include "app/UiManuscriptPaperViewport.h"
#include "commands/EdStartup.h"
#include "common/QuietGraphics.h"
#include "foundation/BcClassManager.h"
#include "foundation/BcClassTable.h"
#include "platform/PlOffscreenContext.h"
#include "render/ReGLHost.h"

#include <glib.h>
#include <gtest/gtest.h>
#include <wx/app.h>
#include <wx/init.h>
#include <wx/log.h>
#include <wx/utils.h>

#include <cstdio>
#include <cstdlib>

// The toolkit's system libraries keep allocations to the end on purpose;
// only those are not reported as leaks (the list also serves the editor
// programs the tests start). Also while ctest lists the tests.
extern "C" const char* __lsan_default_options()
{
    return "suppressions=" QRV_SOURCE_DIR "/tests/app/lsan.supp:print_suppressions=0";
}

// The toolkit's worker threads (GLib's thread pool) end by themselves from
// half a second to fifteen seconds after their last task. One that ends just
// as the leak checker stops the world at exit crashes the checker, and the
// test that passed is reported as failed. Idle workers wait instead, until
// the process ends them.
static void keepIdleWorkerThreads()
{
    g_thread_pool_set_max_unused_threads(-1);
    g_thread_pool_set_max_idle_time(0);
}

// Installs what the application installs at start-up, starts the toolkit
// (the tests need a display), then runs the tests.
int main(int argc, char** argv)
{
    quietGraphicsThreads();
    keepIdleWorkerThreads();
    EdStartup::install();
    ReGLHost::installOffscreenFactory(&ReGLHostOver<PlOffscreenContext>::create);
    BcClassTable::setFactory("Settings", &Settings::newInstance);
    BcClassTable::setFactory("UiManuscriptPaperViewport", &UiManuscriptPaperViewport::newInstance);
    BcClassManager::instance()->linkClasses();
    ::testing::InitGoogleTest(&argc, argv);
    // Under a heavily loaded shared display the first connection can be
    // refused; the toolkit then fails without a word, so say so and try
    // again before giving up. Its own complaint is dropped: kept, it would
    // come up as a modal message box once a later attempt succeeds.
    bool started = false;
    for (int attempt = 1; attempt <= 5 && !started; ++attempt) {
        wxApp::SetInstance(new wxApp);
        {
            wxLogNull quiet;
            started = wxEntryStart(argc, argv);
        }
        if (!started) {
            const char* display = std::getenv("DISPLAY");
            std::fprintf(stderr, "The toolkit could not open the display %s (attempt %d of 5)\n",
                         display ? display : "(none)", attempt);
            if (attempt < 5)
                wxMilliSleep(1000);
        }
    }
    if (!started)
        return 1;
    int status = RUN_ALL_TESTS();
    wxEntryCleanup();
    return status;
}
