#pragma once
// The main window with the simulated module on an X display, for tests that click and type
// through the X server; skipped without a display and xdotool.

#include <gtest/gtest.h>

#include "support/main_window_fixture.h"
#include "support/x_pointer.h"

namespace testsupport {

class MainWindowOnScreen : public MainWindowWithModule {
protected:
    explicit MainWindowOnScreen(int port) : MainWindowWithModule(port) {}

    void SetUp() override {
        if (!CanClickThroughX()) GTEST_SKIP() << "needs an X display and xdotool";
        MainWindowWithModule::SetUp();
        PumpFor(700);  // placed by the window manager, if any, and drawn
    }
};

}  // namespace testsupport
