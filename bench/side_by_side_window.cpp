// The tester's main window on one pseudo-terminal of pty_feeder, measured while the stream runs:
// processor time per 1,000 frames, resident memory (peak, per frame, after "清除报文"), the frame
// monitor's row count sampled every 100 ms and how far it lags the stream, and the longest stall
// of the event loop (a 10 ms timer on the user-interface thread measuring its own lateness).
// The window runs in a real event loop, as the program does; nothing polls while it measures.
//
// Usage: side_by_side_window DIR PTY_INDEX|tcp|udp FRAMES_PER_SECOND [--hidden]
//   DIR as pty_feeder's; reads the stream from pty<PTY_INDEX> through the serial port, or from
//   the feeder's loopback TCP port or UDP socket through the network channel (for UDP it writes
//   DIR/udp_target, the port its socket is bound to); writes DIR/ready<PTY_INDEX|tcp|udp> when
//   the channel is open and waits for the stream. Prints "key value" lines.

#include <arpa/inet.h>
#include <malloc.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "app/main_tester_dlg.h"
#include "bench/open_port.h"
#include "bench/process_stats.h"
#include "dialogs/serial_settings_dlg.h"
#include "res/resource_ids.h"
#include "res/resources.h"

namespace {

using Clock = std::chrono::steady_clock;
constexpr int kPort = 96;
constexpr int kTickMs = 10;

// A field of /proc/self/status in bytes (VmRSS, VmHWM).
double StatusBytes(const char* key) {
    std::ifstream f("/proc/self/status");
    std::string line;
    const std::string prefix = std::string(key) + ":";
    while (std::getline(f, line)) {
        if (line.rfind(prefix, 0) == 0) return std::atof(line.c_str() + prefix.size()) * 1024.0;
    }
    return 0;
}

double HeapInUse() {
    const struct mallinfo2 m = mallinfo2();
    return static_cast<double>(m.uordblks + m.hblkhd);
}

bool ReadNumber(const std::string& path, long long& out) {
    std::ifstream f(path);
    return static_cast<bool>(f >> out);
}

// Shows the window and opens its network channel to the feeder's loopback port through the
// network settings dialog, as a user does; false, after saying so, when it did not open.
bool ShowAndOpenNetwork(CMainTesterDlg& dlg, bool tcp, const std::string& port) {
    dlg.Create();
    dlg.ShowWindow(true);
    dlg.PostTask([&] {
        CNetworkSettingsDlg& d = dlg.NetworkSettingsDialog();
        Button(d.GetDlgItem(tcp ? IDC_NET_TCP_CLIENT : IDC_NET_UDP)).Click();
        d.SetDlgItemText(IDC_NET_LOCAL_IP, "127.0.0.1");
        d.SetDlgItemText(IDC_NET_LOCAL_PORT, "0");
        d.SetDlgItemText(IDC_NET_REMOTE_IP, "127.0.0.1");
        d.SetDlgItemText(IDC_NET_REMOTE_PORT, port);
        Button(d.GetDlgItem(IDC_NET_START_STOP)).Click();
    });
    dlg.OnNetworkSettings();
    if (!dlg.Link().Network().IsSocketOpen()) {
        std::fprintf(stderr, "the network channel did not open\n");
        return false;
    }
    return true;
}

// Drives the measurement from its own timer inside a modal loop, so the program's threads and
// windows run exactly as they do under the program's own loop.
class Driver : public Dialog {
public:
    Driver(CMainTesterDlg& window, std::string dir, double rate)
        : Dialog(IDD_FRAME_DETAIL), m_window(window), m_dir(std::move(dir)), m_rate(rate) {}

    double cpu = 0, rss0 = 0, rssEnd = 0, heap0 = 0, heapEnd = 0, rssCleared = 0, heapCleared = 0;
    double rssLogsCleared = 0, heapLogsCleared = 0;
    double maxStallMs = 0, maxLagMs = 0, drainMs = 0;
    long long total = -1;
    int rowsShownAtEnd = 0;
    int logRows = 0;
    std::vector<std::pair<double, int>> samples;  // seconds since start, monitor rows shown
    std::vector<double> cpuSamples;               // processor seconds used by then

protected:
    bool OnInitDialog() override {
        MoveWindow(-4000, -4000, 50, 50);
        m_lastTick = Clock::now();
        SetTimer(1, kTickMs);
        return true;
    }
    void OnCancel() override {}
    void OnClose() override {}

