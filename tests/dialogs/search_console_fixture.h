#pragma once
// A main window with a fixed clock, scripted message boxes and file dialogs, and the simulated
// module on a pseudo-terminal behind port COM11.

#include <gtest/gtest.h>

#include <cstdlib>
#include <deque>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <memory>
#include <string>
#include <vector>

#include "app/main_tester_dlg.h"
#include "link/serial_settings_dlg.h"
#include "platform/gbk.h"
#include "platform/local_time.h"
#include "sim/sim_module.h"
#include "support/main_window_fixture.h"

namespace dialog_tests {

inline ByteString B(const kvtsim::Bytes& b) { return ByteString(b.begin(), b.end()); }

// 2024-03-05 06:07:08.009, a Tuesday.
inline SystemTime FixedTime() {
    SystemTime t;
    t.year = 2024;
    t.month = 3;
    t.dayOfWeek = 2;
    t.day = 5;
    t.hour = 6;
    t.minute = 7;
    t.second = 8;
    t.milliseconds = 9;
    return t;
}
constexpr const char* kFixedStamp = "2024-03-05 06:07:08:009";

inline std::string ReadFileBytes(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

inline void WriteFileBytes(const std::string& path, const std::string& bytes) {
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out << bytes;
}

inline std::string Blanks(size_t n) { return std::string(n, ' '); }

class ToolWindowTest : public testsupport::MainWindowWithModule {
protected:
    ToolWindowTest() : MainWindowWithModule(11) {}

    void SetUp() override {
        char pattern[] = "/tmp/kvt-dlgs-XXXXXX";
        ASSERT_NE(mkdtemp(pattern), nullptr);
        dir = pattern;
        SetLocalTimeSource([] { return FixedTime(); });
        previousFileHook = SetFileDialogHook([this](const FileDialogRequest& r) {
            fileRequests.push_back(r);
            if (filePaths.empty()) return std::string();
            const std::string path = filePaths.front();
            filePaths.pop_front();
            return path;
        });
        MainWindowWithModule::SetUp();
    }

    void TearDown() override {
        MainWindowWithModule::TearDown();
        SetFileDialogHook(previousFileHook);
        SetLocalTimeSource(nullptr);
        std::error_code ec;
        std::filesystem::remove_all(dir, ec);
    }

    // Opens the port; the module's version reply is taken in before any test frame.
    void OpenPort() {
        MainWindowWithModule::OpenPort();
        ASSERT_TRUE(boxes.empty()) << boxes.front().text;
        ASSERT_EQ(dlg->m_portOpen, 1);
    }

    std::string Path(const std::string& name) const { return dir + "/" + name; }

    std::vector<FileDialogRequest> fileRequests;
    std::deque<std::string> filePaths;
    std::string dir;
    FileDialogHook previousFileHook;
};

}  // namespace dialog_tests
