// Soak run through the whole main window: the simulated module sends receive-data frames at the
// line's worst-case rate (about 1,650 a second at 115200 baud) for the given time; every frame
// must reach the frame history, the data reply log and its reply queue, once and in order.
//
// Usage: soak_main_window [seconds=60]    (no display needed)
// Exit status 0 when nothing was lost.

#include <atomic>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <thread>

#include "app/main_tester_dlg.h"
#include "dialogs/serial_settings_dlg.h"
#include "res/resource_ids.h"
#include "res/resources.h"
#include "sim/sim_module.h"

namespace {

constexpr double kFramesPerSecond = 1650.0;
constexpr int kPort = 97;

kvtsim::Bytes SeqFrame(uint32_t seq) {
    return kvtsim::BuildFrame(0x80, 0x15, kvtsim::Bytes{static_cast<unsigned char>(seq >> 16),
                                                        static_cast<unsigned char>(seq >> 8),
                                                        static_cast<unsigned char>(seq)});
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
    kvtsim::SimModule sim;
    if (!sim.Start()) return 1;
    const std::string var = "KVT_COM" + std::to_string(kPort);
    setenv(var.c_str(), sim.SlavePath().c_str(), 1);

    CMainTesterDlg dlg;
    dlg.Create();
    dlg.ShowWindow(true);
    dlg.SerialSettingsRecord().comPort = kPort;
    dlg.PostTask([&] {
        Button(dlg.SerialSettingsDialog().GetDlgItem(IDC_SERIAL_OPEN_CLOSE)).Click();
        dlg.KillTimer(TIMER_VERSION_WAIT);
    });
    dlg.OnSerialSettings();
    ModuleLink& link = dlg.Link();
    if (!link.IsPortOpen() || !WaitPumping([&] { return !link.IsVersionCaptureArmed(); }, 5000)) {
        std::fprintf(stderr, "the port did not open\n");
        return 1;
    }

    std::atomic<uint64_t> sent{0};
    std::atomic<bool> done{false};
    std::thread module([&] {
        const auto start = std::chrono::steady_clock::now();
        const auto end = start + std::chrono::duration<double>(seconds);
        auto next = start;
        uint64_t n = 0;
        while (next < end) {
            next += std::chrono::milliseconds(100);
            std::this_thread::sleep_until(next);
            const double elapsed = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
            kvtsim::Bytes burst;
            for (; n < static_cast<uint64_t>(elapsed * kFramesPerSecond); ++n) burst += SeqFrame(static_cast<uint32_t>(n));
            if (!burst.empty()) sim.Send(burst);
            sent = n;
        }
        done = true;
    });
    // The user-interface thread keeps serving the window meanwhile.
    WaitPumping([&] { return done.load(); });
    module.join();

    ListView replyLog(dlg.GetDlgItem(IDC_DATA_REPLY_LOG));
    auto historyCount = [&] { return link.History().Snapshot().size(); };
    const size_t sentBefore = 1;  // the version request
    WaitPumping([&] {
        return historyCount() == sentBefore + sent && replyLog.GetItemCount() == static_cast<int>(sent);
    }, 10000);

    uint64_t outOfOrder = 0;
    size_t queued = 0;
    {
        uint32_t expect = 0;
        for (const MonitorRecord& r : link.History().Snapshot()) {
            if (r.kind != '1') continue;
            const uint32_t seq = (FrameByte(r.frame, 5) << 16) | (FrameByte(r.frame, 6) << 8) | FrameByte(r.frame, 7);
            if (seq != expect) ++outOfOrder;
            expect = seq + 1;
        }
    }
    queued = link.Queues().receiveData.Size();
    const size_t recorded = historyCount() - sentBefore;
    const int rows = replyLog.GetItemCount();
    std::printf("sent %llu, recorded %zu, log rows %d, queued %zu, out of order %llu\n",
                static_cast<unsigned long long>(sent.load()), recorded, rows, queued,
                static_cast<unsigned long long>(outOfOrder));
    const bool ok = recorded == sent && rows == static_cast<int>(sent) && queued == sent && outOfOrder == 0;
    std::printf("%s\n", ok ? "no frame lost" : "FRAMES LOST");
    dlg.Close();
    dlg.DestroyWindow();
    sim.Stop();
    return ok ? 0 : 1;
}