    void OnTimer(int) override {
        const Clock::time_point now = Clock::now();
        const double late = std::chrono::duration<double, std::milli>(now - m_lastTick).count() - kTickMs;
        m_lastTick = now;
        // The frame monitor's list, found once among the window's dialogs by its template.
        if (!m_monitorList.IsValid()) {
            for (Dialog* d : DialogsWithin(m_window.GetWindow()))
                if (d->TemplateId() == IDD_FRAME_MONITOR) m_monitorList = ListView(d->GetDlgItem(IDC_MONITOR_LIST));
        }
        ListView monitor = m_monitorList;
        switch (m_state) {
            case State::WaitStart: {
                long long ns = 0;
                if (!ReadNumber(m_dir + "/start", ns)) return;
                m_start = Clock::time_point(std::chrono::nanoseconds(ns));
                m_cpu0 = ProcessCpuSeconds();
                rss0 = StatusBytes("VmRSS");
                heap0 = HeapInUse();
                m_rows0 = monitor.GetItemCount();
                m_lastSample = now;
                m_state = State::Streaming;
                return;
            }
            case State::Streaming:
            case State::Draining: {
                maxStallMs = std::max(maxStallMs, late);
                const int shown = monitor.GetItemCount() - m_rows0;
                const double since = std::chrono::duration<double>(now - m_start).count();
                const bool sample = now - m_lastSample >= std::chrono::milliseconds(100);
                if (sample) {
                    m_lastSample = now;
                    samples.emplace_back(since, shown);
                    cpuSamples.push_back(ProcessCpuSeconds() - m_cpu0);
                    // The oldest frame not yet shown was due at start + shown / rate.
                    const double due = static_cast<double>(shown) / m_rate;
                    if (total < 0 || shown < total) maxLagMs = std::max(maxLagMs, (since - due) * 1000.0);
                }
                if (m_state == State::Streaming) {
                    if (sample && ReadNumber(m_dir + "/sent", total)) {
                        m_state = State::Draining;
                        m_drainStart = now;
                        rowsShownAtEnd = shown;
                    }
                    return;
                }
                const bool drained = shown >= total;
                if (!drained && now - m_drainStart < std::chrono::seconds(20)) return;
                drainMs = std::chrono::duration<double, std::milli>(now - m_drainStart).count();
                cpu = ProcessCpuSeconds() - m_cpu0;
                rssEnd = StatusBytes("VmRSS");
                heapEnd = HeapInUse();
                logRows = ListView(m_window.GetDlgItem(IDC_DATA_REPLY_LOG)).GetItemCount();
                m_window.ClearRecords();
                m_state = State::Cleared;
                m_wait = now;
                return;
            }
            case State::Cleared:
                if (now - m_wait < std::chrono::milliseconds(500)) return;
                rssCleared = StatusBytes("VmRSS");
                heapCleared = HeapInUse();
                // What the frame lists' own clearing empties.
                for (int id : {IDC_FRAME_LOG, IDC_SEARCH_LOG, IDC_DATA_LOG, IDC_DATA_REPLY_LOG, IDC_PASSWORD_LOG,
                               IDC_PASSWORD_REPLY_LOG, IDC_METER_READ_LIST, IDC_PASS_THROUGH_LIST})
                    ListView(m_window.GetDlgItem(id)).DeleteAllItems();
                m_state = State::LogsCleared;
                m_wait = now;
                return;
            case State::LogsCleared:
                if (now - m_wait < std::chrono::milliseconds(500)) return;
                rssLogsCleared = StatusBytes("VmRSS");
                heapLogsCleared = HeapInUse();
                KillTimer(1);
                EndDialog(kIdOk);
                return;
        }
    }

private:
    enum class State { WaitStart, Streaming, Draining, Cleared, LogsCleared };
    CMainTesterDlg& m_window;
    ListView m_monitorList;
    std::string m_dir;
    double m_rate;
    State m_state = State::WaitStart;
    Clock::time_point m_lastTick, m_start, m_lastSample, m_drainStart, m_wait;
    double m_cpu0 = 0;
    int m_rows0 = 0;
};

}  // namespace

