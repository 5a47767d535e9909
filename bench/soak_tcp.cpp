// Soak run of the network channel through the whole main window: a module stand-in on a
// loopback TCP listener sends the smallest receive-data frames (7 bytes) at the serial line's
// worst-case rate (1,650 a second) and then at ten times that, each for the given time; the
// window reads them on its socket's read message, and every frame must reach the frame history,
// the data reply log and the reply queue, once and in order. A task that reposts itself every
// few milliseconds on the window's thread measures the longest stall of its event loop.
//
// Usage: soak_tcp [seconds=60]    (no display needed; traffic stays on 127.0.0.1)
// Exit status 0 when no frame was lost and the event loop never stalled over 50 ms at either rate.

#include <arpa/inet.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

#include <atomic>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <thread>
#include <vector>

#include "app/main_tester_dlg.h"
#include "res/resources.h"
#include "sim/sim_module.h"

namespace {

constexpr double kLineRate = 1650.0;
constexpr int kBurstMs = 10;
constexpr uint32_t kProbeMs = 5;
constexpr double kStallLimitMs = 50;

// Reposts itself on the window's thread and keeps the longest gap beyond its period.
struct StallProbe {
    explicit StallProbe(CMainTesterDlg& dlg) : window(dlg) {}
    void Start() {
        last = std::chrono::steady_clock::now();
        Tick();
    }
    void Tick() {
        const auto now = std::chrono::steady_clock::now();
        const double late = std::chrono::duration<double, std::milli>(now - last).count() - kProbeMs;
        if (late > worstMs) worstMs = late;
        last = now;
        if (running) window.PostTaskAfter(kProbeMs, [this] { Tick(); });
    }
    CMainTesterDlg& window;
    std::chrono::steady_clock::time_point last;
    double worstMs = 0;
    bool running = true;
};

// Control bytes whose frame holds no second start byte, so no frame can be read out of two
// neighbours; the frames carry them in turn, which shows the order.
std::vector<uint8_t> SequenceBytes() {
    std::vector<uint8_t> out;
    for (int c = 0; c < 256; ++c) {
        const kvtsim::Bytes f = kvtsim::BuildFrame(static_cast<uint8_t>(c), 0x15, kvtsim::Bytes());
        if (f.find(0x79, 1) == kvtsim::Bytes::npos) out.push_back(static_cast<uint8_t>(c));
    }
    return out;
}

struct Result {
    uint64_t sent = 0;
    size_t recorded = 0;
    uint64_t outOfOrder = 0;
    int logRows = 0;
    size_t queued = 0;
    double sendingS = 0;   // from the first send to the last (longer than asked when held back)
    double catchUpMs = 0;  // from the last send until every frame was recorded
    double stallMs = 0;    // the event loop's longest stall while the frames came
};

Result RunAtRate(double framesPerSecond, double seconds) {
    static const std::vector<uint8_t> sequence = SequenceBytes();
    Result r;
    const int server = ::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
    sockaddr_in a{};
    a.sin_family = AF_INET;
    a.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    socklen_t length = sizeof a;
    ::bind(server, reinterpret_cast<sockaddr*>(&a), length);
    ::getsockname(server, reinterpret_cast<sockaddr*>(&a), &length);
    ::listen(server, 1);

    CMainTesterDlg dlg;
    dlg.Create();
    dlg.ShowWindow(true);
    dlg.PostTask([&] {
        CNetworkSettingsDlg& d = dlg.NetworkSettingsDialog();
        Button(d.GetDlgItem(IDC_NET_TCP_CLIENT)).Click();
        d.SetDlgItemText(IDC_NET_REMOTE_IP, "127.0.0.1");
        d.SetDlgItemText(IDC_NET_REMOTE_PORT, std::to_string(ntohs(a.sin_port)));
        Button(d.GetDlgItem(IDC_NET_START_STOP)).Click();
    });
    dlg.OnNetworkSettings();
    ModuleLink& link = dlg.Link();
    const int module = link.Network().IsSocketOpen() ? ::accept(server, nullptr, nullptr) : -1;
    ::close(server);
    if (module < 0) {
        std::fprintf(stderr, "the network channel did not open\n");
        return r;
    }

    StallProbe probe(dlg);
    probe.Start();
    std::atomic<uint64_t> sent{0};
    std::atomic<bool> done{false};
    std::thread sender([&] {
        const auto start = std::chrono::steady_clock::now();
        const auto end = start + std::chrono::duration<double>(seconds);
        auto next = start;
        uint64_t n = 0;
        while (next < end) {
            next += std::chrono::milliseconds(kBurstMs);
            std::this_thread::sleep_until(next);
            // Due by the schedule: when the window holds the stream back, the sending runs late
            // but the count stays rate x time.
            const double elapsed = std::chrono::duration<double>(next - start).count();
            kvtsim::Bytes burst;
            for (; n < static_cast<uint64_t>(elapsed * framesPerSecond); ++n)
                burst += kvtsim::BuildFrame(sequence[n % sequence.size()], 0x15, kvtsim::Bytes());
            for (size_t off = 0; off < burst.size();) {
                const ssize_t w = ::send(module, burst.data() + off, burst.size() - off, MSG_NOSIGNAL);
                if (w <= 0) break;
                off += static_cast<size_t>(w);
            }
            sent = n;
        }
        done = true;
    });
    const auto sendingStarted = std::chrono::steady_clock::now();
    WaitPumping([&] { return done.load(); });
    sender.join();
    r.sent = sent;
    r.sendingS = std::chrono::duration<double>(std::chrono::steady_clock::now() - sendingStarted).count();

    // Until every frame is recorded, or nothing new came for 3 s.
    const auto sendingEnded = std::chrono::steady_clock::now();
    auto recorded = [&] { return static_cast<size_t>(link.History().ReceivedCount() - 1); };
    size_t seen = 0;
    auto lastProgress = std::chrono::steady_clock::now();
    WaitPumping([&] {
        if (recorded() >= r.sent) return true;
        if (recorded() != seen) {
            seen = recorded();
            lastProgress = std::chrono::steady_clock::now();
        }
        return std::chrono::steady_clock::now() - lastProgress > std::chrono::seconds(3);
    });
    r.catchUpMs = std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - sendingEnded).count();
    PumpFor(200);  // the last log rows
    probe.running = false;
    PumpFor(2 * kProbeMs);
    r.stallMs = probe.worstMs;

