#pragma once
// A main window in a working directory of its own, with the simulated module behind serial
// port n and message boxes answered OK and recorded.

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include <unistd.h>

#include "app/main_tester_dlg.h"
#include "dialogs/serial_settings_dlg.h"
#include "res/resource_ids.h"
#include "sim/sim_module.h"

namespace testsupport {

inline ByteString B(const kvtsim::Bytes& b) { return ByteString(b.begin(), b.end()); }

class MainWindowWithModule : public ::testing::Test {
protected:
    explicit MainWindowWithModule(int port) : m_port(port), m_portVariable("KVT_COM" + std::to_string(port)) {}

    void SetUp() override {
        char dir[] = "/tmp/kvt_window_XXXXXX";
        ASSERT_NE(::mkdtemp(dir), nullptr);
        workDir = dir;
        m_previousDir = std::filesystem::current_path();
        std::filesystem::current_path(workDir);
        ASSERT_TRUE(sim.Start());
        setenv(m_portVariable.c_str(), sim.SlavePath().c_str(), 1);
        m_previousHook = SetMessageBoxHook([this](const MessageBoxRequest& r) {
            boxes.push_back(r);
            return kIdOk;
        });
        dlg = std::make_unique<CMainTesterDlg>();
        ASSERT_TRUE(dlg->Create());
        dlg->ShowWindow(true);
        dlg->SerialSettingsRecord().comPort = static_cast<uint32_t>(m_port);
        PumpMessages();
    }

    void TearDown() override {
        if (dlg) {
            dlg->Close();
            dlg->DestroyWindow();
            dlg.reset();
        }
        PumpMessages();
        SetMessageBoxHook(m_previousHook);
        unsetenv(m_portVariable.c_str());
        sim.Stop();
        std::filesystem::current_path(m_previousDir);
        std::filesystem::remove_all(workDir);
    }

    // Presses the open/close button of the serial settings dialog; a dialog that stays open (a
    // failure, or a close) is closed with "关闭". With settle, an opening holds the 100 ms version
    // wait open and returns once the version reply is taken: the frames that follow are classified.
    void OpenPort(bool settle = true) {
        bool opened = false;
        dlg->PostTask([this, settle, &opened] {
            CSerialSettingsDlg& s = dlg->SerialSettingsDialog();
            Button(s.GetDlgItem(IDC_SERIAL_OPEN_CLOSE)).Click();
            if (s.IsCreated() && s.GetDlgItemText(IDC_SERIAL_OPEN_CLOSE) == "打开串口") {
                Button(s.GetDlgItem(kIdCancel)).Click();
                return;
            }
            opened = dlg->Link().IsPortOpen();
            if (opened && settle) dlg->KillTimer(TIMER_VERSION_WAIT);
        });
        dlg->OnSerialSettings();
        if (opened && settle) {
            ASSERT_TRUE(WaitFor([this] { return !dlg->Link().IsVersionCaptureArmed(); })) << "no version reply";
        }
    }

    bool WaitFor(const std::function<bool()>& done, uint32_t ms = 5000) { return WaitPumping(done, ms); }

    std::vector<MonitorRecord> History() { return dlg->Link().History().Snapshot(); }

    size_t HistoryCount(char kind) {
        size_t n = 0;
        for (const MonitorRecord& r : History()) n += r.kind == static_cast<unsigned char>(kind);
        return n;
    }

    // A file in the test's own working directory.
    std::string Path(const std::string& name) const { return workDir + "/" + name; }

    std::string workDir;
    kvtsim::SimModule sim;
    std::unique_ptr<CMainTesterDlg> dlg;
    std::vector<MessageBoxRequest> boxes;

private:
    int m_port;
    std::string m_portVariable;
    MessageBoxHook m_previousHook;
    std::filesystem::path m_previousDir;
};

}  // namespace testsupport
