#pragma once
// A main window in a working directory of its own, with the simulated module behind serial
// port n, message boxes answered OK and recorded, and file dialogs answered from a script.
// With a fixed clock the local time stands at kFixedStamp until the test moves it.

#include <gtest/gtest.h>

#include <cstdlib>
#include <deque>
#include <filesystem>
#include <fstream>
#include <functional>
#include <iterator>
#include <memory>
#include <mutex>
#include <string>
#include <vector>

#include <unistd.h>

#include "app/main_tester_dlg.h"
#include "dialogs/serial_settings_dlg.h"
#include "platform/gbk.h"
#include "platform/local_time.h"
#include "res/resource_ids.h"
#include "sim/sim_module.h"

namespace testsupport {

using kvtsim::FromHex;
using kvtsim::BuildFrame;

inline SystemTime T(int year, int month, int day, int hour, int minute, int second, int ms) {
    auto u = [](int v) { return static_cast<uint16_t>(v); };
    return {u(year), u(month), 0, u(day), u(hour), u(minute), u(second), u(ms)};
}
constexpr const char* kFixedStamp = "2024-03-05 06:07:08:009";

inline std::string ReadFileBytes(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

inline void WriteFileBytes(const std::string& path, const std::string& bytes) {
    std::ofstream(path, std::ios::binary | std::ios::trunc) << bytes;
}

inline std::string Blanks(size_t n) { return std::string(n, ' '); }

// The six address bytes of a typed address in the order the frame carries them.
inline kvtsim::Bytes WireBytes(const std::string& typed) {
    const kvtsim::Bytes b = FromHex(std::string(12 - typed.size(), '0') + typed);
    return kvtsim::Bytes(b.rbegin(), b.rend());
}

// "%02X " for every byte, as the frame lists show frames.
inline std::string Spaced(const ByteString& bytes) {
    static const char digits[] = "0123456789ABCDEF";
    std::string text;
    for (unsigned char b : bytes) text += {digits[b >> 4], digits[b & 0x0F], ' '};
    return text;
}

class MainWindowWithModule : public ::testing::Test {
protected:
    explicit MainWindowWithModule(int port, bool fixedClock = false)
        : m_port(port), m_portVariable("KVT_COM" + std::to_string(port)), m_fixedClock(fixedClock) {}

    void SetUp() override {
        if (m_fixedClock) {
            SetLocalTimeSource([this] {
                std::lock_guard<std::mutex> lock(m_clockLock);
                return m_now;
            });
        }
        m_previousFileHook = SetFileDialogHook([this](const FileDialogRequest& r) {
            fileRequests.push_back(r);
            if (filePaths.empty()) return std::string();
            const std::string path = filePaths.front();
            filePaths.pop_front();
            return path;
        });
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
        dlg = MakeWindow();
        ASSERT_TRUE(dlg->Create());
        dlg->ShowWindow(true);
        dlg->SerialSettingsRecord().comPort = static_cast<uint32_t>(m_port);
        PumpMessages();
    }

    // The window under test; a fixture may give one that stands in for parts of it.
    virtual std::unique_ptr<CMainTesterDlg> MakeWindow() { return std::make_unique<CMainTesterDlg>(); }

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
        SetFileDialogHook(m_previousFileHook);
        if (m_fixedClock) SetLocalTimeSource(nullptr);
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

    // The main window's controls by id.
    void Click(int id) { Button(dlg->GetDlgItem(id)).Click(); }
    bool Enabled(int id) { return dlg->GetDlgItem(id).IsEnabled(); }
    std::string Text(int id) { return dlg->GetDlgItemText(id); }
    ListView ListOf(int id) { return ListView(dlg->GetDlgItem(id)); }

    // The next frame that reached the module after those already looked at, spaced. It pumps
    // while it waits: timers send from the message loop.
    std::string NextFrame() {
        const size_t index = m_framesSeen++;
        if (!WaitFor([&] { return sim.ReceivedFrames().size() > index; })) return "(no frame)";
        return Spaced(sim.ReceivedFrames()[index]);
    }

    std::vector<MonitorRecord> History() { return dlg->Link().History().Snapshot(); }

    size_t HistoryCount(char kind) {
        size_t n = 0;
        for (const MonitorRecord& r : History()) n += r.kind == static_cast<unsigned char>(kind);
        return n;
    }

    std::vector<std::string> BoxTexts() const {
        std::vector<std::string> texts;
        for (const auto& b : boxes) texts.push_back(b.text);
        return texts;
    }

    // A file in the test's own working directory.
    std::string Path(const std::string& name) const { return workDir + "/" + name; }

    void SetClock(const SystemTime& t) {
        std::lock_guard<std::mutex> lock(m_clockLock);
        m_now = t;
    }

    std::string workDir;
    kvtsim::SimModule sim;
    std::unique_ptr<CMainTesterDlg> dlg;
    std::vector<MessageBoxRequest> boxes;
    std::vector<FileDialogRequest> fileRequests;
    std::deque<std::string> filePaths;  // the answers of the file dialogs; none left: cancelled

private:
    int m_port;
    std::string m_portVariable;
    bool m_fixedClock;
    size_t m_framesSeen = 0;
    MessageBoxHook m_previousHook;
    FileDialogHook m_previousFileHook;
    std::filesystem::path m_previousDir;
    std::mutex m_clockLock;
    SystemTime m_now = T(2024, 3, 5, 6, 7, 8, 9);
};

}  // namespace testsupport
