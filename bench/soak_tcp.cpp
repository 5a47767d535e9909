// Soak run of the network channel through the whole main window: a module stand-in on a
// loopback TCP listener (or, with "udp", a loopback UDP socket sending one frame a datagram)
// sends the smallest receive-data frames (7 bytes) at the serial line's worst-case rate (1,650 a
// second) and then at ten times that, each for the given time; the window reads them on its
// socket's read message, and every frame must reach the frame history, the data reply log and
// the reply queue, once and in order. A task that reposts itself every few milliseconds on the
// window's thread measures the longest stall of its event loop, how much of that stall the
// window's thread spent running, and how much it spent ready to run but waiting for a processor
// (a machine busy with other work); the rest it was asleep (waiting for a lock or an event). The window's processor time per frame is measured with its thread asleep in the
// event loop between events, and so is its processor time while nothing comes.
//
// Usage: soak_tcp [seconds=60] [tcp|udp]    (no display needed; traffic stays on 127.0.0.1)
// Exit status 0 when no frame was lost (over TCP) and the event loop never stalled over 50 ms
// at either rate. Over UDP the kernel may drop datagrams the window did not read in time: they
// are counted and reported, not failed.

#include <arpa/inet.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <time.h>
#include <unistd.h>

#include <atomic>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <thread>
#include <vector>

#include "app/main_tester_dlg.h"
#include "bench/open_port.h"
#include "bench/process_stats.h"
#include "res/resources.h"
#include "sim/sim_module.h"

namespace {

constexpr double kLineRate = 1650.0;
constexpr int kBurstMs = 10;
constexpr uint32_t kProbeMs = 5;
constexpr double kStallLimitMs = 50;

// Processor time of the calling thread in milliseconds.
double ThreadCpuMs() {
    timespec t{};
    ::clock_gettime(CLOCK_THREAD_CPUTIME_ID, &t);
    return t.tv_sec * 1e3 + t.tv_nsec / 1e6;
}

// Nanoseconds the calling thread has waited for a processor while it could run, from the
// scheduler's statistics; 0 where the kernel keeps none.
double ThreadRunQueueMs() {
    std::FILE* f = std::fopen("/proc/thread-self/schedstat", "r");
    if (!f) return 0;
    unsigned long long running = 0, waiting = 0;
    const int n = std::fscanf(f, "%llu %llu", &running, &waiting);
    std::fclose(f);
    return n == 2 ? static_cast<double>(waiting) / 1e6 : 0;
}

// Reposts itself on the window's thread and keeps the longest gap beyond its period, with the
// processor time the thread used in that gap and the time it waited for a processor.
struct StallProbe {
    explicit StallProbe(CMainTesterDlg& dlg) : window(dlg) {}
    void Start() {
        last = std::chrono::steady_clock::now();
        lastCpu = ThreadCpuMs();
        lastQueued = ThreadRunQueueMs();
        Tick();
    }
    void Tick() {
        const auto now = std::chrono::steady_clock::now();
        const double cpu = ThreadCpuMs();
        const double queued = ThreadRunQueueMs();
        const double late = std::chrono::duration<double, std::milli>(now - last).count() - kProbeMs;
        if (late > worstMs) {
            worstMs = late;
            worstRunningMs = cpu - lastCpu;
            worstQueuedMs = queued - lastQueued;
        }
        last = now;
        lastCpu = cpu;
        lastQueued = queued;
        if (running) window.PostTaskAfter(kProbeMs, [this] { Tick(); });
    }
    CMainTesterDlg& window;
    std::chrono::steady_clock::time_point last;
    double lastCpu = 0;
    double lastQueued = 0;
    double worstMs = 0;
    double worstRunningMs = 0;  // of the worst gap, the time the thread ran
    double worstQueuedMs = 0;   // and the time it could have run but waited for a processor
    bool running = true;
};

// Datagrams the kernel dropped on the UDP socket bound to the local port, from /proc/net/udp.
long long KernelDrops(uint16_t port) {
    std::FILE* f = std::fopen("/proc/net/udp", "r");
    if (!f) return -1;
    char line[512];
    long long drops = -1;
    char want[8];
    std::snprintf(want, sizeof want, ":%04X", port);
    while (std::fgets(line, sizeof line, f)) {
        char local[64] = {};
        if (std::sscanf(line, "%*d: %63s", local) != 1) continue;
        const std::string text(local);
        if (text.size() < 5 || text.compare(text.size() - 5, 5, want) != 0) continue;
        const std::string all(line);
        const size_t end = all.find_last_not_of(" \n");
        const size_t start = all.find_last_of(' ', end);
        drops = std::atoll(all.c_str() + start + 1);
    }
    std::fclose(f);
    return drops;
}

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
    double stallRunningMs = 0;  // how long the window's thread ran in that stall
    double stallQueuedMs = 0;   // and how long it waited for a processor in it
    double cpuUsPerFrame = 0;   // the process's processor time per frame sent
    double idleCpuMsPerS = 0;   // its processor time a second before the frames came
    long long kernelDrops = -1; // datagrams the kernel dropped (UDP)
    int receiveBuffer = 0;      // the UDP socket's receive buffer as the kernel granted it
};