int main(int argc, char** argv) {
    if (argc < 4) {
        std::fprintf(stderr, "usage: %s DIR PTY_INDEX|tcp|udp FRAMES_PER_SECOND [--hidden]\n", argv[0]);
        return 2;
    }
    const std::string dir = std::filesystem::absolute(argv[1]).string();
    const std::string index = argv[2];
    const double rate = std::atof(argv[3]);
    const bool hidden = argc > 4 && std::string(argv[4]) == "--hidden";
    const bool network = index == "tcp" || index == "udp";
    std::string source;  // the pty's path, or the feeder's port
    {
        std::ifstream f(dir + (network ? "/" + index + "_port" : "/pty" + index));
        if (!(f >> source)) {
            std::fprintf(stderr, "no %s %s in %s\n", network ? "port" : "pty", index.c_str(), dir.c_str());
            return 2;
        }
    }
    setenv("QT_QPA_PLATFORM", "offscreen", 0);
    Application app(argc, argv);
    RegisterResources();
    SetMessageBoxHook([](const MessageBoxRequest&) { return kIdOk; });
    // The working file goes into a folder of its own.
    char work[] = "/tmp/kvt_side_XXXXXX";
    if (!::mkdtemp(work) || ::chdir(work) != 0) return 1;
    if (!network) PointPortAt(kPort, source);

    int status = 0;
    {
        CMainTesterDlg dlg;
        if (network ? !ShowAndOpenNetwork(dlg, index == "tcp", source) : !ShowAndOpenPort(dlg, kPort)) return 1;
        if (index == "udp") std::ofstream(dir + "/udp_target") << LocalPort(dlg.Link().Network().SocketFd()) << "\n";
        if (!hidden) Button(dlg.GetDlgItem(IDC_SHOW_FRAME_MONITOR)).Click();
        PumpFor(500);
        std::ofstream(dir + "/ready" + index) << "1\n";

        Driver driver(dlg, dir, rate);
        driver.DoModal();

        const double frames = static_cast<double>(std::max<long long>(driver.total, 1));
        std::printf("channel %s\n", index == "tcp" ? "TCP" : index == "udp" ? "UDP" : "serial");
        std::printf("frames %lld\n", driver.total);
        std::printf("monitor %s\n", hidden ? "hidden" : "shown");
        std::printf("cpu_ms_per_1000 %.1f\n", driver.cpu * 1000.0 / frames * 1000.0);
        std::printf("peak_rss_mb %.1f\n", StatusBytes("VmHWM") / 1048576.0);
        std::printf("rss_bytes_per_frame %.0f\n", (driver.rssEnd - driver.rss0) / frames);
        std::printf("heap_bytes_per_frame %.0f\n", (driver.heapEnd - driver.heap0) / frames);
        std::printf("rows_shown_when_stream_ended %d\n", driver.rowsShownAtEnd);
        std::printf("data_reply_log_rows %d\n", driver.logRows);
        std::printf("drain_ms %.0f\n", driver.drainMs);
        std::printf("max_lag_ms %.0f\n", driver.maxLagMs);
        std::printf("max_stall_ms %.1f\n", driver.maxStallMs);
        const double grown = driver.rssEnd - driver.rss0;
        const double heapGrown = driver.heapEnd - driver.heap0;
        std::printf("rss_left_after_clear_bytes_per_frame %.0f\n", (driver.rssCleared - driver.rss0) / frames);
        std::printf("rss_returned_by_clear_pct %.0f\n", grown > 0 ? 100.0 * (driver.rssEnd - driver.rssCleared) / grown : 0);
        std::printf("heap_returned_by_clear_pct %.0f\n",
                    heapGrown > 0 ? 100.0 * (driver.heapEnd - driver.heapCleared) / heapGrown : 0);
        std::printf("rss_returned_with_logs_cleared_pct %.0f\n",
                    grown > 0 ? 100.0 * (driver.rssEnd - driver.rssLogsCleared) / grown : 0);
        std::printf("heap_returned_with_logs_cleared_pct %.0f\n",
                    heapGrown > 0 ? 100.0 * (driver.heapEnd - driver.heapLogsCleared) / heapGrown : 0);
        std::printf("samples (seconds:rows shown:processor ms per 1,000 frames since the last)");
        for (size_t i = 0, prev = 0; i < driver.samples.size(); prev = i, i += 10) {
            const int rows = driver.samples[i].second - driver.samples[prev].second;
            const double cpu = driver.cpuSamples[i] - driver.cpuSamples[prev];
            std::printf(" %.1f:%d:%.0f", driver.samples[i].first, driver.samples[i].second,
                        rows > 0 ? cpu * 1e6 / rows : 0.0);
        }
        std::printf("\n");
        status = driver.total > 0 && driver.rowsShownAtEnd >= 0 ? 0 : 1;
        dlg.Close();
        dlg.DestroyWindow();
    }
    std::filesystem::remove_all(work);
    return status;
}
