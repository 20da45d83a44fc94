#include "app/Settings.h"
#include "app/UiManuscriptPaperViewport.h"
#include "commands/EdStartup.h"
#include "common/QuietGraphics.h"
#include "foundation/BcClassManager.h"
#include "foundation/BcClassTable.h"
#include "platform/PlOffscreenContext.h"
#include "render/ReGLHost.h"

#include <gtest/gtest.h>
#include <wx/app.h>
#include <wx/init.h>

// The toolkit's system libraries keep allocations to the end on purpose;
// only those are not reported as leaks (the list also serves the editor
// programs the tests start). Also while ctest lists the tests.
extern "C" const char* __lsan_default_options()
{
    return "suppressions=" QRV_SOURCE_DIR "/tests/app/lsan.supp:print_suppressions=0";
}

// Installs what the application installs at start-up, starts the toolkit
// (the tests need a display), then runs the tests.
int main(int argc, char** argv)
{
    quietGraphicsThreads();
    EdStartup::install();
    ReGLHost::installOffscreenFactory(&ReGLHostOver<PlOffscreenContext>::create);
    BcClassTable::setFactory("Settings", &Settings::newInstance);
    BcClassTable::setFactory("UiManuscriptPaperViewport", &UiManuscriptPaperViewport::newInstance);
    BcClassManager::instance()->linkClasses();
    ::testing::InitGoogleTest(&argc, argv);
    wxApp::SetInstance(new wxApp);
    if (!wxEntryStart(argc, argv))
        return 1;
    int status = RUN_ALL_TESTS();
    wxEntryCleanup();
    return status;
}
