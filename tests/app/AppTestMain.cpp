#include "app/Settings.h"
#include "commands/EdStartup.h"
#include "foundation/BcClassManager.h"
#include "foundation/BcClassTable.h"

#include <gtest/gtest.h>
#include <wx/app.h>
#include <wx/init.h>

// Installs what the application installs at start-up, starts the toolkit
// (the tests need a display), then runs the tests.
int main(int argc, char** argv)
{
    EdStartup::install();
    BcClassTable::setFactory("Settings", &Settings::newInstance);
    BcClassManager::instance()->linkClasses();
    ::testing::InitGoogleTest(&argc, argv);
    wxApp::SetInstance(new wxApp);
    if (!wxEntryStart(argc, argv))
        return 1;
    int status = RUN_ALL_TESTS();
    wxEntryCleanup();
    return status;
}
