#pragma once
// A main window with the simulated module behind serial port n, message boxes answered OK and
// recorded, for tests of everything that sends or receives frames.

#include <gtest/gtest.h>

#include <cstdlib>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "app/main_tester_dlg.h"
#include "link/serial_settings_dlg.h"
#include "sim/sim_module.h"

namespace testsupport {

inline ByteString B(const kvtsim::Bytes& b) { return ByteString(b.begin(), b.end()); }

class MainWindowWithModule : public ::testing::Test {
protected:
    explicit MainWindowWithModule(int port) : m_port(port), m_portVariable("KVT_COM" + std::to_string(port)) {}

    void SetUp() override {
        ASSERT_TRUE(sim.Start());
        setenv(m_portVariable.c_str(), sim.SlavePath().c_str(), 1);
        m_previousHook = SetMessageBoxHook([this](const MessageBoxRequest& r) {
            boxes.push_back(r);
            return kIdOk;
        });
        dlg = std::make_unique<CMainTesterDlg>();
        ASSERT_TRUE(dlg->Create());
        dlg->ShowWindow(true);
        dlg->m_comPort = static_cast<uint32_t>(m_port);
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
    }

    // Presses the open/close button of the serial settings dialog as a user would; a dialog that
    // stays open (a failure, or a close) is closed with its "关闭" button. When the press opened
    // the port and settle is set, the 100 ms version wait is held open, so the module's version
    // reply is taken by the opening whatever the machine's load, and the call returns once it
    // has been: the frames that follow are all classified.
    void OpenPort(bool settle = true) {
        bool opened = false;
        dlg->PostTask([this, settle, &opened] {
            CSerialSettingsDlg& s = *dlg->m_serialSettingsDlg;
            Button(s.GetDlgItem(1021)).Click();
            if (s.IsCreated() && s.GetDlgItemText(1021) == "打开串口") {
                Button(s.GetDlgItem(2)).Click();
                return;
            }
            opened = dlg->m_portOpen == 1;
            if (opened && settle) dlg->KillTimer(TIMER_VERSION_WAIT);
        });
        dlg->OnSerialSettings();
        if (opened && settle) {
            ASSERT_TRUE(WaitFor([this] { return dlg->m_versionShown == 1; })) << "no version reply";
        }
    }

    bool WaitFor(const std::function<bool()>& done, uint32_t ms = 5000) { return WaitPumping(done, ms); }

    size_t HistoryCount(char kind) {
        LockGuard lock(dlg->m_historyLock);
        size_t n = 0;
        for (const MonitorRecord& r : dlg->m_frameHistory) n += r.kind == static_cast<unsigned char>(kind);
        return n;
    }

    // A copy of the frame history.
    std::vector<MonitorRecord> History() {
        LockGuard lock(dlg->m_historyLock);
        return dlg->m_frameHistory;
    }

    kvtsim::SimModule sim;
    std::unique_ptr<CMainTesterDlg> dlg;
    std::vector<MessageBoxRequest> boxes;

private:
    int m_port;
    std::string m_portVariable;
    MessageBoxHook m_previousHook;
};

}  // namespace testsupport
