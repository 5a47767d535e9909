#pragma once
// A main window with the simulated module behind it, run in a working directory of its own,
// with a local clock that stands still until the test moves it and scripted file dialogs.

#include <gtest/gtest.h>
#include <unistd.h>

#include <cstdlib>
#include <deque>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <mutex>
#include <string>
#include <vector>

#include "platform/gbk.h"
#include "platform/local_time.h"
#include "support/main_window_fixture.h"

namespace dialog_tests {

using testsupport::B;

inline SystemTime T(int year, int month, int day, int hour, int minute, int second, int ms) {
    auto u = [](int v) { return static_cast<uint16_t>(v); };
    return {u(year), u(month), 0, u(day), u(hour), u(minute), u(second), u(ms)};
}
// The clock's time until a test moves it.
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

// "%02X " for every byte, as the frame lists show frames.
inline std::string SpacedHex(const ByteString& bytes) {
    static const char digits[] = "0123456789ABCDEF";
    std::string text;
    for (unsigned char b : bytes) text += {digits[b >> 4], digits[b & 0x0F], ' '};
    return text;
}

class ToolWindowTest : public testsupport::MainWindowWithModule {
protected:
    explicit ToolWindowTest(int port = 11) : MainWindowWithModule(port) {}

    void SetUp() override {
        SetLocalTimeSource([this] {
            std::lock_guard<std::mutex> lock(m_clockLock);
            return m_now;
        });
        m_previousFileHook = SetFileDialogHook([this](const FileDialogRequest& r) {
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
        SetFileDialogHook(m_previousFileHook);
        SetLocalTimeSource(nullptr);
    }

    void SetClock(const SystemTime& t) {
        std::lock_guard<std::mutex> lock(m_clockLock);
        m_now = t;
    }

    std::vector<FileDialogRequest> fileRequests;
    std::deque<std::string> filePaths;

private:
    FileDialogHook m_previousFileHook;
    std::mutex m_clockLock;
    SystemTime m_now = T(2024, 3, 5, 6, 7, 8, 9);
};

}  // namespace dialog_tests
