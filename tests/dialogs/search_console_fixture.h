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

class ToolWindowTest : public ::testing::Test {
protected:
    void SetUp() override {
        char pattern[] = "/tmp/kvt-dlgs-XXXXXX";
        ASSERT_NE(mkdtemp(pattern), nullptr);
        dir = pattern;
        SetLocalTimeSource([] { return FixedTime(); });
        ASSERT_TRUE(sim.Start());
        setenv("KVT_COM11", sim.SlavePath().c_str(), 1);
        previousBoxHook = SetMessageBoxHook([this](const MessageBoxRequest& r) {
            boxes.push_back(r);
            return kIdOk;
        });
        previousFileHook = SetFileDialogHook([this](const FileDialogRequest& r) {
            fileRequests.push_back(r);
            if (filePaths.empty()) return std::string();
            const std::string path = filePaths.front();
            filePaths.pop_front();
            return path;
        });
        dlg = std::make_unique<CMainTesterDlg>();
        ASSERT_TRUE(dlg->Create());
        dlg->ShowWindow(true);
        dlg->m_comPort = 11;
        PumpMessages();
    }

    void TearDown() override {
        if (dlg) {
            dlg->Close();
            dlg->DestroyWindow();
            dlg.reset();
        }
        PumpMessages();
        SetFileDialogHook(previousFileHook);
        SetMessageBoxHook(previousBoxHook);
        unsetenv("KVT_COM11");
        sim.Stop();
        SetLocalTimeSource(nullptr);
        std::error_code ec;
        std::filesystem::remove_all(dir, ec);
    }

    // Opens the port from the settings dialog as a user would and waits until the module's
    // version reply has been taken in, so later frames are classified.
    void OpenPort() {
        dlg->PostTask([this] {
            CSerialSettingsDlg& s = *dlg->m_serialSettingsDlg;
            Button(s.GetDlgItem(1021)).Click();
            if (s.IsCreated()) Button(s.GetDlgItem(2)).Click();
        });
        dlg->OnSerialSettings();
        ASSERT_TRUE(boxes.empty()) << boxes.front().text;
        ASSERT_EQ(dlg->m_portOpen, 1);
        ASSERT_TRUE(WaitPumping([&] { return dlg->GetDlgItemText(3042) == "版本号:QV-5207-01-03-02"; }, 5000));
        PumpFor(150);
    }

    std::string Path(const std::string& name) const { return dir + "/" + name; }

    kvtsim::SimModule sim;
    std::unique_ptr<CMainTesterDlg> dlg;
    std::vector<MessageBoxRequest> boxes;
    std::vector<FileDialogRequest> fileRequests;
    std::deque<std::string> filePaths;
    std::string dir;
    MessageBoxHook previousBoxHook;
    FileDialogHook previousFileHook;
};

}  // namespace dialog_tests