    size_t index = 0;
    for (const MonitorRecord& record : link.History().Snapshot()) {
        if (record.kind != '1') continue;
        if (FrameByte(record.frame, 3) != sequence[index % sequence.size()]) ++r.outOfOrder;
        ++index;
    }
    r.recorded = index;
    r.logRows = ListView(dlg.GetDlgItem(IDC_DATA_REPLY_LOG)).GetItemCount();
    r.queued = link.Queues().receiveData.Size();
    dlg.Close();
    dlg.DestroyWindow();
    ::close(module);
    return r;
}

}  // namespace

int main(int argc, char** argv) {
    const double seconds = argc > 1 ? std::atof(argv[1]) : 60.0;
    if (seconds <= 0) {
        std::fprintf(stderr, "usage: %s [seconds=60]\n", argv[0]);
        return 2;
    }
    setenv("QT_QPA_PLATFORM", "offscreen", 0);
    Application app(argc, argv);
    RegisterResources();
    // The window's working file goes to a directory of the run's own.
    const std::filesystem::path before = std::filesystem::current_path();
    const std::filesystem::path dir = std::filesystem::temp_directory_path() / ("kvt_soak_tcp_" + std::to_string(getpid()));
    std::filesystem::create_directories(dir);
    std::filesystem::current_path(dir);
    size_t boxes = 0;
    SetMessageBoxHook([&](const MessageBoxRequest& request) {
        std::fprintf(stderr, "message: %s\n", request.text.c_str());
        ++boxes;
        return kIdOk;
    });

    bool ok = true;
    bool calm = true;
    for (const double rate : {kLineRate, 10 * kLineRate}) {
        boxes = 0;
        const Result r = RunAtRate(rate, seconds);
        const uint64_t lost = r.sent > r.recorded ? r.sent - r.recorded : 0;
        std::printf("%.0f frames/s for %.0f s: sent %llu, recorded %zu, lost %llu, out of order %llu, "
                    "log rows %d, queued %zu, messages %zu; sending took %.1f s, all recorded %.0f ms after the "
                    "last send; longest event-loop stall %.0f ms\n",
                    rate, seconds, static_cast<unsigned long long>(r.sent), r.recorded,
                    static_cast<unsigned long long>(lost), static_cast<unsigned long long>(r.outOfOrder), r.logRows,
                    r.queued, boxes, r.sendingS, r.catchUpMs, r.stallMs);
        ok = ok && r.sent > 0 && lost == 0 && r.recorded == r.sent && r.outOfOrder == 0;
        calm = calm && r.stallMs <= kStallLimitMs;
    }
    std::printf("%s; %s\n", ok ? "no frame lost" : "FRAMES LOST",
                calm ? "no stall over 50 ms" : "THE EVENT LOOP STALLED OVER 50 MS");
    std::filesystem::current_path(before);
    std::filesystem::remove_all(dir);
    return ok && calm ? 0 : 1;
}
