// Soak run of the repeated broadcast at its shortest period (1 ms) with the frame monitor shown:
// the longest stall of the window's event loop while it runs (a 10 ms probe on the same loop),
// and the processor time per frame sent, against the processor time per frame received when the
// simulated module sends as many frames a second to the window; and, as the base of both, the
// processor time a second of the window while nothing is sent or received. The window's thread
// sleeps in its event loop between events throughout: nothing polls.
//
// Usage: soak_repeat_send [seconds=10]    (no display needed)

#include <algorithm>
#include <atomic>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <thread>

#include "app/main_tester_dlg.h"
#include "bench/open_port.h"
#include "bench/process_stats.h"
#include "dialogs/serial_settings_dlg.h"
#include "res/resource_ids.h"
#include "res/resources.h"
#include "sim/sim_module.h"

namespace {

constexpr int kPort = 96;
using Clock = std::chrono::steady_clock;

// The longest gap between the ticks of a 10 ms probe, beyond its 10 ms, while running() is true.
struct StallProbe {
    Dialog& dlg;
    Clock::time_point last = Clock::now();
    double worstMs = 0;
    bool on = true;
    void Arm() {
        dlg.PostTaskAfter(10, [this] {
            const Clock::time_point now = Clock::now();
            worstMs = std::max(worstMs, std::chrono::duration<double, std::milli>(now - last).count() - 10);
            last = now;
            if (on) Arm();
        });
    }
};

}  // namespace

int main(int argc, char** argv) {
    const double seconds = argc > 1 ? std::atof(argv[1]) : 10.0;
    setenv("QT_QPA_PLATFORM", "offscreen", 0);
    Application app(argc, argv);
    RegisterResources();
    kvtsim::SimModule sim;
    if (!sim.Start()) return 1;
    PointPortAt(kPort, sim.SlavePath());

    CMainTesterDlg dlg;
    if (!ShowAndOpenPort(dlg, kPort)) return 1;
    ModuleLink& link = dlg.Link();
    dlg.DispatchNotify(IDC_SHOW_FRAME_MONITOR, Notify::Clicked);
    PumpFor(200);
    const double idle0 = ProcessCpuSeconds();
    PumpFor(1000);
    const double idleMsPerS = (ProcessCpuSeconds() - idle0) * 1000.0;

    // Sending: the broadcast again every millisecond.
    dlg.SetDlgItemText(IDC_REPEAT_PERIOD, "1");
    dlg.SetDlgItemText(IDC_USER_DATA, "0102");
    const uint32_t sentBefore = link.History().SentCount();
    StallProbe sendProbe{dlg};
    sendProbe.Arm();
    const double cpu0 = ProcessCpuSeconds();
    dlg.DispatchNotify(IDC_CONTINUOUS_BROADCAST, Notify::Clicked);
    PumpFor(static_cast<uint32_t>(seconds * 1000));
    dlg.DispatchNotify(IDC_STOP_CONTINUOUS_BROADCAST, Notify::Clicked);
    const double sendCpu = ProcessCpuSeconds() - cpu0;
    sendProbe.on = false;
    const uint32_t sent = link.History().SentCount() - sentBefore;
    PumpFor(300);

    // Receiving: the module sends as many receive-data frames a second.
    const double rate = sent / seconds;
    const uint32_t receivedBefore = link.History().ReceivedCount();
    StallProbe receiveProbe{dlg};
    receiveProbe.Arm();
    std::atomic<bool> done{false};
    const double cpu1 = ProcessCpuSeconds();
    std::thread module([&] {
        const Clock::time_point start = Clock::now();
        const auto end = start + std::chrono::duration<double>(seconds);
        auto next = start;
        uint64_t n = 0;
        while (next < end) {
            next += std::chrono::milliseconds(2);
            std::this_thread::sleep_until(next);
            const double elapsed = std::chrono::duration<double>(Clock::now() - start).count();
            kvtsim::Bytes burst;
            for (; n < static_cast<uint64_t>(elapsed * rate); ++n)
                burst += kvtsim::BuildFrame(0x80, 0x15, kvtsim::Bytes{1, 2, 3});
            if (!burst.empty()) sim.Send(burst);
        }
        done = true;
    });
    WaitPumping([&] { return done.load(); });
    module.join();
    PumpFor(300);
    const double receiveCpu = ProcessCpuSeconds() - cpu1;
    receiveProbe.on = false;
    const uint32_t received = link.History().ReceivedCount() - receivedBefore;

    std::printf("sent      %u frames in %.0f s (%.0f a second), %.1f us of processor time each, longest stall %.1f ms\n",
                sent, seconds, rate, sent ? 1e6 * sendCpu / sent : 0.0, sendProbe.worstMs);
    std::printf("received  %u frames in %.0f s, %.1f us of processor time each, longest stall %.1f ms\n", received,
                seconds, received ? 1e6 * receiveCpu / received : 0.0, receiveProbe.worstMs);
    std::printf("idle      %.1f ms of processor time a second\n", idleMsPerS);
    dlg.Close();
    dlg.DestroyWindow();
    sim.Stop();
    return 0;
}
