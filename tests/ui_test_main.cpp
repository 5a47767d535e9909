// Test entry for window tests: one application object for the whole run.

#include <gtest/gtest.h>

#include <cstdlib>

#include "platform/ui.h"
#include "res/resources.h"

int main(int argc, char** argv) {
    setenv("QT_QPA_PLATFORM", "offscreen", 0);
    ::testing::InitGoogleTest(&argc, argv);
    Application app(argc, argv);
    RegisterResources();
    return RUN_ALL_TESTS();
}