Result RunAtRate(double framesPerSecond, double seconds, bool udp) {
    static const std::vector<uint8_t> sequence = SequenceBytes();
    Result r;
    const int server = ::socket(AF_INET, (udp ? SOCK_DGRAM : SOCK_STREAM) | SOCK_CLOEXEC, 0);
    sockaddr_in a{};
    a.sin_family = AF_INET;
    a.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    socklen_t length = sizeof a;
    ::bind(server, reinterpret_cast<sockaddr*>(&a), length);
    ::getsockname(server, reinterpret_cast<sockaddr*>(&a), &length);
    if (!udp) ::listen(server, 1);

    CMainTesterDlg dlg;
    dlg.Create();
    dlg.ShowWindow(true);
    dlg.PostTask([&] {
        CNetworkSettingsDlg& d = dlg.NetworkSettingsDialog();
        Button(d.GetDlgItem(udp ? IDC_NET_UDP : IDC_NET_TCP_CLIENT)).Click();
        d.SetDlgItemText(IDC_NET_LOCAL_IP, "127.0.0.1");
        d.SetDlgItemText(IDC_NET_LOCAL_PORT, "0");
        d.SetDlgItemText(IDC_NET_REMOTE_IP, "127.0.0.1");
        d.SetDlgItemText(IDC_NET_REMOTE_PORT, std::to_string(ntohs(a.sin_port)));
        Button(d.GetDlgItem(IDC_NET_START_STOP)).Click();
    });
    dlg.OnNetworkSettings();
    ModuleLink& link = dlg.Link();
    int module = -1;
    sockaddr_in window{};
    if (link.Network().IsSocketOpen()) {
        if (udp) {
            module = server;
            window.sin_family = AF_INET;
            window.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
            window.sin_port = htons(LocalPort(link.Network().SocketFd()));
            socklen_t n = sizeof r.receiveBuffer;
            ::getsockopt(link.Network().SocketFd(), SOL_SOCKET, SO_RCVBUF, &r.receiveBuffer, &n);
        } else {
            module = ::accept(server, nullptr, nullptr);
            ::close(server);
        }
    }
    if (module < 0) {
        std::fprintf(stderr, "the network channel did not open\n");
        return r;
    }
    const uint16_t windowPort = udp ? ntohs(window.sin_port) : 0;
    const long long drops0 = udp ? KernelDrops(windowPort) : -1;

    // What the window costs while nothing comes.
    PumpFor(200);
    const double idle0 = ProcessCpuSeconds();
    PumpFor(1000);
    r.idleCpuMsPerS = (ProcessCpuSeconds() - idle0) * 1000.0;
    const double cpu0 = ProcessCpuSeconds();

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
            for (; n < static_cast<uint64_t>(elapsed * framesPerSecond); ++n) {
                const kvtsim::Bytes frame = kvtsim::BuildFrame(sequence[n % sequence.size()], 0x15, kvtsim::Bytes());
                if (udp)
                    ::sendto(module, frame.data(), frame.size(), 0, reinterpret_cast<const sockaddr*>(&window),
                             sizeof window);
                else
                    burst += frame;
            }
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
    r.cpuUsPerFrame = r.sent ? (ProcessCpuSeconds() - cpu0) * 1e6 / static_cast<double>(r.sent) : 0;
    PumpFor(2 * kProbeMs);
    r.stallMs = probe.worstMs;
    r.stallRunningMs = probe.worstRunningMs;
    r.stallQueuedMs = probe.worstQueuedMs;
    if (udp) r.kernelDrops = KernelDrops(windowPort) - drops0;

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
    const std::string protocol = argc > 2 ? argv[2] : "tcp";
    if (seconds <= 0 || (protocol != "tcp" && protocol != "udp")) {
        std::fprintf(stderr, "usage: %s [seconds=60] [tcp|udp]\n", argv[0]);
        return 2;
    }
    const bool udp = protocol == "udp";
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
        const Result r = RunAtRate(rate, seconds, udp);
        const uint64_t lost = r.sent > r.recorded ? r.sent - r.recorded : 0;
        std::printf("%s %.0f frames/s for %.0f s: sent %llu, recorded %zu, lost %llu, out of order %llu, "
                    "log rows %d, queued %zu, messages %zu; sending took %.1f s, all recorded %.0f ms after the "
                    "last send; longest event-loop stall %.0f ms (the window's thread ran %.0f ms of it and waited %.0f ms "
                    "for a processor); "
                    "processor time %.1f us a frame, %.1f ms a second while idle",
                    udp ? "UDP" : "TCP", rate, seconds, static_cast<unsigned long long>(r.sent), r.recorded,
                    static_cast<unsigned long long>(lost), static_cast<unsigned long long>(r.outOfOrder), r.logRows,
                    r.queued, boxes, r.sendingS, r.catchUpMs, r.stallMs, r.stallRunningMs, r.stallQueuedMs, r.cpuUsPerFrame,
                    r.idleCpuMsPerS);
        if (udp)
            std::printf("; receive buffer %d bytes, dropped by the kernel %lld", r.receiveBuffer, r.kernelDrops);
        std::printf("\n");
        // Order is checked against the sequence only when no datagram was dropped.
        ok = ok && r.sent > 0 && (udp || lost == 0) && (r.outOfOrder == 0 || lost > 0) && r.recorded <= r.sent;
        calm = calm && r.stallMs <= kStallLimitMs;
    }
    std::printf("%s; %s\n", ok ? (udp ? "every frame read was recorded in order" : "no frame lost") : "FRAMES LOST",
                calm ? "no stall over 50 ms" : "THE EVENT LOOP STALLED OVER 50 MS");
    std::filesystem::current_path(before);
    std::filesystem::remove_all(dir);
    return ok && calm ? 0 : 1;
}
