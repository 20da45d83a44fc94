#include "commands/EdStartup.h"
#include "foundation/BcClassManager.h"

#include <gtest/gtest.h>

// Installs what the application installs at start-up and links the class
// registry, then runs the tests.
int main(int argc, char** argv)
{
    EdStartup::install();
    BcClassManager::instance()->linkClasses();
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
