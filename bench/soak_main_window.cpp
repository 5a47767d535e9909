// Soak run through the whole main window: the simulated module sends receive-data frames at the
// line's worst-case rate (1,650 a second, every 2 ms what is due: the line never pauses) for
// the given time; every frame must reach the frame history and the data reply log, once and in
// order, and the receive-data queue must hold the newest of them up to its bound. It reports how
// soon the first frame reached the history, and the processor time the program takes while the
// port is open and the line idle (the window in its event loop).
//
// Usage: soak_main_window [seconds=30] [idle_seconds=10]    (no display needed)
// Exit status 0 when nothing was lost.

#include <atomic>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <sstream>
#include <thread>
#include <unistd.h>

#include "app/main_tester_dlg.h"
#include "bench/open_port.h"
#include "bench/process_stats.h"
#include "dialogs/serial_settings_dlg.h"
#include "res/resource_ids.h"
#include "res/resources.h"
#include "sim/sim_module.h"

namespace {

constexpr double kFramesPerSecond = 1650.0;
constexpr int kPort = 97;
using Clock = std::chrono::steady_clock;

kvtsim::Bytes SeqFrame(uint32_t seq) {
    return kvtsim::BuildFrame(0x80, 0x15, kvtsim::Bytes{static_cast<unsigned char>(seq >> 16),
                                                        static_cast<unsigned char>(seq >> 8),
                                                        static_cast<unsigned char>(seq)});
}

uint32_t SeqOf(const ByteString& frame) {
    return (FrameByte(frame, 5) << 16) | (FrameByte(frame, 6) << 8) | FrameByte(frame, 7);
}

}  // namespace

int main(int argc, char** argv) {
    const double seconds = argc > 1 ? std::atof(argv[1]) : 30.0;
    const double idleSeconds = argc > 2 ? std::atof(argv[2]) : 10.0;
    if (seconds <= 0 || idleSeconds < 0) {
        std::fprintf(stderr, "usage: %s [seconds=30] [idle_seconds=10]\n", argv[0]);
        return 2;
    }
    setenv("QT_QPA_PLATFORM", "offscreen", 0);
    Application app(argc, argv);
    RegisterResources();
    kvtsim::SimModule sim;
    if (!sim.Start()) return 1;
    PointPortAt(kPort, sim.SlavePath());

    CMainTesterDlg dlg;
    if (!ShowAndOpenPort(dlg, kPort)) return 1;
    ModuleLink& link = dlg.Link();

    // Idle: the window waits in a modal loop (the settings dialog), the line says nothing.
    double idleCpu = 0;
    if (idleSeconds > 0) {
        PumpFor(200);
        double before = 0;
        dlg.PostTask([&] { before = ProcessCpuSeconds(); });
        dlg.PostTaskAfter(static_cast<uint32_t>(idleSeconds * 1000), [&] {
            idleCpu = ProcessCpuSeconds() - before;
            Button(dlg.SerialSettingsDialog().GetDlgItem(kIdCancel)).Click();
        });
        dlg.OnSerialSettings();
    }

    std::atomic<uint64_t> sent{0};
    std::atomic<bool> done{false};
    const Clock::time_point start = Clock::now();
    std::thread module([&] {
        const auto end = start + std::chrono::duration<double>(seconds);
        auto next = start;
        uint64_t n = 0;
        while (next < end) {
            next += std::chrono::milliseconds(2);
            std::this_thread::sleep_until(next);
            const double elapsed = std::chrono::duration<double>(Clock::now() - start).count();
            kvtsim::Bytes burst;
            for (; n < static_cast<uint64_t>(elapsed * kFramesPerSecond); ++n) burst += SeqFrame(static_cast<uint32_t>(n));
            if (!burst.empty()) sim.Send(burst);
            sent = n;
        }
        done = true;
    });
    // When the first received frame is in the history (looked at every millisecond).
    const uint32_t receivedBefore = link.History().ReceivedCount();
    std::atomic<double> firstAfter{-1};
    std::thread watch([&] {
        while (!done && link.History().ReceivedCount() == receivedBefore) std::this_thread::sleep_for(std::chrono::milliseconds(1));
        if (link.History().ReceivedCount() != receivedBefore)
            firstAfter = std::chrono::duration<double>(Clock::now() - start).count();
    });
    // The user-interface thread keeps serving the window meanwhile.
    WaitPumping([&] { return done.load(); });
    module.join();
    watch.join();

    ListView replyLog(dlg.GetDlgItem(IDC_DATA_REPLY_LOG));
    auto received = [&] { return static_cast<uint64_t>(link.History().ReceivedCount() - receivedBefore); };
    const Clock::time_point sendingEnded = Clock::now();
    WaitPumping([&] { return received() == sent && replyLog.GetItemCount() == static_cast<int>(sent); }, 10000);
    const double drained = std::chrono::duration<double>(Clock::now() - sendingEnded).count();

    uint64_t outOfOrder = 0;
    uint32_t expect = 0;
    for (const MonitorRecord& r : link.History().Snapshot()) {
        if (r.kind != '1') continue;
        if (SeqOf(r.frame) != expect) ++outOfOrder;
        expect = SeqOf(r.frame) + 1;
    }
    const std::vector<ReplyEntry> queued = link.Queues().receiveData.Snapshot();
    const uint64_t total = sent.load();
    const uint64_t keep = std::min<uint64_t>(total, kReplyQueueBound);
    const bool queueRight = queued.size() == keep && (queued.empty() || SeqOf(queued.back().frame) == total - 1) &&
                            (queued.empty() || SeqOf(queued.front().frame) == total - keep);
    const int rows = replyLog.GetItemCount();
    const uint64_t lost = total > received() ? total - received() : 0;

    std::printf("frames sent      %llu in %.0f s (%.0f a second)\n", static_cast<unsigned long long>(total), seconds,
                static_cast<double>(total) / seconds);
    std::printf("frames recorded  %llu, log rows %d, lost %llu, out of order %llu\n",
                static_cast<unsigned long long>(received()), rows, static_cast<unsigned long long>(lost),
                static_cast<unsigned long long>(outOfOrder));
    std::printf("reply queue      %zu entries (bound %zu), the newest kept: %s\n", queued.size(), kReplyQueueBound,
                queueRight ? "yes" : "NO");
    std::printf("first frame      in the history %.0f ms after sending began\n", firstAfter.load() * 1000);
    std::printf("drained          %.0f ms after sending ended\n", drained * 1000);
    if (idleSeconds > 0)
        std::printf("idle, port open  %.2f s of processor time in %.0f s (%.2f %%)\n", idleCpu, idleSeconds,
                    100.0 * idleCpu / idleSeconds);
    const bool ok = lost == 0 && received() == total && rows == static_cast<int>(total) && outOfOrder == 0 && queueRight;
    std::printf("%s\n", ok ? "no frame lost" : "FRAMES LOST");
    dlg.Close();
    dlg.DestroyWindow();
    sim.Stop();
    return ok ? 0 : 1;
}
