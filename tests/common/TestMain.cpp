#include "foundation/BcClassManager.h"

#include <gtest/gtest.h>

// Links the class registry once, as the application does at start-up, then
// runs the tests.
int main(int argc, char** argv)
{
    BcClassManager::instance()->linkClasses();
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
